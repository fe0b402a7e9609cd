// Files on the PC side of a transfer: reading a whole file to send, and
// replacing a file with what the printer sent without ever leaving it half
// written.
#ifndef QV7_PC_FILE_H
#define QV7_PC_FILE_H

#include <cstdint>
#include <memory>
#include <string>

namespace qv7 {

enum class PcFileRead { Ok, CannotOpen, NoMemory, ShortRead };

struct PcFileImage {
    std::unique_ptr<uint8_t[]> bytes;
    uint64_t size = 0;  // set as soon as it is known, so a NoMemory result can name it
};

// Reads the whole regular file at path, in steps of `step` bytes. Files the
// protocol's 32-bit sizes cannot announce count as too large to hold. A file
// that gives fewer bytes than its size (it shrank, the medium failed) is a
// ShortRead: what would go to the printer is not the file.
PcFileRead ReadPcFile(const std::string& path, uint32_t step, PcFileImage* image);

// Writes into a temporary file beside the target and renames it over the
// target on Commit; anything else leaves the target untouched and removes the
// temporary.
class PcFileReplacement {
public:
    explicit PcFileReplacement(std::string target);
    ~PcFileReplacement();
    PcFileReplacement(const PcFileReplacement&) = delete;
    PcFileReplacement& operator=(const PcFileReplacement&) = delete;

    // False when the target cannot be written: a missing folder, a folder of
    // that name, a file the user may not write, a folder that takes no new file.
    bool Begin();
    // Writes the bytes, flushes them to disk and puts the file in place.
    bool Commit(const uint8_t* data, uint64_t size);

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    unsigned mode_ = 0;
};

}  // namespace qv7

#endif

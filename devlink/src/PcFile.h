// Files on the PC side of a transfer: reading a whole file to send, and
// replacing a file with what the printer sent without ever leaving it half
// written.
#ifndef QV7_PC_FILE_H
#define QV7_PC_FILE_H

#include <cstdint>
#include <memory>
#include <string>

namespace qv7 {

// The largest file or firmware image moved in one transfer. A firmware image
// is about 1 MiB and a stored file far less; anything larger is refused as
// more than can be allocated, whether a PC file or a size a device announced.
constexpr uint64_t kLargestImage = 16u * 1024 * 1024;

enum class PcFileRead { Ok, CannotOpen, NoMemory, ShortRead };

struct PcFileImage {
    std::unique_ptr<uint8_t[]> bytes;
    uint64_t size = 0;  // set as soon as it is known, so a NoMemory result can name it
};

// Reads the whole regular file at path. Anything but a regular file (after
// links) cannot be opened: a named pipe would wait for a writer for ever.
// Files beyond kLargestImage count as too large to hold. A file that gives
// fewer bytes than its size (it shrank, the medium failed) is a ShortRead:
// what would go to the printer is not the file.
PcFileRead ReadPcFile(const std::string& path, PcFileImage* image);

// Writes into a temporary file beside the target and renames it over the
// target on Commit; anything else leaves the target untouched and removes the
// temporary. Where the file system allows, the temporary file has no name
// until Commit, so a process ended meanwhile leaves nothing behind. A named
// temporary (".NAME.part-PID-…") that an ended process leaves, whatever
// ended it, is removed by the next replacement in the same folder once that
// process is gone; a library has no business taking the program's signals
// to do it sooner.
class PcFileReplacement {
public:
    // Named: the temporary file has a name from the start, as on a file
    // system without unnamed files.
    enum class Temporary { UnnamedWherePossible, Named };
    explicit PcFileReplacement(std::string target, Temporary temporary = Temporary::UnnamedWherePossible);
    ~PcFileReplacement();
    PcFileReplacement(const PcFileReplacement&) = delete;
    PcFileReplacement& operator=(const PcFileReplacement&) = delete;

    // False when the target cannot be written: a missing folder, a folder of
    // that name, a file the user may not write, a folder that takes no new file.
    bool Begin();
    // Writes the bytes, flushes them to disk and puts the file in place.
    bool Commit(const uint8_t* data, uint64_t size);

private:
    bool BeginNamed();
    bool NameUnnamedFile(const uint8_t* data, uint64_t size);
    void Discard();

    std::string target_;
    Temporary kind_;
    std::string temporary_;  // empty while the temporary file has no name
    int descriptor_ = -1;
    unsigned mode_ = 0;
};

}  // namespace qv7

#endif

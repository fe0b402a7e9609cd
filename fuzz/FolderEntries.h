// A printer folder as fuzz input: entries of (path, content), then the host's
// side of a conversation. The seed writer uses the same form.
#ifndef QUILLORY_FUZZ_FOLDER_ENTRIES_H
#define QUILLORY_FUZZ_FOLDER_ENTRIES_H

#include <string>

#include "HostileInput.h"

namespace qv7fuzz {

// Paths a folder may hold, sound and broken; index kFolderPaths.size() is a
// file of the input's own naming in slots/DAT. An entry byte of 0 ends the
// folder.
inline const std::vector<std::string>& FolderPaths() {
    static const std::vector<std::string> paths = {
        "printer.txt",           "faults.txt",          "firmware.bin",           "slots/DAT/01.name",
        "slots/DAT/01.data",     "slots/DAT/02.name",   "slots/DAT/02.data",      "slots/QV7/01.name",
        "slots/QV7/01.data",     "slots/MAP/10.data",   "slots/DAT/.01.ready/01.name",
        "slots/DAT/.01.ready/01.data",                  "slots/DAT/.02.new/02.data", "firmware.bin/x",
        "slots/XYZ/01.data",     "slots/DAT/.02.ready/02.data",
    };
    return paths;
}

inline void RecordFolderEntry(InputRecorder& record, size_t pathIndex, const std::string& content) {
    record.Byte(static_cast<uint8_t>(pathIndex + 1));
    record.Byte(static_cast<uint8_t>(content.size()));
    record.Byte(static_cast<uint8_t>(content.size() >> 8));
    record.Fill(reinterpret_cast<const uint8_t*>(content.data()), content.size());
}

// The host's conversation: an operation byte, then its bytes.
enum FolderOperation : uint8_t { kGiveBlock, kGetBlock, kWriteBulk, kReadBulk, kFolderOperationCount };

}  // namespace qv7fuzz

#endif

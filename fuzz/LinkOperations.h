// What the link fuzz target and its seed writer do with a connection: one of
// the library's operations, chosen and given its arguments by the input.
#ifndef QUILLORY_FUZZ_LINK_OPERATIONS_H
#define QUILLORY_FUZZ_LINK_OPERATIONS_H

#include <string>

#include "QV7_Sys_API.h"

namespace qv7fuzz {

struct LinkFolder {
    std::string dir;
    std::string source;  // a file to send
    std::string target;  // the file gets write to
};

enum LinkOperation : uint8_t {
    kVersion, kFileTypes, kFileMax, kFileAttributes, kFileTypeAttributes, kFileStatus,
    kGiveFile, kGetFile, kGiveFirmware, kGetFirmware, kLinkOperationCount
};

// True when the operation writes the target.
inline bool RunLinkOperation(uint8_t operation, uint8_t type, uint8_t slot, CQV7_Sys_API& connection,
                             const LinkFolder& folder) {
    uint32_t version = 0;
    uint16_t word = 0;
    QV7_FILE_ATTRIBUTES file{};
    QV7_FILE_TYPE_ATTRIBUTES fileType{};
    switch (operation % kLinkOperationCount) {
    case kVersion: connection.GetVersion(&version); return false;
    case kFileTypes: connection.GetFileTypes(&word); return false;
    case kFileMax: connection.GetFileMax(type, &word); return false;
    case kFileAttributes: connection.GetFileAttributes(type, slot, &file); return false;
    case kFileTypeAttributes: connection.GetFileTypeAttributes(type, &fileType); return false;
    case kFileStatus: connection.GetFileStatus(&word); return false;
    case kGiveFile: connection.GiveFile(type, slot, folder.source, nullptr); return false;
    case kGetFile: connection.GetFile(type, slot, folder.target, nullptr); return true;
    case kGiveFirmware: connection.GiveFirmware(folder.source, nullptr); return false;
    default: connection.GetFirmware(folder.target, nullptr); return true;
    }
}

}  // namespace qv7fuzz

#endif

#include "FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace qv7::virtualprinter {

FolderLock::~FolderLock() {
    if (descriptor_ >= 0) close(descriptor_);
}

FolderLock::Result FolderLock::Hold(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = folder + "/" + kLockFileName;
    int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return Result::Unavailable;
    // flock, not fcntl locks: these belong to the open file, so two
    // connections inside one process exclude each other too, and closing some
    // other descriptor of the file does not drop the hold.
    while (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const bool busy = errno == EWOULDBLOCK;
        close(descriptor);
        return busy ? Result::Busy : Result::Unavailable;
    }
    descriptor_ = descriptor;
    return Result::Held;
}

}  // namespace qv7::virtualprinter

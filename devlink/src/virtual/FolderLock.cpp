#include "FolderLock.h"

#include <fcntl.h>

#include <cerrno>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace qv7::virtualprinter {

FolderLock::~FolderLock() {
    if (descriptor_ >= 0) close(descriptor_);
}

FolderLock::Result FolderLock::Hold(const std::string& folder, Making making) {
    std::error_code ignored;
    if (making == Making::Missing) std::filesystem::create_directories(folder, ignored);
    const std::string path = folder + "/" + kLockFileName;
#ifdef _WIN32
    // Opened with no sharing, the file is this connection's alone until it
    // is closed; a second open fails with EACCES.
    int descriptor = -1;
    const int create = making == Making::Missing ? _O_CREAT : 0;
    if (_sopen_s(&descriptor, path.c_str(), _O_RDWR | create | _O_BINARY, _SH_DENYRW, _S_IREAD | _S_IWRITE) != 0) {
        return errno == EACCES && std::filesystem::exists(path, ignored) ? Result::Busy : Result::Unavailable;
    }
#else
    const int create = making == Making::Missing ? O_CREAT : 0;
    int descriptor = open(path.c_str(), O_RDWR | create | O_CLOEXEC, 0666);
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
#endif
    descriptor_ = descriptor;
    return Result::Held;
}

}  // namespace qv7::virtualprinter

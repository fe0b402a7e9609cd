#include "PcFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <dirent.h>
#include <signal.h>
#endif

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>

// The Windows C runtime flushes under another name and keeps no file modes
// beyond read-only, which Begin() has already refused.
static int fsync(int descriptor) {
    return _commit(descriptor);
}
static int fchmod(int, unsigned) {
    return 0;
}
#endif

namespace qv7 {

namespace {

#ifdef _WIN32
// Bytes as they are: the runtime would otherwise translate line ends.
constexpr int kReadFlags = O_RDONLY | O_BINARY;
#else
// Without O_NONBLOCK the open of a named pipe itself waits for a writer.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

}  // namespace

PcFileRead ReadPcFile(const std::string& path, PcFileImage* image) {
    const int descriptor = open(path.c_str(), kReadFlags);
    if (descriptor < 0) return PcFileRead::CannotOpen;
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        return PcFileRead::CannotOpen;
    }
    image->size = static_cast<uint64_t>(info.st_size);
    if (image->size > kLargestImage) {
        close(descriptor);
        return PcFileRead::NoMemory;
    }
    // Not cleared: the reads below fill it, or the image is not used.
    image->bytes.reset(new (std::nothrow) uint8_t[image->size == 0 ? 1 : image->size]);
    if (!image->bytes) {
        close(descriptor);
        return PcFileRead::NoMemory;
    }
    // As few reads as the system allows: a read of a regular file gives less
    // than asked only at its end or when a signal interrupts it.
    uint64_t done = 0;
    bool failed = false;
    while (done < image->size) {
        const auto got = read(descriptor, image->bytes.get() + done, static_cast<size_t>(image->size - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            failed = got < 0;
            break;
        }
        done += static_cast<uint64_t>(got);
    }
    close(descriptor);
    return done == image->size && !failed ? PcFileRead::Ok : PcFileRead::ShortRead;
}

namespace {

#ifdef _WIN32
constexpr char kSeparators[] = "/\\:";
#else
constexpr char kSeparators[] = "/";
#endif

// The folder part with its separator ("" for the current folder), so that a
// root such as / or C:\ stays a root.
std::string FolderPrefixOf(const std::string& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of(kSeparators);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Replaces an existing target on every platform; the C runtime's rename on
// Windows refuses to.
bool ReplaceWith(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

unsigned CurrentUmask() {
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

bool WriteAll(int descriptor, const uint8_t* data, uint64_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<uint64_t>(written);
    }
    return true;
}

// The hidden temporary beside target: ".NAME.part-PID-" and a suffix. The
// process id is what tells a later run whether its writer is still at work.
std::string TemporaryPrefixFor(const std::string& target) {
    return FolderPrefixOf(target) + "." + NameOf(target) + ".part-" + std::to_string(getpid()) + "-";
}

#ifndef _WIN32
// The process id in a name of the form ".NAME.part-PID-SUFFIX", or 0.
long WriterOfTemporary(const std::string& name) {
    const size_t part = name.rfind(".part-");
    if (name.size() < 2 || name[0] != '.' || part == std::string::npos || part == 0) return 0;
    const size_t dash = name.find('-', part + 6);
    if (dash == std::string::npos || dash == part + 6 || dash + 1 == name.size() || dash - part - 6 > 9) return 0;
    for (size_t i = part + 6; i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
    }
    for (size_t i = dash + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return 0;
    }
    return std::stol(name.substr(part + 6, dash - part - 6));
}

bool ProcessIsGone(long pid) {
    return pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A process killed outright after naming its temporary and before the rename
// leaves the whole temporary behind. The next replacement in that folder
// removes such files: only our own kind of name, only files of this user,
// and only when the process that wrote them is gone.
void RemoveTemporariesOfEndedProcesses(const std::string& folder) {
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (!listing) return;
    const int at = dirfd(listing);
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (!ProcessIsGone(WriterOfTemporary(name))) continue;
        struct stat info {};
        if (fstatat(at, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == geteuid()) {
            unlinkat(at, name.c_str(), 0);
        }
    }
    closedir(listing);
}
#else
// Whether another process still runs is a question for the Windows API,
// which stays in the win32 backend: there a killed program's temporary stays
// until it is removed by hand.
void RemoveTemporariesOfEndedProcesses(const std::string&) {}
#endif

}  // namespace

PcFileReplacement::PcFileReplacement(std::string target, Temporary temporary)
    : target_(std::move(target)), kind_(temporary) {}

PcFileReplacement::~PcFileReplacement() {
    Discard();
}

bool PcFileReplacement::Begin() {
    const std::string name = NameOf(target_);
    if (name.empty()) return false;

    struct stat existing {};
    if (stat(target_.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return false;
        if (access(target_.c_str(), W_OK) != 0) return false;
        mode_ = existing.st_mode & 07777;
    } else {
        mode_ = 0666 & ~CurrentUmask();
    }
    RemoveTemporariesOfEndedProcesses(FolderPrefixOf(target_));

#ifdef O_TMPFILE
    if (kind_ == Temporary::Named) return BeginNamed();
    const std::string folder = FolderPrefixOf(target_).empty() ? std::string(".") : FolderPrefixOf(target_);
    descriptor_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor_ >= 0) return true;
    // Only a file system without unnamed files sends us on to a named one.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
#endif
    return BeginNamed();
}

bool PcFileReplacement::BeginNamed() {
    std::string pattern = TemporaryPrefixFor(target_) + "XXXXXX";
    std::vector<char> writable(pattern.begin(), pattern.end());
    writable.push_back('\0');
    descriptor_ = mkstemp(writable.data());
    if (descriptor_ < 0) return false;
    temporary_ = writable.data();
    return true;
}

bool PcFileReplacement::Commit(const uint8_t* data, uint64_t size) {
    if (descriptor_ < 0) return false;
    bool ok = WriteAll(descriptor_, data, size) && fchmod(descriptor_, mode_) == 0 && fsync(descriptor_) == 0;
    if (ok && temporary_.empty()) ok = NameUnnamedFile(data, size);
    ok = close(descriptor_) == 0 && ok;
    descriptor_ = -1;
    if (ok && ReplaceWith(temporary_, target_)) {
        temporary_.clear();
        return true;
    }
    Discard();
    return false;
}

// An unnamed file gets a hidden name beside the target through /proc, for
// the moment until it is renamed over the target; where /proc is missing, the
// bytes go once more into a named temporary file.
bool PcFileReplacement::NameUnnamedFile([[maybe_unused]] const uint8_t* data, [[maybe_unused]] uint64_t size) {
#ifdef O_TMPFILE
    static std::atomic<unsigned> counter{0};
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor_);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = TemporaryPrefixFor(target_) + std::to_string(counter++);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            temporary_ = candidate;
            return true;
        }
        if (errno != EEXIST) break;
    }
    close(descriptor_);
    descriptor_ = -1;
    return BeginNamed() && WriteAll(descriptor_, data, size) && fchmod(descriptor_, mode_) == 0 &&
           fsync(descriptor_) == 0;
#else
    return false;
#endif
}

void PcFileReplacement::Discard() {
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace qv7

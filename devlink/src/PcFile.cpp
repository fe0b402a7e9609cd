#include "PcFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

PcFileRead ReadPcFile(const std::string& path, uint32_t step, PcFileImage* image) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return PcFileRead::CannotOpen;
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return PcFileRead::CannotOpen;
    }
    image->size = static_cast<uint64_t>(info.st_size);
    if (image->size > UINT32_MAX) {
        std::fclose(file);
        return PcFileRead::NoMemory;
    }
    image->bytes.reset(new (std::nothrow) uint8_t[image->size == 0 ? 1 : image->size]());
    if (!image->bytes) {
        std::fclose(file);
        return PcFileRead::NoMemory;
    }
    uint64_t done = 0;
    while (done < image->size) {
        const uint64_t want = image->size - done < step ? image->size - done : step;
        const size_t got = std::fread(image->bytes.get() + done, 1, want, file);
        if (got == 0) break;
        done += got;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
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

}  // namespace

PcFileReplacement::PcFileReplacement(std::string target) : target_(std::move(target)) {}

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

    std::string pattern = FolderPrefixOf(target_) + "." + name + ".part-XXXXXX";
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
    ok = close(descriptor_) == 0 && ok;
    descriptor_ = -1;
    if (ok && ReplaceWith(temporary_, target_)) {
        temporary_.clear();
        return true;
    }
    Discard();
    return false;
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

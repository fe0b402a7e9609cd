#include "AtomicFile.h"

#include "PcFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qv7::virtualprinter {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason(const std::filesystem::path& path, const std::string& what) {
    return path.string() + ": " + what;
}


// Opens path for reading and tells its size.
FilePointer OpenForReading(const std::filesystem::path& path, uint64_t* size, std::string* error) {
    std::error_code failure;
    if (!std::filesystem::is_regular_file(path, failure)) {
        *error = Reason(path, "not a file");
        return nullptr;
    }
    *size = std::filesystem::file_size(path, failure);
    if (failure) {
        *error = Reason(path, failure.message());
        return nullptr;
    }
    FilePointer file(std::fopen(path.string().c_str(), "rb"));
    if (!file) *error = Reason(path, std::strerror(errno));
    return file;
}

}  // namespace

bool ReadTextFile(const std::filesystem::path& path, std::string* text, std::string* error) {
    uint64_t size = 0;
    FilePointer file = OpenForReading(path, &size, error);
    if (!file) return false;
    // Settings and names are a few lines; anything larger is not one of ours.
    if (size > 1024 * 1024) {
        *error = Reason(path, "too large for a settings file");
        return false;
    }
    std::string content(static_cast<size_t>(size), '\0');
    if (std::fread(content.data(), 1, content.size(), file.get()) != content.size()) {
        *error = Reason(path, "could not be read");
        return false;
    }
    *text = std::move(content);
    return true;
}

bool ReadImageFile(const std::filesystem::path& path, uint32_t largest, ByteImage* image, uint64_t* size,
                   std::string* error) {
    FilePointer file = OpenForReading(path, size, error);
    if (!file) return false;
    if (*size > largest) {
        image->Release();
        return true;
    }
    ByteImage read;
    if (!read.Allocate(static_cast<uint32_t>(*size))) {
        *error = Reason(path, "no memory for " + std::to_string(*size) + " bytes");
        return false;
    }
    // Exactly the size first seen, should the file grow meanwhile.
    if (std::fread(read.bytes.get(), 1, read.size, file.get()) != read.size) {
        *error = Reason(path, "could not be read");
        return false;
    }
    *image = std::move(read);
    return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, const void* data, size_t size, std::string* error) {
    // The same replace-by-rename that guards the user's files on the PC side.
    PcFileReplacement replacement(path.string());
    if (!replacement.Begin()) {
        *error = Reason(path, std::string("cannot be written: ") + std::strerror(errno));
        return false;
    }
    if (!replacement.Commit(static_cast<const uint8_t*>(data), size)) {
        *error = Reason(path, "could not be written");
        return false;
    }
    return true;
}

bool IsHiddenName(const std::string& fileName) {
    return !fileName.empty() && fileName[0] == '.';
}

}  // namespace qv7::virtualprinter

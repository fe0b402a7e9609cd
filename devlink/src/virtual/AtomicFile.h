// Whole-file reads and replace-by-rename writes. Another process may open the
// same printer folder right after this one: it must see either the old file
// or the new one, never half of it.
#ifndef QV7_VIRTUAL_ATOMIC_FILE_H
#define QV7_VIRTUAL_ATOMIC_FILE_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "ByteImage.h"

namespace qv7::virtualprinter {

bool ReadTextFile(const std::filesystem::path& path, std::string* text, std::string* error);
// A stored file or firmware image. One larger than `largest` bytes is not
// read: *image is left empty and *size tells how large it is.
bool ReadImageFile(const std::filesystem::path& path, uint32_t largest, ByteImage* image, uint64_t* size,
                   std::string* error);

// Writes into a hidden temporary file beside path, then renames it over path.
// On failure path is as it was and no temporary file is left.
bool WriteFileAtomically(const std::filesystem::path& path, const void* data, size_t size, std::string* error);

// Temporary files of an interrupted write start with a dot; readers of the
// folder pass over them.
bool IsHiddenName(const std::string& fileName);

}  // namespace qv7::virtualprinter

#endif

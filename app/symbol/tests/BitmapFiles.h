// Bitmap files as the tests want them, written byte by byte so that every
// field, right or wrong, is the test's choice.
#ifndef QUILLORY_TESTS_BITMAP_FILES_H
#define QUILLORY_TESTS_BITMAP_FILES_H

#include <algorithm>
#include <cstdint>
#include <vector>

namespace quillorytest {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A colour table of n entries, entry i holding blue i, green 2i, red 3i (mod 256).
inline Bytes Table(int n) {
    Bytes table;
    for (int i = 0; i < n; ++i) {
        table.insert(table.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0});
    }
    return table;
}

// Black for colour 0 and white for colour 1, as symbols have them.
inline Bytes BlackAndWhite() {
    return {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
}

// A bitmap file as the tests want it: Bmp{33, 2, 1, BlackAndWhite(), {0x80}}.
struct Bmp {
    int32_t width = 150;
    int32_t height = 150;
    uint16_t bits = 1;
    Bytes table = {};        // the colour table as it follows the header
    Bytes topRow = {};       // the top row's first bytes; all other pixel bytes are zero
    Bytes extraHeader = {};  // header bytes past the first 40
    const char* magic = "BM";

    Bytes File() const {
        const auto stride = static_cast<uint32_t>((uint64_t(width) * bits + 31) / 32 * 4);
        const size_t offset = 14 + 40 + extraHeader.size() + table.size();
        const uint64_t pixelBytes = width > 0 && height > 0 && height < 4096 ? uint64_t(stride) * height : 64;
        Bytes file(offset + pixelBytes, 0);
        file[0] = static_cast<uint8_t>(magic[0]);
        file[1] = static_cast<uint8_t>(magic[1]);
        Put32(file, 2, static_cast<uint32_t>(file.size()));
        Put32(file, 10, static_cast<uint32_t>(offset));
        Put32(file, 14, static_cast<uint32_t>(40 + extraHeader.size()));
        Put32(file, 18, static_cast<uint32_t>(width));
        Put32(file, 22, static_cast<uint32_t>(height));
        file[26] = 1;
        file[28] = static_cast<uint8_t>(bits);
        Put32(file, 46, 2);  // colours used: never to be believed
        std::copy(extraHeader.begin(), extraHeader.end(), file.begin() + 54);
        std::copy(table.begin(), table.end(), file.begin() + 54 + extraHeader.size());
        if (height > 0 && uint64_t(stride) * height == pixelBytes) {
            std::copy(topRow.begin(), topRow.end(), file.begin() + offset + uint64_t(stride) * (height - 1));
        }
        return file;
    }
};

}  // namespace quillorytest

#endif

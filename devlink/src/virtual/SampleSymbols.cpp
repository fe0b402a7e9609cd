#include <cstdlib>

#include "LittleEndian.h"
#include "SampleFiles.h"

namespace qv7::virtualprinter {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 2 * 4;
constexpr uint32_t kPixelsOffset = kFileHeaderSize + kInfoHeaderSize + kPaletteSize;

// Distances from the middle of a 150 x 150 picture, in pixels.
double FromMiddle(int coordinate) {
    return coordinate - (kSymbolSide - 1) / 2.0;
}

bool Ring(int x, int y) {
    const double dx = FromMiddle(x);
    const double dy = FromMiddle(y);
    const double squared = dx * dx + dy * dy;
    return squared >= 50.0 * 50.0 && squared <= 62.0 * 62.0;
}

bool Frame(int x, int y) {
    const double dx = std::abs(FromMiddle(x));
    const double dy = std::abs(FromMiddle(y));
    return dx <= 60 && dy <= 60 && (dx > 48 || dy > 48);
}

bool Plus(int x, int y) {
    const double dx = std::abs(FromMiddle(x));
    const double dy = std::abs(FromMiddle(y));
    return (dx <= 12 && dy <= 60) || (dy <= 12 && dx <= 60);
}

bool UpArrow(int x, int y) {
    const double dx = std::abs(FromMiddle(x));
    const bool head = y >= 15 && y < 75 && dx <= y - 15;
    const bool shaft = y >= 75 && y <= 135 && dx <= 15;
    return head || shaft;
}

bool Diamond(int x, int y) {
    const double distance = std::abs(FromMiddle(x)) + std::abs(FromMiddle(y));
    return distance <= 64 && distance >= 50;
}

}  // namespace

std::vector<uint8_t> BuildMonochromeBitmap(uint32_t width, uint32_t height, bool (*ink)(int x, int y)) {
    const uint32_t rowBytes = (width + 31) / 32 * 4;
    const uint32_t pixelBytes = rowBytes * height;
    std::vector<uint8_t> file(kPixelsOffset + pixelBytes, 0);
    uint8_t* at = file.data();

    at[0] = 'B';
    at[1] = 'M';
    WriteLittleEndian32(at + 2, static_cast<uint32_t>(file.size()));
    WriteLittleEndian32(at + 10, kPixelsOffset);

    at += kFileHeaderSize;
    WriteLittleEndian32(at + 0, kInfoHeaderSize);
    WriteLittleEndian32(at + 4, width);
    WriteLittleEndian32(at + 8, height);  // positive: rows run bottom-up
    WriteLittleEndian16(at + 12, 1);      // planes
    WriteLittleEndian16(at + 14, 1);      // bits per pixel
    WriteLittleEndian32(at + 20, pixelBytes);
    WriteLittleEndian32(at + 24, 2835);  // 72 dots per inch, in dots per metre
    WriteLittleEndian32(at + 28, 2835);
    WriteLittleEndian32(at + 32, 2);  // palette entries
    WriteLittleEndian32(at + 36, 2);

    // Palette (blue, green, red, reserved): index 0 black ink, index 1 white paper.
    at += kInfoHeaderSize;
    at[4] = at[5] = at[6] = 0xFF;

    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = file.data() + kPixelsOffset + (height - 1 - y) * rowBytes;
        for (uint32_t x = 0; x < width; ++x) {
            if (!ink(static_cast<int>(x), static_cast<int>(y))) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    return file;
}

std::vector<SampleFile> SampleSymbols() {
    bool (*const drawings[])(int, int) = {Ring, Frame, Plus, UpArrow, Diamond};
    std::vector<SampleFile> files;
    uint32_t slot = 0;
    for (auto drawing : drawings) files.push_back({slot++, BuildMonochromeBitmap(kSymbolSide, kSymbolSide, drawing)});
    return files;
}

}  // namespace qv7::virtualprinter

#include "CDibImage.h"

#include <QFile>

#include <cstring>
#include <new>

namespace quillory {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kPixelOffsetField = 10;  // in the file header
constexpr int kWidthField = 4;         // in the information header
constexpr int kHeightField = 8;
constexpr int kBitsPerPixelField = 14;
constexpr int kColourEntrySize = 4;  // blue, green, red, unused
// No symbol file is larger than the printer link moves (16 MiB), so an image
// block beyond that is refused from the header, before any of it is read:
// a sparse file of gigabytes costs no more than its headers.
constexpr uint64_t kLargestBlock = 16u * 1024 * 1024;

uint32_t Unsigned32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint16_t Unsigned16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

int ColourCountFor(uint16_t bits) {
    // The header's colours-used field is not consulted: the depth alone decides.
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

// The BMP row rule: whole 32-bit units per row.
uint64_t StrideFor(int32_t width, uint16_t bits) {
    return (uint64_t(width) * bits + 31) / 32 * 4;
}

bool ReadExactly(QFile& file, uint8_t* into, uint64_t size) {
    return file.read(reinterpret_cast<char*>(into), qint64(size)) == qint64(size);
}

uint8_t Expand5(unsigned value) {
    return static_cast<uint8_t>(value << 3 | value >> 2);
}

}  // namespace

CDibImage::~CDibImage() {
    Free();
}

void CDibImage::Free() {
    block_.reset();
    width_ = height_ = 0;
    stride_ = 0;
    oversized_ = QSize();
}

bool CDibImage::LoadFromFile(const QString& path) {
    Free();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;

    uint8_t fileHeader[kFileHeaderSize];
    if (!ReadExactly(file, fileHeader, kFileHeaderSize) || fileHeader[0] != 'B' || fileHeader[1] != 'M') return false;
    uint8_t header[kInfoHeaderSize];
    if (!ReadExactly(file, header, kInfoHeaderSize)) return false;
    const auto width = static_cast<int32_t>(Unsigned32(header + kWidthField));
    const auto height = static_cast<int32_t>(Unsigned32(header + kHeightField));
    if (width < 0 || height < 0) return false;
    const uint16_t bits = Unsigned16(header + kBitsPerPixelField);
    const uint64_t stride = StrideFor(width, bits);
    const uint64_t pixelBytes = stride * uint64_t(height);
    const uint64_t tableBytes = uint64_t(kColourEntrySize) * ColourCountFor(bits);

    // Headers can announce any size; a pixel block the file cannot hold, or
    // no symbol could be, is refused before anything is allocated for it.
    const uint64_t blockSize = kInfoHeaderSize + tableBytes + pixelBytes;
    if (pixelBytes > kLargestBlock || blockSize > kLargestBlock) {
        oversized_ = QSize(width, height);
        return false;
    }
    if (blockSize > uint64_t(file.size())) return false;
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockSize]);
    if (!block) return false;
    std::memcpy(block.get(), header, kInfoHeaderSize);

    // The table is taken from right after the first 40 header bytes, whatever
    // size the header says it has.
    if (!ReadExactly(file, block.get() + kInfoHeaderSize, tableBytes)) return false;
    const uint32_t pixelOffset = Unsigned32(fileHeader + kPixelOffsetField);
    if (!file.seek(pixelOffset) || !ReadExactly(file, block.get() + kInfoHeaderSize + tableBytes, pixelBytes)) {
        return false;
    }

    block_ = std::move(block);
    width_ = width;
    height_ = height;
    stride_ = static_cast<uint32_t>(stride);
    return true;
}

uint16_t CDibImage::bitsPerPixel() const {
    return block_ ? Unsigned16(block_.get() + kBitsPerPixelField) : 0;
}

int CDibImage::colourCount() const {
    return ColourCountFor(bitsPerPixel());
}

const uint8_t* CDibImage::pixels() const {
    return block_ ? block_.get() + kInfoHeaderSize + kColourEntrySize * colourCount() : nullptr;
}

bool CDibImage::CanShow() const {
    switch (bitsPerPixel()) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: return true;
    default: return false;
    }
}

QRgb CDibImage::PixelAt(int x, int y) const {
    const uint8_t* row = pixels() + uint64_t(height_ - 1 - y) * stride_;
    const uint8_t* table = block_.get() + kInfoHeaderSize;
    auto fromTable = [table](unsigned index) {
        const uint8_t* entry = table + kColourEntrySize * index;
        return qRgb(entry[2], entry[1], entry[0]);
    };
    switch (bitsPerPixel()) {
    case 1: return fromTable(row[x / 8] >> (7 - x % 8) & 1);
    case 4: return fromTable(x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4);
    case 8: return fromTable(row[x]);
    case 16: {
        const unsigned value = Unsigned16(row + 2 * x);
        return qRgb(Expand5(value >> 10 & 31), Expand5(value >> 5 & 31), Expand5(value & 31));
    }
    case 24: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    case 32: return qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    default: return qRgb(0, 0, 0);
    }
}

QImage CDibImage::Render(int drawnWidth, int drawnHeight, const QRect& part) const {
    const QRect piece = part & QRect(0, 0, drawnWidth, drawnHeight);
    if (!CanShow() || width_ == 0 || height_ == 0 || piece.isEmpty()) return QImage();
    QImage image(piece.size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int y = 0; y < piece.height(); ++y) {
        const auto sourceY = static_cast<int>(int64_t(piece.y() + y) * height_ / drawnHeight);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < piece.width(); ++x) {
            line[x] = PixelAt(static_cast<int>(int64_t(piece.x() + x) * width_ / drawnWidth), sourceY);
        }
    }
    return image;
}

}  // namespace quillory

// One bitmap read from a .bmp file, kept as the packed bitmap the file holds:
// the 40-byte information header, the colour table and the bottom-up pixel
// rows in one block. A .bmp is whatever the user picked or the printer sent,
// so the reader trusts none of its numbers.
#ifndef QUILLORY_CDIBIMAGE_H
#define QUILLORY_CDIBIMAGE_H

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

namespace quillory {

class CDibImage {
public:
    CDibImage() = default;
    virtual ~CDibImage();
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // True when a bitmap was read; the previous image is gone either way.
    bool LoadFromFile(const QString& path);
    void Free();

    bool IsEmpty() const { return !block_; }
    // The width and height the last file's header gave when its image was
    // refused only for being larger than any symbol can be; empty otherwise.
    QSize oversizedHeaderSize() const { return oversized_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    uint16_t bitsPerPixel() const;
    // Bytes from one pixel row to the next.
    uint32_t stride() const { return stride_; }
    // 2, 16 or 256 for 1, 4 and 8 bits per pixel; 0 for the other depths.
    int colourCount() const;
    // The information header followed by its colour table; null when empty.
    const uint8_t* info() const { return block_.get(); }
    // The pixel rows, bottom row first; null when empty.
    const uint8_t* pixels() const;

    // Whether the depth is one the image can be shown in: 1, 4, 8, 16, 24 or 32 bits.
    bool CanShow() const;
    // The colour of the pixel at x, y counted from the top left corner, as it
    // is shown; only for an image that CanShow, with x and y inside it.
    QRgb PixelAt(int x, int y) const;
    // The whole image drawn drawnWidth x drawnHeight, each pixel taken from
    // the nearest pixel of the image. Only the piece `part` of that drawing is
    // made, so a huge drawing costs no more than what is seen of it. Null when
    // the image cannot be shown or the piece is empty.
    QImage Render(int drawnWidth, int drawnHeight, const QRect& part) const;

private:
    std::unique_ptr<uint8_t[]> block_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint32_t stride_ = 0;
    QSize oversized_;
};

}  // namespace quillory

#endif

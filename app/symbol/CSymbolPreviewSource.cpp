#include "CSymbolPreviewSource.h"

#include <algorithm>
#include <cstdint>

namespace quillory {

PreviewRect CSymbolPreviewSource::FitRect(int imageWidth, int imageHeight, int boxWidth, int boxHeight) const {
    // An image without pixels has no aspect to keep.
    if (imageWidth <= 0 || imageHeight <= 0) return {boxWidth / 2, boxHeight / 2, boxWidth / 2, boxHeight / 2};
    int drawnWidth;
    int drawnHeight;
    if (imageHeight > imageWidth) {
        drawnHeight = std::min(imageHeight, boxHeight);
        drawnWidth = static_cast<int>(int64_t(imageWidth) * drawnHeight / imageHeight);
    } else {
        drawnWidth = std::min(imageWidth, boxWidth);
        drawnHeight = static_cast<int>(int64_t(imageHeight) * drawnWidth / imageWidth);
    }
    const int left = (boxWidth - drawnWidth) / 2;
    const int top = (boxHeight - drawnHeight) / 2;
    return {left, top, left + drawnWidth, top + drawnHeight};
}

}  // namespace quillory

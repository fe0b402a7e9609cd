#include "CBitmapPreviewSource.h"

#include <QPainter>

#include "PromptPort.h"
#include "SymbolFiles.h"

namespace quillory {

CBitmapPreviewSource::CBitmapPreviewSource(PromptPort& prompt) : prompt_(prompt) {}

void CBitmapPreviewSource::Load(const QString& path) {
    acceptable_ = true;
    if (!image_.LoadFromFile(path)) return;
    if (image_.width() == kSymbolSide && image_.height() == kSymbolSide) return;
    // Only the size is held against a file; its depth is not.
    prompt_.ShowMessage(QLatin1String(kSymbolSizeMessage), MessageIcon::None, MessageButtons::Ok);
    acceptable_ = false;
}

int CBitmapPreviewSource::Draw(QPainter& dc, int x, int y, int width, int height) {
    if (image_.IsEmpty() || image_.width() == 0 || image_.height() == 0) return 0;
    const PreviewRect fit = FitRect(image_.width(), image_.height(), width, height);
    const int drawnWidth = fit.right - fit.left;
    const int drawnHeight = fit.bottom - fit.top;
    const QImage drawn = image_.Render(drawnWidth, drawnHeight, QRect(0, 0, drawnWidth, drawnHeight));
    if (drawn.isNull()) return 0;
    dc.drawImage(x + fit.left, y + fit.top, drawn);
    return image_.height();
}

}  // namespace quillory

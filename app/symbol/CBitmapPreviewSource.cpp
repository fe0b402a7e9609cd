#include "CBitmapPreviewSource.h"

#include <QPainter>

#include "PromptPort.h"
#include "SymbolFiles.h"

namespace quillory {

CBitmapPreviewSource::CBitmapPreviewSource(PromptPort& prompt) : prompt_(prompt) {}

void CBitmapPreviewSource::Load(const QString& path) {
    acceptable_ = true;
    QSize size;
    if (image_.LoadFromFile(path)) {
        size = QSize(image_.width(), image_.height());
    } else {
        // An image too large to hold still told its size: it is held against
        // the file as any other size would be, only without a preview.
        size = image_.oversizedHeaderSize();
        if (size.isEmpty()) return;
    }
    if (size == QSize(kSymbolSide, kSymbolSide)) return;
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

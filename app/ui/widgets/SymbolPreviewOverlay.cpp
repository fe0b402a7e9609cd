#include "SymbolPreviewOverlay.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "CDibImage.h"

namespace quillory {

SymbolPreviewOverlay::SymbolPreviewOverlay(QWidget* viewport) : QWidget(viewport) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    viewport->installEventFilter(this);
    FitToViewport();
    show();
}

void SymbolPreviewOverlay::Erase(const QRect& area) {
    QPainter painter(&layer_);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(area, Qt::transparent);
    update(area);
}

void SymbolPreviewOverlay::Draw(const CDibImage& image, const QRect& area) {
    // Only what lands on the layer is made: a huge bitmap costs no more than a small one.
    const QRect seen = area & layer_.rect();
    const QImage drawn = image.Render(area.width(), area.height(), seen.translated(-area.topLeft()));
    if (drawn.isNull()) return;
    QPainter painter(&layer_);
    painter.drawImage(seen.topLeft(), drawn);
    update(seen);
}

bool SymbolPreviewOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) FitToViewport();
    return QWidget::eventFilter(watched, event);
}

void SymbolPreviewOverlay::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), layer_, event->rect());
}

void SymbolPreviewOverlay::FitToViewport() {
    const QSize size = parentWidget()->size();
    setGeometry(QRect(QPoint(0, 0), size));
    if (size.width() <= layer_.width() && size.height() <= layer_.height()) return;
    // The layer only grows, so what was drawn survives the window shrinking and growing again.
    QImage grown(size.expandedTo(layer_.size()), QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    QPainter(&grown).drawImage(0, 0, layer_);
    layer_ = grown;
}

}  // namespace quillory

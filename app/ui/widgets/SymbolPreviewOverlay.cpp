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

void SymbolPreviewOverlay::Erase() {
    update(drawnArea());
    drawn_ = QImage();
}

void SymbolPreviewOverlay::Draw(const CDibImage& image, const QRect& area) {
    Erase();
    // Only what lands in the viewport is made: a huge bitmap costs no more than a small one.
    const QRect seen = area & rect();
    if (seen.isEmpty()) return;
    drawn_ = image.Render(area.width(), area.height(), seen.translated(-area.topLeft()));
    drawnAt_ = seen.topLeft();
    update(drawnArea());
}

bool SymbolPreviewOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) FitToViewport();
    return QWidget::eventFilter(watched, event);
}

void SymbolPreviewOverlay::moveEvent(QMoveEvent*) {
    // A scrolling tree moves its viewport's children along with its rows;
    // the sheet stays over the viewport, where its drawing is placed.
    if (pos() != QPoint(0, 0)) move(0, 0);
}

void SymbolPreviewOverlay::paintEvent(QPaintEvent*) {
    if (drawn_.isNull()) return;
    QPainter(this).drawImage(drawnAt_, drawn_);
}

void SymbolPreviewOverlay::FitToViewport() {
    setGeometry(QRect(QPoint(0, 0), parentWidget()->size()));
}

}  // namespace quillory

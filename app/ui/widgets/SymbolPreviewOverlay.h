// The sheet the tree's symbol preview is drawn on: see-through, over the
// tree's viewport, it keeps one drawing until that is erased and lets every
// click through to the tree.
#ifndef QUILLORY_SYMBOL_PREVIEW_OVERLAY_H
#define QUILLORY_SYMBOL_PREVIEW_OVERLAY_H

#include <QImage>
#include <QWidget>

namespace quillory {

class CDibImage;

class SymbolPreviewOverlay : public QWidget {
public:
    // Covers the viewport and follows its size.
    explicit SymbolPreviewOverlay(QWidget* viewport);

    // Takes the drawing away, so the tree shows again.
    void Erase();
    // Draws the whole image scaled into the area, in place of the last
    // drawing; only what lies inside the viewport is made and shown.
    void Draw(const CDibImage& image, const QRect& area);
    // Where the drawing shows; empty when there is none.
    QRect drawnArea() const { return drawn_.isNull() ? QRect() : QRect(drawnAt_, drawn_.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FitToViewport();

    QImage drawn_;
    QPoint drawnAt_;
};

}  // namespace quillory

#endif

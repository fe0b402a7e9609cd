// The layer the tree's symbol preview is drawn on: a see-through sheet over
// the tree's viewport that keeps what is drawn on it until that is erased,
// and lets every click through to the tree.
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

    // Takes away whatever was drawn in the area, so the tree shows again.
    void Erase(const QRect& area);
    // Draws the whole image scaled into the area.
    void Draw(const CDibImage& image, const QRect& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FitToViewport();

    QImage layer_;
};

}  // namespace quillory

#endif

// Something that can show a chosen file in a preview box: loads it, draws it
// fitted into the box, and says where in the box it goes.
#ifndef QUILLORY_CSYMBOLPREVIEWSOURCE_H
#define QUILLORY_CSYMBOLPREVIEWSOURCE_H

#include <QString>

class QPainter;

namespace quillory {

// Edges of a rectangle in pixels; right and bottom lie just outside it.
struct PreviewRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PreviewRect&) const = default;
};

class CSymbolPreviewSource {
public:
    // Loads the image the path names; an empty path clears the image.
    virtual void Load(const QString& path) = 0;
    // Draws the current image into the box x, y, width x height; returns 0
    // when nothing was drawn.
    virtual int Draw(QPainter& dc, int x, int y, int width, int height) = 0;
    // Where an image goes in a box, relative to the box: centred, its aspect
    // kept, shrunk to fit but never enlarged.
    virtual PreviewRect FitRect(int imageWidth, int imageHeight, int boxWidth, int boxHeight) const;
    virtual ~CSymbolPreviewSource() = default;
};

}  // namespace quillory

#endif

// The preview source of symbol bitmaps: loads a .bmp, tells the user at once
// when it is not a symbol's 150 x 150 pixels, and draws it fitted into a box.
#ifndef QUILLORY_CBITMAPPREVIEWSOURCE_H
#define QUILLORY_CBITMAPPREVIEWSOURCE_H

#include "CDibImage.h"
#include "CSymbolPreviewSource.h"

namespace quillory {

class PromptPort;

class CBitmapPreviewSource : public CSymbolPreviewSource {
public:
    explicit CBitmapPreviewSource(PromptPort& prompt);

    // A bitmap of the wrong size is still previewed, but no longer acceptable;
    // a file that is no bitmap at all leaves the flag set and shows nothing.
    void Load(const QString& path) override;
    // Returns the number of pixel rows drawn from, 0 when nothing was drawn.
    int Draw(QPainter& dc, int x, int y, int width, int height) override;

    // Whether the last file loaded may be sent as a symbol.
    bool acceptable() const { return acceptable_; }
    const CDibImage& image() const { return image_; }

private:
    PromptPort& prompt_;
    bool acceptable_ = true;
    CDibImage image_;
};

}  // namespace quillory

#endif

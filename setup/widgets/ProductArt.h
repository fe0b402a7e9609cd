// The launcher's icon and the picture of the printer on its main page, drawn
// rather than shipped as bitmaps so they stay sharp at any scale.
#ifndef QUILLORY_SETUP_PRODUCT_ART_H
#define QUILLORY_SETUP_PRODUCT_ART_H

#include <QIcon>
#include <QPixmap>

namespace quillory::setup {

QPixmap ProductPicture(const QSize& size, qreal devicePixelRatio);
QIcon ApplicationIcon();

}  // namespace quillory::setup

#endif

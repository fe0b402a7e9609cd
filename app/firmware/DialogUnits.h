// The firmware dialogs are laid out in dialog units, as their templates give
// them: a quarter of the dialog font's average character width across and an
// eighth of its height down, so the layout follows the font.
#ifndef QUILLORY_DIALOG_UNITS_H
#define QUILLORY_DIALOG_UNITS_H

#include <QRect>

class QWidget;

namespace quillory {

QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height);
QSize DialogSize(const QWidget* dialog, int width, int height);

}  // namespace quillory

#endif

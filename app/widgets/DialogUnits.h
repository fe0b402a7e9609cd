// The dialogs were first laid out in dialog units: a quarter of the dialog
// font's mean letter width across and an eighth of its height down, the mean
// taken over the 52 letters as the platform's dialog manager takes it. Sizing
// by them keeps the templates' proportions in any font.
#ifndef QUILLORY_DIALOG_UNITS_H
#define QUILLORY_DIALOG_UNITS_H

#include <QRect>

class QWidget;

namespace quillory {

int DialogUnitsAcross(const QWidget* dialog, int units);
QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height);
QSize DialogSize(const QWidget* dialog, int width, int height);

}  // namespace quillory

#endif

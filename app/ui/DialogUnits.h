// The slot dialogs were first laid out in dialog units, a quarter of the
// font's average character width across and an eighth of its height down.
// Sizing by them keeps the dialogs' proportions in any font.
#ifndef QUILLORY_DIALOG_UNITS_H
#define QUILLORY_DIALOG_UNITS_H

#include <QFontMetrics>
#include <QWidget>

namespace quillory {

inline int DialogUnitsAcross(const QWidget& widget, int units) {
    return widget.fontMetrics().averageCharWidth() * units / 4;
}

inline int DialogUnitsDown(const QWidget& widget, int units) {
    return widget.fontMetrics().height() * units / 8;
}

}  // namespace quillory

#endif

#include "DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace quillory {

namespace {

// The mean width of the 52 letters, unrounded: the font's own average
// character width is another figure, narrower than the one the dialog
// templates were drawn in.
double BaseWidth(const QWidget* dialog) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return dialog->fontMetrics().horizontalAdvance(letters) / 52.0;
}

int Down(const QWidget* dialog, int units) {
    return qRound(units * dialog->fontMetrics().height() / 8.0);
}

}  // namespace

int DialogUnitsAcross(const QWidget* dialog, int units) {
    return qRound(units * BaseWidth(dialog) / 4.0);
}

QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height) {
    return QRect(DialogUnitsAcross(dialog, x), Down(dialog, y), DialogUnitsAcross(dialog, width),
                 Down(dialog, height));
}

QSize DialogSize(const QWidget* dialog, int width, int height) {
    return QSize(DialogUnitsAcross(dialog, width), Down(dialog, height));
}

}  // namespace quillory

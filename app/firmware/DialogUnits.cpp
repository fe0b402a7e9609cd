#include "DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace quillory {

namespace {

// The average width the platform's dialog layout uses: of the 52 letters.
double BaseWidth(const QWidget* dialog) {
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return dialog->fontMetrics().horizontalAdvance(letters) / 52.0;
}

int Across(const QWidget* dialog, int units) {
    return qRound(units * BaseWidth(dialog) / 4.0);
}

int Down(const QWidget* dialog, int units) {
    return qRound(units * dialog->fontMetrics().height() / 8.0);
}

}  // namespace

QRect DialogRect(const QWidget* dialog, int x, int y, int width, int height) {
    return QRect(Across(dialog, x), Down(dialog, y), Across(dialog, width), Down(dialog, height));
}

QSize DialogSize(const QWidget* dialog, int width, int height) {
    return QSize(Across(dialog, width), Down(dialog, height));
}

}  // namespace quillory

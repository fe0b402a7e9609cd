#include "ProductArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quillory::setup {

namespace {

// The printer drawn into a 100 x 140 box: label tape, body, display, keypad.
void DrawPrinter(QPainter& painter, bool withDetail) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    painter.setBrush(QColor(250, 250, 244));
    painter.drawRect(QRectF(34, 0, 32, 22));
    if (withDetail) {
        painter.setPen(QColor(60, 60, 60));
        painter.setFont(QFont(painter.font().family(), 5));
        painter.drawText(QRectF(34, 4, 32, 14), Qt::AlignCenter, "QV7E");
        painter.setPen(Qt::NoPen);
    }

    QLinearGradient body(0, 14, 100, 140);
    body.setColorAt(0, QColor(64, 84, 112));
    body.setColorAt(1, QColor(28, 38, 56));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(6, 16, 88, 122), 14, 14);

    painter.setBrush(QColor(18, 22, 30));
    painter.drawRoundedRect(QRectF(16, 26, 68, 36), 4, 4);
    painter.setBrush(QColor(178, 214, 168));
    painter.drawRect(QRectF(20, 30, 60, 28));
    if (withDetail) {
        painter.setPen(QColor(30, 50, 30));
        painter.setFont(QFont(painter.font().family(), 6));
        painter.drawText(QRectF(22, 31, 56, 26), Qt::AlignCenter, "Files / Printing");
        painter.setPen(Qt::NoPen);
    }

    const int columns = withDetail ? 5 : 3;
    const int rows = withDetail ? 5 : 3;
    const qreal keyWidth = 60.0 / columns;
    const qreal keyHeight = 56.0 / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const bool yellow = row == 0 && column == 0;
            painter.setBrush(yellow ? QColor(240, 196, 40) : QColor(214, 220, 228));
            painter.drawRoundedRect(QRectF(20 + column * keyWidth + 1.5, 70 + row * keyHeight + 1.5,
                                           keyWidth - 3, keyHeight - 3),
                                    2, 2);
        }
    }
}

}  // namespace

QPixmap ProductPicture(const QSize& size, qreal devicePixelRatio) {
    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);

    const qreal scale = std::min(size.width() / 100.0, size.height() / 150.0);
    painter.translate((size.width() - 100 * scale) / 2, 0);
    painter.scale(scale, scale);
    DrawPrinter(painter, true);

    painter.setPen(QColor(40, 52, 72));
    painter.setFont(QFont(painter.font().family(), 7, QFont::Bold));
    painter.drawText(QRectF(-20, 139, 140, 11), Qt::AlignCenter, "Tandor QV7E");
    return picture;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        const qreal scale = side / 140.0;
        painter.translate((side - 100 * scale) / 2, 0);
        painter.scale(scale, scale);
        DrawPrinter(painter, side >= 64);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace quillory::setup

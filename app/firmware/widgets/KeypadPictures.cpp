#include "KeypadPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstring>
#include <vector>

namespace quillory {

namespace {

struct KeyRow {
    std::vector<const char*> labels;
    QColor colour;
};

// Keys of the numeric model: a telephone pad with the editing keys beside it.
const std::vector<KeyRow>& NumericRows() {
    static const QColor grey(0xd8, 0xdb, 0xe0), blue(0x9c, 0xc1, 0xe8);
    static const std::vector<KeyRow> rows = {
        {{"1", "2", "3", "DEL"}, grey}, {{"4", "5", "6", "SHF"}, grey}, {{"7", "8", "9", "SPC"}, grey},
        {{"*", "0", "#", "ENT"}, grey}, {{"\u2190", "\u2191", "\u2193", "\u2192"}, blue},
    };
    return rows;
}

// Keys of the keyboard model: letters in typewriter order, digits above.
const std::vector<KeyRow>& KeyboardRows() {
    static const QColor grey(0xd8, 0xdb, 0xe0), blue(0x9c, 0xc1, 0xe8);
    static const std::vector<KeyRow> rows = {
        {{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, grey},
        {{"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"}, grey},
        {{"A", "S", "D", "F", "G", "H", "J", "K", "L", "DEL"}, grey},
        {{"Z", "X", "C", "V", "B", "N", "M", ",", ".", "ENT"}, grey},
        {{"SHF", "\u2190", "SPACE", "\u2192", "\u2191", "\u2193"}, blue},
    };
    return rows;
}

void DrawKey(QPainter& painter, const QRectF& key, const char* label, const QColor& colour) {
    painter.setPen(QPen(QColor(0x30, 0x33, 0x38), 1.0));
    QLinearGradient shade(key.topLeft(), key.bottomLeft());
    shade.setColorAt(0, colour.lighter(112));
    shade.setColorAt(1, colour.darker(110));
    painter.setBrush(shade);
    const qreal radius = qMin(key.width(), key.height()) * 0.2;
    painter.drawRoundedRect(key, radius, radius);

    QFont font = painter.font();
    const QString text = QString::fromUtf8(label);
    // Words shrink to fit the narrow keys of the letter keyboard.
    const qreal byHeight = key.height() * (text.size() > 2 ? 0.32 : 0.5);
    const qreal byWidth = key.width() * (text.size() > 2 ? 0.3 : 0.6);
    font.setPixelSize(qMax(5, static_cast<int>(qMin(byHeight, byWidth))));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x24));
    painter.drawText(key, Qt::AlignCenter, text);
}

// Rows of keys filling `area`; a row with fewer keys stretches them (the space bar).
void DrawKeys(QPainter& painter, const QRectF& area, const std::vector<KeyRow>& rows, size_t columns) {
    const qreal gap = area.width() * 0.025;
    const qreal rowHeight = (area.height() - gap * static_cast<qreal>(rows.size() - 1)) / static_cast<qreal>(rows.size());
    qreal y = area.top();
    for (const KeyRow& row : rows) {
        const size_t count = row.labels.size();
        const qreal unit = (area.width() - gap * static_cast<qreal>(columns - 1)) / static_cast<qreal>(columns);
        // Keys that are fewer than the columns share out the spare width to the widest label.
        std::vector<qreal> widths(count, unit);
        if (count < columns) {
            size_t widest = 0;
            for (size_t i = 1; i < count; ++i) {
                if (std::strlen(row.labels[i]) > std::strlen(row.labels[widest])) widest = i;
            }
            widths[widest] += static_cast<qreal>(columns - count) * (unit + gap);
        }
        qreal x = area.left();
        for (size_t i = 0; i < count; ++i) {
            DrawKey(painter, QRectF(x, y, widths[i], rowHeight), row.labels[i], row.colour);
            x += widths[i] + gap;
        }
        y += rowHeight + gap;
    }
}

}  // namespace

QPixmap KeypadPicture(KeypadModel model, const QSize& size) {
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF bounds(QPointF(0, 0), QSizeF(size));
    const QRectF body = bounds.adjusted(size.width() * 0.06, size.height() * 0.02, -size.width() * 0.06,
                                        -size.height() * 0.02);
    const qreal w = body.width();
    const qreal h = body.height();

    // The printer's case, with the label exit slot across its top.
    QLinearGradient caseShade(body.topLeft(), body.topRight());
    caseShade.setColorAt(0, QColor(0x4a, 0x50, 0x5a));
    caseShade.setColorAt(0.5, QColor(0x5f, 0x66, 0x72));
    caseShade.setColorAt(1, QColor(0x40, 0x45, 0x4e));
    painter.setPen(QPen(QColor(0x22, 0x24, 0x28), 2));
    painter.setBrush(caseShade);
    painter.drawRoundedRect(body, w * 0.12, w * 0.12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1a, 0x1c, 0x20));
    painter.drawRoundedRect(QRectF(body.left() + w * 0.2, body.top() + h * 0.03, w * 0.6, h * 0.025), 2, 2);

    // The display.
    const QRectF screen(body.left() + w * 0.1, body.top() + h * 0.08, w * 0.8, h * 0.22);
    painter.setPen(QPen(QColor(0x22, 0x24, 0x28), 2));
    painter.setBrush(QColor(0xb9, 0xcf, 0x9a));
    painter.drawRoundedRect(screen, 4, 4);
    QFont font = painter.font();
    font.setPixelSize(qMax(7, static_cast<int>(screen.height() * 0.2)));
    painter.setFont(font);
    painter.setPen(QColor(0x2c, 0x3a, 0x22));
    painter.drawText(screen.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("PRICE  1.99\nITEM   00042"));

    // The function keys, then the model's own keypad.
    const QColor functionColour(0xf2, 0xb8, 0x4b);
    const qreal keysLeft = body.left() + w * 0.08;
    const qreal keysWidth = w * 0.84;
    const std::vector<KeyRow> functionRow = {{{"F1", "F2", "F3", "F4", "F5"}, functionColour}};
    DrawKeys(painter, QRectF(keysLeft, body.top() + h * 0.34, keysWidth, h * 0.06), functionRow, 5);

    const bool keyboard = model == kModelQV7EQ;
    const std::vector<KeyRow>& rows = keyboard ? KeyboardRows() : NumericRows();
    DrawKeys(painter, QRectF(keysLeft, body.top() + h * 0.44, keysWidth, h * (keyboard ? 0.46 : 0.5)), rows,
             keyboard ? 10 : 4);
    return picture;
}

}  // namespace quillory

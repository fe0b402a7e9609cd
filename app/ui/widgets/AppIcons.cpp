#include "AppIcons.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <functional>

#include "StringTable.h"

namespace quillory {

namespace {

// Every picture is drawn on a 24 by 24 grid and scaled to the size asked for.
constexpr qreal kGrid = 24.0;
const QList<QSize> kSizes = {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};

const QColor kOutline(0x55, 0x5f, 0x6b);
const QColor kToPrinter(0x2e, 0x9a, 0x3c);
const QColor kToPc(0x2a, 0x69, 0xc2);

enum class Kind { Data, Label, Symbol, Firmware };
enum class Direction { ToPrinter, ToPc };

using Drawing = std::function<void(QPainter&)>;

// Draws its picture when a size is first asked for, and keeps it: the
// program starts without drawing icons nobody looks at, and every size is
// drawn sharp rather than scaled from another.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Drawing draw) : draw_(std::move(draw)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        const quint64 key = (quint64(size.width()) << 32) | (quint64(size.height()) << 8) | quint64(mode);
        auto cached = cache_.constFind(key);
        if (cached != cache_.cend()) return *cached;

        const int side = qMin(size.width(), size.height());
        QPixmap picture(side, side);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / kGrid, side / kGrid);
        draw_(painter);
        painter.end();
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QApplication::palette();
            picture = QApplication::style()->generatedIconPixmap(mode, picture, &option);
        }
        cache_.insert(key, picture);
        return picture;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return kSizes; }

    QIconEngine* clone() const override { return new DrawnIconEngine(draw_); }

private:
    Drawing draw_;
    QHash<quint64, QPixmap> cache_;
};

QIcon Render(Drawing draw) {
    return QIcon(new DrawnIconEngine(std::move(draw)));
}

void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(13.5, 1.5);
    page.lineTo(18.5, 6.5);
    page.lineTo(18.5, 22.5);
    page.lineTo(3.5, 22.5);
    page.closeSubpath();
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(Qt::white);
    p.drawPath(page);

    QPainterPath fold;
    fold.moveTo(13.5, 1.5);
    fold.lineTo(13.5, 6.5);
    fold.lineTo(18.5, 6.5);
    fold.closeSubpath();
    p.setBrush(QColor(0xd9, 0xde, 0xe4));
    p.drawPath(fold);
}

void DrawBarcode(QPainter& p, qreal left, qreal top, qreal height) {
    // Bar widths of a made-up code: wide enough apart to read at 16 pixels.
    const qreal widths[] = {1.0, 0.6, 1.4, 0.6, 1.0, 0.6, 1.4};
    qreal x = left;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x22, 0x22));
    for (qreal width : widths) {
        p.drawRect(QRectF(x, top, width, height));
        x += width + 0.8;
    }
}

void DrawKindMark(QPainter& p, Kind kind) {
    switch (kind) {
    case Kind::Data: {
        // A small table: a heading row and three rows of two columns.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3a, 0x78, 0xc0));
        p.drawRect(QRectF(5.5, 8.0, 10.0, 2.5));
        p.setPen(QPen(QColor(0x7a, 0x9c, 0xc4), 0.8));
        p.setBrush(Qt::NoBrush);
        for (qreal y : {13.0, 16.0, 19.0}) p.drawLine(QPointF(5.5, y), QPointF(15.5, y));
        p.drawLine(QPointF(10.5, 10.5), QPointF(10.5, 19.0));
        break;
    }
    case Kind::Label: {
        QPainterPath tag;
        tag.addRoundedRect(QRectF(5.0, 8.0, 11.5, 10.0), 1.5, 1.5);
        p.setPen(QPen(QColor(0xc0, 0x7a, 0x1e), 0.8));
        p.setBrush(QColor(0xff, 0xe9, 0xb8));
        p.drawPath(tag);
        DrawBarcode(p, 6.6, 10.0, 6.0);
        break;
    }
    case Kind::Symbol: {
        const QRectF frame(5.0, 8.0, 11.5, 11.0);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xcf, 0xe6, 0xfa));
        p.drawRect(frame);
        p.setBrush(QColor(0xf2, 0xb7, 0x1d));
        p.drawEllipse(QPointF(13.3, 11.0), 1.7, 1.7);
        QPainterPath hill;
        hill.moveTo(5.0, 19.0);
        hill.lineTo(9.0, 13.0);
        hill.lineTo(12.0, 16.5);
        hill.lineTo(13.5, 15.0);
        hill.lineTo(16.5, 19.0);
        hill.closeSubpath();
        p.setBrush(QColor(0x3f, 0x9a, 0x4a));
        p.drawPath(hill);
        p.setPen(QPen(kOutline, 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(frame);
        break;
    }
    case Kind::Firmware: {
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 0.9));
        for (qreal y : {10.0, 12.5, 15.0, 17.5}) {
            p.drawLine(QPointF(5.0, y), QPointF(16.5, y));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x33, 0x3a, 0x44));
        p.drawRoundedRect(QRectF(7.0, 8.5, 7.5, 10.5), 1.0, 1.0);
        p.setBrush(QColor(0x9a, 0xa4, 0xb0));
        p.drawEllipse(QPointF(8.7, 10.2), 0.7, 0.7);
        break;
    }
    }
}

void DrawArrowBadge(QPainter& p, Direction direction) {
    const QPointF centre(17.5, 17.5);
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(direction == Direction::ToPrinter ? kToPrinter : kToPc);
    p.drawEllipse(centre, 6.0, 6.0);

    // An arrow up carries the file to the printer, an arrow down brings it to the PC.
    const qreal sign = direction == Direction::ToPrinter ? -1.0 : 1.0;
    QPainterPath arrow;
    arrow.moveTo(centre.x(), centre.y() + sign * 4.0);
    arrow.lineTo(centre.x() + 3.6, centre.y() + sign * 0.2);
    arrow.lineTo(centre.x() + 1.4, centre.y() + sign * 0.2);
    arrow.lineTo(centre.x() + 1.4, centre.y() - sign * 3.6);
    arrow.lineTo(centre.x() - 1.4, centre.y() - sign * 3.6);
    arrow.lineTo(centre.x() - 1.4, centre.y() + sign * 0.2);
    arrow.lineTo(centre.x() - 3.6, centre.y() + sign * 0.2);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(arrow);
}

QIcon TransferIcon(Kind kind, Direction direction) {
    return Render([=](QPainter& p) {
        DrawPage(p);
        DrawKindMark(p, kind);
        DrawArrowBadge(p, direction);
    });
}

void DrawPrinter(QPainter& p) {
    // The label leaves through a slot in the printer's top.
    const QRectF label(6.5, 1.5, 11.0, 10.0);
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(label);
    DrawBarcode(p, 8.2, 3.5, 5.0);

    QLinearGradient body(0, 9, 0, 22);
    body.setColorAt(0.0, QColor(0x5d, 0x6a, 0x7a));
    body.setColorAt(1.0, QColor(0x2c, 0x34, 0x3e));
    p.setPen(QPen(QColor(0x22, 0x28, 0x30), 0.8));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(1.5, 9.5, 21.0, 12.0), 2.5, 2.5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x18, 0x1d));
    p.drawRoundedRect(QRectF(5.0, 10.5, 14.0, 1.8), 0.9, 0.9);
    p.setBrush(QColor(0xb8, 0xe0, 0xf5));
    p.drawRect(QRectF(4.5, 14.5, 8.0, 4.0));
    p.setBrush(QColor(0xff, 0x9d, 0x1e));
    p.drawEllipse(QPointF(18.0, 16.5), 1.6, 1.6);
}

void DrawInformation(QPainter& p) {
    p.setPen(QPen(QColor(0x1f, 0x55, 0xa0), 1.0));
    p.setBrush(QColor(0x35, 0x7b, 0xd2));
    p.drawEllipse(QPointF(12.0, 12.0), 10.0, 10.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12.0, 7.0), 1.8, 1.8);
    p.drawRoundedRect(QRectF(10.4, 10.0, 3.2, 8.5), 0.8, 0.8);
}

}  // namespace

QIcon ApplicationIcon() {
    return Render(DrawPrinter);
}

QIcon CommandIcon(int commandId) {
    switch (commandId) {
    case ID_FILE_SEND_DATA: return TransferIcon(Kind::Data, Direction::ToPrinter);
    case ID_FILE_GET_DATA: return TransferIcon(Kind::Data, Direction::ToPc);
    case ID_FILE_SEND_LABEL: return TransferIcon(Kind::Label, Direction::ToPrinter);
    case ID_FILE_GET_LABEL: return TransferIcon(Kind::Label, Direction::ToPc);
    case ID_FILE_DOWNLOAD_SYMBOL: return TransferIcon(Kind::Symbol, Direction::ToPrinter);
    case ID_FILE_GET_SYMBOL: return TransferIcon(Kind::Symbol, Direction::ToPc);
    case ID_FIRMWARE_UPGRADE: return TransferIcon(Kind::Firmware, Direction::ToPrinter);
    case ID_FIRMWARE_GET_CURRENT: return TransferIcon(Kind::Firmware, Direction::ToPc);
    case ID_APP_ABOUT: return Render(DrawInformation);
    default: return QIcon();
    }
}

}  // namespace quillory

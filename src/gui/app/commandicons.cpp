#include "commandicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor ink(0x30, 0x30, 0x30);
const QColor paper(0xff, 0xff, 0xff);
const QColor rowBlue(0x3a, 0x6e, 0xc8);
const QColor danger(0xc8, 0x28, 0x28);
const QColor addGreen(0x2a, 0x9a, 0x3a);

// A sheet of paper with three lines of text, the rows of a channel list.
void sheet(QPainter& p, const QRectF& r) {
    p.setPen(QPen(ink, 1));
    p.setBrush(paper);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (int i = 1; i <= 3; ++i) {
        const qreal y = r.top() + r.height() * i / 4.0;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

// Rows of a table, with one row marked in blue: what Move Up and Move Down act on.
void rows(QPainter& p, int marked) {
    for (int i = 0; i < 4; ++i) {
        const QRectF r(1.5, 2.5 + i * 6.5, 14, 4.5);
        p.setPen(QPen(ink, 1));
        p.setBrush(i == marked ? rowBlue : paper);
        p.drawRect(r);
    }
}

void arrow(QPainter& p, bool up) {
    // Drawn pointing up; the down arrow is its mirror image.
    const auto y = [up](qreal v) { return up ? v : 32 - v; };
    QPainterPath a;
    a.moveTo(24, y(3));
    a.lineTo(31, y(12));
    a.lineTo(27, y(12));
    a.lineTo(27, y(28));
    a.lineTo(21, y(28));
    a.lineTo(21, y(12));
    a.lineTo(17, y(12));
    a.closeSubpath();
    p.setPen(QPen(rowBlue.darker(140), 1));
    p.setBrush(rowBlue);
    p.drawPath(a);
}

void draw(QPainter& p, CommandPicture picture) {
    switch (picture) {
    case CommandPicture::Cut: {
        // Scissors: two blades crossing, two rings for the fingers.
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 3), QPointF(21, 21));
        p.drawLine(QPointF(23, 3), QPointF(11, 21));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(danger, 2.4));
        p.drawEllipse(QPointF(9, 25), 4.5, 4.5);
        p.drawEllipse(QPointF(23, 25), 4.5, 4.5);
        break;
    }
    case CommandPicture::Copy:
        sheet(p, QRectF(3.5, 2.5, 16, 20));
        sheet(p, QRectF(12.5, 9.5, 16, 20));
        break;
    case CommandPicture::Paste: {
        // A clipboard with a sheet on it.
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(0xb0, 0x7a, 0x40));
        p.drawRoundedRect(QRectF(4.5, 4.5, 20, 25), 2, 2);
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRect(QRectF(10.5, 2.5, 8, 4));
        sheet(p, QRectF(13.5, 11.5, 15, 18));
        break;
    }
    case CommandPicture::Insert:
        rows(p, -1);
        p.setPen(Qt::NoPen);
        p.setBrush(addGreen);
        p.drawRect(QRectF(18, 13.5, 12, 5));
        p.drawRect(QRectF(21.5, 10, 5, 12));
        break;
    case CommandPicture::Delete:
        rows(p, -1);
        p.setPen(QPen(danger, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 9), QPointF(29, 22));
        p.drawLine(QPointF(29, 9), QPointF(18, 22));
        break;
    case CommandPicture::MoveUp:
        rows(p, 1);
        arrow(p, true);
        break;
    case CommandPicture::MoveDown:
        rows(p, 2);
        arrow(p, false);
        break;
    }
}

const char* themeName(CommandPicture picture) {
    switch (picture) {
    case CommandPicture::Cut:
        return "edit-cut";
    case CommandPicture::Copy:
        return "edit-copy";
    case CommandPicture::Paste:
        return "edit-paste";
    case CommandPicture::Delete:
        return "edit-delete";
    case CommandPicture::Insert:
    case CommandPicture::MoveUp:
    case CommandPicture::MoveDown:
        return "";
    }
    return "";
}

// Our own drawing alone, without the theme.
QIcon drawnCommandIcon(CommandPicture picture) {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p, picture);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

QIcon commandIcon(CommandPicture picture) {
    // The theme's clipboard pictures are well known; its arrows and plus signs would look like
    // Read and Write, so the row commands keep the drawings that show rows.
    const char* name = themeName(picture);
    if (!*name) return drawnCommandIcon(picture);
    return QIcon::fromTheme(QLatin1String(name), drawnCommandIcon(picture));
}

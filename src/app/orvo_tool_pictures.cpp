#include "orvo_tool_pictures.h"

#include <QPainter>

namespace {

QColor Shade(QColor c, QIcon::Mode mode)
{
    if (mode == QIcon::Disabled) {
        const int g = qGray(c.rgb());
        return QColor(160 + g / 4, 160 + g / 4, 160 + g / 4);
    }
    if (mode == QIcon::Active) return c.lighter(130);
    return c;
}

// A sheet of paper with a box on it, in the colour of its set.
void DrawSetFile(QPainter& p, QColor box, QIcon::Mode mode)
{
    p.setPen(Shade(QColor(70, 70, 70), mode));
    p.setBrush(Shade(QColor(255, 255, 240), mode));
    p.drawPolygon(QPolygon({QPoint(2, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(2, 14)}));
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    QPen pen(Shade(box, mode));
    pen.setWidth(2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(5, 6, 5, 5);
}

void DrawEvaluate(QPainter& p, QIcon::Mode mode)
{
    p.setPen(Shade(QColor(40, 40, 40), mode));
    p.drawLine(1, 14, 14, 14);
    p.drawLine(1, 1, 1, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(Shade(QColor(0, 110, 200), mode));
    p.drawRect(3, 9, 2, 5);
    p.drawRect(6, 5, 2, 9);
    p.drawRect(9, 7, 2, 7);
    QPen tick(Shade(QColor(0, 150, 0), mode));
    tick.setWidth(2);
    p.setPen(tick);
    p.drawLine(9, 3, 11, 5);
    p.drawLine(11, 5, 15, 0);
}

}  // namespace

QPixmap ToolPicture(int index, QIcon::Mode mode)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (index) {
    case 0: DrawSetFile(p, QColor(0, 150, 0), mode); break;
    case 1: DrawSetFile(p, QColor(210, 0, 0), mode); break;
    default: DrawEvaluate(p, mode); break;
    }
    return pixmap;
}

QIcon ToolIcon(int index)
{
    QIcon icon;
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Disabled})
        icon.addPixmap(ToolPicture(index, mode), mode);
    return icon;
}

#include "GdiDraw.h"

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QRect>

namespace {
int Sign(int value)
{
    return (value > 0) - (value < 0);
}
} // namespace

void GdiLine(QPainter& painter, const QPoint& from, const QPoint& to)
{
    if (from == to)
        return;
    const QPoint delta = to - from;
    painter.drawLine(from, to - QPoint(Sign(delta.x()), Sign(delta.y())));
}

void GdiPolyline(QPainter& painter, std::initializer_list<QPoint> points)
{
    const QPoint* previous = nullptr;
    for (const QPoint& point : points) {
        if (previous)
            GdiLine(painter, *previous, point);
        previous = &point;
    }
}

void GdiSetPixel(QPainter& painter, int x, int y, const QColor& color)
{
    painter.fillRect(x, y, 1, 1, color);
}

void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const int x = rect.x();
    const int y = rect.y();
    const int cx = rect.width();
    const int cy = rect.height();
    painter.fillRect(x, y, cx - 1, 1, topLeft);
    painter.fillRect(x, y, 1, cy - 1, topLeft);
    painter.fillRect(x + cx - 1, y, 1, cy, bottomRight);
    painter.fillRect(x, y + cy - 1, cx, 1, bottomRight);
}

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

// Straight and diagonal lines are filled pixel by pixel, so that they stay on the grid
// when the painter scales; others are left to the painter.
void GdiLine(QPainter& painter, const QPoint& from, const QPoint& to)
{
    if (from == to)
        return;
    const QPoint delta = to - from;
    const QPoint step(Sign(delta.x()), Sign(delta.y()));
    const QColor color = painter.pen().color();
    const QPoint last = to - step;
    if (step.x() == 0 || step.y() == 0)
        painter.fillRect(QRect(from, QSize(1, 1)) | QRect(last, QSize(1, 1)), color);
    else if (qAbs(delta.x()) == qAbs(delta.y()))
        for (QPoint p = from; p != to; p += step)
            painter.fillRect(p.x(), p.y(), 1, 1, color);
    else
        painter.drawLine(from, last);
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

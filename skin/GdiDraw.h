// Drawing primitives that put pixels exactly where the classic Windows calls
// put them, so the skin's edges match the artwork's pixel grid.
#pragma once

#include <initializer_list>

class QColor;
class QPainter;
class QPoint;
class QRect;

// A line in the painter's pen from `from` up to but not including `to`.
// Only horizontal, vertical and 45-degree lines are exact.
void GdiLine(QPainter& painter, const QPoint& from, const QPoint& to);

// A chain of such lines through the points, each leaving out its end point.
void GdiPolyline(QPainter& painter, std::initializer_list<QPoint> points);

// One pixel in the given colour.
void GdiSetPixel(QPainter& painter, int x, int y, const QColor& color);

// A one-pixel frame on the edge of rect: top and left edges in topLeft, right and
// bottom edges in bottomRight (which also owns the top-right and bottom-left corners).
void Draw3dRect(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);

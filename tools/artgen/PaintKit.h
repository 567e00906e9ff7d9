// Small drawing helpers shared by every piece of the artwork.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRectF>

#include <initializer_list>

class QPainter;

namespace PaintKit {

// Where a rectangle of the window's pixels lands at a scale, rounded as Qt rounds a
// region or a widget placed at that scale.
QRect deviceRect(const QRect& logical, qreal scale);

// A blank image of the given size in the window's pixels, with its pixels at scale.
QImage canvas(const QSize& size, qreal scale, QImage::Format format);

// A transparent image exactly as large, and at the same scale, as the image p paints on.
QImage layerFor(const QPainter& p);

QFont lato(int pixelSize, QFont::Weight weight);
QFont sans(int pixelSize);

QPainterPath rounded(const QRectF& rect, qreal radius);
QPainterPath closedPath(std::initializer_list<QPointF> corners);
QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom);

QColor withAlpha(QColor color, int alpha);
QColor mix(const QColor& a, const QColor& b, qreal t);

// A raised panel: soft drop shadow, gradient face, crisp edge and a one-pixel highlight
// along the top and down both sides.
void raisedPanel(QPainter& p, const QRectF& rect, qreal radius, const QColor& top, const QColor& bottom,
                 const QColor& edge);

// A recessed well: darker rim at the top, light catch at the bottom.
void sunkenWell(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill, const QColor& rim);

// Soft round glow, strongest at the centre.
void glow(QPainter& p, const QPointF& centre, qreal radius, const QColor& color);

} // namespace PaintKit

#include "PaintKit.h"

#include <QPainter>
#include <QRadialGradient>

namespace PaintKit {

QRect deviceRect(const QRect& logical, qreal scale)
{
    return QRectF(logical.x() * scale, logical.y() * scale, logical.width() * scale, logical.height() * scale)
        .toRect();
}

QImage canvas(const QSize& size, qreal scale, QImage::Format format)
{
    QImage image(deviceRect(QRect(QPoint(0, 0), size), scale).size(), format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage layerFor(const QPainter& p)
{
    const QPaintDevice& device = *p.device();
    QImage layer(device.width(), device.height(), QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(device.devicePixelRatioF());
    layer.fill(Qt::transparent);
    return layer;
}

QFont lato(int pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("Lato"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont sans(int pixelSize)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath rounded(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath closedPath(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.moveTo(*corners.begin());
    for (auto it = corners.begin() + 1; it != corners.end(); ++it)
        path.lineTo(*it);
    path.closeSubpath();
    return path;
}

QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(alpha);
    return color;
}

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                  lerp(a.alpha(), b.alpha()));
}

void raisedPanel(QPainter& p, const QRectF& rect, qreal radius, const QColor& top, const QColor& bottom,
                 const QColor& edge)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 22));
        p.drawPath(rounded(rect.adjusted(-i * 0.5, -i * 0.2, i * 0.5, i * 0.9), radius + i * 0.5));
    }
    p.setBrush(vertical(rect, top, bottom));
    p.setPen(QPen(edge, 1));
    p.drawPath(rounded(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius));
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.setBrush(Qt::NoBrush);
    // The highlight runs down both sides and stops where the bottom corners begin.
    p.setClipRect(rect.adjusted(0, 0, 0, -radius));
    p.drawPath(rounded(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1));
    p.restore();
}

void sunkenWell(QPainter& p, const QRectF& rect, qreal radius, const QColor& fill, const QColor& rim)
{
    p.save();
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(rect.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5));
    p.setPen(QPen(rim, 1));
    p.setBrush(fill);
    p.drawPath(rounded(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius));
    p.setClipPath(rounded(rect.adjusted(1, 1, -1, -1), radius - 0.5));
    p.setPen(QPen(QColor(0, 0, 0, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(rect.adjusted(1.5, 1.5, -1.5, 2.5), radius - 1));
    p.restore();
}

void glow(QPainter& p, const QPointF& centre, qreal radius, const QColor& color)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, color);
    g.setColorAt(1, withAlpha(color, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

} // namespace PaintKit

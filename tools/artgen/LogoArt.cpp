#include "LogoArt.h"

#include "ArtPalette.h"
#include "PaintKit.h"

#include <QPainter>

namespace LogoArt {

namespace {

using PaintKit::rounded;
using PaintKit::vertical;

// The logo is designed on a 256-unit grid.
constexpr qreal grid = 256.0;

void paintTile(QPainter& p)
{
    const QRectF tile(8, 8, 240, 240);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(tile, QColor(0x5c, 0xb4, 0xff), QColor(0x17, 0x4f, 0xb4)));
    p.drawPath(rounded(tile, 54));
    // Gloss on the upper half.
    QLinearGradient gloss(0, 8, 0, 128);
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawPath(rounded(QRectF(14, 12, 228, 118), 48));
    p.setPen(QPen(QColor(8, 36, 90, 160), 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(tile.adjusted(1.5, 1.5, -1.5, -1.5), 53));
}

void paintFilm(QPainter& p, int holes)
{
    const QRectF frame(28, 58, 164, 140);
    QPainterPath film = rounded(frame, 18);
    const QRectF window(42, 96, 136, 64);
    film = film.subtracted(rounded(window, 6));
    if (holes > 0) {
        const qreal pitch = 136.0 / holes;
        const qreal hole = pitch * 0.52;
        for (int i = 0; i < holes; ++i) {
            const qreal x = 42 + i * pitch + (pitch - hole) / 2;
            film = film.subtracted(rounded(QRectF(x, 70, hole, 16), 3));
            film = film.subtracted(rounded(QRectF(x, 170, hole, 16), 3));
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(4, 30, 80, 70));
    p.drawPath(film.translated(0, 5));
    p.setBrush(vertical(frame, QColor(0xff, 0xff, 0xff), QColor(0xd6, 0xe4, 0xf4)));
    p.drawPath(film);
}

void paintArrow(QPainter& p)
{
    const QPainterPath arrow = PaintKit::closedPath(
        {{66, 115}, {158, 115}, {158, 90}, {226, 128}, {158, 166}, {158, 141}, {66, 141}});
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(4, 30, 80, 90));
    p.drawPath(arrow.translated(0, 5));
    p.setBrush(vertical(QRectF(66, 90, 160, 76), QColor(0xff, 0xc2, 0x4a), ArtPalette::goDark));
    p.setPen(QPen(QColor(0x9a, 0x45, 0x00), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
}

} // namespace

void paintLogo(QPainter& p, const QRectF& box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / grid, box.height() / grid);
    paintTile(p);
    const qreal size = box.width();
    paintFilm(p, size >= 48 ? 6 : size >= 24 ? 4 : 0);
    paintArrow(p);
    p.restore();
}

QImage icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintLogo(p, QRectF(0, 0, size, size));
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace LogoArt

#include "ButtonArt.h"

#include "ArtPalette.h"
#include "GlyphArt.h"
#include "PaintKit.h"

#include <QPainter>

namespace ButtonArt {

namespace {

using namespace ArtPalette;
using PaintKit::rounded;
using PaintKit::vertical;
using PaintKit::withAlpha;

struct GlyphLook
{
    QColor ink;
    QColor tint; // laid over the finished glyph; transparent for none
    int shadowAlpha;
    QPointF shift;
};

// Draws the glyph through a layer so that it can be tinted and cast a shadow.
void stampGlyph(QPainter& p, Glyph glyph, const QRectF& box, const GlyphLook& look)
{
    QImage layer = PaintKit::layerFor(p);
    {
        QPainter lp(&layer);
        GlyphArt::paintGlyph(lp, glyph, box.translated(look.shift), look.ink);
        if (look.tint.alpha() > 0) {
            lp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            lp.fillRect(layer.rect(), look.tint);
        }
    }
    if (look.shadowAlpha > 0) {
        QImage shadow = layer;
        QPainter sp(&shadow);
        sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        sp.fillRect(shadow.rect(), QColor(0, 0, 0, look.shadowAlpha));
        sp.end();
        p.drawImage(QPointF(0, 1), shadow);
    }
    p.drawImage(QPointF(0, 0), layer);
}

QPointF pressShift(ButtonState state)
{
    return state == ButtonState::Pressed ? QPointF(1, 1) : QPointF(0, 0);
}

struct TileLook
{
    QColor edge, top, bottom;
    QColor rim;    // one pixel inside the edge: a highlight, or a shadow when pressed
    int glowAlpha; // blue halo around a lit tile
    QColor tint;   // over the glyph
};

TileLook tileLook(ButtonState state)
{
    switch (state) {
    case ButtonState::Hover:
        return {QColor(0x0c, 0x2e, 0x5c, 220),
                QColor(0x6c, 0xb2, 0xff, 235),
                QColor(0x23, 0x66, 0xc2, 235),
                QColor(255, 255, 255, 110),
                90,
                QColor(255, 255, 255, 24)};
    case ButtonState::Pressed:
        return {
            QColor(0, 0, 0, 170), QColor(0x0e, 0x2c, 0x55), QColor(0x1e, 0x52, 0x96), QColor(0, 0, 0, 90), 0,
            QColor(0, 0, 0, 40)};
    case ButtonState::Normal: break;
    }
    return {QColor(0, 0, 0, 110),
            QColor(255, 255, 255, 34),
            QColor(255, 255, 255, 8),
            QColor(255, 255, 255, 46),
            0,
            Qt::transparent};
}

void paintTile(QPainter& p, const ButtonDesign& b, ButtonState state)
{
    const QRectF tile(3, 3, 44, 44);
    const QRectF face = tile.adjusted(0.5, 0.5, -0.5, -0.5);
    const TileLook look = tileLook(state);
    p.setRenderHint(QPainter::Antialiasing);
    if (look.glowAlpha > 0)
        PaintKit::glow(p, tile.center() + QPointF(0, 2), 30, withAlpha(accent, look.glowAlpha));
    p.setPen(QPen(look.edge, 1));
    p.setBrush(vertical(tile, look.top, look.bottom));
    p.drawPath(rounded(face, 10));
    // A pressed tile's inner shadow falls from the top; a raised tile's highlight runs all round.
    const bool pressed = state == ButtonState::Pressed;
    p.save();
    p.setClipPath(rounded(face, 10));
    p.setPen(QPen(look.rim, pressed ? 2 : 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(face.adjusted(1, pressed ? 2 : 1, -1, pressed ? 2 : -1), 9));
    p.restore();
    const QRectF box(tile.center().x() - 15, tile.center().y() - 15, 30, 30);
    stampGlyph(p, b.glyph, box, {glyphLight, look.tint, 90, pressShift(state)});
}

void paintTransport(QPainter& p, const ButtonDesign& b, ButtonState state)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0, 0, b.layout.width(), b.layout.height());
    const QPointF centre = area.center();
    const bool round = b.glyph == Glyph::Play || b.glyph == Glyph::Pause;
    if (round) {
        const qreal r = 14.5;
        const QRectF disc(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        if (state == ButtonState::Hover)
            PaintKit::glow(p, centre, 20, withAlpha(accentLight, 120));
        const QColor top = state == ButtonState::Hover     ? QColor(0x7d, 0xc0, 0xff)
                           : state == ButtonState::Pressed ? QColor(0x16, 0x4a, 0x8f)
                                                           : QColor(0x55, 0xa6, 0xf7);
        const QColor bottom = state == ButtonState::Pressed ? QColor(0x2a, 0x6d, 0xc0) : accentDark;
        p.setPen(QPen(QColor(0x06, 0x1c, 0x3a), 1));
        p.setBrush(vertical(disc, top, bottom));
        p.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
        if (state != ButtonState::Pressed) {
            QLinearGradient gloss(disc.topLeft(), QPointF(disc.left(), centre.y()));
            gloss.setColorAt(0, QColor(255, 255, 255, 110));
            gloss.setColorAt(1, QColor(255, 255, 255, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(gloss);
            p.drawEllipse(QRectF(centre.x() - 10, centre.y() - 13, 20, 13));
        }
    } else if (state == ButtonState::Hover) {
        const QRectF lit = area.adjusted(3, 5, -3, -4);
        p.setPen(QPen(QColor(255, 255, 255, 50), 1));
        p.setBrush(vertical(lit, QColor(255, 255, 255, 46), QColor(255, 255, 255, 14)));
        p.drawPath(rounded(lit.adjusted(0.5, 0.5, -0.5, -0.5), 5));
        PaintKit::glow(p, centre, 16, withAlpha(accentLight, 80));
    } else if (state == ButtonState::Pressed) {
        const QRectF well = area.adjusted(3, 5, -3, -4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawPath(rounded(well, 5));
    }
    const QColor ink = round                           ? glyphLit
                       : state == ButtonState::Hover   ? glyphLit
                       : state == ButtonState::Pressed ? QColor(0xa8, 0xb3, 0xc0)
                                                       : glyphLight;
    const qreal side = round ? 24 : 28;
    const QRectF box(centre.x() - side / 2, centre.y() - side / 2, side, side);
    stampGlyph(p, b.glyph, box, {ink, Qt::transparent, 150, pressShift(state)});
}

void paintCaption(QPainter& p, const ButtonDesign& b, ButtonState state)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0, 0, b.layout.width(), b.layout.height());
    const bool close = b.glyph == Glyph::Close;
    if (state != ButtonState::Normal) {
        const bool hover = state == ButtonState::Hover;
        const QColor fill =
            close ? (hover ? halt : haltDark) : (hover ? QColor(255, 255, 255, 46) : QColor(0, 0, 0, 110));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(rounded(area.adjusted(1, 0, -1, 0), 3));
    }
    const QColor ink = state == ButtonState::Normal ? QColor(0xb9, 0xc3, 0xcf) : glyphLit;
    const QRectF box(area.center().x() - 9, area.center().y() - 9, 18, 18);
    stampGlyph(p, b.glyph, box, {ink, Qt::transparent, 120, pressShift(state)});
}

// Menu words sit on one baseline in window coordinates, whatever each button's top.
void paintMenu(QPainter& p, const ButtonDesign& b, ButtonState state)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal top = 31 - b.layout.y();
    const QRectF pill(0.5, top + 0.5, b.layout.width() - 1, 17);
    if (state == ButtonState::Hover) {
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.setBrush(vertical(pill, QColor(255, 255, 255, 60), QColor(255, 255, 255, 22)));
        p.drawPath(rounded(pill, 4));
    } else if (state == ButtonState::Pressed) {
        p.setPen(QPen(QColor(0, 0, 0, 120), 1));
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawPath(rounded(pill, 4));
    }
    const QPointF shift = pressShift(state);
    const QRectF text = pill.translated(shift);
    const QString word = GlyphArt::caption(b.glyph);
    p.setFont(PaintKit::lato(13, QFont::Bold));
    p.setPen(QColor(0, 0, 0, 120));
    p.drawText(text.translated(0, 1), Qt::AlignCenter, word);
    p.setPen(state == ButtonState::Normal ? QColor(0xcf, 0xd8, 0xe3) : glyphLit);
    p.drawText(text, Qt::AlignCenter, word);
}

void paintPill(QPainter& p, const ButtonDesign& b, ButtonState state)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF pill(0.5, 0.5, b.layout.width() - 1, b.layout.height() - 1);
    QColor top(0xfd, 0xfe, 0xff), bottom(0xdc, 0xe3, 0xea), edge(0x84, 0x92, 0xa2);
    if (state == ButtonState::Hover) {
        top = QColor(0xf4, 0xfa, 0xff);
        bottom = QColor(0xc4, 0xdd, 0xfa);
        edge = accent;
    } else if (state == ButtonState::Pressed) {
        top = QColor(0xbf, 0xcb, 0xd8);
        bottom = QColor(0xdc, 0xe3, 0xea);
        edge = QColor(0x5d, 0x6b, 0x7b);
    }
    p.setPen(QPen(edge, 1));
    p.setBrush(vertical(pill, top, bottom));
    p.drawPath(rounded(pill, 4));
    if (state != ButtonState::Pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawLine(QPointF(4, 1.5), QPointF(pill.right() - 4, 1.5));
    }

    const QFont font = PaintKit::lato(11, QFont::Bold);
    const QString word = GlyphArt::caption(b.glyph);
    const qreal iconSide = 13;
    const qreal gap = 2;
    const qreal textWidth = QFontMetricsF(font).horizontalAdvance(word);
    const qreal left = (pill.width() - iconSide - gap - textWidth) / 2 + pill.left();
    const QPointF shift = pressShift(state);
    const QRectF iconBox(left, pill.center().y() - iconSide / 2, iconSide, iconSide);
    stampGlyph(p, b.glyph, iconBox, {text, Qt::transparent, 0, shift});
    p.setFont(font);
    p.setPen(text);
    p.drawText(QRectF(left + iconSide + gap, 0, textWidth + 2, pill.height()).translated(shift),
               Qt::AlignLeft | Qt::AlignVCenter, word);
}

} // namespace

QImage paint(const QImage& background, const ButtonDesign& button, ButtonState state)
{
    const QSize size = SkinLayout::imageSize(button, state);
    const qreal scale = background.devicePixelRatio();
    QImage image = background.copy(PaintKit::deviceRect(QRect(button.layout.topLeft(), size), scale))
                       .convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    QPainter p(&image);
    switch (button.face) {
    case ButtonFace::Tile: paintTile(p, button, state); break;
    case ButtonFace::Transport: paintTransport(p, button, state); break;
    case ButtonFace::Caption: paintCaption(p, button, state); break;
    case ButtonFace::Menu: paintMenu(p, button, state); break;
    case ButtonFace::Pill: paintPill(p, button, state); break;
    }
    return image;
}

} // namespace ButtonArt

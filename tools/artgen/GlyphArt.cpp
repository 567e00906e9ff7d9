#include "GlyphArt.h"

#include "ArtPalette.h"
#include "PaintKit.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace GlyphArt {

namespace {

using PaintKit::closedPath;
using PaintKit::rounded;
using PaintKit::vertical;

const QColor paper{0xfb, 0xfd, 0xff};
const QColor paperShade{0xc9, 0xd5, 0xe2};
const QColor paperEdge{0x3a, 0x48, 0x58};

// Every glyph is drawn on a 32 x 32 grid centred in its box.
void toGrid(QPainter& p, const QRectF& box)
{
    const qreal side = std::min(box.width(), box.height());
    p.translate(box.center());
    p.scale(side / 32.0, side / 32.0);
    p.translate(-16, -16);
}

// A coloured round badge with a darker rim and a gloss highlight.
void badge(QPainter& p, const QPointF& c, qreal r, const QColor& light, const QColor& dark)
{
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.setPen(QPen(PaintKit::mix(dark, Qt::black, 0.35), 1.2));
    p.setBrush(vertical(box, light, dark));
    p.drawEllipse(box);
    QLinearGradient gloss(box.topLeft(), QPointF(box.left(), c.y()));
    gloss.setColorAt(0, QColor(255, 255, 255, 120));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QRectF(c.x() - r * 0.72, c.y() - r * 0.9, r * 1.44, r * 0.95));
}

void sheet(QPainter& p, const QRectF& r, qreal radius)
{
    p.setPen(QPen(paperEdge, 1.1));
    p.setBrush(vertical(r, paper, paperShade));
    p.drawPath(rounded(r, radius));
}

void plus(QPainter& p, const QPointF& c, qreal arm, qreal width)
{
    p.setPen(QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void addFiles(QPainter& p)
{
    const QRectF film(2, 5, 24, 20);
    QPainterPath body = rounded(film, 3);
    body = body.subtracted(rounded(QRectF(5, 10.5, 18, 9), 1.5));
    for (int i = 0; i < 5; ++i) {
        const qreal x = 4.2 + i * 4.2;
        body = body.subtracted(rounded(QRectF(x, 6.6, 2.4, 2.4), 0.6));
        body = body.subtracted(rounded(QRectF(x, 21, 2.4, 2.4), 0.6));
    }
    p.setPen(QPen(paperEdge, 1.1));
    p.setBrush(vertical(film, paper, paperShade));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(QRectF(5, 10.5, 18, 9), QColor(0x5c, 0xa9, 0xf2), ArtPalette::accentDark));
    p.drawRect(QRectF(5.5, 11, 17, 8));
    badge(p, QPointF(24, 23.5), 7.2, QColor(0x6b, 0xdb, 0x8a), ArtPalette::addDark);
    plus(p, QPointF(24, 23.5), 3.6, 2.4);
}

void stopConvert(QPainter& p)
{
    badge(p, QPointF(16, 16), 13, QColor(0xff, 0x7d, 0x70), ArtPalette::haltDark);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawPath(rounded(QRectF(11, 11.8, 10, 10), 1.8));
    p.setBrush(Qt::white);
    p.drawPath(rounded(QRectF(11, 11, 10, 10), 1.8));
}

// One half of the conversion cycle: an arc with its arrowhead.
void cycleArrow(QPainter& p, qreal startDeg, qreal spanDeg, qreal radius)
{
    const QRectF ring(16 - radius, 16 - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(ring, startDeg);
    arc.arcTo(ring, startDeg, spanDeg);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    const QPointF tip(16 + radius * std::cos(end), 16 - radius * std::sin(end));
    const qreal dir = spanDeg < 0 ? -1.0 : 1.0;
    const QPointF tangent(-std::sin(end) * dir, -std::cos(end) * dir);
    const QPointF normal(std::cos(end), -std::sin(end));
    QPolygonF head;
    head << tip + tangent * 4.2 << tip + normal * 3.6 << tip - normal * 3.6;
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(head);
}

void convert(QPainter& p)
{
    badge(p, QPointF(16, 16), 13, QColor(0xff, 0xc8, 0x5a), ArtPalette::goDark);
    cycleArrow(p, 160, -120, 7);
    cycleArrow(p, 340, -120, 7);
}

void listMenu(QPainter& p)
{
    sheet(p, QRectF(4, 3, 21, 25), 3);
    for (int i = 0; i < 3; ++i) {
        const qreal y = 9 + i * 6;
        p.setPen(Qt::NoPen);
        p.setBrush(ArtPalette::accent);
        p.drawEllipse(QPointF(9, y), 1.7, 1.7);
        p.setPen(QPen(QColor(0x56, 0x65, 0x76), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, y), QPointF(21, y));
    }
    badge(p, QPointF(24.5, 24.5), 6.5, QColor(0x6a, 0xb4, 0xff), ArtPalette::accentDark);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(21.5, 23.2), QPointF(24.5, 26.2), QPointF(27.5, 23.2)}));
}

void homePage(QPainter& p)
{
    QPainterPath body;
    body.addRect(QRectF(7.5, 14, 17, 14));
    p.setPen(QPen(paperEdge, 1.1));
    p.setBrush(vertical(QRectF(7.5, 14, 17, 14), paper, paperShade));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(QRectF(13.5, 18.5, 5, 9.5), QColor(0x5c, 0xa9, 0xf2), ArtPalette::accentDark));
    p.drawRoundedRect(QRectF(13.5, 18.5, 5, 9.5), 1, 1);
    const QPainterPath roof =
        closedPath({{2.5, 16}, {16, 3.5}, {29.5, 16}, {26, 17.5}, {16, 8.5}, {6, 17.5}});
    p.setPen(QPen(PaintKit::mix(ArtPalette::haltDark, Qt::black, 0.3), 1.0, Qt::SolidLine, Qt::SquareCap,
                  Qt::MiterJoin));
    p.setBrush(vertical(QRectF(2.5, 3.5, 27, 14), QColor(0xff, 0x8a, 0x6e), ArtPalette::haltDark));
    p.drawPath(roof);
}

void folder(QPainter& p, bool open)
{
    const QColor front(0xff, 0xcf, 0x5a);
    const QColor frontDark(0xe3, 0x9a, 0x1c);
    const QColor edge(0x9a, 0x62, 0x08);
    const QPainterPath back = closedPath({{3, 8}, {12, 8}, {14.5, 10.5}, {28, 10.5}, {28, 26}, {3, 26}});
    p.setPen(QPen(edge, 1.4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(frontDark);
    p.drawPath(back);
    const QPainterPath flap = open ? closedPath({{7, 14}, {31, 14}, {27, 26}, {3, 26}})
                                   : closedPath({{3, 13}, {28, 13}, {28, 26}, {3, 26}});
    p.setBrush(vertical(QRectF(3, 13, 28, 13), front, frontDark));
    p.drawPath(flap);
}

void skipBar(QPainter& p, bool forward)
{
    p.save();
    if (forward) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.drawRoundedRect(QRectF(7, 9, 3.2, 14), 1, 1);
    p.drawPath(closedPath({{24.5, 9}, {11.5, 16}, {24.5, 23}}));
    p.restore();
}

void jump(QPainter& p, bool forward, const QColor& ink)
{
    p.save();
    const QRectF ring(5, 5.5, 22, 22);
    QPainterPath arc;
    // Open at the top, with the arrowhead pointing the way of the jump.
    const qreal start = forward ? 62 : 118;
    const qreal span = forward ? 296 : -296;
    arc.arcMoveTo(ring, start);
    arc.arcTo(ring, start, span);
    p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);
    const qreal a = qDegreesToRadians(start);
    const QPointF tip(ring.center().x() + 11 * std::cos(a), ring.center().y() - 11 * std::sin(a));
    const qreal dir = forward ? 1 : -1;
    QPolygonF head;
    head << tip + QPointF(5 * dir, 0) << tip + QPointF(-1 * dir, -4) << tip + QPointF(-1 * dir, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(head.translated(-1.5 * dir, 0));
    p.setFont(PaintKit::lato(11, QFont::Black));
    p.setPen(ink);
    p.drawText(QRectF(5, 11, 22, 12), Qt::AlignCenter, QStringLiteral("10"));
    p.restore();
}

void playTriangle(QPainter& p)
{
    p.drawPath(closedPath({{12.5, 8.5}, {24.5, 16}, {12.5, 23.5}}));
}

void pauseBars(QPainter& p)
{
    p.drawRoundedRect(QRectF(10.5, 9, 4, 14), 1, 1);
    p.drawRoundedRect(QRectF(17.5, 9, 4, 14), 1, 1);
}

void captionGlyph(QPainter& p, Glyph glyph, const QColor& ink)
{
    p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Minimize: p.drawLine(QPointF(10, 21), QPointF(22, 21)); break;
    case Glyph::Close:
        p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
        p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
        break;
    default:
        p.setPen(ink);
        p.setFont(PaintKit::lato(22, QFont::Black));
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
}

} // namespace

QString caption(Glyph glyph)
{
    switch (glyph) {
    case Glyph::MenuFile: return QStringLiteral("File");
    case Glyph::MenuEdit: return QStringLiteral("Edit");
    case Glyph::MenuHelp: return QStringLiteral("Help");
    case Glyph::SelectFolder: return QStringLiteral("Browse");
    case Glyph::Explore: return QStringLiteral("Open");
    default: return QString();
    }
}

void paintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    toGrid(p, box);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (glyph) {
    case Glyph::AddFiles: addFiles(p); break;
    case Glyph::StopConvert: stopConvert(p); break;
    case Glyph::Convert: convert(p); break;
    case Glyph::ListMenu: listMenu(p); break;
    case Glyph::HomePage: homePage(p); break;
    case Glyph::SelectFolder: folder(p, false); break;
    case Glyph::Explore: folder(p, true); break;
    case Glyph::PrevClip: skipBar(p, false); break;
    case Glyph::NextClip: skipBar(p, true); break;
    case Glyph::Back10: jump(p, false, ink); break;
    case Glyph::Forward10: jump(p, true, ink); break;
    case Glyph::Play: playTriangle(p); break;
    case Glyph::Pause: pauseBars(p); break;
    case Glyph::StopPreview: p.drawRoundedRect(QRectF(10, 10, 12, 12), 1.5, 1.5); break;
    case Glyph::Help:
    case Glyph::Minimize:
    case Glyph::Close: captionGlyph(p, glyph, ink); break;
    case Glyph::MenuFile:
    case Glyph::MenuEdit:
    case Glyph::MenuHelp: break; // words only, set by the button with caption()
    }
    p.restore();
}

} // namespace GlyphArt

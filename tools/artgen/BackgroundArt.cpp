#include "BackgroundArt.h"

#include "ArtPalette.h"
#include "LogoArt.h"
#include "PaintKit.h"
#include "SkinLayout.h"

#include "res/resource.h"

#include <QPainter>

namespace BackgroundArt {

namespace {

using namespace ArtPalette;
using PaintKit::rounded;
using PaintKit::vertical;
using PaintKit::withAlpha;

constexpr qreal cornerRadius = 12;

// Left column (job list, toolbar, progress, output) and right column (player, settings).
const QRectF listCard(15, 59, 463, 266);
const QRectF toolbarWell(15, 329, 463, 52);
const QRectF progressWell(18, 389, 457, 16);
const QRectF outputCard(15, 416, 463, 97);
const QRectF playerCard(492, 56, 241, 226);
const QRectF settingsCard(492, 328, 241, 185);
constexpr int footerTop = 524;

QRectF windowRect()
{
    return QRectF(QPointF(0, 0), SkinLayout::windowSize);
}

// A faint, repeatable grain so that the large gradients do not band.
void addGrain(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const unsigned h =
                (static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u) ^ 0x5bd1e995u;
            const int d = static_cast<int>(((h ^ (h >> 13)) * 1274126177u) >> 29) - 3; // -3..4
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + d / 2, 255), qBound(0, qGreen(c) + d / 2, 255),
                           qBound(0, qBlue(c) + d / 2, 255));
        }
    }
}

void paintChrome(QPainter& p, const QRectF& all)
{
    p.fillRect(all, vertical(all, chromeTop, chromeBottom));
    const QRectF title(0, 0, all.width(), SkinLayout::titleHeight);
    p.fillRect(title, vertical(title, titleTop, titleBottom));
    // A soft sheen across the top of the title.
    QLinearGradient sheen(0, 0, 0, 26);
    sheen.setColorAt(0, QColor(255, 255, 255, 26));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, all.width(), 26), sheen);
    p.fillRect(QRectF(0, SkinLayout::titleHeight, all.width(), 1), chromeShadow);
    p.fillRect(QRectF(0, SkinLayout::titleHeight + 1, all.width(), 1), QColor(255, 255, 255, 22));

    const QRectF footer(0, footerTop, all.width(), all.height() - footerTop);
    p.fillRect(footer, vertical(footer, titleBottom, titleTop));
    p.fillRect(QRectF(0, footerTop - 1, all.width(), 1), chromeShadow);
    p.fillRect(QRectF(0, footerTop, all.width(), 1), QColor(255, 255, 255, 18));
    // A thin blue light in the middle of the footer's edge.
    QLinearGradient light(all.width() / 2 - 160, 0, all.width() / 2 + 160, 0);
    light.setColorAt(0, withAlpha(accent, 0));
    light.setColorAt(0.5, withAlpha(accentLight, 200));
    light.setColorAt(1, withAlpha(accent, 0));
    p.fillRect(QRectF(all.width() / 2 - 160, footerTop, 320, 1), light);
}

// A shallow capsule that groups the help, minimise and close buttons.
void paintWindowButtonTray(QPainter& p)
{
    const QRectF tray(657, 3, 66, 19);
    p.setPen(QPen(QColor(255, 255, 255, 22), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(tray.adjusted(0, 0.5, 0, 1), 6));
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(vertical(tray, QColor(0, 0, 0, 70), QColor(0, 0, 0, 30)));
    p.drawPath(rounded(tray.adjusted(0.5, 0.5, -0.5, -0.5), 6));
}

void paintTitle(QPainter& p)
{
    paintWindowButtonTray(p);
    LogoArt::paintLogo(p, QRectF(12, 4, 21, 21));
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont strong = PaintKit::lato(15, QFont::Black);
    const QFont light = PaintKit::lato(15, QFont::Normal);
    const QString name = QStringLiteral("Virav Velmora");
    const QString rest = QStringLiteral(" Video Converter");
    const QPointF base(40, 20);
    p.setFont(strong);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(base + QPointF(0, 1), name);
    p.setPen(glyphLit);
    p.drawText(base, name);
    const qreal x = base.x() + QFontMetricsF(strong).horizontalAdvance(name);
    p.setFont(light);
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(QPointF(x, base.y() + 1), rest);
    p.setPen(accentLight);
    p.drawText(QPointF(x, base.y()), rest);
}

// One-pixel dark ring around a control that covers rect, with a light catch outside.
void controlFrame(QPainter& p, const QRect& rect, const QColor& ring)
{
    const QRectF r = QRectF(rect).adjusted(-0.5, -0.5, 0.5, 0.5);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(ring, 1));
    p.drawRect(r);
}

void paintListArea(QPainter& p)
{
    PaintKit::raisedPanel(p, listCard, 7, cardTop, cardBottom, outline);
    // The list and the picture panel share a corner but differ by a pixel in each direction.
    const QRect lists = SkinLayout::controlRect(IDC_JOBLIST).united(SkinLayout::controlRect(IDC_PICTURE));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(lists, Qt::white);
    controlFrame(p, lists, inset);
    p.setRenderHint(QPainter::Antialiasing, true);
}

void paintToolbar(QPainter& p)
{
    PaintKit::sunkenWell(p, toolbarWell, 9, withAlpha(chromeShadow, 90), withAlpha(outline, 200));
    PaintKit::sunkenWell(p, progressWell, 4, QColor(0x16, 0x1b, 0x21), outline);
}

void paintOutputArea(QPainter& p)
{
    PaintKit::raisedPanel(p, outputCard, 7, cardTop, cardBottom, outline);
    const QRect box = SkinLayout::controlRect(IDC_OUTPUTFOLDER);
    const QRectF field = QRectF(box).adjusted(-3, -3, 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(field.adjusted(-0.5, 0.5, 0.5, 1.5), 3));
    p.setPen(QPen(inset, 1));
    p.setBrush(Qt::white);
    p.drawPath(rounded(field.adjusted(0.5, 0.5, -0.5, -0.5), 3));
    p.setPen(QPen(QColor(0, 0, 0, 30), 1));
    p.drawLine(QPointF(field.left() + 2, field.top() + 1.5), QPointF(field.right() - 2, field.top() + 1.5));
}

void paintPlayer(QPainter& p)
{
    PaintKit::raisedPanel(p, playerCard, 8, bezelTop, bezelBottom, outline);
    const QRectF screen = QRectF(SkinLayout::controlRect(IDC_ENGINE)).adjusted(-1, -1, 1, 1);
    p.setPen(QPen(QColor(255, 255, 255, 28), 1));
    p.setBrush(Qt::black);
    p.drawRect(screen.adjusted(-0.5, -0.5, 0.5, 0.5));

    const QRect transport =
        SkinLayout::controlRect(IDC_PREVCLIP).united(SkinLayout::controlRect(IDC_NEXTCLIP));
    const QRectF strip = QRectF(transport).adjusted(-2, -1, 2, 2);
    p.setPen(QPen(outline, 1));
    p.setBrush(vertical(strip, stripTop, stripBottom));
    p.drawPath(rounded(strip.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(strip.left() + 5, strip.top() + 1.5), QPointF(strip.right() - 5, strip.top() + 1.5));
    // Grooves between the transport buttons.
    for (int id : {IDC_BACK10, IDC_PLAY, IDC_STOPPREVIEW, IDC_FORWARD10, IDC_NEXTCLIP}) {
        const int x = SkinLayout::controlRect(id).left();
        p.setPen(QPen(QColor(0, 0, 0, 110), 1));
        p.drawLine(QPointF(x - 0.5, strip.top() + 8), QPointF(x - 0.5, strip.bottom() - 8));
        p.setPen(QPen(QColor(255, 255, 255, 22), 1));
        p.drawLine(QPointF(x + 0.5, strip.top() + 8), QPointF(x + 0.5, strip.bottom() - 8));
    }
}

// A hairline rule to the right of a section heading the program draws.
void headingRule(QPainter& p, const QRect& heading)
{
    const qreal y = heading.center().y() + 1.5;
    QLinearGradient g(heading.left() + 62, 0, settingsCard.right() - 12, 0);
    g.setColorAt(0, withAlpha(cardEdge, 255));
    g.setColorAt(1, withAlpha(cardEdge, 0));
    p.setPen(QPen(QBrush(g), 1));
    p.drawLine(QPointF(heading.left() + 62, y), QPointF(settingsCard.right() - 12, y));
    p.setPen(QPen(QColor(255, 255, 255, 200), 1));
    p.drawLine(QPointF(heading.left() + 62, y + 1), QPointF(settingsCard.right() - 12, y + 1));
}

void paintSettings(QPainter& p)
{
    PaintKit::raisedPanel(p, settingsCard, 7, cardTop, cardBottom, outline);
    for (const LabelSpot& heading : SkinLayout::headings())
        headingRule(p, heading.rect);
}

void paintRim(QPainter& p, const QPainterPath& outlinePath)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 2));
    p.drawPath(outlinePath);
    p.setPen(QPen(QColor(255, 255, 255, 30), 1));
    p.drawPath(rounded(windowRect().adjusted(1.5, 1.5, -1.5, -1.5), cornerRadius - 1.5));
}

// The visible shape of the window.
QPainterPath windowOutline()
{
    return rounded(windowRect(), cornerRadius);
}

// Every pixel outside shape becomes exactly the key colour, never a blend. Inside means
// the centre of a window pixel lies inside; each row's run of those is scaled as Qt scales
// the window's mask, so that the cut and the mask agree at every scale.
void cutOutline(QImage& image, const QPainterPath& shape)
{
    QImage logical(SkinLayout::windowSize, QImage::Format_ARGB32_Premultiplied);
    logical.fill(Qt::transparent);
    QPainter m(&logical);
    m.setRenderHint(QPainter::Antialiasing, false);
    m.fillPath(shape, Qt::white);
    m.end();
    QImage inside(image.size(), QImage::Format_ARGB32_Premultiplied);
    inside.fill(Qt::transparent);
    QPainter d(&inside);
    for (int y = 0; y < logical.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(logical.constScanLine(y));
        for (int x = 0; x < logical.width(); ++x) {
            if (qAlpha(in[x]) == 0)
                continue;
            const int start = x;
            while (x + 1 < logical.width() && qAlpha(in[x + 1]) != 0)
                ++x;
            const QRect run(start, y, x + 1 - start, 1);
            d.fillRect(PaintKit::deviceRect(run, image.devicePixelRatio()), Qt::white);
        }
    }
    d.end();
    const QRgb key = ArtPalette::regionKey.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(inside.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(in[x]) == 0)
                line[x] = key;
        }
    }
}

} // namespace

QImage paint(qreal scale)
{
    QImage image = PaintKit::canvas(SkinLayout::windowSize, scale, QImage::Format_RGB32);
    const QPainterPath outlinePath = windowOutline();
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paintChrome(p, windowRect());
    }
    addGrain(image);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        paintTitle(p);
        paintListArea(p);
        paintToolbar(p);
        paintOutputArea(p);
        paintPlayer(p);
        paintSettings(p);
        paintRim(p, outlinePath);
    }
    cutOutline(image, outlinePath);
    return image;
}

} // namespace BackgroundArt

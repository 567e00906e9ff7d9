#include "PanelArt.h"

#include "ArtPalette.h"
#include "GlyphArt.h"
#include "LogoArt.h"
#include "PaintKit.h"
#include "SkinLayout.h"

#include "res/resource.h"

#include <QPainter>

#include <vector>

namespace PanelArt {

namespace {

using namespace ArtPalette;
using PaintKit::vertical;

constexpr int headerHeight = 20;

struct Run
{
    QString text;
    bool bold;
};

// Header row as the job list shows it: check box column, then the columns' titles.
void paintHeader(QPainter& p, int width)
{
    const QRectF header(0, 0, width, headerHeight);
    p.fillRect(header, vertical(header, QColor(0xff, 0xff, 0xff), QColor(0xe6, 0xea, 0xef)));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0xb4, 0xbd, 0xc7));
    p.drawLine(0, headerHeight - 1, width, headerHeight - 1);
    struct Column
    {
        int left;
        int width;
        const char* title;
    };
    const Column columns[] = {{0, 120, "Title"}, {120, 79, "Start Time(Sec)"}, {199, 75, "End Time(Sec)"}};
    p.setFont(PaintKit::sans(10));
    for (const Column& c : columns) {
        p.setPen(QColor(0xc9, 0xd0, 0xd8));
        p.drawLine(c.left + c.width - 1, 3, c.left + c.width - 1, headerHeight - 4);
        const int textLeft = c.left == 0 ? 23 : c.left + 4;
        p.setPen(text);
        p.drawText(QRect(textLeft, 0, c.width - (textLeft - c.left), headerHeight - 1),
                   Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(c.title));
    }
    p.setPen(inset);
    p.setBrush(Qt::white);
    p.drawRect(QRect(5, 4, 12, 11));
    p.setRenderHint(QPainter::Antialiasing, true);
}

void paintBody(QPainter& p, const QRectF& body)
{
    p.fillRect(body, vertical(body, QColor(0xff, 0xff, 0xff), QColor(0xe9, 0xf0, 0xf8)));
}

void paintStepBadge(QPainter& p, const QPointF& centre, int number)
{
    const QRectF disc(centre.x() - 10, centre.y() - 10, 20, 20);
    p.setPen(QPen(accentDark, 1));
    p.setBrush(vertical(disc, QColor(0x6c, 0xb6, 0xff), accentDark));
    p.drawEllipse(disc.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(Qt::white);
    p.setFont(PaintKit::lato(12, QFont::Black));
    p.drawText(disc.translated(0, -0.5), Qt::AlignCenter, QString::number(number));
}

qreal paintRuns(QPainter& p, QPointF at, const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        const QFont font = PaintKit::lato(14, run.bold ? QFont::Black : QFont::Medium);
        p.setFont(font);
        p.setPen(run.bold ? heading : QColor(0x3d, 0x49, 0x57));
        p.drawText(at, run.text);
        at.rx() += QFontMetricsF(font).horizontalAdvance(run.text);
    }
    return at.x();
}

void paintSteps(QPainter& p, const QPointF& origin)
{
    p.setFont(PaintKit::lato(24, QFont::Black));
    p.setPen(heading);
    p.drawText(origin, QStringLiteral("Getting Started"));
    QLinearGradient rule(origin.x(), 0, origin.x() + 260, 0);
    rule.setColorAt(0, accent);
    rule.setColorAt(1, PaintKit::withAlpha(accent, 0));
    p.fillRect(QRectF(origin.x(), origin.y() + 10, 260, 2), rule);

    struct Step
    {
        std::vector<Run> runs;
        bool showsButton;
        Glyph button;
    };
    const std::vector<Step> steps{
        {{{"Press ", false}, {"Add", true}, {" to pick a video file", false}}, true, Glyph::AddFiles},
        {{{"Choose a ", false}, {"profile", true}, {" for the output", false}}, false, Glyph::AddFiles},
        {{{"Press ", false}, {"Convert", true}, {" to start", false}}, true, Glyph::Convert},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        const qreal y = origin.y() + 46 + static_cast<qreal>(i) * 36;
        paintStepBadge(p, QPointF(origin.x() + 10, y - 5), static_cast<int>(i) + 1);
        const qreal end = paintRuns(p, QPointF(origin.x() + 30, y), steps[i].runs);
        if (steps[i].showsButton)
            GlyphArt::paintGlyph(p, steps[i].button, QRectF(end + 8, y - 16, 22, 22), glyphLight);
    }
}

} // namespace

QImage paint(qreal scale)
{
    const QSize size = SkinLayout::controlRect(IDC_PICTURE).size();
    QImage image = PaintKit::canvas(size, scale, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintBody(p, QRectF(0, headerHeight, size.width(), size.height() - headerHeight));
    paintHeader(p, size.width());
    LogoArt::paintLogo(p, QRectF(30, 92, 84, 84));
    paintSteps(p, QPointF(138, 78));
    return image;
}

} // namespace PanelArt

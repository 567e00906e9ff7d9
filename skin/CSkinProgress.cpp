#include "CSkinProgress.h"

#include "GdiDraw.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {
constexpr int kShadeStep = 51;

template <typename ChannelRule> COLORREF MapChannels(COLORREF color, ChannelRule rule)
{
    return MakeRgb(rule(RedOf(color)), rule(GreenOf(color)), rule(BlueOf(color)));
}
} // namespace

COLORREF BrightenRgb(COLORREF color, int step)
{
    return MapChannels(color, [step](int c) { return c + step <= 255 ? c + step : c; });
}

COLORREF DimRgb(COLORREF color, int step)
{
    return MapChannels(color, [step](int c) { return c >= step ? c - step : c; });
}

COLORREF MidShadowRgb(COLORREF shadow, COLORREF darkShadow)
{
    auto mid = [](int h, int d) { return (h + d) / 2; };
    return MakeRgb(mid(RedOf(shadow), RedOf(darkShadow)), mid(GreenOf(shadow), GreenOf(darkShadow)),
                   mid(BlueOf(shadow), BlueOf(darkShadow)));
}

int ProgressFillWidth(int lower, int upper, int position, int clientWidth)
{
    if (upper <= lower || clientWidth <= 0)
        return 0;
    // In floating point: the differences of extreme ints overflow an int.
    const double done = static_cast<double>(std::clamp(position, lower, upper)) - lower;
    const double span = static_cast<double>(upper) - lower;
    return static_cast<int>(done * clientWidth / span);
}

CSkinProgress::CSkinProgress(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setValue(0);
    m_crBase = FromQColor(palette().color(QPalette::Highlight));
    ComputeShades();
    CreateShadePens();
}

CSkinProgress::~CSkinProgress() = default;

void CSkinProgress::SetBarColor(COLORREF color)
{
    m_crBase = color;
    ComputeShades();
    CreateShadePens();
    repaint();
}

void CSkinProgress::ComputeShades()
{
    m_crLight1 = BrightenRgb(m_crBase, kShadeStep);
    m_crLight2 = BrightenRgb(m_crLight1, kShadeStep);
    m_crLight3 = BrightenRgb(m_crLight2, kShadeStep);
    m_crDark1 = DimRgb(m_crBase, kShadeStep);
    m_crDark2 = DimRgb(m_crDark1, kShadeStep);
    m_crDarkShadow = FromQColor(palette().color(QPalette::Shadow));
    m_crShadow = FromQColor(palette().color(QPalette::Dark));
    m_crMidShadow = MidShadowRgb(m_crShadow, m_crDarkShadow);
}

void CSkinProgress::CreateShadePens()
{
    auto pen = [](COLORREF color) { return QPen(ToQColor(color), 1, Qt::SolidLine); };
    m_penLight1 = pen(m_crLight1);
    m_penLight2 = pen(m_crLight2);
    m_penBase = pen(m_crBase);
    m_penDark1 = pen(m_crDark1);
    m_penDark2 = pen(m_crDark2);
    m_penMidShadow = pen(m_crMidShadow);
    m_penShadow = pen(m_crShadow);
}

// Painted off-screen and copied once, so the frequent repaints of a run do not flicker.
void CSkinProgress::paintEvent(QPaintEvent*)
{
    const QRect rc = rect();
    if (rc.isEmpty())
        return;
    QPixmap buffer(rc.size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    {
        QPainter dc(&buffer);
        dc.fillRect(rc, palette().color(QPalette::Button));
        const int fillWidth = ProgressFillWidth(minimum(), maximum(), value(), rc.width());
        const QRect bar(rc.left(), rc.top(), fillWidth, rc.height());
        dc.fillRect(bar, ToQColor(m_crLight3));
        DrawBarEdges(dc, bar.left(), bar.top(), bar.left() + fillWidth, bar.top() + bar.height());
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

// Rows of lighter shades above the middle, darker ones below, and a two-column
// drop shadow just right of the fill; the pixel rules are those of LineTo.
void CSkinProgress::DrawBarEdges(QPainter& dc, int L, int T, int R, int B) const
{
    if (R == L)
        return;
    const QPen previous = dc.pen();
    auto pixel = [&dc](int x, int y, COLORREF color) { GdiSetPixel(dc, x, y, ToQColor(color)); };

    dc.setPen(m_penLight1);
    GdiLine(dc, {L + 2, B - 4}, {R - 2, B - 4});
    GdiLine(dc, {L + 2, T + 2}, {R - 2, T + 2});
    pixel(L + 1, B - 3, m_crLight1);
    pixel(L + 1, T + 1, m_crLight1);

    dc.setPen(m_penLight2);
    GdiPolyline(dc, {{L + 2, B - 5}, {R - 3, B - 5}, {R - 3, T + 3}, {L + 1, T + 3}});
    pixel(L + 1, B - 4, m_crLight2);
    pixel(L + 1, T + 2, m_crLight2);

    dc.setPen(m_penBase);
    GdiPolyline(dc, {{L, B - 1}, {L, T}, {L + 2, T}});
    pixel(L + 1, B - 2, m_crBase);
    GdiLine(dc, {L + 2, B - 3}, {R - 2, B - 3});
    GdiLine(dc, {L + 2, T + 1}, {R - 1, T + 1});

    dc.setPen(m_penDark1);
    GdiPolyline(dc, {{L + 2, B - 2}, {R - 2, B - 2}, {R - 2, T + 1}});
    GdiLine(dc, {L + 2, T}, {R, T});
    pixel(L + 1, B - 1, m_crDark1);

    dc.setPen(m_penDark2);
    GdiPolyline(dc, {{L + 2, B - 1}, {R - 1, B - 1}, {R - 1, T}});

    dc.setPen(m_penMidShadow);
    GdiLine(dc, {R, T}, {R, B});

    dc.setPen(m_penShadow);
    GdiLine(dc, {R + 1, T}, {R + 1, B});

    dc.setPen(previous);
}

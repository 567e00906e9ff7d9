#include "CSkinProgress.h"

COLORREF BrightenRgb(COLORREF color, int step)
{
    auto channel = [step](int c) { return c + step <= 255 ? c + step : c; };
    return MakeRgb(channel(RedOf(color)), channel(GreenOf(color)), channel(BlueOf(color)));
}

COLORREF DimRgb(COLORREF color, int step)
{
    auto channel = [step](int c) { return c >= step ? c - step : c; };
    return MakeRgb(channel(RedOf(color)), channel(GreenOf(color)), channel(BlueOf(color)));
}

CSkinProgress::CSkinProgress(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(false);
    m_crBase = FromQColor(palette().color(QPalette::Highlight));
}

CSkinProgress::~CSkinProgress() = default;

void CSkinProgress::SetBarColor(COLORREF color)
{
    m_crBase = color;
    repaint();
}

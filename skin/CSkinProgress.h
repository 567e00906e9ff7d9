// The conversion progress bar, drawn as a shaded tube in a base colour.
#pragma once

#include "res/ColorRef.h"

#include <QPen>
#include <QProgressBar>

// Each channel raised by step, or left alone where that would pass 255.
COLORREF BrightenRgb(COLORREF color, int step);
// Each channel lowered by step, or left alone where that would go below 0.
COLORREF DimRgb(COLORREF color, int step);
// Per channel the floor of the mean of the two colours.
COLORREF MidShadowRgb(COLORREF shadow, COLORREF darkShadow);

// Width of the filled part of a bar clientWidth pixels wide, truncated; the
// position is held to the range, and an empty range fills nothing.
int ProgressFillWidth(int lower, int upper, int position, int clientWidth);

class CSkinProgress : public QProgressBar
{
    Q_OBJECT
public:
    explicit CSkinProgress(QWidget* parent = nullptr);
    ~CSkinProgress() override;

    // New base colour; the shades follow and the bar repaints before returning.
    void SetBarColor(COLORREF color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ComputeShades();
    void CreateShadePens();
    void DrawBarEdges(QPainter& dc, int left, int top, int right, int bottom) const;

    QPen m_penBase;
    QPen m_penLight1;
    QPen m_penLight2;
    QPen m_penDark1;
    QPen m_penDark2;
    QPen m_penMidShadow;
    QPen m_penShadow;
    COLORREF m_crBase = 0;
    COLORREF m_crLight1 = 0;
    COLORREF m_crLight2 = 0;
    COLORREF m_crLight3 = 0;
    COLORREF m_crDark1 = 0;
    COLORREF m_crDark2 = 0;
    COLORREF m_crDarkShadow = 0;
    COLORREF m_crMidShadow = 0;
    COLORREF m_crShadow = 0;
};

// The conversion progress bar, drawn as a shaded tube in a base colour.
#pragma once

#include "ColorRef.h"

#include <QProgressBar>

COLORREF BrightenRgb(COLORREF color, int step);
COLORREF DimRgb(COLORREF color, int step);

class CSkinProgress : public QProgressBar
{
    Q_OBJECT
public:
    explicit CSkinProgress(QWidget* parent = nullptr);
    ~CSkinProgress() override;

    void SetBarColor(COLORREF color);
    COLORREF BarColor() const { return m_crBase; }

private:
    COLORREF m_crBase = 0;
};

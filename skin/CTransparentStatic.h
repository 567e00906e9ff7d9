// A label that draws its text straight onto the parent's skin, in the parent's font.
#pragma once

#include "res/ColorRef.h"

#include <QLabel>

class CTransparentStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);
    ~CTransparentStatic() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_crText = MakeRgb(0, 0, 0);
};

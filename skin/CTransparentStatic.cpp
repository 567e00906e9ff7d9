#include "CTransparentStatic.h"

#include <QPainter>

CTransparentStatic::CTransparentStatic(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
}

CTransparentStatic::~CTransparentStatic() = default;

// Centred from the top, breaking only at line breaks in the text.
void CTransparentStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(parentWidget() ? parentWidget()->font() : font());
    painter.setPen(ToQColor(m_crText));
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, text());
}

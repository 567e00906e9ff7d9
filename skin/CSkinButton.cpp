#include "CSkinButton.h"

#include "res/SkinBitmaps.h"

#include <QPainter>

CSkinButton::CSkinButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
}

CSkinButton::~CSkinButton() = default;

void CSkinButton::SetStateImages(unsigned normalId, unsigned pressedId, unsigned hoverId)
{
    m_bmpNormal = LoadSkinBitmap(static_cast<int>(normalId));
    m_bmpPressed = LoadSkinBitmap(static_cast<int>(pressedId));
    m_bmpHover = LoadSkinBitmap(static_cast<int>(hoverId));
}

void CSkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, isDown() ? m_bmpPressed : m_bmpNormal);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

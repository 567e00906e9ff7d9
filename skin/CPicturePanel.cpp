#include "CPicturePanel.h"

#include "res/SkinBitmaps.h"

#include <QPainter>

CPicturePanel::CPicturePanel(QWidget* parent) : QWidget(parent) {}

CPicturePanel::~CPicturePanel() = default;

void CPicturePanel::SetBitmap(const QPixmap& bitmap)
{
    if (bitmap.cacheKey() == m_bitmap.cacheKey())
        return;
    m_bitmap = bitmap;
    ResetSourceRect();
}

bool CPicturePanel::LoadBitmapResource(int id)
{
    const QPixmap bitmap = LoadSkinBitmap(id);
    SetBitmap(bitmap);
    return !bitmap.isNull();
}

void CPicturePanel::ResetSourceRect()
{
    m_rcSource = m_bitmap.isNull() ? QRect() : m_bitmap.rect();
    RecalcLayout(true);
}

void CPicturePanel::RecalcLayout(bool repaint)
{
    m_rcDest = (rect().isEmpty() || m_rcSource.isEmpty()) ? QRect() : rect();
    if (repaint)
        update();
}

void CPicturePanel::paintEvent(QPaintEvent*)
{
    if (m_rcDest.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(m_rcDest, m_bitmap, m_rcSource);
}

void CPicturePanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RecalcLayout(true);
}

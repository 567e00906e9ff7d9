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
    update();
}

bool CPicturePanel::LoadBitmapResource(int id)
{
    const QPixmap bitmap = LoadSkinBitmap(id);
    SetBitmap(bitmap);
    return !bitmap.isNull();
}

// Qt repaints the whole panel on a resize, so the picture always fills its current size.
void CPicturePanel::paintEvent(QPaintEvent*)
{
    if (m_bitmap.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_bitmap);
}

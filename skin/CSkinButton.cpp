#include "CSkinButton.h"

#include "res/SkinBitmaps.h"

#include <QEvent>
#include <QPainter>

CSkinButton::CSkinButton(QWidget* parent) : QPushButton(parent)
{
    setAutoDefault(false);
    setMouseTracking(true);
    // A press shows the pressed image alone; the hover image returns with the next move.
    connect(this, &QAbstractButton::pressed, this, [this] { m_bHover = false; });
}

CSkinButton::~CSkinButton() = default;

void CSkinButton::SetStateImages(unsigned normalId, unsigned pressedId, unsigned hoverId)
{
    SetStateImages(LoadSkinBitmap(static_cast<int>(normalId)), LoadSkinBitmap(static_cast<int>(pressedId)),
                   LoadSkinBitmap(static_cast<int>(hoverId)));
}

void CSkinButton::SetStateImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover)
{
    m_bmpNormal = normal;
    m_bmpPressed = pressed;
    m_bmpHover = hover;
}

// Images are drawn unscaled at the top-left and cut to the button; the state of
// focus, default and enabled does not change the look.
void CSkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, isDown() ? m_bmpPressed : m_bmpNormal);
    if (m_bHover && !isDown())
        painter.drawPixmap(0, 0, m_bmpHover);
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
}

bool CSkinButton::event(QEvent* event)
{
    // A modal dialog takes the pointer without the button ever seeing it leave; the
    // window losing activation ends the hover instead.
    if (event->type() == QEvent::WindowDeactivate)
        SetHover(false);
    return QPushButton::event(event);
}

void CSkinButton::enterEvent(QEnterEvent* event)
{
    SetHover(true);
    QPushButton::enterEvent(event);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!isDown())
        SetHover(true);
    QPushButton::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event)
{
    SetHover(false);
    QPushButton::leaveEvent(event);
}

void CSkinButton::SetHover(bool hover)
{
    if (m_bHover == hover)
        return;
    m_bHover = hover;
    update();
}

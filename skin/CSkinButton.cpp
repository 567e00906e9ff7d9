#include "CSkinButton.h"

#include "res/ColorRef.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/resource.h"

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
    const QString name = ImageButtonName(normalId);
    setToolTip(name);
    setAccessibleName(name);
}

void CSkinButton::SetStateImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover)
{
    m_bmpNormal = normal;
    m_bmpPressed = pressed;
    m_bmpHover = hover;
}

QList<CSkinButton::ImageSlot> CSkinButton::ShownSlots() const
{
    if (isDown())
        return {kPressed};
    if (m_bHover)
        return {kNormal, kHover};
    return {kNormal};
}

// Only focus that came from the keyboard shows: a click leaves the look alone.
bool CSkinButton::ShowsKeyboardFocus() const
{
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

// Images are drawn unscaled at the top-left and cut to the button; the state of
// default and enabled does not change the look.
void CSkinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (ImageSlot slot : ShownSlots())
        painter.drawPixmap(0, 0, slot == kPressed ? m_bmpPressed : slot == kHover ? m_bmpHover : m_bmpNormal);
    painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    if (ShowsKeyboardFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ToQColor(CLR_FOCUS_RING), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    }
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

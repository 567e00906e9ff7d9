#include "CFlatComboBox.h"

#include "GdiDraw.h"

#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace {
constexpr int kHoverTimerMs = 10;
} // namespace

CFlatComboBox::CFlatComboBox(QWidget* parent)
    : QComboBox(parent), m_nThumbWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)),
      m_timer(this)
{
    setMouseTracking(true);
    ReadColors();
    m_timer.setInterval(kHoverTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &CFlatComboBox::OnTimerStep);
}

CFlatComboBox::~CFlatComboBox() = default;

bool CFlatComboBox::IsCursorOver() const
{
    return rect().contains(mapFromGlobal(QCursor::pos()));
}

void CFlatComboBox::ReadColors()
{
    m_crHighlight = palette().color(QPalette::Light);
    m_crShadow = palette().color(QPalette::Dark);
    m_crFace = palette().color(QPalette::Button);
}

void CFlatComboBox::StartHoverTimer()
{
    m_timer.start();
    OnTimerStep();
}

// Paints only when the hot frame comes or goes, and stops itself once the
// pointer has left and the focus is gone.
void CFlatComboBox::OnTimerStep()
{
    if (m_bLButtonDown) {
        m_timer.stop();
        if (m_bHotFrameShown) {
            ShowFrame(kFramePressed);
            m_bHotFrameShown = false;
        }
    } else if (!IsCursorOver() && !m_bHasFocus) {
        m_timer.stop();
        if (m_bHotFrameShown) {
            ShowFrame(kFrameNormal);
            m_bHotFrameShown = false;
        }
    } else if (!m_bHotFrameShown) {
        m_bHotFrameShown = true;
        ShowFrame(kFrameHot);
    }
}

void CFlatComboBox::ShowFrame(FrameState state)
{
    if (m_nFrame == state)
        return;
    m_nFrame = state;
    update();
}

void CFlatComboBox::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    StartHoverTimer();
}

void CFlatComboBox::mouseMoveEvent(QMouseEvent* event)
{
    QComboBox::mouseMoveEvent(event);
    if (!m_timer.isActive() && IsCursorOver())
        StartHoverTimer();
}

void CFlatComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bLButtonDown = true;
    QComboBox::mousePressEvent(event);
}

void CFlatComboBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        EndPress();
    QComboBox::mouseReleaseEvent(event);
}

// The drop-down list takes the mouse on the press, so the release may never reach
// the box: closing the list ends the press as well.
void CFlatComboBox::hidePopup()
{
    QComboBox::hidePopup();
    EndPress();
}

void CFlatComboBox::EndPress()
{
    m_bLButtonDown = false;
    m_nFrame = (IsCursorOver() || m_bHasFocus) ? kFrameHot : kFrameNormal;
    update();
}

void CFlatComboBox::focusInEvent(QFocusEvent* event)
{
    m_bHasFocus = true;
    ShowFrame(kFrameHot);
    QComboBox::focusInEvent(event);
}

// The open list borrows the focus; the box keeps it as far as the frame goes.
void CFlatComboBox::focusOutEvent(QFocusEvent* event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        m_bHasFocus = false;
        ShowFrame(kFrameNormal);
    }
    QComboBox::focusOutEvent(event);
}

void CFlatComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        ReadColors();
        update();
    }
}

void CFlatComboBox::paintEvent(QPaintEvent* event)
{
    {
        QPainter face(this);
        face.fillRect(rect(), m_crFace);
    }
    QComboBox::paintEvent(event);
    QPainter dc(this);
    if (m_nFrame == kFrameNormal)
        DrawFlatFrame(dc, kFrameNormal, m_crFace, m_crFace);
    else
        DrawFlatFrame(dc, m_nFrame, m_crShadow, m_crHighlight);
}

void CFlatComboBox::DrawFlatFrame(QPainter& dc, FrameState state, const QColor& topLeft,
                                  const QColor& bottomRight) const
{
    QRect r = rect();
    Draw3dRect(dc, r, topLeft, bottomRight);
    r.adjust(1, 1, -1, -1);
    const QColor inner = isEnabled() ? m_crFace : m_crHighlight;
    Draw3dRect(dc, r, inner, inner);
    r.adjust(1, 1, -1, -1);
    r.setLeft(r.x() + r.width() - m_nThumbWidth);
    Draw3dRect(dc, r, m_crFace, m_crFace);
    r.adjust(1, 1, -1, -1);
    Draw3dRect(dc, r, m_crFace, m_crFace);
    if (!isEnabled())
        return;
    r.adjust(0, -1, 0, 1);
    switch (state) {
    case kFrameNormal:
        Draw3dRect(dc, r, m_crHighlight, m_crHighlight);
        r.setLeft(r.left() - 1);
        Draw3dRect(dc, r, m_crHighlight, m_crHighlight);
        break;
    case kFrameHot: Draw3dRect(dc, r, m_crHighlight, m_crShadow); break;
    case kFramePressed: Draw3dRect(dc, r.translated(1, 1), m_crShadow, m_crHighlight); break;
    }
}

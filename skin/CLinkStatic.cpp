#include "CLinkStatic.h"

#include "BrowserCommand.h"
#include "platform/CPlatformUi.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kHoverTimerMs = 100;
} // namespace

CLinkStatic::CLinkStatic(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_timer.setInterval(kHoverTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &CLinkStatic::OnHoverTimer);
}

CLinkStatic::~CLinkStatic() = default;

void CLinkStatic::PreSubclassWindow()
{
    if (m_bSetUp)
        return;
    m_bSetUp = true;
    if (m_strURL.isEmpty())
        m_strURL = text();
    if (text().isEmpty())
        setText(m_strURL);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    FitToText();
    setCursor(Qt::PointingHandCursor);
    setToolTip(m_strURL);
    m_timer.start();
}

void CLinkStatic::SetLinkURL(const QString& url)
{
    m_strURL = url;
    if (!m_bSetUp)
        return;
    FitToText();
    setToolTip(m_strURL);
}

void CLinkStatic::SetVisited(bool visited)
{
    m_bVisited = visited;
    update();
}

COLORREF CLinkStatic::TextColor() const
{
    if (m_bHovering)
        return m_crHover;
    return m_bVisited ? m_crVisited : m_crUnvisited;
}

// Shrinks the window to its text from the top-left corner, where a link's text stands,
// so that only the text itself is the link.
void CLinkStatic::FitToText()
{
    if (!m_bSetUp)
        return;
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text()), metrics.height());
}

void CLinkStatic::OnHoverTimer()
{
    const bool hovering = QRect(mapToGlobal(QPoint(0, 0)), size()).contains(QCursor::pos());
    if (hovering == m_bHovering)
        return;
    m_bHovering = hovering;
    repaint();
}

void CLinkStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(ToQColor(TextColor()));
    painter.drawText(rect(), static_cast<int>(alignment()) | Qt::TextWordWrap, text());
}

void CLinkStatic::mousePressEvent(QMouseEvent* event)
{
    m_bPressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

// The second click of a double click is not a new click.
void CLinkStatic::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked =
        m_bPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_bPressed = false;
    if (!clicked) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    SetVisited(true);
    OpenURL(m_strURL);
}

bool CLinkStatic::OpenURL(const QString& url)
{
    // Captions may carry stray spaces around the address.
    const QString target = url.trimmed();
    if (target.isEmpty())
        return false;
    CPlatformUi& ui = CPlatformUi::Get();
    if (ui.ShellExecute(QStringLiteral("open"), target))
        return true;
    const BrowserLaunch launch = BuildBrowserLaunch(DefaultBrowserCommand(), target);
    return !launch.program.isEmpty() && ui.StartProgram(launch.program, launch.arguments);
}

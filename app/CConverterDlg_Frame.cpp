// The frame the window draws for itself: background, layout, moving by the
// background, the window menu, minimising and closing.
#include "CConverterDlg.h"

#include "dialogs/CVersionDlg.h"
#include "platform/CPlatformUi.h"
#include "res/DialogTemplates.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {
// Window-menu commands besides the About item, with the platform's values.
constexpr int kScMinimize = 0xF020;
constexpr int kScClose = 0xF060;
} // namespace

void CConverterDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bmpBackground);
    ApplyLayout(); // placed at every paint, so the pixel layout wins over whatever moved a control
}

// Re-imposes the pixel layout; nothing else positions these controls.
void CConverterDlg::ApplyLayout()
{
    const std::vector<LayoutEntry>& layout = MainWindowLayout();
    for (size_t row = 0; row < layout.size(); ++row) {
        if (row == kLayoutRowsBeforeLabelFont) {
            for (int id : {IDC_VIDEO_LABEL, IDC_AUDIO_LABEL})
                GetDlgItem(id)->setFont(m_fntSectionLabel);
        }
        QWidget* control = GetDlgItem(layout[row].id);
        if (control && control->geometry() != layout[row].rect)
            control->setGeometry(layout[row].rect);
    }
}

// The statics take no mouse input, so the mouse lands on the background through them.
// The picture panel takes drops and so cannot let the mouse through; it counts as
// background all the same.
bool CConverterDlg::IsBackgroundAt(const QPoint& pos) const
{
    const QWidget* child = childAt(pos);
    return !child || child == &m_ctlPicture;
}

void CConverterDlg::mousePressEvent(QMouseEvent* event)
{
    // A control that leaves a press unused (the preview area, the progress bar) passes
    // it up here; only the background moves the window.
    if (event->button() != Qt::LeftButton || !IsBackgroundAt(event->position().toPoint())) {
        QDialog::mousePressEvent(event);
        return;
    }
    // Dragging the background moves the window, as a caption would.
    QWindow* window = windowHandle();
    m_bManualDrag = !(window && window->startSystemMove());
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void CConverterDlg::mouseMoveEvent(QMouseEvent* event)
{
    if (m_bManualDrag && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

void CConverterDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_bManualDrag = false;
    QDialog::mouseReleaseEvent(event);
}

// Controls that leave a right click unused pass it up here too; only the background
// has the window menu.
void CConverterDlg::contextMenuEvent(QContextMenuEvent* event)
{
    if (IsBackgroundAt(event->pos()))
        ShowWindowMenu(event->globalPos());
}

void CConverterDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: accept(); return;
    case Qt::Key_F1:
        if (event->modifiers() == Qt::NoModifier) {
            OnCommand(ID_HELP);
            return;
        }
        break;
    case Qt::Key_Space:
        if (event->modifiers() == Qt::AltModifier) {
            ShowWindowMenu(ScreenPos(QPoint(0, 0)));
            return;
        }
        break;
    default: break;
    }
    QDialog::keyPressEvent(event);
}

// Where a point of the window is on the screen, from the window's own geometry: a menu
// dropped by the very click that activates the window comes before the platform window's
// position has been put right (see changeEvent).
QPoint CConverterDlg::ScreenPos(const QPoint& windowPos) const
{
    return geometry().topLeft() + windowPos;
}

// When the window maps while the window manager is still taking over the screen (seen
// with openbox), the platform window can keep 0,0 as its position while the window sits
// where the manager placed it; everything Qt maps to the screen (the lists' drop-downs,
// menus) then lands in the corner. Asking to be where the widget is makes the manager
// report the position again.
void CConverterDlg::changeEvent(QEvent* event)
{
    QWindow* window = windowHandle();
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && window &&
        window->position() != geometry().topLeft())
        window->setPosition(geometry().topLeft());
    QDialog::changeEvent(event);
}

// The window has no caption, so it offers its system menu itself.
void CConverterDlg::ShowWindowMenu(const QPoint& screenPos)
{
    QMenu menu(this);
    menu.addAction(tr("Mi&nimize"))->setData(kScMinimize);
    menu.addAction(tr("&Close"))->setData(kScClose);
    const QString about = LoadResourceString(IDS_ABOUTBOX);
    if (!about.isEmpty()) {
        menu.addSeparator();
        menu.addAction(about)->setData(IDM_ABOUTBOX);
    }
    if (const int command = CPlatformUi::Get().TrackPopupMenu(menu, screenPos))
        OnSysCommand(command);
}

void CConverterDlg::OnSysCommand(int command)
{
    switch (command & 0xFFF0) {
    case IDM_ABOUTBOX: {
        CVersionDlg dlg(this);
        CPlatformUi::Get().RunModal(dlg);
        break;
    }
    case kScMinimize: OnMinimize(); break;
    case kScClose: reject(); break;
    default: break;
    }
}

void CConverterDlg::OnCloseButton()
{
    accept();
}

void CConverterDlg::OnMinimize()
{
    showMinimized();
}

#include "CPopupMenu.h"

#include <QMouseEvent>

CPopupMenu::CPopupMenu(Qt::MouseButtons choosingButtons, QWidget* parent)
    : QMenu(parent), m_choosingButtons(choosingButtons)
{
}

CPopupMenu::~CPopupMenu() = default;

// Another button on the menu does nothing; outside it, any button closes the menu as usual.
bool CPopupMenu::IgnoresButtonOnMenu(const QMouseEvent* event) const
{
    return !(m_choosingButtons & event->button()) && rect().contains(event->position().toPoint());
}

void CPopupMenu::mousePressEvent(QMouseEvent* event)
{
    if (IgnoresButtonOnMenu(event)) {
        event->accept();
        return;
    }
    QMenu::mousePressEvent(event);
}

void CPopupMenu::mouseReleaseEvent(QMouseEvent* event)
{
    if (IgnoresButtonOnMenu(event)) {
        event->accept();
        return;
    }
    QMenu::mouseReleaseEvent(event);
}

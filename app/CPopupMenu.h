// A popup menu that only the given mouse buttons can choose from: menus dropped
// from a button take the left button, the job list's right-click menu either one.
#pragma once

#include <QMenu>

class CPopupMenu : public QMenu
{
    Q_OBJECT
public:
    CPopupMenu(Qt::MouseButtons choosingButtons, QWidget* parent = nullptr);
    ~CPopupMenu() override;

    Qt::MouseButtons ChoosingButtons() const { return m_choosingButtons; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool IgnoresButtonOnMenu(const QMouseEvent* event) const;

    Qt::MouseButtons m_choosingButtons;
};

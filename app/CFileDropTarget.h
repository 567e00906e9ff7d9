// Lets files and folders from the desktop be dropped on chosen widgets: watches
// their drag events and hands the dropped paths on once the drop is over.
#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

class CFileDropTarget : public QObject
{
    Q_OBJECT
public:
    using DropHandler = std::function<void(const QStringList& paths)>;

    CFileDropTarget(DropHandler onDrop, QObject* parent);

    // Takes drops on widget from now on.
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DropHandler m_onDrop;
};

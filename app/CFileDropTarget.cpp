#include "CFileDropTarget.h"

#include "platform/FileNames.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <utility>

CFileDropTarget::CFileDropTarget(DropHandler onDrop, QObject* parent)
    : QObject(parent), m_onDrop(std::move(onDrop))
{
}

void CFileDropTarget::Watch(QWidget* widget)
{
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool CFileDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls())
            paths << (url.isLocalFile() ? FileNameFromUrl(url) : url.toString());
        drop->acceptProposedAction();
        // After the drop has ended: probing the files and any message must not keep
        // the program the files came from waiting.
        QTimer::singleShot(0, this, [this, paths] { m_onDrop(paths); });
        return true;
    }
    default: return QObject::eventFilter(watched, event);
    }
}

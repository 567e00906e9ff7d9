#include "SkinBitmaps.h"

#include "SkinResources.h"
#include "resource.h"

#include <QFile>

namespace {
void EnsureSkinResources()
{
    static const bool initialised = [] {
        InitSkinResources();
        return true;
    }();
    Q_UNUSED(initialised);
}
} // namespace

QPixmap LoadSkinBitmap(int id)
{
    EnsureSkinResources();
    return QPixmap(QStringLiteral(":/skin/%1.png").arg(id & 0xFFFF));
}

QIcon LoadAppIcon()
{
    EnsureSkinResources();
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        const QString path = QStringLiteral(":/skin/%1-%2.png").arg(IDR_MAINFRAME).arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    if (icon.isNull())
        icon.addFile(QStringLiteral(":/skin/%1.png").arg(IDR_MAINFRAME));
    return icon;
}

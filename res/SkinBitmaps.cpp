#include "SkinBitmaps.h"

#include "res/IconSizes.h"
#include "SkinResources.h"
#include "SkinScales.h"
#include "resource.h"

#include <QFile>
#include <QGuiApplication>

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

QPixmap LoadSkinBitmap(int id, double devicePixelRatio)
{
    EnsureSkinResources();
    const double scale = SkinScaleFor(devicePixelRatio);
    QPixmap bitmap(QStringLiteral(":/skin/") + SkinFileName(id & 0xFFFF, scale));
    bitmap.setDevicePixelRatio(scale);
    return bitmap;
}

QPixmap LoadSkinBitmap(int id)
{
    return LoadSkinBitmap(id, qApp ? qApp->devicePixelRatio() : 1.0);
}

QIcon LoadAppIcon()
{
    EnsureSkinResources();
    QIcon icon;
    for (int size : kAppIconSizesPx) {
        const QString path = QStringLiteral(":/skin/%1-%2.png").arg(IDR_MAINFRAME).arg(size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    if (icon.isNull())
        icon.addFile(QStringLiteral(":/skin/%1.png").arg(IDR_MAINFRAME));
    return icon;
}

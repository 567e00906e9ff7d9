#include "SkinArt.h"

#include "BackgroundArt.h"
#include "ButtonArt.h"
#include "LogoArt.h"
#include "PanelArt.h"
#include "SkinLayout.h"

#include "res/IconSizes.h"
#include "res/SkinScales.h"
#include "res/resource.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>

namespace SkinArt {

namespace {

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return QString();
}

// Empty when the image cannot be encoded.
QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}

// The application icon by file stem: "128" (256 px) and "128-<size>" for every icon size.
std::map<QString, QImage> renderIcons()
{
    std::map<QString, QImage> icons;
    icons[QString::number(IDR_MAINFRAME)] = LogoArt::icon(256);
    for (int size : kAppIconSizesPx)
        icons[QStringLiteral("%1-%2").arg(IDR_MAINFRAME).arg(size)] = LogoArt::icon(size);
    return icons;
}

QByteArray qrcText(const QStringList& files)
{
    QByteArray text = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/skin\">\n";
    for (const QString& f : files)
        text += "    <file>" + f.toUtf8() + "</file>\n";
    text += "  </qresource>\n</RCC>\n";
    return text;
}

} // namespace

std::map<int, QImage> renderBitmaps(qreal scale)
{
    std::map<int, QImage> bitmaps;
    const QImage background = BackgroundArt::paint(scale);
    for (const ButtonDesign& b : SkinLayout::buttons()) {
        for (ButtonState s : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed})
            bitmaps[SkinLayout::imageId(b, s)] = ButtonArt::paint(background, b, s);
    }
    bitmaps[IDB_BACKGROUND] = background;
    bitmaps[IDB_PANEL] = PanelArt::paint(scale);
    return bitmaps;
}

QString write(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    std::map<QString, QImage> files;
    for (double scale : kSkinScales) {
        for (auto& [id, image] : renderBitmaps(scale))
            files[SkinFileName(id, scale)] = image;
    }
    for (auto& [stem, image] : renderIcons())
        files[stem + QStringLiteral(".png")] = image;

    QStringList names;
    for (const auto& [name, image] : files) {
        const QByteArray png = pngBytes(image);
        if (png.isEmpty())
            return QStringLiteral("cannot encode %1").arg(name);
        const QString error = writeFile(QDir(folder).filePath(name), png);
        if (!error.isEmpty())
            return error;
        names << name;
    }
    return writeFile(QDir(folder).filePath(QStringLiteral("skin.qrc")), qrcText(names));
}

} // namespace SkinArt

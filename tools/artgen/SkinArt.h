// Renders the whole skin and writes it out as PNG files with a resource list.
#pragma once

#include <QImage>
#include <QString>

#include <map>

namespace SkinArt {

// Every bitmap of the skin by resource id: background, panel and all button images.
std::map<int, QImage> renderBitmaps();

// Writes <id>.png for every bitmap, the icon files and skin.qrc (prefix /skin) into
// folder. Returns an empty string on success, otherwise what failed.
QString write(const QString& folder);

} // namespace SkinArt

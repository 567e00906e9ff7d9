// Renders the whole skin and writes it out as PNG files with a resource list.
#pragma once

#include <QImage>
#include <QString>

#include <map>

namespace SkinArt {

// Every bitmap of the skin by resource id: background, panel and all button images,
// drawn at the given scale (their device pixel ratio).
std::map<int, QImage> renderBitmaps(qreal scale = 1);

// Writes every bitmap at every scale of kSkinScales (named by SkinFileName), the icon
// files and skin.qrc (prefix /skin) into folder. Returns an empty string on success,
// otherwise what failed.
QString write(const QString& folder);

} // namespace SkinArt

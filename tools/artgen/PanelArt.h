// The getting-started picture shown where the job list will be until files are added.
#pragma once

#include <QImage>

namespace PanelArt {

QImage paint(qreal scale = 1); // 452 x 254 at the given scale, opaque

} // namespace PanelArt

// The getting-started picture shown where the job list will be until files are added.
#pragma once

#include <QImage>

namespace PanelArt {

QImage paint(); // 452 x 254, opaque

} // namespace PanelArt

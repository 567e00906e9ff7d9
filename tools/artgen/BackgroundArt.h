// The main window's background bitmap: chrome, the work surfaces the controls
// sit on, the title with the product name, and the cut-away outline.
#pragma once

#include <QImage>

namespace BackgroundArt {

// 750 x 560 at the given scale, opaque; everything outside the rounded outline is
// exactly the region key.
QImage paint(qreal scale = 1);

} // namespace BackgroundArt

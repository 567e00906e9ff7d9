// The main window's background bitmap: chrome, the work surfaces the controls
// sit on, the title with the product name, and the cut-away outline.
#pragma once

#include <QImage>
#include <QPainterPath>

namespace BackgroundArt {

// 750 x 560, opaque; everything outside windowOutline() is exactly the region key.
QImage paint();

// The visible shape of the window.
QPainterPath windowOutline();

// Replaces every pixel whose centre lies outside outline with the key colour,
// without blending: a pixel is either fully the key or untouched.
void cutOutline(QImage& image, const QPainterPath& outline);

} // namespace BackgroundArt

// Button images. Each one starts as the crop of the background under the
// button, so that it blends into the window when drawn opaque over it, at the
// background's scale.
#pragma once

#include "SkinLayout.h"

#include <QImage>

namespace ButtonArt {

QImage paint(const QImage& background, const ButtonDesign& button, ButtonState state);

} // namespace ButtonArt

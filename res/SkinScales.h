// The scales the skin's bitmaps are drawn at, and the file each one is stored in.
#pragma once

#include <QString>

#include <array>

// Ascending; 1 is the window's own pixel size.
constexpr std::array<double, 3> kSkinScales{1.0, 1.5, 2.0};

// "<id>.png" at scale 1, "<id>@1.5x.png" and "<id>@2x.png" above it.
QString SkinFileName(int id, double scale);

// The scale to draw with on a screen of the given device pixel ratio: the smallest one
// at least as fine, or the finest there is.
double SkinScaleFor(double devicePixelRatio);

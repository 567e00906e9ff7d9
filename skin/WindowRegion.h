// The window's shape: every pixel of the background whose colour is not the key.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

// Maximal horizontal runs of non-key pixels, one pixel high, row by row.
// Only the red, green and blue channels are compared; alpha is ignored.
std::vector<QRect> NonKeyRuns(const QImage& image, QRgb key);

// The union of NonKeyRuns.
QRegion RegionFromBitmap(const QImage& image, QRgb key);

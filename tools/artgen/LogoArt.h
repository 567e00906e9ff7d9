// The product logo: a film frame on a blue tile with an orange conversion arrow.
#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace LogoArt {

// Draws the logo into a square box; small boxes get fewer details.
void paintLogo(QPainter& p, const QRectF& box);

// The application icon at size x size pixels, transparent outside the tile.
QImage icon(int size);

} // namespace LogoArt

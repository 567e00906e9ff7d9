// The vector icons and words the buttons carry.
#pragma once

#include "SkinLayout.h"

#include <QColor>
#include <QRectF>

class QPainter;

namespace GlyphArt {

// Draws a glyph centred in box. Transport and caption glyphs use ink; the toolbar
// and folder icons bring their own colours; the menu glyphs draw nothing (see caption()).
void paintGlyph(QPainter& p, Glyph glyph, const QRectF& box, const QColor& ink);

// The word a menu or folder button shows beside or instead of its icon; empty for none.
QString caption(Glyph glyph);

} // namespace GlyphArt

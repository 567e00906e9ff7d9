// Bitmaps and the icon of the skin, by resource id.
#pragma once

#include <QIcon>
#include <QPixmap>

// The bitmap with the given id, drawn for the finest screen's device pixel ratio and
// sized in the window's pixels (its device pixel ratio set); a null pixmap when there is none.
QPixmap LoadSkinBitmap(int id);
// The same, drawn for the given device pixel ratio.
QPixmap LoadSkinBitmap(int id, double devicePixelRatio);

// Icon 128 in all its sizes.
QIcon LoadAppIcon();

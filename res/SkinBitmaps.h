// Bitmaps and the icon of the skin, by resource id.
#pragma once

#include <QIcon>
#include <QPixmap>

// The bitmap with the given id; a null pixmap when there is none.
QPixmap LoadSkinBitmap(int id);

// Icon 128 in all its sizes.
QIcon LoadAppIcon();

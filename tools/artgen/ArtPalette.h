// Colours of the skin: a blue-grey chrome with light work surfaces and one blue accent.
#pragma once

#include "res/ColorRef.h"
#include "res/resource.h"

#include <QColor>

namespace ArtPalette {

// Chrome, top to bottom.
inline const QColor chromeTop = ToQColor(CLR_CHROME_TOP);
inline const QColor chromeBottom = ToQColor(CLR_CHROME_BOTTOM);
inline const QColor titleTop{0x2f, 0x38, 0x44};
inline const QColor titleBottom{0x22, 0x29, 0x32};
inline const QColor outline{0x0d, 0x11, 0x16};
inline const QColor chromeShadow{0x12, 0x17, 0x1d};

// Light work surfaces (where the program's black labels sit).
inline const QColor cardTop = ToQColor(CLR_CARD_TOP);
inline const QColor cardBottom = ToQColor(CLR_CARD_BOTTOM);
inline const QColor cardEdge = ToQColor(CLR_CARD_EDGE);
inline const QColor inset{0x7f, 0x8c, 0x9a};

// Preview bezel and transport strip.
inline const QColor bezelTop{0x1d, 0x23, 0x2b};
inline const QColor bezelBottom{0x10, 0x14, 0x19};
inline const QColor stripTop{0x3a, 0x43, 0x4f};
inline const QColor stripBottom{0x1c, 0x22, 0x29};

// Glyphs and accents.
inline const QColor glyphLight{0xdc, 0xe3, 0xec};
inline const QColor glyphLit{0xff, 0xff, 0xff};
inline const QColor accent{0x3b, 0x8e, 0xea};
inline const QColor accentLight{0x8c, 0xc4, 0xff};
inline const QColor accentDark{0x1d, 0x5f, 0xb8};
inline const QColor goDark{0xd9, 0x6a, 0x0b};
inline const QColor addDark{0x22, 0x8f, 0x48};
inline const QColor halt{0xec, 0x51, 0x47};
inline const QColor haltDark{0xb8, 0x2a, 0x22};
inline const QColor text{0x1f, 0x26, 0x2e};
inline const QColor heading{0x2a, 0x33, 0x3e};

// Exactly this colour is cut out of the window.
inline const QColor regionKey = ToQColor(CLR_REGION_KEY);

} // namespace ArtPalette

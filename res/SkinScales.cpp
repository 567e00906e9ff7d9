#include "SkinScales.h"

QString SkinFileName(int id, double scale)
{
    if (scale == 1.0)
        return QStringLiteral("%1.png").arg(id);
    return QStringLiteral("%1@%2x.png").arg(id).arg(scale);
}

double SkinScaleFor(double devicePixelRatio)
{
    for (double scale : kSkinScales) {
        if (scale >= devicePixelRatio)
            return scale;
    }
    return kSkinScales.back();
}

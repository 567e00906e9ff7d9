#include "SkinResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE cannot be used inside a namespace.
void InitSkinResources()
{
    Q_INIT_RESOURCE(skin);
}

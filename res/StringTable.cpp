#include "StringTable.h"

#include "resource.h"

QString LoadResourceString(int id)
{
    switch (id) {
    case IDS_ABOUTBOX: return QStringLiteral("&About DirarAror...");
    default: return QString();
    }
}

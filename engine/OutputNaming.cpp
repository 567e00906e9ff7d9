#include "OutputNaming.h"

OutputKind outputKindFor(const QString& destination)
{
    if (destination.endsWith(QLatin1String(".wmv"), Qt::CaseInsensitive))
        return OutputKind::Video;
    if (destination.endsWith(QLatin1String(".wma"), Qt::CaseInsensitive))
        return OutputKind::Audio;
    return OutputKind::Unsupported;
}

QString tempPathFor(const QString& destination, int attempt)
{
    const QString base = destination + QLatin1String(".part");
    return attempt == 0 ? base : base + QString::number(attempt);
}

#include "OutputNaming.h"

#include <QFileInfo>
#include <QRandomGenerator>

OutputKind outputKindFor(const QString& destination)
{
    if (destination.endsWith(QLatin1String(".wmv"), Qt::CaseInsensitive))
        return OutputKind::Video;
    if (destination.endsWith(QLatin1String(".wma"), Qt::CaseInsensitive))
        return OutputKind::Audio;
    return OutputKind::Unsupported;
}

QString tempPathFor(const QString& destination)
{
    const QString folder = QFileInfo(destination).path();
    const quint32 token = QRandomGenerator::global()->generate();
    return folder + QStringLiteral("/.vv-%1.part").arg(token, 8, 16, QLatin1Char('0'));
}

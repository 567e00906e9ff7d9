#include "OutputNaming.h"

#include <QFileInfo>
#include <QRandomGenerator>

const OutputContainer* outputContainerFor(const QString& destination)
{
    for (const OutputContainer& container : outputContainers()) {
        if (destination.endsWith(QLatin1String(container.extension), Qt::CaseInsensitive))
            return &container;
    }
    return nullptr;
}

OutputKind outputKindFor(const QString& destination)
{
    const OutputContainer* container = outputContainerFor(destination);
    if (!container)
        return OutputKind::Unsupported;
    return container->videoEncoder ? OutputKind::Video : OutputKind::Audio;
}

QString tempPathFor(const QString& destination)
{
    const QString folder = QFileInfo(destination).path();
    const quint32 token = QRandomGenerator::global()->generate();
    return folder + QStringLiteral("/.vv-%1.part").arg(token, 8, 16, QLatin1Char('0'));
}

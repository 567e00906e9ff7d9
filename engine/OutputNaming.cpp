#include "OutputNaming.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <array>

namespace {

// Windows Media as ever; then what browsers, phones and TVs play today.
constexpr std::array<OutputContainer, 6> kContainers{{
    {".wmv", "asf", "wmv2", "wmav2", false, false, true},
    {".wma", "asf", nullptr, "wmav2", false, false, true},
    {".mp4", "mp4", "libx264", "aac", true, true, false},
    {".webm", "webm", "libvpx-vp9", "libopus", false, true, false},
    {".mp3", "mp3", nullptr, "libmp3lame", false, false, false},
    {".m4a", "ipod", nullptr, "aac", true, false, false},
}};

} // namespace

const OutputContainer* outputContainerFor(const QString& destination)
{
    for (const OutputContainer& container : kContainers) {
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

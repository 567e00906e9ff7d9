#include "JobOutput.h"

#include "JobRowText.h"
#include "OutputFolderStore.h"
#include "engine/OutputFormats.h"

#include <QDir>

#include <array>

namespace {
const std::array<const char*, 8> kProfileNames{"320x240video",     "High320x240video",  "640x480video",
                                               "High640x480video", "1280x720video",     "High1280x720video",
                                               "1920x1080video",   "High1920x1080video"};

bool IsPlainVisibleName(const QString& base)
{
    return !base.isEmpty() && !base.startsWith(QLatin1Char('.')) && !base.contains(QLatin1Char('/')) &&
           !base.contains(QLatin1Char('\\')) && !base.contains(QChar(0));
}
} // namespace

const OutputContainer& JobFormatForIndex(int formatIndex)
{
    const OutputContainer* listed = outputContainerAt(formatIndex);
    return listed ? *listed : outputContainers().front();
}

bool IsVideoFormat(const OutputContainer& format)
{
    return format.videoEncoder != nullptr;
}

QString OutputFileName(const QString& title, const OutputContainer& format)
{
    return FileNameFromBase(TitleBase(title), format);
}

QString TitleBase(const QString& title)
{
    return title.contains(QLatin1Char('.')) ? SplitTitle(title).base : title;
}

QString FileNameFromBase(const QString& base, const OutputContainer& format)
{
    if (!IsPlainVisibleName(base))
        return QString();
    return base + QLatin1String(format.extension);
}

bool IsSafeOutput(const QString& outputPath, const QStringList& filesInUse, const SameFileTest& sameFile)
{
    for (const QString& path : filesInUse) {
        if (sameFile(outputPath, path))
            return false;
    }
    return true;
}

QString OutputPath(const QString& folder, const QString& fileName)
{
    return WithTrailingSeparator(folder) + fileName;
}

QString ProfilePath(const QString& programFolder, int frameSizeIndex)
{
    if (frameSizeIndex < 0 || frameSizeIndex >= int(kProfileNames.size()))
        return QString();
    const QString relative =
        QStringLiteral("Profiles/%1.prx").arg(QLatin1String(kProfileNames[frameSizeIndex]));
    return QDir::toNativeSeparators(QDir(programFolder).filePath(relative));
}

int AudioCodeForIndex(int bitrateIndex)
{
    if (bitrateIndex < 0 || bitrateIndex >= kAudioCodeCount)
        return 0;
    return kFirstAudioCode + bitrateIndex;
}

StepOutputSettings OutputSettingsFor(const OutputContainer& format, const QString& programFolder,
                                     int frameSizeIndex, int bitrateIndex)
{
    if (IsVideoFormat(format))
        return StepOutputSettings{ProfilePath(programFolder, frameSizeIndex), 0};
    return StepOutputSettings{QString(), AudioCodeForIndex(bitrateIndex)};
}

#include "JobOutput.h"

#include "JobRowText.h"
#include "app/OutputFolderStore.h"
#include "engine/IVideoEngine.h"

#include <QDir>

#include <array>

namespace {
const std::array<const char*, 4> kProfileNames{"320x240video", "High320x240video", "640x480video",
                                               "High640x480video"};
constexpr int kAudioCodeCount = 7;

bool IsPlainVisibleName(const QString& base)
{
    return !base.isEmpty() && !base.startsWith(QLatin1Char('.')) && !base.contains(QLatin1Char('/')) &&
           !base.contains(QLatin1Char('\\')) && !base.contains(QChar(0));
}
} // namespace

JobFormat JobFormatForIndex(int formatIndex)
{
    return formatIndex == 1 ? JobFormat::Wma : JobFormat::Wmv;
}

QString OutputFileName(const QString& title, JobFormat format)
{
    const TitleSplit split = SplitTitle(title);
    const QString base = title.contains(QLatin1Char('.')) ? split.base : title;
    if (!IsPlainVisibleName(base))
        return QString();
    return base + (format == JobFormat::Wma ? QStringLiteral(".wma") : QStringLiteral(".wmv"));
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

#include "IncomingFiles.h"

#include "VideoFileTypes.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {
// A long list would make a message box taller than the screen.
constexpr int kMostPathsListed = 10;

QString NativeAbsolute(const QFileInfo& info)
{
    return QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
}

// Case-blind, so "b.mpg" comes between "A.mpg" and "C.mpg"; the case settles ties.
bool ByName(const QString& a, const QString& b)
{
    const int blind = QString::compare(a, b, Qt::CaseInsensitive);
    return blind != 0 ? blind < 0 : a < b;
}

void AddFolder(const QString& folder, IncomingFiles* incoming)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    std::sort(found.begin(), found.end(), ByName);
    for (const QString& path : found) {
        if (IsSupportedVideoFile(path))
            incoming->files << NativeAbsolute(QFileInfo(path));
        else
            incoming->skipped << path;
    }
}
} // namespace

IncomingFiles FilesFromCommandLine(const QStringList& arguments)
{
    IncomingFiles incoming;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (info.isFile())
            incoming.files << NativeAbsolute(info);
        else
            incoming.skipped << argument;
    }
    return incoming;
}

IncomingFiles FilesFromDrop(const QStringList& paths)
{
    IncomingFiles incoming;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir())
            AddFolder(path, &incoming);
        else if (info.isFile() && IsSupportedVideoFile(path))
            incoming.files << NativeAbsolute(info);
        else
            incoming.skipped << path;
    }
    return incoming;
}

QString SkippedPathsMessage(const QStringList& skipped)
{
    if (skipped.isEmpty())
        return QString();
    QStringList lines = skipped.mid(0, kMostPathsListed);
    if (skipped.size() > kMostPathsListed)
        lines << QStringLiteral("and %1 more").arg(skipped.size() - kMostPathsListed);
    return QStringLiteral("Not added, not a file:\n") + lines.join(QLatin1Char('\n'));
}

QString SkippedCountMessage(int count)
{
    if (count == 0)
        return QString();
    return count == 1 ? QStringLiteral("1 file not added: not a supported video type.")
                      : QStringLiteral("%1 files not added: not a supported video type.").arg(count);
}

#include "IncomingFiles.h"

#include "VideoFileTypes.h"
#include "platform/FileNames.h"

#include <QDir>

#include <algorithm>
#include <filesystem>

namespace {
// A long list would make a message box taller than the screen.
constexpr int kMostPathsListed = 10;

QString NativeAbsolute(const QString& path)
{
    return QDir::toNativeSeparators(AbsoluteFileName(path));
}

// Through the names' own bytes: Qt's file classes cannot reach names that are not UTF-8.
bool IsFile(const QString& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(NativePath(path), error);
}

bool IsFolder(const QString& path)
{
    std::error_code error;
    return std::filesystem::is_directory(NativePath(path), error);
}

QStringList FilesBelow(const QString& folder)
{
    QStringList found;
    std::error_code error;
    const auto options = std::filesystem::directory_options::skip_permission_denied;
    for (std::filesystem::recursive_directory_iterator it(NativePath(folder), options, error), end;
         !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error))
            found << FileNameFromNative(it->path());
    }
    return found;
}

// Case-blind, so "b.mpg" comes between "A.mpg" and "C.mpg"; the case settles ties.
bool ByName(const QString& a, const QString& b)
{
    const int blind = QString::compare(a, b, Qt::CaseInsensitive);
    return blind != 0 ? blind < 0 : a < b;
}

// At most kMostPathsListed paths a line, readable.
QString ListedPaths(const QStringList& paths)
{
    QStringList lines;
    for (const QString& path : paths.mid(0, kMostPathsListed))
        lines << ReadableFileName(path);
    if (paths.size() > kMostPathsListed)
        lines << QStringLiteral("and %1 more").arg(paths.size() - kMostPathsListed);
    return lines.join(QLatin1Char('\n'));
}

void AddFolder(const QString& folder, IncomingFiles* incoming)
{
    QStringList found = FilesBelow(folder);
    std::sort(found.begin(), found.end(), ByName);
    for (const QString& path : found) {
        if (IsSupportedVideoFile(path))
            incoming->files << NativeAbsolute(path);
        else
            incoming->skipped << path;
    }
}
} // namespace

IncomingFiles FilesFromCommandLine(const QStringList& arguments)
{
    IncomingFiles incoming;
    for (const QString& argument : arguments) {
        if (IsFile(argument))
            incoming.files << NativeAbsolute(argument);
        else
            incoming.skipped << argument;
    }
    return incoming;
}

IncomingFiles FilesFromChooser(const QStringList& paths)
{
    IncomingFiles incoming;
    for (const QString& path : paths) {
        if (HasLostBytes(path) && !IsFile(path))
            incoming.skipped << path;
        else
            incoming.files << path;
    }
    return incoming;
}

QString LostNamesMessage(const QStringList& lost)
{
    if (lost.isEmpty())
        return QString();
    return QStringLiteral("Not added: these names are not UTF-8, which the file chooser cannot pass on. "
                          "Drop the files on the list, or name them on the command line:\n") +
           ListedPaths(lost);
}

IncomingFiles FilesFromDrop(const QStringList& paths)
{
    IncomingFiles incoming;
    for (const QString& path : paths) {
        if (IsFolder(path))
            AddFolder(path, &incoming);
        else if (IsFile(path) && IsSupportedVideoFile(path))
            incoming.files << NativeAbsolute(path);
        else
            incoming.skipped << path;
    }
    return incoming;
}

QString SkippedPathsMessage(const QStringList& skipped)
{
    if (skipped.isEmpty())
        return QString();
    return QStringLiteral("Not added, not a file:\n") + ListedPaths(skipped);
}

QString SkippedCountMessage(int count)
{
    if (count == 0)
        return QString();
    return count == 1 ? QStringLiteral("1 file not added: not a supported video type.")
                      : QStringLiteral("%1 files not added: not a supported video type.").arg(count);
}

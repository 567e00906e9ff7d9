#include "MediaPaths.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <system_error>

QByteArray ffmpegUrlFor(const QString& path)
{
    return "file:" + FileNameToBytes(path);
}

PathKind pathKind(const QString& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(NativePath(path), error);
    if (error || !std::filesystem::exists(status))
        return PathKind::Missing;
    if (std::filesystem::is_regular_file(status))
        return PathKind::File;
    return std::filesystem::is_directory(status) ? PathKind::Folder : PathKind::Other;
}

FileStamp fileStamp(const QString& path)
{
    std::error_code error;
    const std::filesystem::path file = NativePath(path);
    const auto size = std::filesystem::file_size(file, error);
    if (error)
        return FileStamp();
    const auto modified = std::filesystem::last_write_time(file, error);
    return FileStamp{qint64(size), error ? 0 : qint64(modified.time_since_epoch().count())};
}

bool isSameFile(const QString& a, const QString& b)
{
#ifdef _WIN32
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    const QString cleanA = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    const QString cleanB = QDir::cleanPath(QFileInfo(b).absoluteFilePath());
    if (cleanA.compare(cleanB, kCase) == 0)
        return true;
    std::error_code error;
    return std::filesystem::equivalent(NativePath(a), NativePath(b), error) && !error;
}

bool pathStillExists(const QString& path, MediaError* gone)
{
    if (pathKind(path) != PathKind::Missing)
        return true;
    const bool folderThere = pathKind(QFileInfo(path).path()) == PathKind::Folder;
    *gone = mediaError(MediaStage::Write,
                       folderThere ? QStringLiteral("the file being written was removed")
                                   : QStringLiteral("the output folder is gone"),
                       path);
    return false;
}

bool createNewFile(const QString& path)
{
    // "x": the call fails when the name exists, whoever made it.
#ifdef _WIN32
    std::FILE* file = _wfopen(NativePath(path).c_str(), L"wbx");
#else
    std::FILE* file = std::fopen(NativePath(path).c_str(), "wbx");
#endif
    return file && std::fclose(file) == 0;
}

bool removeFile(const QString& path)
{
    std::error_code error;
    return std::filesystem::remove(NativePath(path), error);
}

bool replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(NativePath(from), NativePath(to), error);
    return !error;
}

#ifdef _WIN32
bool flushToDisk(const QString& path)
{
    const int file = _wopen(NativePath(path).c_str(), _O_RDWR | _O_BINARY);
    if (file < 0)
        return false;
    const bool flushed = _commit(file) == 0;
    return _close(file) == 0 && flushed;
}

// NTFS keeps its folders' entries in its own journal: there is nothing to flush.
bool flushFolderOf(const QString&)
{
    return true;
}
#else
namespace {
bool flushOpened(const std::filesystem::path& path, int flags)
{
    const int file = ::open(path.c_str(), flags | O_CLOEXEC);
    if (file < 0)
        return false;
    const bool flushed = ::fsync(file) == 0;
    return ::close(file) == 0 && flushed;
}
} // namespace

bool flushToDisk(const QString& path)
{
    return flushOpened(NativePath(path), O_RDONLY);
}

bool flushFolderOf(const QString& path)
{
    return flushOpened(NativePath(QFileInfo(path).absolutePath()), O_RDONLY | O_DIRECTORY);
}
#endif

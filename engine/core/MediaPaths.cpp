#include "MediaPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path nativePath(const QString& path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

QByteArray ffmpegUrlFor(const QString& path)
{
#ifdef _WIN32
    // FFmpeg's file protocol takes UTF-8 on Windows.
    return "file:" + path.toUtf8();
#else
    return "file:" + QFile::encodeName(path);
#endif
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
    return std::filesystem::equivalent(nativePath(a), nativePath(b), error) && !error;
}

bool pathStillExists(const QString& path, MediaError* gone)
{
    std::error_code error;
    const std::filesystem::path file = nativePath(path);
    if (std::filesystem::exists(file, error))
        return true;
    const bool folderThere = std::filesystem::is_directory(file.parent_path(), error);
    *gone = mediaError(MediaStage::Write,
                       folderThere ? QStringLiteral("the file being written was removed")
                                   : QStringLiteral("the output folder is gone"),
                       path);
    return false;
}

bool replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return !error;
}

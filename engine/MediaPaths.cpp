#include "MediaPaths.h"

#include <QFile>

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
    std::error_code error;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), error) && !error;
}

bool replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    return !error;
}

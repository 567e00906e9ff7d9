// File-system helpers of the media core: the one place that knows how a path is
// spelled for FFmpeg and for the operating system. Names may hold bytes that are not
// UTF-8 (see platform/FileNames.h), so files are looked at and made here, never
// through Qt's file classes.
#pragma once

#include "MediaError.h"

#include <QByteArray>
#include <QString>

// The URL FFmpeg opens for a local file. The "file:" prefix keeps names such as
// "http:clip.mpg" or "a|b.avi" from being read as protocols.
QByteArray ffmpegUrlFor(const QString& path);

enum class PathKind
{
    Missing,
    File,
    Folder,
    Other, // a device, a pipe, a socket
};
PathKind pathKind(const QString& path);

// What tells one version of a file from the next.
struct FileStamp
{
    qint64 sizeBytes = -1;
    qint64 modifiedTicks = 0;

    bool operator==(const FileStamp& other) const
    {
        return sizeBytes == other.sizeBytes && modifiedTicks == other.modifiedTicks;
    }
};
FileStamp fileStamp(const QString& path);

// True when both paths name the same file: the same absolute path once cleaned (in
// any case on Windows), or the same existing file through links and hard links.
bool isSameFile(const QString& a, const QString& b);

// True while the file is where it was; otherwise gone says why: its folder was
// removed, or the file itself.
bool pathStillExists(const QString& path, MediaError* gone);

// Makes an empty file under a name nobody has taken; false when the name is taken or
// the folder cannot be written.
bool createNewFile(const QString& path);
bool removeFile(const QString& path);

// Renames from over to, replacing an existing file in one step where the system allows.
bool replaceFile(const QString& from, const QString& to);

// Waits until the file's data is on the disk itself, not only in the system's cache.
bool flushToDisk(const QString& path);
// The same for the folder holding path, so that a rename into it survives a power cut.
bool flushFolderOf(const QString& path);

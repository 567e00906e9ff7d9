// File-system helpers of the media core: the one place that knows how a path is
// spelled for FFmpeg and for the operating system.
#pragma once

#include "MediaError.h"

#include <QByteArray>
#include <QString>

// The URL FFmpeg opens for a local file. The "file:" prefix keeps names such as
// "http:clip.mpg" or "a|b.avi" from being read as protocols.
QByteArray ffmpegUrlFor(const QString& path);

// True when both paths name the same file: the same absolute path once cleaned (in
// any case on Windows), or the same existing file through links and hard links.
bool isSameFile(const QString& a, const QString& b);

// True while the file is where it was; otherwise gone says why: its folder was
// removed, or the file itself.
bool pathStillExists(const QString& path, MediaError* gone);

// Renames from over to, replacing an existing file in one step where the system allows.
bool replaceFile(const QString& from, const QString& to);

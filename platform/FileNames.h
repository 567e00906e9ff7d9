// File names kept whole in a QString. Qt reads names from the system as UTF-8 and
// replaces the bytes of a name that are not (old archives unpack Latin-1 names), after
// which the file can no longer be opened. Here each such byte becomes one of the lone
// surrogates U+DC80..U+DCFF instead, and turns back into the same byte on the way out.
// Qt's own file classes cannot open such a name, so the media core and the job rules
// look at and open files through these. On Windows names are UTF-16 and kept as they are.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>

class QUrl;

QString FileNameFromBytes(const QByteArray& bytes);
// The bytes for FFmpeg and the C library (UTF-8 on Windows, where FFmpeg takes it).
QByteArray FileNameToBytes(const QString& name);

std::filesystem::path NativePath(const QString& name);
QString FileNameFromNative(const std::filesystem::path& path);

// The program's arguments after its name, names kept whole. qtArguments is
// QCoreApplication::arguments(): on Windows those are already right; elsewhere Qt has
// spoilt what is not UTF-8, so argv (after Qt took its own options out) is read instead.
QStringList ArgumentsKeptWhole(int argc, char** argv, const QStringList& qtArguments);

// The name made absolute from the working folder and cleaned, its bytes kept: Qt's own
// file classes would spoil them on the way.
QString AbsoluteFileName(const QString& name);

// The local file a dropped or passed URL names, its bytes kept.
QString FileNameFromUrl(const QUrl& url);

// For people: each kept byte shown as U+FFFD.
QString ReadableFileName(const QString& name);

// True when the name is there on disk (a file, a folder or a link to one); its bytes kept.
bool FileExists(const QString& name);

// True for a name whose bytes Qt already replaced (U+FFFD): that file cannot be reached.
bool HasLostBytes(const QString& name);

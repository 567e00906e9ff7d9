// Where a conversion step writes: the output file name from a row's title, the
// output path in the output folder, and the profile file for a frame size.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

struct OutputContainer;

// The format of a format list index (a row of outputContainers()); the first for an
// index outside the list.
const OutputContainer& JobFormatForIndex(int formatIndex);

// Picture and sound, written with a frame-size profile; otherwise sound alone, written
// with an audio bit rate code.
bool IsVideoFormat(const OutputContainer& format);

// The title's base (text before its last "."), or the whole title when it has no ".",
// followed by the format's extension. Empty when that would not be a plain visible file
// name inside the output folder: an empty base, a base starting with "." (which
// covers "." and ".."), or one holding a path separator.
QString OutputFileName(const QString& title, const OutputContainer& format);

// The part of a title an output name is made of: its base, or the whole title without ".".
QString TitleBase(const QString& title);
// base followed by the format's extension, or empty when base is not a plain visible
// name, as OutputFileName checks it.
QString FileNameFromBase(const QString& base, const OutputContainer& format);

// Why a step writes nothing: the detail of a refusal at the check stage, and the whole
// reason that a row keeps.
inline const QString kNoUsableNameDetail = QStringLiteral("the title gives no usable file name");
inline const QString kOutputInUseDetail =
    QStringLiteral("the output would replace a source or an earlier output of this batch");
inline const QString kNoUsableNameReason = QStringLiteral("check: ") + kNoUsableNameDetail;
inline const QString kOutputInUseReason = QStringLiteral("check: ") + kOutputInUseDetail;

// Whether two paths name the same file, links included (the engine's answer).
using SameFileTest = std::function<bool(const QString&, const QString&)>;

// An output never replaces a file in use: a source of the list or an output written
// earlier in the batch.
bool IsSafeOutput(const QString& outputPath, const QStringList& filesInUse, const SameFileTest& sameFile);

// The folder followed by the name, with a separator between them when the folder
// does not end with one.
QString OutputPath(const QString& folder, const QString& fileName);

// The profile for a frame size list index (0 "320X240" to 7 "High 1920X1080") in the
// "Profiles" folder of programFolder, with native separators; empty for any other index.
QString ProfilePath(const QString& programFolder, int frameSizeIndex);

// Audio bit rate code for an audio bitrate list index: 15 + index for 0..6, else 0.
int AudioCodeForIndex(int bitrateIndex);

// What a step tells the engine besides the clips: a video format's profile, whose
// sound the profile sets too, or, for a sound-only format, no profile and an audio
// bit rate code.
struct StepOutputSettings
{
    QString profilePath; // as ProfilePath gives it; empty for a sound-only format
    int audioCode = 0;   // as AudioCodeForIndex gives it; 0 for a video format
};

StepOutputSettings OutputSettingsFor(const OutputContainer& format, const QString& programFolder,
                                     int frameSizeIndex, int bitrateIndex);

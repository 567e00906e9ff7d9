// Where a conversion step writes: the output file name from a row's title, the
// output path in the output folder, and the profile file for a frame size.
#pragma once

#include <QString>

enum class JobFormat
{
    Wmv = 1, // ".wmv", format list item 0
    Wma,     // ".wma", format list item 1
};

JobFormat JobFormatForIndex(int formatIndex);

// The title's base (text before its last "."), or the whole title when it has no ".",
// followed by ".wmv" or ".wma". Empty when that would not be a plain visible file
// name inside the output folder: an empty base, a base starting with "." (which
// covers "." and ".."), or one holding a path separator.
QString OutputFileName(const QString& title, JobFormat format);

// The folder followed by the name, with a separator between them when the folder
// does not end with one.
QString OutputPath(const QString& folder, const QString& fileName);

// The profile for a frame size list index (0 "320X240" to 3 "High 640X480") in the
// "Profiles" folder of programFolder, with native separators; empty for any other index.
QString ProfilePath(const QString& programFolder, int frameSizeIndex);

// Audio bit rate code for an audio bitrate list index: 15 + index for 0..6, else 0.
int AudioCodeForIndex(int bitrateIndex);

// The choices of the Options dialog, kept with QSettings under the program's
// organisation beside the stored output folder. The defaults are the program's
// behaviour without them.
#pragma once

#include "engine/VideoQuality.h"

#include <QString>

enum class IfOutputExists
{
    Replace = 0,   // the older file goes, as it always did
    AddNumber = 1, // "name (2).mp4"
    Skip = 2,      // the row is marked "Skipped" and stays checked
};

enum class WhenBatchDone
{
    Nothing = 0,
    Quit = 1,
    Suspend = 2,
    PowerOff = 3,
};

struct ConverterOptions
{
    VideoQuality quality;
    QString namePattern = QStringLiteral("{title}");
    IfOutputExists ifExists = IfOutputExists::Replace;
    WhenBatchDone whenDone = WhenBatchDone::Nothing;
    bool keepJobList = false;           // the job list comes back after a clean end too
    bool startWithLastSettings = false; // the lists, the quality and the preset as they were left
};

// What is stored; a value that is missing or out of range reads as its default.
ConverterOptions ReadOptions();
// False when the store cannot be written.
bool StoreOptions(const ConverterOptions& options);

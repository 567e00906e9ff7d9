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

// The four lists of the main window, as positions.
constexpr int kFrameSizeCount = 8;   // 320x240 to High 1920x1080
constexpr int kStretchModeCount = 4; // the engine's stretch modes
struct OutputChoices
{
    int formatIndex = 0;
    int frameSizeIndex = 0;
    int stretchMode = 0;
    int bitrateIndex = 0;
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

// The lists and the preset as they were last left, for a start with the last settings.
struct LastSettings
{
    OutputChoices choices;
    QString presetName; // empty: none was chosen
};

LastSettings ReadLastSettings();
bool StoreLastSettings(const LastSettings& last);

// The options' store, to name in a message.
QString OptionsFile();
// Where the saved presets are kept: a folder beside the options' store.
QString PresetFolder();

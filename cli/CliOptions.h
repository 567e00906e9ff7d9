// The converter's command line: one table of options, read into the settings of a run.
#pragma once

#include "jobs/ConverterOptions.h"
#include "jobs/JobRowText.h"

#include <QString>
#include <QStringList>

// The window's settings, and its defaults: the first item of every list.
struct CliOptions
{
    int formatIndex = 0;       // a row of the output format table
    int frameSizeIndex = 0;    // of the frame size list
    int stretchMode = 0;       // of the stretch mode list
    int audioBitrateIndex = 0; // of the audio bitrate list
    // The time cells of the file's row, read as the window's run reads them.
    QString startText = kNewRowStart;
    QString endText;      // empty: the file's length, as the window's new row ends
    QString outputFolder; // empty: the window's output folder
    // As the window's Options dialog sets them; the defaults write what the window always wrote.
    VideoQuality quality;
    QString namePattern = ConverterOptions().namePattern;
    IfOutputExists ifExists = IfOutputExists::Replace;
    bool json = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
    QStringList files;
};

struct CommandLine
{
    CliOptions options;
    QString error; // why the command line cannot run, naming the option and value; empty when it can
};

// The arguments after the program's name. "--name value" and "--name=value" both work;
// "--" ends the options. The last of a repeated option counts.
CommandLine ParseCommandLine(const QStringList& arguments);

// The --help text, every list with its values; defaultFolder is where files go without
// --output-dir.
QString UsageText(const QString& defaultFolder);

// Files that arrive from outside the Add dialog, named on the command line or
// dropped on the window, sorted into the paths to add and those left out.
#pragma once

#include <QString>
#include <QStringList>

struct IncomingFiles
{
    QStringList files;   // absolute, with the platform's separators, in the order to add
    QStringList skipped; // as they came
};

// Every argument naming an existing file, whatever its type, as the Add dialog's
// "All Files" would take it; relative paths are taken from the working folder.
IncomingFiles FilesFromCommandLine(const QStringList& arguments);

// Dropped files of a supported type, and the supported files under dropped folders,
// each folder's sorted by their path below it. Everything else is skipped.
IncomingFiles FilesFromDrop(const QStringList& paths);

// The chooser's files, less those whose names Qt has already spoilt: it reads names
// as UTF-8 and replaces what is not, so such a file can no longer be found.
IncomingFiles FilesFromChooser(const QStringList& paths);

// The one message for chosen files whose names were lost; empty for none.
QString LostNamesMessage(const QStringList& lost);

// The one message for command-line paths that were not added; empty for none.
QString SkippedPathsMessage(const QStringList& skipped);

// The one message for dropped items that were not added; empty for none.
QString SkippedCountMessage(int count);

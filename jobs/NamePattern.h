// Output names from a pattern the user writes, and what to do when that name is
// already taken on disk. "{title}" alone gives the names the program always gave.
#pragma once

#include "ConverterOptions.h"

#include <QDate>
#include <QString>

#include <functional>

struct OutputContainer;

// What the tokens of a pattern stand for, for one row of one batch.
struct NameFields
{
    QString title;      // the row's title, whole
    QString sourcePath; // the row's source
    int frameSizeIndex = 0;
    QDate date;       // of the conversion
    int number = 1;   // the row's number, from 1
    int rowCount = 1; // the list's rows: {n} is padded to as many digits
};

// {title}: the title's base as the output name always took it; {source}: the source's
// name up to its last "."; {format}: the extension without its dot; {size}: the frame
// size ("640x480"), empty for sound alone; {date}: yyyy-MM-dd; {n}: the padded number.
// Anything else is kept as written. What the pattern adds is made safe for a file name
// (every character no file system takes becomes "_"); the title is the user's own text
// and meets the same check it always met.
QString ExpandNamePattern(const QString& pattern, const NameFields& fields, const OutputContainer& format);

// The expanded pattern followed by the format's extension; empty when that would not
// be a plain visible file name, as OutputFileName refuses a title.
QString PatternFileName(const QString& pattern, const NameFields& fields, const OutputContainer& format);

// "640x480" for a frame size list index; empty outside the list.
QString FrameSizeText(int frameSizeIndex);

// The path to write when path may already exist, or empty to skip the row: Replace
// keeps path, Skip gives empty when it exists, AddNumber the first of "name (2).ext",
// "name (3).ext", ... that is free. isTaken says whether a path exists or is in use.
QString ResolveExistingOutput(const QString& path, IfOutputExists rule,
                              const std::function<bool(const QString&)>& isTaken);

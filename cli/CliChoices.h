// The lists the converter's options choose from, read from the tables the window's
// drop-down lists show: the output formats, the frame sizes, the stretch modes and the
// audio bit rates. A value is the list's position or the item's name.
#pragma once

#include <QString>
#include <QStringList>

struct ChoiceList
{
    QStringList names;     // the item names an option takes, in list order; the first is the default
    bool numbered = false; // the list's position (from 0) is taken too
};

// An item as an option value: lower case, each run of spaces one "-" ("High 320X240" is
// "high-320x240").
QString ChoiceName(const QString& item);

const ChoiceList& FormatChoices();       // the extensions: "wmv", "wma", ...
const ChoiceList& FrameSizeChoices();    // "320x240" ... "high-1920x1080"
const ChoiceList& StretchChoices();      // "stretched-to-fit" ... "resize-crop"
const ChoiceList& AudioBitrateChoices(); // "mono-28.8kbps" ... "128kbps"

// The position of value in the list, matched as a name in any case and spacing, or as a
// number where the list is numbered; -1 when it names none.
int FindChoice(const ChoiceList& list, const QString& value);

// The items as help shows them: "wmv (default)", "wma", ...; in a numbered list
// "0 stretched-to-fit (default)", "1 no-resize", ...
QStringList ChoiceItems(const ChoiceList& list);

// How the text cells of a job row are written and read: times stay the text the
// user typed and are parsed where they are used, always with "." as the point.
#pragma once

#include <QString>

// Columns of a job row.
constexpr int kTitleColumn = 0;
constexpr int kStartColumn = 1;
constexpr int kEndColumn = 2;
constexpr int kStatusColumn = 3;
constexpr int kPathColumn = 4;

// The texts of the status cell.
inline const QString kStatusReady = QStringLiteral("Ready");
inline const QString kStatusCompleted = QStringLiteral("Completed");
inline const QString kStatusAbort = QStringLiteral("Abort");
inline const QString kStatusSkipped = QStringLiteral("Skipped"); // its output existed

// Leading white space, an optional sign, then decimal digits up to the first other
// character; no digits gives 0. Values beyond the int range saturate.
int ParseLeadingInteger(const QString& text);

// As ParseLeadingInteger, with an optional fraction and exponent ("12.9", "-.5", "1e2").
double ParseLeadingDecimal(const QString& text);

// The start time cell of a new row.
inline const QString kNewRowStart = QStringLiteral("0");

// The end time cell of a new row: "1" for a length of exactly 0, else two decimals.
QString FormatEndSeconds(double lengthSeconds);

struct ClipSpan
{
    double startSeconds = 0;
    double endSeconds = 0;
};

// The span a conversion step takes from a row's time cells: the start by the integer
// parse (whole seconds), the end by the decimal parse.
ClipSpan ConversionSpan(const QString& startText, const QString& endText);

// The text after the path's last separator.
QString TitleFromPath(const QString& path);

struct TitleSplit
{
    QString base;      // text before the last "."
    QString extension; // text from the last "." on; the whole title when it has none
};

TitleSplit SplitTitle(const QString& title);

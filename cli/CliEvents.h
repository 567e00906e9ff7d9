// What the converter says about each file: one JSON object per event (the schema is
// docs/vv-convert-events.schema.json), or the lines a person reads.
#pragma once

#include <QByteArray>
#include <QString>

struct MediaError;
struct ProgressEstimate;

// The file an event is about, as every event names it.
struct RunFile
{
    QString file;   // as given on the command line
    QString output; // the path written; empty when the file gives no usable name
    int index = 0;  // from 1
    int count = 0;  // files in the run
};

// Where the write stands, from the engine's latest progress event.
struct RunProgress
{
    double positionSeconds = 0;
    double totalSeconds = 0;
    double elapsedSeconds = 0; // since the write started
};

// Each one line of compact JSON, without the line end.
QByteArray StartEvent(const RunFile& file);
QByteArray ProgressEvent(const RunFile& file, const RunProgress& progress, const ProgressEstimate& estimate);
QByteArray DoneEvent(const RunFile& file, const RunProgress& last);
QByteArray FailedEvent(const RunFile& file, const MediaError& error);
QByteArray StoppedEvent(const RunFile& file);
QByteArray SkippedEvent(const RunFile& file);

// "[2/6] clip.mpg  42%  3.1x  0:05 left"; the speed and time left once they are known.
QString ProgressLine(const RunFile& file, const ProgressEstimate& estimate);
// "[2/6] clip.mpg -> /out/clip.wmv  3.01 s in 0:01 (3.3x)"
QString DoneLine(const RunFile& file, const RunProgress& last);
// "clip.mpg: decode: Invalid data found when processing input (clip.mpg)"
QString FailedLine(const RunFile& file, const MediaError& error);
// "[1/2] clip.mpg -> /out/clip.wmv exists, skipped"
QString SkippedLine(const RunFile& file);

// Where a run's events go: JSON lines, or lines a person reads, one per file and redrawn
// in place on a terminal. Every failure also goes to standard error, in any mode.
#pragma once

#include "CliEvents.h"

#include <QString>

#include <cstdio>

struct MediaError;
struct ProgressEstimate;

class CRunOutput
{
public:
    // quiet keeps failures only; terminal: standard output is one, so progress is shown.
    CRunOutput(bool json, bool quiet, bool terminal);

    void started(const RunFile& file);
    void progressed(const RunFile& file, const RunProgress& progress, const ProgressEstimate& estimate);
    void done(const RunFile& file, const RunProgress& last);
    void failed(const RunFile& file, const MediaError& error);
    void stopped(const RunFile& file);
    void skipped(const RunFile& file);

private:
    static void writeLine(std::FILE* stream, const QByteArray& line);
    void showProgressLine(const QString& line);
    void clearProgressLine();

    const bool m_json;
    const bool m_quiet;
    const bool m_terminal;
    int m_lastPercent = -1; // of the file's last progress event written
    QString m_progressLine; // on the terminal now, for the next line to cover
};

#include "CRunOutput.h"

#include "engine/MediaError.h"
#include "jobs/ProgressEstimate.h"

CRunOutput::CRunOutput(bool json, bool quiet, bool terminal)
    : m_json(json), m_quiet(quiet), m_terminal(terminal)
{
}

void CRunOutput::started(const RunFile& file)
{
    m_lastPercent = -1;
    if (m_json && !m_quiet)
        writeLine(stdout, StartEvent(file));
}

// JSON gets an event for each new percentage, the terminal a line whenever it reads differently.
void CRunOutput::progressed(const RunFile& file, const RunProgress& progress,
                            const ProgressEstimate& estimate)
{
    if (m_quiet)
        return;
    if (m_json && estimate.percent != m_lastPercent)
        writeLine(stdout, ProgressEvent(file, progress, estimate));
    else if (!m_json && m_terminal)
        showProgressLine(ProgressLine(file, estimate));
    m_lastPercent = estimate.percent;
}

void CRunOutput::done(const RunFile& file, const RunProgress& last)
{
    if (m_quiet)
        return;
    clearProgressLine();
    writeLine(stdout, m_json ? DoneEvent(file, last) : DoneLine(file, last).toLocal8Bit());
}

void CRunOutput::failed(const RunFile& file, const MediaError& error)
{
    clearProgressLine();
    if (m_json)
        writeLine(stdout, FailedEvent(file, error));
    writeLine(stderr, "vv-convert: " + FailedLine(file, error).toLocal8Bit());
}

void CRunOutput::stopped(const RunFile& file)
{
    clearProgressLine();
    if (m_quiet)
        return;
    if (m_json)
        writeLine(stdout, StoppedEvent(file));
    writeLine(stderr, "vv-convert: stopped; " + file.file.toLocal8Bit() + " was not written");
}

void CRunOutput::skipped(const RunFile& file)
{
    if (m_quiet)
        return;
    clearProgressLine();
    writeLine(stdout, m_json ? SkippedEvent(file) : SkippedLine(file).toLocal8Bit());
}

// Flushed at once, so a reader of a pipe sees each event as it happens.
void CRunOutput::writeLine(std::FILE* stream, const QByteArray& line)
{
    std::fputs(line.constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void CRunOutput::showProgressLine(const QString& line)
{
    if (line == m_progressLine)
        return;
    const QString covered = line.leftJustified(int(m_progressLine.size()));
    std::fputs(("\r" + covered).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    m_progressLine = line;
}

void CRunOutput::clearProgressLine()
{
    if (m_progressLine.isEmpty())
        return;
    std::fputs(("\r" + QString(m_progressLine.size(), QLatin1Char(' ')) + "\r").toLocal8Bit().constData(),
               stdout);
    std::fflush(stdout);
    m_progressLine.clear();
}

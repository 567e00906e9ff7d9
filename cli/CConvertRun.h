// A run of the converter: each file in turn through the media core, with the window's
// rules for the output name, the files an output must not replace, the profile or the
// audio bit rate, and the trims. A failed file is reported and the run goes on.
#pragma once

#include "CliEvents.h"
#include "CliOptions.h"
#include "engine/CMediaEngine.h"
#include "jobs/ProgressEstimate.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <optional>

class CRunOutput;

// The converter's exit status.
enum RunExit
{
    kExitWritten = 0, // every file was written
    kExitFailed = 1,  // at least one was not
    kExitUsage = 2,
    kExitStopped = 130, // as a shell reports a program ended by SIGINT
};

class CConvertRun : public QObject
{
    Q_OBJECT
public:
    // dataFolder holds the Profiles folder; options.outputFolder is set.
    CConvertRun(const CliOptions& options, const QString& dataFolder, CRunOutput* output);

    // Starts the first file; ended() follows the last.
    void start();
    // Ends the write in progress, which leaves no file, and the run.
    void stop();

signals:
    void ended(int exitStatus);

private:
    void next();
    void nextLater();
    MediaError startWrite(const QString& source);
    void handClips(const QString& source);
    void onProgress(double positionSeconds, double totalSeconds);
    void onFinished();

    const CliOptions m_options;
    const QString m_dataFolder;
    const QString m_outputFolder; // absolute, with its trailing separator
    CRunOutput* const m_output;
    CMediaEngine m_engine;
    QStringList m_sources; // every file of the run, absolute
    QStringList m_written; // outputs handed to the engine so far
    int m_next = 0;        // index of the next file to start
    RunFile m_current;
    bool m_writing = false;
    bool m_stopped = false;
    bool m_anyFailed = false;
    QElapsedTimer m_clock; // since the current write started
    std::optional<ProgressSample> m_firstProgress;
    RunProgress m_lastProgress;
};

#include "CConvertRun.h"

#include "CRunOutput.h"
#include "engine/MediaPaths.h"
#include "engine/OutputFormats.h"
#include "jobs/JobOutput.h"
#include "jobs/JobRowText.h"
#include "jobs/NamePattern.h"
#include "jobs/OutputFolderStore.h"
#include "platform/FileNames.h"

#include <QDate>
#include <QDir>

namespace {
QString AbsolutePath(const QString& path)
{
    return QDir::toNativeSeparators(AbsoluteFileName(path));
}
} // namespace

CConvertRun::CConvertRun(const CliOptions& options, const QString& dataFolder, CRunOutput* output)
    : m_options(options), m_dataFolder(dataFolder),
      m_outputFolder(WithTrailingSeparator(AbsolutePath(options.outputFolder))), m_output(output)
{
    for (const QString& file : m_options.files)
        m_sources << AbsolutePath(file);
    connect(&m_engine, &CMediaEngine::progress, this, &CConvertRun::onProgress);
    connect(&m_engine, &CMediaEngine::finished, this, &CConvertRun::onFinished);
}

void CConvertRun::start()
{
    next();
}

void CConvertRun::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_engine.stop();
    if (m_writing)
        m_output->stopped(m_current);
    m_writing = false;
    emit ended(kExitStopped);
}

void CConvertRun::next()
{
    if (m_stopped)
        return;
    if (m_next >= m_sources.size()) {
        emit ended(m_anyFailed ? kExitFailed : kExitWritten);
        return;
    }
    const QString source = m_sources[m_next];
    const NameFields fields{TitleFromPath(source), source,     m_options.frameSizeIndex,
                            QDate::currentDate(),  m_next + 1, int(m_sources.size())};
    const QString name =
        PatternFileName(m_options.namePattern, fields, JobFormatForIndex(m_options.formatIndex));
    const QString output = name.isEmpty() ? QString() : OutputPath(m_outputFolder, name);
    const QString resolved =
        output.isEmpty()
            ? QString()
            : ResolveExistingOutput(output, m_options.ifExists, [this](const QString& path) {
                  return FileExists(path) || !IsSafeOutput(path, m_sources + m_written, &isSameFile);
              });
    m_current = RunFile{m_options.files[m_next], resolved.isEmpty() ? output : resolved, m_next + 1,
                        int(m_sources.size())};
    ++m_next;
    m_output->started(m_current);
    if (!output.isEmpty() && resolved.isEmpty()) {
        m_output->skipped(m_current);
        nextLater();
        return;
    }
    const MediaError refusal =
        name.isEmpty() ? mediaError(MediaStage::Check, kNoUsableNameDetail, source) : startWrite(source);
    if (refusal.isSet()) {
        m_anyFailed = true;
        m_output->failed(m_current, refusal);
        nextLater();
    }
}

// From the event loop, so that a long row of refusals neither deepens the stack nor
// keeps a stop request waiting.
void CConvertRun::nextLater()
{
    QMetaObject::invokeMethod(this, &CConvertRun::next, Qt::QueuedConnection);
}

MediaError CConvertRun::startWrite(const QString& source)
{
    if (!IsSafeOutput(m_current.output, m_sources + m_written, &isSameFile))
        return mediaError(MediaStage::Check, kOutputInUseDetail, m_current.output);
    handClips(source);
    if (m_options.quality.mode != QualityMode::ProfileBitrate)
        m_engine.setVideoQuality(m_options.quality);
    if (!m_engine.saveFile(m_current.output))
        return m_engine.lastError();
    m_written << m_current.output;
    m_writing = true;
    m_clock.start();
    m_firstProgress.reset();
    m_lastProgress = RunProgress();
    return MediaError();
}

// What the window's step hands the engine: the output settings of the format, and the
// picture and the sound of the row's span, the row being the one the window would add.
void CConvertRun::handClips(const QString& source)
{
    const StepOutputSettings settings =
        OutputSettingsFor(JobFormatForIndex(m_options.formatIndex), m_dataFolder, m_options.frameSizeIndex,
                          m_options.audioBitrateIndex);
    m_engine.setProfileFile(settings.profilePath);
    if (settings.audioCode)
        m_engine.setAudioFormat(settings.audioCode);
    const QString endText =
        m_options.endText.isEmpty() ? FormatEndSeconds(m_engine.durationSeconds(source)) : m_options.endText;
    const ClipSpan span = ConversionSpan(m_options.startText, endText);
    m_engine.clearClips();
    m_engine.addVideoClip(source, span.startSeconds, span.endSeconds, m_options.stretchMode);
    m_engine.addAudioClip(source, span.startSeconds, span.endSeconds);
}

void CConvertRun::onProgress(double positionSeconds, double totalSeconds)
{
    if (!m_writing)
        return;
    const ProgressSample sample{positionSeconds, double(m_clock.nsecsElapsed()) / 1e9};
    if (!m_firstProgress)
        m_firstProgress = sample;
    m_lastProgress = RunProgress{positionSeconds, totalSeconds, sample.elapsedSeconds};
    m_output->progressed(m_current, m_lastProgress, EstimateProgress(*m_firstProgress, sample, totalSeconds));
}

void CConvertRun::onFinished()
{
    if (!m_writing)
        return;
    m_writing = false;
    m_lastProgress.elapsedSeconds = double(m_clock.nsecsElapsed()) / 1e9;
    if (m_engine.lastWriteFailed()) {
        m_anyFailed = true;
        m_output->failed(m_current, m_engine.lastError());
    } else {
        m_output->done(m_current, m_lastProgress);
    }
    nextLater();
}

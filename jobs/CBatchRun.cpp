#include "CBatchRun.h"

#include "DataFolder.h"
#include "IBatchRunView.h"
#include "IClock.h"
#include "IJobRows.h"
#include "JobOutput.h"
#include "JobRowText.h"
#include "NamePattern.h"
#include "RowClips.h"
#include "engine/IVideoEngine.h"
#include "platform/FileNames.h"

#include <QCoreApplication>

CBatchRun::CBatchRun(IVideoEngine& engine, IJobRows& rows, IBatchRunView& view, const IClock& clock)
    : m_engine(engine), m_rows(rows), m_view(view), m_clock(clock)
{
}

void CBatchRun::Convert()
{
    m_batchOutputs.clear();
    m_skippedRows.clear();
    StartBatch();
    RunStep();
}

void CBatchRun::RunStep()
{
    const int row = FindRowToConvert();
    if (row < 0) {
        EndBatch(BatchEnd::Done); // first: Stop would end it as stopped
        Stop();
        return;
    }
    const StepSettings settings = m_view.CurrentSettings();
    const ClipSpan span = ConversionSpan(m_rows.CellText(row, kStartColumn), m_rows.CellText(row, kEndColumn));
    AddRowClips(m_engine, m_rows, row, span.startSeconds, span.endSeconds, settings.stretchMode);
    QString refusal;
    const QString outputPath = ChooseOutput(row, settings, &refusal);
    if (outputPath.isEmpty() && refusal.isEmpty()) {
        m_rows.SetCellText(row, kStatusColumn, kStatusSkipped);
        m_skippedRows << m_rows.FollowRow(row);
        RunStep();
        return;
    }
    if (outputPath.isEmpty() && m_bConverting)
        m_engine.Stop(); // as a new SaveFile would, a refused step ends the write in progress
    if (outputPath.isEmpty() || !m_engine.SaveFile(outputPath)) {
        EndWrite();
        EndBatch(BatchEnd::Failed);
        ReportSaveFail(row, outputPath.isEmpty() ? refusal : m_engine.LastErrorText());
        return;
    }
    m_batchOutputs << outputPath;
    BeginWrite(row);
}

// Visits every index from the row count down to 0, resetting the engine's clip list
// on each visit; the last checked row visited is the lowest one.
int CBatchRun::FindRowToConvert()
{
    const int count = m_rows.RowCount();
    int found = -1;
    for (int row = count; row >= 0; --row) {
        m_engine.SetOutputMode(kWindowsMediaOutputMode);
        m_engine.SetClipOption(kDefaultClipOption);
        m_engine.ClearClips();
        if (row < count && m_rows.IsRowChecked(row) && !IsSkipped(row))
            found = row;
    }
    return found;
}

bool CBatchRun::IsSkipped(int row) const
{
    for (const QPersistentModelIndex& skipped : m_skippedRows) {
        if (skipped.isValid() && skipped.row() == row)
            return true;
    }
    return false;
}

// Gives the engine the output settings and returns the output path, or an empty
// string, with the reason, when the row's output must not be written; an empty
// string without a reason when the row is skipped.
QString CBatchRun::ChooseOutput(int row, const StepSettings& settings, QString* refusal)
{
    const OutputContainer& format = JobFormatForIndex(settings.formatIndex);
    if (IsVideoFormat(format)) {
        const QString profile =
            ProfilePath(DataFolder(QCoreApplication::applicationDirPath()), settings.frameSizeIndex);
        if (!profile.isEmpty())
            m_engine.SetProfileFile(profile);
    } else {
        m_engine.SetProfileFile(QString());
        m_engine.SetAudioFormat(short(settings.audioCode));
    }
    const QString fileName = OutputName(row, settings, format);
    if (fileName.isEmpty()) {
        *refusal = kNoUsableNameReason;
        return QString();
    }
    const QString outputPath =
        ResolveExistingOutput(OutputPath(settings.outputFolder, fileName), m_options.ifExists,
                              [this](const QString& path) { return FileExists(path) || IsInUse(path); });
    if (outputPath.isEmpty())
        return QString();
    if (IsInUse(outputPath)) {
        *refusal = kOutputInUseReason;
        return QString();
    }
    if (!ApplyQuality(m_options.quality)) {
        *refusal = QStringLiteral("check: the engine refused the video quality");
        return QString();
    }
    return outputPath;
}

QString CBatchRun::OutputName(int row, const StepSettings& settings, const OutputContainer& format) const
{
    const NameFields fields{m_rows.CellText(row, kTitleColumn),
                            m_rows.CellText(row, kPathColumn),
                            settings.frameSizeIndex,
                            QDate::currentDate(),
                            row + 1,
                            m_rows.RowCount()};
    return PatternFileName(m_options.namePattern, fields, format);
}

// The profile's rate is what the engine does untold, so it is never sent.
bool CBatchRun::ApplyQuality(const VideoQuality& quality)
{
    switch (quality.mode) {
    case QualityMode::ProfileBitrate: return true;
    case QualityMode::ConstantQuality:
        return m_engine.SetVideoQuality(long(quality.mode), int(quality.level));
    case QualityMode::TargetSize:
        return m_engine.SetVideoQuality(long(quality.mode), quality.targetMegabytes);
    }
    return true;
}

bool CBatchRun::IsInUse(const QString& outputPath) const
{
    QStringList inUse = m_batchOutputs;
    for (int row = 0; row < m_rows.RowCount(); ++row)
        inUse << m_rows.CellText(row, kPathColumn);
    const auto sameFile = [this](const QString& a, const QString& b) { return m_engine.IsSameFile(a, b); };
    return !IsSafeOutput(outputPath, inUse, sameFile);
}

void CBatchRun::OnEngineFinished()
{
    emit engineFinished();
    m_view.EmptyProgress();
    const bool wasConverting = m_bConverting;
    const QPersistentModelIndex finishedRow = m_currentRow;
    EndWrite();
    if (!wasConverting)
        return;
    if (m_engine.LastWriteFailed()) {
        EndBatch(BatchEnd::Failed);
        ReportSaveFail(finishedRow.isValid() ? finishedRow.row() : -1, m_engine.LastErrorText());
        return;
    }
    ++m_nBatchConverted;
    // A row removed while it was written has nothing left to mark.
    if (finishedRow.isValid()) {
        m_rows.SetRowChecked(finishedRow.row(), false);
        m_rows.SetCellText(finishedRow.row(), kStatusColumn, kStatusCompleted);
    }
    if (m_bStopAfterFile)
        Stop();
    else
        RunStep();
}

// The row keeps its status; why it failed is its status cell's tooltip.
void CBatchRun::ReportSaveFail(int row, const QString& reason)
{
    if (row >= 0)
        m_rows.SetCellToolTip(row, kStatusColumn, reason);
    m_view.Tell(QStringLiteral("Save Fail"));
}

void CBatchRun::OnEngineProgress(double position, double total)
{
    m_view.ShowProgress(MapProgress(position, total));
    ShowWriteProgress(position, total);
}

void CBatchRun::StopConverting()
{
    if (!m_view.AskOkCancel(QStringLiteral("Do you want to Stop Converting?"), QStringLiteral("Warning!")))
        return;
    // Looked at after the question: the batch may have moved on while it was open.
    if (m_currentRow.isValid())
        m_rows.SetCellText(m_currentRow.row(), kStatusColumn, kStatusAbort);
    Stop();
}

void CBatchRun::Stop()
{
    m_engine.Stop();
    EndWrite();
    EndBatch(BatchEnd::Stopped);
}

void CBatchRun::TogglePause()
{
    if (!m_bConverting)
        return;
    m_bPaused = !m_bPaused;
    if (m_bPaused)
        m_pauseStartMs = m_clock.NowMs();
    else
        m_pausedMs += m_clock.NowMs() - m_pauseStartMs;
    m_engine.SetWritePaused(m_bPaused);
    ShowRunText();
}

void CBatchRun::ToggleStopAfterThisFile()
{
    if (m_bBatchRunning)
        m_bStopAfterFile = !m_bStopAfterFile;
}

int CBatchRun::WritingRow() const
{
    return m_bConverting && m_currentRow.isValid() ? m_currentRow.row() : -1;
}

// A new write starts unpaused, as the engine starts it.
void CBatchRun::BeginWrite(int row)
{
    m_currentRow = m_rows.FollowRow(row);
    m_bConverting = true;
    m_writeStartMs = m_clock.NowMs();
    m_firstProgress.reset();
    m_lastProgress.reset();
    m_bPaused = false;
    m_pausedMs = 0;
    emit writeChanged();
}

void CBatchRun::EndWrite()
{
    m_bConverting = false;
    m_bPaused = false;
    m_currentRow = QPersistentModelIndex();
    emit writeChanged();
}

void CBatchRun::StartBatch()
{
    if (m_bBatchRunning)
        return;
    m_bBatchRunning = true;
    m_nBatchConverted = 0;
}

void CBatchRun::ShowWriteProgress(double position, double total)
{
    if (!m_bConverting)
        return; // a late event of a write that was stopped
    const ProgressSample sample{position, ActiveSeconds()};
    if (!m_firstProgress)
        m_firstProgress = sample;
    m_lastProgress = sample;
    m_totalSeconds = total;
    ShowRunText();
}

void CBatchRun::ShowRunText()
{
    QString text =
        ProgressText(m_lastProgress ? EstimateProgress(*m_firstProgress, *m_lastProgress, m_totalSeconds)
                                    : ProgressEstimate());
    if (m_bPaused)
        text = QStringLiteral("Paused, ") + text;
    const QString title =
        m_currentRow.isValid() ? m_rows.CellText(m_currentRow.row(), kTitleColumn) : QString();
    m_view.ShowRunProgress(text, title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

// Seconds since the write started, less the time it spent paused.
double CBatchRun::ActiveSeconds() const
{
    const qint64 nowMs = m_clock.NowMs();
    const qint64 pausedMs = m_pausedMs + (m_bPaused ? nowMs - m_pauseStartMs : 0);
    return (nowMs - m_writeStartMs - pausedMs) / 1000.0;
}

void CBatchRun::EndBatch(BatchEnd end)
{
    if (!m_bBatchRunning)
        return;
    m_bBatchRunning = false;
    m_bStopAfterFile = false;
    m_view.ShowNoRun();
    const QString summary = BatchSummaryText(m_nBatchConverted, end);
    if (!summary.isEmpty())
        m_view.Notify(summary);
    emit batchEnded(end, m_nBatchConverted);
}

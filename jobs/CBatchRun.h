// A batch of conversions: each step hands the lowest checked row to the engine, and
// the engine's Finished starts the next step, until no checked row is left, a row
// fails or the user stops the batch.
#pragma once

#include "BatchSummary.h"
#include "ConverterOptions.h"
#include "ProgressEstimate.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>

#include <optional>

class IBatchRunView;
class IClock;
class IJobRows;
class IVideoEngine;
struct OutputContainer;
struct StepSettings;

class CBatchRun : public QObject
{
    Q_OBJECT
public:
    CBatchRun(IVideoEngine& engine, IJobRows& rows, IBatchRunView& view, const IClock& clock);

    // The quality, the name pattern and the rule for an existing output of the steps to come.
    void SetOptions(const ConverterOptions& options) { m_options = options; }

    // One step on the lowest checked row; pressed during a batch, the batch goes on.
    void Convert();
    void OnEngineFinished();
    void OnEngineProgress(double position, double total);
    // Asks first; on OK marks the row being written "Abort" and stops.
    void StopConverting();
    // A stopped write is discarded and sends no Finished, so the run ends here.
    void Stop();
    // Holds the file being written where it stands, or lets it go on; nothing while none is.
    void TogglePause();
    bool IsPaused() const { return m_bPaused; }
    // Ends the batch once the file being written is done; asked again, takes it back.
    void ToggleStopAfterThisFile();
    // The row being written; -1 while none is.
    int WritingRow() const;

signals:
    // Every Finished of the engine, before the run acts on it.
    void engineFinished();
    // A write started or ended.
    void writeChanged();
    // Once a batch is over, with how many files it wrote.
    void batchEnded(BatchEnd end, int converted);

private:
    void RunStep();
    int FindRowToConvert();
    QString ChooseOutput(int row, const StepSettings& settings, QString* refusal);
    QString OutputName(int row, const StepSettings& settings, const OutputContainer& format) const;
    bool ApplyQuality(const VideoQuality& quality);
    bool IsSkipped(int row) const;
    bool IsInUse(const QString& outputPath) const;
    void ReportSaveFail(int row, const QString& reason);
    void BeginWrite(int row);
    void EndWrite();
    void StartBatch();
    void ShowWriteProgress(double position, double total);
    void ShowRunText();
    double ActiveSeconds() const;
    void EndBatch(BatchEnd end);

    IVideoEngine& m_engine;
    IJobRows& m_rows;
    IBatchRunView& m_view;
    const IClock& m_clock;
    ConverterOptions m_options;

    // The write: the current row, followed across removals of rows.
    QPersistentModelIndex m_currentRow;
    bool m_bConverting = false;
    qint64 m_writeStartMs = 0;
    std::optional<ProgressSample> m_firstProgress;
    std::optional<ProgressSample> m_lastProgress;
    double m_totalSeconds = 0;
    // Paused time is left out of the estimate.
    bool m_bPaused = false;
    qint64 m_pauseStartMs = 0;
    qint64 m_pausedMs = 0;

    // The batch: from Convert until no checked row is left, a row fails or the user stops.
    bool m_bBatchRunning = false;
    int m_nBatchConverted = 0;
    bool m_bStopAfterFile = false;
    QStringList m_batchOutputs; // of the writes started since Convert was pressed
    // Rows whose output existed; they stay checked, and the batch passes them by.
    QList<QPersistentModelIndex> m_skippedRows;
};

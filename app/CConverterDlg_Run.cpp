// The conversion run: each step hands the lowest checked row to the engine, and
// the engine's Finished starts the next step, until no checked row is left.
#include "CConverterDlg.h"

#include "engine/OutputFormats.h"
#include "jobs/DataFolder.h"
#include "jobs/JobOutput.h"
#include "jobs/JobRowText.h"
#include "jobs/OutputFolderStore.h"
#include "jobs/ProgressSteps.h"
#include "platform/CPlatformUi.h"
#include "res/resource.h"

#include <QCoreApplication>

namespace {
constexpr int kStretchModeCount = 4;
} // namespace

void CConverterDlg::OnConvert()
{
    m_batchOutputs.clear();
    StartBatch();
    RunConvertStep();
}

void CConverterDlg::RunConvertStep()
{
    const int row = FindRowToConvert();
    if (row < 0) {
        EndBatch(BatchEnd::Done); // first: StopEngine would end it as stopped
        StopEngine();
        m_nCurrentRow = 0;
        return;
    }
    m_nCurrentRow = row;
    AddRowClips(row, ParseLeadingInteger(CellText(row, kStartColumn)),
                ParseLeadingDecimal(CellText(row, kEndColumn)));
    QString refusal;
    const QString outputPath = ChooseOutput(row, &refusal);
    if (outputPath.isEmpty() && m_bConverting)
        m_ctlEngine->Stop(); // as a new SaveFile would, a refused step ends the write in progress
    if (outputPath.isEmpty() || !m_ctlEngine->SaveFile(outputPath)) {
        EndRun();
        EndBatch(BatchEnd::Failed);
        ReportSaveFail(row, outputPath.isEmpty() ? refusal : m_ctlEngine->LastErrorText());
        return;
    }
    m_batchOutputs << outputPath;
    m_runRow = QPersistentModelIndex(m_lstJobs.model()->index(row, kTitleColumn));
    m_bConverting = true;
    m_stepClock.start();
    m_firstProgress.reset();
}

// Visits every index from the row count down to 0, resetting the engine's clip list
// on each visit; the last checked row visited is the lowest one.
int CConverterDlg::FindRowToConvert()
{
    const int count = m_lstJobs.rowCount();
    int found = -1;
    for (int row = count; row >= 0; --row) {
        m_ctlEngine->SetOutputMode(kWindowsMediaOutputMode);
        m_ctlEngine->SetClipOption(kDefaultClipOption);
        m_ctlEngine->ClearClips();
        if (row < count && IsRowChecked(row))
            found = row;
    }
    return found;
}

// The conversion and the preview hand a row's clip over alike; only how they read
// its times differs.
void CConverterDlg::AddRowClips(int row, int startSeconds, double endSeconds)
{
    const QString path = CellText(row, kPathColumn);
    m_ctlEngine->AddVideoClip(path, startSeconds, endSeconds, short(m_nStretchMode));
    m_ctlEngine->AddAudioClip(path, startSeconds, endSeconds);
}

// Gives the engine the output settings and returns the output path, or an empty
// string, with the reason, when the row's output must not be written.
QString CConverterDlg::ChooseOutput(int row, QString* refusal)
{
    const OutputContainer& format = JobFormatForIndex(m_cboProfile.currentIndex());
    const QString fileName = OutputFileName(CellText(row, kTitleColumn), format);
    if (IsVideoFormat(format)) {
        const QString profile =
            ProfilePath(DataFolder(QCoreApplication::applicationDirPath()), m_cboSize.currentIndex());
        if (!profile.isEmpty())
            m_ctlEngine->SetProfileFile(profile);
    } else {
        OnAudioBitrateChange(); // the bit rate list is read again when a step runs
        m_ctlEngine->SetProfileFile(QString());
        m_ctlEngine->SetAudioFormat(short(m_nAudioCode));
    }
    if (fileName.isEmpty()) {
        *refusal = kNoUsableNameReason;
        return QString();
    }
    const QString outputPath = OutputPath(m_szOutputFolder, fileName);
    QStringList inUse = m_batchOutputs;
    for (int other = 0; other < m_lstJobs.rowCount(); ++other)
        inUse << CellText(other, kPathColumn);
    const auto sameFile = [this](const QString& a, const QString& b) { return m_ctlEngine->IsSameFile(a, b); };
    if (IsSafeOutput(outputPath, inUse, sameFile))
        return outputPath;
    *refusal = kOutputInUseReason;
    return QString();
}

void CConverterDlg::OnEngineFinished()
{
    m_ctlProgress.setValue(0);
    const bool wasConverting = m_bConverting;
    const QPersistentModelIndex finishedRow = m_runRow;
    EndRun();
    SetPreviewState(false, false);
    if (!wasConverting)
        return;
    if (m_ctlEngine->LastWriteFailed()) {
        EndBatch(BatchEnd::Failed);
        ReportSaveFail(finishedRow.isValid() ? finishedRow.row() : -1, m_ctlEngine->LastErrorText());
        return;
    }
    ++m_nBatchConverted;
    // A row removed while it was written has nothing left to mark.
    if (finishedRow.isValid()) {
        SetRowChecked(finishedRow.row(), false);
        SetCellText(finishedRow.row(), kStatusColumn, kStatusCompleted);
    }
    RunConvertStep();
}

// The row keeps its status; why it failed is its status cell's tooltip.
void CConverterDlg::ReportSaveFail(int row, const QString& reason)
{
    if (QTableWidgetItem* status = row >= 0 ? m_lstJobs.item(row, kStatusColumn) : nullptr)
        status->setToolTip(reason);
    Message(QStringLiteral("Save Fail"), kMbOk);
}

void CConverterDlg::OnEngineProgress(double position, double total)
{
    m_ctlProgress.SetBarColor(CLR_PROGRESS_BAR);
    const ProgressSteps steps = MapProgress(position, total);
    m_ctlProgress.setRange(0, steps.maximum);
    m_ctlProgress.setValue(steps.value);
    ShowRunProgress(position, total);
}

void CConverterDlg::OnStopConverting()
{
    const int answer = CPlatformUi::Get().MessageBox(this, QStringLiteral("Do you want to Stop Converting?"),
                                                     QStringLiteral("Warning!"), kMbOkCancel);
    if (answer != IDOK)
        return;
    // Asked after the question: the batch may have moved on while it was open.
    if (m_runRow.isValid())
        SetCellText(m_runRow.row(), kStatusColumn, kStatusAbort);
    StopEngine();
    m_nCurrentRow = 0;
}

void CConverterDlg::OnStop()
{
    StopEngine();
}

// A stopped write is discarded and sends no Finished, so the run ends here.
void CConverterDlg::StopEngine()
{
    m_ctlEngine->Stop();
    EndRun();
    EndBatch(BatchEnd::Stopped);
}

void CConverterDlg::EndRun()
{
    m_bConverting = false;
    m_runRow = QPersistentModelIndex();
}

// Convert pressed during a batch goes on with the same batch.
void CConverterDlg::StartBatch()
{
    if (m_bBatchRunning)
        return;
    m_bBatchRunning = true;
    m_nBatchConverted = 0;
    m_strIdleTitle = windowTitle();
    m_strIdleBarTip = m_ctlProgress.toolTip();
}

// The title is what the taskbar shows, so the run can be followed from there.
void CConverterDlg::ShowRunProgress(double position, double total)
{
    if (!m_bConverting)
        return; // a late event of a write that was stopped
    const ProgressSample sample{position, m_stepClock.elapsed() / 1000.0};
    if (!m_firstProgress)
        m_firstProgress = sample;
    const QString text = ProgressText(EstimateProgress(*m_firstProgress, sample, total));
    const QString title = m_runRow.isValid() ? CellText(m_runRow.row(), kTitleColumn) : QString();
    m_ctlProgress.setToolTip(title.isEmpty() ? text : title + QStringLiteral(": ") + text);
    setWindowTitle(text + QStringLiteral(" - ") + m_strIdleTitle);
}

void CConverterDlg::EndBatch(BatchEnd end)
{
    if (!m_bBatchRunning)
        return;
    m_bBatchRunning = false;
    setWindowTitle(m_strIdleTitle);
    m_ctlProgress.setToolTip(m_strIdleBarTip);
    const QString summary = BatchSummaryText(m_nBatchConverted, end);
    if (!summary.isEmpty())
        CPlatformUi::Get().Notify(summary);
}

void CConverterDlg::OnSelectOutputFolder()
{
    const QString chosen =
        CPlatformUi::Get().BrowseForFolder(this, QStringLiteral("Select folder"), m_szOutputFolder);
    if (chosen.isEmpty())
        return;
    m_szOutputFolder = WithTrailingSeparator(chosen);
    m_edtOutputFolder.clear();
    m_edtOutputFolder.setText(m_szOutputFolder);
    StoreOutputFolder(m_szOutputFolder);
}

void CConverterDlg::OnStretchModeChange()
{
    const int index = m_cboStretch.currentIndex();
    if (index >= 0 && index < kStretchModeCount)
        m_nStretchMode = index;
}

void CConverterDlg::OnAudioBitrateChange()
{
    if (const int code = AudioCodeForIndex(m_cboBitrate.currentIndex()))
        m_nAudioCode = code;
}

// The conversion run as the window hosts it: its commands go to the batch run, which
// shows its progress and asks its questions here. The output settings live here too.
#include "CConverterDlg.h"

#include "jobs/JobOutput.h"
#include "jobs/OutputFolderStore.h"
#include "platform/CPlatformUi.h"
#include "res/ColorRef.h"
#include "res/StringTable.h"
#include "res/resource.h"

void CConverterDlg::OnConvert()
{
    m_run.Convert();
}

void CConverterDlg::OnEngineFinished()
{
    m_run.OnEngineFinished();
}

void CConverterDlg::OnEngineProgress(double position, double total)
{
    m_run.OnEngineProgress(position, total);
}

void CConverterDlg::OnStopConverting()
{
    m_run.StopConverting();
}

void CConverterDlg::OnStop()
{
    m_run.Stop();
}

void CConverterDlg::OnPauseConverting()
{
    m_run.TogglePause();
}

void CConverterDlg::OnStopAfterThisFile()
{
    m_run.ToggleStopAfterThisFile();
}

void CConverterDlg::OnSelectOutputFolder()
{
    const QString chosen =
        CPlatformUi::Get().BrowseForFolder(this, QStringLiteral("Select folder"), m_szOutputFolder);
    if (!chosen.isEmpty())
        SetOutputFolder(chosen);
}

void CConverterDlg::SetOutputFolder(const QString& folder)
{
    m_szOutputFolder = WithTrailingSeparator(folder);
    m_edtOutputFolder.clear();
    m_edtOutputFolder.setText(m_szOutputFolder);
    StoreOutputFolder(m_szOutputFolder);
}

void CConverterDlg::OnStretchModeChange()
{
    const int index = m_cboStretch.currentIndex();
    if (index >= 0 && index < m_cboStretch.count()) // the list holds the engine's four modes
        m_nStretchMode = index;
}

void CConverterDlg::OnAudioBitrateChange()
{
    if (const int code = AudioCodeForIndex(m_cboBitrate.currentIndex()))
        m_nAudioCode = code;
}

// The format and the frame size are read when a step runs, the bit rate list again too.
StepSettings CConverterDlg::CurrentSettings()
{
    OnAudioBitrateChange();
    return StepSettings{m_cboProfile.currentIndex(), m_cboSize.currentIndex(), m_nStretchMode, m_nAudioCode,
                        m_szOutputFolder};
}

void CConverterDlg::ShowProgress(const ProgressSteps& steps)
{
    m_ctlProgress.SetBarColor(CLR_PROGRESS_BAR);
    m_ctlProgress.setRange(0, steps.maximum);
    m_ctlProgress.setValue(steps.value);
}

void CConverterDlg::EmptyProgress()
{
    m_ctlProgress.setValue(0);
}

// The title is what the taskbar shows, so the run can be followed from there.
void CConverterDlg::ShowRunProgress(const QString& progressText, const QString& barTip)
{
    m_ctlProgress.setToolTip(barTip);
    setWindowTitle(progressText + QStringLiteral(" - " kProductName));
}

void CConverterDlg::ShowNoRun()
{
    setWindowTitle(QStringLiteral(kProductName));
    m_ctlProgress.setToolTip(QString());
}

void CConverterDlg::Notify(const QString& summary)
{
    CPlatformUi::Get().Notify(summary);
}

void CConverterDlg::Tell(const QString& text)
{
    Message(text, kMbOk);
}

bool CConverterDlg::AskOkCancel(const QString& question, const QString& caption)
{
    return CPlatformUi::Get().MessageBox(this, question, caption, kMbOkCancel) == IDOK;
}

// Preview transport of the main window. The engine has no seek: every transport
// action rebuilds its clip list from a row and plays again. Times are whole seconds.
#include "CConverterDlg.h"

#include "jobs/JobRowText.h"
#include "platform/CPlatformUi.h"
#include "res/resource.h"

#include <algorithm>
#include <limits>

namespace {
constexpr int kSkipSeconds = 10;

// Saturates instead of overflowing on starts near the ends of the int range.
int ShiftSeconds(int seconds, int deltaSeconds)
{
    const qint64 shifted = qint64(seconds) + deltaSeconds;
    return int(std::clamp<qint64>(shifted, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

void CConverterDlg::OnPlay()
{
    if (m_lstJobs.rowCount() == 0) {
        Message(QStringLiteral("Please input item to the list"), kMbOk);
        return;
    }
    const int row = FirstSelectedRow();
    if (row < 0) {
        Message(QStringLiteral("Please select item in the list"), kMbOk);
        return;
    }
    if (m_bPlaying) {
        m_ctlEngine->Pause();
        SetPreviewState(false, true);
        return;
    }
    if (m_bPaused) {
        m_ctlEngine->Resume();
        SetPreviewState(true, false);
        return;
    }
    m_ctlEngine->SetClipOption(kDefaultClipOption);
    m_ctlEngine->ClearClips();
    m_nPreviewRow = row;
    PlayPreviewRowFromItsStart();
    SetPreviewState(true, false);
}

void CConverterDlg::OnStopPreview()
{
    StopEngine();
    m_nCurrentRow = 0;
    SetPreviewState(false, false);
}

void CConverterDlg::OnNextClip()
{
    m_ctlEngine->ClearClips();
    ++m_nPreviewRow;
    if (m_nPreviewRow + 1 > m_lstJobs.rowCount())
        m_nPreviewRow = 0;
    PlayPreviewRowFromItsStart();
}

void CConverterDlg::OnPrevClip()
{
    --m_nPreviewRow;
    if (m_nPreviewRow < 0)
        m_nPreviewRow = m_lstJobs.rowCount() - 1;
    m_ctlEngine->ClearClips();
    PlayPreviewRowFromItsStart();
}

// Back 10 and Forward 10 each move both starts, then clamp only their own: the
// other keeps the unclamped value, so Back then Forward returns to the same second.
void CConverterDlg::OnBack10()
{
    m_nBackStart = ShiftSeconds(m_nBackStart, -kSkipSeconds);
    m_nFwdStart = m_nBackStart;
    m_ctlEngine->ClearClips();
    if (m_nBackStart < 0)
        m_nBackStart = 0;
    PlayPreviewFrom(m_nBackStart);
}

void CConverterDlg::OnForward10()
{
    m_nFwdStart = ShiftSeconds(m_nFwdStart, kSkipSeconds);
    m_nBackStart = m_nFwdStart;
    m_ctlEngine->ClearClips();
    if (m_nFwdStart > ParseLeadingInteger(CellText(m_nPreviewRow, kEndColumn)))
        m_nFwdStart = 0;
    PlayPreviewFrom(m_nFwdStart);
}

void CConverterDlg::PlayPreviewRowFromItsStart()
{
    const int startSeconds = ParseLeadingInteger(CellText(m_nPreviewRow, kStartColumn));
    PlayPreviewFrom(startSeconds);
    m_nBackStart = startSeconds;
    m_nFwdStart = startSeconds;
}

// A row index that names no row reads as empty text: empty path, times 0.
void CConverterDlg::PlayPreviewFrom(int startSeconds)
{
    AddRowClips(m_nPreviewRow, startSeconds, ParseLeadingInteger(CellText(m_nPreviewRow, kEndColumn)));
    m_ctlEngine->Play();
}

// The play button shows its pause look while a preview plays, and repaints at once.
void CConverterDlg::SetPreviewState(bool playing, bool paused)
{
    m_bPlaying = playing;
    m_bPaused = paused;
    m_btnPlay.setUpdatesEnabled(false);
    if (playing)
        m_btnPlay.SetStateImages(IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER);
    else
        m_btnPlay.SetStateImages(IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER);
    m_btnPlay.setUpdatesEnabled(true);
    m_btnPlay.repaint();
}

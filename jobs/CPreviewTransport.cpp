#include "CPreviewTransport.h"

#include "CBatchRun.h"
#include "IJobRows.h"
#include "IPreviewView.h"
#include "JobRowText.h"
#include "RowClips.h"
#include "engine/IVideoEngine.h"

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

CPreviewTransport::CPreviewTransport(IVideoEngine& engine, IJobRows& rows, IPreviewView& view, CBatchRun& run)
    : m_engine(engine), m_rows(rows), m_view(view), m_run(run)
{
    connect(&run, &CBatchRun::engineFinished, this, [this] { SetState(false, false); });
}

void CPreviewTransport::Play()
{
    if (m_rows.RowCount() == 0) {
        m_view.Tell(QStringLiteral("Please input item to the list"));
        return;
    }
    const int row = m_rows.FirstSelectedRow();
    if (row < 0) {
        m_view.Tell(QStringLiteral("Please select item in the list"));
        return;
    }
    if (m_bPlaying) {
        m_engine.Pause();
        SetState(false, true);
        return;
    }
    if (m_bPaused) {
        m_engine.Resume();
        SetState(true, false);
        return;
    }
    m_engine.SetClipOption(kDefaultClipOption);
    m_engine.ClearClips();
    m_nPreviewRow = row;
    PlayRowFromItsStart();
    SetState(true, false);
}

void CPreviewTransport::Stop()
{
    m_run.Stop();
    SetState(false, false);
}

void CPreviewTransport::NextClip()
{
    m_engine.ClearClips();
    ++m_nPreviewRow;
    if (m_nPreviewRow + 1 > m_rows.RowCount())
        m_nPreviewRow = 0;
    PlayRowFromItsStart();
}

void CPreviewTransport::PrevClip()
{
    --m_nPreviewRow;
    if (m_nPreviewRow < 0)
        m_nPreviewRow = m_rows.RowCount() - 1;
    m_engine.ClearClips();
    PlayRowFromItsStart();
}

// Back 10 and Forward 10 each move both starts, then clamp only their own: the
// other keeps the unclamped value, so Back then Forward returns to the same second.
void CPreviewTransport::Back10()
{
    m_nBackStart = ShiftSeconds(m_nBackStart, -kSkipSeconds);
    m_nFwdStart = m_nBackStart;
    m_engine.ClearClips();
    if (m_nBackStart < 0)
        m_nBackStart = 0;
    PlayFrom(m_nBackStart);
}

void CPreviewTransport::Forward10()
{
    m_nFwdStart = ShiftSeconds(m_nFwdStart, kSkipSeconds);
    m_nBackStart = m_nFwdStart;
    m_engine.ClearClips();
    if (m_nFwdStart > EndSeconds())
        m_nFwdStart = 0;
    PlayFrom(m_nFwdStart);
}

void CPreviewTransport::PlayRowFromItsStart()
{
    const int startSeconds = ParseLeadingInteger(m_rows.CellText(m_nPreviewRow, kStartColumn));
    PlayFrom(startSeconds);
    m_nBackStart = startSeconds;
    m_nFwdStart = startSeconds;
}

// A row index that names no row reads as empty text: empty path, times 0.
void CPreviewTransport::PlayFrom(int startSeconds)
{
    AddRowClips(m_engine, m_rows, m_nPreviewRow, startSeconds, EndSeconds(), m_view.StretchMode());
    m_engine.Play();
}

int CPreviewTransport::EndSeconds() const
{
    return ParseLeadingInteger(m_rows.CellText(m_nPreviewRow, kEndColumn));
}

void CPreviewTransport::SetState(bool playing, bool paused)
{
    m_bPlaying = playing;
    m_bPaused = paused;
    m_view.ShowPlayLook(playing);
}

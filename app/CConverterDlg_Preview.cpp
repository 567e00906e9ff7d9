// The preview transport as the window hosts it: the buttons go to the transport,
// which shows its state on the play button.
#include "CConverterDlg.h"

#include "res/resource.h"

void CConverterDlg::OnPlay()
{
    m_preview.Play();
}

void CConverterDlg::OnStopPreview()
{
    m_preview.Stop();
}

void CConverterDlg::OnNextClip()
{
    m_preview.NextClip();
}

void CConverterDlg::OnPrevClip()
{
    m_preview.PrevClip();
}

void CConverterDlg::OnBack10()
{
    m_preview.Back10();
}

void CConverterDlg::OnForward10()
{
    m_preview.Forward10();
}

int CConverterDlg::StretchMode() const
{
    return m_nStretchMode;
}

void CConverterDlg::ShowPlayLook(bool playing)
{
    m_btnPlay.setUpdatesEnabled(false);
    if (playing)
        m_btnPlay.SetStateImages(IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER);
    else
        m_btnPlay.SetStateImages(IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER);
    m_btnPlay.setUpdatesEnabled(true);
    m_btnPlay.repaint();
}

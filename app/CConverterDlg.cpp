#include "CConverterDlg.h"

#include "engine/CDirarAror.h"
#include "jobs/IClock.h"
#include "res/SkinBitmaps.h"
#include "res/resource.h"

CConverterDlg::CConverterDlg(std::unique_ptr<IVideoEngine> engine, QWidget* parent)
    : QDialog(parent), m_ctlEngine(engine ? std::move(engine) : std::make_unique<CDirarAror>()),
      m_hIcon(LoadAppIcon()), m_rows(m_lstJobs), m_run(*m_ctlEngine, m_rows, *this, SteadyClock()),
      m_preview(*m_ctlEngine, m_rows, *this, m_run)
{
    OnInitDialog();
}

CConverterDlg::~CConverterDlg()
{
    // Members go before the window itself: no engine event may reach it half-destroyed.
    m_ctlEngine->SetEventSink(nullptr);
}

QWidget* CConverterDlg::GetDlgItem(int id) const
{
    return m_controls.value(id, nullptr);
}

// Binds the template's controls to the members that stand for them.
QWidget* CConverterDlg::DoDataExchange(int id)
{
    switch (id) {
    case IDC_STOPCONVERT: return &m_btnStopConverting;
    case IDC_HOMEPAGE: return &m_btnHomePage;
    case IDC_LISTMENU: return &m_btnListMenu;
    case IDC_VIDEO_LABEL: return &m_stcVideo;
    case IDC_OUTPUTFOLDER: return &m_edtOutputFolder;
    case IDC_EXPLORE: return &m_btnExplore;
    case IDC_SELECTFOLDER: return &m_btnSelectFolder;
    case IDC_CONVERT: return &m_btnConvert;
    case IDC_ADDFILES: return &m_btnAddFiles;
    case IDC_HELPMENU: return &m_btnHelpMenu;
    case IDC_EDITMENU: return &m_btnEditMenu;
    case IDC_FILEMENU: return &m_btnFileMenu;
    case IDC_HELP: return &m_btnHelp;
    case IDC_STOPPREVIEW: return &m_btnStopPreview;
    case IDC_PLAY: return &m_btnPlay;
    case IDC_FORWARD10: return &m_btnForward10;
    case IDC_NEXTCLIP: return &m_btnNextClip;
    case IDC_BACK10: return &m_btnBack10;
    case IDC_PREVCLIP: return &m_btnPrevClip;
    case IDC_OUTPUTPROFILE: return &m_cboProfile;
    case IDC_AUDIOBITRATE: return &m_cboBitrate;
    case IDC_STRETCHMODE: return &m_cboStretch;
    case IDC_FRAMESIZE: return &m_cboSize;
    case IDC_PROGRESS: return &m_ctlProgress;
    case IDC_JOBLIST: return &m_lstJobs;
    case IDC_CLOSE: return &m_btnClose;
    case IDC_MINIMIZE: return &m_btnMinimize;
    case IDC_PICTURE: return &m_ctlPicture;
    case IDC_ENGINE: return m_ctlEngine->ControlWindow();
    case IDC_STRETCH_LABEL: return &m_stcStretchMode;
    case IDC_BITRATE_LABEL: return &m_stcBitrate;
    case IDC_PROFILE_LABEL: return &m_stcProfile;
    case IDC_FOLDER_LABEL: return &m_stcFolder;
    case IDC_SIZE_LABEL: return &m_stcSize;
    default: return nullptr;
    }
}

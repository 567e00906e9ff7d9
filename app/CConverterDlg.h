// The main window: a skinned, caption-less dialog that holds the job list, the
// output settings, the preview area and every command of the program. The batch
// run and the preview transport are classes of their own that it hosts and shows.
// Its code is split by concern: CConverterDlg.cpp (members and binding),
// CConverterDlg_Setup.cpp, CConverterDlg_Frame.cpp, CConverterDlg_Commands.cpp,
// CConverterDlg_JobList.cpp, CConverterDlg_SavedList.cpp, CConverterDlg_Run.cpp,
// CConverterDlg_Options.cpp and CConverterDlg_Preview.cpp.
#pragma once

#include "CJobListRows.h"
#include "engine/IVideoEngine.h"
#include "engine/OutputFormats.h"
#include "jobs/CBatchRun.h"
#include "jobs/CJobListStore.h"
#include "jobs/CPreviewTransport.h"
#include "jobs/IBatchRunView.h"
#include "jobs/IPreviewView.h"
#include "jobs/Presets.h"
#include "platform/CSessionPower.h"
#include "skin/CFlatComboBox.h"
#include "skin/CPicturePanel.h"
#include "skin/CSkinButton.h"
#include "skin/CSkinProgress.h"
#include "skin/CTransparentStatic.h"
#include "skin/CWhiteEdit.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QStringList>
#include <QTableWidget>
#include <QTimer>

#include <memory>

class CTextEntryDlg;
class CConverterDlg : public QDialog, public IVideoEngineEvents, private IBatchRunView, private IPreviewView
{
    Q_OBJECT
public:
    // engine: the video engine control; nullptr makes the real one.
    explicit CConverterDlg(std::unique_ptr<IVideoEngine> engine = nullptr, QWidget* parent = nullptr);
    ~CConverterDlg() override;

    // The control with the given id (dialog 102), or nullptr.
    QWidget* GetDlgItem(int id) const;
    // Runs a command of the command table; false when the id is not a command.
    bool OnCommand(int id);

    QString OutputFolder() const { return m_szOutputFolder; }

    // Frame
    void OnCloseButton();
    void OnMinimize();
    void OnSysCommand(int command);

    // Job list
    void OnOpenVideoFiles();
    // Files named on the command line: existing files are added, one message names the rest.
    void OnCommandLineFiles(const QStringList& arguments);
    // Files and folders dropped on the list or the picture panel.
    void OnDropFiles(const QStringList& paths);
    void OnRename();
    void OnEditStartTime();
    void OnEditEndTime();
    void OnCheckAll();
    void OnUncheckAll();
    void OnCheckSelected();
    void OnUncheckSelected();
    void OnRemove();
    void OnClear();

    // The job list kept on disk: from now on every change is saved, after a list that a
    // window left unfinished has been offered back.
    void StartJobList();
    void OnSaveList();
    void OnOpenList();
    // Ends the window; its kept list is marked finished.
    void done(int result) override;

    // Conversion run
    void OnConvert();
    void OnEngineFinished() override;
    void OnEngineProgress(double position, double total) override;
    void OnStopConverting();
    void OnStop();
    void OnPauseConverting();
    void OnStopAfterThisFile();
    void OnSelectOutputFolder();
    void OnStretchModeChange();
    void OnAudioBitrateChange();

    // Preview
    void OnPlay();
    void OnStopPreview();
    void OnPrevClip();
    void OnNextClip();
    void OnBack10();
    void OnForward10();

    // Menus and commands of the window itself
    void OnShowHelp();
    void OnFileMenuButton();
    void OnEditMenuButton();
    void OnHelpMenuButton();
    void OnExploreOutputFolder();
    void OnListMenuButton();
    void OnHomePage();
    void OnListRightClick();
    void OnAbout();

    // Options
    void OnOptions();
    // What the Options dialog's last OK, or a preset, left; stored.
    const ConverterOptions& Options() const { return m_options; }

protected:
    bool OnInitDialog();
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Setup
    void CreateControls();
    QWidget* DoDataExchange(int id);
    void SetupWindowShape();
    void SetupButtonImages();
    void SetupJobList();
    void SetupAccessibility();
    void ConnectCommands();
    void ApplyLayout();

    // Frame
    QPoint ScreenPos(const QPoint& windowPos) const;
    bool IsBackgroundAt(const QPoint& pos) const;
    void ShowWindowMenu(const QPoint& screenPos);

    // Menus
    void ShowMenu(int menuId, const QPoint& screenPos, bool rightButtonChooses);
    QString MenuItemText(int command, const char* text) const;
    QPoint BelowButton(int buttonId) const;

    // Job list helpers
    void SetupFileDrops();
    void AddFiles(const QStringList& paths, const QString& skipped = QString());
    void ShowJobList();
    void EditSelectedCell(CTextEntryDlg& dlg, int column);
    void SetAllChecked(bool checked);
    void SetSelectedChecked(bool checked);
    bool HasRowsOrTell();
    int SelectedRowOrTell();
    int Message(const QString& text, unsigned style = 0);

    // The kept job list
    void OfferJobList(const SavedJobList& list);
    QStringList AddSavedRows(const SavedJobList& list, const QString& listFile);
    void SaveJobList();

    // What the batch run shows and asks
    StepSettings CurrentSettings() override;
    void ShowProgress(const ProgressSteps& steps) override;
    void EmptyProgress() override;
    void ShowRunProgress(const QString& progressText, const QString& barTip) override;
    void ShowNoRun() override;
    void Notify(const QString& summary) override;
    void Tell(const QString& text) override;
    bool AskOkCancel(const QString& question, const QString& caption) override;

    // Options
    void SetupOptions();
    OutputChoices CurrentChoices() const;
    void ApplyPreset(const Preset& preset);
    void SetOutputFolder(const QString& folder);
    void TakeOptions(const ConverterOptions& options);
    void StoreLastUsed();
    void OnBatchEnded(BatchEnd end, int converted);
    void AskThenRequestPower(CSessionPower::Action action, const QString& actionText);
    void ReportOptionsFailure(const QString& text);

    // What the preview transport shows
    int StretchMode() const override;
    void ShowPlayLook(bool playing) override;

    QPixmap m_bmpBackground;
    CTransparentStatic m_stcStretchMode;       // 1139
    CTransparentStatic m_stcBitrate;           // 1161
    CTransparentStatic m_stcProfile;           // 1163
    CTransparentStatic m_stcFolder;            // 1165
    CTransparentStatic m_stcSize;              // 1102
    CSkinButton m_btnStopConverting;           // 1168
    CSkinButton m_btnHomePage;                 // 1167
    CSkinButton m_btnListMenu;                 // 1166
    QLabel m_stcVideo;                         // 1162
    CWhiteEdit m_edtOutputFolder;              // 1160
    CSkinButton m_btnExplore;                  // 1159
    CSkinButton m_btnSelectFolder;             // 1144
    CSkinButton m_btnConvert;                  // 1143
    CSkinButton m_btnAddFiles;                 // 1005
    CSkinButton m_btnHelpMenu;                 // 1158
    CSkinButton m_btnEditMenu;                 // 1157
    CSkinButton m_btnFileMenu;                 // 1156
    CSkinButton m_btnHelp;                     // 1154
    CSkinButton m_btnStopPreview;              // 1034
    CSkinButton m_btnPlay;                     // 1029
    CSkinButton m_btnForward10;                // 1149
    CSkinButton m_btnNextClip;                 // 1146
    CSkinButton m_btnBack10;                   // 1148
    CSkinButton m_btnPrevClip;                 // 1147
    CFlatComboBox m_cboProfile;                // 1153
    CFlatComboBox m_cboBitrate;                // 1152
    CFlatComboBox m_cboStretch;                // 1151
    CFlatComboBox m_cboSize;                   // 1150
    CSkinProgress m_ctlProgress;               // 1145
    QTableWidget m_lstJobs;                    // 1142
    CSkinButton m_btnClose;                    // 1136
    CSkinButton m_btnMinimize;                 // 1135
    CPicturePanel m_ctlPicture;                // 1080
    std::unique_ptr<IVideoEngine> m_ctlEngine; // 1010
    QString m_szOutputFolder;
    int m_nStretchMode = 0;
    int m_nAudioCode = kFirstAudioCode;
    QIcon m_hIcon;

    ConverterOptions m_options;
    QString m_presetName; // the preset chosen last

    CJobListRows m_rows;
    CBatchRun m_run; // holds the current row
    CPreviewTransport m_preview;
    CJobListStore m_jobListStore;
    QTimer m_jobListSave; // one save for all the changes of one turn of the event loop
    bool m_bJobListEnded = false;
    bool m_bJobListSaveFailed = false; // told once until a save works again

    // Frame
    QHash<int, QWidget*> m_controls;
    QFont m_fntSectionLabel;
    QPoint m_dragOffset;
    bool m_bManualDrag = false;
};

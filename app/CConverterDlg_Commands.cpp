// Command routing of the main window: one table from command id to handler,
// the popup menus and the commands that belong to the window itself.
#include "CConverterDlg.h"

#include "CPopupMenu.h"
#include "dialogs/CAboutDlg.h"
#include "jobs/DataFolder.h"
#include "platform/CPlatformUi.h"
#include "res/MenuTables.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>

namespace {
using Handler = void (CConverterDlg::*)();

struct CommandEntry
{
    int id;
    Handler handler;
};

// Commands that share a handler run the very same operation.
const CommandEntry kCommands[] = {
    {IDC_ADDFILES, &CConverterDlg::OnOpenVideoFiles},
    {IDC_PLAY, &CConverterDlg::OnPlay},
    {IDC_STOPPREVIEW, &CConverterDlg::OnStopPreview},
    {IDC_MINIMIZE, &CConverterDlg::OnMinimize},
    {IDC_CLOSE, &CConverterDlg::OnCloseButton},
    {IDC_CONVERT, &CConverterDlg::OnConvert},
    {IDC_SELECTFOLDER, &CConverterDlg::OnSelectOutputFolder},
    {IDC_NEXTCLIP, &CConverterDlg::OnNextClip},
    {IDC_PREVCLIP, &CConverterDlg::OnPrevClip},
    {IDC_BACK10, &CConverterDlg::OnBack10},
    {IDC_FORWARD10, &CConverterDlg::OnForward10},
    {IDC_HELP, &CConverterDlg::OnShowHelp},
    {IDC_FILEMENU, &CConverterDlg::OnFileMenuButton},
    {IDC_EDITMENU, &CConverterDlg::OnEditMenuButton},
    {IDC_HELPMENU, &CConverterDlg::OnHelpMenuButton},
    {IDC_EXPLORE, &CConverterDlg::OnExploreOutputFolder},
    {IDC_LISTMENU, &CConverterDlg::OnListMenuButton},
    {IDC_HOMEPAGE, &CConverterDlg::OnHomePage},
    {IDC_STOPCONVERT, &CConverterDlg::OnStopConverting},
    {ID_LIST_RENAME, &CConverterDlg::OnRename},
    {ID_LIST_EDITSTART, &CConverterDlg::OnEditStartTime},
    {ID_LIST_EDITEND, &CConverterDlg::OnEditEndTime},
    {ID_LIST_CHECKALL, &CConverterDlg::OnCheckAll},
    {ID_LIST_UNCHECKALL, &CConverterDlg::OnUncheckAll},
    {ID_LIST_REMOVE, &CConverterDlg::OnRemove},
    {ID_LIST_CLEAR, &CConverterDlg::OnClear},
    {ID_LIST_SAVELIST, &CConverterDlg::OnSaveList},
    {ID_LIST_OPENLIST, &CConverterDlg::OnOpenList},
    {ID_LIST_PAUSE, &CConverterDlg::OnPauseConverting},
    {ID_LIST_STOPAFTER, &CConverterDlg::OnStopAfterThisFile},
    {ID_FILE_OPENVIDEO, &CConverterDlg::OnOpenVideoFiles},
    {ID_FILE_SELECTFOLDER, &CConverterDlg::OnSelectOutputFolder},
    {ID_FILE_CONVERT, &CConverterDlg::OnConvert},
    {ID_FILE_PLAY, &CConverterDlg::OnPlay},
    {ID_FILE_STOP, &CConverterDlg::OnStop},
    {ID_FILE_CLEAR, &CConverterDlg::OnClear},
    {ID_FILE_EXIT, &CConverterDlg::OnCloseButton},
    {ID_EDIT_CHECKALL, &CConverterDlg::OnCheckAll},
    {ID_EDIT_UNCHECKALL, &CConverterDlg::OnUncheckAll},
    {ID_EDIT_CHECKSELECTED, &CConverterDlg::OnCheckSelected},
    {ID_EDIT_UNCHECKSELECTED, &CConverterDlg::OnUncheckSelected},
    {ID_HELP_HELP, &CConverterDlg::OnShowHelp},
    {ID_HELP_HOMEPAGE, &CConverterDlg::OnHomePage},
    {ID_HELP_ABOUT, &CConverterDlg::OnAbout},
    {ID_EDIT_OPTIONS, &CConverterDlg::OnOptions},
    {ID_HELP, &CConverterDlg::OnShowHelp},
};
} // namespace

bool CConverterDlg::OnCommand(int id)
{
    for (const CommandEntry& entry : kCommands) {
        if (entry.id == id) {
            (this->*entry.handler)();
            return true;
        }
    }
    return false;
}

void CConverterDlg::ConnectCommands()
{
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (auto* button = qobject_cast<QAbstractButton*>(it.value())) {
            const int id = it.key();
            connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
        }
    }
    connect(&m_cboStretch, &QComboBox::currentIndexChanged, this, &CConverterDlg::OnStretchModeChange);
    connect(&m_cboBitrate, &QComboBox::currentIndexChanged, this, &CConverterDlg::OnAudioBitrateChange);
    connect(&m_lstJobs, &QWidget::customContextMenuRequested, this, &CConverterDlg::OnListRightClick);
    m_ctlEngine->SetEventSink(this);
}

void CConverterDlg::ShowMenu(int menuId, const QPoint& screenPos, bool rightButtonChooses)
{
    const MenuResource* resource = FindMenuResource(menuId);
    if (!resource)
        return;
    CPopupMenu menu(rightButtonChooses ? Qt::LeftButton | Qt::RightButton : Qt::MouseButtons(Qt::LeftButton),
                    this);
    for (const MenuItemData& item : resource->items) {
        if (item.command == 0)
            menu.addSeparator();
        else
            menu.addAction(MenuItemText(item.command, item.text))->setData(item.command);
    }
    if (const int command = CPlatformUi::Get().TrackPopupMenu(menu, screenPos))
        OnCommand(command);
}

// An item's text as the menu shows it now; the pause item says what choosing it does.
QString CConverterDlg::MenuItemText(int command, const char* text) const
{
    if (command == ID_LIST_PAUSE && m_run.IsPaused())
        return QStringLiteral("Resume Converting");
    return QString::fromUtf8(text);
}

QPoint CConverterDlg::BelowButton(int buttonId) const
{
    const QWidget* button = GetDlgItem(buttonId);
    return ScreenPos(button->mapTo(this, QPoint(0, button->height())));
}

void CConverterDlg::OnFileMenuButton()
{
    ShowMenu(IDR_FILEMENU, BelowButton(IDC_FILEMENU), false);
}

void CConverterDlg::OnEditMenuButton()
{
    ShowMenu(IDR_EDITMENU, BelowButton(IDC_EDITMENU), false);
}

void CConverterDlg::OnHelpMenuButton()
{
    ShowMenu(IDR_HELPMENU, BelowButton(IDC_HELPMENU), false);
}

void CConverterDlg::OnListMenuButton()
{
    ShowMenu(IDR_LISTMENU, QCursor::pos(), false);
}

void CConverterDlg::OnListRightClick()
{
    ShowMenu(IDR_LISTMENU, QCursor::pos(), true);
}

void CConverterDlg::OnShowHelp()
{
    const QString helpPath =
        QDir(DataFolder(QCoreApplication::applicationDirPath())).filePath(QStringLiteral("help.htm"));
    CPlatformUi::Get().ShellExecute(QStringLiteral("open"), QDir::toNativeSeparators(helpPath));
}

void CConverterDlg::OnHomePage()
{
    CPlatformUi::Get().ShellExecute(QString(), QStringLiteral(kHomePageUrl));
}

void CConverterDlg::OnExploreOutputFolder()
{
    CPlatformUi::Get().ShellExecute(QStringLiteral("explore"), m_edtOutputFolder.text());
}

void CConverterDlg::OnAbout()
{
    CAboutDlg dlg(this);
    CPlatformUi::Get().RunModal(dlg);
}

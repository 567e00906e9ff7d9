// Job list operations of the main window: the rows live in the list control
// itself and are addressed by index.
#include "CConverterDlg.h"

#include "CFileDropTarget.h"
#include "dialogs/CEndTimeDlg.h"
#include "dialogs/CStartTimeDlg.h"
#include "dialogs/CTitleDlg.h"
#include "jobs/IncomingFiles.h"
#include "jobs/JobRowText.h"
#include "jobs/VideoFileTypes.h"
#include "platform/CPlatformUi.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <algorithm>

void CConverterDlg::OnOpenVideoFiles()
{
    const IncomingFiles chosen = FilesFromChooser(CPlatformUi::Get().GetOpenFileNames(this, VideoFileFilter()));
    AddFiles(chosen.files, LostNamesMessage(chosen.skipped));
}

void CConverterDlg::OnCommandLineFiles(const QStringList& arguments)
{
    const IncomingFiles incoming = FilesFromCommandLine(arguments);
    AddFiles(incoming.files, SkippedPathsMessage(incoming.skipped));
}

void CConverterDlg::OnDropFiles(const QStringList& paths)
{
    const IncomingFiles incoming = FilesFromDrop(paths);
    AddFiles(incoming.files, SkippedCountMessage(incoming.skipped.size()));
}

void CConverterDlg::SetupFileDrops()
{
    auto* drops = new CFileDropTarget([this](const QStringList& paths) { OnDropFiles(paths); }, this);
    drops->Watch(&m_lstJobs);
    drops->Watch(m_lstJobs.viewport());
    drops->Watch(&m_ctlPicture);
}

// The chooser, the command line and drops all add rows here; skipped, when not
// empty, tells afterwards what was left out.
void CConverterDlg::AddFiles(const QStringList& paths, const QString& skipped)
{
    if (!paths.isEmpty()) {
        ShowJobList();
        for (const QString& path : paths)
            m_rows.AppendRow(path, FormatEndSeconds(m_ctlEngine->GetDuration(path)));
    }
    if (!skipped.isEmpty())
        Message(skipped, kMbOk | kMbIconInformation);
}

void CConverterDlg::ShowJobList()
{
    m_lstJobs.show();
    m_ctlPicture.hide();
}

void CConverterDlg::OnRename()
{
    const int row = SelectedRowOrTell();
    if (row < 0)
        return;
    // The extension is kept: only the part before the last "." is offered.
    const TitleSplit split = SplitTitle(m_rows.CellText(row, kTitleColumn));
    CTitleDlg dlg(this);
    dlg.m_strText = split.base;
    if (CPlatformUi::Get().RunModal(dlg) == IDOK)
        m_rows.SetCellText(row, kTitleColumn, dlg.m_strText + split.extension);
}

void CConverterDlg::OnEditStartTime()
{
    CStartTimeDlg dlg(this);
    EditSelectedCell(dlg, kStartColumn);
}

void CConverterDlg::OnEditEndTime()
{
    CEndTimeDlg dlg(this);
    EditSelectedCell(dlg, kEndColumn);
}

void CConverterDlg::EditSelectedCell(CTextEntryDlg& dlg, int column)
{
    const int row = SelectedRowOrTell();
    if (row < 0)
        return;
    dlg.m_strText = m_rows.CellText(row, column);
    if (CPlatformUi::Get().RunModal(dlg) == IDOK)
        m_rows.SetCellText(row, column, dlg.m_strText);
}

void CConverterDlg::OnCheckAll()
{
    SetAllChecked(true);
}

void CConverterDlg::OnUncheckAll()
{
    SetAllChecked(false);
}

void CConverterDlg::SetAllChecked(bool checked)
{
    if (!HasRowsOrTell())
        return;
    for (int row = 0; row < m_lstJobs.rowCount(); ++row)
        m_rows.SetRowChecked(row, checked);
}

void CConverterDlg::OnCheckSelected()
{
    SetSelectedChecked(true);
}

void CConverterDlg::OnUncheckSelected()
{
    SetSelectedChecked(false);
}

void CConverterDlg::SetSelectedChecked(bool checked)
{
    const QList<int> rows = m_rows.SelectedRows();
    std::for_each(rows.rbegin(), rows.rend(),
                  [this, checked](int row) { m_rows.SetRowChecked(row, checked); });
}

void CConverterDlg::OnRemove()
{
    if (!HasRowsOrTell())
        return;
    // From the last to the first, so the rows not yet visited keep their indexes.
    const QList<int> rows = m_rows.SelectedRows();
    std::for_each(rows.rbegin(), rows.rend(), [this](int row) { m_lstJobs.removeRow(row); });
}

void CConverterDlg::OnClear()
{
    if (HasRowsOrTell())
        m_lstJobs.setRowCount(0);
}

bool CConverterDlg::HasRowsOrTell()
{
    if (m_lstJobs.rowCount() > 0)
        return true;
    Message(QStringLiteral("No items in the list!"), kMbOk | kMbIconInformation);
    return false;
}

int CConverterDlg::SelectedRowOrTell()
{
    const int row = m_rows.FirstSelectedRow();
    if (row < 0)
        Message(QStringLiteral("Please select item in the list!"), kMbOk | kMbIconInformation);
    return row;
}

int CConverterDlg::Message(const QString& text, unsigned style)
{
    return CPlatformUi::Get().MessageBox(this, text, QStringLiteral(kProductName), style);
}

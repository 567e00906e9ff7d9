// Job list operations of the main window: the rows live in the list control
// itself and are addressed by index.
#include "app/CConverterDlg.h"

#include "CEndTimeDlg.h"
#include "CStartTimeDlg.h"
#include "CTitleDlg.h"
#include "JobRowText.h"
#include "platform/CPlatformUi.h"
#include "res/StringTable.h"
#include "res/resource.h"

#include <algorithm>

namespace {
// The first entries as ever; then one per family of today's files, and anything at all.
const QString kVideoFileFilter = QStringLiteral(
    "All Support Files (*.*)|*.mpg;*.mpeg;*.avi;*.wmv;*.asf;*.mp4;*.m4v;*.mov;*.mkv;*.webm;*.flv;*.ts;*.mts;"
    "*.m2ts;*.3gp;*.vob;|mpg (*.mpg) | *.mpg;*.mpeg|avi (*.avi) | *.avi|wmv (*.wmv)| *.wmv|asf (*.asf) | "
    "*.asf|mp4 (*.mp4)|*.mp4;*.m4v|mov (*.mov)|*.mov|mkv (*.mkv)|*.mkv|webm (*.webm)|*.webm|flv "
    "(*.flv)|*.flv|"
    "ts (*.ts)|*.ts;*.mts;*.m2ts|3gp (*.3gp)|*.3gp|vob (*.vob)|*.vob|All Files (*.*)|*||");
} // namespace

void CConverterDlg::OnOpenVideoFiles()
{
    const QStringList paths = CPlatformUi::Get().GetOpenFileNames(this, kVideoFileFilter);
    if (paths.isEmpty())
        return;
    m_lstJobs.show();
    m_ctlPicture.hide();
    for (const QString& path : paths)
        AddJobRow(path);
}

void CConverterDlg::AddJobRow(const QString& path)
{
    const int row = m_lstJobs.rowCount();
    m_lstJobs.insertRow(row);
    auto* title = new QTableWidgetItem(TitleFromPath(path));
    title->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    m_lstJobs.setItem(row, kTitleColumn, title);
    SetCellText(row, kStartColumn, QStringLiteral("0"));
    SetCellText(row, kEndColumn, FormatEndSeconds(m_ctlEngine->GetDuration(path)));
    SetCellText(row, kPathColumn, path);
    SetCellText(row, kStatusColumn, kStatusReady);
    SetRowChecked(row, true);
}

void CConverterDlg::OnRename()
{
    const int row = SelectedRowOrTell();
    if (row < 0)
        return;
    // The extension is kept: only the part before the last "." is offered.
    const TitleSplit split = SplitTitle(CellText(row, kTitleColumn));
    CTitleDlg dlg(this);
    dlg.m_strText = split.base;
    if (CPlatformUi::Get().RunModal(dlg) == IDOK)
        SetCellText(row, kTitleColumn, dlg.m_strText + split.extension);
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
    dlg.m_strText = CellText(row, column);
    if (CPlatformUi::Get().RunModal(dlg) == IDOK)
        SetCellText(row, column, dlg.m_strText);
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
        SetRowChecked(row, checked);
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
    const QList<int> rows = SelectedRows();
    std::for_each(rows.rbegin(), rows.rend(), [this, checked](int row) { SetRowChecked(row, checked); });
}

void CConverterDlg::OnRemove()
{
    if (!HasRowsOrTell())
        return;
    // From the last to the first, so the rows not yet visited keep their indexes.
    const QList<int> rows = SelectedRows();
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
    const int row = FirstSelectedRow();
    if (row < 0)
        Message(QStringLiteral("Please select item in the list!"), kMbOk | kMbIconInformation);
    return row;
}

QString CConverterDlg::CellText(int row, int column) const
{
    const QTableWidgetItem* item = m_lstJobs.item(row, column);
    return item ? item->text() : QString();
}

void CConverterDlg::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = m_lstJobs.item(row, column)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (column == kStatusColumn)
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_lstJobs.setItem(row, column, item);
}

bool CConverterDlg::IsRowChecked(int row) const
{
    const QTableWidgetItem* item = m_lstJobs.item(row, kTitleColumn);
    return item && item->checkState() == Qt::Checked;
}

void CConverterDlg::SetRowChecked(int row, bool checked)
{
    if (QTableWidgetItem* item = m_lstJobs.item(row, kTitleColumn))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int CConverterDlg::FirstSelectedRow() const
{
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

// Selected rows in ascending order (the selection model lists them in click order).
QList<int> CConverterDlg::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_lstJobs.selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CConverterDlg::Message(const QString& text, unsigned style)
{
    return CPlatformUi::Get().MessageBox(this, text, QStringLiteral(kProductName), style);
}

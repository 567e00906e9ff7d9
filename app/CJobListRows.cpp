#include "CJobListRows.h"

#include "jobs/JobRowText.h"

#include <QTableWidget>

#include <algorithm>

CJobListRows::CJobListRows(QTableWidget& list) : m_list(list) {}

int CJobListRows::RowCount() const
{
    return m_list.rowCount();
}

QString CJobListRows::CellText(int row, int column) const
{
    const QTableWidgetItem* item = m_list.item(row, column);
    return item ? item->text() : QString();
}

void CJobListRows::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = m_list.item(row, column)) {
        item->setText(text);
        return;
    }
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (column == kStatusColumn)
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_list.setItem(row, column, item);
}

void CJobListRows::SetCellToolTip(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = m_list.item(row, column))
        item->setToolTip(text);
}

bool CJobListRows::IsRowChecked(int row) const
{
    const QTableWidgetItem* item = m_list.item(row, kTitleColumn);
    return item && item->checkState() == Qt::Checked;
}

void CJobListRows::SetRowChecked(int row, bool checked)
{
    if (QTableWidgetItem* item = m_list.item(row, kTitleColumn))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int CJobListRows::FirstSelectedRow() const
{
    const QList<int> rows = SelectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QPersistentModelIndex CJobListRows::FollowRow(int row) const
{
    return QPersistentModelIndex(m_list.model()->index(row, kTitleColumn));
}

void CJobListRows::AppendRow(const QString& path, const QString& endText)
{
    const int row = m_list.rowCount();
    m_list.insertRow(row);
    auto* title = new QTableWidgetItem(TitleFromPath(path));
    title->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    m_list.setItem(row, kTitleColumn, title);
    SetCellText(row, kStartColumn, kNewRowStart);
    SetCellText(row, kEndColumn, endText);
    SetCellText(row, kPathColumn, path);
    SetCellText(row, kStatusColumn, kStatusReady);
    SetRowChecked(row, true);
}

QList<int> CJobListRows::SelectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_list.selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// A job list in memory, for driving the run and the transport without a window.
#pragma once

#include "jobs/IJobRows.h"
#include "jobs/JobRowText.h"

#include <QStringListModel>

class CFakeJobRows : public IJobRows
{
public:
    struct Row
    {
        QStringList cells; // by column
        QString statusTip;
        bool checked = true;
    };
    QList<Row> rows;
    int selected = -1; // the first selected row

    // Checked "Ready" rows with the given titles and sources /v/<title>, from 0 to 1 s.
    void Add(const QStringList& titles)
    {
        m_followers.insertRows(rows.size(), titles.size());
        for (const QString& title : titles)
            rows.append(Row{{title, "0", "1", kStatusReady, "/v/" + title}, {}, true});
    }
    void Remove(int row)
    {
        rows.removeAt(row);
        m_followers.removeRows(row, 1);
    }
    void SetChecked(const QList<int>& checked)
    {
        for (int row = 0; row < rows.size(); ++row)
            rows[row].checked = checked.contains(row);
    }
    QStringList Column(int column) const
    {
        QStringList cells;
        for (const Row& row : rows)
            cells << row.cells[column];
        return cells;
    }
    QList<bool> Checks() const
    {
        QList<bool> checks;
        for (const Row& row : rows)
            checks << row.checked;
        return checks;
    }

    int RowCount() const override { return rows.size(); }
    QString CellText(int row, int column) const override { return rows.value(row).cells.value(column); }
    void SetCellText(int row, int column, const QString& text) override { rows[row].cells[column] = text; }
    void SetCellToolTip(int row, int column, const QString& text) override
    {
        if (column == kStatusColumn)
            rows[row].statusTip = text;
    }
    bool IsRowChecked(int row) const override { return rows[row].checked; }
    void SetRowChecked(int row, bool checked) override { rows[row].checked = checked; }
    int FirstSelectedRow() const override { return selected; }
    QPersistentModelIndex FollowRow(int row) const override { return m_followers.index(row); }

private:
    QStringListModel m_followers; // a row for each row, so that followers see removals
};

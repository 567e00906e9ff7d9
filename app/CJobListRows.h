// The job list control's rows, read and written as the job rules address them: by
// index, text cells and a check box in the title cell. The rows live in the control.
#pragma once

#include "jobs/IJobRows.h"

#include <QList>

class QTableWidget;

class CJobListRows : public IJobRows
{
public:
    explicit CJobListRows(QTableWidget& list);

    int RowCount() const override;
    QString CellText(int row, int column) const override;
    void SetCellText(int row, int column, const QString& text) override;
    void SetCellToolTip(int row, int column, const QString& text) override;
    bool IsRowChecked(int row) const override;
    void SetRowChecked(int row, bool checked) override;
    int FirstSelectedRow() const override;
    QPersistentModelIndex FollowRow(int row) const override;

    // A checked row at the end: the file's name as its title, start "0", "Ready".
    void AppendRow(const QString& path, const QString& endText);
    // In ascending order (the selection model lists them in click order).
    QList<int> SelectedRows() const;

private:
    QTableWidget& m_list;
};

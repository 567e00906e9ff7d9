// The job list as the conversion run and the preview see it: rows of text cells,
// addressed by index, each with a check box.
#pragma once

#include <QPersistentModelIndex>
#include <QString>

class IJobRows
{
public:
    virtual int RowCount() const = 0;
    // Empty for a row or a column that is not there.
    virtual QString CellText(int row, int column) const = 0;
    virtual void SetCellText(int row, int column, const QString& text) = 0;
    virtual void SetCellToolTip(int row, int column, const QString& text) = 0;
    virtual bool IsRowChecked(int row) const = 0;
    virtual void SetRowChecked(int row, bool checked) = 0;
    // The selected row with the lowest index; -1 when none is selected.
    virtual int FirstSelectedRow() const = 0;
    // Follows the row while rows around it are removed; invalid once it is removed itself.
    virtual QPersistentModelIndex FollowRow(int row) const = 0;

protected:
    ~IJobRows() = default;
};

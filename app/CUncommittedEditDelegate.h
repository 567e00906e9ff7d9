// In-place editing whose text is never taken: the cell shows its old text again
// when the edit ends. Titles change through Rename only.
#pragma once

#include <QStyledItemDelegate>

class CUncommittedEditDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    ~CUncommittedEditDelegate() override;

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

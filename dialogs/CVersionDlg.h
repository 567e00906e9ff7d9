// The plain About box of the window menu (dialog 100).
#pragma once

#include <QDialog>

class CVersionDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CVersionDlg(QWidget* parent = nullptr);
    ~CVersionDlg() override;
};

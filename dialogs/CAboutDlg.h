// The About box of the Help menu (dialog 141).
#pragma once

#include "skin/CLinkStatic.h"

#include <QDialog>
#include <QLabel>

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    bool OnInitDialog();

    CLinkStatic m_lnkMail;     // 1087
    CLinkStatic m_lnkHomePage; // 1086
    QLabel m_stcAssist;        // 1173
    QLabel m_stcSupport;       // 1172
};

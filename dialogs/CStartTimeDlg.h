// Dialog 145: asks for the start time of a job row.
#pragma once

#include "CTextEntryDlg.h"

class CStartTimeDlg : public CTextEntryDlg
{
    Q_OBJECT
public:
    explicit CStartTimeDlg(QWidget* parent = nullptr);
    ~CStartTimeDlg() override;
};

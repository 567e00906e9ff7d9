// Dialog 146: asks for the end time of a job row.
#pragma once

#include "CTextEntryDlg.h"

class CEndTimeDlg : public CTextEntryDlg
{
    Q_OBJECT
public:
    explicit CEndTimeDlg(QWidget* parent = nullptr);
    ~CEndTimeDlg() override;
};

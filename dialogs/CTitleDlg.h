// Dialog 144: asks for the output title of a job row (Rename).
#pragma once

#include "CTextEntryDlg.h"

class CTitleDlg : public CTextEntryDlg
{
    Q_OBJECT
public:
    explicit CTitleDlg(QWidget* parent = nullptr);
    ~CTitleDlg() override;
};

// Dialog 150: asks for a preset's name (Save as preset, Rename).
#pragma once

#include "CTextEntryDlg.h"

class CPresetNameDlg : public CTextEntryDlg
{
    Q_OBJECT
public:
    explicit CPresetNameDlg(QWidget* parent = nullptr);
    ~CPresetNameDlg() override;
};

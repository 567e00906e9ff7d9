#include "CPresetNameDlg.h"

#include "res/DialogTemplates.h"

CPresetNameDlg::CPresetNameDlg(QWidget* parent) : CTextEntryDlg(PresetNameDialogTemplate(), parent) {}

CPresetNameDlg::~CPresetNameDlg() = default;

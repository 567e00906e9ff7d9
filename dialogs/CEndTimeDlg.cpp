#include "CEndTimeDlg.h"

#include "res/DialogTemplates.h"

CEndTimeDlg::CEndTimeDlg(QWidget* parent) : CTextEntryDlg(EndTimeDialogTemplate(), parent) {}

CEndTimeDlg::~CEndTimeDlg() = default;

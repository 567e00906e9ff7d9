#include "CStartTimeDlg.h"

#include "res/DialogTemplates.h"

CStartTimeDlg::CStartTimeDlg(QWidget* parent) : CTextEntryDlg(StartTimeDialogTemplate(), parent) {}

CStartTimeDlg::~CStartTimeDlg() = default;

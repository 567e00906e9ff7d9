#include "CTitleDlg.h"

#include "res/DialogTemplates.h"

CTitleDlg::CTitleDlg(QWidget* parent) : CTextEntryDlg(TitleDialogTemplate(), parent) {}

CTitleDlg::~CTitleDlg() = default;

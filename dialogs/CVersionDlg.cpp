#include "CVersionDlg.h"

#include "res/TemplateBuilder.h"

CVersionDlg::CVersionDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialogFromTemplate(*this, VersionDialogTemplate());
}

CVersionDlg::~CVersionDlg() = default;

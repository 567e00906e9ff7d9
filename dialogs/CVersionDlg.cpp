#include "CVersionDlg.h"

#include "res/SkinBitmaps.h"
#include "res/TemplateBuilder.h"

CVersionDlg::CVersionDlg(QWidget* parent) : QDialog(parent)
{
    BuildDialogFromTemplate(*this, VersionDialogTemplate());
    setWindowIcon(LoadAppIcon());
}

CVersionDlg::~CVersionDlg() = default;

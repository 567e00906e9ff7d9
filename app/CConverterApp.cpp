#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/Version.h"

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral(VV_VERSION));
    setWindowIcon(LoadAppIcon());
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    dlg.exec();
    return false;
}

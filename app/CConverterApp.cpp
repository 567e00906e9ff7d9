#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral("3.2"));
    setWindowIcon(LoadAppIcon());
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    dlg.exec();
    return false;
}

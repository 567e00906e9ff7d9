#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/Version.h"

#include <QTimer>

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral(VV_VERSION));
    setWindowIcon(LoadAppIcon());
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    // Added once the window is up, so that a message about skipped paths shows over it.
    const QStringList files = arguments().mid(1);
    if (!files.isEmpty())
        QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.OnCommandLineFiles(files); });
    dlg.exec();
    return false;
}

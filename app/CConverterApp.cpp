#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "platform/FileNames.h"
#include "res/Version.h"

#include <QTimer>

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
#ifdef Q_OS_WIN
    m_files = arguments().mid(1);
#else
    // From the bytes themselves: Qt's own list has spoilt names that are not UTF-8.
    for (int i = 1; i < argc; ++i)
        m_files << FileNameFromBytes(QByteArray(argv[i]));
#endif
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral(VV_VERSION));
    setWindowIcon(LoadAppIcon());
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    // Added once the window is up, so that a message about skipped paths shows over it.
    const QStringList files = m_files;
    if (!files.isEmpty())
        QTimer::singleShot(0, &dlg, [&dlg, files] { dlg.OnCommandLineFiles(files); });
    dlg.exec();
    return false;
}

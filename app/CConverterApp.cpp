#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "platform/FileNames.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "res/Version.h"

#include <QTimer>

QString CommandLineAnswer(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--version"))
            return QStringLiteral("virav-velmora-converter (" kProductName ") " VV_VERSION "\n");
        if (argument == QLatin1String("--help"))
            return QStringLiteral(
                "Usage: virav-velmora-converter [FILE]...\n"
                "Opens the converter's window, each FILE a row of its job list.\n\n"
                "  --help     show this help and exit\n"
                "  --version  show the version and exit\n\n"
                "Every other argument is taken as a file. To convert without a window, see\n"
                "vv-convert --help or man vv-convert.\n");
    }
    return QString();
}

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
    m_files = ArgumentsKeptWhole(argc, argv, arguments());
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral(VV_VERSION));
    setWindowIcon(LoadAppIcon());
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    // Once the window is up, so that the restore question and a message about skipped
    // paths show over it.
    const QStringList files = m_files;
    QTimer::singleShot(0, &dlg, [&dlg, files] {
        dlg.StartJobList();
        if (!files.isEmpty())
            dlg.OnCommandLineFiles(files);
    });
    dlg.exec();
    return false;
}

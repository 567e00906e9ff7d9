// The main window with the real engine, previewing the first of the given files
// (the fixtures by default), for screenshots under Xvfb: tools/screenshot.sh OUT.png 2
// build/tests/preview_demo. The file chooser is answered by a script.
#include "support/CScriptedUi.h"

#include "app/CConverterDlg.h"

#include <QApplication>
#include <QTableWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CScriptedUi ui;
    ui.openFiles = app.arguments().mid(1);
    if (ui.openFiles.isEmpty()) {
        for (const char* name : {"clip.avi", "clip.wmv", "clip.mpg"})
            ui.openFiles << QStringLiteral(VV_FIXTURES_DIR "/") + QLatin1String(name);
    }
    CConverterDlg dlg;
    dlg.show();
    dlg.OnCommand(IDC_ADDFILES);
    qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST))->selectRow(0);
    dlg.OnCommand(IDC_PLAY);
    return QApplication::exec();
}

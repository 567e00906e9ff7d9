#include "CConverterApp.h"

#include "CConverterDlg.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"

#include <QFont>

namespace
{
// The skin was drawn for Windows faces; these are their closest installed cousins.
void SubstituteWindowsFonts()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial Black"),
                               {QStringLiteral("Lato Black"), QStringLiteral("DejaVu Sans")});
}
} // namespace

CConverterApp::CConverterApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral(kProductName));
    setApplicationVersion(QStringLiteral("3.2"));
    setWindowIcon(LoadAppIcon());
    SubstituteWindowsFonts();
}

bool CConverterApp::InitInstance()
{
    CConverterDlg dlg;
    dlg.exec();
    return false;
}

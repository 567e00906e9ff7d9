#include "CPlatformUi.h"

#include "CDesktopNotifier.h"
#include "res/resource.h"

#include <QAction>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace {
CPlatformUi* g_installed = nullptr;

// Filters arrive as "Text|patterns|Text|patterns||"; Qt wants "Text (patterns);;...".
// Patterns are also offered in upper case, since file systems here tell case apart.
QString QtFilterFromWindowsFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString trimmed = pattern.trimmed();
            patterns << trimmed;
            if (trimmed.toUpper() != trimmed)
                patterns << trimmed.toUpper();
        }
        entries << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return entries.join(QStringLiteral(";;"));
}
} // namespace

CPlatformUi& CPlatformUi::Get()
{
    static CPlatformUi real;
    return g_installed ? *g_installed : real;
}

void CPlatformUi::Install(CPlatformUi* ui)
{
    g_installed = ui;
}

int CPlatformUi::MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style)
{
    QMessageBox box(owner);
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon((style & kMbIconInformation) ? QMessageBox::Information : QMessageBox::NoIcon);
    if (style & kMbYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    if (style & kMbOkCancel)
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    else
        box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? IDOK : IDCANCEL;
}

QStringList CPlatformUi::GetOpenFileNames(QWidget* owner, const QString& filter)
{
    // Each entry shows its own text only; Qt would repeat the patterns after it.
    QStringList files =
        QFileDialog::getOpenFileNames(owner, QString(), QString(), QtFilterFromWindowsFilter(filter), nullptr,
                                      QFileDialog::HideNameFilterDetails);
    for (QString& file : files)
        file = QDir::toNativeSeparators(file);
    return files;
}

QString CPlatformUi::GetSaveFileName(QWidget* owner, const QString& filter, const QString& suggestedPath)
{
    return QDir::toNativeSeparators(QFileDialog::getSaveFileName(owner, QString(), suggestedPath,
                                                                 QtFilterFromWindowsFilter(filter), nullptr,
                                                                 QFileDialog::HideNameFilterDetails));
}

QString CPlatformUi::BrowseForFolder(QWidget* owner, const QString& title, const QString& startFolder)
{
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(owner, title, startFolder));
}

int CPlatformUi::RunModal(QDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

int CPlatformUi::TrackPopupMenu(QMenu& menu, const QPoint& screenPos)
{
    const QAction* chosen = menu.exec(screenPos);
    return chosen ? chosen->data().toInt() : 0;
}

bool CPlatformUi::ShellExecute(const QString& verb, const QString& target)
{
    Q_UNUSED(verb); // the desktop opens folders in the file manager either way
    const QFileInfo local(target);
    const QUrl url = local.exists() ? QUrl::fromLocalFile(local.absoluteFilePath())
                                    : QUrl::fromUserInput(target.trimmed());
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool CPlatformUi::StartProgram(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void CPlatformUi::Notify(const QString& summary)
{
    CDesktopNotifier(QDBusConnection::sessionBus()).Notify(summary);
}

void CPlatformUi::RequestSessionPower(CSessionPower::Action action, const CSessionPower::Done& done)
{
    CSessionPower(QDBusConnection::systemBus()).Request(action, done);
}

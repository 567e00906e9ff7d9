// Where this platform registers its web browser's command line.
#include "BrowserCommand.h"

#ifdef Q_OS_WIN

#include <QSettings>

namespace {
QString ReadClassesRootDefault(const QString& subkey)
{
    const QSettings key(QStringLiteral("HKEY_CLASSES_ROOT\\") + subkey, QSettings::NativeFormat);
    return key.value(QStringLiteral("Default")).toString();
}
} // namespace

QString DefaultBrowserCommand()
{
    const QString fileClass = ReadClassesRootDefault(QStringLiteral(".htm"));
    if (fileClass.isEmpty())
        return {};
    return ReadClassesRootDefault(fileClass + QStringLiteral("\\shell\\open\\command"));
}

#else

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {
constexpr int kQueryTimeoutMs = 3000;

QString QueryDesktopTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kQueryTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

QString DefaultBrowserDesktopId()
{
    const QString id = QueryDesktopTool(QStringLiteral("xdg-settings"),
                                        {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (!id.isEmpty())
        return id;
    return QueryDesktopTool(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                         QStringLiteral("text/html")});
}
} // namespace

QString DefaultBrowserCommand()
{
    const QString id = DefaultBrowserDesktopId();
    if (!id.endsWith(QLatin1String(".desktop")) || id.contains(QLatin1Char('/')))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return CommandFromDesktopExec(DesktopEntryExec(QString::fromUtf8(file.readAll())));
}

#endif

#include "BrowserCommand.h"

#include <QProcess>

BrowserLaunch BuildBrowserLaunch(const QString& command, const QString& url)
{
    QString head = command;
    qsizetype cut = head.indexOf(QLatin1String("\"%1\""));
    if (cut < 0)
        cut = head.indexOf(QLatin1String("%1"));
    if (cut >= 0)
        head.truncate(cut);
    // Splitting before the URL joins keeps the URL one argument, never parsed.
    QStringList tokens = QProcess::splitCommand(head);
    if (tokens.isEmpty())
        return {};
    BrowserLaunch launch;
    launch.program = tokens.takeFirst();
    launch.arguments = tokens << url;
    return launch;
}

namespace {
// Escapes of desktop-file string values: \s \n \t \r \\.
QString UnescapeDesktopString(const QString& value)
{
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            result += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's': result += QLatin1Char(' '); break;
        case 'n': result += QLatin1Char('\n'); break;
        case 't': result += QLatin1Char('\t'); break;
        case 'r': result += QLatin1Char('\r'); break;
        case '\\': result += QLatin1Char('\\'); break;
        default:
            result += c;
            result += next;
            break;
        }
    }
    return result;
}
} // namespace

QString DesktopEntryExec(const QString& desktopFileText)
{
    bool inEntry = false;
    for (const QString& rawLine : desktopFileText.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inEntry && equals > 0 && line.left(equals).trimmed() == QLatin1String("Exec"))
            return UnescapeDesktopString(line.mid(equals + 1).trimmed());
    }
    return {};
}

QString CommandFromDesktopExec(const QString& exec)
{
    QString command;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec[i] != QLatin1Char('%') || i + 1 == exec.size()) {
            command += exec[i];
            continue;
        }
        const QChar code = exec[++i];
        if (code == QLatin1Char('%'))
            command += code;
        else if (QStringLiteral("uUfF").contains(code))
            command += QLatin1String("%1");
    }
    return command;
}

// Building the browser's command line for the fallback of opening a link, from a
// registered command that names its argument as "%1".
#pragma once

#include <QString>
#include <QStringList>

struct BrowserLaunch
{
    QString program;
    QStringList arguments;
};

// The command is cut at its "%1" placeholder (at the opening quote when the
// placeholder is quoted) and the URL added as one argument of its own, whatever
// it contains. An empty program means there is nothing to start.
BrowserLaunch BuildBrowserLaunch(const QString& command, const QString& url);

// The Exec value of the [Desktop Entry] group of a desktop file's text, unescaped;
// empty when there is none.
QString DesktopEntryExec(const QString& desktopFileText);

// A desktop Exec line with its file or URL field code turned into "%1" and the
// other field codes dropped.
QString CommandFromDesktopExec(const QString& exec);

// The command the system registers for opening web pages; empty when none is
// found. Defined in the platform's own source.
QString DefaultBrowserCommand();

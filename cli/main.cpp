// vv-convert: the window's conversions from the command line, with no display.
#include "CConvertRun.h"
#include "CRunOutput.h"
#include "CliOptions.h"
#include "ConsolePlatform.h"
#include "jobs/DataFolder.h"
#include "jobs/OutputFolderStore.h"
#include "platform/FileNames.h"
#include "res/Version.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {
void Print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("vv-convert"));
    app.setApplicationVersion(QStringLiteral(VV_VERSION));
    const CommandLine command = ParseCommandLine(ArgumentsKeptWhole(argc, argv, app.arguments()));
    if (!command.error.isEmpty()) {
        Print(stderr, QStringLiteral("vv-convert: %1\nTry 'vv-convert --help'.\n").arg(command.error));
        return kExitUsage;
    }
    if (command.options.help || command.options.version) {
        Print(stdout, command.options.help ? UsageText(ReadStoredOutputFolder())
                                           : QStringLiteral("vv-convert " VV_VERSION "\n"));
        return kExitWritten;
    }

    CliOptions options = command.options;
    if (options.outputFolder.isEmpty())
        options.outputFolder = ReadStoredOutputFolder();
    CRunOutput output(options.json, options.quiet, StandardOutputIsTerminal());
    CConvertRun run(options, DataFolder(QCoreApplication::applicationDirPath()), &output);
    QObject::connect(&run, &CConvertRun::ended, &app, &QCoreApplication::exit);
    if (!WatchStopRequests(&run, [&run] { run.stop(); }))
        Print(stderr, QStringLiteral("vv-convert: Ctrl+C cannot be caught; an interrupted write would leave "
                                     "its hidden temporary file\n"));
    QTimer::singleShot(0, &run, &CConvertRun::start);
    return app.exec();
}

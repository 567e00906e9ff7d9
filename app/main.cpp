// The program is its main window; files named on the command line become its first rows.
#include "CConverterApp.h"

#include <cstdio>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Answered before any window system is opened, so it works without a display.
    const QString answer = CommandLineAnswer(arguments);
    if (!answer.isEmpty()) {
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return 0;
    }
    CConverterApp app(argc, argv);
    app.InitInstance();
    return 0;
}

// artgen: draws the skin of the main window.
//   artgen FOLDER                               writes <id>.png, the icons and skin.qrc
//   artgen --mockup OUT.png [--state STATE]     composes the window, STATE normal|hover|pressed
#include "MockupArt.h"
#include "SkinArt.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: artgen FOLDER\n       artgen --mockup OUT.png [--state normal|hover|pressed]\n",
               stderr);
    return 2;
}

bool parseState(const QString& text, ButtonState* state)
{
    if (text == QLatin1String("normal"))
        *state = ButtonState::Normal;
    else if (text == QLatin1String("hover"))
        *state = ButtonState::Hover;
    else if (text == QLatin1String("pressed"))
        *state = ButtonState::Pressed;
    else
        return false;
    return true;
}

int mockup(const QStringList& args)
{
    ButtonState state = ButtonState::Normal;
    if (args.size() == 5 && (args[3] != QLatin1String("--state") || !parseState(args[4], &state)))
        return usage();
    if (args.size() != 3 && args.size() != 5)
        return usage();
    const QImage image = MockupArt::compose(SkinArt::renderBitmaps(), state);
    if (!image.save(args[2], "PNG")) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 2 && args[1] == QLatin1String("--mockup"))
        return mockup(args);
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-')))
        return usage();
    const QString error = SkinArt::write(args[1]);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "artgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

// Drives the media core without the window, for the benchmark scripts:
//   vv_bench convert INPUT OUTPUT PROFILE START END [STRETCH [QUALITY VALUE]]
//       PROFILE "" with a ".wma" OUTPUT writes sound only (128 kbps); QUALITY 1 is
//       constant quality at level VALUE (0 Best to 3 Small), 2 a target of VALUE MB;
//       prints the wall time in seconds.
//   vv_bench probe FILE...
//       prints the files read, the total probing time and the sum of the lengths, in seconds.
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

// With a point whatever the locale, for the scripts that read it.
QString seconds(qint64 nanoseconds)
{
    return QString::number(double(nanoseconds) / 1e9, 'f', 3);
}

int convert(const QStringList& args)
{
    if (args.size() < 5)
        return 2;
    CMediaEngine engine;
    const double start = args[3].toDouble();
    const double end = args[4].toDouble();
    const int stretch = args.size() > 5 ? args[5].toInt() : 0;
    engine.setProfileFile(args[2]);
    engine.setAudioFormat(21);
    engine.addVideoClip(args[0], start, end, stretch);
    engine.addAudioClip(args[0], start, end);
    if (args.size() > 7) {
        const std::optional<VideoQuality> quality = videoQualityFor(args[6].toLong(), args[7].toDouble());
        if (!quality)
            return 2;
        engine.setVideoQuality(*quality);
    }
    QElapsedTimer timer;
    timer.start();
    if (!engine.saveFile(args[1])) {
        std::fprintf(stderr, "vv_bench: the conversion was refused: %s\n", qPrintable(engine.lastError().text()));
        return 1;
    }
    QObject::connect(&engine, &CMediaEngine::finished, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    std::printf("%s\n", qPrintable(seconds(timer.nsecsElapsed())));
    return engine.lastWriteFailed() ? 1 : 0;
}

int probe(const QStringList& files)
{
    QElapsedTimer timer;
    timer.start();
    int readable = 0;
    double totalSeconds = 0.0;
    for (const QString& file : files) {
        const double duration = probeDurationSeconds(file);
        totalSeconds += duration;
        readable += duration > 0.0 ? 1 : 0;
    }
    std::printf("%d %s %s\n", readable, qPrintable(seconds(timer.nsecsElapsed())),
                qPrintable(QString::number(totalSeconds, 'f', 3)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    if (command == QLatin1String("convert"))
        return convert(args);
    if (command == QLatin1String("probe"))
        return probe(args);
    std::fprintf(stderr,
                 "usage: vv_bench convert INPUT OUTPUT PROFILE START END [STRETCH] | probe FILE...\n");
    return 2;
}

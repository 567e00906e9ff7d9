// Drives the media core without the window, for the benchmark scripts:
//   vv_bench convert INPUT OUTPUT PROFILE START END [STRETCH [QUALITY VALUE]]
//       PROFILE "" with a ".wma" OUTPUT writes sound only (128 kbps); QUALITY 1 is
//       constant quality at level VALUE (0 Best to 3 Small), 2 a target of VALUE MB;
//       prints the wall time in seconds.
//   vv_bench probe FILE...
//       prints the files read, the total probing time and the sum of the lengths, in seconds.
//   vv_bench pause INPUT OUTPUT PROFILE
//       converts INPUT, held for 2 s from 0.3 s in; prints how long the write still went on
//       after the pause (its file grew, its progress came, the process worked) and the CPU
//       share (% of one core) from 0.3 s into the pause to its end.
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

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

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int pause(const QStringList& args)
{
    if (args.size() < 3)
        return 2;
    CMediaEngine engine;
    engine.setProfileFile(args[2]);
    engine.setAudioFormat(21);
    const double end = probeDurationSeconds(args[0]);
    engine.addVideoClip(args[0], 0, end, 0);
    engine.addAudioClip(args[0], 0, end);
    if (!engine.saveFile(args[1]))
        return 1;
    constexpr qint64 kPauseAtMs = 300, kPauseForMs = 2000, kSettleMs = 300;
    QElapsedTimer clock;
    clock.start();
    qint64 lastSize = -1, lastGrowthMs = 0;
    double cpuAtSettle = 0, cpuAtResume = 0;
    // The write goes on while its file grows, its progress comes (every 0.1 s) or the
    // process works (over a fifth of a core between two looks, 5 ms apart).
    QObject::connect(&engine, &CMediaEngine::progress, [&] { lastGrowthMs = clock.elapsed(); });
    double lastCpu = cpuSeconds();
    qint64 lastLookMs = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const qint64 nowMs = clock.elapsed();
        const qint64 size = QFileInfo(engine.writeTempPath()).size();
        const double cpu = cpuSeconds();
        if (size != lastSize || (cpu - lastCpu) * 1000 > 0.2 * double(nowMs - lastLookMs)) {
            lastSize = size;
            lastGrowthMs = nowMs;
        }
        lastCpu = cpu;
        lastLookMs = nowMs;
        if (nowMs >= kPauseAtMs + kSettleMs && cpuAtSettle == 0)
            cpuAtSettle = cpuSeconds();
        if (nowMs >= kPauseAtMs + kPauseForMs) {
            cpuAtResume = cpuSeconds();
            QCoreApplication::quit();
        }
    });
    QTimer::singleShot(kPauseAtMs, [&] { engine.setWritePaused(true); });
    QObject::connect(&engine, &CMediaEngine::finished, qApp, &QCoreApplication::quit);
    poll.start(5);
    QCoreApplication::exec();
    if (cpuAtResume == 0) {
        std::fprintf(stderr, "vv_bench: the conversion ended before the pause did\n");
        return 1;
    }
    engine.stop();
    std::printf("%s %.1f\n", qPrintable(seconds(std::max<qint64>(0, lastGrowthMs - kPauseAtMs) * 1000000)),
                100.0 * (cpuAtResume - cpuAtSettle) / ((kPauseForMs - kSettleMs) / 1000.0));
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
    if (command == QLatin1String("pause"))
        return pause(args);
    std::fprintf(stderr, "usage: vv_bench convert INPUT OUTPUT PROFILE START END [STRETCH] | probe FILE... | "
                         "pause INPUT OUTPUT PROFILE\n");
    return 2;
}

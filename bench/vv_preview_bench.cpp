// Plays one clip in the engine control's preview area, for bench/preview.sh:
//   vv_preview_bench FILE [WIDTH HEIGHT [STRETCH]]
// Prints the pictures shown and dropped, the wall and CPU time of the playback, the
// CPU share of one core it used, and how long Stop takes to halt a second playback.
#include "engine/CDirarAror.h"
#include "engine/CPreviewPlayer.h"
#include "engine/MediaInput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <ctime>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: vv_preview_bench FILE [WIDTH HEIGHT [STRETCH]]\n");
        return 2;
    }
    const QString path = args[0];
    const int widthPx = args.size() > 2 ? args[1].toInt() : 227;
    const int heightPx = args.size() > 2 ? args[2].toInt() : 170;
    const short stretch = args.size() > 3 ? short(args[3].toInt()) : 0;
    const double lengthSeconds = probeDurationSeconds(path);

    CDirarAror engine;
    engine.resize(widthPx, heightPx);
    engine.show();
    CPreviewPlayer* player = engine.findChild<CPreviewPlayer*>();
    QObject::connect(player, &CPreviewPlayer::ended, &app, &QCoreApplication::quit);
    engine.AddVideoClip(path, 0.0, lengthSeconds, stretch);
    engine.AddAudioClip(path, 0.0, lengthSeconds);

    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpuStart = std::clock(); // all threads of the process
    if (!engine.Play()) {
        std::fprintf(stderr, "vv_preview_bench: nothing to play\n");
        return 1;
    }
    const double playCallMs = wall.nsecsElapsed() / 1e6;
    const bool sound = player->hasSound();
    QApplication::exec();
    const double cpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    const int shown = player->presentedFrames();
    const int dropped = player->droppedFrames();

    // A second playback, stopped one second in: how long Stop keeps the window waiting.
    double stopMs = 0.0;
    int shownBeforeStop = 0;
    engine.Play();
    QTimer::singleShot(1000, &app, [&] {
        shownBeforeStop = player->presentedFrames();
        QElapsedTimer stopping;
        stopping.start();
        engine.Stop();
        stopMs = stopping.nsecsElapsed() / 1e6;
        QCoreApplication::quit();
    });
    QApplication::exec();

    std::printf("clip: %.2f s into %dx%d, sound: %s, Play() returned after %.1f ms\n", lengthSeconds, widthPx,
                heightPx, sound ? "device" : "none (system clock)", playCallMs);
    std::printf("frames shown: %d, dropped: %d\n", shown, dropped);
    std::printf("wall: %.2f s, CPU: %.2f s, CPU share: %.1f%% of one core\n", wallSeconds, cpuSeconds,
                100.0 * cpuSeconds / wallSeconds);
    std::printf("Stop() after %d pictures of a second playback returned after %.2f ms\n", shownBeforeStop,
                stopMs);
    return 0;
}

// Fuzzes probing and a two-second conversion; a crash, a hang or success without a file is a fault.
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kClipSeconds = 2.0;
constexpr int kBestAudioCode = 21;
// Far longer than two seconds of a small clip take to convert, even under the sanitizers.
constexpr int kHangMs = 20000;

// Set up once: the engine's events need an event loop, and every input reuses one folder.
struct Harness
{
    Harness()
    {
        if (!folder.isValid())
            std::abort();
        engine.setProfileFile(QStringLiteral(VV_PROFILES_DIR "/320x240video.prx"));
        engine.setAudioFormat(kBestAudioCode);
    }

    int argc = 1;
    char name[11] = "fuzz_media";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir folder;
    CMediaEngine engine;
    const QString input = folder.filePath(QStringLiteral("input.bin"));
    const QString output = folder.filePath(QStringLiteral("out.wmv"));
};

// Converts the input's first seconds; true when the engine took the job and finished it.
bool convert(Harness& harness)
{
    CMediaEngine& engine = harness.engine;
    engine.addVideoClip(harness.input, 0.0, kClipSeconds, 0);
    engine.addAudioClip(harness.input, 0.0, kClipSeconds);
    if (!engine.saveFile(harness.output))
        return false;
    QEventLoop loop;
    QObject::connect(&engine, &CMediaEngine::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kHangMs, &loop, [] {
        std::fputs("conversion did not finish\n", stderr);
        std::abort();
    });
    loop.exec();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Harness harness;
    QFile input(harness.input);
    if (!input.open(QIODevice::WriteOnly) ||
        input.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    input.close();
    probeDurationSeconds(harness.input);
    const bool finished = convert(harness);
    if (finished && !harness.engine.lastWriteFailed() && QFileInfo(harness.output).size() <= 0)
        __builtin_trap(); // reported as written, but no output
    harness.engine.clearClips();
    QFile::remove(harness.output);
    return 0;
}

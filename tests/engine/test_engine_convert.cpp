// Real conversions through the engine control, checked by decoding the files it writes:
// container and codecs, frame size, stretch mode and sound per profile or code, exact
// trimming, several clips, clips lacking a stream. Then the control's events (queued,
// progress then exactly one Finished), writes stopped, closed, failed or replaced by
// the next SaveFile, and the refusals of SaveFile; no failed or stopped write harms an
// existing file.
#include "MediaCheck.h"
#include "engine/CDirarAror.h"
#include "support/CEngineEvents.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

constexpr int kWriteTimeoutMs = 120000;
constexpr int kQuietMs = 500; // how long to watch for events that must not come
const char kEarlierContent[] = "the user's earlier file";

// A conversion step as the main window makes it; as it stands, one that writes.
struct Step
{
    QString source = fixturePath(QStringLiteral("clip.mpg"));
    double startSeconds = 0.0;
    double endSeconds = 3.0;
    int stretch = 0;
    QString profile = QStringLiteral("320x240video.prx"); // empty for none
    int audioCode = 15;
    QString output = QStringLiteral("out.wmv");
};

// The slowest step the fixtures allow, so that there is time to act during the write.
const Step kLongStep{fixturePath(QStringLiteral("clip.avi")), 0.0, 3.0, 0,
                     QStringLiteral("High640x480video.prx")};

enum class Interruption
{
    StopAtOnce,
    Stop,
    Close,
    FileVanishes, // the write cannot be completed
};

void addClip(CDirarAror& engine, const QString& path, double startSeconds, double endSeconds, int stretch = 0)
{
    engine.AddVideoClip(path, startSeconds, endSeconds, short(stretch));
    engine.AddAudioClip(path, startSeconds, endSeconds);
}

void setUp(CDirarAror& engine, const Step& step)
{
    engine.SetOutputMode(9);
    engine.SetClipOption(0);
    engine.ClearClips();
    if (!step.source.isEmpty())
        addClip(engine, step.source, step.startSeconds, step.endSeconds, step.stretch);
    engine.SetProfileFile(step.profile.isEmpty() ? QString() : profilePath(step.profile));
    engine.SetAudioFormat(short(step.audioCode));
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestEngineConvert : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    void profilesAndStretchModes_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("bars"); // black above and below the picture
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<int>("sampleRateHz");
        QTest::addColumn<int>("audioBps");
        const auto row = [](const char* name, const char* source, const char* profile, double startSeconds,
                            double endSeconds, int stretch, bool bars, double frameRate, int sampleRateHz,
                            int audioBps) {
            const Step step{fixturePath(QLatin1String(source)), startSeconds, endSeconds, stretch,
                            QLatin1String(profile)};
            QTest::newRow(name) << step << bars << frameRate << sampleRateHz << audioBps;
        };
        row("320x240 from mpg", "clip.mpg", "320x240video.prx", 0.5, 2.5, 0, false, 25.0, 22050, 32000);
        // 176x144 pixels shown 16:9: the aspect comes from the stream, not the pixel count
        row("High 320x240 from anamorphic mpeg, keep aspect", "clip.mpeg", "High320x240video.prx", 1.4, 2.9,
            2, true, 25.0, 32000, 48000);
        row("640x480 from avi, NTSC rate, 5.1 sound, crop", "clip.avi", "640x480video.prx", 1.2, 2.2, 3,
            false, 30000.0 / 1001, 44100, 64000);
        row("High 640x480 from asf", "clip.asf", "High640x480video.prx", 0.0, 1.5, 0, false, 15.0, 44100,
            128000);
        row("16:9 keep aspect, end past the file's end", "clip.wmv", "320x240video.prx", 2.0, 10.0, 2, true,
            25.0, 22050, 32000);
        row("16:9 crop", "clip.wmv", "320x240video.prx", 1.0, 1.5, 3, false, 25.0, 22050, 32000);
        row("16:9 stretched", "clip.wmv", "320x240video.prx", 1.0, 1.5, 0, false, 25.0, 22050, 32000);
        // the header claims 2^64-1 units; the data holds 3 s, and so does the output
        row("lying header, end far past", "lyingduration.asf", "320x240video.prx", 0.0, 1e6, 0, false, 15.0,
            22050, 32000);
        // the picture's data covers the silence added after the sound's end
        row("sound ends half-way", "shortsound.avi", "320x240video.prx", 0.0, 3.0, 0, false, 25.0, 22050,
            32000);
    }
    void profilesAndStretchModes()
    {
        QFETCH(Step, step);
        QFETCH(bool, bars);
        QFETCH(double, frameRate);
        QFETCH(int, sampleRateHz);
        QFETCH(int, audioBps);
        CDirarAror engine;
        setUp(engine, step);
        const std::optional<MediaSummary> summary = written(engine, step.output);
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->container, QStringLiteral("asf"));
        QCOMPARE(summary->videoStreams + summary->audioStreams, 2);
        const VideoSummary& video = *summary->video;
        QCOMPARE(video.codec, QStringLiteral("wmv2"));
        QCOMPARE(video.size, step.profile.contains(QLatin1String("640")) ? QSize(640, 480) : QSize(320, 240));
        QVERIFY2(qAbs(video.frameRate - frameRate) < 0.01, qPrintable(QString::number(video.frameRate)));
        const double span = std::min(step.endSeconds, engine.GetDuration(step.source)) - step.startSeconds;
        QVERIFY2(qAbs(video.frameCount / frameRate - span) <= 1.0 / frameRate + 1e-6,
                 qPrintable(QStringLiteral("%1 frames for %2 s").arg(video.frameCount).arg(span)));
        const AudioSummary& audio = *summary->audio;
        QCOMPARE(audio.codec, QStringLiteral("wmav2"));
        QCOMPARE(audio.channels, 2);
        QCOMPARE(audio.sampleRateHz, sampleRateHz);
        QCOMPARE(audio.bitrateBps, audioBps);
        QVERIFY2(audio.lasts(span), qPrintable(QString::number(audio.sampleCount)));

        // 16:9 in 4:3 leaves 15 of the 120 rows above and below; black is luma 16
        const QImage& picture = video.middleFrame;
        const double top = meanLuma(picture, QRect(0, 0, 160, 12));
        const double bottom = meanLuma(picture, QRect(0, 108, 160, 12));
        QVERIFY(meanLuma(picture, QRect(0, 50, 160, 20)) > 60.0);
        QVERIFY(meanLuma(picture, QRect(0, 0, 10, 120)) > 40.0); // never bars at the sides here
        QVERIFY2(bars ? top < 24.0 && bottom < 24.0 : top > 40.0 && bottom > 40.0,
                 qPrintable(QStringLiteral("%1 %2").arg(top).arg(bottom)));
    }

    // The formats of today's browsers, phones and TVs, read back by a plain decoder.
    void todaysFormatsPlay_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("codecs"); // container, picture, sound
        QTest::addColumn<int>("sampleRateHz");
        QTest::addColumn<int>("channels");
        const auto row = [](const char* name, const char* output, const char* profile, int code,
                            const char* codecs, int sampleRateHz, int channels) {
            const Step step{fixturePath(QStringLiteral("clip.avi")),
                            0.5,
                            2.5,
                            2,
                            QLatin1String(profile),
                            code,
                            QLatin1String(output)};
            QTest::newRow(name) << step << QString::fromLatin1(codecs) << sampleRateHz << channels;
        };
        row("mp4", "out.mp4", "640x480video.prx", 15, "mov,mp4,m4a,3gp,3g2,mj2 h264 aac", 44100, 2);
        row("webm", "out.webm", "High320x240video.prx", 15, "matroska,webm vp9 opus", 48000, 2);
        row("mp3, mono", "out.mp3", "", 15, "mp3 - mp3", 22050, 1);
        row("m4a", "out.m4a", "", 21, "mov,mp4,m4a,3gp,3g2,mj2 - aac", 44100, 2);
    }
    void todaysFormatsPlay()
    {
        QFETCH(Step, step);
        QFETCH(QString, codecs);
        QFETCH(int, sampleRateHz);
        QFETCH(int, channels);
        CDirarAror engine;
        setUp(engine, step);
        const std::optional<MediaSummary> summary = written(engine, step.output);
        QVERIFY(summary && summary->audio);
        const QString videoCodec = summary->video ? summary->video->codec : QStringLiteral("-");
        QCOMPARE(QStringList({summary->container, videoCodec, summary->audio->codec}).join(' '), codecs);
        if (summary->video) {
            QCOMPARE(summary->video->pixelFormat, QStringLiteral("yuv420p"));
            QCOMPARE(summary->video->size,
                     step.profile.contains(QLatin1String("640")) ? QSize(640, 480) : QSize(320, 240));
            QVERIFY2(qAbs(summary->video->frameCount - 60) <= 1,
                     qPrintable(QString::number(summary->video->frameCount)));
        }
        QCOMPARE(summary->audio->sampleRateHz, sampleRateHz);
        QCOMPARE(summary->audio->channels, channels);
        QVERIFY2(summary->audio->lasts(2.0), qPrintable(QString::number(summary->audio->sampleCount)));
        // MP4 files carry their index first, so that they play while they download
        const QByteArray bytes = readFile(m_folder->filePath(step.output));
        if (summary->container.startsWith(QLatin1String("mov")))
            QVERIFY(bytes.indexOf("moov") >= 0 && bytes.indexOf("moov") < bytes.indexOf("mdat"));
    }

    // A flash and a beep at the same moment stay together in every format.
    void soundStaysInSync_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("source");
        for (const char* name : {"out.mp4", "out.webm", "out.wmv"})
            QTest::newRow(name) << QString::fromLatin1(name) << fixturePath(QStringLiteral("sync.mp4"));
        // pictures 40 ms apart for a second, then 80 ms: the output's constant rate must not drift
        QTest::newRow("variable frame rate") << "out.mp4" << fixturePath(QStringLiteral("syncvfr.mkv"));
    }
    void soundStaysInSync()
    {
        QFETCH(QString, output);
        QFETCH(QString, source);
        CDirarAror engine;
        setUp(engine, {source, 0.5, 3.0, 0, QStringLiteral("320x240video.prx"), 15, output});
        QVERIFY(written(engine, output));
        const QString written = m_folder->filePath(output);
        const double sourceOffset = beepSeconds(source) - flashSeconds(source);
        const double offset = beepSeconds(written) - flashSeconds(written);
        QVERIFY2(flashSeconds(written) > 0.0 && qAbs(offset - sourceOffset) <= 0.040,
                 qPrintable(QStringLiteral("flash at %1 s, beep at %2 s")
                                .arg(flashSeconds(written))
                                .arg(beepSeconds(written))));
    }

    // What phones, cameras, screen recorders and downloads make, read and converted.
    void todaysInputsConvert_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("frameRate"); // of the output
        for (const char* name : {"phone.mp4", "camera.mov", "screen.mkv", "clip.webm", "clip.flv", "clip.ts",
                                 "clip.3gp", "av1.mkv", "tenbit.mp4", "portrait.mp4"})
            QTest::newRow(name) << fixturePath(QLatin1String(name))
                                << (QByteArray(name).startsWith("p") ? 30.0 : 25.0);
    }
    void todaysInputsConvert()
    {
        QFETCH(QString, source);
        QFETCH(double, frameRate);
        CDirarAror engine;
        QVERIFY2(qAbs(engine.GetDuration(source) - 1.0) < 0.1,
                 qPrintable(QString::number(engine.GetDuration(source))));
        setUp(engine,
              {source, 0.0, 1.0, 2, QStringLiteral("320x240video.prx"), 15, QStringLiteral("out.mp4")});
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("out.mp4"));
        QVERIFY(summary && summary->video && summary->audio);
        QVERIFY2(qAbs(summary->video->frameCount - frameRate) <= 1.0,
                 qPrintable(QString::number(summary->video->frameCount)));
        QVERIFY2(summary->audio->lasts(1.0), qPrintable(QString::number(summary->audio->sampleCount)));
        // 4:3 pictures fill the 4:3 frame; the portrait phone clip stands upright between side bars
        const QImage& picture = summary->video->middleFrame;
        const double sides =
            std::max(meanLuma(picture, QRect(0, 0, 20, 120)), meanLuma(picture, QRect(140, 0, 20, 120)));
        const bool portrait = source.endsWith(QLatin1String("portrait.mp4"));
        QVERIFY2(portrait ? sides < 24.0 : sides > 40.0, qPrintable(QString::number(sides)));
        QVERIFY(meanLuma(picture, QRect(60, 20, 40, 80)) > 60.0);
    }

    void trimStartsAtTheRightPicture_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("startSeconds");
        // the files start at about 0.5 s (programme streams) or 0; far starts need a seek
        for (const char* name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf"}) {
            for (const double startSeconds : {0.4, 1.8})
                QTest::addRow("%s from %.1f s", name, startSeconds) << fixturePath(name) << startSeconds;
        }
    }
    void trimStartsAtTheRightPicture()
    {
        QFETCH(QString, source);
        QFETCH(double, startSeconds);
        CDirarAror engine;
        setUp(engine, {source, startSeconds, startSeconds + 1.0});
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("trim.wmv"));
        QVERIFY(summary && summary->video);
        const VideoSummary& video = *summary->video;
        const std::vector<TimedFrame> pictures = decodeFrames(source);
        QVERIFY(!pictures.empty());
        // the middle picture tells a steady rate from a late start with dropped pictures
        const double frameSeconds = 1.0 / video.frameRate;
        const double first = bestMatchSeconds(pictures, video.firstFrame);
        const double middle =
            bestMatchSeconds(pictures, video.middleFrame) - (video.frameCount / 2) * frameSeconds;
        QVERIFY2(qAbs(first - startSeconds) <= frameSeconds + 0.002 &&
                     qAbs(middle - startSeconds) <= frameSeconds + 0.002,
                 qPrintable(QString::asprintf("first picture from %.3f s, middle one as if from %.3f s",
                                              first, middle)));
    }

    void soundOnlyFollowsTheBitrateCode_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("bitrateBps");
        const int bitrates[] = {28800, 28800, 32000, 48000, 64000, 96000, 128000};
        for (int code = 15; code <= 21; ++code)
            QTest::addRow("code %d", code) << code << bitrates[code - 15];
    }
    void soundOnlyFollowsTheBitrateCode()
    {
        QFETCH(int, code);
        QFETCH(int, bitrateBps);
        CDirarAror engine;
        // 5.1 sound, mixed down
        setUp(engine, {fixturePath(QStringLiteral("clip.avi")), 0.5, 2.0, 0, QString(), code});
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("sound.wma"));
        QVERIFY(summary && summary->audio);
        QCOMPARE(summary->container, QStringLiteral("asf"));
        QCOMPARE(summary->videoStreams, 0);
        QCOMPARE(summary->audio->codec, QStringLiteral("wmav2"));
        QCOMPARE(summary->audio->channels, code == 15 ? 1 : 2); // "Mono 28.8kbps" first
        QCOMPARE(summary->audio->bitrateBps, bitrateBps);
        QVERIFY(summary->audio->lasts(1.5));
    }

    void clipsFollowEachOther()
    {
        CDirarAror engine;
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.5, 1.5});
        addClip(engine, fixturePath(QStringLiteral("clip.avi")), 1.0, 2.0, 2);
        addClip(engine, fixturePath(QStringLiteral("clip.asf")), 2.5, 3.0, 3);
        // names are used as given, even ones FFmpeg would read as a protocol or a pattern
        const std::optional<MediaSummary> summary =
            written(engine, QStringLiteral("http:three clips #1 %d.wmv"));
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->video->frameRate, 25.0); // the first clip's rate
        QVERIFY2(qAbs(summary->video->frameCount - 62) <= 1,
                 qPrintable(QString::number(summary->video->frameCount)));
        QVERIFY(summary->audio->lasts(2.5));
    }

    void missingStreamsBecomeBlackOrSilence()
    {
        // a sound-only file and a picture-only file, made by the engine itself
        CDirarAror engine;
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 2.0, 0, QString(), 19});
        QVERIFY(written(engine, QStringLiteral("sound only.wma")));
        const QString silentProfile = m_folder->filePath(QStringLiteral("picture only.prx"));
        QVERIFY(writeFile(silentProfile,
                          withoutStream(readFile(profilePath(QStringLiteral("320x240video.prx"))), false)));
        engine.SetProfileFile(silentProfile);
        const std::optional<MediaSummary> pictureOnly = written(engine, QStringLiteral("picture only.wmv"));
        QVERIFY(pictureOnly && pictureOnly->videoStreams == 1 && pictureOnly->audioStreams == 0);

        // the picture of the sound-only file is black, the sound of the picture-only file silent
        engine.ClearClips();
        engine.AddVideoClip(m_folder->filePath(QStringLiteral("sound only.wma")), 0.5, 1.5, 0);
        engine.AddAudioClip(m_folder->filePath(QStringLiteral("picture only.wmv")), 0.5, 1.5);
        engine.SetProfileFile(profilePath(QStringLiteral("320x240video.prx")));
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("stand-ins.wmv"));
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->video->frameCount, 30); // no picture to take a rate from: the profile's
        QVERIFY(meanLuma(summary->video->middleFrame, QRect(QPoint(), kLumaSize)) < 20.0);
        QVERIFY(summary->audio->lasts(1.0));
    }

    void lastWriteReportsProgressThenOneFinished()
    {
        CDirarAror engine;
        CEngineEvents events(engine);
        QSignalSpy progress(&events, &CEngineEvents::Progress);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        setUp(engine, kLongStep);
        QElapsedTimer timer;
        timer.start();
        // each SaveFile replaces the write before it
        for (const char* name : {"a.wmv", "b.wmv", "c.wmv", "out.wmv"})
            QVERIFY(engine.SaveFile(m_folder->filePath(QLatin1String(name))));
        const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
        QCOMPARE(progress.count() + finished.count(), 0); // never from inside the call
        // a preview refills the clip list while the file is written: the write keeps its own
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 1.0, 2});
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
        const double elapsedSeconds = timer.elapsed() / 1000.0;
        QTest::qWait(kQuietMs);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!engine.LastWriteFailed());
        QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(), QStringList{QStringLiteral("out.wmv")}, 10000);
        const std::optional<MediaSummary> summary = summarizeMedia(output);
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->video->size, QSize(640, 480));
        QVERIFY(summary->video->frameCount > 80);
        QCOMPARE(summary->audio->sampleRateHz, 44100);

        QVERIFY(!progress.isEmpty());
        QVERIFY2(progress.count() <= elapsedSeconds * 10 + 3, qPrintable(QString::number(progress.count())));
        double previous = 0.0;
        for (const QList<QVariant>& event : progress) {
            const double position = event[0].toDouble();
            QVERIFY(position >= previous && position <= event[1].toDouble());
            QVERIFY(qAbs(event[1].toDouble() - 3.0) < 0.05);
            previous = position;
        }
        QCOMPARE(previous, progress.last()[1].toDouble()); // ends at the total
    }

    void interruptedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("interruption");
        QTest::newRow("stop at once") << int(Interruption::StopAtOnce);
        QTest::newRow("stop part-way") << int(Interruption::Stop);
        QTest::newRow("close part-way") << int(Interruption::Close);
        QTest::newRow("file vanishes part-way") << int(Interruption::FileVanishes);
    }
    void interruptedWriteKeepsTheOldFile()
    {
        QFETCH(int, interruption);
        // a file the user already has under the output name
        const QString output = m_folder->filePath(QStringLiteral("existing.wmv"));
        QVERIFY(writeFile(output, kEarlierContent));
        auto engine = std::make_unique<CDirarAror>();
        CEngineEvents events(*engine);
        QSignalSpy progress(&events, &CEngineEvents::Progress);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        setUp(*engine, kLongStep);
        QVERIFY(engine->SaveFile(output));
        if (interruption != int(Interruption::StopAtOnce))
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWriteTimeoutMs);
        const int progressAtStop = progress.count();
        const QStringList onlyExisting{QStringLiteral("existing.wmv")};
        const bool failed = interruption == int(Interruption::FileVanishes);
        if (failed) {
            for (const QString& name : filesInFolder()) {
                if (name != onlyExisting.front())
                    QVERIFY(QFile::remove(m_folder->filePath(name)));
            }
        } else if (interruption == int(Interruption::Close)) {
            engine.reset();
            QCOMPARE(filesInFolder(), onlyExisting); // the control waits for its threads
        } else {
            engine->Stop();
        }
        QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(), onlyExisting, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), failed ? 1 : 0, kWriteTimeoutMs);
        QTest::qWait(kQuietMs); // queued events of a stopped write must not arrive
        QCOMPARE(finished.count(), failed ? 1 : 0);
        QVERIFY(failed || progress.count() == progressAtStop);
        QCOMPARE(readFile(output), QByteArray(kEarlierContent));
        if (!engine)
            return;
        QCOMPARE(engine->LastWriteFailed(), failed);
        QVERIFY2(!failed || engine->LastErrorText().endsWith(QLatin1String(" (existing.wmv)")),
                 qPrintable(engine->LastErrorText()));

        // the next write works, and clears the failure
        QVERIFY(engine->SaveFile(output));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), failed ? 2 : 1, kWriteTimeoutMs);
        QVERIFY(!engine->LastWriteFailed());
        QVERIFY(readFile(output) != QByteArray(kEarlierContent));
    }

    void outputSameAsInputIsRefused()
    {
        const QString input = m_folder->filePath(QStringLiteral("holiday.wmv"));
        QVERIFY(QFile::copy(fixturePath(QStringLiteral("clip.wmv")), input));
        const QString link = m_folder->filePath(QStringLiteral("link.wmv"));
        QVERIFY(QFile::link(input, link));
        const QByteArray before = readFile(input);
        CDirarAror engine;
        CEngineEvents events(engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        setUp(engine, {input});
        QVERIFY(!engine.SaveFile(input));
        QVERIFY(!engine.SaveFile(m_folder->path() + QStringLiteral("/./holiday.wmv")));
        QVERIFY(!engine.SaveFile(link));
        // only the sound taken from it counts too
        engine.ClearClips();
        engine.AddVideoClip(fixturePath(QStringLiteral("clip.mpg")), 0.0, 3.0, 0);
        engine.AddAudioClip(input, 0.0, 3.0);
        QVERIFY(!engine.SaveFile(input));
        QTest::qWait(kQuietMs);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(readFile(input), before);
        QCOMPARE(filesInFolder(), (QStringList{QStringLiteral("holiday.wmv"), QStringLiteral("link.wmv")}));
    }

    void refusals_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("reason"); // how the refusal's reason starts
        const auto addRow = [](const char* name, const char* reason,
                               const std::function<void(Step&)>& change) {
            Step step;
            change(step);
            QTest::newRow(name) << step << QString::fromLatin1(reason);
        };
        addRow("not media", "open: ", [](Step& s) { s.source = fixturePath(QStringLiteral("text.avi")); });
        addRow("missing input", "open: the file does not exist",
               [](Step& s) { s.source = fixturePath(QStringLiteral("missing.mpg")); });
        addRow("no clips", "check: no picture clips", [](Step& s) { s.source.clear(); });
        addRow("start after end", "check: the span",
               [](Step& s) { s.startSeconds = 2.0, s.endSeconds = 1.0; });
        addRow("start past the file's end", "check: the span",
               [](Step& s) { s.startSeconds = 10.0, s.endSeconds = 20.0; });
        addRow("shorter than a frame", "check: a span is shorter than one frame",
               [](Step& s) { s.startSeconds = 1.0, s.endSeconds = 1.01; });
        addRow("unknown stretch mode", "check: no picture clips", [](Step& s) { s.stretch = 7; });
        addRow("missing profile", "check: no usable video profile", [](Step& s) { s.profile = "no.prx"; });
        addRow("video without a profile", "check: no usable video profile",
               [](Step& s) { s.profile.clear(); });
        addRow("audio code below the list", "check: no usable sound format",
               [](Step& s) { s.profile.clear(), s.audioCode = 14, s.output = "out.wma"; });
        addRow("audio code above the list", "check: no usable sound format",
               [](Step& s) { s.profile.clear(), s.audioCode = 22, s.output = "out.wma"; });
        addRow("other output type", "check: the output is not a type the engine writes",
               [](Step& s) { s.output = "out.avi"; });
        addRow("folder missing", "check: the output folder does not exist",
               [](Step& s) { s.output = "no folder/out.wmv"; });
        addRow("output is a folder", "check: the output exists and is not a file",
               [](Step& s) { s.output = "folder.wmv"; });
    }
    void refusals()
    {
        QFETCH(Step, step);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("folder.wmv")));
        CDirarAror engine;
        CEngineEvents events(engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        setUp(engine, step);
        QVERIFY(!engine.SaveFile(m_folder->filePath(step.output)));
        QVERIFY2(engine.LastErrorText().startsWith(reason), qPrintable(engine.LastErrorText()));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 0);
        QVERIFY(filesInFolder().isEmpty());
    }

    // A file the data does not fill is no output: each of these fails with its reason
    // and leaves nothing behind.
    void writesTheDataCannotFillFail_data()
    {
        QTest::addColumn<QString>("change"); // what happens to the source once the write runs
        QTest::addColumn<QString>("reason");
        QTest::newRow("source truncated part-way") << "truncate"
                                                   << "decode: the data ends at";
        QTest::newRow("source overwritten with noise part-way") << "noise"
                                                                << "decode: ";
        QTest::newRow("sound-only span too short to decode") << "short sound"
                                                             << "write: the written file holds nothing that "
                                                                "decodes (out.wma)";
    }
    void writesTheDataCannotFillFail()
    {
        QFETCH(QString, change);
        QFETCH(QString, reason);
        CDirarAror engine;
        QString output = m_folder->filePath(QStringLiteral("out.wma"));
        if (change == QLatin1String("short sound")) {
            setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 0.01, 0, QString(), 21});
        } else {
            const QString source = longSource(engine);
            QVERIFY(!source.isEmpty());
            setUp(engine, {source, 0.0, 60.0, 0, QStringLiteral("High640x480video.prx")});
            output = m_folder->filePath(QStringLiteral("out.wmv"));
        }
        CEngineEvents events(engine);
        QSignalSpy progress(&events, &CEngineEvents::Progress);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        QVERIFY(engine.SaveFile(output));
        if (change != QLatin1String("short sound")) {
            // a second written: both sources are open and well under way
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last()[0].toDouble() >= 1.0,
                                     kWriteTimeoutMs);
            QFile file(m_folder->filePath(QStringLiteral("long.wmv")));
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 half = file.size() / 2;
            QVERIFY(change == QLatin1String("truncate") ? file.resize(half)
                                                        : file.seek(half) && file.write(noise(half)) == half);
        }
        QVERIFY(finished.wait(kWriteTimeoutMs));
        QVERIFY(engine.LastWriteFailed());
        QVERIFY2(engine.LastErrorText().startsWith(reason), qPrintable(engine.LastErrorText()));
        QVERIFY(!QFile::exists(output));
        QTRY_VERIFY_WITH_TIMEOUT(!filesInFolder().join(' ').contains(QLatin1String(".part")), 10000);
    }

    void damagedInputEndsCompleteOrFailedWithAReason()
    {
        CDirarAror engine;
        CEngineEvents events(engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        const QString damaged = fixturePath(QStringLiteral("bitflip.wmv"));
        QVERIFY(engine.GetDuration(damaged) > 3.0); // the header is intact
        setUp(engine, {damaged});
        const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
        QVERIFY(engine.SaveFile(output));
        QVERIFY(finished.wait(kWriteTimeoutMs));
        QTest::qWait(kQuietMs);
        QCOMPARE(finished.count(), 1);
        if (engine.LastWriteFailed()) {
            QVERIFY(!engine.LastErrorText().isEmpty());
            QVERIFY(filesInFolder().isEmpty());
            return;
        }
        // the decoder conceals the damaged pictures: a whole, decodable file
        QVERIFY(engine.LastErrorText().isEmpty());
        QCOMPARE(filesInFolder(), QStringList{QStringLiteral("out.wmv")});
        const std::optional<MediaSummary> summary = summarizeMedia(output);
        QVERIFY(summary && summary->video && summary->audio);
        QVERIFY(qAbs(summary->video->frameCount - 75) <= 1);
    }

    // A source that stops answering (here: data, then a hole of zeros that the reader
    // scans for ever) holds up neither Stop nor closing the control.
    void stalledSourceDoesNotHoldUpStopOrClose()
    {
        const QString stalled = m_folder->filePath(QStringLiteral("stalled.avi"));
        QVERIFY(QFile::copy(fixturePath(QStringLiteral("clip.avi")), stalled));
        QVERIFY(QFile(stalled).resize(qint64(64) << 30)); // sparse: no disk space used
        auto engine = std::make_unique<CDirarAror>();
        QVERIFY(qAbs(engine->GetDuration(stalled) - 3.0) < 0.1);
        setUp(*engine, {stalled});
        QVERIFY(engine->SaveFile(m_folder->filePath(QStringLiteral("out.wmv"))));
        QVERIFY(engine->Play());
        QTest::qWait(1000); // both readers are in the hole by now
        QElapsedTimer timer;
        timer.start();
        engine->Stop();
        engine.reset();
        // scanning the hole takes far longer than this, even on a fast machine
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(filesInFolder(), QStringList{QStringLiteral("stalled.avi")});
    }

    // Quiet unless asked for; then each refusal and failure is a warning with its reason.
    void failuresAreLoggedWhenAskedFor()
    {
        static QStringList logged;
        logged.clear();
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
                if (QByteArray(context.category).startsWith("vv."))
                    logged << message;
            });
        CDirarAror engine;
        setUp(engine, {fixturePath(QStringLiteral("text.avi"))});
        QVERIFY(!engine.SaveFile(m_folder->filePath(QStringLiteral("quiet.wmv"))));
        QVERIFY(logged.isEmpty());
        QLoggingCategory::setFilterRules(QStringLiteral("vv.engine.warning=true"));
        QVERIFY(!engine.SaveFile(m_folder->filePath(QStringLiteral("loud.wmv"))));
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        QVERIFY2(logged.join('\n').contains(engine.LastErrorText()), qPrintable(logged.join('\n')));
    }

    void namesUpToTheFileSystemsLimitAreWritten()
    {
        CDirarAror engine;
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 0.5});
        const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".wmv"); // 255 bytes
        QVERIFY(written(engine, name));
        QCOMPARE(filesInFolder(), QStringList{name});
    }

private:
    QStringList filesInFolder() const
    {
        return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // Writes the clip list to name in the test folder and reads the file back; nullopt
    // when the write is refused or fails.
    std::optional<MediaSummary> written(CDirarAror& engine, const QString& name)
    {
        const QString output = m_folder->filePath(name);
        CEngineEvents events(engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        if (!engine.SaveFile(output) || !finished.wait(kWriteTimeoutMs) || engine.LastWriteFailed())
            return std::nullopt;
        return summarizeMedia(output);
    }

    // A 60 s clip, made by the engine from 20 copies of a fixture.
    QString longSource(CDirarAror& engine)
    {
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg"))});
        for (int copy = 1; copy < 20; ++copy)
            addClip(engine, fixturePath(QStringLiteral("clip.mpg")), 0.0, 3.0);
        return written(engine, QStringLiteral("long.wmv")) ? m_folder->filePath(QStringLiteral("long.wmv"))
                                                           : QString();
    }

    static QByteArray noise(qint64 size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator generator(7);
        for (char& byte : bytes)
            byte = char(generator.bounded(256));
        return bytes;
    }

    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_MAIN(TestEngineConvert)
#include "test_engine_convert.moc"

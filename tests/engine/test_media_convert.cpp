// Real conversions through the media core, checked by decoding the files it writes:
// container and codecs, frame size, stretch mode and sound per profile or code, exact
// trimming, several clips, and clips lacking a stream.
#include "MediaCheck.h"
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWriteTimeoutMs = 120000;

void addClip(CMediaEngine& engine, const QString& name, double startSeconds, double endSeconds,
             int stretch = 0)
{
    engine.addVideoClip(fixturePath(name), startSeconds, endSeconds, stretch);
    engine.addAudioClip(fixturePath(name), startSeconds, endSeconds);
}

} // namespace

class TestMediaConvert : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_folder.isValid()); }
    void profilesAndStretchModes_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<double>("startSeconds");
        QTest::addColumn<double>("endSeconds");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<bool>("bars"); // black above and below the picture
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<int>("sampleRateHz");
        QTest::addColumn<int>("audioBps");
        const auto row = [](const char* name, const char* source, const char* profile, double startSeconds,
                            double endSeconds, int stretch, bool bars, double frameRate, int sampleRateHz,
                            int audioBps) {
            QTest::newRow(name) << QString(source) << QString(profile) << startSeconds << endSeconds
                                << stretch << bars << frameRate << sampleRateHz << audioBps;
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
    }
    void profilesAndStretchModes()
    {
        QFETCH(QString, source);
        QFETCH(QString, profile);
        QFETCH(double, startSeconds);
        QFETCH(double, endSeconds);
        QFETCH(int, stretch);
        QFETCH(bool, bars);
        QFETCH(double, frameRate);
        QFETCH(int, sampleRateHz);
        QFETCH(int, audioBps);
        CMediaEngine engine;
        addClip(engine, source, startSeconds, endSeconds, stretch);
        engine.setProfileFile(profilePath(profile));
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("out.wmv"));
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->container, QStringLiteral("asf"));
        QCOMPARE(summary->videoStreams + summary->audioStreams, 2);
        const VideoSummary& video = *summary->video;
        QCOMPARE(video.codec, QStringLiteral("wmv2"));
        QCOMPARE(video.size, profile.contains(QLatin1String("640")) ? QSize(640, 480) : QSize(320, 240));
        QVERIFY2(qAbs(video.frameRate - frameRate) < 0.01, qPrintable(QString::number(video.frameRate)));
        const double span = std::min(endSeconds, probeDurationSeconds(fixturePath(source))) - startSeconds;
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

    void trimStartsAtTheRightPicture_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<double>("startSeconds");
        // the files start at about 0.5 s (programme streams) or 0; far starts need a seek
        for (const QString name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf"}) {
            for (const double startSeconds : {0.4, 1.8})
                QTest::addRow("%s from %.1f s", qPrintable(name), startSeconds) << name << startSeconds;
        }
    }
    void trimStartsAtTheRightPicture()
    {
        QFETCH(QString, source);
        QFETCH(double, startSeconds);
        const double endSeconds = startSeconds + 1.0;
        CMediaEngine engine;
        addClip(engine, source, startSeconds, endSeconds);
        engine.setProfileFile(profilePath(QStringLiteral("320x240video.prx")));
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("trim.wmv"));
        QVERIFY(summary && summary->video);
        const VideoSummary& video = *summary->video;
        const std::vector<TimedFrame> pictures = decodeFrames(fixturePath(source));
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
        CMediaEngine engine;
        addClip(engine, QStringLiteral("clip.avi"), 0.5, 2.0); // 5.1 sound, mixed down
        engine.setAudioFormat(code);
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
        CMediaEngine engine;
        addClip(engine, QStringLiteral("clip.mpg"), 0.5, 1.5);
        addClip(engine, QStringLiteral("clip.avi"), 1.0, 2.0, 2);
        addClip(engine, QStringLiteral("clip.asf"), 2.5, 3.0, 3);
        engine.setProfileFile(profilePath(QStringLiteral("320x240video.prx")));
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
        CMediaEngine engine;
        addClip(engine, QStringLiteral("clip.mpg"), 0.0, 2.0);
        engine.setAudioFormat(19);
        QVERIFY(written(engine, QStringLiteral("sound only.wma")));
        const QString silentProfile = m_folder.filePath(QStringLiteral("picture only.prx"));
        QVERIFY(writeFile(silentProfile,
                          withoutStream(readFile(profilePath(QStringLiteral("320x240video.prx"))), false)));
        engine.setProfileFile(silentProfile);
        const std::optional<MediaSummary> pictureOnly = written(engine, QStringLiteral("picture only.wmv"));
        QVERIFY(pictureOnly && pictureOnly->videoStreams == 1 && pictureOnly->audioStreams == 0);

        // the picture of the sound-only file is black, the sound of the picture-only file silent
        engine.clearClips();
        engine.addVideoClip(m_folder.filePath(QStringLiteral("sound only.wma")), 0.5, 1.5, 0);
        engine.addAudioClip(m_folder.filePath(QStringLiteral("picture only.wmv")), 0.5, 1.5);
        engine.setProfileFile(profilePath(QStringLiteral("320x240video.prx")));
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("stand-ins.wmv"));
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->video->frameCount, 30); // no picture to take a rate from: the profile's
        QVERIFY(meanLuma(summary->video->middleFrame, QRect(QPoint(), kLumaSize)) < 20.0);
        QVERIFY(summary->audio->lasts(1.0));
    }

private:
    // Writes the engine's clip list to name in the test folder and reads the file back;
    // nullopt when the write is refused or fails.
    std::optional<MediaSummary> written(CMediaEngine& engine, const QString& name)
    {
        const QString output = m_folder.filePath(name);
        QSignalSpy finished(&engine, &CMediaEngine::finished);
        if (!engine.saveFile(output) || !finished.wait(kWriteTimeoutMs) || engine.lastWriteFailed())
            return std::nullopt;
        return summarizeMedia(output);
    }
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestMediaConvert)
#include "test_media_convert.moc"

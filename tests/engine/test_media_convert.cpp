// Real conversions through the media core, checked by decoding the files it writes:
// container and codecs, frame size and sound per profile or code, exact trimming,
// the stretch modes in the picture, several clips, and clips lacking a stream.
#include "MediaCheck.h"
#include "engine/CMediaEngine.h"
#include "engine/MediaInput.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWriteTimeoutMs = 120000;

QString fixture(const QString& name)
{
    return QStringLiteral(VV_FIXTURES_DIR "/") + name;
}

QString profile(const QString& name)
{
    return QStringLiteral(VV_PROFILES_DIR "/") + name;
}

// Writes the engine's clip list to output and waits for the end of the write.
bool convert(CMediaEngine& engine, const QString& output)
{
    QSignalSpy finished(&engine, &CMediaEngine::finished);
    if (!engine.saveFile(output))
        return false;
    return finished.wait(kWriteTimeoutMs) && !engine.lastWriteFailed() && QFile::exists(output);
}

void addClip(CMediaEngine& engine, const QString& path, double startSeconds, double endSeconds, int stretch)
{
    engine.addVideoClip(path, startSeconds, endSeconds, stretch);
    engine.addAudioClip(path, startSeconds, endSeconds);
}

double seconds(const AudioSummary& audio)
{
    return double(audio.sampleCount) / audio.sampleRateHz;
}

// wmav2 works in frames of up to 2048 samples; its last one may be cut short.
double audioTolerance(const AudioSummary& audio)
{
    return 2048.0 / audio.sampleRateHz + 0.001;
}

} // namespace

class TestMediaConvert : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void profilesGiveSizeCodecsAndLength_data();
    void profilesGiveSizeCodecsAndLength();
    void trimStartsAtTheRightPicture_data();
    void trimStartsAtTheRightPicture();
    void stretchModesInTheFile_data();
    void stretchModesInTheFile();
    void soundOnlyFollowsTheBitrateCode_data();
    void soundOnlyFollowsTheBitrateCode();
    void clipsFollowEachOther();
    void missingStreamsBecomeBlackOrSilence();

private:
    QTemporaryDir m_folder;
};

void TestMediaConvert::init()
{
    QVERIFY(m_folder.isValid());
}

void TestMediaConvert::profilesGiveSizeCodecsAndLength_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("profileFile");
    QTest::addColumn<double>("startSeconds");
    QTest::addColumn<double>("endSeconds");
    QTest::addColumn<QSize>("frameSize");
    QTest::addColumn<double>("frameRate");
    QTest::addColumn<int>("sampleRateHz");
    QTest::addColumn<int>("audioBps");
    QTest::newRow("320x240 from mpg") << "clip.mpg" << "320x240video.prx" << 0.5 << 2.5 << QSize(320, 240) << 25.0
                                      << 22050 << 32000;
    QTest::newRow("High 320x240 from mpeg") << "clip.mpeg" << "High320x240video.prx" << 1.4 << 2.9
                                            << QSize(320, 240) << 25.0 << 32000 << 48000;
    QTest::newRow("640x480 from avi, NTSC rate, 5.1 sound")
        << "clip.avi" << "640x480video.prx" << 1.2 << 2.2 << QSize(640, 480) << 30000.0 / 1001 << 44100 << 64000;
    QTest::newRow("High 640x480 from asf") << "clip.asf" << "High640x480video.prx" << 0.0 << 1.5 << QSize(640, 480)
                                           << 15.0 << 44100 << 128000;
    QTest::newRow("end past the file's end") << "clip.wmv" << "320x240video.prx" << 2.0 << 10.0 << QSize(320, 240)
                                             << 25.0 << 22050 << 32000;
}

void TestMediaConvert::profilesGiveSizeCodecsAndLength()
{
    QFETCH(QString, source);
    QFETCH(QString, profileFile);
    QFETCH(double, startSeconds);
    QFETCH(double, endSeconds);
    QFETCH(QSize, frameSize);
    QFETCH(double, frameRate);
    QFETCH(int, sampleRateHz);
    QFETCH(int, audioBps);
    CMediaEngine engine;
    addClip(engine, fixture(source), startSeconds, endSeconds, 0);
    engine.setProfileFile(profile(profileFile));
    const QString output = m_folder.filePath(QStringLiteral("out.wmv"));
    QVERIFY(convert(engine, output));

    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video && summary->audio);
    QCOMPARE(summary->container, QStringLiteral("asf"));
    QCOMPARE(summary->videoStreams, 1);
    QCOMPARE(summary->audioStreams, 1);
    const VideoSummary& video = *summary->video;
    QCOMPARE(video.codec, QStringLiteral("wmv2"));
    QCOMPARE(QSize(video.width, video.height), frameSize);
    QVERIFY2(qAbs(video.frameRate - frameRate) < 0.01, qPrintable(QString::number(video.frameRate)));
    const double span = std::min(endSeconds, probeDurationSeconds(fixture(source))) - startSeconds;
    const double pictureSeconds = video.frameCount / frameRate;
    QVERIFY2(qAbs(pictureSeconds - span) <= 1.0 / frameRate + 1e-6,
             qPrintable(QStringLiteral("%1 frames for %2 s").arg(video.frameCount).arg(span)));
    const AudioSummary& audio = *summary->audio;
    QCOMPARE(audio.codec, QStringLiteral("wmav2"));
    QCOMPARE(audio.channels, 2);
    QCOMPARE(audio.sampleRateHz, sampleRateHz);
    QCOMPARE(audio.bitrateBps, audioBps);
    QVERIFY2(qAbs(seconds(audio) - span) <= audioTolerance(audio), qPrintable(QString::number(seconds(audio))));
}

void TestMediaConvert::trimStartsAtTheRightPicture_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<double>("startSeconds");
    // the files start at about 0.5 s (programme streams) or 0; far starts need a seek
    for (const char* name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 from 0.4 s").arg(QLatin1String(name)))) << QString::fromLatin1(name) << 0.4;
        QTest::newRow(qPrintable(QStringLiteral("%1 from 1.8 s").arg(QLatin1String(name)))) << QString::fromLatin1(name) << 1.8;
    }
}

void TestMediaConvert::trimStartsAtTheRightPicture()
{
    QFETCH(QString, source);
    QFETCH(double, startSeconds);
    const double endSeconds = startSeconds + 1.0;
    CMediaEngine engine;
    addClip(engine, fixture(source), startSeconds, endSeconds, 0);
    engine.setProfileFile(profile(QStringLiteral("320x240video.prx")));
    const QString output = m_folder.filePath(QStringLiteral("trim.wmv"));
    QVERIFY(convert(engine, output));

    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video);
    const VideoSummary& video = *summary->video;
    const std::vector<TimedFrame> pictures = decodeScaledFrames(fixture(source), 320, 240, endSeconds + 0.5);
    QVERIFY(!pictures.empty());
    const double frameSeconds = 1.0 / video.frameRate;
    const double first = bestMatchSeconds(pictures, video.firstFrame);
    QVERIFY2(qAbs(first - startSeconds) <= frameSeconds + 0.002,
             qPrintable(QStringLiteral("first picture from %1 s").arg(first)));
    const double middle = bestMatchSeconds(pictures, video.middleFrame);
    const double middleExpected = startSeconds + (video.frameCount / 2) * frameSeconds;
    QVERIFY2(qAbs(middle - middleExpected) <= frameSeconds + 0.002,
             qPrintable(QStringLiteral("middle picture from %1 s, not %2 s").arg(middle).arg(middleExpected)));
}

void TestMediaConvert::stretchModesInTheFile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("bars");
    QTest::newRow("16:9 keep aspect") << "clip.wmv" << 2 << true;
    QTest::newRow("16:9 crop") << "clip.wmv" << 3 << false;
    QTest::newRow("16:9 stretched") << "clip.wmv" << 0 << false;
    // 176x144 pixels shown 16:9: the aspect comes from the stream, not the pixel count
    QTest::newRow("anamorphic keep aspect") << "clip.mpeg" << 2 << true;
    QTest::newRow("anamorphic crop") << "clip.mpeg" << 3 << false;
}

void TestMediaConvert::stretchModesInTheFile()
{
    QFETCH(QString, source);
    QFETCH(int, mode);
    QFETCH(bool, bars);
    CMediaEngine engine;
    addClip(engine, fixture(source), 1.0, 1.5, mode);
    engine.setProfileFile(profile(QStringLiteral("320x240video.prx")));
    const QString output = m_folder.filePath(QStringLiteral("stretch.wmv"));
    QVERIFY(convert(engine, output));
    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video);
    const GrayImage& picture = summary->video->middleFrame;
    QCOMPARE(picture.width, 320);
    // 16:9 in 4:3 leaves 30 rows above and below; black is luma 16
    const double top = picture.meanOfRows(0, 24);
    const double bottom = picture.meanOfRows(216, 240);
    const double centre = picture.meanOfRows(100, 140);
    QVERIFY2(centre > 60.0, qPrintable(QString::number(centre)));
    if (bars) {
        QVERIFY2(top < 24.0 && bottom < 24.0, qPrintable(QStringLiteral("%1 %2").arg(top).arg(bottom)));
    } else {
        QVERIFY2(top > 40.0 && bottom > 40.0, qPrintable(QStringLiteral("%1 %2").arg(top).arg(bottom)));
    }
    QVERIFY(picture.meanOfColumns(0, 20) > 40.0); // never bars at the sides here
}

void TestMediaConvert::soundOnlyFollowsTheBitrateCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bitrateBps");
    QTest::newRow("Mono 28.8kbps") << 15 << 1 << 28800;
    QTest::newRow("stereo 28.8kbps") << 16 << 2 << 28800;
    QTest::newRow("32kbps") << 17 << 2 << 32000;
    QTest::newRow("48kbps") << 18 << 2 << 48000;
    QTest::newRow("64kbps") << 19 << 2 << 64000;
    QTest::newRow("96kbps") << 20 << 2 << 96000;
    QTest::newRow("128kbps") << 21 << 2 << 128000;
}

void TestMediaConvert::soundOnlyFollowsTheBitrateCode()
{
    QFETCH(int, code);
    QFETCH(int, channels);
    QFETCH(int, bitrateBps);
    CMediaEngine engine;
    addClip(engine, fixture(QStringLiteral("clip.avi")), 0.5, 2.0, 0); // 5.1 sound, mixed down
    engine.setProfileFile(QString());
    engine.setAudioFormat(code);
    const QString output = m_folder.filePath(QStringLiteral("sound.wma"));
    QVERIFY(convert(engine, output));
    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->audio);
    QCOMPARE(summary->container, QStringLiteral("asf"));
    QCOMPARE(summary->videoStreams, 0);
    QCOMPARE(summary->audio->codec, QStringLiteral("wmav2"));
    QCOMPARE(summary->audio->channels, channels);
    QCOMPARE(summary->audio->bitrateBps, bitrateBps);
    QVERIFY2(qAbs(seconds(*summary->audio) - 1.5) <= audioTolerance(*summary->audio),
             qPrintable(QString::number(seconds(*summary->audio))));
}

void TestMediaConvert::clipsFollowEachOther()
{
    CMediaEngine engine;
    addClip(engine, fixture(QStringLiteral("clip.mpg")), 0.5, 1.5, 0);
    addClip(engine, fixture(QStringLiteral("clip.avi")), 1.0, 2.0, 2);
    addClip(engine, fixture(QStringLiteral("clip.asf")), 2.5, 3.0, 3);
    engine.setProfileFile(profile(QStringLiteral("320x240video.prx")));
    // names are used as given, even ones FFmpeg would read as a protocol or a pattern
    const QString output = m_folder.filePath(QStringLiteral("http:three clips #1 %d.wmv"));
    QVERIFY(convert(engine, output));
    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video && summary->audio);
    QCOMPARE(summary->video->frameRate, 25.0); // the first clip's rate
    QVERIFY2(qAbs(summary->video->frameCount - 62) <= 1, qPrintable(QString::number(summary->video->frameCount)));
    QVERIFY2(qAbs(seconds(*summary->audio) - 2.5) <= audioTolerance(*summary->audio),
             qPrintable(QString::number(seconds(*summary->audio))));
}

void TestMediaConvert::missingStreamsBecomeBlackOrSilence()
{
    // a sound-only file and a picture-only file, made by the engine itself
    CMediaEngine engine;
    addClip(engine, fixture(QStringLiteral("clip.mpg")), 0.0, 2.0, 0);
    const QString soundOnly = m_folder.filePath(QStringLiteral("sound only.wma"));
    engine.setAudioFormat(19);
    QVERIFY(convert(engine, soundOnly));
    QFile profileFile(profile(QStringLiteral("320x240video.prx")));
    QVERIFY(profileFile.open(QIODevice::ReadOnly));
    QByteArray xml = profileFile.readAll();
    const int audioStart = xml.indexOf("<streamconfig");
    xml.remove(audioStart, xml.indexOf("</streamconfig>") + int(strlen("</streamconfig>")) - audioStart);
    const QString silentProfile = m_folder.filePath(QStringLiteral("picture only.prx"));
    QFile silent(silentProfile);
    QVERIFY(silent.open(QIODevice::WriteOnly) && silent.write(xml) == xml.size());
    silent.close();
    engine.setProfileFile(silentProfile);
    const QString pictureOnly = m_folder.filePath(QStringLiteral("picture only.wmv"));
    QVERIFY(convert(engine, pictureOnly));
    const std::optional<MediaSummary> pictureSummary = summarizeMedia(pictureOnly);
    QVERIFY(pictureSummary && pictureSummary->videoStreams == 1 && pictureSummary->audioStreams == 0);

    // the picture of the sound-only file is black, the sound of the picture-only file silent
    engine.clearClips();
    engine.addVideoClip(soundOnly, 0.5, 1.5, 0);
    engine.addAudioClip(pictureOnly, 0.5, 1.5);
    engine.setProfileFile(profile(QStringLiteral("320x240video.prx")));
    const QString output = m_folder.filePath(QStringLiteral("stand-ins.wmv"));
    QVERIFY(convert(engine, output));
    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video && summary->audio);
    QCOMPARE(summary->video->frameCount, 30); // no picture to take a rate from: the profile's
    QVERIFY(summary->video->middleFrame.meanOfRows(0, 240) < 20.0);
    QVERIFY(qAbs(seconds(*summary->audio) - 1.0) <= audioTolerance(*summary->audio));
}

QTEST_GUILESS_MAIN(TestMediaConvert)
#include "test_media_convert.moc"

// Real conversions by the media core, checked by decoding the output; its events, refusals and failed writes.
#include "MediaCheck.h"
#include "engine/CMediaEngine.h"
#include "engine/CPlaybackPipeline.h"
#include "engine/MediaInput.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace {

constexpr int kWriteTimeoutMs = 120000;
constexpr int kQuietMs = 500; // how long to watch for events that must not come
const char kEarlierContent[] = "the user's earlier file";
constexpr int64_t kFactsRecordedUs = 1714557600000000; // facts.mp4: 2024-05-01T10:00:00Z

// The creation date in an ASF file's properties, which FFmpeg does not read: a FILETIME (100 ns since
// 1601) after the object's header (24 bytes), the file id (16) and the file size (8).
std::optional<int64_t> asfCreationUs(const QString& path)
{
    const QByteArray bytes = readFile(path);
    const qsizetype at = bytes.indexOf(QByteArray::fromHex("A1DCAB8C47A9CF118EE400C00C205365"));
    if (at < 0 || at + 56 > bytes.size())
        return std::nullopt;
    return qFromLittleEndian<qint64>(bytes.constData() + at + 48) / 10 - 11644473600000000;
}

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

void setUp(CMediaEngine& engine, const Step& step)
{
    engine.clearClips();
    if (!step.source.isEmpty())
        addClip(engine, step.source, step.startSeconds, step.endSeconds, step.stretch);
    engine.setProfileFile(step.profile.isEmpty() ? QString() : profilePath(step.profile));
    engine.setAudioFormat(step.audioCode);
}

// Does to the source, or to the output folder, what a row says, part-way through a write.
bool changePartWay(const QString& change, const QString& source, const QString& outputFolder)
{
    if (change == QLatin1String("remove folder"))
        return QDir(outputFolder).removeRecursively();
    QFile file(source);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 half = file.size() / 2;
    if (change == QLatin1String("truncate"))
        return file.resize(half);
    QByteArray noise(half, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), half / 4);
    return file.seek(half) && file.write(noise) == half;
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

    // Profiles, stretch modes, trims, today's formats in and out, the sound-only codes and a flash with
    // a beep, read back by a plain decoder.
    void conversionsDecode_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("codecs"); // container, picture, sound
        QTest::addColumn<double>("frameRate");
        QTest::addColumn<QString>("look");     // black "bars" above and below or at the "sides", a "flash"
        QTest::addColumn<QList<int>>("sound"); // rate in Hz, channels, bits per second (0: the encoder's)
        const auto row = [](const char* name, const Step& step, const QString& codecs, double frameRate,
                            const char* look, const QList<int>& sound) {
            QTest::newRow(name) << step << codecs << frameRate << QString::fromLatin1(look) << sound;
        };
        const double ntsc = 30000.0 / 1001;
        const QString wmvCodecs = QStringLiteral("asf wmv2 wmav2");
        const QString mp4Codecs = QStringLiteral("mov,mp4,m4a,3gp,3g2,mj2 h264 aac");
        const QString webmCodecs = QStringLiteral("matroska,webm vp9 opus");
        const auto wmv = [&](const char* name, const char* source, double startSeconds, double endSeconds,
                             int stretch = 0, const char* profile = "320x240video.prx", const char* look = "",
                             double frameRate = 25.0, const QList<int>& sound = {22050, 2, 32000}) {
            row(name, {fixturePath(QLatin1String(source)), startSeconds, endSeconds, stretch, profile},
                wmvCodecs, frameRate, look, sound);
        };
        // 176x144 pixels shown 16:9: the aspect comes from the stream, not the pixel count
        wmv("High 320x240 from anamorphic mpeg, keep aspect", "clip.mpeg", 1.4, 2.9, 2,
            "High320x240video.prx", "bars", 25.0, {32000, 2, 48000});
        wmv("640x480 from avi, NTSC rate, 5.1 sound, crop", "clip.avi", 1.2, 2.2, 3, "640x480video.prx", "",
            ntsc, {44100, 2, 64000});
        // the header claims 2^64-1 units; the data holds 3 s, and so does the output
        wmv("lying header, end far past", "lyingduration.asf", 0.0, 1e6, 0, "320x240video.prx", "", 15.0);
        // the picture's data covers the silence added after the sound's end
        wmv("sound ends half-way", "shortsound.avi", 0.0, 3.0);
        // samples of about 100 times full scale, which wmav2 refuses unless clipped
        wmv("sound far past full scale", "loud.mkv", 0.0, 1.0, 0, "320x240video.prx", "", 15.0);
        // the files start at about 0.5 s (programme streams) or 0; far starts need a seek
        const char* const names[]{"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf"};
        const double rates[]{25.0, 25.0, ntsc, 25.0, 15.0};
        for (int i = 0; i < 5; ++i) {
            for (const double startSeconds : {0.4, 1.8})
                wmv(qPrintable(QString::asprintf("%s from %.1f s", names[i], startSeconds)), names[i],
                    startSeconds, startSeconds + 1.0, 0, "320x240video.prx", "", rates[i]);
        }
        const QString avi = fixturePath(QStringLiteral("clip.avi"));
        row("mp4", {avi, 0.5, 2.5, 2, "640x480video.prx", 15, "out.mp4"}, mp4Codecs, ntsc, "", {44100, 2, 0});
        row("webm", {avi, 0.5, 2.5, 2, "High320x240video.prx", 15, "out.webm"}, webmCodecs, ntsc, "",
            {48000, 2, 0});
        row("mp3", {avi, 0.5, 2.5, 2, "", 15, "out.mp3"}, "mp3 - mp3", 0.0, "", {22050, 1, 0});
        row("m4a", {avi, 0.5, 2.5, 2, "", 21, "out.m4a"}, "mov,mp4,m4a,3gp,3g2,mj2 - aac", 0.0, "",
            {44100, 2, 0});
        // 5.1 sound mixed down; the list's first code ("Mono 28.8kbps") and its last
        for (const QList<int>& sound : {QList<int>{15, 22050, 1, 28800}, QList<int>{21, 44100, 2, 128000}})
            QTest::addRow("wma, code %d", sound[0])
                << Step{avi, 0.5, 2.5, 2, "", sound[0], "sound.wma"} << QStringLiteral("asf - wmav2") << 0.0
                << QString() << sound.mid(1);
        // today's files, into the format most of them come in
        for (const char* name : kTodaysFixtures)
            row(name, {fixturePath(QLatin1String(name)), 0.0, 1.0, 2, "320x240video.prx", 15, "out.mp4"},
                mp4Codecs, name[0] == 'p' ? 30.0 : 25.0,
                QByteArray(name).startsWith("portrait") ? "sides" : "", {22050, 2, 0});
        // the flash and the beep stay together in every format, and when pictures come 40 ms apart for a
        // second, then 80 ms, the output's constant rate does not drift
        const QString sync = fixturePath(QStringLiteral("sync.mp4"));
        row("sync mp4", {sync, 0.5, 3.0, 0, "320x240video.prx", 15, "out.mp4"}, mp4Codecs, 25.0, "flash",
            {22050, 2, 0});
        row("sync webm", {sync, 0.5, 3.0, 0, "320x240video.prx", 15, "out.webm"}, webmCodecs, 25.0, "flash",
            {48000, 2, 0});
        row("sync wmv", {sync, 0.5, 3.0}, wmvCodecs, 25.0, "flash", {22050, 2, 32000});
        row("sync, variable frame rate",
            {fixturePath(QStringLiteral("syncvfr.mkv")), 0.5, 3.0, 0, "320x240video.prx", 15, "out.mp4"},
            mp4Codecs, 25.0, "flash", {22050, 2, 0});
    }
    void conversionsDecode()
    {
        QFETCH(Step, step);
        QFETCH(QString, codecs);
        QFETCH(double, frameRate);
        QFETCH(QString, look);
        QFETCH(QList<int>, sound);
        CMediaEngine engine;
        setUp(engine, step);
        const std::optional<MediaSummary> summary = written(engine, step.output);
        QVERIFY(summary && summary->audio);
        const QString videoCodec = summary->video ? summary->video->codec : QStringLiteral("-");
        QCOMPARE(QStringList({summary->container, videoCodec, summary->audio->codec}).join(' '), codecs);
        QCOMPARE(summary->videoStreams, step.profile.isEmpty() ? 0 : 1);
        QCOMPARE(summary->audioStreams, 1);
        const double span =
            std::min(step.endSeconds, engine.durationSeconds(step.source)) - step.startSeconds;
        const AudioSummary& audio = *summary->audio;
        QCOMPARE(QList<int>({audio.sampleRateHz, audio.channels}), sound.mid(0, 2));
        QVERIFY(sound[2] == 0 || audio.bitrateBps == sound[2]);
        QVERIFY2(audio.lasts(span), qPrintable(QString::number(audio.sampleCount)));
        // MP4 files carry their index first, so that they play while they download
        const QString output = m_folder->filePath(step.output);
        const QByteArray bytes = readFile(output);
        if (summary->container.startsWith(QLatin1String("mov")))
            QVERIFY(bytes.indexOf("moov") >= 0 && bytes.indexOf("moov") < bytes.indexOf("mdat"));
        if (!summary->video)
            return;
        const VideoSummary& video = *summary->video;
        QCOMPARE(video.pixelFormat, QStringLiteral("yuv420p"));
        QCOMPARE(video.size, step.profile.contains(QLatin1String("640")) ? QSize(640, 480) : QSize(320, 240));
        QVERIFY2(qAbs(video.frameRate - frameRate) < 0.01, qPrintable(QString::number(video.frameRate)));
        // every picture of the span, the last included (MP4 once lost it to its edit list)
        QVERIFY2(qAbs(video.frameCount / frameRate - span) <= 0.5 / frameRate + 1e-6,
                 qPrintable(QStringLiteral("%1 frames for %2 s").arg(video.frameCount).arg(span)));
        if (look == QLatin1String("flash")) {
            const double sourceOffset = beepSeconds(step.source) - flashSeconds(step.source);
            const double flash = flashSeconds(output);
            const double beep = beepSeconds(output);
            QVERIFY2(flash > 0.0 && qAbs(beep - flash - sourceOffset) <= 0.040,
                     qPrintable(QString::asprintf("flash at %.3f s, beep at %.3f s", flash, beep)));
            return;
        }
        // 16:9 in 4:3 leaves 15 of the 120 rows above and below; black is luma 16
        const QImage& picture = video.middleFrame;
        QVERIFY(meanLuma(picture, QRect(60, 50, 40, 20)) > 60.0);
        const QList<QPair<QString, QRect>> edges{{"bars", QRect(0, 0, 160, 12)},
                                                 {"bars", QRect(0, 108, 160, 12)},
                                                 {"sides", QRect(0, 0, 20, 120)},
                                                 {"sides", QRect(140, 0, 20, 120)}};
        for (const auto& [bars, area] : edges) {
            const double luma = meanLuma(picture, area);
            QVERIFY2(look == bars ? luma < 24.0 : luma > 40.0, qPrintable(QString::number(luma)));
        }
        if (step.stretch != 0)
            return;
        // a stretched picture is the source's own: the first is the one at the start, and the middle one
        // tells a steady rate from a late start with dropped pictures
        const std::vector<TimedFrame> pictures = decodeFrames(step.source);
        const double frameSeconds = 1.0 / video.frameRate;
        const double first = bestMatchSeconds(pictures, video.firstFrame);
        const double middle =
            bestMatchSeconds(pictures, video.middleFrame) - (video.frameCount / 2) * frameSeconds;
        QVERIFY2(qAbs(first - step.startSeconds) <= frameSeconds + 0.002 &&
                     qAbs(middle - step.startSeconds) <= frameSeconds + 0.002,
                 qPrintable(QString::asprintf("first picture from %.3f s, middle one as if from %.3f s",
                                              first, middle)));
    }

    // Clips follow each other; a source missing a stream gets black pictures or silence in its place.
    void clipsJoinAndMissingStreamsAreFilled()
    {
        CMediaEngine engine;
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.5, 1.5});
        addClip(engine, fixturePath(QStringLiteral("clip.avi")), 1.0, 2.0, 2);
        addClip(engine, fixturePath(QStringLiteral("clip.asf")), 2.5, 3.0, 3);
        // names are used as given, even ones FFmpeg would read as a protocol or a pattern, up to 255 bytes
        const QString name =
            QStringLiteral("http:three clips #1 %d") + QString(229, QLatin1Char('n')) + ".wmv";
        const std::optional<MediaSummary> joined = written(engine, name);
        QCOMPARE(filesInFolder(), QStringList{name});
        QVERIFY(joined && joined->video && joined->audio);
        QCOMPARE(joined->video->frameRate, 25.0); // the first clip's rate
        QVERIFY2(qAbs(joined->video->frameCount - 62) <= 1,
                 qPrintable(QString::number(joined->video->frameCount)));
        QVERIFY(joined->audio->lasts(2.5));

        // a sound-only file and a picture-only file, made by the engine itself
        setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 2.0, 0, QString(), 19});
        QVERIFY(written(engine, QStringLiteral("sound only.wma")));
        const QString silentProfile = m_folder->filePath(QStringLiteral("picture only.prx"));
        QVERIFY(writeFile(silentProfile,
                          withoutStream(readFile(profilePath(QStringLiteral("320x240video.prx"))), false)));
        engine.setProfileFile(silentProfile);
        const std::optional<MediaSummary> pictureOnly = written(engine, QStringLiteral("picture only.wmv"));
        QVERIFY(pictureOnly && pictureOnly->videoStreams == 1 && pictureOnly->audioStreams == 0);

        // the picture of the sound-only file is black, the sound of the picture-only file silent
        engine.clearClips();
        engine.addVideoClip(m_folder->filePath(QStringLiteral("sound only.wma")), 0.5, 1.5, 0);
        engine.addAudioClip(m_folder->filePath(QStringLiteral("picture only.wmv")), 0.5, 1.5);
        engine.setProfileFile(profilePath(QStringLiteral("320x240video.prx")));
        const std::optional<MediaSummary> summary = written(engine, QStringLiteral("stand-ins.wmv"));
        QVERIFY(summary && summary->video && summary->audio);
        QCOMPARE(summary->video->frameCount, 30); // no picture to take a rate from: the profile's
        QVERIFY(meanLuma(summary->video->middleFrame, QRect(QPoint(), kLumaSize)) < 20.0);
        QVERIFY(summary->audio->lasts(1.0));
    }

    // What the file says survives a trimmed conversion into every format: the recording time moved on by
    // the trim start, its tags and place, the languages, the chapters in the span moved and cut to it.
    void factsSurviveATrim_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<double>("recordedSeconds"); // after 10:00:00; MP4 keeps whole seconds
        QTest::addColumn<QString>("languages");      // ASF writes French as "fre", MP3 keeps it for the file
        const auto row = [](const char* output, double seconds, const char* languages) {
            QTest::newRow(output) << QString::fromLatin1(output) << seconds << QString::fromLatin1(languages);
        };
        row("out.mp4", 1.0, "eng fra");
        row("out.m4a", 1.0, " fra");
        row("out.webm", 1.5, "eng fra");
        row("out.wmv", 1.5, "eng fre");
        row("out.mp3", 1.5, " fra");
        row("out.wma", 1.5, " fre");
    }
    void factsSurviveATrim()
    {
        QFETCH(QString, output);
        QFETCH(double, recordedSeconds);
        QFETCH(QString, languages);
        CMediaEngine engine;
        const QString profile = languages.startsWith(' ') ? QString() : QStringLiteral("320x240video.prx");
        setUp(engine, {fixturePath(QStringLiteral("facts.mp4")), 1.5, 2.8, 0, profile, 21, output});
        QVERIFY(written(engine, output));
        const QString path = m_folder->filePath(output);
        const std::optional<MediaInfo> info = inspectMedia(path);
        QVERIFY(info);
        const MediaFacts& facts = info->facts;
        const bool asf = languages.endsWith(QLatin1String("fre"));
        QCOMPARE(asf ? asfCreationUs(path) : facts.creationUs,
                 std::optional<int64_t>(kFactsRecordedUs + std::llround(recordedSeconds * 1e6)));
        QStringList said{facts.videoLanguage + ' ' + facts.audioLanguage};
        for (const auto& [key, value] : facts.tags)
            said << key + '=' + value;
        // the first chapter ends before the span, the second starts before it, the third runs past its end
        for (const Chapter& chapter : facts.chapters)
            said << QStringLiteral("%1 %2-%3")
                        .arg(chapter.title)
                        .arg(chapter.startSeconds, 0, 'f', 1)
                        .arg(chapter.endSeconds, 0, 'f', 1);
        QCOMPARE(said, QStringList({languages, "title=Beach day", "artist=Ana Lima", "comment=Low tide",
                                    "location=+48.8584+002.2945/", "Swim 0.0-0.5", "Sunset 0.5-1.3"}));
    }

    // Each SaveFile replaces the write before it; only one that runs to its end replaces the user's file.
    void lastWriteEndsOrKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("interruption"); // "file vanishes": the write cannot be completed
        for (const char* name :
             {"runs to the end", "stop at once", "stop part-way", "close part-way", "file vanishes part-way"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void lastWriteEndsOrKeepsTheOldFile()
    {
        QFETCH(QString, interruption);
        const QString output = m_folder->filePath(QStringLiteral("existing.wmv"));
        QVERIFY(writeFile(output, kEarlierContent));
        auto engine = std::make_unique<CMediaEngine>();
        QSignalSpy progress(engine.get(), &CMediaEngine::progress);
        QSignalSpy finished(engine.get(), &CMediaEngine::finished);
        setUp(*engine, kLongStep);
        QElapsedTimer timer;
        timer.start();
        for (const char* name : {"a.wmv", "b.wmv", "c.wmv"})
            QVERIFY(engine->saveFile(m_folder->filePath(QLatin1String(name))));
        QVERIFY(engine->saveFile(output));
        QCOMPARE(progress.count() + finished.count(), 0); // never from inside the call
        // a preview refills the clip list while the file is written: the write keeps its own
        setUp(*engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 1.0, 2});
        const bool ends = interruption.startsWith(QLatin1String("runs"));
        if (!ends && !interruption.endsWith(QLatin1String("at once")))
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWriteTimeoutMs);
        const int progressAtStop = progress.count();
        const QStringList onlyExisting{QStringLiteral("existing.wmv")};
        const bool failed = interruption.startsWith(QLatin1String("file"));
        if (failed) {
            for (const QString& name : filesInFolder())
                QFile::remove(name == onlyExisting.front() ? QString() : m_folder->filePath(name));
        } else if (interruption.startsWith(QLatin1String("close"))) {
            engine.reset();
            QCOMPARE(filesInFolder(), onlyExisting); // the control waits for its threads
        } else if (!ends) {
            engine->stop();
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), failed || ends ? 1 : 0, kWriteTimeoutMs);
        const double elapsedSeconds = timer.elapsed() / 1000.0;
        QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(), onlyExisting, 10000);
        QTest::qWait(kQuietMs); // no further events, and none from a stopped write
        QCOMPARE(finished.count(), failed || ends ? 1 : 0);
        if (ends) {
            QVERIFY(!engine->lastWriteFailed());
            const std::optional<MediaSummary> summary = summarizeMedia(output);
            QVERIFY(summary && summary->video && summary->video->frameCount > 80); // not the preview's 1 s
            QVERIFY(!progress.isEmpty());
            QVERIFY2(progress.count() <= elapsedSeconds * 10 + 3,
                     qPrintable(QString::number(progress.count())));
            double previous = 0.0;
            for (const QList<QVariant>& event : progress) {
                const double position = event[0].toDouble();
                QVERIFY(position >= previous && position <= event[1].toDouble());
                QVERIFY(qAbs(event[1].toDouble() - 3.0) < 0.05);
                previous = position;
            }
            QCOMPARE(previous, progress.last()[1].toDouble()); // ends at the total
            return;
        }
        QVERIFY(failed || progress.count() == progressAtStop);
        QCOMPARE(readFile(output), QByteArray(kEarlierContent));
        if (!engine)
            return;
        QCOMPARE(engine->lastWriteFailed(), failed);
        QVERIFY2(!failed || engine->lastError().text().endsWith(QLatin1String(" (existing.wmv)")),
                 qPrintable(engine->lastError().text()));

        // the next write works, and clears the failure
        QVERIFY(engine->saveFile(output));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), failed ? 2 : 1, kWriteTimeoutMs);
        QVERIFY(!engine->lastWriteFailed());
        QVERIFY(readFile(output) != QByteArray(kEarlierContent));
    }

    void refusals_data()
    {
        QTest::addColumn<Step>("step");      // a relative source is the folder's holiday.wmv or a link to it
        QTest::addColumn<QString>("reason"); // how the refusal's reason starts
        const auto row = [](const char* name, const char* reason, const Step& step) {
            QTest::newRow(name) << step << QString::fromLatin1(reason);
        };
        const QString clip = fixturePath(QStringLiteral("clip.mpg"));
        row("not media", "open: ", {fixturePath(QStringLiteral("text.avi"))});
        row("missing input", "open: the file does not exist", {fixturePath(QStringLiteral("missing.mpg"))});
        row("no clips", "check: no picture clips", {QString()});
        row("start past the file's end", "check: the span", {clip, 10.0, 20.0});
        row("shorter than a frame", "check: the span 1-1.01 s is shorter than one frame (clip.mpg)",
            {clip, 1.0, 1.01});
        row("missing profile", "check: no usable video profile", {clip, 0.0, 3.0, 0, "no.prx"});
        for (const int code : {14, 22}) // just below and above the list
            QTest::addRow("audio code %d", code) << Step{clip, 0.0, 3.0, 0, "", code, "out.wma"}
                                                 << QStringLiteral("check: no usable sound format");
        const auto to = [](const char* output, const char* source = nullptr) {
            Step step;
            step.output = QLatin1String(output);
            step.source = source ? QLatin1String(source) : step.source;
            return step;
        };
        row("other output type", "check: the output is not a type the engine writes", to("out.avi"));
        row("folder missing", "check: the output folder does not exist", to("no folder/out.wmv"));
        row("output is a folder", "check: the output exists and is not a file", to("folder.wmv"));
        for (const char* output : {"holiday.wmv", "./holiday.wmv", "link.wmv"})
            row(output, "check: the output is one of the sources", to(output, "holiday.wmv"));
    }
    void refusals()
    {
        QFETCH(Step, step);
        QFETCH(QString, reason);
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("folder.wmv")));
        const QString input = m_folder->filePath(QStringLiteral("holiday.wmv"));
        QVERIFY(QFile::copy(fixturePath(QStringLiteral("clip.wmv")), input));
        QVERIFY(QFile::link(input, m_folder->filePath(QStringLiteral("link.wmv"))));
        if (QDir::isRelativePath(step.source) && !step.source.isEmpty())
            step.source = m_folder->filePath(step.source);
        CMediaEngine engine;
        QSignalSpy finished(&engine, &CMediaEngine::finished);
        setUp(engine, step);
        QVERIFY(!engine.saveFile(m_folder->filePath(step.output)));
        QVERIFY2(engine.lastError().text().startsWith(reason), qPrintable(engine.lastError().text()));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(readFile(input), readFile(fixturePath(QStringLiteral("clip.wmv"))));
        QCOMPARE(filesInFolder(), (QStringList{QStringLiteral("holiday.wmv"), QStringLiteral("link.wmv")}));
    }

    // A file the data does not fill is no output: it fails with its reason and leaves nothing behind.
    void badSourcesFailWithAReason_data()
    {
        QTest::addColumn<QString>(
            "change"); // what happens to the source or the output folder once the write runs
        QTest::addColumn<QString>("reason"); // how the reason starts
        // Every segment's source is open before the write starts, so both paths say the same.
        const char* const rows[][3]{
            {"truncated part-way", "truncate", "decode: the data ends at"},
            {"overwritten with noise part-way", "noise", "decode: "},
            {"output folder removed part-way", "remove folder", "write: the output folder is gone (out.wmv)"},
            {"sound-only span too short to decode", "short sound",
             "write: the written file holds nothing that decodes (out.wma)"}};
        for (const auto& row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]);
    }
    void badSourcesFailWithAReason()
    {
        QFETCH(QString, change);
        QFETCH(QString, reason);
        CMediaEngine engine;
        const bool grows = change != QLatin1String("short sound");
        const QString source = m_folder->filePath(QStringLiteral("long.wmv"));
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("sub")));
        QString output = m_folder->filePath(QStringLiteral("sub/out.wmv"));
        if (!grows) {
            setUp(engine, {fixturePath(QStringLiteral("clip.mpg")), 0.0, 0.01, 0, QString(), 21});
            output = m_folder->filePath(QStringLiteral("sub/out.wma"));
        } else {
            // a 60 s source, made by the engine from 20 copies of a fixture
            setUp(engine, {fixturePath(QStringLiteral("clip.mpg"))});
            for (int copy = 1; copy < 20; ++copy)
                addClip(engine, fixturePath(QStringLiteral("clip.mpg")), 0.0, 3.0);
            QVERIFY(written(engine, QStringLiteral("long.wmv")));
            setUp(engine, {source, 0.0, 60.0, 0, QStringLiteral("High640x480video.prx")});
        }
        QSignalSpy progress(&engine, &CMediaEngine::progress);
        QSignalSpy finished(&engine, &CMediaEngine::finished);
        QVERIFY(engine.saveFile(output));
        if (grows) {
            // a second written: both sources are open and well under way
            QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last()[0].toDouble() >= 1.0,
                                     kWriteTimeoutMs);
            QVERIFY(changePartWay(change, source, m_folder->filePath(QStringLiteral("sub"))));
        }
        QVERIFY(finished.wait(kWriteTimeoutMs));
        QTest::qWait(kQuietMs);
        QCOMPARE(finished.count(), 1);
        QVERIFY(engine.lastWriteFailed());
        QVERIFY2(engine.lastError().text().startsWith(reason), qPrintable(engine.lastError().text()));
        QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(QStringLiteral("sub")), QStringList(), 10000);
    }

    // A source and an output folder named in bytes that are not UTF-8 are read and written.
    void namesThatAreNotUtf8()
    {
#ifdef Q_OS_UNIX
        const QByteArray folder = QFile::encodeName(m_folder->path());
        std::filesystem::create_directory(std::string(folder + "/d\xe9j\xe0"));
        std::filesystem::copy_file(QFile::encodeName(fixturePath(QStringLiteral("phone.mp4"))).toStdString(),
                                   std::string(folder + "/caf\xe9.mp4"));
        const QString source = FileNameFromBytes(folder + "/caf\xe9.mp4");
        CMediaEngine engine;
        QVERIFY(qAbs(engine.durationSeconds(source) - 1.0) < 0.1);
        setUp(engine, {source, 0.0, 1.0, 0, QStringLiteral("320x240video.prx")});
        const std::optional<MediaSummary> written =
            this->written(engine, FileNameFromBytes("d\xe9j\xe0/caf\xe9.wmv"));
        QVERIFY(written && written->video && written->video->frameCount > 0);
        QVERIFY(std::filesystem::is_regular_file(std::string(folder + "/d\xe9j\xe0/caf\xe9.wmv")));
        // QTemporaryDir cannot remove names it cannot decode
        std::filesystem::remove_all(std::string(folder + "/d\xe9j\xe0"));
        std::filesystem::remove(std::string(folder + "/caf\xe9.mp4"));
#endif
    }

    // A source that stops answering (its data, then a hole of zeros scanned for ever) holds up neither a
    // write's nor a preview's end once their readers are in the hole.
    void stalledSourceDoesNotHoldUpStopOrClose()
    {
        const QString stalled = m_folder->filePath(QStringLiteral("stalled.avi"));
        QVERIFY(QFile::copy(fixturePath(QStringLiteral("clip.avi")), stalled));
        QVERIFY(QFile(stalled).resize(qint64(64) << 30)); // sparse: no disk space used
        auto engine = std::make_unique<CMediaEngine>();
        QVERIFY(qAbs(engine->durationSeconds(stalled) - 3.0) < 0.1);
        setUp(*engine, {stalled});
        auto preview = std::make_unique<CPlaybackPipeline>(PlaybackSetup{
            {{{stalled, 0.0, 3.0, 0}}, {}}, 64, 48, std::nullopt, AV_SAMPLE_FMT_FLT, engine->inspector()});
        preview->start();
        int64_t previewedUs = 0;
        QTRY_VERIFY_WITH_TIMEOUT((previewedUs = lastPictureUs(*preview, previewedUs)) >= 2500000,
                                 kWriteTimeoutMs);
        QSignalSpy progress(engine.get(), &CMediaEngine::progress);
        QVERIFY(engine->saveFile(m_folder->filePath(QStringLiteral("out.wmv"))));
        // The write's progress stops once its readers have taken the data and look for more in the hole.
        QTRY_VERIFY_WITH_TIMEOUT(!progress.wait(1000), kWriteTimeoutMs);
        QElapsedTimer timer;
        timer.start();
        preview.reset();
        engine->stop();
        engine.reset();
        // scanning the hole takes far longer than this, even on a fast machine
        QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(filesInFolder(), QStringList{QStringLiteral("stalled.avi")});
    }

private:
    // The preview's latest picture time so far, in microseconds from its first; its sound is let go.
    static int64_t lastPictureUs(CPlaybackPipeline& preview, int64_t latestUs)
    {
        while (preview.sound().tryPop())
            ;
        while (std::optional<QueuedFrame> picture = preview.pictures().tryPop())
            latestUs = std::max(latestUs, picture->frame->pts);
        return latestUs;
    }

    QStringList filesInFolder(const QString& subfolder = QString()) const
    {
        return QDir(m_folder->filePath(subfolder))
            .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // Writes the clip list to name in the test folder and reads it back; nullopt on refusal or failure.
    std::optional<MediaSummary> written(CMediaEngine& engine, const QString& name)
    {
        const QString output = m_folder->filePath(name);
        QSignalSpy finished(&engine, &CMediaEngine::finished);
        if (!engine.saveFile(output) || !finished.wait(kWriteTimeoutMs) || engine.lastWriteFailed())
            return std::nullopt;
        return summarizeMedia(output);
    }

    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(TestEngineConvert)
#include "test_engine_convert.moc"

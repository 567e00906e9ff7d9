// vv-convert run as a user runs it, on the fixtures: its files read back alike to the
// media core's own conversion of the same job, failures that leave the rest going,
// the window's output folder, bad usage, and Ctrl+C mid-write leaving nothing behind.
// Every --json line is checked against the schema by check_events.py.
#include "engine/CMediaEngine.h"
#include "engine/MediaCheck.h"
#include "res/Version.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

namespace {
constexpr int kRunTimeoutMs = 240000;

struct Outcome
{
    int exitCode = -1; // -1 for a crash or a time-out
    QByteArray out;
    QByteArray err;
};

Outcome Finished(QProcess& process)
{
    const bool ended = process.waitForFinished(kRunTimeoutMs);
    Outcome outcome;
    outcome.exitCode = ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

Outcome Run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    return Finished(process);
}

// check_events.py's line per file ("FILE INDEX LAST-EVENT [STAGE]"), or why the lines break the schema.
QString EventSummary(const QByteArray& lines)
{
    QProcess check;
    check.start(QStringLiteral(VV_PYTHON),
                {QStringLiteral(VV_EVENT_SCRIPT), QStringLiteral(VV_EVENT_SCHEMA)});
    check.write(lines);
    check.closeWriteChannel();
    const Outcome outcome = Finished(check);
    return QString::fromUtf8(outcome.out + outcome.err).trimmed();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The same job through the media core, as the window's step hands it over.
bool EngineConvert(const QString& source, const QString& output, const QString& profile, int audioCode,
                   int stretch, double startSeconds, double endSeconds)
{
    CMediaEngine engine;
    engine.setProfileFile(profile.isEmpty() ? QString() : QStringLiteral(VV_PROFILES_DIR "/") + profile);
    engine.setAudioFormat(audioCode);
    engine.addVideoClip(source, startSeconds, endSeconds, stretch);
    engine.addAudioClip(source, startSeconds, endSeconds);
    QSignalSpy finished(&engine, &CMediaEngine::finished);
    return engine.saveFile(output) && finished.wait(kRunTimeoutMs) && !engine.lastWriteFailed();
}

// What a file holds, decoded: enough to tell two settings apart. The picture's
// brightness is apart, since encoders that use several cores may differ in it a little.
struct Readback
{
    QString streams;
    double luma = -1; // of the middle picture
};

Readback ReadBack(const QString& path)
{
    const std::optional<MediaSummary> media = summarizeMedia(path);
    if (!media)
        return {QStringLiteral("unreadable")};
    Readback back{media->container};
    if (media->video) {
        back.streams += QStringLiteral(" %1 %2x%3 %4 frames")
                            .arg(media->video->codec)
                            .arg(media->video->size.width())
                            .arg(media->video->size.height())
                            .arg(media->video->frameCount);
        back.luma = meanLuma(media->video->middleFrame, QRect(QPoint(), kLumaSize));
    }
    if (media->audio)
        back.streams += QStringLiteral(" %1 %2ch %3Hz %4 samples")
                            .arg(media->audio->codec)
                            .arg(media->audio->channels)
                            .arg(media->audio->sampleRateHz)
                            .arg(media->audio->sampleCount);
    return back;
}
} // namespace

class TestVvConvert : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    void sameFilesAsTheMediaCore_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("output");
        // the job as the window hands it to the engine
        QTest::addColumn<QString>("profile");
        QTest::addColumn<int>("audioCode");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end"); // the window's new row: the length to the hundredth

        const auto row = [](const char* name, const QStringList& options, const char* source,
                            const char* output, const char* profile, int audioCode, int stretch, double start,
                            double end) {
            QTest::newRow(name) << options << QString(source) << QString(output) << QString(profile)
                                << audioCode << stretch << start << end;
        };
        row("the window's defaults", {}, "clip.mpg", "clip.wmv", "320x240video.prx", 15, 0, 0.0, 3.01);
        row("mp4, a high size, crop, trimmed (from a whole second, as the window)",
            {"--format", "mp4", "--size", "high-640x480", "--stretch", "3", "--start", "1.7", "--end", "2.5"},
            "sync.mp4", "sync.mp4", "High640x480video.prx", 15, 3, 1.0, 2.5);
        row("webm, keeping the aspect, upright",
            {"--format", "webm", "--size", "1280x720", "--stretch", "resize preserving the aspect ratio"},
            "portrait.mp4", "portrait.webm", "1280x720video.prx", 15, 2, 0.0, 1.0);
        row("mp3 by number", {"--format", "mp3", "--audio-bitrate", "6"}, "clip.mpg", "clip.mp3", "", 21, 0,
            0.0, 3.01);
        row("wma by name, an end", {"--format", "wma", "--audio-bitrate", "stereo-28.8kbps", "--end", "2"},
            "clip.avi", "clip.wma", "", 16, 0, 0.0, 2.0);
    }
    void sameFilesAsTheMediaCore()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, source);
        QFETCH(QString, output);
        const QString path = fixturePath(source);
        const Outcome outcome = Run(QStringLiteral(VV_CONVERT),
                                    options + QStringList{"--json", "--output-dir", m_folder->path(), path});
        QCOMPARE(outcome.exitCode, 0);
        QCOMPARE(EventSummary(outcome.out), path + QStringLiteral(" 1 done"));
        QCOMPARE(Entries(m_folder->path()), QStringList{output});

        QFETCH(QString, profile);
        QFETCH(int, audioCode);
        QFETCH(int, stretch);
        QFETCH(double, start);
        QFETCH(double, end);
        const QString engineOutput = m_folder->filePath(QStringLiteral("engine/") + output);
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("engine")));
        QVERIFY(EngineConvert(path, engineOutput, profile, audioCode, stretch, start, end));
        const Readback ours = ReadBack(m_folder->filePath(output));
        const Readback core = ReadBack(engineOutput);
        QCOMPARE(ours.streams, core.streams);
        QVERIFY2(qAbs(ours.luma - core.luma) < 2,
                 qPrintable(QStringLiteral("%1 %2").arg(ours.luma).arg(core.luma)));
    }

    // Each failure is named on stderr and in the JSON lines; the files after it are written.
    void failuresLeaveTheRestGoing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("reason"); // on stderr
        QTest::addColumn<QStringList>("written");
        const QString clip = fixturePath(QStringLiteral("clip.mpg"));
        const QString random = fixturePath(QStringLiteral("random.mpg"));
        const QString phone = fixturePath(QStringLiteral("phone.mp4"));
        QTest::newRow("an unreadable source")
            << QStringList{clip, random, phone}
            << QStringList{clip + " 1 done", random + " 2 failed open", phone + " 3 done"}.join('\n')
            << "random.mpg: open: Invalid data found when processing input"
            << QStringList{"clip.wmv", "phone.wmv"};
        const QString avi = fixturePath(QStringLiteral("clip.avi"));
        QTest::newRow("an output this run wrote")
            << QStringList{clip, avi} << QStringList{clip + " 1 done", avi + " 2 failed check"}.join('\n')
            << "clip.avi: check: the output would replace a source" << QStringList{"clip.wmv"};
        QTest::newRow("a name that would hide the file")
            << QStringList{".mpg"} << ".mpg 1 failed check"
            << ".mpg: check: the title gives no usable file name" << QStringList();
    }
    void failuresLeaveTheRestGoing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, events);
        QFETCH(QString, reason);
        QFETCH(QStringList, written);
        const Outcome outcome = Run(QStringLiteral(VV_CONVERT),
                                    QStringList{"--json", "--output-dir", m_folder->path()} + arguments);
        QCOMPARE(outcome.exitCode, 1);
        QCOMPARE(EventSummary(outcome.out), events);
        QVERIFY2(outcome.err.contains(reason.toUtf8()), outcome.err);
        QCOMPARE(Entries(m_folder->path()), written);
    }

    // A rerun with skip writes nothing again and counts as written; a number writes beside it.
    void existingOutputsRerun()
    {
        const QString clip = fixturePath(QStringLiteral("clip.mpg"));
        const QStringList arguments{"--json",       "--name",         "{n}-{title}",
                                    "--output-dir", m_folder->path(), clip};
        QCOMPARE(Run(QStringLiteral(VV_CONVERT), arguments).exitCode, 0);
        const Outcome skipped =
            Run(QStringLiteral(VV_CONVERT), arguments + QStringList{"--if-exists", "skip"});
        QCOMPARE(skipped.exitCode, 0);
        QCOMPARE(EventSummary(skipped.out), clip + " 1 skipped");
        QCOMPARE(Run(QStringLiteral(VV_CONVERT), arguments + QStringList{"--if-exists", "number"}).exitCode,
                 0);
        QCOMPARE(Entries(m_folder->path()), (QStringList{"1-clip (2).wmv", "1-clip.wmv"}));
    }

    // Without --json, a line per file written; -q keeps the failures only.
    void plainAndQuietLines()
    {
        const QStringList files{fixturePath(QStringLiteral("clip.mpg")),
                                fixturePath(QStringLiteral("text.avi"))};
        const QStringList arguments = QStringList{"--output-dir", m_folder->path()} + files;
        const QString written =
            QStringLiteral("[1/2] %1 -> %2  3.0 s in ").arg(files[0], m_folder->filePath("clip.wmv"));
        const QString failure = QStringLiteral("vv-convert: %1: open: ").arg(files[1]);
        const Outcome plain = Run(QStringLiteral(VV_CONVERT), arguments);
        QCOMPARE(plain.exitCode, 1);
        QVERIFY2(plain.out.startsWith(written.toUtf8()) && plain.out.count('\n') == 1, plain.out);
        QVERIFY2(plain.err.startsWith(failure.toUtf8()) && plain.err.count('\n') == 1, plain.err);
        const Outcome quiet = Run(QStringLiteral(VV_CONVERT), QStringList{"-q"} + arguments);
        QCOMPARE(quiet.exitCode, 1);
        QCOMPARE(quiet.out, QByteArray());
        QCOMPARE(quiet.err, plain.err);
    }

    // Without --output-dir the files go where the window would put them, which --help shows.
    void theWindowsOutputFolder()
    {
        const QString stored = m_folder->filePath(QStringLiteral("stored")) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(stored) && QDir().mkpath(m_folder->filePath("config/ZezuvVelmora")));
        QFile settings(m_folder->filePath(QStringLiteral("config/ZezuvVelmora/LastOutput.conf")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nDefault=" + stored.toUtf8() + "\n");
        settings.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_folder->filePath(QStringLiteral("config")));
        const QString clip = fixturePath(QStringLiteral("clip.mpg"));
        QCOMPARE(Run(QStringLiteral(VV_CONVERT), {"-q", clip}, environment).exitCode, 0);
        QCOMPARE(Entries(stored), QStringList{"clip.wmv"});
        QVERIFY(
            Run(QStringLiteral(VV_CONVERT), {"--help"}, environment).out.contains("now " + stored.toUtf8()));
    }

    void badUsageNamesTheOptionAndValue()
    {
        const Outcome outcome =
            Run(QStringLiteral(VV_CONVERT), {"--output-dir", m_folder->path(), "--size", "800x600",
                                             fixturePath(QStringLiteral("clip.mpg"))});
        QCOMPARE(outcome.exitCode, 2);
        QVERIFY2(outcome.err.startsWith("vv-convert: --size '800x600': not one of 320x240,"), outcome.err);
        QVERIFY(outcome.err.endsWith("Try 'vv-convert --help'.\n"));
        QCOMPARE(Entries(m_folder->path()), QStringList());
    }

    void interruptedWriteLeavesNothing_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGTERM") << int(SIGTERM);
    }
    // Sent once the write is under way (its first progress line), so no machine is too slow for it.
    void interruptedWriteLeavesNothing()
    {
        QFETCH(int, signal);
        const QString source = fixturePath(QStringLiteral("long.avi"));
        QProcess process;
        process.start(QStringLiteral(VV_CONVERT),
                      {"--json", "--size", "640x480", "--output-dir", m_folder->path(), source,
                       fixturePath(QStringLiteral("clip.mpg"))});
        QByteArray lines;
        while (!lines.contains("\"event\":\"progress\"") && process.waitForReadyRead(kRunTimeoutMs))
            lines += process.readAllStandardOutput();
        QVERIFY2(lines.contains("\"event\":\"progress\""), lines);
        QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
        const Outcome outcome = Finished(process);
        QCOMPARE(outcome.exitCode, 130);
        QCOMPARE(EventSummary(lines + outcome.out), source + QStringLiteral(" 1 stopped"));
        QVERIFY(outcome.err.contains("stopped; " + source.toUtf8() + " was not written"));
        QCOMPARE(Entries(m_folder->path()), QStringList());
    }

    // Both programs answer without a display, and tell the one version.
    void bothProgramsTellTheirVersion()
    {
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        noDisplay.remove(QStringLiteral("DISPLAY"));
        noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
        noDisplay.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QCOMPARE(Run(QStringLiteral(VV_CONVERT), {"--version"}, noDisplay).out,
                 QByteArray("vv-convert " VV_VERSION "\n"));
        const Outcome window = Run(QStringLiteral(VV_WINDOW_PROGRAM), {"clip.mpg", "--version"}, noDisplay);
        QCOMPARE(window.exitCode, 0);
        QVERIFY2(window.out.endsWith(") " VV_VERSION "\n"), window.out);
        QVERIFY(Run(QStringLiteral(VV_WINDOW_PROGRAM), {"--help"}, noDisplay).out.startsWith("Usage: "));
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_GUILESS_MAIN(TestVvConvert)
#include "test_vv_convert.moc"

// The engine control as the main window sees it: events queued on the UI thread,
// progress then exactly one Finished, a write that is stopped, closed, fails or is
// replaced by the next SaveFile, and the refusals of SaveFile; no failed or stopped
// write harms an existing file.
#include "MediaCheck.h"
#include "engine/CDirarAror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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
    explicit Step(QString sourcePath = fixturePath(QStringLiteral("clip.mpg")),
                  QString profileName = QStringLiteral("320x240video.prx"))
        : source(std::move(sourcePath)), profile(std::move(profileName))
    {
    }
    QString source;
    double startSeconds = 0.0;
    double endSeconds = 3.0;
    int stretch = 0;
    QString profile; // empty for none
    int audioCode = 15;
    QString output = QStringLiteral("out.wmv");
};

// The slowest step the fixtures allow, so that there is time to act during the write.
Step longStep()
{
    return Step(fixturePath(QStringLiteral("clip.avi")), QStringLiteral("High640x480video.prx"));
}

enum class Interruption
{
    StopAtOnce,
    Stop,
    Close,
    FileVanishes, // the write cannot be completed
};

void setUp(CDirarAror& engine, const Step& step)
{
    engine.SetOutputMode(9);
    engine.SetClipOption(0);
    engine.ClearClips();
    if (!step.source.isEmpty()) {
        engine.AddVideoClip(step.source, step.startSeconds, step.endSeconds, short(step.stretch));
        engine.AddAudioClip(step.source, step.startSeconds, step.endSeconds);
    }
    engine.SetProfileFile(step.profile.isEmpty() ? QString() : profilePath(step.profile));
    engine.SetAudioFormat(short(step.audioCode));
}

} // namespace

Q_DECLARE_METATYPE(Step)

class TestEngineControl : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
    }

    void lastWriteReportsProgressThenOneFinished()
    {
        CDirarAror engine;
        QSignalSpy progress(&engine, &CDirarAror::Progress);
        QSignalSpy finished(&engine, &CDirarAror::Finished);
        setUp(engine, longStep());
        QElapsedTimer timer;
        timer.start();
        // each SaveFile replaces the write before it
        for (const char* name : {"a.wmv", "b.wmv", "c.wmv", "out.wmv"})
            QVERIFY(engine.SaveFile(m_folder->filePath(QLatin1String(name))));
        const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
        QCOMPARE(progress.count() + finished.count(), 0); // never from inside the call
        // a preview refills the clip list while the file is written: the write keeps its own
        Step preview;
        preview.endSeconds = 1.0;
        preview.stretch = 2;
        setUp(engine, preview);
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
        const QString output = existingOutput();
        QVERIFY(!output.isEmpty());
        auto engine = std::make_unique<CDirarAror>();
        QSignalSpy progress(engine.get(), &CDirarAror::Progress);
        QSignalSpy finished(engine.get(), &CDirarAror::Finished);
        setUp(*engine, longStep());
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
        QSignalSpy finished(&engine, &CDirarAror::Finished);
        setUp(engine, Step(input));
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
        const auto addRow = [](const char* name, const std::function<void(Step&)>& change) {
            Step step;
            change(step);
            QTest::newRow(name) << step;
        };
        addRow("not media", [](Step& s) { s.source = fixturePath(QStringLiteral("text.avi")); });
        addRow("missing input", [](Step& s) { s.source = fixturePath(QStringLiteral("missing.mpg")); });
        addRow("no clips", [](Step& s) { s.source.clear(); });
        addRow("start after end", [](Step& s) { s.startSeconds = 2.0, s.endSeconds = 1.0; });
        addRow("start past the file's end", [](Step& s) { s.startSeconds = 10.0, s.endSeconds = 20.0; });
        addRow("shorter than a frame", [](Step& s) { s.startSeconds = 1.0, s.endSeconds = 1.01; });
        addRow("unknown stretch mode", [](Step& s) { s.stretch = 7; });
        addRow("missing profile", [](Step& s) { s.profile = "no.prx"; });
        addRow("video without a profile", [](Step& s) { s.profile.clear(); });
        addRow("audio code below the list",
               [](Step& s) { s.profile.clear(), s.audioCode = 14, s.output = "out.wma"; });
        addRow("audio code above the list",
               [](Step& s) { s.profile.clear(), s.audioCode = 22, s.output = "out.wma"; });
        addRow("other output type", [](Step& s) { s.output = "out.avi"; });
        addRow("folder missing", [](Step& s) { s.output = "no folder/out.wmv"; });
        addRow("output is a folder", [](Step& s) { s.output = "folder.wmv"; });
    }
    void refusals()
    {
        QFETCH(Step, step);
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("folder.wmv")));
        CDirarAror engine;
        QSignalSpy finished(&engine, &CDirarAror::Finished);
        setUp(engine, step);
        QVERIFY(!engine.SaveFile(m_folder->filePath(step.output)));
        QTest::qWait(50);
        QCOMPARE(finished.count(), 0);
        QVERIFY(filesInFolder().isEmpty());
    }

    void damagedInputNeverCrashes()
    {
        CDirarAror engine;
        QSignalSpy finished(&engine, &CDirarAror::Finished);
        const QString damaged = fixturePath(QStringLiteral("bitflip.wmv"));
        QVERIFY(engine.GetDuration(damaged) > 0.0); // the header is intact
        setUp(engine, Step(damaged));
        const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
        if (engine.SaveFile(output)) {
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
            QTest::qWait(kQuietMs);
            QCOMPARE(finished.count(), 1);
            QCOMPARE(QFile::exists(output), !engine.LastWriteFailed());
        }
        QTRY_VERIFY_WITH_TIMEOUT(filesInFolder().size() <= 1, 10000);
    }

private:
    QStringList filesInFolder() const
    {
        return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // A file the user already has under the output name.
    QString existingOutput() const
    {
        const QString path = m_folder->filePath(QStringLiteral("existing.wmv"));
        return writeFile(path, kEarlierContent) ? path : QString();
    }
    std::unique_ptr<QTemporaryDir> m_folder;
};

QTEST_MAIN(TestEngineControl)
#include "test_engine_control.moc"

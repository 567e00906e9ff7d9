// The engine control as the main window sees it: events queued on the UI thread,
// progress then exactly one Finished, Stop and a second SaveFile discarding a write,
// the refusals of SaveFile, and that no failed or stopped write harms an existing file.
#include "MediaCheck.h"
#include "engine/CDirarAror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWriteTimeoutMs = 120000;
constexpr int kQuietMs = 500; // how long to watch for events that must not come

QString fixture(const QString& name)
{
    return QStringLiteral(VV_FIXTURES_DIR "/") + name;
}

QString profile(const QString& name)
{
    return QStringLiteral(VV_PROFILES_DIR "/") + name;
}

QByteArray contentHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// One conversion step as the main window makes it.
void setUpStep(CDirarAror& engine, const QString& source, double startSeconds, double endSeconds,
               const QString& profilePath, short stretch = 0)
{
    engine.SetOutputMode(9);
    engine.SetClipOption(0);
    engine.ClearClips();
    engine.AddVideoClip(source, startSeconds, endSeconds, stretch);
    engine.AddAudioClip(source, startSeconds, endSeconds);
    engine.SetProfileFile(profilePath);
}

} // namespace

class TestEngineControl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void progressRisesThenOneFinished();
    void stopDiscardsTheWrite_data();
    void stopDiscardsTheWrite();
    void saveFileDuringAWriteReplacesIt();
    void outputSameAsInputIsRefused();
    void failedWriteIsReportedAndKeepsTheOldFile();
    void refusals_data();
    void refusals();
    void writeKeepsTheSettingsOfItsStart();
    void damagedInputNeverCrashes();
    void closingDuringAWriteLeavesNothing();
    void idlePreviewAreaIsDark();

private:
    QStringList filesInFolder() const;
    QString existingOutput() const;
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestEngineControl::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
}

QStringList TestEngineControl::filesInFolder() const
{
    return QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// A file the user already has under the output name.
QString TestEngineControl::existingOutput() const
{
    const QString path = m_folder->filePath(QStringLiteral("existing.wmv"));
    return writeFile(path, "the user's earlier file") ? path : QString();
}

void TestEngineControl::progressRisesThenOneFinished()
{
    CDirarAror engine;
    QSignalSpy progress(&engine, &CDirarAror::Progress);
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, fixture(QStringLiteral("clip.avi")), 0.0, 3.0, profile(QStringLiteral("High640x480video.prx")));
    const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(engine.SaveFile(output));
    QCOMPARE(progress.count() + finished.count(), 0); // never from inside the call
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
    const double elapsedSeconds = timer.elapsed() / 1000.0;
    QTest::qWait(kQuietMs);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!engine.LastWriteFailed());
    QCOMPARE(filesInFolder(), QStringList{QStringLiteral("out.wmv")});

    QVERIFY(!progress.isEmpty());
    QVERIFY2(progress.count() <= elapsedSeconds * 10 + 3, qPrintable(QString::number(progress.count())));
    double previous = 0.0;
    for (const QList<QVariant>& event : progress) {
        const double position = event[0].toDouble();
        const double total = event[1].toDouble();
        QVERIFY(position >= previous);
        QVERIFY(position <= total);
        QVERIFY(qAbs(total - 3.0) < 0.05);
        previous = position;
    }
    QCOMPARE(previous, progress.last()[1].toDouble()); // ends at the total
}

void TestEngineControl::stopDiscardsTheWrite_data()
{
    QTest::addColumn<bool>("afterFirstProgress");
    QTest::newRow("at once") << false;
    QTest::newRow("part-way") << true;
}

void TestEngineControl::stopDiscardsTheWrite()
{
    QFETCH(bool, afterFirstProgress);
    const QString output = existingOutput();
    QVERIFY(!output.isEmpty());
    const QByteArray before = contentHash(output);
    CDirarAror engine;
    QSignalSpy progress(&engine, &CDirarAror::Progress);
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, fixture(QStringLiteral("clip.avi")), 0.0, 3.0, profile(QStringLiteral("High640x480video.prx")));
    QVERIFY(engine.SaveFile(output));
    if (afterFirstProgress)
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWriteTimeoutMs);
    engine.Stop();
    const int progressAtStop = progress.count();
    QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(), QStringList{QStringLiteral("existing.wmv")}, 10000);
    QTest::qWait(kQuietMs);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(progress.count(), progressAtStop);
    QCOMPARE(contentHash(output), before);
}

void TestEngineControl::saveFileDuringAWriteReplacesIt()
{
    CDirarAror engine;
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, fixture(QStringLiteral("clip.mpg")), 0.0, 3.0, profile(QStringLiteral("640x480video.prx")));
    for (const char* name : {"a.wmv", "b.wmv", "c.wmv", "d.wmv"})
        QVERIFY(engine.SaveFile(m_folder->filePath(QLatin1String(name))));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
    QTest::qWait(kQuietMs);
    QCOMPARE(finished.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(filesInFolder(), QStringList{QStringLiteral("d.wmv")}, 10000);
    const std::optional<MediaSummary> summary = summarizeMedia(m_folder->filePath(QStringLiteral("d.wmv")));
    QVERIFY(summary && summary->video);
    QVERIFY(summary->video->frameCount > 70);
}

void TestEngineControl::outputSameAsInputIsRefused()
{
    const QString input = m_folder->filePath(QStringLiteral("holiday.wmv"));
    QVERIFY(QFile::copy(fixture(QStringLiteral("clip.wmv")), input));
    const QString link = m_folder->filePath(QStringLiteral("link.wmv"));
    QVERIFY(QFile::link(input, link));
    const QByteArray before = contentHash(input);
    CDirarAror engine;
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, input, 0.0, 3.0, profile(QStringLiteral("320x240video.prx")));
    QVERIFY(!engine.SaveFile(input));
    QVERIFY(!engine.SaveFile(m_folder->path() + QStringLiteral("/./holiday.wmv")));
    QVERIFY(!engine.SaveFile(link));
    // only the sound taken from it counts too
    engine.ClearClips();
    engine.AddVideoClip(fixture(QStringLiteral("clip.mpg")), 0.0, 3.0, 0);
    engine.AddAudioClip(input, 0.0, 3.0);
    QVERIFY(!engine.SaveFile(input));
    QTest::qWait(kQuietMs);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(contentHash(input), before);
    QCOMPARE(filesInFolder(), (QStringList{QStringLiteral("holiday.wmv"), QStringLiteral("link.wmv")}));
}

void TestEngineControl::failedWriteIsReportedAndKeepsTheOldFile()
{
    const QString output = existingOutput();
    QVERIFY(!output.isEmpty());
    const QByteArray before = contentHash(output);
    CDirarAror engine;
    QSignalSpy progress(&engine, &CDirarAror::Progress);
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, fixture(QStringLiteral("clip.mpg")), 0.0, 3.0, profile(QStringLiteral("320x240video.prx")));
    QVERIFY(engine.SaveFile(output));
    // the file being written vanishes under the writer: the write cannot be completed
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), kWriteTimeoutMs);
    for (const QString& name : filesInFolder()) {
        if (name != QStringLiteral("existing.wmv"))
            QVERIFY(QFile::remove(m_folder->filePath(name)));
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
    QVERIFY(engine.LastWriteFailed());
    QCOMPARE(contentHash(output), before);
    QCOMPARE(filesInFolder(), QStringList{QStringLiteral("existing.wmv")});

    // the next good write clears the failure
    QVERIFY(engine.SaveFile(output));
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, kWriteTimeoutMs);
    QVERIFY(!engine.LastWriteFailed());
    QVERIFY(contentHash(output) != before);
}

void TestEngineControl::refusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<double>("startSeconds");
    QTest::addColumn<double>("endSeconds");
    QTest::addColumn<int>("stretch");
    QTest::addColumn<QString>("profilePath");
    QTest::addColumn<int>("audioCode");
    QTest::addColumn<QString>("outputName");
    const QString clip = QStringLiteral("clip.mpg");
    const QString small = profile(QStringLiteral("320x240video.prx"));
    const QString wmv = QStringLiteral("out.wmv");
    for (const char* bad : {"empty.avi", "text.avi", "random.mpg", "truncated.wmv", "headercut.asf", "missing.mpg"})
        QTest::newRow(bad) << QString::fromLatin1(bad) << 0.0 << 3.0 << 0 << small << 15 << wmv;
    QTest::newRow("no clips") << QString() << 0.0 << 3.0 << 0 << small << 15 << wmv;
    QTest::newRow("start after end") << clip << 2.0 << 1.0 << 0 << small << 15 << wmv;
    QTest::newRow("start past the file's end") << clip << 10.0 << 20.0 << 0 << small << 15 << wmv;
    QTest::newRow("shorter than a frame") << clip << 1.0 << 1.01 << 0 << small << 15 << wmv;
    QTest::newRow("unknown stretch mode") << clip << 0.0 << 3.0 << 7 << small << 15 << wmv;
    QTest::newRow("missing profile") << clip << 0.0 << 3.0 << 0 << profile(QStringLiteral("nope.prx")) << 15 << wmv;
    QTest::newRow("profile not XML") << clip << 0.0 << 3.0 << 0 << fixture(QStringLiteral("text.avi")) << 15
                                     << wmv;
    QTest::newRow("video without a profile") << clip << 0.0 << 3.0 << 0 << QString() << 15 << wmv;
    QTest::newRow("audio code out of range") << clip << 0.0 << 3.0 << 0 << QString() << 22 << "out.wma";
    QTest::newRow("other output type") << clip << 0.0 << 3.0 << 0 << small << 15 << "out.avi";
    QTest::newRow("folder missing") << clip << 0.0 << 3.0 << 0 << small << 15 << "no folder/out.wmv";
    QTest::newRow("output is a folder") << clip << 0.0 << 3.0 << 0 << small << 15 << "folder.wmv";
}

void TestEngineControl::refusals()
{
    QFETCH(QString, source);
    QFETCH(double, startSeconds);
    QFETCH(double, endSeconds);
    QFETCH(int, stretch);
    QFETCH(QString, profilePath);
    QFETCH(int, audioCode);
    QFETCH(QString, outputName);
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("folder.wmv")));
    CDirarAror engine;
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    engine.ClearClips();
    if (!source.isEmpty()) {
        engine.AddVideoClip(fixture(source), startSeconds, endSeconds, short(stretch));
        engine.AddAudioClip(fixture(source), startSeconds, endSeconds);
    }
    engine.SetProfileFile(profilePath);
    engine.SetAudioFormat(short(audioCode));
    QVERIFY(!engine.SaveFile(m_folder->filePath(outputName)));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 0);
    QVERIFY(filesInFolder().isEmpty());
    if (startSeconds == 0.0 && !source.isEmpty() && source != QStringLiteral("clip.mpg"))
        QCOMPARE(engine.GetDuration(fixture(source)), 0.0);
}

void TestEngineControl::writeKeepsTheSettingsOfItsStart()
{
    CDirarAror engine;
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    setUpStep(engine, fixture(QStringLiteral("clip.mpg")), 0.5, 1.5, profile(QStringLiteral("320x240video.prx")));
    const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
    QVERIFY(engine.SaveFile(output));
    // a preview refills the clip list while the file is written
    setUpStep(engine, fixture(QStringLiteral("clip.avi")), 0.0, 3.0, profile(QStringLiteral("640x480video.prx")), 2);
    engine.SetAudioFormat(21);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
    QVERIFY(!engine.LastWriteFailed());
    const std::optional<MediaSummary> summary = summarizeMedia(output);
    QVERIFY(summary && summary->video && summary->audio);
    QCOMPARE(summary->video->width, 320);
    QCOMPARE(summary->video->frameCount, 25);
    QCOMPARE(summary->audio->sampleRateHz, 22050);
}

void TestEngineControl::damagedInputNeverCrashes()
{
    CDirarAror engine;
    QSignalSpy finished(&engine, &CDirarAror::Finished);
    QVERIFY(engine.GetDuration(fixture(QStringLiteral("bitflip.wmv"))) > 0.0); // the header is intact
    setUpStep(engine, fixture(QStringLiteral("bitflip.wmv")), 0.0, 3.0, profile(QStringLiteral("320x240video.prx")));
    const QString output = m_folder->filePath(QStringLiteral("out.wmv"));
    if (engine.SaveFile(output)) {
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWriteTimeoutMs);
        QTest::qWait(kQuietMs);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(QFile::exists(output), !engine.LastWriteFailed());
    }
    QTRY_VERIFY_WITH_TIMEOUT(filesInFolder().size() <= 1, 10000);
}

void TestEngineControl::closingDuringAWriteLeavesNothing()
{
    auto engine = std::make_unique<CDirarAror>();
    setUpStep(*engine, fixture(QStringLiteral("clip.avi")), 0.0, 3.0, profile(QStringLiteral("High640x480video.prx")));
    QVERIFY(engine->SaveFile(m_folder->filePath(QStringLiteral("out.wmv"))));
    QTest::qWait(20);
    engine.reset();
    QCOMPARE(filesInFolder(), QStringList());
    QTest::qWait(kQuietMs); // queued events of the gone engine must not arrive anywhere
}

void TestEngineControl::idlePreviewAreaIsDark()
{
    CDirarAror engine;
    engine.resize(120, 90);
    QVERIFY(!engine.Play()); // nothing to show until the preview player exists
    const QImage picture = engine.grab().toImage();
    QCOMPARE(picture.pixelColor(0, 0), QColor(32, 32, 32));
    QCOMPARE(picture.pixelColor(119, 89), QColor(32, 32, 32));
}

QTEST_MAIN(TestEngineControl)
#include "test_engine_control.moc"

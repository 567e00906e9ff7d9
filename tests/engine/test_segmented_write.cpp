// Long spans for a single-core encoder are cut into segments encoded side by side: the cut, and the
// file it gives against the one-pipeline path's, Stop in the middle of it.
#include "MediaCheck.h"
#include "engine/CDirarAror.h"
#include "engine/SegmentPlan.h"
#include "support/CEngineEvents.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

constexpr int kWriteTimeoutMs = 180000;
constexpr int kQuietMs = 500; // how long to watch for progress that must not come

void setUpSpan(CDirarAror& engine, const QString& source, double startSeconds, double endSeconds)
{
    engine.ClearClips();
    addClip(engine, source, startSeconds, endSeconds);
    engine.SetProfileFile(profilePath(QStringLiteral("320x240video.prx")));
}

// Luma PSNR of a file's pictures against the source's pictures shown at the same time.
double psnrAgainst(const std::vector<TimedFrame>& frames, const std::vector<TimedFrame>& source,
                   double offset)
{
    double squares = 1e-9;
    size_t at = 0;
    for (const TimedFrame& frame : frames) {
        while (at + 1 < source.size() && source[at + 1].seconds <= frame.seconds + offset + 0.001)
            ++at;
        const uchar* ours = frame.picture.constBits();
        const uchar* theirs = source[at].picture.constBits();
        for (qsizetype i = 0; i < frame.picture.sizeInBytes(); ++i)
            squares += double(ours[i] - theirs[i]) * double(ours[i] - theirs[i]);
    }
    const double samples = double(frames.size()) * double(kLumaSize.width() * kLumaSize.height());
    return 10.0 * std::log10(255.0 * 255.0 * samples / squares);
}

} // namespace

class TestSegmentedWrite : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        // a 60 s source, made by the engine from 20 copies of a fixture
        m_engine.SetOutputMode(9);
        setUpSpan(m_engine, fixturePath(QStringLiteral("clip.mpg")), 0.0, 3.0);
        for (int copy = 1; copy < 20; ++copy)
            addClip(m_engine, fixturePath(QStringLiteral("clip.mpg")), 0.0, 3.0);
        QVERIFY(write(QStringLiteral("long.wmv"), "1"));
    }

    // End to end, a whole number of equal segments per worker, 4 to 10 s; short spans stay whole.
    void cutsCoverTheSpan_data()
    {
        QTest::addColumn<qint64>("frames");
        QTest::addColumn<int>("workers");
        QTest::addColumn<int>("segments");
        QTest::newRow("8 s, 2 workers") << qint64(200) << 2 << 2;
        QTest::newRow("7.9 s, 2 workers") << qint64(198) << 2 << 0;
        QTest::newRow("1 worker") << qint64(650) << 1 << 0;
        QTest::newRow("12 s, 16 workers") << qint64(300) << 16 << 3;
        QTest::newRow("2 h, 3 workers") << qint64(180000) << 3 << 720;
    }
    void cutsCoverTheSpan()
    {
        QFETCH(qint64, frames);
        QFETCH(int, workers);
        QFETCH(int, segments);
        const std::vector<FrameSpan> spans = planSegments(frames, AVRational{25, 1}, workers);
        QCOMPARE(int(spans.size()), segments);
        for (size_t index = 0; index < spans.size(); ++index) {
            QCOMPARE(spans[index].first, index == 0 ? 0 : spans[index - 1].end);
            QVERIFY(qAbs((spans[index].end - spans[index].first) - (spans[0].end - spans[0].first)) <= 1);
        }
        QVERIFY(spans.empty() || spans.back().end == frames);
    }

    // The same pictures at the same times, the same rate and the same quality as on one pipeline.
    void segmentedFileMatchesTheSerialOne()
    {
        const QString source = m_folder.filePath(QStringLiteral("long.wmv"));
        setUpSpan(m_engine, source, 1.5, 27.5);
        QVERIFY(write(QStringLiteral("serial.wmv"), "1"));
        QVERIFY(write(QStringLiteral("segmented.wmv"), "2"));
        const std::vector<TimedFrame> serial = decodeFrames(m_folder.filePath(QStringLiteral("serial.wmv")));
        const std::vector<TimedFrame> segmented =
            decodeFrames(m_folder.filePath(QStringLiteral("segmented.wmv")));
        QCOMPARE(segmented.size(), serial.size());
        QCOMPARE(int(serial.size()), 26 * 25);
        for (size_t index = 0; index < serial.size(); ++index)
            QCOMPARE(segmented[index].seconds, serial[index].seconds);
        const std::vector<TimedFrame> original = decodeFrames(source);
        const double offset = 1.5 - serial.front().seconds;
        QVERIFY(psnrAgainst(segmented, original, offset) > psnrAgainst(serial, original, offset) - 0.3);
        const double sizeRatio = double(QFile(m_folder.filePath(QStringLiteral("segmented.wmv"))).size()) /
                                 double(QFile(m_folder.filePath(QStringLiteral("serial.wmv"))).size());
        QVERIFY2(qAbs(sizeRatio - 1.0) < 0.05, qPrintable(QString::number(sizeRatio)));
        QVERIFY(!m_progress.isEmpty()); // events come at most ten a second: a quick write has few
        for (qsizetype index = 1; index < m_progress.size(); ++index)
            QVERIFY(m_progress[index] >= m_progress[index - 1]);
    }

    // Stopped in the middle of its segments: no Finished, no file, nothing left behind.
    void stopMidSegment()
    {
        setUpSpan(m_engine, m_folder.filePath(QStringLiteral("long.wmv")), 0.0, 60.0);
        qputenv("VV_THREADS", "2");
        CEngineEvents events(m_engine);
        QSignalSpy progress(&events, &CEngineEvents::Progress);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        QVERIFY(m_engine.SaveFile(m_folder.filePath(QStringLiteral("stopped.wmv"))));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last()[0].toDouble() >= 2.0,
                                 kWriteTimeoutMs);
        m_engine.Stop();
        QTRY_COMPARE(
            QDir(m_folder.path())
                .entryList({QStringLiteral("stopped*"), QStringLiteral(".vv-*")}, QDir::Files | QDir::Hidden),
            QStringList());
        QCOMPARE(finished.count(), 0);
    }

    // Paused, a write holds still with its file kept; resumed, it gives every picture and sample a
    // write that never stopped gives, on one pipeline and in segments.
    void pausedWriteGoesOnUnchanged_data()
    {
        QTest::addColumn<QByteArray>("threads");
        QTest::newRow("one pipeline") << QByteArray("1");
        QTest::newRow("segments") << QByteArray("2");
    }
    void pausedWriteGoesOnUnchanged()
    {
        QFETCH(QByteArray, threads);
        setUpSpan(m_engine, m_folder.filePath(QStringLiteral("long.wmv")), 0.0, 30.0);
        QVERIFY(write(QStringLiteral("straight.wmv"), threads));
        CEngineEvents events(m_engine);
        QSignalSpy progress(&events, &CEngineEvents::Progress);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        QVERIFY(m_engine.SaveFile(m_folder.filePath(QStringLiteral("paused.wmv"))));
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last()[0].toDouble() >= 2.0,
                                 kWriteTimeoutMs);
        m_engine.SetWritePaused(true);
        // what was under way when the pause came may still report; then a quiet spell, and no end
        QTRY_VERIFY_WITH_TIMEOUT(!progress.wait(kQuietMs), 10000);
        QCOMPARE(finished.count(), 0);
        QCOMPARE(
            QDir(m_folder.path()).entryList({QStringLiteral(".vv-*")}, QDir::Files | QDir::Hidden).size(), 1);
        m_engine.SetWritePaused(false);
        QVERIFY(finished.wait(kWriteTimeoutMs));
        QVERIFY(!m_engine.LastWriteFailed());
        const QByteArray straight = readFile(m_folder.filePath(QStringLiteral("straight.wmv")));
        QVERIFY(!straight.isEmpty());
        QCOMPARE(readFile(m_folder.filePath(QStringLiteral("paused.wmv"))), straight);
    }

private:
    bool write(const QString& name, const QByteArray& threads)
    {
        qputenv("VV_THREADS", threads);
        CEngineEvents events(m_engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        m_progress.clear();
        connect(&events, &CEngineEvents::Progress, this,
                [this](double position) { m_progress.append(position); });
        return m_engine.SaveFile(m_folder.filePath(name)) && finished.wait(kWriteTimeoutMs) &&
               finished.size() == 1 && !m_engine.LastWriteFailed();
    }

    QTemporaryDir m_folder;
    CDirarAror m_engine;
    QList<double> m_progress;
};

QTEST_MAIN(TestSegmentedWrite)
#include "test_segmented_write.moc"

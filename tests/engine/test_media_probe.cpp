// Probing: the length of every container we read, 0.0 for anything that is not
// readable media, and file names with characters FFmpeg would otherwise interpret.
#include "engine/MediaInput.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString fixture(const char* name)
{
    return QStringLiteral(VV_FIXTURES_DIR "/") + QLatin1String(name);
}
} // namespace

class TestMediaProbe : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { av_log_set_level(AV_LOG_FATAL); } // damaged files are expected here
    void lengthOfEachContainer_data();
    void lengthOfEachContainer();
    void unreadableFilesHaveNoLength_data();
    void unreadableFilesHaveNoLength();
    void namesAreTakenLiterally();
    void inspectionSeesStreamsAndRate();
};

void TestMediaProbe::lengthOfEachContainer_data()
{
    QTest::addColumn<QString>("path");
    for (const char* name : {"clip.mpg", "clip.mpeg", "clip.avi", "clip.wmv", "clip.asf"})
        QTest::newRow(name) << fixture(name);
}

void TestMediaProbe::lengthOfEachContainer()
{
    QFETCH(QString, path);
    const double seconds = probeDurationSeconds(path);
    QVERIFY2(qAbs(seconds - 3.0) < 0.15, qPrintable(QString::number(seconds)));
}

void TestMediaProbe::unreadableFilesHaveNoLength_data()
{
    QTest::addColumn<QString>("path");
    for (const char* name : {"empty.avi", "text.avi", "random.mpg", "truncated.wmv", "headercut.asf"})
        QTest::newRow(name) << fixture(name);
    QTest::newRow("missing") << fixture("no-such-file.mpg");
    QTest::newRow("folder") << QStringLiteral(VV_FIXTURES_DIR);
    QTest::newRow("empty path") << QString();
}

void TestMediaProbe::unreadableFilesHaveNoLength()
{
    QFETCH(QString, path);
    QCOMPARE(probeDurationSeconds(path), 0.0);
    QVERIFY(!inspectMedia(path));
}

void TestMediaProbe::namesAreTakenLiterally()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QStringList names = {
        QStringLiteral("with space.mpg"),     QStringLiteral("hash#percent%20.mpg"),
        QStringLiteral("http:clip.mpg"),      QStringLiteral("pipe|name.mpg"),
        QStringLiteral("quote'\"name.mpg"),   QStringLiteral("-dash.mpg"),
        QStringLiteral("ünïcödé 名前.mpg"), QStringLiteral("concat:a.mpg"),
    };
    const QString previous = QDir::currentPath();
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        QVERIFY2(QFile::copy(fixture("clip.mpg"), path), qPrintable(name));
        QVERIFY2(probeDurationSeconds(path) > 2.9, qPrintable(name));
    }
    // relative names too: "http:clip.mpg" must not become a web address
    QVERIFY(QDir::setCurrent(folder.path()));
    const double relative = probeDurationSeconds(QStringLiteral("http:clip.mpg"));
    QDir::setCurrent(previous);
    QVERIFY2(relative > 2.9, qPrintable(QString::number(relative)));
    QCOMPARE(probeDurationSeconds(folder.filePath(QStringLiteral("no such.mpg"))), 0.0);
}

void TestMediaProbe::inspectionSeesStreamsAndRate()
{
    const std::optional<MediaInfo> avi = inspectMedia(fixture("clip.avi"));
    QVERIFY(avi && avi->hasVideo && avi->hasAudio);
    QCOMPARE(avi->videoFrameRate.num * 1001, avi->videoFrameRate.den * 30000); // NTSC rate kept exactly
    const std::optional<MediaInfo> asf = inspectMedia(fixture("clip.asf"));
    QVERIFY(asf && asf->hasVideo && asf->hasAudio);
    QCOMPARE(av_q2d(asf->videoFrameRate), 15.0);
}

QTEST_GUILESS_MAIN(TestMediaProbe)
#include "test_media_probe.moc"

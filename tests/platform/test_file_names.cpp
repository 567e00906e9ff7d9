// Names that are not UTF-8 (Latin-1 from old archives) kept byte for byte from the
// command line, drops and folders to the files themselves.
#include "jobs/IncomingFiles.h"
#include "platform/FileNames.h"

#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <fstream>

class TestFileNames : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows names are UTF-16: there are no bytes to keep");
#endif
    }

    void bytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readable");
        QTest::newRow("UTF-8") << QByteArray("\xc3\xbcn\xc3\xaf \xe5\x90\x8d.mp4") << QString::fromUtf8("ünï 名.mp4");
        QTest::newRow("four bytes") << QByteArray("\xf0\x9f\x8e\xac.mp4") << QString::fromUtf8("🎬.mp4");
        QTest::newRow("Latin-1") << QByteArray("caf\xe9.mp4") << QString::fromUtf8("caf\xef\xbf\xbd.mp4");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf") << QString::fromUtf8("a\xef\xbf\xbd\xef\xbf\xbd");
        QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QString(3, QChar(0xFFFD));
        QTest::newRow("cut at the end") << QByteArray("x\xe5\x90") << QString::fromUtf8("x\xef\xbf\xbd\xef\xbf\xbd");
    }
    void bytesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readable);
        const QString name = FileNameFromBytes(bytes);
        QCOMPARE(FileNameToBytes(name), bytes);
        QCOMPARE(ReadableFileName(name), readable);
        QCOMPARE(FileNameFromUrl(QUrl::fromEncoded("file:///d/" + bytes.toPercentEncoding())),
                 FileNameFromBytes("/d/" + bytes));
    }

    // On disk: the command line and drops reach such files; the chooser's spoilt names are told.
    void incomingFilesKeepTheirBytes()
    {
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path());
        for (const QByteArray& name : {QByteArray("/caf\xe9.mpg"), QByteArray("/d\xe9j\xe0.avi")})
            std::ofstream(std::string(folder + name)).put('x');
        const QString cafe = FileNameFromBytes(folder + "/caf\xe9.mpg");
        QCOMPARE(FilesFromCommandLine({cafe}).files, QStringList{cafe});
        QCOMPARE(FilesFromDrop({dir.path()}).files,
                 (QStringList{cafe, FileNameFromBytes(folder + "/d\xe9j\xe0.avi")}));
        const IncomingFiles chosen = FilesFromChooser({ReadableFileName(cafe)});
        QVERIFY(chosen.files.isEmpty());
        QVERIFY(LostNamesMessage(chosen.skipped).endsWith(QString::fromUtf8("/caf\xef\xbf\xbd.mpg")));
    }
};

QTEST_GUILESS_MAIN(TestFileNames)
#include "test_file_names.moc"

// The job list on disk: its file rules and one list per window.
#include "jobs/CJobListStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

namespace {
const QString kNamedTemp = ".vv-0123abcd.part";

QString Fixture(const QString& name)
{
    return QStringLiteral(VV_FIXTURES_DIR "/") + name;
}

// A list of one good row, but for one field.
QByteArray ListWithRow(const QString& key, const QJsonValue& value)
{
    QJsonObject row{{"title", "a"},     {"start", "0"},    {"end", "1"},     {"status", "Ready"},
                    {"source", "/v/a"}, {"relative", "a"}, {"checked", true}};
    row.insert(key, value);
    return QJsonDocument(QJsonObject{{"version", 1}, {"rows", QJsonArray{row}}}).toJson();
}

} // namespace

class TestSavedJobList : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_data;

private slots:
    // Every case starts with a data folder of its own, never the user's.
    void init()
    {
        m_data = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", m_data->path().toUtf8());
    }

    void refusedFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{\"version\":1,\"rows\":[") << "it is not a job list";
        QTest::newRow("newer") << QByteArray("{\"version\":2,\"rows\":[]}") << "its version is not 1";
        QTest::newRow("rows") << QByteArray("{\"version\":1,\"rows\":{}}") << "\"rows\" is not a list";
        QTest::newRow("checked") << ListWithRow("checked", 1) << "\"checked\" is not true or false";
        QTest::newRow("long title") << ListWithRow("title", QString(4097, 'x'))
                                    << "\"title\" is missing or not a text of up to 4096";
        QTest::newRow("temp elsewhere") << ListWithRow("temp", "/home/me/.bashrc") << "\"temp\" is not";
        QTest::newRow("temp relative") << ListWithRow("temp", kNamedTemp) << "\"temp\" is not";
        QTest::newRow("huge") << QByteArray(kMaxJobListBytes + 1, ' ') << "larger than 16 MB";
    }
    void refusedFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        QString refusal;
        QVERIFY(!JobListFromJson(data, &refusal));
        QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    }

    // What is written reads back the same; a folder moved with its list is found again.
    void listsRoundTripAndFollowAMovedFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("set/videos") && QDir(dir.path()).mkpath("set/lists"));
        QVERIFY(QFile::copy(Fixture("clip.avi"), dir.filePath("set/videos/clip.avi")));
        const SavedJobRow row{"Holiday.avi", "2",
                              "3.5",         "Completed",
                              false,         dir.filePath("set/videos/clip.avi"),
                              QString(),     dir.filePath(kNamedTemp)};
        QString refusal;
        const auto back = JobListFromJson(JobListToJson({true, {row}}, dir.filePath("set/lists")), &refusal);
        QVERIFY2(back, qPrintable(refusal));
        QVERIFY(back->finished);
        const SavedJobRow& read = back->rows.first();
        QCOMPARE(
            (QStringList{read.title, read.start, read.end, read.status, read.relativeSource,
                         read.tempOutput}),
            (QStringList{row.title, row.start, row.end, row.status, "../videos/clip.avi", row.tempOutput}));
        QVERIFY(!read.checked);
        QVERIFY(QDir(dir.path()).rename("set", "moved"));
        QCOMPARE(FoundSource(read, dir.filePath("moved/lists")), dir.filePath("moved/videos/clip.avi"));
        QVERIFY(QFile::remove(dir.filePath("moved/videos/clip.avi")));
        QCOMPARE(FoundSource(read, dir.filePath("moved/lists")), QString());
    }

    // A running window's list is never taken; one that died is offered to one window only;
    // a finished one only when kept; an unreadable one is put aside with the reason.
    void eachWindowKeepsItsOwnList()
    {
        QTemporaryDir dir;
        const SavedJobList unfinished{false, {SavedJobRow{"a", "0", "1", "Ready", true, "/v/a", {}, {}}}};
        QString failure;
        auto first = std::make_unique<CJobListStore>(dir.path());
        QVERIFY(!first->ClaimFile(false).offer);
        QVERIFY(first->Save(unfinished, &failure));
        auto second = std::make_unique<CJobListStore>(dir.path());
        QVERIFY(!second->ClaimFile(true).offer);
        QVERIFY(second->FilePath() != first->FilePath());
        first.reset(); // gone without a clean end
        auto third = std::make_unique<CJobListStore>(dir.path());
        QCOMPARE(third->ClaimFile(false).offer->rows.size(), 1);
        QVERIFY(!CJobListStore(dir.path()).ClaimFile(false).offer);
        QVERIFY(third->Save({true, unfinished.rows}, &failure));
        third.reset();
        QVERIFY(CJobListStore(dir.path()).ClaimFile(true).offer);
        QVERIFY(!CJobListStore(dir.path()).ClaimFile(false).offer);

        const QString damaged = second->FilePath();
        QVERIFY(WriteFileAtomically(damaged, "{", &failure));
        second.reset();
        const CJobListStore::Claim claim = CJobListStore(dir.path()).ClaimFile(false);
        QVERIFY(!claim.offer);
        QVERIFY2(claim.refusal.endsWith("It is kept as " + damaged + ".unreadable."),
                 qPrintable(claim.refusal));
        QVERIFY(QFile::exists(damaged + ".unreadable"));
    }
};

QTEST_GUILESS_MAIN(TestSavedJobList)
#include "test_saved_job_list.moc"

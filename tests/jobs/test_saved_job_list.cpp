// The job list on disk: its file rules, one list per window, the restore and the list
// menu's new items in the window; then a real batch killed mid-write and restored.
#include "JobWindow.h"
#include "engine/MediaCheck.h"
#include "jobs/CJobListStore.h"
#include "jobs/ConverterOptions.h"
#include "jobs/OutputFolderStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>

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

QStringList PartFiles(const QString& folder)
{
    return QDir(folder).entryList({".vv-*.part"}, QDir::Files | QDir::Hidden);
}

// The child of the crash test: a window with the real engine converts the sources into folder,
// at the largest frame size, so that the second file takes long enough to be caught.
int RunBatchChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(2);
    StoreOutputFolder(args.first());
    CConverterDlg dlg;
    auto* sizes = qobject_cast<QComboBox*>(dlg.GetDlgItem(IDC_FRAMESIZE));
    sizes->setCurrentIndex(sizes->count() - 1);
    dlg.StartJobList();
    dlg.OnCommandLineFiles(args.mid(1));
    dlg.OnConvert();
    return app.exec();
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
        QVERIFY(StoreOptions(ConverterOptions()));
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

    // A window that dies mid-write is offered back once, with only the temporary file its
    // list names removed; after a clean end nothing is asked unless the list is kept.
    void theWindowOffersItsUnfinishedListOnce()
    {
        QTemporaryDir out;
        const QString named = out.filePath(kNamedTemp), other = out.filePath(".vv-89abcdef.part");
        QVERIFY(writeFile(named, "x") && writeFile(other, "x"));
        auto crashed = std::make_unique<JobWindow>();
        crashed->dlg->StartJobList();
        crashed->AddFiles({Fixture("clip.avi"), Fixture("clip.mpg"), Fixture("long.avi")});
        crashed->SetCell(0, kStartColumn, "2");
        crashed->SetChecked({0, 2});
        crashed->engine->writeTempPath = named;
        crashed->dlg->OnCommand(IDC_CONVERT);
        crashed->engine->EmitFinished();
        QCoreApplication::processEvents();
        crashed.reset();

        {
            JobWindow restored;
            restored.ui.messageAnswer = IDYES;
            restored.dlg->StartJobList();
            QCOMPARE(restored.Messages(), QStringList{kCaption + "|Restore the 3 jobs from last time?"});
            QCOMPARE(restored.Column(kStartColumn), (QStringList{"2", "0", "0"}));
            QCOMPARE(restored.Column(kStatusColumn), (QStringList{"Completed", "Ready", "Ready"}));
            QCOMPARE(restored.CheckStates(), (QList<bool>{false, false, true}));
            QCOMPARE(PartFiles(out.path()), QStringList{".vv-89abcdef.part"});
            JobWindow meanwhile;
            meanwhile.dlg->StartJobList();
            QVERIFY(meanwhile.ui.messages.isEmpty());
            restored.dlg->OnCommand(ID_FILE_EXIT);
            meanwhile.dlg->reject();
        } // both windows end

        ConverterOptions options;
        options.keepJobList = true;
        QVERIFY(StoreOptions(options));
        JobWindow kept; // answers No
        kept.dlg->StartJobList();
        QCOMPARE(kept.Messages(), QStringList{kCaption + "|Restore the 3 jobs from last time?"});
        QCOMPARE(kept.List()->rowCount(), 0);
        kept.AddTitles({"a.mpg"});
        kept.dlg->reject();
        QVERIFY(StoreOptions(ConverterOptions()));
        JobWindow fresh;
        fresh.dlg->StartJobList();
        QVERIFY(fresh.ui.messages.isEmpty());
    }

    // Saved by hand and opened where it has moved: missing sources are named once, and a
    // refused file among those chosen changes nothing.
    void listsSavedAndOpenedByHand()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("set/videos"));
        for (const QString name : {"clip.avi", "clip.mpg"})
            QVERIFY(QFile::copy(Fixture(name), dir.filePath("set/videos/" + name)));
        JobWindow saving;
        saving.dlg->OnCommand(ID_LIST_SAVELIST);
        QCOMPARE(saving.Messages(), QStringList{kCaption + "|No items in the list!"});
        saving.AddFiles({dir.filePath("set/videos/clip.avi"), dir.filePath("set/videos/clip.mpg")});
        saving.SetCell(1, kTitleColumn, "Holiday.mpg");
        saving.ui.saveFile = dir.filePath("set/mine");
        saving.dlg->OnCommand(ID_LIST_SAVELIST);
        QVERIFY(QDir(dir.path()).rename("set", "moved"));
        QVERIFY(QFile::remove(dir.filePath("moved/videos/clip.avi")));
        QVERIFY(writeFile(dir.filePath("bad.vvjobs"), "{\"version\":2,\"rows\":[]}"));

        JobWindow opening;
        opening.AddTitles({"first.mpg"});
        opening.ui.openFiles = {dir.filePath("moved/mine.vvjobs"), dir.filePath("bad.vvjobs")};
        opening.dlg->OnCommand(ID_LIST_OPENLIST);
        QCOMPARE(opening.List()->rowCount(), 1);
        opening.ui.openFiles.removeLast();
        opening.dlg->OnCommand(ID_LIST_OPENLIST);
        QCOMPARE(opening.Column(kTitleColumn), (QStringList{"first.mpg", "Holiday.mpg"}));
        QCOMPARE(opening.Cell(1, kPathColumn), dir.filePath("moved/videos/clip.mpg"));
        QCOMPARE(
            opening.Messages(),
            (QStringList{
                kCaption + "|The job list is not opened: its version is not 1, the one this program reads (" +
                    dir.filePath("bad.vvjobs") + ")",
                kCaption + "|Not added, not a file:\n" + dir.filePath("set/videos/clip.avi")}));
    }

    // The list menu ends with the new items; pause says what choosing it does, the title
    // says "Paused", and stop after this file ends the batch once the row is written.
    void listMenuPausesAndStopsAfterThisFile()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        const auto choose = [&w](int command) {
            w.ui.menuChoice = command;
            w.dlg->OnCommand(IDC_LISTMENU);
            return w.ui.menus.last().items.mid(10);
        };
        QCOMPARE(choose(ID_LIST_PAUSE), (QStringList{"-", "Save List...", "Open List...", "-",
                                                     "Pause Converting", "Stop After This File"}));
        QVERIFY(w.dlg->windowTitle().startsWith("Paused, 0%, 0:00 elapsed - "));
        QCOMPARE(choose(ID_LIST_PAUSE)[4], QString("Resume Converting"));
        QCOMPARE(choose(ID_LIST_STOPAFTER)[4], QString("Pause Converting"));
        w.engine->EmitFinished();
        QCOMPARE(w.engine->CallsStartingWith("SetWritePaused"),
                 (QStringList{"SetWritePaused(1)", "SetWritePaused(0)"}));
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), 1);
        QCOMPARE(w.Column(kStatusColumn), (QStringList{"Completed", "Ready"}));
        QCOMPARE(w.dlg->windowTitle(), kCaption);
    }

    // A real batch of three killed during the second file: the first is whole, the second
    // never appears, and the next start offers the list back and clears the temporary file.
    void aKilledBatchComesBack()
    {
        QTemporaryDir out;
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(
            QCoreApplication::applicationFilePath(),
            {"--batch-child", out.path(), Fixture("clip.avi"), Fixture("long.avi"), Fixture("phone.mp4")});
        QVERIFY(child.waitForStarted());
        const auto secondIsWritten = [&] {
            const QDir dataFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
            for (const QString& name : dataFolder.entryList({"joblist-*.json"})) {
                QString refusal;
                const auto list = ReadJobListFile(dataFolder.filePath(name), &refusal);
                if (list && list->rows.size() == 3 && QFileInfo(list->rows[1].tempOutput).size() > 0)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(secondIsWritten(), 120000);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const std::optional<MediaSummary> first = summarizeMedia(out.filePath("clip.wmv"));
        QVERIFY(first && first->video && first->audio);
        QVERIFY(first->video->frameCount >= int(2.9 * first->video->frameRate));
        QVERIFY(first->audio->sampleCount >= 2.9 * first->audio->sampleRateHz);
        QVERIFY(!QFile::exists(out.filePath("long.wmv")));
        JobWindow next;
        next.ui.messageAnswer = IDYES;
        next.dlg->StartJobList();
        QCOMPARE(next.Messages(), QStringList{kCaption + "|Restore the 3 jobs from last time?"});
        QCOMPARE(next.Column(kStatusColumn), (QStringList{"Completed", "Ready", "Ready"}));
        QCOMPARE(PartFiles(out.path()), QStringList());
    }
};

int main(int argc, char** argv)
{
    if (argc > 2 && QByteArray(argv[1]) == "--batch-child")
        return RunBatchChild(argc, argv);
    QApplication app(argc, argv);
    TestSavedJobList test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_saved_job_list.moc"

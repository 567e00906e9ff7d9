// The window as the host of the batch run and the preview transport: what a step reads
// from it, what it shows of a run, the buttons that reach both; then one batch with
// the real engine.
#include "JobWindow.h"
#include "engine/CDirarAror.h"
#include "jobs/OutputFolderStore.h"

#include <QCoreApplication>
#include <QtTest>

namespace {
QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

class TestConversionRun : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_out;

    QString OutFolder() const { return Native(m_out.path()) + QDir::separator(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_out.isValid());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); // times are read with a point
    }
    // m_out is stored without a trailing separator, so every output path below shows it added.
    void init() { QVERIFY(StoreOutputFolder(Native(m_out.path()))); }

    void settingsComeFromTheWindow_data()
    {
        QTest::addColumn<QList<int>>("lists"); // format, frame size, stretch mode, bit rate
        QTest::addColumn<QStringList>("settings");
        const QString profile = "SetProfileFile(" + Native(QCoreApplication::applicationDirPath() +
                                                           "/Profiles/High1280x720video.prx)");
        QTest::newRow("mp4") << QList<int>{2, 5, 3, 4} << QStringList{profile, "SaveFile(%1holiday.mp4)"};
        QTest::newRow("wma") << QList<int>{1, 2, 1, 6}
                             << QStringList{"SetProfileFile()", "SetAudioFormat(21)",
                                            "SaveFile(%1holiday.wma)"};
    }
    void settingsComeFromTheWindow()
    {
        QFETCH(QList<int>, lists);
        QFETCH(QStringList, settings);
        JobWindow w;
        w.AddTitles({"holiday.mpg"});
        const int ids[] = {IDC_OUTPUTPROFILE, IDC_FRAMESIZE, IDC_STRETCHMODE, IDC_AUDIOBITRATE};
        for (int i = 0; i < 4; ++i)
            w.Combo(ids[i])->setCurrentIndex(lists[i]);
        w.dlg->OnCommand(ID_FILE_CONVERT);
        settings.last() = settings.last().arg(OutFolder());
        QCOMPARE(w.engine->calls.mid(6), // after the search for a checked row
                 CRecordingEngine::ClipCalls(Native("/v/holiday.mpg"), "0,1", lists[2]) + settings);
    }

    // The bar, the title and the tooltip follow the run, and the prompts speak in the window's
    // captions; the row being written is followed across removals from the list.
    void theWindowShowsTheRun()
    {
        JobWindow w;
        QVERIFY(w.Show());
        QWidget* bar = w.dlg->GetDlgItem(IDC_PROGRESS);
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.SetChecked({1, 2});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->EmitProgress(69999.9, 70000);
        QCOMPARE(bar->grab().toImage().pixel(0, 0), qRgb(0, 50, 255)); // the run's colour
        const auto* progress = qobject_cast<QProgressBar*>(bar);
        QCOMPARE((QList<int>{progress->minimum(), progress->maximum(), progress->value()}),
                 (QList<int>{0, 70000, 69999}));
        QVERIFY(w.dlg->windowTitle().startsWith("99%, 0:0"));
        QVERIFY(w.dlg->windowTitle().endsWith(" elapsed - " + kCaption));
        QVERIFY(bar->toolTip().startsWith("b.mpg: 99%, 0:0"));

        w.Select({0});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        w.engine->EmitFinished();
        QCOMPARE(progress->value(), 0);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, true}));
        QCOMPARE(w.Column(kStatusColumn), (QStringList{"Completed", "Ready"}));
        w.ui.messageAnswer = IDCANCEL;
        w.dlg->OnCommand(IDC_STOPCONVERT);
        w.ui.messageAnswer = IDOK;
        w.dlg->OnCommand(IDC_STOPCONVERT);
        QCOMPARE(w.Column(kStatusColumn), (QStringList{"Completed", "Abort"}));
        QCOMPARE((QStringList{w.dlg->windowTitle(), bar->toolTip()}), (QStringList{kCaption, QString()}));
        QCOMPARE(w.ui.notifications, QStringList{"1 converted, stopped"});

        w.engine->saveResult = false;
        w.engine->lastErrorText = "why";
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.List()->item(1, kStatusColumn)->toolTip(), QString("why"));
        QCOMPARE(w.Messages(),
                 (QStringList{"Warning!|Do you want to Stop Converting?",
                              "Warning!|Do you want to Stop Converting?", kCaption + "|Save Fail"}));
    }

    // The transport's buttons and the menu's Play reach the transport, which plays with the
    // window's stretch mode.
    void transportButtonsReachTheTransport()
    {
        JobWindow w;
        w.AddTitles({"a", "b", "c"});
        for (int row = 0; row < 3; ++row) {
            w.SetCell(row, kStartColumn, QString::number(11 + row));
            w.SetCell(row, kEndColumn, "50");
        }
        w.Combo(IDC_STRETCHMODE)->setCurrentIndex(2);
        w.Select({1});
        const std::pair<int, const char*> presses[] = {
            {IDC_PLAY, "b,12"},   {IDC_NEXTCLIP, "c,13"}, {IDC_PREVCLIP, "b,12"}, {IDC_FORWARD10, "b,22"},
            {IDC_BACK10, "b,12"}, {IDC_STOPPREVIEW, ""},  {ID_FILE_PLAY, "b,12"}};
        for (const auto& [id, clip] : presses) {
            w.engine->calls.clear();
            w.dlg->OnCommand(id);
            const QStringList clips = w.engine->CallsStartingWith("AddVideoClip");
            QCOMPARE(clips.join(""),
                     *clip ? QStringLiteral("AddVideoClip(/v/%1,50,2)").arg(clip) : QString());
        }
    }

    // The whole workflow with the real engine: two videos, one retitled, converted and probed.
    void realEngineConvertsTheCheckedRows()
    {
        JobWindow w(nullptr);
        QVERIFY(w.Show());
        const QString fixtures = QStringLiteral(VV_FIXTURES_DIR "/");
        w.AddFiles({Native(fixtures + "clip.mpg"), Native(fixtures + "clip.avi")});
        QVERIFY(w.Cell(0, kEndColumn).toDouble() > 2.5);
        w.SetCell(1, kTitleColumn, "second.avi"); // both are named "clip"
        w.dlg->OnCommand(IDC_CONVERT);
        QTRY_VERIFY_WITH_TIMEOUT(w.Column(kStatusColumn) == QStringList(2, "Completed"), 60000);
        QCOMPARE(w.CheckStates(), (QList<bool>{false, false}));
        QVERIFY2(w.ui.messages.isEmpty(), qPrintable(w.ui.messages.value(0).text));
        CDirarAror probe;
        for (const QString name : {"clip.wmv", "second.wmv"})
            QVERIFY2(std::abs(probe.GetDuration(m_out.filePath(name)) - 3.0) < 0.5, qPrintable(name));
        QCOMPARE(QDir(m_out.path()).entryList(QDir::Files).size(), 2);
    }
};

QTEST_MAIN(TestConversionRun)
#include "test_conversion_run.moc"

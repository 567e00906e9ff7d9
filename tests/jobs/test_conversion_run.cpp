// Conversion runs against a recording engine, step by step, then one batch with the real engine.
#include "JobWindow.h"
#include "jobs/OutputFolderStore.h"
#include "engine/CDirarAror.h"
#include "skin/CSkinProgress.h"

#include <QCoreApplication>
#include <QtTest>

namespace {
const QString kSaveFail = kCaption + "|Save Fail";
const QString kEngineReason = "decode: Invalid data found when processing input (movie.wmv)";

// The engine calls of each step's search for a checked row: one pass per row, and one more.
QStringList Passes(int count)
{
    QStringList calls;
    for (int i = 0; i < count; ++i)
        calls += QStringList{"SetOutputMode(9)", "SetClipOption(0)", "ClearClips()"};
    return calls;
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString Profile(const QString& name)
{
    return "SetProfileFile(" + Native(QCoreApplication::applicationDirPath() + "/Profiles/" + name + ".prx") +
           ")";
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

    void checkedRowsAreConvertedInOrder_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("three unchecked rows") << 3 << QList<int>{};
        QTest::newRow("rows 0, 2 and 5 of six") << 6 << QList<int>{0, 2, 5};
    }
    void checkedRowsAreConvertedInOrder()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, checked);
        JobWindow w;
        QStringList titles;
        QStringList statuses;
        for (int row = 0; row < rows; ++row) {
            titles << QStringLiteral("r%1.mpg").arg(row);
            statuses << (checked.contains(row) ? "Completed" : "Ready");
        }
        w.AddTitles(titles);
        w.SetChecked(checked);
        for (int row : checked) {
            w.SetCell(row, kStartColumn, "12.9");
            w.SetCell(row, kEndColumn, "40.5");
        }
        w.dlg->OnCommand(ID_FILE_CONVERT);
        for (int row : checked) {
            const QString output = OutFolder() + QStringLiteral("r%1.wmv").arg(row);
            QCOMPARE(w.engine->calls,
                     Passes(rows + 1) + CRecordingEngine::ClipCalls(Native("/v/" + titles[row]), "12,40.5")
                         << Profile("320x240video") << "SaveFile(" + output + ")");
            QCOMPARE(w.Cell(row, kStatusColumn), QString("Ready"));
            w.engine->calls.clear();
            w.engine->EmitFinished();
        }
        QCOMPARE(w.engine->calls, Passes(rows + 1) << "Stop()");
        QCOMPARE(w.CheckStates(), QList<bool>(rows, false));
        QCOMPARE(w.Column(kStatusColumn), statuses);
        QVERIFY(w.ui.messages.isEmpty());
    }

    // Video takes the frame size's profile and never an audio format; audio the reverse.
    void outputSettingsReachTheEngine_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("bitrate");
        QTest::addColumn<QStringList>("settings");
        const QStringList profiles{"320x240video",     "High320x240video",  "640x480video",
                                   "High640x480video", "1280x720video",     "High1280x720video",
                                   "1920x1080video",   "High1920x1080video"};
        for (int size = 0; size < 8; ++size)
            QTest::addRow("%s", qPrintable(profiles[size]))
                << 0 << size << 5 << QStringList{Profile(profiles[size])};
        for (int bitrate = 0; bitrate < 7; ++bitrate)
            QTest::addRow("audio %d", bitrate)
                << 1 << 3 << bitrate
                << QStringList{"SetProfileFile()", QStringLiteral("SetAudioFormat(%1)").arg(15 + bitrate)};
        // MP4 and WebM as WMV does, MP3 and M4A as WMA does
        QTest::addRow("mp4") << 2 << 5 << 0 << QStringList{Profile(profiles[5])};
        QTest::addRow("webm") << 3 << 6 << 0 << QStringList{Profile(profiles[6])};
        QTest::addRow("mp3") << 4 << 7 << 0 << QStringList{"SetProfileFile()", "SetAudioFormat(15)"};
        QTest::addRow("m4a") << 5 << 0 << 6 << QStringList{"SetProfileFile()", "SetAudioFormat(21)"};
    }
    void outputSettingsReachTheEngine()
    {
        QFETCH(int, format);
        QFETCH(int, size);
        QFETCH(int, bitrate);
        QFETCH(QStringList, settings);
        JobWindow w;
        w.AddTitles({"holiday.mpg"});
        w.Combo(IDC_OUTPUTPROFILE)->setCurrentIndex(format);
        w.Combo(IDC_FRAMESIZE)->setCurrentIndex(size);
        w.Combo(IDC_STRETCHMODE)->setCurrentIndex(size % 4);
        w.Combo(IDC_AUDIOBITRATE)->setCurrentIndex(bitrate);
        w.dlg->OnCommand(IDC_CONVERT);
        const QStringList extensions{".wmv", ".wma", ".mp4", ".webm", ".mp3", ".m4a"};
        const QString output = OutFolder() + "holiday" + extensions[format];
        QCOMPARE(w.engine->calls,
                 Passes(2) + CRecordingEngine::ClipCalls(Native("/v/holiday.mpg"), "0,1", size % 4) + settings
                     << "SaveFile(" + output + ")");
    }

    // Every failure to write shows "Save Fail" once and halts the batch, the reason in a tooltip.
    void saveFailHaltsTheBatch_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("engineRefuses");
        QTest::addColumn<bool>("failsMidway");
        QTest::addColumn<QString>("reason");
        QTest::newRow("engine refuses") << "a.mpg" << true << false << kEngineReason;
        QTest::newRow("output would replace the source")
            << "movie.wmv" << false << false
            << "check: the output would replace a source or an earlier output of this batch";
        QTest::newRow("write fails midway") << "a.mpg" << false << true << kEngineReason;
    }
    void saveFailHaltsTheBatch()
    {
        QFETCH(QString, title);
        QFETCH(bool, engineRefuses);
        QFETCH(bool, failsMidway);
        QFETCH(QString, reason);
        JobWindow w;
        w.AddFiles({OutFolder() + "movie.wmv", Native("/v/b.mpg")});
        w.SetCell(0, kTitleColumn, title);
        w.engine->saveResult = !engineRefuses;
        w.engine->lastWriteFailed = failsMidway;
        w.engine->lastErrorText = kEngineReason;
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), engineRefuses || failsMidway ? 1 : 0);
        if (failsMidway)
            w.engine->EmitFinished();
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        w.engine->calls.clear();
        w.engine->EmitFinished();
        QVERIFY(w.engine->calls.isEmpty());
        QCOMPARE(w.Cell(0, kStatusColumn), QString("Ready"));
        QCOMPARE(w.List()->item(0, kStatusColumn)->toolTip(), reason);
        QVERIFY(w.List()->item(1, kStatusColumn)->toolTip().isEmpty());
    }

    // A repeated output of the batch is refused; one refused while a write runs stops that write.
    void refusedStepsDuringABatch()
    {
        JobWindow w;
        w.AddTitles({"clip.mpg", "clip.avi", "other.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->EmitFinished();
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").size(), 1);
        QCOMPARE(w.Messages(), QStringList{kSaveFail});
        QCOMPARE(w.CheckStates(), (QList<bool>{false, true, true}));

        w.SetChecked({0});
        w.dlg->OnCommand(IDC_CONVERT);
        w.SetCell(0, kTitleColumn, "..\\x");
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->calls.last(), QString("Stop()"));
        QCOMPARE(w.Messages(), QStringList(2, kSaveFail));
        w.engine->EmitFinished();
        QCOMPARE(w.CheckStates(), (QList<bool>{true, false, false}));
        QCOMPARE(w.List()->item(0, kStatusColumn)->toolTip(),
                 QString("check: the title gives no usable file name"));
    }

    void removedRowsDuringARun()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.SetChecked({1, 2});
        w.dlg->OnCommand(IDC_CONVERT);
        // Removing a row above the running one: the running row is still the one marked.
        w.Select({0});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        w.engine->EmitFinished();
        QCOMPARE(w.Column(kTitleColumn), (QStringList{"b.mpg", "c.mpg"}));
        QCOMPARE(w.Column(kStatusColumn), (QStringList{"Completed", "Ready"}));
        // Removing the running row itself: Finished marks no other row and starts the next step.
        w.Select({1});
        w.dlg->OnCommand(ID_LIST_REMOVE);
        w.AddTitles({"d.mpg"});
        w.SetChecked({1});
        w.engine->EmitFinished();
        QCOMPARE(w.Cell(1, kStatusColumn), QString("Ready"));
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"), QStringList{"SaveFile(" + OutFolder() + "d.wmv)"});
        QVERIFY(w.ui.messages.isEmpty());
    }

    // Convert during a run starts a new batch at the lowest checked row.
    void convertDuringARunRestartsAtTheLowestCheckedRow_data()
    {
        QTest::addColumn<QList<int>>("checkedAgain");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("the row being written") << QList<int>{} << QStringList{"b", "c"};
        QTest::newRow("a completed row checked again") << QList<int>{0} << QStringList{"a", "b", "c"};
    }
    void convertDuringARunRestartsAtTheLowestCheckedRow()
    {
        QFETCH(QList<int>, checkedAgain);
        QFETCH(QStringList, written);
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg", "c.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->EmitFinished();
        for (int row : checkedAgain)
            w.List()->item(row, 0)->setCheckState(Qt::Checked);
        w.engine->calls.clear();
        w.dlg->OnCommand(IDC_CONVERT);
        QStringList saves;
        for (const QString& title : written) {
            saves << "SaveFile(" + OutFolder() + title + ".wmv)";
            w.engine->EmitFinished();
        }
        QCOMPARE(w.engine->CallsStartingWith("SaveFile"), saves);
        QCOMPARE(w.Column(kStatusColumn), QStringList(3, "Completed"));
        QVERIFY(w.ui.messages.isEmpty());
    }

    // Each stop ends the write and leaves the row checked; only Stop Converting asks first and
    // marks the row. The bar shows the progress in its own colour and empties when the write ends.
    void stopsEndTheRun_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("status");
        QTest::newRow("Stop Converting") << int(IDC_STOPCONVERT) << "Abort";
        QTest::newRow("menu Stop") << int(ID_FILE_STOP) << "Ready";
        QTest::newRow("preview Stop") << int(IDC_STOPPREVIEW) << "Ready";
    }
    void stopsEndTheRun()
    {
        QFETCH(int, command);
        QFETCH(QString, status);
        const bool asks = command == IDC_STOPCONVERT;
        JobWindow w;
        auto* bar = qobject_cast<CSkinProgress*>(w.dlg->GetDlgItem(IDC_PROGRESS));
        bar->SetBarColor(MakeRgb(255, 0, 0));
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->EmitProgress(69999.9, 70000);
        QCOMPARE(bar->BarColor(), COLORREF(CLR_PROGRESS_BAR));
        QCOMPARE((QList<int>{bar->minimum(), bar->maximum(), bar->value()}), (QList<int>{0, 70000, 69999}));
        w.engine->calls.clear();
        w.ui.messageAnswer = IDCANCEL; // leaves the run going
        w.dlg->OnCommand(command);
        QCOMPARE(w.engine->calls.isEmpty(), asks);
        w.ui.messageAnswer = IDOK;
        if (asks)
            w.dlg->OnCommand(command);
        w.engine->EmitFinished();
        QCOMPARE(bar->value(), 0);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        QCOMPARE(w.Column(kStatusColumn), (QStringList{status, "Ready"}));
        QCOMPARE(w.CheckStates(), (QList<bool>{true, true}));
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.engine->CallsStartingWith("SaveFile").last(), "SaveFile(" + OutFolder() + "a.wmv)");
        w.engine->EmitFinished();
        w.engine->EmitFinished();
        // With no run, OK still stops the engine but marks no row.
        w.engine->calls.clear();
        w.dlg->OnCommand(command);
        QCOMPARE(w.engine->calls, QStringList{"Stop()"});
        QCOMPARE(w.Column(kStatusColumn), QStringList(2, "Completed"));
        QCOMPARE(w.Messages(), QStringList(asks ? 3 : 0, "Warning!|Do you want to Stop Converting?"));
    }

    // While a batch runs the title and the bar's tooltip follow the file being written; then
    // they are as before, and one notification says how the batch ended.
    void batchProgressAndEnd()
    {
        JobWindow w;
        w.AddTitles({"a.mpg", "b.mpg"});
        w.dlg->OnCommand(IDC_CONVERT);
        w.engine->EmitProgress(0, 10);
        QCOMPARE(w.dlg->windowTitle(), QString("0%, 0:00 elapsed - Virav Velmora Video Converter"));
        QTest::qWait(20);
        w.engine->EmitProgress(5, 10);
        QCOMPARE(w.dlg->GetDlgItem(IDC_PROGRESS)->toolTip(), QString("a.mpg: 50%, 0:00 elapsed, 0:01 left"));
        w.engine->saveResult = false; // b fails to start
        w.engine->EmitFinished();
        w.engine->saveResult = true;
        w.dlg->OnCommand(IDC_CONVERT); // b again, stopped; a late event and a second stop change nothing
        w.dlg->OnCommand(ID_FILE_STOP);
        w.engine->EmitProgress(5, 10);
        w.dlg->OnCommand(ID_FILE_STOP);
        w.SetChecked({});
        w.dlg->OnCommand(IDC_CONVERT);
        QCOMPARE(w.dlg->windowTitle(), kCaption);
        QVERIFY(w.dlg->GetDlgItem(IDC_PROGRESS)->toolTip().isEmpty());
        QCOMPARE(w.ui.notifications, (QStringList{"1 converted, 1 failed", "0 converted, stopped"}));
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

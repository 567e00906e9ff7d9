// The batch run's rules, driven step by step against a recording engine, a job list in
// memory and a clock the test moves.
#include "support/RunRig.h"

#include <QCoreApplication>
#include <QtTest>

namespace {
const QString kEngineReason = "decode: Invalid data found when processing input (movie.wmv)";
const QString kAsk = "Warning! Do you want to Stop Converting?";

// The engine calls of each step's search for a checked row: one pass per row, and one more.
QStringList Passes(int count)
{
    QStringList calls;
    for (int i = 0; i < count; ++i)
        calls += QStringList{"SetOutputMode(9)", "SetClipOption(0)", "ClearClips()"};
    return calls;
}

QString Profile(const QString& name)
{
    return "SetProfileFile(" +
           QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/Profiles/" + name + ".prx") +
           ")";
}

QString Save(const QString& name)
{
    return "SaveFile(/out/" + name + ")";
}
} // namespace

class TestBatchRun : public QObject
{
    Q_OBJECT
private slots:
    void checkedRowsAreConvertedInOrder_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("checked");
        QTest::newRow("empty list") << 0 << QList<int>{};
        QTest::newRow("rows 0, 2 and 5 of six") << 6 << QList<int>{0, 2, 5};
    }
    // Each step takes the lowest checked row, start by the integer parse and end by the
    // decimal one; when none is left the engine is stopped, quietly.
    void checkedRowsAreConvertedInOrder()
    {
        QFETCH(int, count);
        QFETCH(QList<int>, checked);
        RunRig r;
        QStringList titles;
        QStringList statuses;
        for (int row = 0; row < count; ++row) {
            titles << QStringLiteral("r%1.mpg").arg(row);
            statuses << (checked.contains(row) ? "Completed" : "Ready");
        }
        r.rows.Add(titles);
        r.rows.SetChecked(checked);
        for (int row : checked)
            r.rows.rows[row].cells = QStringList{titles[row], "12.9", "40.5", "Ready", "/v/" + titles[row]};
        r.run.Convert();
        for (int row : checked) {
            QCOMPARE(r.engine.calls,
                     Passes(count + 1) + CRecordingEngine::ClipCalls("/v/" + titles[row], "12,40.5")
                         << Profile("320x240video") << Save(QStringLiteral("r%1.wmv").arg(row)));
            QCOMPARE(r.rows.CellText(row, kStatusColumn), QString("Ready"));
            r.engine.calls.clear();
            r.run.OnEngineFinished();
        }
        QCOMPARE(r.engine.calls, Passes(count + 1) << "Stop()");
        QCOMPARE(r.rows.Checks(), QList<bool>(count, false));
        QCOMPARE(r.rows.Column(kStatusColumn), statuses);
        QVERIFY(r.view.Shown("Tell").isEmpty());
    }

    // Video takes the frame size's profile and never an audio format; sound alone the reverse.
    void outputSettingsReachTheEngine_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("output");
        const QStringList profiles{"320x240video",     "High320x240video",  "640x480video",
                                   "High640x480video", "1280x720video",     "High1280x720video",
                                   "1920x1080video",   "High1920x1080video"};
        for (int size = 0; size < 8; ++size)
            QTest::addRow("%s", qPrintable(profiles[size]))
                << 0 << size << QStringList{Profile(profiles[size])} << "holiday.wmv";
        const QStringList sound{"SetProfileFile()", "SetAudioFormat(20)"};
        QTest::addRow("wma") << 1 << 3 << sound << "holiday.wma";
        QTest::addRow("mp4") << 2 << 5 << QStringList{Profile(profiles[5])} << "holiday.mp4";
        QTest::addRow("webm") << 3 << 6 << QStringList{Profile(profiles[6])} << "holiday.webm";
        QTest::addRow("mp3") << 4 << 7 << sound << "holiday.mp3";
        QTest::addRow("m4a") << 5 << 0 << sound << "holiday.m4a";
    }
    void outputSettingsReachTheEngine()
    {
        QFETCH(int, format);
        QFETCH(int, size);
        QFETCH(QStringList, settings);
        QFETCH(QString, output);
        RunRig r({"holiday.mpg"});
        r.view.settings = {format, size, size % 4, 20, "/out"}; // the separator is added
        r.run.Convert();
        QCOMPARE(r.engine.calls,
                 Passes(2) + CRecordingEngine::ClipCalls("/v/holiday.mpg", "0,1", size % 4) + settings
                     << Save(output));
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
        RunRig r({"movie.wmv", "b.mpg"});
        r.rows.rows[0].cells = QStringList{title, "0", "1", "Ready", "/out/movie.wmv"};
        r.engine.saveResult = !engineRefuses;
        r.engine.lastWriteFailed = failsMidway;
        r.engine.lastErrorText = kEngineReason;
        r.run.Convert();
        QCOMPARE(r.engine.CallsStartingWith("SaveFile").size(), engineRefuses || failsMidway ? 1 : 0);
        if (failsMidway)
            r.run.OnEngineFinished();
        QCOMPARE(r.view.Shown("Tell"), QStringList{"Save Fail"});
        QCOMPARE(r.rows.Checks(), (QList<bool>{true, true}));
        r.engine.calls.clear();
        r.run.OnEngineFinished();
        QVERIFY(r.engine.calls.isEmpty());
        QCOMPARE(r.rows.CellText(0, kStatusColumn), QString("Ready"));
        QCOMPARE(r.rows.rows[0].statusTip, reason);
        QVERIFY(r.rows.rows[1].statusTip.isEmpty());
    }

    // A repeated output of the batch is refused; one refused while a write runs stops that write.
    void refusedStepsDuringABatch()
    {
        RunRig r({"clip.mpg", "clip.avi", "other.mpg"});
        r.run.Convert();
        r.run.OnEngineFinished();
        QCOMPARE(r.engine.CallsStartingWith("SaveFile").size(), 1);
        QCOMPARE(r.view.Shown("Tell"), QStringList{"Save Fail"});
        QCOMPARE(r.rows.Checks(), (QList<bool>{false, true, true}));

        r.rows.SetChecked({0});
        r.run.Convert();
        r.rows.SetCellText(0, kTitleColumn, "..\\x");
        r.engine.calls.clear();
        r.run.Convert();
        QCOMPARE(r.engine.calls.last(), QString("Stop()"));
        QCOMPARE(r.view.Shown("Tell"), QStringList(2, "Save Fail"));
        r.run.OnEngineFinished();
        QCOMPARE(r.rows.Checks(), (QList<bool>{true, false, false}));
        QCOMPARE(r.rows.rows[0].statusTip, QString("check: the title gives no usable file name"));
    }

    void removedRowsDuringARun()
    {
        RunRig r({"a.mpg", "b.mpg", "c.mpg"});
        r.rows.SetChecked({1, 2});
        r.run.Convert();
        // Removing a row above the running one: the running row is still the one marked.
        r.rows.Remove(0);
        r.run.OnEngineFinished();
        QCOMPARE(r.rows.Column(kTitleColumn), (QStringList{"b.mpg", "c.mpg"}));
        QCOMPARE(r.rows.Column(kStatusColumn), (QStringList{"Completed", "Ready"}));
        // Removing the running row itself: Finished marks no other row and starts the next step.
        r.rows.Remove(1);
        r.rows.Add({"d.mpg"});
        r.rows.SetChecked({1});
        r.run.OnEngineFinished();
        QCOMPARE(r.rows.CellText(1, kStatusColumn), QString("Ready"));
        QCOMPARE(r.engine.CallsStartingWith("SaveFile"),
                 (QStringList{Save("b.wmv"), Save("c.wmv"), Save("d.wmv")}));
        QVERIFY(r.view.Shown("Tell").isEmpty());
    }

    // Convert during a run starts a new step at the lowest checked row, whatever its status.
    void convertDuringARunRestartsAtTheLowestCheckedRow()
    {
        RunRig r({"a.mpg", "b.mpg", "c.mpg"});
        r.run.Convert();
        r.run.OnEngineFinished();
        r.rows.SetRowChecked(0, true);
        r.run.Convert();
        for (int i = 0; i < 3; ++i)
            r.run.OnEngineFinished();
        QCOMPARE(r.engine.CallsStartingWith("SaveFile"),
                 (QStringList{Save("a.wmv"), Save("b.wmv"), Save("a.wmv"), Save("b.wmv"), Save("c.wmv")}));
        QCOMPARE(r.rows.Column(kStatusColumn), QStringList(3, "Completed"));
        QVERIFY(r.view.Shown("Tell").isEmpty());
    }

    // Each stop ends the write and leaves the row checked; only Stop Converting asks first and
    // marks the row. The bar shows the progress and empties when the engine finishes.
    void stopsEndTheRun_data()
    {
        QTest::addColumn<int>("stop"); // 0 Stop Converting, 1 Stop, 2 the transport's Stop
        QTest::addColumn<QString>("status");
        QTest::newRow("Stop Converting") << 0 << "Abort";
        QTest::newRow("Stop") << 1 << "Ready";
        QTest::newRow("preview Stop") << 2 << "Ready";
    }
    void stopsEndTheRun()
    {
        QFETCH(int, stop);
        QFETCH(QString, status);
        RunRig r({"a.mpg", "b.mpg"});
        const auto doStop = [&] {
            r.engine.calls.clear();
            if (stop == 0)
                r.run.StopConverting();
            else if (stop == 1)
                r.run.Stop();
            else
                r.preview.Stop();
            return r.engine.calls;
        };
        r.run.Convert();
        r.run.OnEngineProgress(69999.9, 70000);
        QCOMPARE(r.view.Shown("Bar"), QStringList{"69999 of 70000"});
        r.view.answer = false; // leaves the run going
        QCOMPARE(doStop().isEmpty(), stop == 0);
        r.view.answer = true;
        if (stop == 0)
            doStop();
        r.engine.calls.clear();
        r.run.OnEngineFinished();
        QCOMPARE(r.view.Shown("Bar").last(), QString("emptied"));
        QVERIFY(r.engine.calls.isEmpty());
        QCOMPARE(r.rows.Column(kStatusColumn), (QStringList{status, "Ready"}));
        QCOMPARE(r.rows.Checks(), (QList<bool>{true, true}));
        r.run.Convert();
        QCOMPARE(r.engine.CallsStartingWith("SaveFile").last(), Save("a.wmv"));
        r.run.OnEngineFinished();
        r.run.OnEngineFinished();
        // With no run, OK still stops the engine but marks no row.
        QCOMPARE(doStop(), QStringList{"Stop()"});
        QCOMPARE(r.rows.Column(kStatusColumn), QStringList(2, "Completed"));
        QCOMPARE(r.view.Shown("Ask"), QStringList(stop == 0 ? 3 : 0, kAsk));
    }

    // While a batch runs, where the file being written is, counted from its write's start
    // and its first progress; then the texts as they were, and one notification.
    void batchProgressAndEnd()
    {
        RunRig r({"a.mpg", "b.mpg"});
        r.run.Convert();
        r.run.OnEngineProgress(0, 10);
        r.clock.nowMs += 500;
        r.run.OnEngineProgress(5, 10);
        r.engine.saveResult = false; // b fails to start
        r.run.OnEngineFinished();
        r.engine.saveResult = true;
        r.run.Convert(); // b again, stopped; a late event and a second stop change nothing
        r.run.Stop();
        r.run.OnEngineProgress(5, 10);
        r.run.Stop();
        r.rows.SetChecked({});
        r.run.Convert(); // nothing ran, so nothing to say
        QCOMPARE(r.view.shown.filter(QRegularExpression("^(Run|Notify) ")),
                 (QStringList{"Run 0%, 0:00 elapsed | a.mpg: 0%, 0:00 elapsed",
                              "Run 50%, 0:00 elapsed, 0:01 left | a.mpg: 50%, 0:00 elapsed, 0:01 left",
                              "Run none", "Notify 1 converted, 1 failed", "Run none",
                              "Notify 0 converted, stopped", "Run none"}));
    }

    // The paused time counts neither as elapsed nor in the rate; a new write and a stop
    // start and leave it unpaused, and with nothing written a pause does nothing.
    void pauseHoldsTheWriteAndItsClock()
    {
        RunRig r({"a.mpg", "b.mpg"});
        r.run.TogglePause();
        QVERIFY(!r.run.IsPaused());
        r.run.Convert();
        r.run.OnEngineProgress(0, 10);
        r.clock.nowMs += 1000;
        r.run.OnEngineProgress(2, 10);
        r.run.TogglePause();
        r.clock.nowMs += 60000;
        r.run.OnEngineProgress(2, 10); // queued before the write was held
        r.run.TogglePause();
        r.clock.nowMs += 1000;
        r.run.OnEngineProgress(4, 10);
        r.run.TogglePause();
        r.run.OnEngineFinished(); // b starts unpaused
        QVERIFY(!r.run.IsPaused());
        r.run.TogglePause();
        r.run.Stop();
        QVERIFY(!r.run.IsPaused());
        QCOMPARE(r.engine.CallsStartingWith("SetWritePaused"),
                 (QStringList{"SetWritePaused(1)", "SetWritePaused(0)", "SetWritePaused(1)",
                              "SetWritePaused(1)"}));
        QCOMPARE(r.engine.calls.last(), QString("Stop()"));
        QCOMPARE(
            r.view.Shown("Run").mid(2, 4),
            (QStringList{"Paused, 20%, 0:01 elapsed, 0:04 left | a.mpg: Paused, 20%, 0:01 elapsed, 0:04 left",
                         "Paused, 20%, 0:01 elapsed, 0:04 left | a.mpg: Paused, 20%, 0:01 elapsed, 0:04 left",
                         "20%, 0:01 elapsed, 0:04 left | a.mpg: 20%, 0:01 elapsed, 0:04 left",
                         "40%, 0:02 elapsed, 0:03 left | a.mpg: 40%, 0:02 elapsed, 0:03 left"}));
    }

    // The row being written finishes and the batch ends as a stop between rows does; asked
    // twice, the batch goes on; a new batch starts without the request.
    void stopAfterThisFile()
    {
        RunRig r({"a.mpg", "b.mpg", "c.mpg", "d.mpg"});
        r.run.ToggleStopAfterThisFile(); // no batch: nothing to stop
        r.run.Convert();
        r.run.ToggleStopAfterThisFile();
        r.run.ToggleStopAfterThisFile();
        r.run.OnEngineFinished();
        r.run.ToggleStopAfterThisFile();
        r.run.OnEngineFinished();
        QCOMPARE(r.engine.calls.last(), QString("Stop()"));
        r.run.Convert();
        r.run.OnEngineFinished();
        r.run.OnEngineFinished();
        QCOMPARE(r.engine.CallsStartingWith("SaveFile"),
                 (QStringList{Save("a.wmv"), Save("b.wmv"), Save("c.wmv"), Save("d.wmv")}));
        QCOMPARE(r.rows.Column(kStatusColumn), QStringList(4, "Completed"));
        QCOMPARE(r.view.Shown("Notify"), (QStringList{"2 converted, stopped", "2 files converted"}));
    }
};

QTEST_GUILESS_MAIN(TestBatchRun)
#include "test_batch_run.moc"

// The preview transport's rules against a recording engine: calls, messages, looks, clamps.
#include "support/RunRig.h"

#include <QtTest>

#include <limits>

namespace {
constexpr int kMaxInt = std::numeric_limits<int>::max();

// The calls that replace the engine's clip list with one clip and play it.
QStringList Replay(const QString& path, int startSeconds, int endSeconds, int stretch = 0)
{
    const QString times = QStringLiteral("%1,%2").arg(startSeconds).arg(endSeconds);
    return QStringList{"ClearClips()"} + CRecordingEngine::ClipCalls(path, times, stretch) << "Play()";
}

// Runs one transport action (> play, s stop, n p b f as in the table) and returns its engine calls.
QStringList Press(RunRig& r, char action)
{
    r.engine.calls.clear();
    switch (action) {
    case '>': r.preview.Play(); break;
    case 's': r.preview.Stop(); break;
    case 'n': r.preview.NextClip(); break;
    case 'p': r.preview.PrevClip(); break;
    case 'b': r.preview.Back10(); break;
    case 'f': r.preview.Forward10(); break;
    }
    return r.engine.calls;
}
} // namespace

class TestPreviewTransport : public QObject
{
    Q_OBJECT
private slots:
    void emptyListAsksOnPlayAndTransportPlaysAnEmptyPath()
    {
        RunRig r;
        QVERIFY(Press(r, '>').isEmpty());
        for (char action : QByteArray("npbfn"))
            QCOMPARE(Press(r, action), Replay(QString(), 0, 0));
        r.rows.Add({"a", "b"});
        QVERIFY(Press(r, '>').isEmpty());
        QCOMPARE(r.view.Shown("Tell"),
                 QStringList({"Please input item to the list", "Please select item in the list"}));
        QVERIFY(r.view.Shown("Look").isEmpty());
    }
    // The transport buttons play other clips but leave the play state as it was.
    void playTogglesFromTheFirstSelectedRowAndStopEndsIt()
    {
        RunRig r;
        r.rows.Add({"a", "b", "c", "d", "e"});
        r.rows.SetCellText(2, kStartColumn, "12.9");
        r.rows.SetCellText(2, kEndColumn, "63.46");
        r.view.settings.stretchMode = 2;
        r.rows.selected = 2;
        const QStringList playRow2 = QStringList{"SetClipOption(0)"} + Replay("/v/c", 12, 63, 2);
        QCOMPARE(Press(r, '>'), playRow2);
        QCOMPARE(Press(r, '>'), QStringList{"Pause()"});
        for (char action : QByteArray("nbfp"))
            Press(r, action);
        QCOMPARE(Press(r, '>'), QStringList{"Resume()"});
        QCOMPARE(r.view.Shown("Look"), (QStringList{"pause", "play", "pause"}));
        QCOMPARE(Press(r, 's'), QStringList{"Stop()"});
        QCOMPARE(r.view.Shown("Look").last(), QString("play"));
        QCOMPARE(Press(r, '>'), playRow2);
    }
    // Rows a, b, c... with the given starts and one end; "title start" for each replay.
    void transportReplaysFromTheRightStart_data()
    {
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<int>("endSeconds");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QByteArray>("actions"); // n next, p previous, b back 10, f forward 10
        QTest::addColumn<QStringList>("played");
        QTest::newRow("wrap, three rows") << QStringList{"11", "12", "13"} << 1 << 2 << QByteArray("nbpn")
                                          << QStringList{"a 11", "a 1", "c 13", "a 11"};
        // Back 10 and Forward 10 clamp only their own start.
        QTest::newRow("back below 0, forward")
            << QStringList{"5"} << 60 << 0 << QByteArray("bf") << QStringList{"a 0", "a 5"};
        QTest::newRow("forward past the end, back")
            << QStringList{"45"} << 50 << 0 << QByteArray("fb") << QStringList{"a 0", "a 45"};
        QTest::newRow("forward onto the end")
            << QStringList{"40"} << 50 << 0 << QByteArray("ff") << QStringList{"a 50", "a 0"};
        // Starts at the ends of the int range saturate instead of overflowing.
        QTest::newRow("forward at the int maximum")
            << QStringList{"99999999999"} << kMaxInt << 0 << QByteArray("f")
            << QStringList{"a " + QString::number(kMaxInt)};
        QTest::newRow("back at the int minimum, forward")
            << QStringList{"-99999999999"} << kMaxInt << 0 << QByteArray("bf")
            << QStringList{"a 0", "a " + QString::number(std::numeric_limits<int>::min() + 10)};
    }
    void transportReplaysFromTheRightStart()
    {
        RunRig r;
        QFETCH(QStringList, starts);
        QFETCH(int, endSeconds);
        QFETCH(int, selected);
        QFETCH(QByteArray, actions);
        QFETCH(QStringList, played);
        for (int row = 0; row < starts.size(); ++row) {
            r.rows.Add({QString(QChar('a' + row))});
            r.rows.SetCellText(row, kStartColumn, starts[row]);
            r.rows.SetCellText(row, kEndColumn, QString::number(endSeconds));
        }
        r.rows.selected = selected;
        Press(r, '>');
        for (int i = 0; i < actions.size(); ++i) {
            const QStringList titleAndStart = played[i].split(' ');
            QCOMPARE(Press(r, actions[i]),
                     Replay("/v/" + titleAndStart[0], titleAndStart[1].toInt(), endSeconds));
        }
    }
    void finishedEndsThePreview_data()
    {
        QTest::addColumn<int>("plays");
        QTest::addColumn<bool>("converting");
        QTest::newRow("playing") << 1 << false;
        QTest::newRow("paused") << 2 << false;
        QTest::newRow("playing beside a conversion") << 1 << true;
    }
    // With or without a conversion, the engine's Finished leaves the preview idle: the next
    // Play starts the selected row afresh instead of pausing or resuming.
    void finishedEndsThePreview()
    {
        RunRig r;
        QFETCH(int, plays);
        QFETCH(bool, converting);
        r.rows.Add({"a"});
        if (converting)
            r.run.Convert();
        r.rows.selected = 0;
        for (int i = 0; i < plays; ++i)
            Press(r, '>');
        r.run.OnEngineFinished();
        QCOMPARE(r.view.Shown("Look").last(), QString("play"));
        QCOMPARE(Press(r, '>'), QStringList{"SetClipOption(0)"} + Replay("/v/a", 0, 1));
    }
};

QTEST_GUILESS_MAIN(TestPreviewTransport)
#include "test_preview_transport.moc"

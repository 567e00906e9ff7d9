// The main window's preview transport against a recording engine: calls, messages, looks, clamps.
#include "jobs/JobWindow.h"
#include "skin/CSkinButton.h"

#include <QAbstractButton>
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

} // namespace

class TestPreviewTransport : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_w = std::make_unique<JobWindow>(); }
    void cleanup() { m_w.reset(); }
    void emptyListAsksOnPlayAndTransportPlaysAnEmptyPath()
    {
        QVERIFY(Click(IDC_PLAY).isEmpty());
        for (int id : {IDC_NEXTCLIP, IDC_PREVCLIP, IDC_BACK10, IDC_FORWARD10, IDC_NEXTCLIP})
            QCOMPARE(Click(id), Replay(QString(), 0, 0));
        m_w->AddTitles({"a", "b"});
        QVERIFY(Click(IDC_PLAY).isEmpty());
        QCOMPARE(m_w->Messages(), QStringList({kCaption + "|Please input item to the list",
                                               kCaption + "|Please select item in the list"}));
        QCOMPARE(PlayLook(), QStringLiteral("play"));
    }
    // The transport buttons play other clips but leave the play state as it was.
    void playTogglesFromTheFirstSelectedRowAndStopEndsIt()
    {
        m_w->AddTitles({"a", "b", "c", "d", "e"});
        m_w->SetCell(2, 1, "12.9");
        m_w->SetCell(2, 2, "63.46");
        m_w->Combo(IDC_STRETCHMODE)->setCurrentIndex(2);
        m_w->Select({4, 2});
        const QStringList playRow2 = QStringList{"SetClipOption(0)"} + Replay("/v/c", 12, 63, 2);
        QCOMPARE(Click(IDC_PLAY), playRow2);
        QCOMPARE(PlayLook(), QStringLiteral("pause"));
        QCOMPARE(Click(IDC_PLAY), QStringList{"Pause()"});
        for (int id : {IDC_NEXTCLIP, IDC_BACK10, IDC_FORWARD10, IDC_PREVCLIP})
            Click(id);
        QCOMPARE(PlayLook(), QStringLiteral("play"));
        m_w->engine->calls.clear();
        m_w->dlg->OnCommand(ID_FILE_PLAY); // the menu's Play is the same toggle
        QCOMPARE(m_w->engine->calls, QStringList{"Resume()"});
        QCOMPARE(PlayLook(), QStringLiteral("pause"));

        QCOMPARE(Click(IDC_STOPPREVIEW), QStringList{"Stop()"});
        QCOMPARE(PlayLook(), QStringLiteral("play"));
        QCOMPARE(Click(IDC_PLAY), playRow2);
    }
    // Rows a, b, c... with the given starts and one end; "title start" for each replay.
    void transportReplaysFromTheRightStart_data()
    {
        QTest::addColumn<QStringList>("starts");
        QTest::addColumn<int>("endSeconds");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QStringList>("played");
        const QList<int> wrap{IDC_NEXTCLIP, IDC_BACK10, IDC_PREVCLIP, IDC_NEXTCLIP};
        QTest::newRow("wrap, three rows")
            << QStringList{"11", "12", "13"} << 1 << 2 << wrap << QStringList{"a 11", "a 1", "c 13", "a 11"};
        // Back 10 and Forward 10 clamp only their own start.
        QTest::newRow("back below 0, forward")
            << QStringList{"5"} << 60 << 0 << QList<int>{IDC_BACK10, IDC_FORWARD10}
            << QStringList{"a 0", "a 5"};
        QTest::newRow("forward past the end, back")
            << QStringList{"45"} << 50 << 0 << QList<int>{IDC_FORWARD10, IDC_BACK10}
            << QStringList{"a 0", "a 45"};
        QTest::newRow("forward onto the end")
            << QStringList{"40"} << 50 << 0 << QList<int>{IDC_FORWARD10, IDC_FORWARD10}
            << QStringList{"a 50", "a 0"};
        // Starts at the ends of the int range saturate instead of overflowing.
        QTest::newRow("forward at the int maximum")
            << QStringList{"99999999999"} << kMaxInt << 0 << QList<int>{IDC_FORWARD10}
            << QStringList{"a " + QString::number(kMaxInt)};
        QTest::newRow("back at the int minimum, forward")
            << QStringList{"-99999999999"} << kMaxInt << 0 << QList<int>{IDC_BACK10, IDC_FORWARD10}
            << QStringList{"a 0", "a " + QString::number(std::numeric_limits<int>::min() + 10)};
    }
    void transportReplaysFromTheRightStart()
    {
        QFETCH(QStringList, starts);
        QFETCH(int, endSeconds);
        QFETCH(int, selected);
        QFETCH(QList<int>, clicks);
        QFETCH(QStringList, played);
        QStringList titles;
        for (int row = 0; row < starts.size(); ++row)
            titles << QString(QChar('a' + row));
        m_w->AddTitles(titles);
        for (int row = 0; row < starts.size(); ++row) {
            m_w->SetCell(row, 1, starts[row]);
            m_w->SetCell(row, 2, QString::number(endSeconds));
        }
        m_w->Select({selected});
        Click(IDC_PLAY);
        for (int i = 0; i < clicks.size(); ++i) {
            const QStringList titleAndStart = played[i].split(' ');
            QCOMPARE(Click(clicks[i]),
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
        QFETCH(int, plays);
        QFETCH(bool, converting);
        m_w->AddTitles({"a"});
        if (converting)
            Click(IDC_CONVERT);
        m_w->Select({0});
        for (int i = 0; i < plays; ++i)
            Click(IDC_PLAY);
        m_w->engine->EmitFinished();
        QCOMPARE(PlayLook(), QStringLiteral("play"));
        QCOMPARE(Click(IDC_PLAY), QStringList{"SetClipOption(0)"} + Replay("/v/a", 0, 1));
    }

private:
    // Clicks a button of the window and returns the engine calls it made.
    QStringList Click(int id)
    {
        m_w->engine->calls.clear();
        qobject_cast<QAbstractButton*>(m_w->dlg->GetDlgItem(id))->click();
        return m_w->engine->calls;
    }
    // "play" or "pause", by the name button 1029 goes by and the image it shows at rest.
    QString PlayLook() const
    {
        auto& button = *qobject_cast<CSkinButton*>(m_w->dlg->GetDlgItem(IDC_PLAY));
        const QString name = button.accessibleName();
        const unsigned image = name == "Pause" ? IDB_PAUSE_NORMAL : IDB_PLAY_NORMAL;
        return button.ShownImages() == QList<unsigned>{image} ? name.toLower() : QStringLiteral("other");
    }
    std::unique_ptr<JobWindow> m_w;
};

QTEST_MAIN(TestPreviewTransport)
#include "test_preview_transport.moc"

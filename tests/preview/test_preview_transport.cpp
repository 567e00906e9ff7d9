// The preview transport of the main window against a recording engine: what each
// button hands the engine, the messages, the looks of button 1029, the wrap-around
// of Next and Previous and the clamps of Back 10 and Forward 10.
#include "jobs/JobWindow.h"
#include "res/SkinBitmaps.h"

#include <QAbstractButton>
#include <QtTest>

namespace {

const QString kCaption = QStringLiteral("Virav Velmora Video Converter");

// The calls that hand the engine one clip and play it.
QStringList ClipAndPlay(const QString& path, int startSeconds, int endSeconds, int stretch = 0)
{
    return {
        QStringLiteral("AddVideoClip(%1,%2,%3,%4)").arg(path).arg(startSeconds).arg(endSeconds).arg(stretch),
        QStringLiteral("AddAudioClip(%1,%2,%3)").arg(path).arg(startSeconds).arg(endSeconds), "Play()"};
}

QStringList Replay(const QString& path, int startSeconds, int endSeconds)
{
    return QStringList{"ClearClips()"} + ClipAndPlay(path, startSeconds, endSeconds);
}

QImage Rgb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestPreviewTransport : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_w = std::make_unique<JobWindow>(); }
    void cleanup() { m_w.reset(); }
    void playAsksForRowsThenASelection();
    void playStartsTheFirstSelectedRowThenPausesAndResumes();
    void nextAndPreviousWrapAround_data();
    void nextAndPreviousWrapAround();
    void skipsClampOnlyTheirOwnStart_data();
    void skipsClampOnlyTheirOwnStart();
    void transportOnAnEmptyListPlaysAnEmptyPath();
    void transportKeepsThePlayStateAndStopEndsIt();
    void startsAtTheEndsOfTheIntRangeSaturate();

private:
    // Clicks a button of the window and returns the engine calls it made.
    QStringList Click(int id);
    QString PlayLook() const;
    std::unique_ptr<JobWindow> m_w;
};

QStringList TestPreviewTransport::Click(int id)
{
    m_w->engine->calls.clear();
    qobject_cast<QAbstractButton*>(m_w->dlg->GetDlgItem(id))->click();
    return m_w->engine->calls;
}

// "play" or "pause", by the image button 1029 shows.
QString TestPreviewTransport::PlayLook() const
{
    const QImage shown = Rgb(m_w->dlg->GetDlgItem(IDC_PLAY)->grab());
    if (shown == Rgb(LoadSkinBitmap(IDB_PLAY_NORMAL)))
        return QStringLiteral("play");
    return shown == Rgb(LoadSkinBitmap(IDB_PAUSE_NORMAL)) ? QStringLiteral("pause") : QStringLiteral("other");
}

void TestPreviewTransport::playAsksForRowsThenASelection()
{
    QVERIFY(Click(IDC_PLAY).isEmpty());
    m_w->AddTitles({"a", "b"});
    QVERIFY(Click(IDC_PLAY).isEmpty());
    QCOMPARE(m_w->Messages(), QStringList({kCaption + "|Please input item to the list",
                                           kCaption + "|Please select item in the list"}));
    for (const CScriptedUi::Message& message : m_w->ui.messages)
        QCOMPARE(message.style, unsigned(kMbOk));
    QCOMPARE(PlayLook(), QStringLiteral("play"));
}

void TestPreviewTransport::playStartsTheFirstSelectedRowThenPausesAndResumes()
{
    m_w->AddTitles({"a", "b", "c", "d", "e"});
    m_w->SetCell(2, 1, "12.9");
    m_w->SetCell(2, 2, "63.46");
    m_w->Combo(IDC_STRETCHMODE)->setCurrentIndex(2);
    m_w->Select({4, 2});
    QCOMPARE(Click(IDC_PLAY),
             QStringList({"SetClipOption(0)", "ClearClips()"}) + ClipAndPlay("/v/c", 12, 63, 2));
    QCOMPARE(PlayLook(), QStringLiteral("pause"));
    QCOMPARE(Click(IDC_PLAY), QStringList{"Pause()"});
    QCOMPARE(PlayLook(), QStringLiteral("play"));
    m_w->engine->calls.clear();
    m_w->dlg->OnCommand(ID_FILE_PLAY); // the menu's Play is the same toggle
    QCOMPARE(m_w->engine->calls, QStringList{"Resume()"});
    QCOMPARE(PlayLook(), QStringLiteral("pause"));
}

void TestPreviewTransport::nextAndPreviousWrapAround_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("last"); // the last row's path
    QTest::newRow("three rows") << QStringList{"a", "b", "c"} << 2 << "/v/c";
    QTest::newRow("one row") << QStringList{"a"} << 0 << "/v/a";
}

// Starts are row + 11 and ends "1"; after the wrap the skips work on row 0.
void TestPreviewTransport::nextAndPreviousWrapAround()
{
    QFETCH(QStringList, titles);
    QFETCH(int, selected);
    QFETCH(QString, last);
    m_w->AddTitles(titles);
    for (int row = 0; row < titles.size(); ++row)
        m_w->SetCell(row, 1, QString::number(row + 11));
    m_w->Select({selected});
    Click(IDC_PLAY);
    QCOMPARE(Click(IDC_NEXTCLIP), Replay("/v/a", 11, 1));
    QCOMPARE(Click(IDC_BACK10), Replay("/v/a", 1, 1));
    QCOMPARE(Click(IDC_PREVCLIP), Replay(last, 10 + int(titles.size()), 1));
    QCOMPARE(Click(IDC_NEXTCLIP), Replay("/v/a", 11, 1));
}

void TestPreviewTransport::skipsClampOnlyTheirOwnStart_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("endSeconds");
    QTest::addColumn<QList<int>>("skips");
    QTest::addColumn<QList<int>>("playedFrom");
    QTest::newRow("back below 0, forward")
        << "5" << 60 << QList<int>{IDC_BACK10, IDC_FORWARD10} << QList<int>{0, 5};
    QTest::newRow("forward past the end, back")
        << "45" << 50 << QList<int>{IDC_FORWARD10, IDC_BACK10} << QList<int>{0, 45};
    QTest::newRow("forward onto the end")
        << "40" << 50 << QList<int>{IDC_FORWARD10, IDC_FORWARD10} << QList<int>{50, 0};
}

void TestPreviewTransport::skipsClampOnlyTheirOwnStart()
{
    QFETCH(QString, start);
    QFETCH(int, endSeconds);
    QFETCH(QList<int>, skips);
    QFETCH(QList<int>, playedFrom);
    m_w->AddTitles({"a"});
    m_w->SetCell(0, 1, start);
    m_w->SetCell(0, 2, QString::number(endSeconds));
    m_w->Select({0});
    Click(IDC_PLAY);
    for (int i = 0; i < skips.size(); ++i)
        QCOMPARE(Click(skips[i]), Replay("/v/a", playedFrom[i], endSeconds));
}

void TestPreviewTransport::transportOnAnEmptyListPlaysAnEmptyPath()
{
    for (int id : {IDC_NEXTCLIP, IDC_PREVCLIP, IDC_BACK10, IDC_FORWARD10, IDC_NEXTCLIP})
        QCOMPARE(Click(id), Replay(QString(), 0, 0));
    QVERIFY(m_w->ui.messages.isEmpty());
}

void TestPreviewTransport::transportKeepsThePlayStateAndStopEndsIt()
{
    m_w->AddTitles({"a", "b"});
    m_w->Select({1});
    Click(IDC_PLAY);
    Click(IDC_PLAY); // paused
    for (int id : {IDC_NEXTCLIP, IDC_BACK10, IDC_FORWARD10, IDC_PREVCLIP})
        Click(id);
    QCOMPARE(PlayLook(), QStringLiteral("play"));
    QCOMPARE(Click(IDC_PLAY), QStringList{"Resume()"});

    QCOMPARE(Click(IDC_STOPPREVIEW), QStringList{"Stop()"});
    QCOMPARE(PlayLook(), QStringLiteral("play"));
    QCOMPARE(Click(IDC_PLAY), QStringList({"SetClipOption(0)", "ClearClips()"}) + ClipAndPlay("/v/b", 0, 1));
    QCOMPARE(m_w->Status(1), QStringLiteral("Ready"));
}

void TestPreviewTransport::startsAtTheEndsOfTheIntRangeSaturate()
{
    constexpr int kMax = std::numeric_limits<int>::max();
    m_w->AddTitles({"a"});
    m_w->SetCell(0, 1, "99999999999");
    m_w->SetCell(0, 2, "99999999999");
    m_w->Select({0});
    Click(IDC_PLAY);
    QCOMPARE(Click(IDC_FORWARD10), Replay("/v/a", kMax, kMax)); // not past the end
    m_w->SetCell(0, 1, "-99999999999");
    Click(IDC_NEXTCLIP);
    QCOMPARE(Click(IDC_BACK10), Replay("/v/a", 0, kMax));
    QCOMPARE(Click(IDC_FORWARD10), Replay("/v/a", std::numeric_limits<int>::min() + 10, kMax));
}

QTEST_MAIN(TestPreviewTransport)
#include "test_preview_transport.moc"

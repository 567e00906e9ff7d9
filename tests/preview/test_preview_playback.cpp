// Real preview playback offscreen, paced by the system clock when there is no sound device.
#include "engine/MediaCheck.h"
#include "jobs/JobWindow.h"

#include "engine/CDirarAror.h"
#include "engine/CPreviewPlayer.h"
#include "support/CEngineEvents.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

constexpr int kPlayTimeoutMs = 30000;
constexpr int kWriteTimeoutMs = 120000;
constexpr double kEarlySlackSeconds = 0.015; // timers fire late on a busy machine, never early
constexpr QSize kPreviewSize(227, 170);

// Every change of the picture, as it happened.
struct PictureLog
{
    struct Shown
    {
        double wallSeconds, pictureSeconds;
        QImage picture;
    };
    explicit PictureLog(const CPreviewPlayer* player)
    {
        wall.start();
        QObject::connect(player, &CPreviewPlayer::pictureChanged, &context, [this, player] {
            shown.push_back({elapsedSeconds(), player->pictureSeconds(), player->picture()});
        });
    }
    double elapsedSeconds() const { return wall.nsecsElapsed() / 1e9; }
    std::vector<Shown> shown;
    QObject context;
    QElapsedTimer wall;
};

// As the window's Play does: the clip list replaced by one clip, then played.
bool preview(CDirarAror& engine, const QString& name, double startSeconds, double endSeconds,
             short stretch = 0)
{
    engine.SetClipOption(0);
    engine.ClearClips();
    addClip(engine, fixturePath(name), startSeconds, endSeconds, stretch);
    return engine.Play();
}

// As source pictures are compared: luma at one size.
QImage lumaOf(const QImage& picture)
{
    return picture.convertToFormat(QImage::Format_Grayscale8)
        .scaled(kLumaSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Black bars show as dark top rows above a bright middle.
bool hasBarsTopAndBottom(const QImage& picture)
{
    const QImage luma = lumaOf(picture);
    return meanLuma(luma, QRect(0, 0, luma.width(), 10)) < 30.0 &&
           meanLuma(luma, QRect(0, luma.height() / 2 - 5, luma.width(), 10)) > 60.0;
}

bool isIdle(QWidget* area)
{
    return area->grab().toImage().pixelColor(0, 0) == area->palette().color(QPalette::Window);
}

// Text lighter than the idle area's faint play mark.
bool showsWords(QWidget* area)
{
    const QImage image = area->grab().toImage();
    const int markLightness = area->palette().color(QPalette::WindowText).lightness();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).lightness() > markLightness + 40)
                return true;
        }
    }
    return false;
}

} // namespace

class TestPreviewPlayback : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_engine = std::make_unique<CDirarAror>();
        m_engine->resize(kPreviewSize);
        m_engine->show();
        m_player = m_engine->findChild<CPreviewPlayer*>();
        QVERIFY(m_player);
    }
    void playsTheTrimmedSpanOnTheClock()
    {
        QVERIFY(!m_engine->Play()); // an empty clip list shows nothing
        QVERIFY(isIdle(m_engine.get()));
        QSignalSpy ended(m_player, &CPreviewPlayer::ended);
        CEngineEvents events(*m_engine);
        QSignalSpy finished(&events, &CEngineEvents::Finished);
        PictureLog log(m_player);
        QVERIFY(preview(*m_engine, QStringLiteral("clip.mpg"), 0.5, 2.5));
        QVERIFY(ended.wait(kPlayTimeoutMs));

        // 25 pictures a second for 2 s, each either shown or overtaken by the next.
        QCOMPARE(m_player->presentedFrames() + m_player->droppedFrames(), 50);
        QVERIFY(log.shown.size() >= 10);
        QVERIFY(log.elapsedSeconds() >= 2.0 - kEarlySlackSeconds);
        QCOMPARE(log.shown.front().pictureSeconds, 0.0);
        QCOMPARE(log.shown.back().pictureSeconds, 1.96); // the last one is never overtaken
        for (size_t i = 1; i < log.shown.size(); ++i) {
            const PictureLog::Shown& shown = log.shown[i];
            QVERIFY(shown.pictureSeconds > log.shown[i - 1].pictureSeconds);
            QVERIFY2(shown.wallSeconds - log.shown.front().wallSeconds >=
                         shown.pictureSeconds - kEarlySlackSeconds,
                     qPrintable(QStringLiteral("picture of %1 s shown early").arg(shown.pictureSeconds)));
        }
        // The first picture is the source's at the start, the last its last before the end.
        const std::vector<TimedFrame> source = decodeFrames(fixturePath("clip.mpg"));
        QVERIFY(qAbs(bestMatchSeconds(source, lumaOf(log.shown.front().picture)) - 0.5) < 0.021);
        QVERIFY(qAbs(bestMatchSeconds(source, lumaOf(log.shown.back().picture)) - 2.46) < 0.021);

        // The last picture stays; the end of a preview is no event of the engine.
        QCOMPARE(m_player->picture().size(), kPreviewSize);
        QVERIFY(!isIdle(m_engine.get()));
        QCOMPARE(finished.count(), 0);
    }
    // The main window's transport with its real engine: Pause holds the picture, Resume
    // goes on from it, a new Play replaces the list mid-way and Stop halts it at once.
    void transportOfTheRealWindow()
    {
        m_engine.reset();
        JobWindow w(nullptr);
        w.dlg->show();
        w.AddFiles({fixturePath(QStringLiteral("clip.avi"))});
        w.Select({0});
        auto* engine = qobject_cast<CDirarAror*>(w.dlg->GetDlgItem(IDC_ENGINE));
        const CPreviewPlayer* player = engine->findChild<CPreviewPlayer*>();
        QSignalSpy ended(player, &CPreviewPlayer::ended);
        PictureLog log(player);
        w.dlg->OnCommand(IDC_PLAY);
        QTRY_VERIFY_WITH_TIMEOUT(player->pictureSeconds() >= 0.6, kPlayTimeoutMs);
        w.dlg->OnCommand(IDC_PLAY);
        const double pausedAt = player->pictureSeconds();
        const size_t shownAtPause = log.shown.size();
        const QImage held = engine->grab().toImage();
        // No picture may come while paused, for longer than the 0.25 s the resume check below
        // allows, so a clock that ran on while paused shows there too.
        QVERIFY(!QTest::qWaitFor([&] { return log.shown.size() != shownAtPause; }, 400));
        QCOMPARE(engine->grab().toImage(), held);
        const double resumedAtWall = log.elapsedSeconds();
        w.dlg->OnCommand(IDC_PLAY);
        QTRY_VERIFY_WITH_TIMEOUT(player->pictureSeconds() >= pausedAt + 0.3, kPlayTimeoutMs);
        const double wentOnAt = log.shown[shownAtPause].pictureSeconds;
        QVERIFY2(wentOnAt > pausedAt && wentOnAt < pausedAt + 0.25, qPrintable(QString::number(wentOnAt)));
        // The clock skips no paused time: pictures would come 0.4 s early. The slack covers a
        // clock a few pictures ahead of the one shown when the pause came, on a busy machine.
        for (size_t i = shownAtPause; i < log.shown.size(); ++i) {
            const double sinceResume = log.shown[i].wallSeconds - resumedAtWall;
            QVERIFY2(
                sinceResume >= log.shown[i].pictureSeconds - pausedAt - 0.15,
                qPrintable(QStringLiteral("picture of %1 s shown early").arg(log.shown[i].pictureSeconds)));
        }

        // The new list: a 4:3 clip stretched, then a 16:9 one with its aspect kept (bars).
        engine->ClearClips();
        addClip(*engine, fixturePath("clip.mpg"), 1.0, 2.0, 0);
        addClip(*engine, fixturePath("clip.wmv"), 0.0, 3.0, 2);
        PictureLog newList(player);
        QVERIFY(engine->Play());
        QTRY_VERIFY_WITH_TIMEOUT(!newList.shown.empty() && newList.shown.back().pictureSeconds >= 1.2,
                                 kPlayTimeoutMs);
        QCOMPARE(newList.shown.front().pictureSeconds, 0.0);
        for (const PictureLog::Shown& shown : newList.shown) {
            QVERIFY2(hasBarsTopAndBottom(shown.picture) == (shown.pictureSeconds >= 1.0),
                     qPrintable(QString::number(shown.pictureSeconds)));
        }

        w.dlg->OnCommand(IDC_STOPPREVIEW);
        QVERIFY(isIdle(engine));
        const size_t shownAtStop = newList.shown.size();
        engine->Resume(); // nothing to resume: of the several pictures due by now, none may come
        QVERIFY(!QTest::qWaitFor([&] { return newList.shown.size() != shownAtStop; }, 300));
        QCOMPARE(ended.count(), 0); // neither the replaced nor the stopped list ended
    }
    // A preview replaces the engine's clip list, but not the clips being written.
    void previewBesideAConversionLeavesItsFileAlone()
    {
        QTemporaryDir folder;
        for (const QString name : {"alone.wmv", "beside.wmv"}) {
            CEngineEvents events(*m_engine);
            QSignalSpy finished(&events, &CEngineEvents::Finished);
            m_engine->SetOutputMode(9);
            m_engine->SetClipOption(0);
            m_engine->ClearClips();
            addClip(*m_engine, fixturePath("clip.avi"), 0.0, 3.0);
            m_engine->SetProfileFile(profilePath(QStringLiteral("320x240video.prx")));
            QVERIFY(m_engine->SaveFile(folder.filePath(name)));
            if (name.startsWith(QLatin1String("beside")))
                QVERIFY(preview(*m_engine, QStringLiteral("clip.wmv"), 0.0, 3.0, 1));
            QVERIFY(finished.wait(kWriteTimeoutMs));
            QVERIFY(!m_engine->LastWriteFailed());
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_player->presentedFrames() > 0, kPlayTimeoutMs);

        const QByteArray alone = readFile(folder.filePath(QStringLiteral("alone.wmv")));
        QVERIFY(!alone.isEmpty());
        QCOMPARE(readFile(folder.filePath(QStringLiteral("beside.wmv"))), alone);
    }
    // A file that cannot be played says why, in the area and its tooltip.
    void filesPlayOrSayWhyNot_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("showsPictures");
        QTest::addColumn<QString>("hint"); // how the area's hint starts; empty for none
        const QString cannot = QStringLiteral("This file cannot be played: open: ");
        QTest::newRow("text") << "text.avi" << false << cannot;
        QTest::newRow("header cut") << "headercut.asf" << false << cannot;
        QTest::newRow("truncated, no length") << "truncated.wmv" << false << cannot;
        QTest::newRow("bits flipped") << "bitflip.wmv" << true << QString();
        // today's files play like any other
        for (const char* name : kTodaysFixtures)
            QTest::newRow(name) << name << true << QString();
    }
    void filesPlayOrSayWhyNot()
    {
        QFETCH(QString, name);
        QFETCH(bool, showsPictures);
        QFETCH(QString, hint);
        QSignalSpy ended(m_player, &CPreviewPlayer::ended);
        QVERIFY(preview(*m_engine, name, 0.0, 3.0));
        QVERIFY(ended.wait(kPlayTimeoutMs));
        QCOMPARE(m_player->presentedFrames() > 0, showsPictures);
        QCOMPARE(isIdle(m_engine.get()), !showsPictures);
        QVERIFY2(hint.isEmpty() ? m_engine->toolTip().isEmpty() : m_engine->toolTip().startsWith(hint),
                 qPrintable(m_engine->toolTip()));
        QVERIFY(hint.isEmpty() || showsWords(m_engine.get()));
        m_engine->Stop();
        QVERIFY(m_engine->toolTip().isEmpty());
    }

private:
    std::unique_ptr<CDirarAror> m_engine;
    CPreviewPlayer* m_player = nullptr;
};

QTEST_MAIN(TestPreviewPlayback)
#include "test_preview_playback.moc"

// Real preview playback in the engine control, offscreen: pictures on the clock over
// exactly the trimmed span, Pause, Resume, Stop, a new Play in the middle, damaged
// files, and a preview beside a conversion. Without a sound device (the usual test
// machine) the system clock sets the pace.
#include "engine/MediaCheck.h"
#include "jobs/JobWindow.h"

#include "engine/CDirarAror.h"
#include "engine/CPreviewPlayer.h"

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
const QColor kIdleColor(32, 32, 32);

// Every change of the picture, as it happened.
class PictureLog
{
public:
    struct Shown
    {
        double wallSeconds = 0.0;
        double pictureSeconds = 0.0;
        QImage picture;
    };

    explicit PictureLog(CPreviewPlayer* player)
    {
        m_wall.start();
        QObject::connect(player, &CPreviewPlayer::pictureChanged, &m_context, [this, player] {
            shown.push_back(Shown{elapsedSeconds(), player->pictureSeconds(), player->picture()});
        });
    }
    double elapsedSeconds() const { return m_wall.nsecsElapsed() / 1e9; }

    std::vector<Shown> shown;

private:
    QObject m_context;
    QElapsedTimer m_wall;
};

void addClip(CDirarAror& engine, const QString& name, double startSeconds, double endSeconds,
             short stretch = 0)
{
    engine.AddVideoClip(fixturePath(name), startSeconds, endSeconds, stretch);
    engine.AddAudioClip(fixturePath(name), startSeconds, endSeconds);
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
    return area->grab().toImage().pixelColor(0, 0) == kIdleColor;
}

} // namespace

class TestPreviewPlayback : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void idleAreaIsDarkWithAFaintMark();
    void playsTheTrimmedSpanOnTheClock();
    void pauseHoldsThePictureAndResumeGoesOn();
    void playWhilePlayingPlaysTheNewClipsInOrder();
    void stopHaltsPreviewAndConversionAtOnce();
    void previewBesideAConversionLeavesItsFileAlone();
    void damagedFilesEndQuietly_data();
    void damagedFilesEndQuietly();
    void realWindowPreviewsTheSelectedRow();

private:
    std::unique_ptr<CDirarAror> m_engine;
    CPreviewPlayer* m_player = nullptr;
};

void TestPreviewPlayback::init()
{
    m_engine = std::make_unique<CDirarAror>();
    m_engine->resize(kPreviewSize);
    m_engine->show();
    m_player = m_engine->findChild<CPreviewPlayer*>();
    QVERIFY(m_player);
}

void TestPreviewPlayback::idleAreaIsDarkWithAFaintMark()
{
    const QImage idle = m_engine->grab().toImage();
    QCOMPARE(idle.pixelColor(0, 0), kIdleColor);
    QCOMPARE(idle.pixelColor(kPreviewSize.width() - 1, kPreviewSize.height() - 1), kIdleColor);
    QCOMPARE(idle.pixelColor(kPreviewSize.width() / 2, kPreviewSize.height() / 2), QColor(58, 58, 58));
    QVERIFY(!m_engine->Play()); // an empty clip list shows nothing
    QCOMPARE(m_engine->grab().toImage(), idle);
}

void TestPreviewPlayback::playsTheTrimmedSpanOnTheClock()
{
    addClip(*m_engine, QStringLiteral("clip.mpg"), 0.5, 2.5);
    QSignalSpy ended(m_player, &CPreviewPlayer::ended);
    QSignalSpy finished(m_engine.get(), &CDirarAror::Finished);
    PictureLog log(m_player);
    QVERIFY(m_engine->Play());
    QVERIFY(ended.wait(kPlayTimeoutMs));
    const double wallSeconds = log.elapsedSeconds();

    // 25 pictures a second for 2 s, each either shown or overtaken by the next.
    QCOMPARE(m_player->presentedFrames() + m_player->droppedFrames(), 50);
    QCOMPARE(m_player->presentedFrames(), int(log.shown.size()));
    QVERIFY2(log.shown.size() >= 10, qPrintable(QString::number(log.shown.size())));
    QVERIFY2(wallSeconds >= 2.0 - kEarlySlackSeconds && wallSeconds < 8.0,
             qPrintable(QString::number(wallSeconds)));
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

void TestPreviewPlayback::pauseHoldsThePictureAndResumeGoesOn()
{
    addClip(*m_engine, QStringLiteral("clip.avi"), 0.0, 3.0);
    QSignalSpy ended(m_player, &CPreviewPlayer::ended);
    PictureLog log(m_player);
    QVERIFY(m_engine->Play());
    QTRY_VERIFY_WITH_TIMEOUT(m_player->pictureSeconds() >= 0.6, kPlayTimeoutMs);
    m_engine->Pause();
    const double pausedAt = m_player->pictureSeconds();
    const size_t shownBefore = log.shown.size();
    const QImage held = m_engine->grab().toImage();
    QTest::qWait(700);
    QCOMPARE(log.shown.size(), shownBefore);
    QCOMPARE(m_engine->grab().toImage(), held);
    QVERIFY(!isIdle(m_engine.get()));

    m_engine->Resume();
    QTRY_VERIFY_WITH_TIMEOUT(log.shown.size() > shownBefore, kPlayTimeoutMs);
    const double wentOnAt = log.shown[shownBefore].pictureSeconds;
    QVERIFY2(wentOnAt > pausedAt && wentOnAt < pausedAt + 0.25, qPrintable(QString::number(wentOnAt)));
    QVERIFY(ended.wait(kPlayTimeoutMs));
    QVERIFY2(log.elapsedSeconds() > 3.0 + 0.7 - 0.1, qPrintable(QString::number(log.elapsedSeconds())));
}

// The new list: a 4:3 clip stretched, then a 16:9 one with its aspect kept (bars).
void TestPreviewPlayback::playWhilePlayingPlaysTheNewClipsInOrder()
{
    addClip(*m_engine, QStringLiteral("clip.mpg"), 0.0, 3.0);
    QSignalSpy ended(m_player, &CPreviewPlayer::ended);
    QVERIFY(m_engine->Play());
    QTRY_VERIFY_WITH_TIMEOUT(m_player->pictureSeconds() >= 1.0, kPlayTimeoutMs);
    m_engine->ClearClips();
    addClip(*m_engine, QStringLiteral("clip.mpg"), 1.0, 2.0, 0);
    addClip(*m_engine, QStringLiteral("clip.wmv"), 0.0, 1.0, 2);
    PictureLog log(m_player);
    QVERIFY(m_engine->Play());
    QVERIFY(ended.wait(kPlayTimeoutMs));
    QCOMPARE(ended.count(), 1); // the first list never ended
    QCOMPARE(m_player->presentedFrames() + m_player->droppedFrames(), 50);
    QCOMPARE(log.shown.front().pictureSeconds, 0.0);
    for (const PictureLog::Shown& shown : log.shown) {
        QVERIFY2(hasBarsTopAndBottom(shown.picture) == (shown.pictureSeconds >= 1.0),
                 qPrintable(QString::number(shown.pictureSeconds)));
    }
    QVERIFY(hasBarsTopAndBottom(m_engine->grab().toImage()));
}

void TestPreviewPlayback::stopHaltsPreviewAndConversionAtOnce()
{
    QTemporaryDir folder;
    QSignalSpy finished(m_engine.get(), &CDirarAror::Finished);
    for (int copy = 0; copy < 4; ++copy) // a write that lasts well past the first picture
        addClip(*m_engine, QStringLiteral("clip.avi"), 0.0, 3.0);
    m_engine->SetProfileFile(profilePath(QStringLiteral("High640x480video.prx")));
    QVERIFY(m_engine->SaveFile(folder.filePath(QStringLiteral("out.wmv"))));
    PictureLog log(m_player);
    QVERIFY(m_engine->Play());
    QTRY_VERIFY_WITH_TIMEOUT(!m_player->picture().isNull(), kPlayTimeoutMs);
    QElapsedTimer stopping;
    stopping.start();
    m_engine->Stop();
    QVERIFY2(stopping.elapsed() < 500, qPrintable(QString::number(stopping.elapsed())));
    QVERIFY(m_player->picture().isNull());
    QVERIFY(isIdle(m_engine.get()));
    const size_t shownAtStop = log.shown.size();
    m_engine->Resume(); // nothing to resume
    QTest::qWait(500);
    QCOMPARE(log.shown.size(), shownAtStop);
    QCOMPARE(finished.count(), 0);
    QVERIFY(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

void TestPreviewPlayback::previewBesideAConversionLeavesItsFileAlone()
{
    QTemporaryDir folder;
    const auto convert = [&](const QString& output, bool withPreview) {
        QSignalSpy finished(m_engine.get(), &CDirarAror::Finished);
        m_engine->SetOutputMode(9);
        m_engine->SetClipOption(0);
        m_engine->ClearClips();
        addClip(*m_engine, QStringLiteral("clip.avi"), 0.0, 3.0);
        m_engine->SetProfileFile(profilePath(QStringLiteral("320x240video.prx")));
        QVERIFY(m_engine->SaveFile(output));
        if (withPreview) { // as the window's Play does: the clip list is replaced
            m_engine->SetClipOption(0);
            m_engine->ClearClips();
            addClip(*m_engine, QStringLiteral("clip.wmv"), 0.0, 3.0, 1);
            QVERIFY(m_engine->Play());
        }
        QVERIFY(finished.wait(kWriteTimeoutMs));
        QVERIFY(!m_engine->LastWriteFailed());
    };
    convert(folder.filePath(QStringLiteral("alone.wmv")), false);
    convert(folder.filePath(QStringLiteral("beside.wmv")), true);
    QVERIFY(m_player->presentedFrames() > 0);

    const std::optional<MediaSummary> alone = summarizeMedia(folder.filePath(QStringLiteral("alone.wmv")));
    const std::optional<MediaSummary> beside = summarizeMedia(folder.filePath(QStringLiteral("beside.wmv")));
    QVERIFY(alone && alone->video && alone->audio && beside && beside->video && beside->audio);
    QCOMPARE(beside->video->frameCount, alone->video->frameCount);
    QCOMPARE(beside->audio->sampleCount, alone->audio->sampleCount);
    QCOMPARE(beside->video->firstFrame, alone->video->firstFrame);
    QCOMPARE(beside->video->middleFrame, alone->video->middleFrame);
}

void TestPreviewPlayback::damagedFilesEndQuietly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("showsPictures");
    QTest::newRow("text") << "text.avi" << false;
    QTest::newRow("empty") << "empty.avi" << false;
    QTest::newRow("header cut") << "headercut.asf" << false;
    QTest::newRow("truncated, no length") << "truncated.wmv" << false;
    QTest::newRow("bits flipped") << "bitflip.wmv" << true;
}

void TestPreviewPlayback::damagedFilesEndQuietly()
{
    QFETCH(QString, name);
    QFETCH(bool, showsPictures);
    QSignalSpy ended(m_player, &CPreviewPlayer::ended);
    addClip(*m_engine, name, 0.0, 3.0);
    QVERIFY(m_engine->Play());
    QVERIFY(ended.wait(kPlayTimeoutMs));
    QCOMPARE(m_player->presentedFrames() > 0, showsPictures);
    QCOMPARE(isIdle(m_engine.get()), !showsPictures);
}

// The main window with the real engine: a row added from a fixture, selected and
// played, shows in the preview area; Stop brings the idle area back.
void TestPreviewPlayback::realWindowPreviewsTheSelectedRow()
{
    m_engine.reset();
    QTemporaryDir settings;
    RedirectSettings(settings);
    CScriptedUi ui;
    ui.openFiles = QStringList{fixturePath(QStringLiteral("clip.avi"))};
    CConverterDlg dlg;
    dlg.show();
    dlg.OnCommand(IDC_ADDFILES);
    qobject_cast<QTableWidget*>(dlg.GetDlgItem(IDC_JOBLIST))->selectRow(0);
    QWidget* area = dlg.GetDlgItem(IDC_ENGINE);
    const CPreviewPlayer* player = area->findChild<CPreviewPlayer*>();
    dlg.OnCommand(IDC_PLAY);
    QTRY_VERIFY_WITH_TIMEOUT(player->pictureSeconds() >= 0.2, kPlayTimeoutMs);
    QCOMPARE(player->picture().size(), area->size());
    QVERIFY(!isIdle(area));
    dlg.OnCommand(IDC_STOPPREVIEW);
    QVERIFY(isIdle(area));
    QVERIFY(ui.messages.isEmpty());
}

QTEST_MAIN(TestPreviewPlayback)
#include "test_preview_playback.moc"

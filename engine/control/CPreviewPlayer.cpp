#include "CPreviewPlayer.h"

#include "CAudioOutput.h"
#include "engine/CPlaybackPipeline.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;
constexpr int kPollMs = 5;                    // while the decoder has nothing ready
constexpr double kFeedIntervalSeconds = 0.01; // well inside the device's buffer
constexpr int kMaxWaitMs = 40;
constexpr int kRetiredPollMs = 50;

void freeFrame(void* frame)
{
    auto* owned = static_cast<AVFrame*>(frame);
    av_frame_free(&owned);
}

} // namespace

CPreviewPlayer::CPreviewPlayer(QObject* parent) : QObject(parent)
{
    m_wall.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CPreviewPlayer::tick);
}

CPreviewPlayer::~CPreviewPlayer() = default;

bool CPreviewPlayer::play(const ClipList& clips, QSize pictureSize, const MediaInspector& inspect)
{
    retirePipeline();
    if (clips.video.empty() && clips.audio.empty()) {
        clearPicture();
        return false;
    }
    PlaybackSetup setup;
    setup.clips = clips;
    setup.widthPx = pictureSize.width();
    setup.heightPx = pictureSize.height();
    setup.inspect = inspect;
    if (!clips.audio.empty())
        m_audio = CAudioOutput::open();
    if (m_audio) {
        setup.sound = m_audio->frameFormat();
        setup.sampleFormat = m_audio->sampleFormat();
    }
    m_pipeline = std::make_unique<CPlaybackPipeline>(std::move(setup));
    m_pipeline->start();
    m_clock = CPresentationClock();
    m_paused = false;
    m_lastTakenUs = -1;
    m_frameIntervalUs = 0;
    m_presentedFrames = 0;
    m_droppedFrames = 0;
    m_failureReported = false;
    m_timer.start(kPollMs);
    return true;
}

void CPreviewPlayer::pause()
{
    if (!m_pipeline || m_paused)
        return;
    m_paused = true;
    m_clock.pause(nowSeconds());
    if (m_audio)
        m_audio->suspend();
    m_timer.stop();
}

void CPreviewPlayer::resume()
{
    if (!m_pipeline || !m_paused)
        return;
    m_paused = false;
    m_clock.resume(nowSeconds());
    if (m_audio)
        m_audio->resume();
    m_timer.start(0);
}

void CPreviewPlayer::stop()
{
    retirePipeline();
    clearPicture();
}

void CPreviewPlayer::tick()
{
    pruneRetired();
    if (!m_pipeline) {
        if (!m_retired.empty())
            m_timer.start(kRetiredPollMs);
        return;
    }
    const double now = nowSeconds();
    if (!m_clock.isStarted()) {
        if (!isPrerolled()) {
            m_timer.start(kPollMs);
            return;
        }
        m_clock.start(now);
        if (!m_next)
            clearPicture(); // a clip list without pictures
    }
    if (m_audio && m_audio->hasFailed())
        m_audio.reset(); // the system clock takes over from here
    if (m_audio) {
        m_audio->feed(m_pipeline->sound());
        if (!m_audio->isAllWritten(m_pipeline->sound()))
            m_clock.follow(m_audio->playedSeconds(), now);
    }
    const double position = m_clock.positionAt(now);
    presentDuePicture(position);
    reportFailure();
    if (hasEnded(position)) {
        retirePipeline();
        emit ended();
        return;
    }
    scheduleTick(position);
}

void CPreviewPlayer::reportFailure()
{
    if (m_failureReported)
        return;
    if (const MediaError failure = m_pipeline->failure(); failure.isSet()) {
        m_failureReported = true;
        emit cannotPlay(failure.text());
    }
}

// The clock starts only once the first picture and the first sound are at hand,
// so that opening and seeking the files costs no frames.
bool CPreviewPlayer::isPrerolled()
{
    const bool picturesReady = takeNextPicture() || m_pipeline->pictures().isFinished();
    const bool soundReady = !m_audio || m_audio->isPrimed(m_pipeline->sound());
    return picturesReady && soundReady;
}

bool CPreviewPlayer::takeNextPicture()
{
    if (m_next)
        return true;
    std::optional<QueuedFrame> item = m_pipeline->pictures().tryPop();
    if (!item)
        return false;
    m_next = std::move(item->frame);
    if (m_lastTakenUs >= 0)
        m_frameIntervalUs = m_next->pts - m_lastTakenUs;
    m_lastTakenUs = m_next->pts;
    return true;
}

void CPreviewPlayer::presentDuePicture(double positionSeconds)
{
    FramePtr due;
    while (takeNextPicture() && m_next->pts / kMicrosecondsPerSecond <= positionSeconds) {
        if (due)
            ++m_droppedFrames;
        due = std::move(m_next);
    }
    if (due)
        show(std::move(due));
}

void CPreviewPlayer::show(FramePtr picture)
{
    AVFrame* frame = picture.release();
    m_pictureSeconds = frame->pts / kMicrosecondsPerSecond;
    // The image shares the frame's pixels and frees the frame when it goes.
    m_picture = QImage(frame->data[0], frame->width, frame->height, frame->linesize[0], QImage::Format_RGB32,
                       freeFrame, frame);
    ++m_presentedFrames;
    emit pictureChanged();
}

void CPreviewPlayer::clearPicture()
{
    if (m_picture.isNull())
        return;
    m_picture = QImage();
    m_pictureSeconds = -1.0;
    emit pictureChanged();
}

// The later of the last picture's end and the end of the written sound.
double CPreviewPlayer::endSeconds() const
{
    const double picturesEnd =
        m_lastTakenUs < 0 ? 0.0 : (m_lastTakenUs + m_frameIntervalUs) / kMicrosecondsPerSecond;
    return std::max(picturesEnd, m_audio ? m_audio->writtenSeconds() : 0.0);
}

bool CPreviewPlayer::hasEnded(double positionSeconds) const
{
    const bool picturesDone = !m_next && m_pipeline->pictures().isFinished();
    const bool soundDone = !m_audio || m_audio->isAllWritten(m_pipeline->sound());
    return picturesDone && soundDone && positionSeconds >= endSeconds();
}

void CPreviewPlayer::scheduleTick(double positionSeconds)
{
    double waitSeconds = kPollMs / 1000.0;
    if (m_next)
        waitSeconds = m_next->pts / kMicrosecondsPerSecond - positionSeconds;
    else if (m_pipeline->pictures().isFinished())
        waitSeconds = endSeconds() - positionSeconds;
    if (m_audio && !m_audio->isAllWritten(m_pipeline->sound()))
        waitSeconds = std::min(waitSeconds, kFeedIntervalSeconds);
    m_timer.start(std::clamp(int(std::ceil(waitSeconds * 1000.0)), 1, kMaxWaitMs));
}

void CPreviewPlayer::retirePipeline()
{
    m_timer.stop();
    m_next.reset();
    m_audio.reset();
    m_paused = false;
    if (m_pipeline) {
        m_pipeline->cancel();
        m_retired.push_back(std::move(m_pipeline));
    }
    pruneRetired();
    if (!m_retired.empty())
        m_timer.start(kRetiredPollMs);
}

void CPreviewPlayer::pruneRetired()
{
    const auto done = [](const std::unique_ptr<CPlaybackPipeline>& pipeline) { return pipeline->isDone(); };
    m_retired.erase(std::remove_if(m_retired.begin(), m_retired.end(), done), m_retired.end());
}

double CPreviewPlayer::nowSeconds() const
{
    return m_wall.nsecsElapsed() / 1e9;
}

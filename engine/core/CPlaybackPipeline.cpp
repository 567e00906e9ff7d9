#include "CPlaybackPipeline.h"

#include "CClipSequence.h"
#include "CDataCoverage.h"
#include "CPictureScaler.h"
#include "EngineLog.h"
#include "MediaInput.h"
#include "SamplePacking.h"

#include <algorithm>
#include <limits>

namespace {

// A few pictures (about 150 ms) and some 0.4 s or more of sound: enough to ride out
// a slow packet, small enough that a new preview starts at once.
constexpr size_t kPictureQueueCapacity = 4;
constexpr size_t kSoundQueueCapacity = 16;
constexpr AVRational kMaxFrameRate{30, 1};
constexpr AVRational kMicroseconds{1, 1000000};

int roundUpToEven(int sizePx)
{
    return sizePx + sizePx % 2;
}

double spanOf(const std::vector<MediaClip>& clips)
{
    double seconds = 0.0;
    for (const MediaClip& clip : clips)
        seconds += std::max(0.0, clip.endSeconds - clip.startSeconds);
    return seconds;
}

} // namespace

CPlaybackPipeline::CPlaybackPipeline(PlaybackSetup setup)
    : m_setup(std::move(setup)), m_pictures(kPictureQueueCapacity), m_sound(kSoundQueueCapacity)
{
}

CPlaybackPipeline::~CPlaybackPipeline()
{
    cancel();
    m_threads.join();
}

void CPlaybackPipeline::start()
{
    m_threads.start([this] { runThread(m_pictures, &CPlaybackPipeline::decodePictures); });
    if (m_setup.sound)
        m_threads.start([this] { runThread(m_sound, &CPlaybackPipeline::decodeSound); });
    else
        m_sound.close();
}

void CPlaybackPipeline::cancel()
{
    m_cancel = true;
    m_pictures.abort();
    m_sound.abort();
}

void CPlaybackPipeline::runThread(CFrameQueue& queue, void (CPlaybackPipeline::*body)())
{
    try {
        (this->*body)();
    } catch (const std::exception& error) {
        // Out of memory mid-preview: what was decoded still plays.
        qCWarning(lcEngine, "Preview decoding stopped: %s", error.what());
    }
    queue.close();
}

void CPlaybackPipeline::decodePictures()
{
    const AVRational rate = clipListFrameRate(m_setup.clips.video, kMaxFrameRate, m_setup.inspect);
    // The stretch filters pad and crop whole chroma pixels, so they work at even
    // sizes; the scaler brings the pictures to the exact size.
    const VideoFrameFormat format{roundUpToEven(m_setup.widthPx), roundUpToEven(m_setup.heightPx), rate, {}};
    CClipSequence sequence = CClipSequence::pictures(m_setup.clips.video, format, &m_cancel);
    CPictureScaler scaler(m_setup.widthPx, m_setup.heightPx);
    pump(sequence, m_pictures, AVMEDIA_TYPE_VIDEO, [&scaler, rate](const AVFrame* picture) {
        FramePtr rgb = scaler.toRgb(picture);
        if (rgb)
            rgb->pts = av_rescale_q(rgb->pts, av_inv_q(rate), kMicroseconds);
        return rgb;
    });
}

void CPlaybackPipeline::decodeSound()
{
    CClipSequence sequence = CClipSequence::sound(m_setup.clips.audio, *m_setup.sound, &m_cancel);
    const AVSampleFormat packedFormat = m_setup.sampleFormat;
    pump(sequence, m_sound, AVMEDIA_TYPE_AUDIO,
         [packedFormat](const AVFrame* planar) { return packSamples(planar, packedFormat); });
}

// Picture and sound play on threads of their own, each bounded by its own data: the
// preview simply ends where the data does, or where a clip can no longer be read.
void CPlaybackPipeline::pump(CClipSequence& sequence, CFrameQueue& queue, AVMediaType type,
                             const Convert& convert)
{
    const double spanSeconds = spanOf(type == AVMEDIA_TYPE_VIDEO ? m_setup.clips.video : m_setup.clips.audio);
    CDataCoverage coverage(spanSeconds);
    const int result = sequence.readUntil(std::numeric_limits<double>::infinity(), [&](CClipSequence::Frame frame) {
        if (!coverage.admit(frame.origin, frame.endSeconds))
            return AVERROR_EOF;
        FramePtr ready = convert(frame.frame.get());
        if (!ready || !queue.push(QueuedFrame{type, std::move(ready)}))
            return AVERROR_EXIT;
        return 0;
    });
    if (result >= 0 || result == AVERROR_EXIT || result == AVERROR_EOF || m_cancel)
        return;
    const MediaError error = sequence.error().isSet() ? sequence.error() : mediaError(MediaStage::Decode, result);
    qCWarning(lcEngine, "Preview: %s", qPrintable(error.text()));
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    if (!m_failure.isSet())
        m_failure = error;
}

MediaError CPlaybackPipeline::failure() const
{
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    return m_failure;
}

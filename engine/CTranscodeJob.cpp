#include "CTranscodeJob.h"

#include "CClipSequence.h"
#include "EngineLog.h"
#include "MediaInput.h"

#include <chrono>

namespace {

// About a third of a second of pictures up to 720p: enough to keep both threads busy.
// Larger pictures get fewer places, so that the queue stays near 16 MB.
constexpr size_t kQueueCapacity = 12;
constexpr size_t kMinQueueCapacity = 4;
constexpr int64_t kQueueBytes = 16 << 20;

size_t queueCapacityFor(const std::optional<VideoEncoding>& video)
{
    if (!video)
        return kQueueCapacity;
    const int64_t pictureBytes = int64_t(video->format.widthPx) * video->format.heightPx * 3 / 2;
    return std::clamp(size_t(kQueueBytes / std::max<int64_t>(pictureBytes, 1)), kMinQueueCapacity,
                      kQueueCapacity);
}
constexpr int64_t kProgressIntervalMs = 100;

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The sequence that is furthest behind in output time, so both kinds arrive interleaved.
CClipSequence* sequenceBehind(std::optional<CClipSequence>& video, std::optional<CClipSequence>& audio)
{
    CClipSequence* best = nullptr;
    for (std::optional<CClipSequence>* candidate : {&video, &audio}) {
        if (*candidate && !(*candidate)->atEnd() &&
            (!best || (*candidate)->positionSeconds() < best->positionSeconds()))
            best = &**candidate;
    }
    return best;
}

} // namespace

CTranscodeJob::CTranscodeJob(WritePlan plan, Callbacks callbacks)
    : m_plan(std::move(plan)), m_callbacks(std::move(callbacks)), m_queue(queueCapacityFor(m_plan.video)),
      m_coverage(m_plan.totalSeconds)
{
}

CTranscodeJob::~CTranscodeJob()
{
    cancel();
    m_threads.join();
}

void CTranscodeJob::start()
{
    m_threads.start([this] { readFrames(); });
    m_threads.start([this] { writeFrames(); });
}

void CTranscodeJob::cancel()
{
    m_cancel = true;
    m_queue.abort();
}

void CTranscodeJob::readFrames()
{
    std::optional<CClipSequence> video;
    std::optional<CClipSequence> audio;
    if (m_plan.video) {
        const VideoEncoding& encoding = *m_plan.video;
        const VideoFrameFormat format{encoding.format.widthPx, encoding.format.heightPx, encoding.frameRate};
        video = CClipSequence::pictures(m_plan.clips.video, format, &m_cancel, &m_coverage);
    }
    if (m_plan.audio) {
        const AudioFrameFormat format{m_plan.audio->sampleRateHz, m_plan.audio->channels};
        audio = CClipSequence::sound(m_plan.clips.audio, format, &m_cancel, &m_coverage);
    }
    bool failed = false;
    try {
        while (!m_cancel) {
            CClipSequence* next = sequenceBehind(video, audio);
            if (!next)
                break;
            FramePtr frame = allocFrame();
            const int result = frame ? next->readFrame(frame.get()) : AVERROR(ENOMEM);
            if (result == AVERROR_EOF)
                continue;
            if (result < 0) {
                failed = !m_cancel;
                if (failed)
                    recordFailure(next->error().isSet() ? next->error()
                                                        : mediaError(MediaStage::Decode, result));
                break;
            }
            const AVMediaType type = video && next == &*video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
            if (!m_queue.push(QueuedFrame{type, std::move(frame)}))
                break;
        }
    } catch (const std::exception& error) {
        failed = true; // out of memory, in practice
        recordFailure(mediaError(MediaStage::Decode, QString::fromLocal8Bit(error.what())));
    }
    if (failed)
        m_queue.abort();
    else
        m_queue.close();
}

void CTranscodeJob::writeFrames()
{
    JobOutcome outcome = JobOutcome::Failed;
    try {
        MediaError error;
        std::unique_ptr<CMediaWriter> writer =
            CMediaWriter::create(m_plan.outputPath, *m_plan.container, m_plan.video, m_plan.audio, &error);
        if (!writer)
            recordFailure(error);
        else if (writeAll(*writer) && everyStreamDecodes(m_plan.outputPath, &error))
            outcome = JobOutcome::Completed;
        else if (!m_queue.isAborted())
            recordFailure(writer->error().isSet() ? writer->error() : error);
    } catch (const std::exception& error) {
        recordFailure(mediaError(MediaStage::Encode, QString::fromLocal8Bit(error.what())));
    }
    if (m_cancel)
        outcome = JobOutcome::Cancelled;
    if (outcome != JobOutcome::Completed)
        m_queue.abort(); // lets the reading thread go
    else
        reportProgress(m_plan.totalSeconds, true);
    m_callbacks.finished(outcome, failure());
}

// Encodes every queued frame and completes the file; false on any error.
bool CTranscodeJob::writeAll(CMediaWriter& writer)
{
    while (std::optional<QueuedFrame> item = m_queue.pop()) {
        const int result = item->type == AVMEDIA_TYPE_VIDEO ? writer.writeVideo(item->frame.get())
                                                            : writer.writeAudio(item->frame.get());
        if (result < 0)
            return false;
        reportProgress(writer.writtenSeconds(), false);
    }
    // The queue ends either drained after the last frame, or aborted by a failed read or a cancel.
    if (m_queue.isAborted() || m_cancel)
        return false;
    return writer.finish() >= 0;
}

void CTranscodeJob::recordFailure(const MediaError& failure)
{
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    if (!m_failure.isSet())
        m_failure = failure;
}

MediaError CTranscodeJob::failure() const
{
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    return m_failure;
}

void CTranscodeJob::reportProgress(double positionSeconds, bool force)
{
    const int64_t now = nowMs();
    if (!force && m_lastProgressMs >= 0 && now - m_lastProgressMs < kProgressIntervalMs)
        return;
    m_lastProgressMs = now;
    m_callbacks.progress(std::min(positionSeconds, m_plan.totalSeconds), m_plan.totalSeconds);
}

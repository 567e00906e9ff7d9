#include "CTranscodeJob.h"

#include "EngineLog.h"
#include "MediaFilters.h"
#include "MediaInput.h"

#include <chrono>
#include <limits>

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

int64_t pictureCount(const WritePlan& plan)
{
    if (!plan.video || plan.clips.video.empty())
        return 0;
    const MediaClip& clip = plan.clips.video.front();
    return unitsInSpan(clip.endSeconds - clip.startSeconds, plan.video->frameRate);
}

// Segments pay for a single picture from a single-core encoder; one clip keeps the
// cut simple (the window writes one clip a file). The encoder must give each packet
// back for its picture, so that a segment is complete when its last picture is sent.
std::vector<FrameSpan> segmentsFor(const WritePlan& plan, int64_t frames, int workers)
{
    if (!plan.video || plan.container->encoderThreads || plan.clips.video.size() != 1)
        return {};
    const AVCodec* codec = avcodec_find_encoder_by_name(plan.container->videoEncoder);
    if (!codec || (codec->capabilities & AV_CODEC_CAP_DELAY))
        return {};
    return planSegments(frames, plan.video->frameRate, workers);
}

} // namespace

CTranscodeJob::CTranscodeJob(WritePlan plan, Callbacks callbacks, int workers)
    : m_plan(std::move(plan)), m_callbacks(std::move(callbacks)), m_workers(std::max(1, workers)),
      m_queue(queueCapacityFor(m_plan.video)), m_coverage(m_plan.totalSeconds),
      m_frames(pictureCount(m_plan)), m_segmentSpans(segmentsFor(m_plan, m_frames, m_workers)),
      m_segments(m_segmentSpans.size(), size_t(m_workers))
{
}

CTranscodeJob::~CTranscodeJob()
{
    cancel();
    m_threads.join();
}

void CTranscodeJob::start()
{
    if (m_segmentSpans.empty()) {
        m_threads.start([this] { readFrames(); });
    } else {
        for (size_t worker = 0; worker < std::min(size_t(m_workers), m_segmentSpans.size()); ++worker)
            m_threads.start([this] { encodeSegments(); });
    }
    m_threads.start([this] { writeFrames(); });
}

void CTranscodeJob::cancel()
{
    m_cancel = true;
    abortAll();
}

void CTranscodeJob::abortAll()
{
    m_queue.abort();
    m_segments.abort();
}

void CTranscodeJob::readFrames()
{
    std::optional<CClipSequence> video;
    std::optional<CClipSequence> audio;
    if (m_plan.video) {
        const VideoFrameFormat format = frameFormatFor(*m_plan.video, *m_plan.container);
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
                recordReadFailure(*next, result);
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
        std::unique_ptr<CMediaWriter> writer = CMediaWriter::create(
            m_plan.outputPath, *m_plan.container, m_plan.video, m_plan.audio, m_plan.facts, &error);
        if (!writer)
            recordFailure(error);
        else if ((m_segmentSpans.empty() ? writeAll(*writer) : writeSegments(*writer)) &&
                 everyStreamDecodes(m_plan.outputPath, &error))
            outcome = JobOutcome::Completed;
        else if (!m_queue.isAborted())
            recordFailure(writer->error().isSet() ? writer->error() : error);
    } catch (const std::exception& error) {
        recordFailure(mediaError(MediaStage::Encode, QString::fromLocal8Bit(error.what())));
    }
    if (m_cancel)
        outcome = JobOutcome::Cancelled;
    if (outcome != JobOutcome::Completed)
        abortAll(); // lets the reading threads go
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

// Each worker keeps one encoder for all its segments: its rate control then sees one
// continuous stream, as on the two-thread path, instead of starting afresh (and
// overspending at every start) in each segment.
void CTranscodeJob::encodeSegments()
{
    try {
        MediaError error;
        SegmentEncoder encoder{openVideoEncoder(*m_plan.video, *m_plan.container, &error), allocFrame(),
                               allocPacket()};
        if (!encoder.context || !encoder.frame || !encoder.packet) {
            recordFailure(error.isSet() ? error : mediaError(MediaStage::Encode, AVERROR(ENOMEM)));
            m_segments.abort();
            return;
        }
        while (const std::optional<size_t> index = m_segments.take()) {
            if (!encodeSegment(*index, encoder)) {
                m_segments.abort();
                break;
            }
        }
    } catch (const std::exception& error) {
        recordFailure(mediaError(MediaStage::Encode, QString::fromLocal8Bit(error.what())));
        m_segments.abort();
    }
}

// One segment from its own reader, seeking to the segment's start; its first picture
// is made a key frame. Packets get the pts the two-thread path gives them. The muxer
// accounts for padded pictures, in output order with the sound.
bool CTranscodeJob::encodeSegment(size_t index, SegmentEncoder& encoder)
{
    const FrameSpan& span = m_segmentSpans[index];
    const VideoEncoding& encoding = *m_plan.video;
    const VideoFrameFormat format = frameFormatFor(encoding, *m_plan.container);
    CClipSequence pictures =
        CClipSequence::pictures({segmentClip(m_plan.clips.video.front(), span, m_frames, encoding.frameRate)},
                                format, &m_cancel, nullptr);
    const int64_t shift = span.first - encoder.sent;
    FrameOrigin origin = FrameOrigin::Source;
    const auto deliver = [&](AVPacket* encoded) {
        PacketPtr copy(av_packet_clone(encoded));
        if (!copy)
            return AVERROR(ENOMEM);
        copy->pts += shift;
        copy->dts += shift;
        m_segments.deliver(index, EncodedPicture{std::move(copy), origin});
        return 0;
    };
    AVFrame* frame = encoder.frame.get();
    for (int64_t done = 0; !m_cancel; ++done) {
        int result = pictures.readFrame(frame);
        if (result == AVERROR_EOF) {
            m_segments.complete(index);
            return true;
        }
        if (result < 0) {
            recordReadFailure(pictures, result);
            return false;
        }
        origin = pictures.lastOrigin();
        frame->pts = encoder.sent++; // the rate control spends by pts
        frame->pict_type = done == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        result = encodePackets(encoder.context.get(), frame, encoder.packet.get(), deliver);
        av_frame_unref(frame);
        if (result < 0) {
            recordFailure(mediaError(MediaStage::Encode, result));
            return false;
        }
    }
    return false;
}

// Muxes the segments' pictures in order, with the sound read and encoded up to each.
bool CTranscodeJob::writeSegments(CMediaWriter& writer)
{
    std::optional<CClipSequence> sound;
    if (m_plan.audio) {
        const AudioFrameFormat format{m_plan.audio->sampleRateHz, m_plan.audio->channels};
        sound = CClipSequence::sound(m_plan.clips.audio, format, &m_cancel, &m_coverage);
    }
    const double secondsPerFrame = av_q2d(av_inv_q(m_plan.video->frameRate));
    while (std::optional<EncodedPicture> picture = m_segments.next()) {
        const double startSeconds = double(picture->packet->pts) * secondsPerFrame;
        if (!writeSoundUntil(writer, sound, startSeconds))
            return false;
        if (!m_coverage.admit(picture->origin, startSeconds + secondsPerFrame)) {
            recordFailure(m_coverage.shortfall(m_plan.clips.video.front().path));
            return false;
        }
        if (writer.writeVideoPacket(picture->packet.get()) < 0)
            return false;
        reportProgress(writer.writtenSeconds(), false);
    }
    if (m_segments.isAborted() || m_cancel)
        return false;
    return writeSoundUntil(writer, sound, std::numeric_limits<double>::infinity()) && writer.finish() >= 0;
}

bool CTranscodeJob::writeSoundUntil(CMediaWriter& writer, std::optional<CClipSequence>& sound, double seconds)
{
    while (sound && !sound->atEnd() && sound->positionSeconds() < seconds) {
        const FramePtr frame = allocFrame();
        const int result = frame ? sound->readFrame(frame.get()) : AVERROR(ENOMEM);
        if (result == AVERROR_EOF)
            continue;
        if (result < 0) {
            recordReadFailure(*sound, result);
            return false;
        }
        if (writer.writeAudio(frame.get()) < 0)
            return false;
    }
    return true;
}

// A stopped write's read errors are no failure of their own.
void CTranscodeJob::recordReadFailure(const CClipSequence& sequence, int result)
{
    if (!m_cancel)
        recordFailure(sequence.error().isSet() ? sequence.error() : mediaError(MediaStage::Decode, result));
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

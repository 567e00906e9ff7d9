#include "CTranscodeJob.h"

#include "EngineLog.h"
#include "MediaFilters.h"
#include "MediaInput.h"
#include "MediaPaths.h"

#include <QDir>
#include <QRandomGenerator>

#include <chrono>
#include <cstring>
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
// The share of the bar the first of two passes fills: it runs several times as fast.
constexpr double kFirstPassShare = 0.25;
constexpr int64_t kLivenessIntervalMs = 2000;
// Reading one kind a little past the other's position keeps each read making progress.
constexpr double kInterleaveStepSeconds = 1e-6;

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

// libx264 keeps its first pass in a file of its own (and a second one beside it).
QString x264StatsFile(const WritePlan& plan)
{
    if (plan.targetBytes <= 0 || !plan.video || std::strcmp(plan.container->videoEncoder, "libx264") != 0)
        return QString();
    const quint32 token = QRandomGenerator::global()->generate();
    return QDir::temp().filePath(QStringLiteral("vv-%1-x264.log").arg(token, 8, 16, QLatin1Char('0')));
}

} // namespace

CTranscodeJob::CTranscodeJob(WritePlan plan, Callbacks callbacks, int workers)
    : m_plan(std::move(plan)), m_callbacks(std::move(callbacks)), m_workers(std::max(1, workers)),
      m_queue(queueCapacityFor(m_plan.video)), m_coverage(m_plan.totalSeconds),
      m_frames(pictureCount(m_plan)), m_segmentSpans(segmentsFor(m_plan, m_frames, m_workers)),
      m_workerStats(segmentWorkers()), m_statsFile(x264StatsFile(m_plan))
{
    for (int pass = 0; pass < passCount(); ++pass)
        m_passSegments.push_back(std::make_unique<CSegmentQueue>(m_segmentSpans.size(), segmentWorkers()));
}

CTranscodeJob::~CTranscodeJob()
{
    cancel();
    m_threads.join();
    if (!m_statsFile.isEmpty()) {
        removeFile(m_statsFile);
        removeFile(m_statsFile + QStringLiteral(".mbtree"));
    }
}

void CTranscodeJob::start()
{
    if (m_segmentSpans.empty()) {
        m_threads.start([this] { guarded(MediaStage::Decode, [this] { readFrames(); }); });
    } else {
        for (size_t worker = 0; worker < segmentWorkers(); ++worker)
            m_threads.start([this, worker] { guarded(MediaStage::Encode, [this, worker] { encodeSegments(worker); }); });
    }
    m_threads.start([this] { writeFrames(); });
}

// A worker for each segment at most.
size_t CTranscodeJob::segmentWorkers() const
{
    return std::min(size_t(m_workers), m_segmentSpans.size());
}

void CTranscodeJob::cancel()
{
    m_cancel = true;
    m_pause.release();
    abortAll();
}

void CTranscodeJob::abortAll()
{
    m_queue.abort();
    for (const std::unique_ptr<CSegmentQueue>& segments : m_passSegments)
        segments->abort();
}

void CTranscodeJob::guarded(MediaStage stage, const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        recordFailure(mediaError(stage, QString::fromLocal8Bit(error.what())), 0.0);
        abortAll();
    }
}

// One pass: the plan's own encoding. Of two: a fast first pass that notes where the
// bits are needed, then a second at the rate that fills the target, spent as noted.
VideoEncoding CTranscodeJob::passEncoding(int pass, const QByteArray& stats) const
{
    VideoEncoding encoding = *m_plan.video;
    if (passCount() == 1)
        return encoding;
    encoding.rate.statsFile = m_statsFile;
    if (pass == 0) {
        // At about the rate of the second, whose encoder reads the first's notes as
        // spent at it (measured: wmv2 overshot 5 % from the profile's rate).
        const int64_t soundBytes = m_plan.audio ? int64_t(m_plan.audio->bitrateBps * m_plan.totalSeconds / 8) : 0;
        const int64_t estimate = targetVideoBitrate(m_plan.targetBytes, soundBytes, 0, videoSeconds());
        encoding.rate.kind = RateControl::Kind::FirstPass;
        encoding.format.bitrateBps = int(std::clamp<int64_t>(estimate, kMinVideoBitrateBps, kMaxVideoBitrateBps));
        encoding.format.quality = 0; // the slower, better encode is for the file itself
    } else {
        encoding.rate.kind = RateControl::Kind::SecondPass;
        encoding.rate.stats = stats;
        encoding.format.bitrateBps = int(std::min<int64_t>(m_secondPassBitrateBps, INT32_MAX));
    }
    return encoding;
}

double CTranscodeJob::videoSeconds() const
{
    return double(m_frames) / av_q2d(m_plan.video->frameRate);
}

CClipSequence CTranscodeJob::pictureSequence(std::vector<MediaClip> clips) const
{
    const VideoFrameFormat format = frameFormatFor(*m_plan.video, *m_plan.container);
    return CClipSequence::pictures(std::move(clips), format, &m_cancel, &m_pause);
}

CClipSequence CTranscodeJob::soundSequence() const
{
    const AudioFrameFormat format{m_plan.audio->sampleRateHz, m_plan.audio->channels};
    return CClipSequence::sound(m_plan.clips.audio, format, &m_cancel, &m_pause);
}

// Each pass reads the clips from their start; an empty frame between passes tells the
// writer where one ends.
void CTranscodeJob::readFrames()
{
    for (int pass = 0; pass < passCount(); ++pass) {
        std::optional<CClipSequence> video;
        std::optional<CClipSequence> audio;
        if (m_plan.video)
            video = pictureSequence(m_plan.clips.video);
        if (m_plan.audio)
            audio = soundSequence();
        if (readInterleaved(video, audio) < 0 ||
            (!isLastPass(pass) && !m_queue.push(QueuedFrame{AVMEDIA_TYPE_UNKNOWN, nullptr}))) {
            m_queue.abort();
            return;
        }
    }
    m_queue.close();
}

// Both kinds in output order: each is read up to where the other has got to.
int CTranscodeJob::readInterleaved(std::optional<CClipSequence>& video, std::optional<CClipSequence>& audio)
{
    for (std::optional<CClipSequence>* sequence : {&video, &audio}) {
        if (*sequence) {
            if (const int result = (*sequence)->open(); result < 0) {
                recordReadFailure(**sequence, result);
                return result;
            }
        }
    }
    while (CClipSequence* next = sequenceBehind(video, audio)) {
        const bool isVideo = video && next == &*video;
        CClipSequence* other = isVideo ? (audio ? &*audio : nullptr) : (video ? &*video : nullptr);
        const bool otherRuns = other && !other->atEnd();
        const double untilSeconds = otherRuns ? other->positionSeconds() + kInterleaveStepSeconds
                                              : std::numeric_limits<double>::infinity();
        const AVMediaType type = isVideo ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
        const int result = next->readUntil(untilSeconds, [&](CClipSequence::Frame frame) {
            QueuedFrame item{type, std::move(frame.frame), frame.origin, frame.endSeconds, next->currentPath()};
            return m_queue.push(std::move(item)) ? 0 : AVERROR_EXIT;
        });
        if (result < 0) {
            if (result != AVERROR_EXIT)
                recordReadFailure(*next, result);
            return result;
        }
    }
    return 0;
}

void CTranscodeJob::writeFrames()
{
    JobOutcome outcome = JobOutcome::Failed;
    guarded(MediaStage::Encode, [this, &outcome] {
        for (m_pass = 0; m_pass < passCount(); ++m_pass) {
            if (!writePass(m_pass))
                return;
        }
        MediaError error;
        if (!outputStillThere(m_plan.totalSeconds))
            return;
        if (everyStreamDecodes(m_plan.outputPath, &error))
            outcome = JobOutcome::Completed;
        else
            recordFailure(error, m_plan.totalSeconds);
    });
    if (m_cancel)
        outcome = JobOutcome::Cancelled;
    if (outcome != JobOutcome::Completed)
        abortAll(); // lets the reading threads go
    else
        reportProgress(m_plan.totalSeconds, true);
    m_callbacks.finished(outcome, failure());
}

// A first pass writes nowhere: it counts the bytes the file would take, and its
// encoder notes where the picture needs its bits.
bool CTranscodeJob::writePass(int pass)
{
    MediaError error;
    // With segments the writer's encoder only describes the stream: the workers encode.
    std::optional<VideoEncoding> video = m_plan.video;
    if (video && m_segmentSpans.empty())
        video = passEncoding(pass, m_passStats);
    std::unique_ptr<CMediaWriter> writer =
        isLastPass(pass)
            ? CMediaWriter::create(m_plan.outputPath, *m_plan.container, video, m_plan.audio, m_plan.facts, &error)
            : CMediaWriter::createCounting(*m_plan.container, video, m_plan.audio, &error);
    if (!writer) {
        recordFailure(error, 0.0);
        return false;
    }
    m_coverage.restart();
    const bool written = m_segmentSpans.empty() ? writeQueued(*writer)
                                                : writeSegments(*writer, *m_passSegments[size_t(pass)]);
    if (written && !isLastPass(pass))
        planSecondPass(*writer);
    return written;
}

// What the sound and the container took in the first pass is taken again in the
// second; the picture gets the rest. Segment workers keep their own notes.
void CTranscodeJob::planSecondPass(const CMediaWriter& firstPass)
{
    const CMediaWriter::Bytes& bytes = firstPass.bytes();
    const int64_t overhead = std::max<int64_t>(0, bytes.file - bytes.video - bytes.audio);
    const int64_t bitrate = targetVideoBitrate(m_plan.targetBytes, bytes.audio, overhead, videoSeconds());
    m_secondPassBitrateBps = std::clamp<int64_t>(bitrate, kMinVideoBitrateBps, kMaxVideoBitrateBps);
    m_passStats = firstPass.passStats();
    qCDebug(lcEngine, "First pass: %lld bytes of picture, %lld of sound, %lld of container; second at %lld b/s",
            qlonglong(bytes.video), qlonglong(bytes.audio), qlonglong(overhead), qlonglong(m_secondPassBitrateBps));
}

bool CTranscodeJob::writeQueued(CMediaWriter& writer)
{
    while (std::optional<QueuedFrame> item = m_queue.pop()) {
        if (item->type == AVMEDIA_TYPE_UNKNOWN)
            break; // the end of a pass
        if (!writeItem(writer, *item))
            return false;
    }
    return finishWrite(writer, nullptr);
}

// The one step of every write: a frame (or a picture a segment has encoded) is admitted
// in output order, so that padding never runs far past the data, then written.
bool CTranscodeJob::writeItem(CMediaWriter& writer, const QueuedFrame& item, AVPacket* encoded)
{
    m_pause.pass();
    if (!m_coverage.admit(item.origin, item.endSeconds)) {
        recordFailure(m_coverage.shortfall(item.source), m_coverage.reached());
        return false;
    }
    const int result = encoded                           ? writer.writeVideoPacket(encoded)
                       : item.type == AVMEDIA_TYPE_VIDEO ? writer.writeVideo(item.frame.get())
                                                         : writer.writeAudio(item.frame.get());
    if (result < 0) {
        recordFailure(writer.error(), item.endSeconds);
        return false;
    }
    reportProgress(writer.writtenSeconds(), false);
    return outputStillThere(item.endSeconds);
}

// The queue or the segments end either drained after the last frame, or aborted by a
// failure or a cancel.
bool CTranscodeJob::finishWrite(CMediaWriter& writer, const CSegmentQueue* segments)
{
    if (m_queue.isAborted() || (segments && segments->isAborted()) || m_cancel)
        return false;
    if (writer.finish() >= 0)
        return true;
    recordFailure(writer.error(), m_plan.totalSeconds);
    return false;
}

// A file whose folder was removed can never be delivered: found out every few seconds
// rather than at the end of a long write.
bool CTranscodeJob::outputStillThere(double positionSeconds)
{
    const int64_t now = nowMs();
    const bool due = m_lastLivenessMs < 0 || now - m_lastLivenessMs >= kLivenessIntervalMs ||
                     positionSeconds >= m_plan.totalSeconds;
    if (!due || !isLastPass(m_pass))
        return true;
    m_lastLivenessMs = now;
    MediaError gone;
    if (pathStillExists(m_plan.outputPath, &gone))
        return true;
    recordFailure(gone, positionSeconds);
    return false;
}

// Muxes the segments' pictures in order, with the sound read and encoded up to each.
bool CTranscodeJob::writeSegments(CMediaWriter& writer, CSegmentQueue& segments)
{
    std::optional<CClipSequence> sound;
    if (m_plan.audio) {
        sound = soundSequence();
        if (const int result = sound->open(); result < 0) {
            recordReadFailure(*sound, result);
            return false;
        }
    }
    const bool opened = openSegments(segments);
    segments.open();
    if (!opened && m_segmentSources.empty())
        return false;
    const double secondsPerFrame = av_q2d(av_inv_q(m_plan.video->frameRate));
    const QString source = m_plan.clips.video.front().path;
    while (std::optional<EncodedPicture> picture = segments.next()) {
        const double startSeconds = double(picture->packet->pts) * secondsPerFrame;
        if (sound && !writeSound(writer, *sound, startSeconds))
            return false;
        const QueuedFrame item{AVMEDIA_TYPE_VIDEO, nullptr, picture->origin, startSeconds + secondsPerFrame, source};
        if (!writeItem(writer, item, picture->packet.get()))
            return false;
    }
    // A segment that failed after the data had run out reads as the data's end: its span
    // counts as padding, which the coverage allows only just past the data.
    const std::optional<size_t> failed = segments.stoppedAt();
    if (failed && !m_coverage.admit(FrameOrigin::Padding, segmentEndSeconds(*failed)))
        recordFailure(m_coverage.shortfall(source), m_coverage.reached());
    if (sound && !segments.isAborted() && !writeSound(writer, *sound, std::numeric_limits<double>::infinity()))
        return false;
    return finishWrite(writer, &segments);
}

// Every segment's source is opened before any segment of the pass encodes, so that a
// source changed or removed during the write reads the same as on the two-thread path.
// One that cannot be opened fails there: the segments before it are still written.
bool CTranscodeJob::openSegments(CSegmentQueue& segments)
{
    m_segmentSources.clear();
    const MediaClip& clip = m_plan.clips.video.front();
    for (size_t index = 0; index < m_segmentSpans.size() && !m_cancel; ++index) {
        CClipSequence pictures =
            pictureSequence({segmentClip(clip, m_segmentSpans[index], m_frames, m_plan.video->frameRate)});
        if (const int result = pictures.open(); result < 0) {
            recordFailure(pictures.error().isSet() ? pictures.error() : mediaError(MediaStage::Open, result),
                          segmentStartSeconds(index));
            segments.fail(index);
            return false;
        }
        m_segmentSources.push_back(std::move(pictures));
    }
    return !m_cancel;
}

bool CTranscodeJob::writeSound(CMediaWriter& writer, CClipSequence& sound, double untilSeconds)
{
    const int result = sound.readUntil(untilSeconds, [&](CClipSequence::Frame frame) {
        const QueuedFrame item{AVMEDIA_TYPE_AUDIO, std::move(frame.frame), frame.origin, frame.endSeconds,
                               sound.currentPath()};
        return writeItem(writer, item) ? 0 : AVERROR_EXIT;
    });
    if (result < 0 && result != AVERROR_EXIT)
        recordReadFailure(sound, result);
    return result >= 0;
}

// Each worker keeps one encoder for all its segments of a pass: its rate control then
// sees one continuous stream, as on the two-thread path, instead of starting afresh (and
// overspending at every start) in each segment. It always takes the same segments, so
// a second pass finds in its own first pass's notes exactly the pictures it encodes.
void CTranscodeJob::encodeSegments(size_t worker)
{
    for (int pass = 0; pass < passCount(); ++pass) {
        CSegmentQueue& segments = *m_passSegments[size_t(pass)];
        SegmentEncoder encoder;
        QByteArray* notes = isLastPass(pass) ? nullptr : &m_workerStats[worker];
        while (const std::optional<size_t> index = segments.take(worker)) {
            if (!encoder.context) {
                MediaError error;
                encoder = SegmentEncoder{
                    openVideoEncoder(passEncoding(pass, m_workerStats[worker]), *m_plan.container, &error),
                    allocPacket()};
                if (!encoder.context || !encoder.packet) {
                    recordFailure(error.isSet() ? error : mediaError(MediaStage::Encode, AVERROR(ENOMEM)), 0.0);
                    abortAll();
                    return;
                }
            }
            if (!encodeSegment(*index, encoder, segments, notes))
                return;
        }
    }
}

// One segment from its own reader, seeking to the segment's start; its first picture
// is made a key frame. Packets get the pts the two-thread path gives them; a failure
// stops the pictures at its place, and the muxer writes those before it.
bool CTranscodeJob::encodeSegment(size_t index, SegmentEncoder& encoder, CSegmentQueue& segments,
                                  QByteArray* stats)
{
    const FrameSpan& span = m_segmentSpans[index];
    CClipSequence& pictures = *m_segmentSources[index];
    const int64_t shift = span.first - encoder.sent;
    FrameOrigin origin = FrameOrigin::Source;
    const auto deliver = [&](AVPacket* encoded) {
        if (stats)
            takePassStats(encoder.context.get(), false, stats);
        PacketPtr copy(av_packet_clone(encoded));
        if (!copy)
            return AVERROR(ENOMEM);
        copy->pts += shift;
        copy->dts += shift;
        return segments.deliver(index, EncodedPicture{std::move(copy), origin}) ? 0 : AVERROR_EXIT;
    };
    int64_t done = 0;
    int encodeResult = 0;
    const auto encode = [&](CClipSequence::Frame frame) {
        origin = frame.origin;
        frame.frame->pts = encoder.sent++; // the rate control spends by pts
        frame.frame->pict_type = done++ == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        stampFixedQuality(encoder.context.get(), frame.frame.get());
        encodeResult = encodePackets(encoder.context.get(), frame.frame.get(), encoder.packet.get(), deliver);
        return encodeResult;
    };
    const int result = pictures.readUntil(std::numeric_limits<double>::infinity(), encode);
    const bool failed = result < 0 && result != AVERROR_EXIT && !m_cancel;
    if (failed && encodeResult < 0)
        recordFailure(mediaError(MediaStage::Encode, encodeResult),
                      segmentStartSeconds(index) + pictures.positionSeconds());
    else if (failed)
        recordReadFailure(pictures, result, segmentStartSeconds(index));
    // Done with before the muxer hears of it: the next pass opens the sources afresh.
    m_segmentSources[index].reset();
    if (result >= 0)
        segments.complete(index);
    else if (failed)
        segments.fail(index);
    return result >= 0;
}

double CTranscodeJob::segmentStartSeconds(size_t index) const
{
    return double(m_segmentSpans[index].first) * av_q2d(av_inv_q(m_plan.video->frameRate));
}

double CTranscodeJob::segmentEndSeconds(size_t index) const
{
    return double(m_segmentSpans[index].end) * av_q2d(av_inv_q(m_plan.video->frameRate));
}

// A stopped write's read errors are no failure of their own; a read error is placed
// where its sequence had got to (a segment's, from the segment's start).
void CTranscodeJob::recordReadFailure(const CClipSequence& sequence, int result, double offsetSeconds)
{
    if (!m_cancel)
        recordFailure(sequence.error().isSet() ? sequence.error() : mediaError(MediaStage::Decode, result),
                      offsetSeconds + sequence.positionSeconds());
}

// The failure reported is the one earliest in the output: workers running ahead may
// fail further on first, but the user wants to know what stops the file soonest.
void CTranscodeJob::recordFailure(const MediaError& failure, double positionSeconds)
{
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    if (!m_failure.isSet() || positionSeconds < m_failureSeconds) {
        m_failure = failure;
        m_failureSeconds = positionSeconds;
    }
}

MediaError CTranscodeJob::failure() const
{
    const std::lock_guard<std::mutex> lock(m_failureMutex);
    return m_failure;
}

// Two passes share the bar: the first fills its first quarter.
void CTranscodeJob::reportProgress(double positionSeconds, bool force)
{
    const int64_t now = nowMs();
    if (!force && m_lastProgressMs >= 0 && now - m_lastProgressMs < kProgressIntervalMs)
        return;
    m_lastProgressMs = now;
    const double total = m_plan.totalSeconds;
    double position = std::min(positionSeconds, total);
    if (passCount() == 2)
        position = m_pass == 0 ? position * kFirstPassShare : total * kFirstPassShare + position * (1.0 - kFirstPassShare);
    m_callbacks.progress(std::min(position, total), total);
}

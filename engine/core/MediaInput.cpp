#include "MediaInput.h"

#include "CCLocaleScope.h"
#include "CDataCoverage.h"
#include "EngineLog.h"
#include "MediaFilters.h"
#include "MediaPaths.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

// A local file probes in milliseconds; a few seconds means it never will.
constexpr int64_t kProbeTimeoutMs = 5000;
// One packet of a local file takes microseconds to read.
constexpr int64_t kReadTimeoutMs = 10000;
// The last stretch of a file read to find where its data really ends.
constexpr int64_t kTailBytes = 1 << 20;
constexpr int kMaxTailPackets = 20000;
// Past the end of any file's data, as a first time to seek to: about eleven days.
constexpr double kFarSeconds = 1e6;
constexpr double kBackOffFactor = 4.0;

int64_t steadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// What interrupts FFmpeg while it works on one input: the owner's cancel flag, or
// the deadline of the current open, probe or read. Owned by the input's context.
struct InputWatch
{
    const std::atomic_bool* cancel = nullptr;
    std::atomic<int64_t> deadlineMs{0};
};

int interruptRequested(void* opaque)
{
    const auto* watch = static_cast<const InputWatch*>(opaque);
    return (watch->cancel && watch->cancel->load()) || steadyNowMs() > watch->deadlineMs.load();
}

InputWatch* watchOf(AVFormatContext* format)
{
    return format->interrupt_callback.callback == interruptRequested
               ? static_cast<InputWatch*>(format->interrupt_callback.opaque)
               : nullptr;
}

void armDeadline(AVFormatContext* format, int64_t timeoutMs)
{
    if (InputWatch* watch = watchOf(format))
        watch->deadlineMs = steadyNowMs() + timeoutMs;
}

// Where the packet ends, in seconds from the file's start; negative when untimed.
double packetEndSeconds(const AVFormatContext* format, const AVPacket& packet)
{
    const int64_t stamp = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    if (stamp == AV_NOPTS_VALUE || packet.stream_index < 0 ||
        unsigned(packet.stream_index) >= format->nb_streams)
        return -1.0;
    const AVRational timeBase = format->streams[packet.stream_index]->time_base;
    // In floating point: hostile timestamps must not overflow.
    const double end = (double(stamp) + double(std::max<int64_t>(packet.duration, 0))) * av_q2d(timeBase);
    const double start =
        format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    return end - start;
}

// The end of the data read off the packets from where the input stands to the end of
// the file; negative when no packet comes, or the end is not reached within the
// packet budget or the deadline.
double readDataEnd(AVFormatContext* format)
{
    const PacketPtr packet = allocPacket();
    double end = -1.0;
    for (int count = 0; packet && count < kMaxTailPackets; ++count) {
        const int result = av_read_frame(format, packet.get());
        if (result == AVERROR_EXIT)
            return -1.0;
        if (result < 0)
            return end; // the end of the file, or data no reader gets past either
        end = std::max(end, packetEndSeconds(format, *packet));
        av_packet_unref(packet.get());
    }
    return -1.0;
}

// The last stretch of the file by byte position, where the container allows it.
double dataEndByBytes(AVFormatContext* format, int64_t size)
{
    if (av_seek_frame(format, -1, std::max<int64_t>(0, size - kTailBytes), AVSEEK_FLAG_BYTE) < 0)
        return -1.0;
    return readDataEnd(format);
}

// By time: first to far past any real end, where the container's index leads to its
// last key frame, then back towards the start until a seek lands on packets.
double dataEndByTime(AVFormatContext* format, double claimedSeconds)
{
    const double startUs = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time);
    for (double targetSeconds = std::max(claimedSeconds, kFarSeconds);; targetSeconds /= kBackOffFactor) {
        if (targetSeconds < 1.0)
            targetSeconds = 0.0;
        // In floating point: a hostile start or length must not overflow.
        const double target = std::clamp(startUs + targetSeconds * AV_TIME_BASE, 0.0, double(INT64_MAX / 2));
        if (avformat_seek_file(format, -1, INT64_MIN, int64_t(target), int64_t(target), 0) >= 0) {
            if (const double end = readDataEnd(format); end >= 0.0)
                return end;
        }
        const InputWatch* watch = watchOf(format);
        if (targetSeconds == 0.0 || (watch && interruptRequested(const_cast<InputWatch*>(watch))))
            return -1.0;
    }
}

// The end of the data in seconds from the file's start; negative when it cannot be told.
// AVI times its packets by counting them from where it was last sought by time, so
// after a byte seek their times would come out early (a 90 s file "ending" at 17 s):
// it is only sought by time, like the containers that refuse byte seeks (MP4, MOV). A
// byte seek that finds nothing (Matroska lands between its elements) is retried by time.
double dataEndSecondsOf(AVFormatContext* format, double claimedSeconds)
{
    const int64_t size = format->pb ? avio_size(format->pb) : -1;
    if (size <= 0)
        return -1.0;
    const bool bytesWork = !(format->iformat->flags & AVFMT_NO_BYTE_SEEK) &&
                           std::strcmp(format->iformat->name, "avi") != 0;
    const double end = bytesWork ? dataEndByBytes(format, size) : -1.0;
    return end >= 0.0 ? end : dataEndByTime(format, claimedSeconds);
}

} // namespace

void InputFormatCloser::operator()(AVFormatContext* ctx) const
{
    InputWatch* watch = watchOf(ctx);
    avformat_close_input(&ctx);
    delete watch;
}

InputFormatPtr openMediaInput(const QString& path, const std::atomic_bool* cancel, MediaError* error)
{
    const auto fail = [error, &path](MediaStage stage, const QString& detail) {
        if (error)
            *error = mediaError(stage, detail, path);
        return nullptr;
    };
    if (path.isEmpty())
        return fail(MediaStage::Open, QStringLiteral("no file name"));
    switch (pathKind(path)) {
    case PathKind::Missing:
        // Qt replaced what was not UTF-8 in the name before it came here: no such file is left.
        return fail(MediaStage::Open, HasLostBytes(path)
                                          ? QStringLiteral("the file's name is not UTF-8, and was lost on the way")
                                          : QStringLiteral("the file does not exist"));
    case PathKind::File: break;
    case PathKind::Folder:
    case PathKind::Other: return fail(MediaStage::Open, QStringLiteral("not a regular file"));
    }

    routeFfmpegLog();
    const CCLocaleScope cNumbers;
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return fail(MediaStage::Open, avErrorText(AVERROR(ENOMEM)));
    auto* watch = new InputWatch;
    watch->cancel = cancel;
    watch->deadlineMs = steadyNowMs() + kProbeTimeoutMs;
    raw->interrupt_callback = AVIOInterruptCB{interruptRequested, watch};
    int result = avformat_open_input(&raw, ffmpegUrlFor(path).constData(), nullptr, nullptr);
    if (result < 0) {
        delete watch; // FFmpeg has freed the context
        return fail(MediaStage::Open, avErrorText(result));
    }
    InputFormatPtr format(raw);
    // Programme streams carry their length only once the streams are probed.
    if ((result = avformat_find_stream_info(format.get(), nullptr)) < 0)
        return fail(MediaStage::Probe, avErrorText(result));
    armReadDeadline(format.get());
    return format;
}

void armReadDeadline(AVFormatContext* format)
{
    armDeadline(format, kReadTimeoutMs);
}

CodecContextPtr openDecoder(const AVStream* stream, int threadCount)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return nullptr;
    CodecContextPtr decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return nullptr;
    decoder->pkt_timebase = stream->time_base;
    decoder->thread_count = threadCount;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return nullptr;
    return decoder;
}

QString noDecoderReason(const AVStream* stream)
{
    const AVCodecID codec = stream->codecpar->codec_id;
    if (codec == AV_CODEC_ID_NONE)
        return QStringLiteral("no decoder for this stream's format");
    return QStringLiteral("no decoder for %1").arg(QLatin1String(avcodec_get_name(codec)));
}

double durationSecondsOf(const AVFormatContext* format)
{
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        return double(format->duration) / AV_TIME_BASE;
    return 0.0;
}

double verifiedDurationSecondsOf(AVFormatContext* format)
{
    const double claimed = durationSecondsOf(format);
    if (claimed <= 0.0)
        return 0.0;
    armDeadline(format, kProbeTimeoutMs);
    const double dataEnd = dataEndSecondsOf(format, claimed);
    armReadDeadline(format);
    // Either way, within the same tolerance: a header may claim too much or too little.
    if (dataEnd > 0.0 && (endsEarly(dataEnd, claimed) || endsEarly(claimed, dataEnd))) {
        qCWarning(lcEngine, "%s claims %.3f s; its data ends at %.3f s", format->url, claimed, dataEnd);
        return dataEnd;
    }
    return claimed;
}

int bestStreamIndex(AVFormatContext* format, AVMediaType type)
{
    const int index = av_find_best_stream(format, type, -1, -1, nullptr, 0);
    if (index < 0)
        return -1;
    // A cover picture is not a picture stream.
    if (format->streams[index]->disposition & AV_DISPOSITION_ATTACHED_PIC)
        return -1;
    return index;
}

double probeDurationSeconds(const QString& path, MediaError* error)
{
    const std::optional<MediaInfo> info = inspectMedia(path, error);
    return info ? info->durationSeconds : 0.0;
}

namespace {

// What the write checks need of an opened input; empty, with the problem, when it
// has no picture or sound, no decoder for one, or no known length.
MediaInfo describeInput(AVFormatContext* format, const QString& path, MediaError* problem)
{
    MediaInfo info;
    const int videoIndex = bestStreamIndex(format, AVMEDIA_TYPE_VIDEO);
    const int audioIndex = bestStreamIndex(format, AVMEDIA_TYPE_AUDIO);
    info.hasVideo = videoIndex >= 0;
    info.hasAudio = audioIndex >= 0;
    if (!info.hasVideo && !info.hasAudio) {
        *problem = mediaError(MediaStage::Probe, QStringLiteral("no picture or sound"), path);
        return info;
    }
    for (const int index : {videoIndex, audioIndex}) {
        const AVStream* stream = index >= 0 ? format->streams[index] : nullptr;
        if (stream && !openDecoder(stream, 1)) {
            *problem = mediaError(MediaStage::Decode, noDecoderReason(stream), path);
            return info;
        }
    }
    if (info.hasVideo)
        info.videoFrameRate = av_guess_frame_rate(format, format->streams[videoIndex], nullptr);
    info.facts = readFacts(format, videoIndex, audioIndex);
    if ((info.durationSeconds = verifiedDurationSecondsOf(format)) <= 0.0)
        *problem = mediaError(MediaStage::Probe, QStringLiteral("the length is unknown"), path);
    return info;
}

} // namespace

std::optional<MediaInfo> inspectMedia(const QString& path, MediaError* error)
{
    MediaError problem;
    MediaInfo info;
    if (const InputFormatPtr format = openMediaInput(path, nullptr, &problem))
        info = describeInput(format.get(), path, &problem);
    if (!problem.isSet())
        return info;
    qCWarning(lcEngine, "%s", qPrintable(problem.text()));
    if (error)
        *error = problem;
    return std::nullopt;
}

AVRational clipListFrameRate(const std::vector<MediaClip>& clips, AVRational maxRate,
                             const MediaInspector& inspect)
{
    for (const MediaClip& clip : clips) {
        const std::optional<MediaInfo> info = inspect(clip.path);
        if (info && info->hasVideo)
            return cappedFrameRate(info->videoFrameRate, maxRate);
    }
    return maxRate;
}

bool everyStreamDecodes(const QString& path, MediaError* error)
{
    const InputFormatPtr format = openMediaInput(path, nullptr, error);
    if (!format)
        return false;
    std::vector<CodecContextPtr> decoders(format->nb_streams);
    size_t waiting = 0; // streams that have not given a frame yet
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        if ((decoders[i] = openDecoder(format->streams[i], 1)))
            ++waiting;
    }
    const PacketPtr packet = allocPacket();
    const FramePtr frame = allocFrame();
    if (!packet || !frame)
        return false;
    while (waiting > 0 && av_read_frame(format.get(), packet.get()) >= 0) {
        CodecContextPtr& decoder = decoders[size_t(packet->stream_index)];
        if (decoder && avcodec_send_packet(decoder.get(), packet.get()) >= 0 &&
            avcodec_receive_frame(decoder.get(), frame.get()) >= 0) {
            decoder.reset(); // this one is proven
            --waiting;
        }
        av_packet_unref(packet.get());
    }
    for (CodecContextPtr& decoder : decoders) { // decoders that hold frames back until the end
        if (decoder && avcodec_send_packet(decoder.get(), nullptr) >= 0 &&
            avcodec_receive_frame(decoder.get(), frame.get()) >= 0)
            --waiting;
    }
    if (waiting == 0 && format->nb_streams > 0)
        return true;
    if (error)
        *error = mediaError(MediaStage::Write, QStringLiteral("the written file holds nothing that decodes"),
                            path);
    return false;
}

#include "MediaCheck.h"

#include "engine/FfmpegHandles.h"

extern "C" {
#include <libswscale/swscale.h>
}

#include <QFile>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

struct SwsFreer
{
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

InputFormatPtr openFile(const QString& path)
{
    AVFormatContext* raw = nullptr;
    const QByteArray url = "file:" + QFile::encodeName(path);
    if (avformat_open_input(&raw, url.constData(), nullptr, nullptr) < 0)
        return nullptr;
    InputFormatPtr format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return nullptr;
    return format;
}

// The file's main stream of one type with its decoder; no decoder when there is none.
struct OpenStream
{
    InputFormatPtr format;
    AVStream* stream = nullptr;
    CodecContextPtr decoder;
};

OpenStream openBestStream(const QString& path, AVMediaType type)
{
    OpenStream open;
    open.format = openFile(path);
    const int index = open.format ? av_find_best_stream(open.format.get(), type, -1, -1, nullptr, 0) : -1;
    if (index < 0)
        return open;
    open.stream = open.format->streams[index];
    const AVCodec* codec = avcodec_find_decoder(open.stream->codecpar->codec_id);
    CodecContextPtr decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (decoder && avcodec_parameters_to_context(decoder.get(), open.stream->codecpar) >= 0 &&
        avcodec_open2(decoder.get(), codec, nullptr) >= 0)
        open.decoder = std::move(decoder);
    return open;
}

GrayImage scaledLuma(const AVFrame* frame, int width, int height)
{
    std::unique_ptr<SwsContext, SwsFreer> scaler(
        sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), width, height,
                       AV_PIX_FMT_GRAY8, SWS_BILINEAR, nullptr, nullptr, nullptr));
    GrayImage image;
    if (!scaler)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.resize(width * height);
    uint8_t* planes[4] = {reinterpret_cast<uint8_t*>(image.pixels.data()), nullptr, nullptr, nullptr};
    const int strides[4] = {width, 0, 0, 0};
    sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return image;
}

// Runs every frame of one stream through visit(frame).
template <typename Visit>
void decodeStream(const OpenStream& open, Visit visit)
{
    AVFormatContext* format = open.format.get();
    AVCodecContext* decoder = open.decoder.get();
    const int streamIndex = open.stream->index;
    PacketPtr packet = allocPacket();
    FramePtr frame = allocFrame();
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder, frame.get()) == 0) {
            const bool more = visit(frame.get());
            av_frame_unref(frame.get());
            if (!more)
                return false;
        }
        return true;
    };
    while (av_read_frame(format, packet.get()) >= 0) {
        const bool ours = packet->stream_index == streamIndex;
        if (ours)
            avcodec_send_packet(decoder, packet.get());
        av_packet_unref(packet.get());
        if (ours && !drain())
            return;
    }
    avcodec_send_packet(decoder, nullptr);
    drain();
}

std::optional<VideoSummary> summarizeVideo(const QString& path)
{
    const OpenStream open = openBestStream(path, AVMEDIA_TYPE_VIDEO);
    if (!open.decoder)
        return std::nullopt;
    VideoSummary video;
    video.codec = QString::fromLatin1(avcodec_get_name(open.stream->codecpar->codec_id));
    video.width = open.stream->codecpar->width;
    video.height = open.stream->codecpar->height;
    video.frameRate = av_q2d(av_guess_frame_rate(open.format.get(), open.stream, nullptr));
    std::vector<GrayImage> frames;
    decodeStream(open, [&](const AVFrame* frame) {
        frames.push_back(scaledLuma(frame, frame->width, frame->height));
        return true;
    });
    video.frameCount = int(frames.size());
    if (!frames.empty()) {
        video.firstFrame = frames.front();
        video.middleFrame = frames[frames.size() / 2];
    }
    return video;
}

std::optional<AudioSummary> summarizeAudio(const QString& path)
{
    const OpenStream open = openBestStream(path, AVMEDIA_TYPE_AUDIO);
    if (!open.decoder)
        return std::nullopt;
    AudioSummary audio;
    audio.codec = QString::fromLatin1(avcodec_get_name(open.stream->codecpar->codec_id));
    audio.channels = open.stream->codecpar->ch_layout.nb_channels;
    audio.sampleRateHz = open.stream->codecpar->sample_rate;
    audio.bitrateBps = open.stream->codecpar->bit_rate;
    decodeStream(open, [&](const AVFrame* frame) {
        audio.sampleCount += frame->nb_samples;
        return true;
    });
    return audio;
}

} // namespace

double GrayImage::meanOfRows(int firstRow, int endRow) const
{
    double sum = 0.0;
    for (int y = firstRow; y < endRow; ++y) {
        for (int x = 0; x < width; ++x)
            sum += uint8_t(pixels[y * width + x]);
    }
    return sum / double(std::max(1, (endRow - firstRow) * width));
}

double GrayImage::meanOfColumns(int firstColumn, int endColumn) const
{
    double sum = 0.0;
    for (int y = 0; y < height; ++y) {
        for (int x = firstColumn; x < endColumn; ++x)
            sum += uint8_t(pixels[y * width + x]);
    }
    return sum / double(std::max(1, (endColumn - firstColumn) * height));
}

double meanAbsoluteDifference(const GrayImage& a, const GrayImage& b)
{
    if (a.pixels.size() != b.pixels.size() || a.pixels.isEmpty())
        return std::numeric_limits<double>::max();
    double sum = 0.0;
    for (int i = 0; i < a.pixels.size(); ++i)
        sum += std::abs(int(uint8_t(a.pixels[i])) - int(uint8_t(b.pixels[i])));
    return sum / double(a.pixels.size());
}

std::optional<MediaSummary> summarizeMedia(const QString& path)
{
    InputFormatPtr format = openFile(path);
    if (!format)
        return std::nullopt;
    MediaSummary summary;
    summary.container = QString::fromLatin1(format->iformat->name);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVMediaType type = format->streams[i]->codecpar->codec_type;
        summary.videoStreams += type == AVMEDIA_TYPE_VIDEO ? 1 : 0;
        summary.audioStreams += type == AVMEDIA_TYPE_AUDIO ? 1 : 0;
    }
    summary.video = summarizeVideo(path);
    summary.audio = summarizeAudio(path);
    return summary;
}

std::vector<TimedFrame> decodeScaledFrames(const QString& path, int width, int height, double untilSeconds)
{
    std::vector<TimedFrame> frames;
    const OpenStream open = openBestStream(path, AVMEDIA_TYPE_VIDEO);
    if (!open.decoder)
        return frames;
    const int64_t start = open.format->start_time;
    const double fileStart = start == AV_NOPTS_VALUE ? 0.0 : double(start) / AV_TIME_BASE;
    decodeStream(open, [&](const AVFrame* frame) {
        const double seconds = double(frame->best_effort_timestamp) * av_q2d(open.stream->time_base) - fileStart;
        if (seconds > untilSeconds)
            return false;
        frames.push_back(TimedFrame{seconds, scaledLuma(frame, width, height)});
        return true;
    });
    return frames;
}

double bestMatchSeconds(const std::vector<TimedFrame>& source, const GrayImage& image)
{
    double best = -1.0;
    double bestDifference = std::numeric_limits<double>::max();
    for (const TimedFrame& frame : source) {
        const double difference = meanAbsoluteDifference(frame.image, image);
        if (difference < bestDifference) {
            bestDifference = difference;
            best = frame.seconds;
        }
    }
    return best;
}

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

CodecContextPtr openStreamDecoder(const AVStream* stream)
{
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    CodecContextPtr decoder(codec ? avcodec_alloc_context3(codec) : nullptr);
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0 ||
        avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return nullptr;
    return decoder;
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
void decodeStream(AVFormatContext* format, int streamIndex, AVCodecContext* decoder, Visit visit)
{
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
    InputFormatPtr format = openFile(path);
    const int index = format ? av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    if (index < 0)
        return std::nullopt;
    AVStream* stream = format->streams[index];
    CodecContextPtr decoder = openStreamDecoder(stream);
    if (!decoder)
        return std::nullopt;
    VideoSummary video;
    video.codec = QString::fromLatin1(avcodec_get_name(stream->codecpar->codec_id));
    video.width = stream->codecpar->width;
    video.height = stream->codecpar->height;
    video.frameRate = av_q2d(av_guess_frame_rate(format.get(), stream, nullptr));
    std::vector<GrayImage> frames;
    decodeStream(format.get(), index, decoder.get(), [&](const AVFrame* frame) {
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
    InputFormatPtr format = openFile(path);
    const int index = format ? av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0) : -1;
    if (index < 0)
        return std::nullopt;
    AVStream* stream = format->streams[index];
    CodecContextPtr decoder = openStreamDecoder(stream);
    if (!decoder)
        return std::nullopt;
    AudioSummary audio;
    audio.codec = QString::fromLatin1(avcodec_get_name(stream->codecpar->codec_id));
    audio.channels = stream->codecpar->ch_layout.nb_channels;
    audio.sampleRateHz = stream->codecpar->sample_rate;
    audio.bitrateBps = stream->codecpar->bit_rate;
    decodeStream(format.get(), index, decoder.get(), [&](const AVFrame* frame) {
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
    InputFormatPtr format = openFile(path);
    const int index = format ? av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    if (index < 0)
        return frames;
    AVStream* stream = format->streams[index];
    CodecContextPtr decoder = openStreamDecoder(stream);
    if (!decoder)
        return frames;
    const double fileStart = format->start_time == AV_NOPTS_VALUE ? 0.0 : double(format->start_time) / AV_TIME_BASE;
    decodeStream(format.get(), index, decoder.get(), [&](const AVFrame* frame) {
        const double seconds = double(frame->best_effort_timestamp) * av_q2d(stream->time_base) - fileStart;
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

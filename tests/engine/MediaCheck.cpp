#include "MediaCheck.h"

#include "engine/MediaInput.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// The file's main stream of one type with its decoder; no decoder when there is none.
struct OpenStream
{
    InputFormatPtr format;
    AVStream* stream = nullptr;
    CodecContextPtr decoder;

    double secondsOf(const AVFrame* frame) const
    {
        const int64_t start = format->start_time;
        return double(frame->best_effort_timestamp) * av_q2d(stream->time_base) -
               (start == AV_NOPTS_VALUE ? 0.0 : double(start) / AV_TIME_BASE);
    }
};

OpenStream openStream(const QString& path, AVMediaType type)
{
    OpenStream open;
    open.format = openMediaInput(path);
    const int index = open.format ? bestStreamIndex(open.format.get(), type) : -1;
    if (index >= 0) {
        open.stream = open.format->streams[index];
        open.decoder = openDecoder(open.stream, 1);
    }
    return open;
}

// Runs every frame of the stream through visit(frame) until it returns false.
template <typename Visit> void decodeStream(const OpenStream& open, Visit visit)
{
    PacketPtr packet = allocPacket();
    FramePtr frame = allocFrame();
    const auto drain = [&] {
        bool more = true;
        while (more && avcodec_receive_frame(open.decoder.get(), frame.get()) == 0) {
            more = visit(frame.get());
            av_frame_unref(frame.get());
        }
        return more;
    };
    while (av_read_frame(open.format.get(), packet.get()) >= 0) {
        const bool ours = packet->stream_index == open.stream->index;
        if (ours)
            avcodec_send_packet(open.decoder.get(), packet.get());
        av_packet_unref(packet.get());
        if (ours && !drain())
            return;
    }
    avcodec_send_packet(open.decoder.get(), nullptr);
    drain();
}

} // namespace

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray withoutStream(QByteArray xml, bool picture)
{
    const int start = picture ? xml.lastIndexOf("<streamconfig") : xml.indexOf("<streamconfig");
    const QByteArray endTag("</streamconfig>");
    return xml.remove(start, xml.indexOf(endTag, start) + endTag.size() - start);
}

std::optional<MediaSummary> summarizeMedia(const QString& path)
{
    const OpenStream open = openStream(path, AVMEDIA_TYPE_VIDEO);
    if (!open.format)
        return std::nullopt;
    MediaSummary summary;
    summary.container = QString::fromLatin1(open.format->iformat->name);
    for (unsigned i = 0; i < open.format->nb_streams; ++i) {
        const AVMediaType type = open.format->streams[i]->codecpar->codec_type;
        summary.videoStreams += type == AVMEDIA_TYPE_VIDEO ? 1 : 0;
        summary.audioStreams += type == AVMEDIA_TYPE_AUDIO ? 1 : 0;
    }
    if (open.decoder) {
        const AVCodecParameters* parameters = open.stream->codecpar;
        const std::vector<TimedFrame> frames = decodeFrames(path);
        summary.video =
            VideoSummary{QString::fromLatin1(avcodec_get_name(parameters->codec_id)),
                         QString::fromLatin1(av_get_pix_fmt_name(AVPixelFormat(parameters->format))),
                         QSize(parameters->width, parameters->height),
                         av_q2d(av_guess_frame_rate(open.format.get(), open.stream, nullptr)),
                         int(frames.size()),
                         frames.empty() ? QImage() : frames.front().picture,
                         frames.empty() ? QImage() : frames[frames.size() / 2].picture};
    }
    if (const OpenStream sound = openStream(path, AVMEDIA_TYPE_AUDIO); sound.decoder) {
        const AVCodecParameters* parameters = sound.stream->codecpar;
        AudioSummary audio{QString::fromLatin1(avcodec_get_name(parameters->codec_id)),
                           parameters->ch_layout.nb_channels, parameters->sample_rate, parameters->bit_rate};
        decodeStream(sound, [&audio](const AVFrame* frame) {
            audio.sampleCount += frame->nb_samples;
            return true;
        });
        summary.audio = audio;
    }
    return summary;
}

double meanLuma(const QImage& picture, const QRect& area)
{
    double sum = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            sum += picture.constScanLine(y)[x];
    }
    return sum / double(std::max(1, area.width() * area.height()));
}

std::vector<TimedFrame> decodeFrames(const QString& path)
{
    std::vector<TimedFrame> frames;
    const OpenStream open = openStream(path, AVMEDIA_TYPE_VIDEO);
    if (!open.decoder)
        return frames;
    decodeStream(open, [&](const AVFrame* frame) {
        std::unique_ptr<SwsContext, decltype(&sws_freeContext)> scaler(
            sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), kLumaSize.width(),
                           kLumaSize.height(), AV_PIX_FMT_GRAY8, SWS_BILINEAR, nullptr, nullptr, nullptr),
            &sws_freeContext);
        QImage image(kLumaSize, QImage::Format_Grayscale8);
        uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
        if (!scaler ||
            sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) <= 0)
            image = QImage();
        frames.push_back(TimedFrame{open.secondsOf(frame), image});
        return true;
    });
    return frames;
}

double flashSeconds(const QString& path)
{
    for (const TimedFrame& frame : decodeFrames(path)) {
        if (meanLuma(frame.picture, QRect(QPoint(), kLumaSize)) > 128.0)
            return frame.seconds;
    }
    return -1.0;
}

double beepSeconds(const QString& path)
{
    const OpenStream open = openStream(path, AVMEDIA_TYPE_AUDIO);
    double found = -1.0;
    if (!open.decoder)
        return found;
    decodeStream(open, [&](const AVFrame* frame) {
        const auto format = AVSampleFormat(frame->format);
        if (format != AV_SAMPLE_FMT_FLTP && format != AV_SAMPLE_FMT_FLT)
            return false; // every decoder our outputs need gives float samples
        const float* samples = reinterpret_cast<const float*>(frame->extended_data[0]);
        const int step = format == AV_SAMPLE_FMT_FLT ? frame->ch_layout.nb_channels : 1;
        for (int i = 0; i < frame->nb_samples; ++i) {
            if (std::abs(samples[i * step]) > 0.3f) {
                found = open.secondsOf(frame) + double(i) / frame->sample_rate;
                return false;
            }
        }
        return true;
    });
    return found;
}

double bestMatchSeconds(const std::vector<TimedFrame>& source, const QImage& picture)
{
    const auto difference = [&picture](const QImage& other) {
        if (other.size() != picture.size() || other.isNull())
            return std::numeric_limits<double>::max();
        double sum = 0.0;
        for (int y = 0; y < other.height(); ++y) {
            for (int x = 0; x < other.width(); ++x)
                sum += std::abs(int(other.constScanLine(y)[x]) - int(picture.constScanLine(y)[x]));
        }
        return sum;
    };
    const auto best =
        std::min_element(source.begin(), source.end(), [&](const TimedFrame& a, const TimedFrame& b) {
            return difference(a.picture) < difference(b.picture);
        });
    return best == source.end() ? -1.0 : best->seconds;
}

FramePtr firstPicture(const QString& path, bool ownTagsOnly)
{
    OpenStream open = openStream(path, AVMEDIA_TYPE_VIDEO);
    FramePtr picture = allocFrame();
    if (open.decoder && ownTagsOnly) {
        AVCodecParameters* stream = open.stream->codecpar;
        stream->color_space = AVCOL_SPC_UNSPECIFIED;
        stream->color_range = AVCOL_RANGE_UNSPECIFIED;
        stream->color_primaries = AVCOL_PRI_UNSPECIFIED;
        stream->color_trc = AVCOL_TRC_UNSPECIFIED;
        open.decoder = openDecoder(open.stream, 1);
    }
    if (open.decoder)
        decodeStream(open,
                     [&picture](const AVFrame* frame) { return av_frame_ref(picture.get(), frame) < 0; });
    return picture->buf[0] ? std::move(picture) : nullptr;
}

#include "CAsfWriter.h"

#include "MediaPaths.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

#include <algorithm>
#include <cmath>

namespace {

const AVOutputFormat* asfFormat()
{
    return av_guess_format("asf", nullptr, nullptr);
}

void requestGlobalHeader(AVCodecContext* encoder)
{
    const AVOutputFormat* asf = asfFormat();
    if (asf && (asf->flags & AVFMT_GLOBALHEADER))
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

CodecContextPtr allocEncoder(AVCodecID id, const AVCodec** codec)
{
    *codec = avcodec_find_encoder(id);
    return CodecContextPtr(*codec ? avcodec_alloc_context3(*codec) : nullptr);
}

} // namespace

CodecContextPtr openVideoEncoder(const VideoEncoding& encoding)
{
    const AVCodec* codec = nullptr;
    CodecContextPtr encoder = allocEncoder(AV_CODEC_ID_WMV2, &codec);
    if (!encoder)
        return nullptr;
    const VideoFormat& format = encoding.format;
    encoder->width = format.widthPx;
    encoder->height = format.heightPx;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->sample_aspect_ratio = AVRational{1, 1};
    encoder->framerate = encoding.frameRate;
    encoder->time_base = av_inv_q(encoding.frameRate);
    encoder->bit_rate = format.bitrateBps;
    const double framesPerKey = format.keyFrameSpacingSeconds * av_q2d(encoding.frameRate);
    encoder->gop_size = int(std::clamp(std::lround(framesPerKey), 1L, 600L));
    encoder->max_b_frames = 0;
    if (format.quality >= kHighQualityThreshold)
        encoder->mb_decision = FF_MB_DECISION_RD; // about twice the time for a visibly cleaner picture
    requestGlobalHeader(encoder.get());
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0)
        return nullptr;
    return encoder;
}

CodecContextPtr openAudioEncoder(const AudioFormat& format)
{
    const AVCodec* codec = nullptr;
    CodecContextPtr encoder = allocEncoder(AV_CODEC_ID_WMAV2, &codec);
    if (!encoder)
        return nullptr;
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = format.sampleRateHz;
    av_channel_layout_default(&encoder->ch_layout, format.channels);
    encoder->bit_rate = format.bitrateBps;
    encoder->time_base = AVRational{1, format.sampleRateHz};
    requestGlobalHeader(encoder.get());
    if (avcodec_open2(encoder.get(), codec, nullptr) < 0)
        return nullptr;
    return encoder;
}

CAsfWriter::~CAsfWriter() = default;

std::unique_ptr<CAsfWriter> CAsfWriter::create(const QString& path, const std::optional<VideoEncoding>& video,
                                               const std::optional<AudioFormat>& audio)
{
    if (!video && !audio)
        return nullptr;
    std::unique_ptr<CAsfWriter> writer(new CAsfWriter);
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, asfFormat(), nullptr, nullptr) < 0)
        return nullptr;
    writer->m_output.reset(raw);
    writer->m_packet = allocPacket();
    if (!writer->m_packet)
        return nullptr;
    if (video) {
        writer->m_videoEncoder = openVideoEncoder(*video);
        if (!writer->m_videoEncoder ||
            !(writer->m_videoStream = writer->addStream(writer->m_videoEncoder.get())))
            return nullptr;
    }
    if (audio) {
        writer->m_audioEncoder = openAudioEncoder(*audio);
        if (!writer->m_audioEncoder ||
            !(writer->m_audioStream = writer->addStream(writer->m_audioEncoder.get())))
            return nullptr;
        writer->m_audioFifo.reset(
            av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, audio->channels, writer->m_audioEncoder->frame_size * 2));
        if (!writer->m_audioFifo)
            return nullptr;
    }
    if (avio_open(&writer->m_output->pb, ffmpegUrlFor(path).constData(), AVIO_FLAG_WRITE) < 0)
        return nullptr;
    if (avformat_write_header(writer->m_output.get(), nullptr) < 0)
        return nullptr;
    return writer;
}

AVStream* CAsfWriter::addStream(AVCodecContext* encoder)
{
    AVStream* stream = avformat_new_stream(m_output.get(), nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, encoder) < 0)
        return nullptr;
    stream->time_base = encoder->time_base;
    return stream;
}

// Sends one frame (null: end of stream) and writes every packet that comes out.
int CAsfWriter::encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame)
{
    int result = avcodec_send_frame(encoder, frame);
    if (result < 0)
        return result;
    for (;;) {
        result = avcodec_receive_packet(encoder, m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return 0;
        if (result < 0)
            return result;
        av_packet_rescale_ts(m_packet.get(), encoder->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (m_packet->pts != AV_NOPTS_VALUE) {
            const int64_t end = m_packet->pts + std::max<int64_t>(m_packet->duration, 0);
            m_writtenSeconds = std::max(m_writtenSeconds, double(end) * av_q2d(stream->time_base));
        }
        result = av_interleaved_write_frame(m_output.get(), m_packet.get());
        if (result < 0)
            return result;
    }
}

int CAsfWriter::writeVideo(AVFrame* frame)
{
    if (!m_videoEncoder)
        return AVERROR(EINVAL);
    frame->pict_type = AV_PICTURE_TYPE_NONE; // the source's frame types must not steer the encoder
    return encode(m_videoEncoder.get(), m_videoStream, frame);
}

int CAsfWriter::writeAudio(const AVFrame* frame)
{
    if (!m_audioEncoder)
        return AVERROR(EINVAL);
    if (frame->format != AV_SAMPLE_FMT_FLTP ||
        frame->ch_layout.nb_channels != m_audioEncoder->ch_layout.nb_channels)
        return AVERROR(EINVAL);
    void* const* planes = reinterpret_cast<void* const*>(frame->extended_data);
    if (av_audio_fifo_write(m_audioFifo.get(), const_cast<void**>(planes), frame->nb_samples) <
        frame->nb_samples)
        return AVERROR(ENOMEM);
    // wmav2 takes frames of exactly frame_size samples.
    const int frameSize = m_audioEncoder->frame_size;
    while (av_audio_fifo_size(m_audioFifo.get()) >= frameSize) {
        const int result = encodeAudioFromFifo(frameSize);
        if (result < 0)
            return result;
    }
    return 0;
}

int CAsfWriter::encodeAudioFromFifo(int sampleCount)
{
    FramePtr frame = allocFrame();
    if (!frame)
        return AVERROR(ENOMEM);
    frame->nb_samples = sampleCount;
    frame->format = m_audioEncoder->sample_fmt;
    frame->sample_rate = m_audioEncoder->sample_rate;
    int result = av_channel_layout_copy(&frame->ch_layout, &m_audioEncoder->ch_layout);
    if (result < 0 || (result = av_frame_get_buffer(frame.get(), 0)) < 0)
        return result;
    if (av_audio_fifo_read(m_audioFifo.get(), reinterpret_cast<void**>(frame->data), sampleCount) <
        sampleCount)
        return AVERROR(EIO);
    frame->pts = m_audioSamplesEncoded;
    m_audioSamplesEncoded += sampleCount;
    return encode(m_audioEncoder.get(), m_audioStream, frame.get());
}

int CAsfWriter::finish()
{
    int result = 0;
    if (m_audioEncoder) {
        // the encoder pads the short last frame with silence
        const int rest = av_audio_fifo_size(m_audioFifo.get());
        if (rest > 0 && (result = encodeAudioFromFifo(rest)) < 0)
            return result;
        if ((result = encode(m_audioEncoder.get(), m_audioStream, nullptr)) < 0)
            return result;
    }
    if (m_videoEncoder && (result = encode(m_videoEncoder.get(), m_videoStream, nullptr)) < 0)
        return result;
    if ((result = av_write_trailer(m_output.get())) < 0)
        return result;
    if (m_output->pb->error < 0)
        return m_output->pb->error;
    return avio_closep(&m_output->pb);
}

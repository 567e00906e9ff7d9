#include "CAsfWriter.h"

#include "CCLocaleScope.h"
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

// Opens the encoder, or says which encoder refused what.
CodecContextPtr openEncoder(CodecContextPtr encoder, const AVCodec* codec, const QString& settings,
                            MediaError* error)
{
    const CCLocaleScope cNumbers;
    const int result = encoder ? avcodec_open2(encoder.get(), codec, nullptr) : AVERROR_ENCODER_NOT_FOUND;
    if (result >= 0)
        return encoder;
    if (error) {
        const QString name = QString::fromLatin1(codec ? codec->name : "encoder");
        *error = mediaError(MediaStage::Encode,
                            QStringLiteral("%1 refused %2: %3").arg(name, settings, avErrorText(result)));
    }
    return nullptr;
}

} // namespace

CodecContextPtr openVideoEncoder(const VideoEncoding& encoding, MediaError* error)
{
    const AVCodec* codec = nullptr;
    CodecContextPtr encoder = allocEncoder(AV_CODEC_ID_WMV2, &codec);
    if (!encoder)
        return openEncoder(nullptr, codec, QString(), error);
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
    const QString settings =
        QStringLiteral("%1x%2 at %3 b/s").arg(format.widthPx).arg(format.heightPx).arg(format.bitrateBps);
    return openEncoder(std::move(encoder), codec, settings, error);
}

CodecContextPtr openAudioEncoder(const AudioFormat& format, MediaError* error)
{
    const AVCodec* codec = nullptr;
    CodecContextPtr encoder = allocEncoder(AV_CODEC_ID_WMAV2, &codec);
    if (!encoder)
        return openEncoder(nullptr, codec, QString(), error);
    encoder->sample_fmt = AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = format.sampleRateHz;
    av_channel_layout_default(&encoder->ch_layout, format.channels);
    encoder->bit_rate = format.bitrateBps;
    encoder->time_base = AVRational{1, format.sampleRateHz};
    requestGlobalHeader(encoder.get());
    const QString settings = QStringLiteral("%1 channel(s) at %2 Hz, %3 b/s")
                                 .arg(format.channels)
                                 .arg(format.sampleRateHz)
                                 .arg(format.bitrateBps);
    return openEncoder(std::move(encoder), codec, settings, error);
}

CAsfWriter::~CAsfWriter() = default;

std::unique_ptr<CAsfWriter> CAsfWriter::create(const QString& path, const std::optional<VideoEncoding>& video,
                                               const std::optional<AudioFormat>& audio, MediaError* error)
{
    std::unique_ptr<CAsfWriter> writer(new CAsfWriter(path));
    if (writer->open(video, audio))
        return writer;
    *error = writer->m_error;
    return nullptr;
}

bool CAsfWriter::open(const std::optional<VideoEncoding>& video, const std::optional<AudioFormat>& audio)
{
    const auto refuse = [this](MediaStage stage, int code) {
        fail(stage, code);
        return false;
    };
    AVFormatContext* raw = nullptr;
    if (!video && !audio)
        return refuse(MediaStage::Encode, AVERROR(EINVAL));
    int result = avformat_alloc_output_context2(&raw, asfFormat(), nullptr, nullptr);
    if (result < 0)
        return refuse(MediaStage::Write, result);
    m_output.reset(raw);
    m_packet = allocPacket();
    if (!m_packet)
        return refuse(MediaStage::Write, AVERROR(ENOMEM));
    if (video && (!(m_videoEncoder = openVideoEncoder(*video, &m_error)) ||
                  !(m_videoStream = addStream(m_videoEncoder.get()))))
        return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    if (audio && (!(m_audioEncoder = openAudioEncoder(*audio, &m_error)) ||
                  !(m_audioStream = addStream(m_audioEncoder.get()))))
        return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    if (audio) {
        m_audioFifo.reset(
            av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, audio->channels, m_audioEncoder->frame_size * 2));
        if (!m_audioFifo)
            return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    }
    if ((result = avio_open(&m_output->pb, ffmpegUrlFor(m_path).constData(), AVIO_FLAG_WRITE)) < 0 ||
        (result = avformat_write_header(m_output.get(), nullptr)) < 0)
        return refuse(MediaStage::Write, result);
    return true;
}

// Keeps the first reason.
int CAsfWriter::fail(MediaStage stage, int code)
{
    if (code < 0 && !m_error.isSet())
        m_error = mediaError(stage, code, m_path);
    return code;
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
        return fail(MediaStage::Encode, result);
    for (;;) {
        result = avcodec_receive_packet(encoder, m_packet.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return 0;
        if (result < 0)
            return fail(MediaStage::Encode, result);
        av_packet_rescale_ts(m_packet.get(), encoder->time_base, stream->time_base);
        m_packet->stream_index = stream->index;
        if (m_packet->pts != AV_NOPTS_VALUE) {
            const int64_t end = m_packet->pts + std::max<int64_t>(m_packet->duration, 0);
            m_writtenSeconds = std::max(m_writtenSeconds, double(end) * av_q2d(stream->time_base));
        }
        result = av_interleaved_write_frame(m_output.get(), m_packet.get());
        if (result < 0)
            return fail(MediaStage::Write, result);
    }
}

int CAsfWriter::writeVideo(AVFrame* frame)
{
    if (!m_videoEncoder)
        return fail(MediaStage::Encode, AVERROR(EINVAL));
    frame->pict_type = AV_PICTURE_TYPE_NONE; // the source's frame types must not steer the encoder
    return encode(m_videoEncoder.get(), m_videoStream, frame);
}

int CAsfWriter::writeAudio(const AVFrame* frame)
{
    if (!m_audioEncoder || frame->format != AV_SAMPLE_FMT_FLTP ||
        frame->ch_layout.nb_channels != m_audioEncoder->ch_layout.nb_channels)
        return fail(MediaStage::Encode, AVERROR(EINVAL));
    void* const* planes = reinterpret_cast<void* const*>(frame->extended_data);
    if (av_audio_fifo_write(m_audioFifo.get(), const_cast<void**>(planes), frame->nb_samples) <
        frame->nb_samples)
        return fail(MediaStage::Encode, AVERROR(ENOMEM));
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
        return fail(MediaStage::Encode, AVERROR(ENOMEM));
    frame->nb_samples = sampleCount;
    frame->format = m_audioEncoder->sample_fmt;
    frame->sample_rate = m_audioEncoder->sample_rate;
    int result = av_channel_layout_copy(&frame->ch_layout, &m_audioEncoder->ch_layout);
    if (result < 0 || (result = av_frame_get_buffer(frame.get(), 0)) < 0)
        return fail(MediaStage::Encode, result);
    if (av_audio_fifo_read(m_audioFifo.get(), reinterpret_cast<void**>(frame->data), sampleCount) <
        sampleCount)
        return fail(MediaStage::Encode, AVERROR(EIO));
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
        return fail(MediaStage::Write, result);
    if (m_output->pb->error < 0)
        return fail(MediaStage::Write, m_output->pb->error);
    return fail(MediaStage::Write, avio_closep(&m_output->pb));
}

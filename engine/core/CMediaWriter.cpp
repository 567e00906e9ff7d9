#include "CMediaWriter.h"

#include "CCLocaleScope.h"
#include "MediaPaths.h"
#include "SamplePacking.h"
#include "platform/FileNames.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

#include <QThread>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

constexpr int kLevelFor720p = 31;
constexpr int kLevelFor1080p = 40;
constexpr int kLevelForSd = 30;

const AVOutputFormat* muxerOf(const OutputContainer& container)
{
    return av_guess_format(container.muxer, nullptr, nullptr);
}

void requestGlobalHeader(AVCodecContext* encoder, const OutputContainer& container)
{
    const AVOutputFormat* muxer = muxerOf(container);
    if (muxer && (muxer->flags & AVFMT_GLOBALHEADER))
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
}

CodecContextPtr allocEncoder(const char* name, const AVCodec** codec)
{
    *codec = avcodec_find_encoder_by_name(name);
    return CodecContextPtr(*codec ? avcodec_alloc_context3(*codec) : nullptr);
}

// Opens the encoder, or says which encoder refused what.
CodecContextPtr openEncoder(CodecContextPtr encoder, const AVCodec* codec, const char* name,
                            const QString& settings, MediaError* error)
{
    const CCLocaleScope cNumbers;
    const int result = encoder ? avcodec_open2(encoder.get(), codec, nullptr) : AVERROR_ENCODER_NOT_FOUND;
    if (result >= 0)
        return encoder;
    if (error) {
        *error = mediaError(
            MediaStage::Encode,
            QStringLiteral("%1 refused %2: %3").arg(QLatin1String(name), settings, avErrorText(result)));
    }
    return nullptr;
}

bool isHighQuality(const VideoFormat& format)
{
    return format.quality >= kHighQualityThreshold;
}

// H.264 High profile at the level the frame size needs, so that phones and browsers
// take it; the plain sizes encode fast, the High ones spend time on a better picture.
void configureX264(AVCodecContext* encoder, const VideoFormat& format)
{
    const int pixels = format.widthPx * format.heightPx;
    encoder->profile = FF_PROFILE_H264_HIGH;
    encoder->level = pixels > 1280 * 720 ? kLevelFor1080p : pixels > 720 * 576 ? kLevelFor720p : kLevelForSd;
    encoder->rc_max_rate = format.bitrateBps * 3 / 2;
    encoder->rc_buffer_size = format.bitrateBps * 2;
    av_opt_set(encoder->priv_data, "preset", isHighQuality(format) ? "medium" : "veryfast", 0);
    if (pixels > 1280 * 720) {
        // Few 1080p pictures in flight keep the whole conversion under 250 MB: slices
        // share each picture among the cores, and a short lookahead (measured: no worse).
        encoder->thread_count = std::max(1, QThread::idealThreadCount());
        av_opt_set(encoder->priv_data, "x264-params", "sliced-threads=1:rc-lookahead=5", 0);
    }
}

// VP9 in rows and threads, at a speed that keeps up with the other formats.
void configureVp9(AVCodecContext* encoder, const VideoFormat& format)
{
    encoder->thread_count = std::max(1, QThread::idealThreadCount());
    av_opt_set_int(encoder->priv_data, "row-mt", 1, 0);
    av_opt_set(encoder->priv_data, "deadline", isHighQuality(format) ? "good" : "realtime", 0);
    av_opt_set_int(encoder->priv_data, "cpu-used", isHighQuality(format) ? 4 : 8, 0);
    av_opt_set_int(encoder->priv_data, "tile-columns", 2, 0);
    // One pass makes no alternate reference frames, so pictures looked ahead are only
    // held (measured: the same bytes at 0, 10 and 25), about 110 MB of them at 1080p.
    av_opt_set_int(encoder->priv_data, "lag-in-frames", 0, 0);
}

void configureWmv2(AVCodecContext* encoder, const VideoFormat& format)
{
    encoder->max_b_frames = 0;
    if (isHighQuality(format))
        encoder->mb_decision = FF_MB_DECISION_RD; // about twice the time for a visibly cleaner picture
}

// What each level of constant quality asks of each encoder, Best to Small, by measurement
// on a grainy 720p source (bench/quality.sh): CRF for libx264 and libvpx-vp9, a fixed
// quantiser for wmv2.
struct QualityScale
{
    const char* encoder;
    std::array<int, 4> values;
};
constexpr QualityScale kQualityScales[] = {
    {"libx264", {18, 21, 24, 28}},
    {"libvpx-vp9", {24, 31, 36, 42}},
    {"wmv2", {2, 4, 6, 10}},
};

constexpr int kVp9TwoPassSpeed = 4;

void applyConstantQuality(AVCodecContext* encoder, const char* name, QualityLevel level)
{
    for (const QualityScale& scale : kQualityScales) {
        if (std::strcmp(scale.encoder, name) != 0)
            continue;
        const int value = scale.values[size_t(level)];
        encoder->bit_rate = 0; // libvpx-vp9: constant quality rather than a capped one
        if (std::strcmp(name, "wmv2") == 0) {
            encoder->flags |= AV_CODEC_FLAG_QSCALE;
            encoder->global_quality = value * FF_QP2LAMBDA;
        } else {
            av_opt_set_int(encoder->priv_data, "crf", value, 0);
        }
    }
}

void applyRateControl(AVCodecContext* encoder, const char* name, const RateControl& rate)
{
    if (rate.kind == RateControl::Kind::Profile)
        return;
    // No buffer's peak to keep to: the quality or the whole file's size is what counts.
    encoder->rc_max_rate = 0;
    encoder->rc_buffer_size = 0;
    if (rate.kind == RateControl::Kind::ConstantQuality) {
        applyConstantQuality(encoder, name, rate.level);
        return;
    }
    if (std::strcmp(name, "libvpx-vp9") == 0) {
        // libvpx's real-time mode makes one pass whatever it is asked (measured: an empty
        // first pass); its first pass is quick at any speed.
        av_opt_set(encoder->priv_data, "deadline", "good", 0);
        av_opt_set_int(encoder->priv_data, "cpu-used", kVp9TwoPassSpeed, 0);
    }
    if (rate.kind == RateControl::Kind::FirstPass) {
        encoder->flags |= AV_CODEC_FLAG_PASS1;
    } else {
        encoder->flags |= AV_CODEC_FLAG_PASS2;
        if (!rate.stats.isEmpty())
            encoder->stats_in = av_strdup(rate.stats.constData());
    }
    if (!rate.statsFile.isEmpty())
        av_opt_set(encoder->priv_data, "stats", FileNameToBytes(rate.statsFile).constData(), 0);
}

void configureFor(AVCodecContext* encoder, const char* name, const VideoFormat& format)
{
    if (std::strcmp(name, "libx264") == 0)
        configureX264(encoder, format);
    else if (std::strcmp(name, "libvpx-vp9") == 0)
        configureVp9(encoder, format);
    else
        configureWmv2(encoder, format);
}

// Sound as the encoder takes it: Opus works at 48 kHz; MP3 at the legal bit rate at
// or above the one asked for.
AudioFormat adaptedFor(const char* name, AudioFormat format)
{
    if (std::strcmp(name, "libopus") == 0) {
        format.sampleRateHz = 48000;
    } else if (std::strcmp(name, "libmp3lame") == 0) {
        // MPEG-2 layer III below 32 kHz, MPEG-1 from there
        static constexpr std::array<int, 14> kLow = {8,  16, 24, 32,  40,  48,  56,
                                                     64, 80, 96, 112, 128, 144, 160};
        static constexpr std::array<int, 14> kHigh = {32,  40,  48,  56,  64,  80,  96,
                                                      112, 128, 160, 192, 224, 256, 320};
        const auto& legal = format.sampleRateHz < 32000 ? kLow : kHigh;
        const auto found = std::find_if(legal.begin(), legal.end(),
                                        [&format](int kbps) { return kbps * 1000 >= format.bitrateBps; });
        format.bitrateBps = (found == legal.end() ? legal.back() : *found) * 1000;
    }
    return format;
}

} // namespace

void stampFixedQuality(const AVCodecContext* encoder, AVFrame* picture)
{
    if (encoder->flags & AV_CODEC_FLAG_QSCALE)
        picture->quality = encoder->global_quality;
}

void takePassStats(AVCodecContext* encoder, bool flushed, QByteArray* stats)
{
    const bool summedAtEnd = std::strcmp(encoder->codec->name, "libvpx-vp9") == 0;
    if ((encoder->flags & AV_CODEC_FLAG_PASS1) && encoder->stats_out && summedAtEnd == flushed)
        stats->append(encoder->stats_out);
}

int encodePackets(AVCodecContext* encoder, const AVFrame* frame, AVPacket* packet,
                  const std::function<int(AVPacket*)>& take)
{
    int result = avcodec_send_frame(encoder, frame);
    while (result >= 0) {
        result = avcodec_receive_packet(encoder, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return 0;
        if (result >= 0)
            result = take(packet);
        av_packet_unref(packet);
    }
    return result;
}

AudioFormat audioFormatFor(const OutputContainer& container, const AudioFormat& wanted)
{
    return adaptedFor(container.audioEncoder, wanted);
}

VideoFrameFormat frameFormatFor(const VideoEncoding& encoding, const OutputContainer& container)
{
    const VideoFormat& format = encoding.format;
    return VideoFrameFormat{format.widthPx, format.heightPx, encoding.frameRate,
                            outputColourFor(container, format.widthPx, format.heightPx)};
}

CodecContextPtr openVideoEncoder(const VideoEncoding& encoding, const OutputContainer& container,
                                 MediaError* error)
{
    const AVCodec* codec = nullptr;
    const char* name = container.videoEncoder ? container.videoEncoder : "none";
    CodecContextPtr encoder = allocEncoder(name, &codec);
    if (!encoder)
        return openEncoder(nullptr, codec, name, QString(), error);
    const VideoFormat& format = encoding.format;
    encoder->width = format.widthPx;
    encoder->height = format.heightPx;
    encoder->pix_fmt = AV_PIX_FMT_YUV420P;
    encoder->sample_aspect_ratio = AVRational{1, 1};
    // the encoders write these into the bitstream, the muxers into the container
    const VideoColour colour = outputColourFor(container, format.widthPx, format.heightPx);
    encoder->colorspace = colour.matrix;
    encoder->color_range = colour.range;
    encoder->color_primaries = colour.primaries;
    encoder->color_trc = colour.transfer;
    encoder->framerate = encoding.frameRate;
    encoder->time_base = av_inv_q(encoding.frameRate);
    encoder->bit_rate = format.bitrateBps;
    const double framesPerKey = format.keyFrameSpacingSeconds * av_q2d(encoding.frameRate);
    encoder->gop_size = int(std::clamp(std::lround(framesPerKey), 1L, 600L));
    configureFor(encoder.get(), name, format);
    applyRateControl(encoder.get(), name, encoding.rate);
    requestGlobalHeader(encoder.get(), container);
    const QString settings =
        QStringLiteral("%1x%2 at %3 b/s").arg(format.widthPx).arg(format.heightPx).arg(format.bitrateBps);
    return openEncoder(std::move(encoder), codec, name, settings, error);
}

CodecContextPtr openAudioEncoder(const AudioFormat& format, const OutputContainer& container,
                                 MediaError* error)
{
    const AVCodec* codec = nullptr;
    const char* name = container.audioEncoder;
    CodecContextPtr encoder = allocEncoder(name, &codec);
    if (!encoder)
        return openEncoder(nullptr, codec, name, QString(), error);
    // planar float where the encoder takes it, else its packed float
    encoder->sample_fmt = std::strcmp(name, "libopus") == 0 ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_FLTP;
    encoder->sample_rate = format.sampleRateHz;
    av_channel_layout_default(&encoder->ch_layout, format.channels);
    encoder->bit_rate = format.bitrateBps;
    encoder->time_base = AVRational{1, format.sampleRateHz};
    requestGlobalHeader(encoder.get(), container);
    const QString settings = QStringLiteral("%1 channel(s) at %2 Hz, %3 b/s")
                                 .arg(format.channels)
                                 .arg(format.sampleRateHz)
                                 .arg(format.bitrateBps);
    return openEncoder(std::move(encoder), codec, name, settings, error);
}

// Where a counting writer's muxer writes: nowhere, but it keeps track of how far.
struct CMediaWriter::CountingSink
{
    AVIOContext* io = nullptr;
    int64_t position = 0;
    int64_t size = 0;

    static int write(void* opaque, uint8_t*, int bytes)
    {
        auto* sink = static_cast<CountingSink*>(opaque);
        sink->position += bytes;
        sink->size = std::max(sink->size, sink->position);
        return bytes;
    }
    static int64_t seek(void* opaque, int64_t offset, int whence)
    {
        auto* sink = static_cast<CountingSink*>(opaque);
        switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return sink->size;
        case SEEK_SET: return sink->position = offset;
        case SEEK_CUR: return sink->position += offset;
        case SEEK_END: return sink->position = sink->size + offset;
        default: return AVERROR(EINVAL);
        }
    }
};

void CMediaWriter::CountingSinkFreer::operator()(CountingSink* sink) const
{
    if (sink->io)
        av_freep(&sink->io->buffer);
    avio_context_free(&sink->io);
    delete sink;
}

CMediaWriter::~CMediaWriter() = default;

std::unique_ptr<CMediaWriter> CMediaWriter::createCounting(const OutputContainer& container,
                                                           const std::optional<VideoEncoding>& video,
                                                           const std::optional<AudioFormat>& audio,
                                                           MediaError* error)
{
    return create(QString(), container, video, audio, MediaFacts(), error);
}

std::unique_ptr<CMediaWriter> CMediaWriter::create(const QString& path, const OutputContainer& container,
                                                   const std::optional<VideoEncoding>& video,
                                                   const std::optional<AudioFormat>& audio,
                                                   const MediaFacts& facts, MediaError* error)
{
    std::unique_ptr<CMediaWriter> writer(new CMediaWriter(path, container));
    if (writer->open(video, audio, facts))
        return writer;
    *error = writer->m_error;
    return nullptr;
}

bool CMediaWriter::open(const std::optional<VideoEncoding>& video, const std::optional<AudioFormat>& audio,
                        const MediaFacts& facts)
{
    const auto refuse = [this](MediaStage stage, int code) {
        fail(stage, code);
        return false;
    };
    AVFormatContext* raw = nullptr;
    if (!video && !audio)
        return refuse(MediaStage::Encode, AVERROR(EINVAL));
    // The name is kept: fast start re-opens the file to move the index to the front.
    const QByteArray url = ffmpegUrlFor(m_path);
    int result = avformat_alloc_output_context2(&raw, muxerOf(m_container), nullptr, url.constData());
    if (result < 0)
        return refuse(MediaStage::Write, result);
    m_output.reset(raw);
    m_packet = allocPacket();
    if (!m_packet)
        return refuse(MediaStage::Write, AVERROR(ENOMEM));
    if (video && (!(m_videoEncoder = openVideoEncoder(*video, m_container, &m_error)) ||
                  !(m_videoStream = addStream(m_videoEncoder.get()))))
        return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    if (audio && (!(m_audioEncoder = openAudioEncoder(*audio, m_container, &m_error)) ||
                  !(m_audioStream = addStream(m_audioEncoder.get()))))
        return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    if (audio) {
        m_audioFifo.reset(
            av_audio_fifo_alloc(m_audioEncoder->sample_fmt, audio->channels, audioFrameSize() * 2));
        if (!m_audioFifo)
            return refuse(MediaStage::Encode, AVERROR(ENOMEM));
    }
    if (!writeFacts(m_output.get(), facts, m_videoStream, m_audioStream))
        return refuse(MediaStage::Write, AVERROR(ENOMEM));
    AVDictionary* options = nullptr;
    if (m_container.fastStart && !m_path.isEmpty())
        av_dict_set(&options, "movflags", "+faststart", 0); // moving the index changes no byte count
    if ((result = openSink(url)) >= 0)
        result = avformat_write_header(m_output.get(), &options);
    av_dict_free(&options);
    if (result < 0)
        return refuse(MediaStage::Write, result);
    return true;
}

int CMediaWriter::openSink(const QByteArray& url)
{
    if (!m_path.isEmpty())
        return avio_open(&m_output->pb, url.constData(), AVIO_FLAG_WRITE);
    constexpr int kBufferBytes = 1 << 16;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
    m_counting.reset(new CountingSink);
    m_counting->io = buffer ? avio_alloc_context(buffer, kBufferBytes, 1, m_counting.get(), nullptr,
                                                 &CountingSink::write, &CountingSink::seek)
                            : nullptr;
    if (!m_counting->io) {
        av_free(buffer);
        return AVERROR(ENOMEM);
    }
    m_output->pb = m_counting->io;
    m_output->flags |= AVFMT_FLAG_CUSTOM_IO;
    return 0;
}

// Keeps the first reason.
int CMediaWriter::fail(MediaStage stage, int code)
{
    if (code < 0 && !m_error.isSet())
        m_error = mediaError(stage, code, m_path);
    return code;
}

AVStream* CMediaWriter::addStream(AVCodecContext* encoder)
{
    AVStream* stream = avformat_new_stream(m_output.get(), nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, encoder) < 0)
        return nullptr;
    stream->time_base = encoder->time_base;
    return stream;
}

// Sends one frame (null: end of stream) and writes every packet that comes out.
int CMediaWriter::encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame)
{
    int written = 0;
    const int result = encodePackets(encoder, frame, m_packet.get(), [&](AVPacket* packet) {
        takePassStats(encoder, false, &m_passStats);
        return written = writePacket(packet, encoder->time_base, stream);
    });
    if (!frame)
        takePassStats(encoder, true, &m_passStats);
    return result < 0 && written >= 0 ? fail(MediaStage::Encode, result) : result;
}

int CMediaWriter::writePacket(AVPacket* packet, AVRational timeBase, AVStream* stream)
{
    // Every picture lasts a frame: the MP4 muxer ends its edit list at the last one's end,
    // and dropped the last picture without it. ASF files stay byte for byte as they were.
    if (stream == m_videoStream && packet->duration <= 0 && std::strcmp(m_container.muxer, "asf") != 0)
        packet->duration = 1;
    av_packet_rescale_ts(packet, timeBase, stream->time_base);
    packet->stream_index = stream->index;
    (stream == m_videoStream ? m_bytes.video : m_bytes.audio) += packet->size;
    if (packet->pts != AV_NOPTS_VALUE) {
        const int64_t end = packet->pts + std::max<int64_t>(packet->duration, 0);
        m_writtenSeconds = std::max(m_writtenSeconds, double(end) * av_q2d(stream->time_base));
    }
    const int result = av_interleaved_write_frame(m_output.get(), packet);
    return result < 0 ? fail(MediaStage::Write, result) : 0;
}

int CMediaWriter::writeVideoPacket(AVPacket* packet)
{
    if (!m_videoEncoder)
        return fail(MediaStage::Write, AVERROR(EINVAL));
    return writePacket(packet, m_videoEncoder->time_base, m_videoStream);
}

int CMediaWriter::writeVideo(AVFrame* frame)
{
    if (!m_videoEncoder)
        return fail(MediaStage::Encode, AVERROR(EINVAL));
    frame->pict_type = AV_PICTURE_TYPE_NONE; // the source's frame types must not steer the encoder
    stampFixedQuality(m_videoEncoder.get(), frame);
    return encode(m_videoEncoder.get(), m_videoStream, frame);
}

int CMediaWriter::writeAudio(const AVFrame* frame)
{
    if (!m_audioEncoder || frame->format != AV_SAMPLE_FMT_FLTP ||
        frame->ch_layout.nb_channels != m_audioEncoder->ch_layout.nb_channels)
        return fail(MediaStage::Encode, AVERROR(EINVAL));
    FramePtr packed; // for an encoder that takes interleaved samples
    if (m_audioEncoder->sample_fmt != AV_SAMPLE_FMT_FLTP &&
        !(packed = packSamples(frame, m_audioEncoder->sample_fmt)))
        return fail(MediaStage::Encode, AVERROR(ENOMEM));
    const AVFrame* samples = packed ? packed.get() : frame;
    void* const* planes = reinterpret_cast<void* const*>(samples->extended_data);
    if (av_audio_fifo_write(m_audioFifo.get(), const_cast<void**>(planes), frame->nb_samples) <
        frame->nb_samples)
        return fail(MediaStage::Encode, AVERROR(ENOMEM));
    const int frameSize = audioFrameSize();
    while (av_audio_fifo_size(m_audioFifo.get()) >= frameSize) {
        const int result = encodeAudioFromFifo(frameSize);
        if (result < 0)
            return result;
    }
    return 0;
}

// Encoders with a fixed frame take exactly frame_size samples a frame.
int CMediaWriter::audioFrameSize() const
{
    constexpr int kAnySizeFrame = 1024;
    return m_audioEncoder->frame_size > 0 ? m_audioEncoder->frame_size : kAnySizeFrame;
}

int CMediaWriter::encodeAudioFromFifo(int sampleCount)
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
    clampToFullScale(frame.get());
    frame->pts = m_audioSamplesEncoded;
    m_audioSamplesEncoded += sampleCount;
    return encode(m_audioEncoder.get(), m_audioStream, frame.get());
}

int CMediaWriter::finish()
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
    if (m_counting) {
        avio_flush(m_output->pb);
        m_bytes.file = m_counting->size;
        return 0;
    }
    return fail(MediaStage::Write, avio_closep(&m_output->pb));
}

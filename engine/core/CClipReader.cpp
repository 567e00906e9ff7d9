#include "CClipReader.h"

#include "MediaFilters.h"
#include "MediaInput.h"
#include "Saturating.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
#include <libavutil/display.h>
#include <libavutil/samplefmt.h>
}

#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kFirstSeekMarginSeconds = 1.0;
constexpr double kSeekToleranceSeconds = 0.001;
constexpr int kDecoderThreads = 1;
constexpr int64_t kPadSamplesPerFrame = 1024;

struct InOutFreer
{
    void operator()(AVFilterInOut* inOut) const { avfilter_inout_free(&inOut); }
};
using InOutPtr = std::unique_ptr<AVFilterInOut, InOutFreer>;

QString channelLayoutText(const AVChannelLayout& layout)
{
    AVChannelLayout described{};
    if (layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&described, layout.nb_channels);
    else if (av_channel_layout_copy(&described, &layout) < 0)
        return QString();
    char text[128] = {};
    av_channel_layout_describe(&described, text, sizeof text);
    av_channel_layout_uninit(&described);
    return QString::fromLatin1(text);
}

} // namespace

CClipReader::CClipReader(AVMediaType type, const std::atomic_bool* cancel) : m_type(type), m_cancel(cancel) {}

CClipReader::~CClipReader() = default;

std::unique_ptr<CClipReader> CClipReader::openVideo(const MediaClip& clip, const VideoFrameFormat& format,
                                                    const std::atomic_bool* cancel, MediaError* error)
{
    std::unique_ptr<CClipReader> reader(new CClipReader(AVMEDIA_TYPE_VIDEO, cancel));
    reader->m_video = format;
    const bool opened = isStretchMode(clip.stretchMode) && reader->open(clip, format.frameRate);
    return opened ? std::move(reader) : refused(*reader, clip, error);
}

std::unique_ptr<CClipReader> CClipReader::openAudio(const MediaClip& clip, const AudioFrameFormat& format,
                                                    const std::atomic_bool* cancel, MediaError* error)
{
    std::unique_ptr<CClipReader> reader(new CClipReader(AVMEDIA_TYPE_AUDIO, cancel));
    reader->m_audio = format;
    const bool opened = format.sampleRateHz > 0 && reader->open(clip, AVRational{format.sampleRateHz, 1});
    return opened ? std::move(reader) : refused(*reader, clip, error);
}

std::unique_ptr<CClipReader> CClipReader::refused(const CClipReader& reader, const MediaClip& clip,
                                                  MediaError* error)
{
    *error = reader.m_error.isSet()
                 ? reader.m_error
                 : mediaError(MediaStage::Open, QStringLiteral("nothing to read"), clip.path);
    return nullptr;
}

// Keeps the first reason; a cancelled read needs none.
int CClipReader::fail(MediaStage stage, int code)
{
    if (code < 0 && !m_error.isSet() && !cancelled()) {
        const QString detail = code == AVERROR_EXIT ? QStringLiteral("reading timed out") : avErrorText(code);
        m_error = mediaError(stage, detail, m_clip.path);
    }
    return code;
}

bool CClipReader::open(const MediaClip& clip, AVRational unitsPerSecond)
{
    m_clip = clip;
    m_packet = allocPacket();
    m_decoded = allocFrame();
    m_pending = allocFrame();
    m_lastPicture = allocFrame();
    if (!m_packet || !m_decoded || !m_pending || !m_lastPicture || !openStream())
        return false;
    if (clampToLength(&m_clip, durationSecondsOf(m_format.get())))
        m_lengthUnits = unitsInSpan(m_clip.endSeconds - m_clip.startSeconds, unitsPerSecond);
    if (m_lengthUnits <= 0) {
        m_error = mediaError(MediaStage::Open, QStringLiteral("the file ends before the span"), m_clip.path);
        return false;
    }
    if (m_streamIndex < 0) {
        const QString standIn =
            m_type == AVMEDIA_TYPE_VIDEO
                ? blackVideoFilter(m_video.frameRate, m_video.widthPx, m_video.heightPx)
                : silentAudioFilter(m_audio.sampleRateHz, m_audio.channels, m_lengthUnits);
        m_origin = FrameOrigin::StandIn;
        m_colour = pictureColourFor(standardColourFor(m_video.widthPx, m_video.heightPx));
        return fail(MediaStage::Filter, buildGraph(standIn, nullptr)) >= 0;
    }
    if (!m_decoder) {
        m_error =
            mediaError(MediaStage::Decode, noDecoderReason(m_format->streams[m_streamIndex]), m_clip.path);
        return false;
    }
    seekBefore(m_clip.startSeconds);
    return m_format != nullptr;
}

// Opens (or reopens, to read from the very beginning) the file and its stream.
bool CClipReader::openStream()
{
    m_format = openMediaInput(m_clip.path, m_cancel, &m_error);
    if (!m_format)
        return false;
    m_streamIndex = bestStreamIndex(m_format.get(), m_type);
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (int(i) != m_streamIndex)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    if (m_streamIndex < 0)
        return true;
    AVStream* stream = m_format->streams[m_streamIndex];
    if (m_decoder)
        avcodec_flush_buffers(m_decoder.get());
    else
        m_decoder = openDecoder(stream, kDecoderThreads);
    const int64_t start = m_format->start_time;
    m_fileStartTs = start == AV_NOPTS_VALUE ? 0 : av_rescale_q(start, AV_TIME_BASE_Q, stream->time_base);
    m_lastPts = AV_NOPTS_VALUE;
    m_seeked = false;
    m_awaitKeyFrame = false;
    m_demuxEnded = false;
    return true;
}

// Lands on a frame no later than the span's start, so the filters can cut exactly
// there; widens the margin while the first key frame after the seek comes too late.
void CClipReader::seekBefore(double seconds)
{
    const double timeBase = av_q2d(m_format->streams[m_streamIndex]->time_base);
    const int64_t fileStartUs = m_format->start_time == AV_NOPTS_VALUE ? 0 : m_format->start_time;
    for (double margin = kFirstSeekMarginSeconds; seconds - margin > 0.0; margin *= 4.0) {
        const int64_t target = saturatingAdd(fileStartUs, std::llround((seconds - margin) * AV_TIME_BASE));
        armReadDeadline(m_format.get());
        if (avformat_seek_file(m_format.get(), -1, INT64_MIN, target, target, 0) < 0)
            break;
        avcodec_flush_buffers(m_decoder.get());
        m_lastPts = AV_NOPTS_VALUE;
        m_seeked = true;
        m_awaitKeyFrame = m_type == AVMEDIA_TYPE_VIDEO;
        m_demuxEnded = false;
        const int result = decodeNext(m_pending.get());
        if (result == AVERROR_EXIT)
            return;
        if (result == 0 && double(m_pending->pts) * timeBase <= seconds + kSeekToleranceSeconds)
            return;
        av_frame_unref(m_pending.get());
    }
    if (m_seeked && !openStream())
        m_format.reset();
}

int CClipReader::readPacket()
{
    if (cancelled())
        return AVERROR_EXIT;
    armReadDeadline(m_format.get());
    const int result = av_read_frame(m_format.get(), m_packet.get());
    if (result == AVERROR_EOF) {
        m_demuxEnded = true;
        return avcodec_send_packet(m_decoder.get(), nullptr);
    }
    if (result < 0)
        return fail(MediaStage::Decode, result); // a read error is not the end of the file
    if (m_packet->stream_index == m_streamIndex) {
        // A damaged packet is skipped; the decoder conceals what it can.
        avcodec_send_packet(m_decoder.get(), m_packet.get());
    }
    av_packet_unref(m_packet.get());
    return 0;
}

// The next decoded frame with pts from the file's start (stream time base).
int CClipReader::decodeNext(AVFrame* frame)
{
    if (!m_format || !m_decoder)
        return AVERROR(EIO);
    for (;;) {
        const int result = avcodec_receive_frame(m_decoder.get(), frame);
        if (result == 0) {
            const bool usable = !(m_awaitKeyFrame && !frame->key_frame) && stampFrame(frame);
            if (usable) {
                m_awaitKeyFrame = false;
                return 0;
            }
            av_frame_unref(frame);
            continue;
        }
        if (result == AVERROR_EOF)
            return AVERROR_EOF;
        if (result != AVERROR(EAGAIN) && m_demuxEnded)
            return AVERROR_EOF;
        if (!m_demuxEnded) {
            const int read = readPacket();
            if (read < 0)
                return read;
        }
    }
}

bool CClipReader::stampFrame(AVFrame* frame)
{
    const AVStream* stream = m_format->streams[m_streamIndex];
    if (m_type == AVMEDIA_TYPE_AUDIO && (frame->sample_rate <= 0 || frame->nb_samples <= 0))
        return false;
    int64_t pts = frame->best_effort_timestamp;
    if (pts != AV_NOPTS_VALUE)
        pts = saturatingSub(pts, m_fileStartTs);
    else if (m_lastPts != AV_NOPTS_VALUE)
        pts = saturatingAdd(m_lastPts, m_lastDuration);
    else if (!m_seeked)
        pts = 0;
    else
        return false; // after a seek an untimed frame cannot be placed
    // Pictures must move forward in time; sound overlaps are smoothed by the resampler.
    if (m_type == AVMEDIA_TYPE_VIDEO && m_lastPts != AV_NOPTS_VALUE && pts <= m_lastPts)
        return false;
    if (m_type == AVMEDIA_TYPE_VIDEO) {
        AVRational rate = av_guess_frame_rate(m_format.get(), const_cast<AVStream*>(stream), frame);
        if (rate.num <= 0 || rate.den <= 0)
            rate = m_video.frameRate;
        m_lastDuration = av_rescale_q(1, av_inv_q(rate), stream->time_base);
    } else {
        m_lastDuration =
            av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, stream->time_base);
    }
    m_lastPts = pts;
    frame->pts = pts;
    return true;
}

int CClipReader::feedGraph()
{
    AVFrame* frame = m_pending->buf[0] ? m_pending.get() : m_decoded.get();
    int result = frame == m_pending.get() ? 0 : decodeNext(frame);
    if (result == AVERROR_EOF) {
        if (!m_graph) {
            m_error = mediaError(MediaStage::Decode, QStringLiteral("nothing in the span could be decoded"),
                                 m_clip.path);
            return AVERROR_INVALIDDATA;
        }
        m_graphInputClosed = true;
        return std::min(0, av_buffersrc_add_frame_flags(m_source, nullptr, 0));
    }
    if (result < 0)
        return result;
    if (!m_graph)
        result = buildGraph(clipFilter(frame), frame);
    if (result >= 0 && matchesGraphInput(frame))
        result = av_buffersrc_add_frame_flags(m_source, frame, 0);
    av_frame_unref(frame);
    if (result == AVERROR_EOF) {
        m_graphInputClosed = true; // the span is complete downstream
        return 0;
    }
    return result < 0 ? fail(MediaStage::Filter, result) : 0;
}

// The pictures' colour is settled by the first one: the source's tags or guess, and the
// format's colour or the one a viewer is given.
QString CClipReader::clipFilter(const AVFrame* first)
{
    if (m_type == AVMEDIA_TYPE_VIDEO) {
        // Windows Media is read as its players read it, and as this program writes it
        const bool windowsMedia = std::strcmp(m_format->iformat->name, "asf") == 0;
        const VideoColour source =
            sourceColourOf(first, m_format->streams[m_streamIndex]->codecpar, windowsMedia);
        m_colour = pictureColourFor(source);
        const std::optional<ColourConversion> conversion = colourConversion(source, m_colour, first->format);
        m_toneMaps = conversion && isHdr(source);
        return videoClipFilter(m_clip.startSeconds, m_video.frameRate, StretchMode(m_clip.stretchMode),
                               m_video.widthPx, m_video.heightPx, displayRotation(), conversion);
    }
    return audioClipFilter(m_clip.startSeconds, m_clip.endSeconds, m_audio.sampleRateHz, m_audio.channels,
                           m_lengthUnits);
}

VideoColour CClipReader::pictureColourFor(const VideoColour& source) const
{
    if (m_video.colour.matrix != AVCOL_SPC_UNSPECIFIED)
        return m_video.colour;
    return viewingColourFor(source, m_video.widthPx, m_video.heightPx);
}

// Clockwise degrees the stream is shown turned by, as phones record portrait clips.
double CClipReader::displayRotation() const
{
    const AVStream* stream = m_format->streams[m_streamIndex];
    const uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
    return matrix ? -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix)) : 0.0;
}

QString CClipReader::sourceFilterArgs(const AVFrame* first) const
{
    AVStream* stream = m_format->streams[m_streamIndex];
    const AVRational timeBase = stream->time_base;
    if (m_type == AVMEDIA_TYPE_VIDEO) {
        // The pixel aspect often lives in the container rather than the bitstream.
        AVRational aspect = av_guess_sample_aspect_ratio(m_format.get(), stream, const_cast<AVFrame*>(first));
        if (aspect.num <= 0 || aspect.den <= 0)
            aspect = AVRational{1, 1};
        return QStringLiteral("video_size=%1x%2:pix_fmt=%3:time_base=%4/%5:pixel_aspect=%6/%7")
            .arg(first->width)
            .arg(first->height)
            .arg(first->format)
            .arg(timeBase.num)
            .arg(timeBase.den)
            .arg(aspect.num)
            .arg(aspect.den);
    }
    const char* sampleFormat = av_get_sample_fmt_name(AVSampleFormat(first->format));
    return QStringLiteral("time_base=%1/%2:sample_rate=%3:sample_fmt=%4:channel_layout=%5")
        .arg(timeBase.num)
        .arg(timeBase.den)
        .arg(first->sample_rate)
        .arg(QString::fromLatin1(sampleFormat ? sampleFormat : "none"), channelLayoutText(first->ch_layout));
}

// Builds source -> description -> sink; a description that generates its own frames
// (black, silence) is built with no source. Readers run on the engine's worker
// threads, whose numbers are already in the C locale for FFmpeg's parser.
int CClipReader::buildGraph(const QString& description, const AVFrame* first)
{
    const bool video = m_type == AVMEDIA_TYPE_VIDEO;
    m_graph.reset(avfilter_graph_alloc());
    if (!m_graph)
        return AVERROR(ENOMEM);
    // Tone mapping costs more than decoding and encoding together: its slices share the cores.
    m_graph->nb_threads = m_toneMaps ? std::max(1, QThread::idealThreadCount()) : 1;
    int result = 0;
    if (first) {
        result = avfilter_graph_create_filter(&m_source, avfilter_get_by_name(video ? "buffer" : "abuffer"),
                                              "in", sourceFilterArgs(first).toLatin1().constData(), nullptr,
                                              m_graph.get());
        if (result < 0)
            return result;
        m_inputFormat = first->format;
        m_inputWidth = first->width;
        m_inputHeight = first->height;
        m_inputSampleRate = first->sample_rate;
        m_inputChannels = first->ch_layout.nb_channels;
    }
    result = avfilter_graph_create_filter(&m_sink, avfilter_get_by_name(video ? "buffersink" : "abuffersink"),
                                          "out", nullptr, nullptr, m_graph.get());
    if (result < 0)
        return result;

    AVFilterInOut* rawInputs = nullptr;
    AVFilterInOut* rawOutputs = nullptr;
    result =
        avfilter_graph_parse2(m_graph.get(), description.toLatin1().constData(), &rawInputs, &rawOutputs);
    const InOutPtr inputs(rawInputs);
    const InOutPtr outputs(rawOutputs);
    if (result < 0)
        return result;
    const bool shapeOk = (first ? inputs && !inputs->next : !inputs) && outputs && !outputs->next;
    if (!shapeOk)
        return AVERROR(EINVAL);
    if (first && (result = avfilter_link(m_source, 0, inputs->filter_ctx, unsigned(inputs->pad_idx))) < 0)
        return result;
    if ((result = avfilter_link(outputs->filter_ctx, unsigned(outputs->pad_idx), m_sink, 0)) < 0)
        return result;
    return avfilter_graph_config(m_graph.get(), nullptr);
}

// Frames whose layout changes mid-stream are dropped rather than fed to a graph
// configured for the first one.
bool CClipReader::matchesGraphInput(const AVFrame* frame) const
{
    if (frame->format != m_inputFormat)
        return false;
    if (m_type == AVMEDIA_TYPE_VIDEO)
        return frame->width == m_inputWidth && frame->height == m_inputHeight;
    return frame->sample_rate == m_inputSampleRate && frame->ch_layout.nb_channels == m_inputChannels;
}

int CClipReader::readFrame(AVFrame* out)
{
    const int result = m_type == AVMEDIA_TYPE_VIDEO ? readVideo(out) : readAudio(out);
    return result < 0 && result != AVERROR_EOF ? fail(MediaStage::Decode, result) : result;
}

// Exactly m_lengthUnits pictures: the rate filter places them, the count ends the
// span, and a picture stream that stops early holds its last frame.
int CClipReader::readVideo(AVFrame* out)
{
    while (m_unitsOut < m_lengthUnits) {
        int result = m_graph ? av_buffersink_get_frame(m_sink, out) : AVERROR(EAGAIN);
        if (result >= 0) {
            stampColour(out, m_colour);
            av_frame_unref(m_lastPicture.get());
            if ((result = av_frame_ref(m_lastPicture.get(), out)) < 0)
                return result;
            out->pts = m_unitsOut++;
            return 0;
        }
        if (result == AVERROR_EOF || (result == AVERROR(EAGAIN) && m_graphInputClosed))
            return padVideo(out);
        if (result != AVERROR(EAGAIN))
            return fail(MediaStage::Filter, result);
        if ((result = feedGraph()) < 0)
            return result;
    }
    return AVERROR_EOF;
}

int CClipReader::padVideo(AVFrame* out)
{
    if (m_unitsOut >= m_lengthUnits)
        return AVERROR_EOF;
    if (!m_lastPicture->buf[0]) {
        m_error = mediaError(MediaStage::Decode, QStringLiteral("no picture could be decoded"), m_clip.path);
        return AVERROR_INVALIDDATA;
    }
    const int result = av_frame_ref(out, m_lastPicture.get());
    if (result < 0)
        return result;
    out->pts = m_unitsOut++;
    m_origin = FrameOrigin::Padding;
    return 0;
}

// The filters cut the sound to at most m_lengthUnits samples; silence makes up the rest.
int CClipReader::readAudio(AVFrame* out)
{
    for (;;) {
        int result = m_graph ? av_buffersink_get_frame(m_sink, out) : AVERROR(EAGAIN);
        if (result >= 0) {
            out->pts = m_unitsOut;
            m_unitsOut += out->nb_samples;
            return 0;
        }
        if (result == AVERROR_EOF || (result == AVERROR(EAGAIN) && m_graphInputClosed))
            return padAudio(out);
        if (result != AVERROR(EAGAIN))
            return fail(MediaStage::Filter, result);
        if ((result = feedGraph()) < 0)
            return result;
    }
}

int CClipReader::padAudio(AVFrame* out)
{
    const int64_t missing = m_lengthUnits - m_unitsOut;
    if (missing <= 0)
        return AVERROR_EOF;
    out->format = AV_SAMPLE_FMT_FLTP;
    out->sample_rate = m_audio.sampleRateHz;
    out->nb_samples = int(std::min(missing, kPadSamplesPerFrame));
    av_channel_layout_default(&out->ch_layout, m_audio.channels);
    int result = av_frame_get_buffer(out, 0);
    if (result < 0)
        return result;
    if ((result = av_samples_set_silence(out->extended_data, 0, out->nb_samples, m_audio.channels,
                                         AV_SAMPLE_FMT_FLTP)) < 0)
        return result;
    out->pts = m_unitsOut;
    m_unitsOut += out->nb_samples;
    m_origin = FrameOrigin::Padding;
    return 0;
}

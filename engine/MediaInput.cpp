#include "MediaInput.h"

#include "MediaFilters.h"
#include "MediaPaths.h"

extern "C" {
#include <libavutil/error.h>
}

QString avErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}

InputFormatPtr openMediaInput(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, ffmpegUrlFor(path).constData(), nullptr, nullptr) < 0)
        return nullptr; // FFmpeg frees the context on failure
    InputFormatPtr format(raw);
    // Programme streams carry their length only once the streams are probed.
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return nullptr;
    return format;
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

double durationSecondsOf(const AVFormatContext* format)
{
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        return double(format->duration) / AV_TIME_BASE;
    return 0.0;
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

double probeDurationSeconds(const QString& path)
{
    const InputFormatPtr format = openMediaInput(path);
    return format ? durationSecondsOf(format.get()) : 0.0;
}

std::optional<MediaInfo> inspectMedia(const QString& path)
{
    const InputFormatPtr format = openMediaInput(path);
    if (!format)
        return std::nullopt;
    MediaInfo info;
    info.durationSeconds = durationSecondsOf(format.get());
    if (info.durationSeconds <= 0.0)
        return std::nullopt;
    const int videoIndex = bestStreamIndex(format.get(), AVMEDIA_TYPE_VIDEO);
    const int audioIndex = bestStreamIndex(format.get(), AVMEDIA_TYPE_AUDIO);
    if (videoIndex >= 0) {
        AVStream* stream = format->streams[videoIndex];
        if (!openDecoder(stream, 1))
            return std::nullopt;
        info.hasVideo = true;
        info.videoFrameRate = av_guess_frame_rate(format.get(), stream, nullptr);
    }
    if (audioIndex >= 0) {
        if (!openDecoder(format->streams[audioIndex], 1))
            return std::nullopt;
        info.hasAudio = true;
    }
    if (!info.hasVideo && !info.hasAudio)
        return std::nullopt;
    return info;
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

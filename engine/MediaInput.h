// Opening media files for reading: the container with its streams probed, the
// decoders, the length. Shared by probing, the write checks and the clip reader.
#pragma once

#include "FfmpegHandles.h"
#include "MediaClip.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// The container opened and its streams probed; null when the file is not readable media.
InputFormatPtr openMediaInput(const QString& path);

// A decoder for the stream, opened; null when there is none for its codec.
CodecContextPtr openDecoder(const AVStream* stream, int threadCount);

// The length in seconds, 0.0 when the container does not say.
double durationSecondsOf(const AVFormatContext* format);

// Index of the main stream of that type, -1 when there is none.
int bestStreamIndex(AVFormatContext* format, AVMediaType type);

// Length of a media file in seconds; 0.0 when it cannot be read or has no known length.
double probeDurationSeconds(const QString& path);

// What the write checks need to know of an input.
struct MediaInfo
{
    double durationSeconds = 0.0;
    bool hasVideo = false;
    bool hasAudio = false;
    AVRational videoFrameRate{0, 1}; // {0, 1} when the file does not tell
};

// nullopt unless the file opens, has a length, and every picture and sound stream
// it has can be decoded.
std::optional<MediaInfo> inspectMedia(const QString& path);

// inspectMedia, or a cache in front of it.
using MediaInspector = std::function<std::optional<MediaInfo>(const QString& path)>;

// The rate the pictures of a clip list are made at: the first picture's own rate, up
// to maxRate (see cappedFrameRate); maxRate when no clip has a picture.
AVRational clipListFrameRate(const std::vector<MediaClip>& clips, AVRational maxRate,
                             const MediaInspector& inspect);

// Opening media files for reading: the container with its streams probed, the
// decoders, the length. Shared by probing, the write checks and the clip reader.
// Every open, probe and read can be interrupted by a cancel flag and by a deadline,
// so no file (a stalled network share, a hostile stream) can hold a thread for ever.
#pragma once

#include "FfmpegHandles.h"
#include "MediaClip.h"
#include "MediaError.h"
#include "MediaFacts.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// The container opened and its streams probed; null when the file is not readable
// media (error says why). Only regular files are opened: a pipe or a device could
// block the reading thread where no interrupt reaches it. The probe must finish
// within a few seconds; cancel, when set, interrupts it too, and later reads.
InputFormatPtr openMediaInput(const QString& path, const std::atomic_bool* cancel = nullptr,
                              MediaError* error = nullptr);

// Gives the next read of an opened input its own deadline, counted from now.
void armReadDeadline(AVFormatContext* format);

// A decoder for the stream, opened; null when there is none for its codec.
CodecContextPtr openDecoder(const AVStream* stream, int threadCount);

// Why a stream has no decoder: "no decoder for hevc", or for a format FFmpeg cannot even name.
QString noDecoderReason(const AVStream* stream);

// The length the container claims, in seconds; 0.0 when it does not say.
double durationSecondsOf(const AVFormatContext* format);

// The length the data supports: the container's claim, unless the stream timestamps
// at the end of the file show the data ending well before or after it. Reads the end
// of the file, so the input is left positioned there. 0.0 when the container does not say.
double verifiedDurationSecondsOf(AVFormatContext* format);

// Index of the main stream of that type, -1 when there is none.
int bestStreamIndex(AVFormatContext* format, AVMediaType type);

// Length of a media file in seconds (verified against its data); 0.0 when it cannot
// be read or has no known length.
double probeDurationSeconds(const QString& path, MediaError* error = nullptr);

// What the write checks need to know of an input, and what it says of itself.
struct MediaInfo
{
    double durationSeconds = 0.0;
    bool hasVideo = false;
    bool hasAudio = false;
    AVRational videoFrameRate{0, 1}; // {0, 1} when the file does not tell
    MediaFacts facts;
};

// nullopt unless the file opens, has a length, and every picture and sound stream
// it has can be decoded.
std::optional<MediaInfo> inspectMedia(const QString& path, MediaError* error = nullptr);

// True when every stream of the file gives at least one decoded frame: a written
// file that does not is no output at all.
bool everyStreamDecodes(const QString& path, MediaError* error);

// inspectMedia, or a cache in front of it.
using MediaInspector = std::function<std::optional<MediaInfo>(const QString& path)>;

// The rate the pictures of a clip list are made at: the first picture's own rate, up
// to maxRate (see cappedFrameRate); maxRate when no clip has a picture.
AVRational clipListFrameRate(const std::vector<MediaClip>& clips, AVRational maxRate,
                             const MediaInspector& inspect);

// Filter graph descriptions (libavfilter syntax) that turn a clip's decoded frames
// into frames of the output: trim, constant frame rate, stretch mode, colour, sound format.
#pragma once

#include "VideoColour.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <QString>

#include <cstdint>
#include <optional>

// The four ways a picture is fitted into the output frame, in the order of list 1151.
enum class StretchMode
{
    Stretch = 0,    // scaled to the frame, aspect ignored
    NoResize = 1,   // centred at its own size, cropped or padded black
    KeepAspect = 2, // scaled to fit inside, black bars
    Crop = 3,       // scaled to cover, overflow cut away
};

bool isStretchMode(int mode);

// Pictures of one colour made into pictures of another where they are scaled.
struct ColourConversion
{
    VideoColour from;
    VideoColour to;
    bool dither = false; // from more than 8 bits
};

// What the plain scaler cannot do right: another matrix or range (it keeps the values),
// a drop from more than 8 bits (it leaves steps in smooth gradients), HDR light (it
// does not tone-map), RGB into BT.709 (it always takes BT.601). Nullopt when it can:
// that path stays exactly as it always was.
std::optional<ColourConversion> colourConversion(const VideoColour& from, const VideoColour& to,
                                                 int pixelFormat);

// With a conversion the scaling step converts the colour too, in one pass, dithered
// down to 8 bits; HDR light is tone-mapped there.
QString stretchFilter(StretchMode mode, int widthPx, int heightPx,
                      const std::optional<ColourConversion>& conversion = std::nullopt);

// Frames timed from the start of their file in, frames of the span starting at
// startSeconds at the output rate and size out, turned upright first (see
// uprightFilter). The reader stops after the span.
QString videoClipFilter(double startSeconds, AVRational frameRate, StretchMode mode, int widthPx,
                        int heightPx, double clockwiseDegrees = 0.0,
                        const std::optional<ColourConversion>& conversion = std::nullopt);

// What turns a picture shown rotated by clockwiseDegrees (a phone's display matrix)
// upright, to the nearest quarter turn; empty when it already is.
QString uprightFilter(double clockwiseDegrees);

// Sound of [startSeconds, endSeconds) as at most sampleCount samples (gaps filled
// with silence) in planar float at the output rate and channels. A short end is the
// reader's to pad, since only it knows how much of that the data covers.
QString audioClipFilter(double startSeconds, double endSeconds, int sampleRateHz, int channels,
                        int64_t sampleCount);

// Stand-ins for a clip whose file has no picture or no sound.
QString blackVideoFilter(AVRational frameRate, int widthPx, int heightPx);
QString silentAudioFilter(int sampleRateHz, int channels, int64_t sampleCount);

// A source's own frame rate, unless it is unknown, below one frame a second or
// above maxRate: then maxRate.
AVRational cappedFrameRate(AVRational sourceRate, AVRational maxRate);

// Number of output samples or frames in a span, rounded to the nearest.
int64_t unitsInSpan(double seconds, AVRational unitsPerSecond);

// How a long conversion is cut into segments that encode side by side: for video
// encoders that use a single core, each segment gets its own reader and encoder.
#pragma once

#include "MediaClip.h"

#include <cstdint>
#include <vector>

// Output pictures [first, end) of a write.
struct FrameSpan
{
    int64_t first = 0;
    int64_t end = 0;
};

// Below this a segment's set-up (open, seek, the first key frame) costs more than
// sharing the work gains.
constexpr double kMinSegmentSeconds = 4.0;
// Above this one segment's packets, held until the muxer reaches them, would take
// too much memory.
constexpr double kMaxSegmentSeconds = 10.0;

// How many segments may encode at once: VV_THREADS when set to a number from 1,
// otherwise the machine's cores.
int segmentWorkerCount();

// Segments of equal length (to a picture) for workers to share out, a whole number per
// worker so that all finish together, each between the minimum and the maximum length
// where the span allows; empty when the span is too short for two.
std::vector<FrameSpan> planSegments(int64_t frames, AVRational frameRate, int workers);

// The part of clip that gives the pictures of span, out of a clip of totalFrames.
MediaClip segmentClip(const MediaClip& clip, const FrameSpan& span, int64_t totalFrames,
                      AVRational frameRate);

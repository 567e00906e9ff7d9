// One entry of the clip list: a span of a source file and how its picture is fitted.
#pragma once

extern "C" {
#include <libavutil/rational.h>
}

#include "VideoColour.h"

#include <QString>

#include <algorithm>
#include <vector>

struct MediaClip
{
    QString path;
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    int stretchMode = 0; // StretchMode; pictures only
};

// Keeps the clip's span inside [0, lengthSeconds] of its file; false when nothing is left.
inline bool clampToLength(MediaClip* clip, double lengthSeconds)
{
    clip->startSeconds = std::max(0.0, clip->startSeconds);
    clip->endSeconds = std::min(clip->endSeconds, lengthSeconds);
    return clip->endSeconds > clip->startSeconds;
}

// The picture of an output is its video clips in order, the sound its audio clips.
struct ClipList
{
    std::vector<MediaClip> video;
    std::vector<MediaClip> audio;
};

// The frames a clip reader delivers.
struct VideoFrameFormat
{
    int widthPx = 0;
    int heightPx = 0;
    AVRational frameRate{25, 1};
    // Unspecified: the source's own matrix in limited range (SDR BT.709 for HDR sources),
    // for a viewer that converts each picture by its tags.
    VideoColour colour;
};

struct AudioFrameFormat
{
    int sampleRateHz = 0;
    int channels = 0;
};

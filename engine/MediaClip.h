// One entry of the clip list: a span of a source file and how its picture is fitted.
#pragma once

extern "C" {
#include <libavutil/rational.h>
}

#include <QString>

#include <vector>

struct MediaClip
{
    QString path;
    double startSeconds = 0.0;
    double endSeconds = 0.0;
    int stretchMode = 0; // StretchMode; pictures only
};

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
};

struct AudioFrameFormat
{
    int sampleRateHz = 0;
    int channels = 0;
};

#include "SegmentPlan.h"

#include <QByteArray>
#include <QThread>

#include <algorithm>
#include <cmath>

int segmentWorkerCount()
{
    bool ok = false;
    const int forced = qEnvironmentVariableIntValue("VV_THREADS", &ok);
    return ok && forced >= 1 ? forced : std::max(1, QThread::idealThreadCount());
}

std::vector<FrameSpan> planSegments(int64_t frames, AVRational frameRate, int workers)
{
    const double framesPerSecond = av_q2d(frameRate);
    if (framesPerSecond <= 0.0)
        return {};
    const double seconds = double(frames) / framesPerSecond;
    workers = int(std::min<double>(workers, std::floor(seconds / kMinSegmentSeconds)));
    if (workers < 2)
        return {};
    const int64_t rounds = int64_t(std::ceil(seconds / (workers * kMaxSegmentSeconds)));
    const int64_t count = rounds * workers;
    std::vector<FrameSpan> spans;
    for (int64_t index = 0; index < count; ++index)
        spans.push_back(FrameSpan{frames * index / count, frames * (index + 1) / count});
    return spans;
}

MediaClip segmentClip(const MediaClip& clip, const FrameSpan& span, int64_t totalFrames, AVRational frameRate)
{
    MediaClip part = clip;
    const double secondsPerFrame = av_q2d(av_inv_q(frameRate));
    part.startSeconds = clip.startSeconds + double(span.first) * secondsPerFrame;
    if (span.end < totalFrames)
        part.endSeconds = clip.startSeconds + double(span.end) * secondsPerFrame;
    return part;
}

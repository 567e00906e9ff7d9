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
    const int64_t grid = frameRate.den == 1 ? frameRate.num : 1;
    std::vector<FrameSpan> spans;
    int64_t first = 0;
    for (int64_t index = 1; index <= count; ++index) {
        int64_t end = index == count ? frames : frames * index / count;
        end = std::clamp(end / grid * grid, first + 1, frames);
        spans.push_back(FrameSpan{first, end});
        first = end;
    }
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

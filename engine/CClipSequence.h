// The clips of one kind (pictures or sound) read one after another as one
// continuous stream of frames.
#pragma once

#include "CClipReader.h"

#include <functional>
#include <vector>

class CClipSequence
{
public:
    using ReaderFactory = std::function<std::unique_ptr<CClipReader>(const MediaClip&)>;

    // timeBase: of the frames' pts, 1/frame rate or 1/sample rate.
    CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase);

    // The next frame, pts counted from the start of the first clip. AVERROR_EOF
    // after the last clip; an error when a clip can no longer be read.
    int readFrame(AVFrame* out);

    // Output time up to which frames have been read.
    double positionSeconds() const { return double(m_positionUnits) * av_q2d(m_timeBase); }
    bool atEnd() const { return m_atEnd; }

private:
    std::vector<MediaClip> m_clips;
    ReaderFactory m_openReader;
    AVRational m_timeBase;
    size_t m_nextClip = 0;
    std::unique_ptr<CClipReader> m_reader;
    int64_t m_clipOffsetUnits = 0;
    int64_t m_positionUnits = 0;
    bool m_atEnd = false;
};

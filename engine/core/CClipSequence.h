// The clips of one kind (pictures or sound) read one after another as one
// continuous stream of frames.
#pragma once

#include "CClipReader.h"

#include <functional>
#include <vector>

class CDataCoverage;

class CClipSequence
{
public:
    // Pictures of format, pts in frames; or sound of format, pts in samples. Both
    // stop at the next packet once cancel is set. coverage, shared with the other
    // kind's sequence, bounds how far a clip whose data ran out may be padded; null
    // leaves that to whoever takes the frames.
    static CClipSequence pictures(std::vector<MediaClip> clips, const VideoFrameFormat& format,
                                  const std::atomic_bool* cancel, CDataCoverage* coverage);
    static CClipSequence sound(std::vector<MediaClip> clips, const AudioFrameFormat& format,
                               const std::atomic_bool* cancel, CDataCoverage* coverage);

    // The next frame, pts counted from the start of the first clip. AVERROR_EOF
    // after the last clip; an error (see error()) when a clip cannot be read or its
    // data ends well before its span does.
    int readFrame(AVFrame* out);
    const MediaError& error() const { return m_error; }
    FrameOrigin lastOrigin() const { return m_lastOrigin; }

    // Output time up to which frames have been read.
    double positionSeconds() const { return double(m_positionUnits) * av_q2d(m_timeBase); }
    bool atEnd() const { return m_atEnd; }

private:
    using ReaderFactory = std::function<std::unique_ptr<CClipReader>(const MediaClip&, MediaError*)>;

    CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase,
                  CDataCoverage* coverage);
    int account(const CClipReader& reader);

    std::vector<MediaClip> m_clips;
    ReaderFactory m_openReader;
    AVRational m_timeBase; // of the frames' pts
    CDataCoverage* m_coverage;
    size_t m_nextClip = 0;
    std::unique_ptr<CClipReader> m_reader;
    int64_t m_clipOffsetUnits = 0;
    int64_t m_positionUnits = 0;
    bool m_atEnd = false;
    FrameOrigin m_lastOrigin = FrameOrigin::Source;
    MediaError m_error;
};

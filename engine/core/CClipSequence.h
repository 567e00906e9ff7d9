// The clips of one kind (pictures or sound) read one after another as one
// continuous stream of frames.
#pragma once

#include "CClipReader.h"
#include "CPauseGate.h"

#include <functional>
#include <vector>

class CClipSequence
{
public:
    // Pictures of format, pts in frames; or sound of format, pts in samples. Both
    // stop at the next packet once cancel is set, and wait at the next frame while
    // pause, when given, is paused.
    static CClipSequence pictures(std::vector<MediaClip> clips, const VideoFrameFormat& format,
                                  const std::atomic_bool* cancel, const CPauseGate* pause = nullptr);
    static CClipSequence sound(std::vector<MediaClip> clips, const AudioFrameFormat& format,
                               const std::atomic_bool* cancel, const CPauseGate* pause = nullptr);

    // Opens the first clip's file now rather than at the first read, so that a write
    // holds its sources from its start; 0 or an error (see error()).
    int open();

    // The next frame, pts counted from the start of the first clip. AVERROR_EOF
    // after the last clip; an error (see error()) when a clip cannot be read.
    int readFrame(AVFrame* out);

    // A frame read, with where it came from and the output time it ends at.
    struct Frame
    {
        FramePtr frame;
        FrameOrigin origin = FrameOrigin::Source;
        double endSeconds = 0.0;
    };
    // Hands each frame to take until the sequence ends, or the output time reaches
    // untilSeconds. Returns 0, the read's error, or take's (negative) result.
    int readUntil(double untilSeconds, const std::function<int(Frame)>& take);

    const MediaError& error() const { return m_error; }
    // The file of the clip being read, for the reasons given about its data.
    QString currentPath() const;

    // Output time up to which frames have been read.
    double positionSeconds() const { return double(m_positionUnits) * av_q2d(m_timeBase); }
    bool atEnd() const { return m_atEnd; }

private:
    using ReaderFactory = std::function<std::unique_ptr<CClipReader>(const MediaClip&, MediaError*)>;

    CClipSequence(std::vector<MediaClip> clips, ReaderFactory openReader, AVRational timeBase, const CPauseGate* pause);
    bool openNextClip();

    std::vector<MediaClip> m_clips;
    ReaderFactory m_openReader;
    AVRational m_timeBase; // of the frames' pts
    const CPauseGate* m_pause;
    size_t m_nextClip = 0;
    std::unique_ptr<CClipReader> m_reader;
    int64_t m_clipOffsetUnits = 0;
    int64_t m_positionUnits = 0;
    bool m_atEnd = false;
    MediaError m_error;
};

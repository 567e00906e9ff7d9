// The segments of one write between the threads that encode them and the one that
// muxes: workers take segments in order, at most a few ahead of the muxer so that
// held packets stay bounded, and the muxer takes their packets in output order.
#pragma once

#include "FfmpegHandles.h"
#include "FrameOrigin.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

struct EncodedPicture
{
    PacketPtr packet;
    FrameOrigin origin = FrameOrigin::Source; // of the picture it was encoded from
};

class CSegmentQueue
{
public:
    // aheadLimit: how many segments past the muxer's may be taken.
    CSegmentQueue(size_t segmentCount, size_t aheadLimit);

    // The next segment to encode; waits while too far ahead. nullopt when every
    // segment is taken or the queue is aborted.
    std::optional<size_t> take();
    void deliver(size_t segment, EncodedPicture picture);
    void complete(size_t segment);

    // The next picture in output order; waits for it. nullopt after the last one, or
    // once aborted.
    std::optional<EncodedPicture> next();
    // Wakes every waiting thread; nothing more is handed out.
    void abort();
    bool isAborted() const;

private:
    struct Segment
    {
        std::deque<EncodedPicture> pictures;
        bool complete = false;
    };

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Segment> m_segments;
    const size_t m_aheadLimit;
    size_t m_nextToTake = 0;
    size_t m_muxing = 0; // the segment the muxer reads from
    bool m_aborted = false;
};

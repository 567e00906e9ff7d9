// The segments of one write between the threads that encode them and the one that
// muxes. Worker k of n takes segments k, k + n, k + 2n... once the muxer has opened their
// sources, at most n ahead of the muxer so that held packets stay bounded: each
// worker's encoder then sees the same pictures in every run, however the threads are
// scheduled, and the file comes out the same. The muxer takes the packets in output
// order, up to the first segment that failed.
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
    CSegmentQueue(size_t segmentCount, size_t workers);

    // Segments may be taken from now on.
    void open();
    // The worker's next segment to encode; waits until the queue is open and while too
    // far ahead. nullopt when the worker's segments are all taken, one failed, or the
    // queue is aborted.
    std::optional<size_t> take(size_t worker);
    // False once the queue is aborted: the picture is not wanted.
    bool deliver(size_t segment, EncodedPicture picture);
    void complete(size_t segment);
    // The segment gives no more pictures; the ones before it are still muxed.
    void fail(size_t segment);

    // The next picture in output order; waits for it. nullopt after the last one, or
    // once aborted; reaching a failed segment aborts.
    std::optional<EncodedPicture> next();
    // The failed segment next() stopped at, if it did.
    std::optional<size_t> stoppedAt() const;
    // Wakes every waiting thread; nothing more is handed out.
    void abort();
    bool isAborted() const;

private:
    struct Segment
    {
        std::deque<EncodedPicture> pictures;
        bool complete = false;
        bool failed = false;
    };

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Segment> m_segments;
    const size_t m_workers; // also how many segments past the muxer's may be taken
    std::vector<size_t> m_nextFor; // each worker's next segment
    size_t m_muxing = 0; // the segment the muxer reads from
    bool m_open = false;
    bool m_failed = false; // a segment failed: none is handed out any more
    std::optional<size_t> m_stoppedAt;
    bool m_aborted = false;
};

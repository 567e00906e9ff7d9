// Bounded hand-over of frames from the reading thread to the writing thread.
#pragma once

#include "FfmpegHandles.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

struct QueuedFrame
{
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    FramePtr frame;
};

class CFrameQueue
{
public:
    explicit CFrameQueue(size_t capacity) : m_capacity(capacity) {}

    // Waits while the queue is full; false once it is aborted.
    bool push(QueuedFrame item);
    // Waits while the queue is empty; nullopt once it is closed and drained, or aborted.
    std::optional<QueuedFrame> pop();
    // The producer is done: the consumer drains what is left.
    void close();
    // Both sides stop at once; what is queued is dropped.
    void abort();
    bool isAborted() const;

private:
    const size_t m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QueuedFrame> m_items;
    bool m_closed = false;
    bool m_aborted = false;
};

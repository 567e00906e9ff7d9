// Bounded hand-over of frames from a decoding thread to the thread that uses them
// (the writing thread of a conversion, or the preview player).
#pragma once

#include "FfmpegHandles.h"
#include "FrameOrigin.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

struct QueuedFrame
{
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    FramePtr frame;
    FrameOrigin origin = FrameOrigin::Source;
    double endSeconds = 0.0; // the output time it ends at
    QString source = QString(); // the file it was read from
};

class CFrameQueue
{
public:
    explicit CFrameQueue(size_t capacity) : m_capacity(capacity) {}

    // Waits while the queue is full; false once it is aborted.
    bool push(QueuedFrame item);
    // Waits while the queue is empty; nullopt once it is closed and drained, or aborted.
    std::optional<QueuedFrame> pop();
    // Never waits: nullopt while nothing is queued (see isFinished()).
    std::optional<QueuedFrame> tryPop();
    // The producer is done: the consumer drains what is left.
    void close();
    // Both sides stop at once; what is queued is dropped.
    void abort();
    bool isAborted() const;
    // Nothing more will come: closed and drained, or aborted.
    bool isFinished() const;

private:
    std::optional<QueuedFrame> takeFront();

    const size_t m_capacity;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<QueuedFrame> m_items;
    bool m_closed = false;
    bool m_aborted = false;
};

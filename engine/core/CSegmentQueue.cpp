#include "CSegmentQueue.h"

#include <algorithm>

CSegmentQueue::CSegmentQueue(size_t segmentCount, size_t workers)
    : m_segments(segmentCount), m_workers(std::max<size_t>(1, workers)), m_nextFor(m_workers)
{
    for (size_t worker = 0; worker < m_workers; ++worker)
        m_nextFor[worker] = worker;
}

void CSegmentQueue::open()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
    m_changed.notify_all();
}

std::optional<size_t> CSegmentQueue::take(size_t worker)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    size_t& next = m_nextFor[worker];
    m_changed.wait(lock, [&] { return m_aborted || m_failed || (m_open && next <= m_muxing + m_workers); });
    if (m_aborted || m_failed || next >= m_segments.size())
        return std::nullopt;
    const size_t taken = next;
    next += m_workers;
    return taken;
}

bool CSegmentQueue::deliver(size_t segment, EncodedPicture picture)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_aborted)
        return false;
    m_segments[segment].pictures.push_back(std::move(picture));
    if (segment == m_muxing)
        m_changed.notify_all();
    return true;
}

void CSegmentQueue::fail(size_t segment)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_segments[segment].failed = true;
    m_failed = true;
    m_changed.notify_all();
}

void CSegmentQueue::complete(size_t segment)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_segments[segment].complete = true;
    m_changed.notify_all();
}

std::optional<EncodedPicture> CSegmentQueue::next()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (m_aborted || m_muxing >= m_segments.size())
            return std::nullopt;
        Segment& segment = m_segments[m_muxing];
        if (segment.failed && segment.pictures.empty()) {
            m_aborted = true; // what the segment did encode is muxed first
            m_stoppedAt = m_muxing;
            m_changed.notify_all();
            return std::nullopt;
        }
        if (!segment.pictures.empty()) {
            EncodedPicture picture = std::move(segment.pictures.front());
            segment.pictures.pop_front();
            return picture;
        }
        if (segment.complete) {
            ++m_muxing; // lets a worker take one more segment
            m_changed.notify_all();
            continue;
        }
        m_changed.wait(lock);
    }
}

void CSegmentQueue::abort()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_aborted = true;
    m_changed.notify_all();
}

std::optional<size_t> CSegmentQueue::stoppedAt() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_stoppedAt;
}

bool CSegmentQueue::isAborted() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_aborted;
}

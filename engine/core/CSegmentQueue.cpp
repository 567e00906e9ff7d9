#include "CSegmentQueue.h"

CSegmentQueue::CSegmentQueue(size_t segmentCount, size_t aheadLimit)
    : m_segments(segmentCount), m_aheadLimit(aheadLimit)
{
}

std::optional<size_t> CSegmentQueue::take()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_aborted || m_nextToTake <= m_muxing + m_aheadLimit; });
    if (m_aborted || m_nextToTake >= m_segments.size())
        return std::nullopt;
    return m_nextToTake++;
}

void CSegmentQueue::deliver(size_t segment, EncodedPicture picture)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_segments[segment].pictures.push_back(std::move(picture));
    if (segment == m_muxing)
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

bool CSegmentQueue::isAborted() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_aborted;
}

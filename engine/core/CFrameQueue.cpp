#include "CFrameQueue.h"

bool CFrameQueue::push(QueuedFrame item)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // A closed queue refuses the frame anyway: waiting for room first could wait forever.
    m_changed.wait(lock, [this] { return m_aborted || m_closed || m_items.size() < m_capacity; });
    if (m_aborted || m_closed)
        return false;
    m_items.push_back(std::move(item));
    m_changed.notify_all();
    return true;
}

std::optional<QueuedFrame> CFrameQueue::pop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_aborted || m_closed || !m_items.empty(); });
    return takeFront();
}

std::optional<QueuedFrame> CFrameQueue::tryPop()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return takeFront();
}

// Called with m_mutex held.
std::optional<QueuedFrame> CFrameQueue::takeFront()
{
    if (m_aborted || m_items.empty())
        return std::nullopt;
    QueuedFrame item = std::move(m_items.front());
    m_items.pop_front();
    m_changed.notify_all();
    return item;
}

void CFrameQueue::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

void CFrameQueue::abort()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_aborted = true;
    m_items.clear();
    m_changed.notify_all();
}

bool CFrameQueue::isAborted() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_aborted;
}

bool CFrameQueue::isFinished() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_aborted || (m_closed && m_items.empty());
}

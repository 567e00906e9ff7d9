#include "CPauseGate.h"

void CPauseGate::setPaused(bool paused)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_paused = paused;
    m_closed = paused && !m_released;
    m_changed.notify_all();
}

bool CPauseGate::isPaused() const
{
    return m_closed.load();
}

void CPauseGate::pass() const
{
    if (!m_closed.load())
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_paused || m_released; });
}

void CPauseGate::release()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_closed = false;
    m_changed.notify_all();
}

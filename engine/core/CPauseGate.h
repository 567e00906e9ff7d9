// Holds the threads of a write while it is paused. Each waits at its next frame or
// packet, so nothing is dropped and the write goes on where it stood; the temporary
// file stays as it is meanwhile.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

class CPauseGate
{
public:
    void setPaused(bool paused);
    bool isPaused() const;
    // Returns at once unless paused; then waits until resumed or released.
    void pass() const;
    // Lets every thread through for good (the write is cancelled).
    void release();

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_paused = false;
    bool m_released = false;
    std::atomic_bool m_closed{false}; // paused, read without the lock on every frame
};

// The threads of one background task (a conversion, a preview): each runs one body
// to its end. The owner asks without waiting whether all have ended, so that the
// user-interface thread never blocks on a join that has work left to wait for.
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

class CWorkerThreads
{
public:
    CWorkerThreads() = default;
    // Waits for every thread.
    ~CWorkerThreads();
    CWorkerThreads(const CWorkerThreads&) = delete;
    CWorkerThreads& operator=(const CWorkerThreads&) = delete;

    // body must not throw.
    void start(std::function<void()> body);
    // Every body has returned.
    bool isDone() const { return m_running.load() == 0; }
    void join();

private:
    std::atomic_int m_running{0};
    std::vector<std::thread> m_threads;
};

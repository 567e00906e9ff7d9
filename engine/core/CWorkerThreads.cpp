#include "CWorkerThreads.h"

#include "CCLocaleScope.h"

CWorkerThreads::~CWorkerThreads()
{
    join();
}

void CWorkerThreads::start(std::function<void()> body)
{
    ++m_running;
    m_threads.emplace_back([this, body = std::move(body)] {
        const CCLocaleScope cNumbers; // everything a worker hands FFmpeg
        body();
        --m_running;
    });
}

void CWorkerThreads::join()
{
    for (std::thread& thread : m_threads) {
        if (thread.joinable())
            thread.join();
    }
}

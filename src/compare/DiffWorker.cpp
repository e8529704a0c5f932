#include "compare/DiffWorker.h"

#include <chrono>

namespace quillet {

TDiffWorker::TDiffWorker(TSolve solve)
    : m_solve(std::move(solve))
    , m_thread([this] {
        Loop();
    })
{
}

TDiffWorker::~TDiffWorker()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

bool TDiffWorker::TryStart(TDiffJob& job)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_job != nullptr || m_stop) {
            return false;
        }
        job.done = false;
        m_job = &job;
    }
    m_wake.notify_one();
    return true;
}

void TDiffWorker::Wait(TDiffJob& job, const std::function<void()>& whileWaiting)
{
    std::unique_lock lock(m_mutex);
    while (!m_finished.wait_for(lock, std::chrono::milliseconds(1), [&] {
        return job.done;
    })) {
        lock.unlock();
        whileWaiting();
        lock.lock();
    }
}

void TDiffWorker::Loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] {
            return m_stop || m_job != nullptr;
        });
        if (m_job == nullptr) {
            return;
        }
        TDiffJob& job = *m_job;
        lock.unlock();
        const bool ok = m_solve(job);
        lock.lock();
        job.ok = ok;
        job.done = true;
        m_job = nullptr;
        m_finished.notify_all();
    }
}

} // namespace quillet

#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillet {

// One edit of a script as the search finds them: line y of B inserted before
// A[x], or (y < 0) A[x] deleted.
struct TDiffEdit {
    std::int32_t x = 0;
    std::int32_t y = -1;
};

// A sub-problem A[b1..t1) against B[b2..t2) handed to the worker, with the
// edits it found; owned by the thread that handed it over.
struct TDiffJob {
    std::int32_t b1 = 0;
    std::int32_t b2 = 0;
    std::int32_t t1 = 0;
    std::int32_t t2 = 0;
    std::vector<TDiffEdit> edits;
    bool ok = false;
    bool done = false; // guarded by the worker's mutex
};

// A second thread that solves sub-problems of a difference search one at a
// time while the caller's thread goes on with the rest. `solve` runs on the
// worker's thread and must not throw.
class TDiffWorker {
public:
    using TSolve = std::function<bool(TDiffJob& job)>;

    explicit TDiffWorker(TSolve solve); // may throw std::system_error
    ~TDiffWorker();
    TDiffWorker(const TDiffWorker&) = delete;
    TDiffWorker& operator=(const TDiffWorker&) = delete;

    // Hands the job over when the worker has nothing to do; false otherwise.
    bool TryStart(TDiffJob& job);
    // Waits until the job is done, calling `whileWaiting` about once a
    // millisecond meanwhile.
    void Wait(TDiffJob& job, const std::function<void()>& whileWaiting);

private:
    void Loop();

    TSolve m_solve;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    TDiffJob* m_job = nullptr; // the job handed over and not yet done
    bool m_stop = false;
    std::thread m_thread; // last: starts once the rest is built
};

} // namespace quillet

#include "compare/Diff.h"

#include "compare/SecondThread.h"

#include <algorithm>
#include <new>
#include <system_error>

namespace quillet {

bool TDiff::Execute(const std::int32_t* a, const std::int32_t* b, std::int32_t len1, std::int32_t len2)
{
    if (m_running) {
        return false;
    }
    ClearScript();
    if (a == nullptr || b == nullptr || len1 < 0 || len2 < 0 || len1 > kMaxLines || len2 > kMaxLines) {
        return false;
    }
    m_a = a;
    m_b = b;
    m_len1 = len1;
    m_maxD = std::max(len1, len2);
    try {
        m_vf.emplace(m_maxD);
        m_vr.emplace(m_maxD);
    } catch (const std::bad_alloc&) {
        Finish(false);
        return false;
    }
    m_running = true;
    m_cancelled.store(false, std::memory_order_relaxed);
    m_failed.store(false, std::memory_order_relaxed);
    m_start = TClock::now();
    m_nextTick = m_start + std::chrono::seconds(1);
    m_meeting.reset();
    m_forwardMark = 0;
    m_reverseMark = len1;

    std::int32_t p = 0;
    while (p < len1 && p < len2 && a[p] == b[p]) {
        ++p;
    }
    std::int32_t t1 = len1;
    std::int32_t t2 = len2;
    while (p < t1 && p < t2 && a[t1 - 1] == b[t2 - 1]) {
        --t1;
        --t2;
    }
    bool ok = true;
    try {
        if (p < t1 || p < t2) {
            std::optional<TDiffWorker> worker;
            if (SecondThreadAllowed() && (t1 - p) + (t2 - p) >= kSecondThreadLines) {
                try {
                    worker.emplace([this](TDiffJob& job) {
                        return SolveJob(job);
                    });
                } catch (const std::system_error&) {
                    worker.reset(); // no thread to be had: all on this one
                }
            }
            m_worker = worker ? &*worker : nullptr;
            TRun run{&*m_vf, &*m_vr, &m_forwardMark, &m_reverseMark, nullptr};
            ok = RecursiveDiff(run, p, p, t1, t2);
            m_worker = nullptr;
        }
        if (ok) {
            PushAdd();
            PushDelete();
        }
    } catch (...) {
        m_worker = nullptr;
        Finish(false);
        throw;
    }
    Finish(ok);
    return ok;
}

void TDiff::ClearScript()
{
    m_changes.clear();
    m_pendingAdd.reset();
    m_pendingDelete.reset();
    m_pendingModify.reset();
}

// Ends a run: a failed one leaves no change list.
void TDiff::Finish(bool ok)
{
    if (!ok) {
        ClearScript();
    }
    m_vf.reset();
    m_vr.reset();
    m_a = nullptr;
    m_b = nullptr;
    m_running = false;
}

// One step of a search: lets the caller process events, reports progress
// when a full second has passed, and tells whether to go on.
bool TDiff::StepAllowed()
{
    if (OnStep) {
        OnStep();
    }
    if (OnProgress && TClock::now() >= m_nextTick) {
        TickProgress();
    }
    return !m_cancelled.load(std::memory_order_relaxed);
}

void TDiff::TickProgress()
{
    const TClock::time_point now = TClock::now();
    while (m_nextTick <= now) {
        m_nextTick += std::chrono::seconds(1);
    }
    std::int64_t value = kProgressPhase;
    if (m_forwardMark < m_reverseMark && !m_meeting) {
        if (m_len1 > 0) {
            value = std::int64_t{kProgressPhase} * (m_len1 - (m_reverseMark - m_forwardMark)) / m_len1;
        }
    } else {
        if (!m_meeting) {
            m_meeting = now;
        }
        const auto toMeeting = (*m_meeting - m_start).count();
        if (toMeeting > 0) {
            value = std::int64_t{kProgressPhase} * (now - m_start).count() / toMeeting;
        }
    }
    OnProgress(*this, static_cast<int>(std::min<std::int64_t>(value, 0x7FFFFFFF)));
}

bool TDiff::StepAllowed(const TRun& run)
{
    if (run.edits == nullptr) {
        return StepAllowed() && !m_failed.load(std::memory_order_relaxed);
    }
    return !m_cancelled.load(std::memory_order_relaxed) && !m_failed.load(std::memory_order_relaxed);
}

void TDiff::Emit(TRun& run, std::int32_t x, std::int32_t y)
{
    if (run.edits != nullptr) {
        run.edits->push_back({x, y});
    } else if (y >= 0) {
        EmitAdd(x, y);
    } else {
        EmitDelete(x);
    }
}

bool TDiff::RecursiveDiff(TRun& run, std::int32_t b1, std::int32_t b2, std::int32_t t1, std::int32_t t2)
{
    if (b1 == t1) {
        for (std::int32_t y = b2; y < t2; ++y) {
            Emit(run, b1, y);
        }
        return true;
    }
    if (b2 == t2) {
        for (std::int32_t x = b1; x < t1; ++x) {
            Emit(run, x, -1);
        }
        return true;
    }
    const diff_search::TBox box = diff_search::MakeBox(m_a, m_b, b1, b2, t1, t2);
    diff_search::TDiagonals& vf = *run.vf;
    diff_search::TDiagonals& vr = *run.vr;
    // Sentinels just outside the diagonals -M..N, written in every
    // sub-problem so that every entry the passes read has been written.
    vf[0] = b1;
    vr[box.delta] = t1;
    vf[box.n] = t1;
    vr[box.n] = t1;
    vf[-box.m - 1] = b1;
    vr[-box.m - 1] = b1;

    for (std::int32_t e = 1; e <= m_maxD; ++e) {
        if (!StepAllowed(run)) {
            return false;
        }
        const diff_search::TMeeting forward = diff_search::ForwardPass(box, vf, vr, e, *run.forwardMark);
        if (forward.found) {
            return LeftThenRight(run, b1, b2, forward.xs, forward.ys, forward.x, forward.y, t1, t2);
        }
        const diff_search::TMeeting reverse = diff_search::ReversePass(box, vf, vr, e, *run.reverseMark);
        if (reverse.found) {
            if (box.n == 1 && box.m == 1) {
                Emit(run, b1, b2);
                Emit(run, b1, -1);
                return true;
            }
            std::int32_t x = reverse.x;
            std::int32_t y = reverse.y;
            while (x < t1 && y < t2 && m_b[y] == m_a[x]) {
                ++x;
                ++y;
            }
            return LeftThenRight(run, b1, b2, reverse.x, reverse.y, x, y, t1, t2);
        }
    }
    return false;
}

bool TDiff::LeftThenRight(TRun& run,
    std::int32_t b1,
    std::int32_t b2,
    std::int32_t xs,
    std::int32_t ys,
    std::int32_t x,
    std::int32_t y,
    std::int32_t t1,
    std::int32_t t2)
{
    // Below this many lines a sub-problem is not worth a hand-over.
    constexpr std::int32_t kHandOverLines = 2048;
    TDiffJob job{x, y, t1, t2, {}, false, false};
    if (run.edits != nullptr || m_worker == nullptr || (t1 - x) + (t2 - y) < kHandOverLines
        || !m_worker->TryStart(job)) {
        return RecursiveDiff(run, b1, b2, xs, ys) && RecursiveDiff(run, x, y, t1, t2);
    }
    // Should this frame be left by an exception (from the left part or from
    // OnStep while waiting), the job is stopped and waited for first: the
    // second thread must not outlive the arrays and edits it works on.
    struct TJoin {
        TDiff& diff;
        TDiffJob& job;
        bool waited = false;
        ~TJoin()
        {
            if (!waited) {
                diff.m_failed.store(true, std::memory_order_relaxed);
                diff.m_worker->Wait(job, [] {});
            }
        }
    } join{*this, job};
    const bool leftOk = RecursiveDiff(run, b1, b2, xs, ys);
    if (!leftOk) {
        m_failed.store(true, std::memory_order_relaxed); // the job stops within a step
    }
    // Events go on while the job runs, but not once the run is stopping.
    m_worker->Wait(job, [this] {
        if (!m_cancelled.load(std::memory_order_relaxed) && !m_failed.load(std::memory_order_relaxed)
            && !StepAllowed()) {
            m_failed.store(true, std::memory_order_relaxed);
        }
    });
    join.waited = true;
    if (!leftOk || !job.ok) {
        return false;
    }
    for (const TDiffEdit& edit : job.edits) {
        Emit(run, edit.x, edit.y);
    }
    return true;
}

// Runs on the second thread: the job's sub-problem with arrays of its own.
bool TDiff::SolveJob(TDiffJob& job)
{
    try {
        const std::int32_t maxD = std::max(job.t1 - job.b1, job.t2 - job.b2);
        diff_search::TDiagonals vf(maxD);
        diff_search::TDiagonals vr(maxD);
        std::int32_t forwardMark = job.b1; // progress follows the caller's thread only
        std::int32_t reverseMark = job.t1;
        TRun run{&vf, &vr, &forwardMark, &reverseMark, &job.edits};
        return RecursiveDiff(run, job.b1, job.b2, job.t1, job.t2);
    } catch (const std::bad_alloc&) {
        m_failed.store(true, std::memory_order_relaxed);
        return false;
    }
}

void TDiff::EmitAdd(std::int32_t x, std::int32_t y)
{
    if (m_pendingAdd && x == m_pendingAdd->x && y == m_pendingAdd->y + m_pendingAdd->Range) {
        ++m_pendingAdd->Range;
        return;
    }
    if (m_pendingAdd) {
        PushAdd();
    } else if (m_pendingDelete && x == m_pendingDelete->x) {
        if (m_pendingModify && m_pendingModify->x + m_pendingModify->Range == x + 1
            && m_pendingModify->y + m_pendingModify->Range == y + 1) {
            ++m_pendingModify->Range;
        } else {
            PushModify();
            m_pendingModify = TChangeRec{TChangeKind::Modify, x, y, 1};
        }
        if (m_pendingDelete->Range == 1) {
            m_pendingDelete.reset();
        } else {
            --m_pendingDelete->Range;
            ++m_pendingDelete->x;
        }
        return;
    }
    if (m_pendingDelete) {
        PushDelete();
    }
    m_pendingAdd = TChangeRec{TChangeKind::Add, x, y, 1};
}

void TDiff::EmitDelete(std::int32_t x)
{
    if (m_pendingDelete && x == m_pendingDelete->x + m_pendingDelete->Range) {
        ++m_pendingDelete->Range;
        return;
    }
    if (m_pendingDelete) {
        PushDelete();
    } else if (m_pendingAdd && x == m_pendingAdd->x) {
        if (m_pendingModify && x == m_pendingModify->x + m_pendingModify->Range) {
            ++m_pendingModify->Range;
        } else {
            PushModify();
            m_pendingModify = TChangeRec{TChangeKind::Modify, x, m_pendingAdd->y, 1};
        }
        if (m_pendingAdd->Range == 1) {
            m_pendingAdd.reset();
        } else {
            --m_pendingAdd->Range;
            ++m_pendingAdd->x;
            ++m_pendingAdd->y;
        }
        return;
    }
    if (m_pendingAdd) {
        PushAdd();
    }
    m_pendingDelete = TChangeRec{TChangeKind::Delete, x, 0, 1};
}

void TDiff::PushModify()
{
    if (m_pendingModify) {
        m_changes.push_back(*m_pendingModify);
        m_pendingModify.reset();
    }
}

void TDiff::PushAdd()
{
    PushModify();
    if (m_pendingAdd) {
        m_changes.push_back(*m_pendingAdd);
        m_pendingAdd.reset();
    }
}

void TDiff::PushDelete()
{
    PushModify();
    if (m_pendingDelete) {
        m_changes.push_back(*m_pendingDelete);
        m_pendingDelete.reset();
    }
}

} // namespace quillet

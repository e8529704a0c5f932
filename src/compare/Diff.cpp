#include "compare/Diff.h"

#include <algorithm>
#include <new>

namespace quillet {

bool TDiff::Execute(const std::int32_t* a, const std::int32_t* b, std::int32_t len1, std::int32_t len2)
{
    m_changes.clear();
    m_pendingAdd.reset();
    m_pendingDelete.reset();
    m_pendingModify.reset();
    if (a == nullptr || b == nullptr || len1 < 0 || len2 < 0 || len1 > kMaxLines || len2 > kMaxLines || m_running) {
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
        m_vf.reset();
        m_vr.reset();
        return false;
    }
    m_running = true;
    m_cancelled = false;
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
    if (p < t1 || p < t2) {
        ok = RecursiveDiff(p, p, t1, t2);
    }
    if (ok) {
        PushAdd();
        PushDelete();
    } else {
        m_changes.clear();
        m_pendingAdd.reset();
        m_pendingDelete.reset();
        m_pendingModify.reset();
    }
    m_vf.reset();
    m_vr.reset();
    m_a = nullptr;
    m_b = nullptr;
    m_running = false;
    return ok;
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
    return !m_cancelled;
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

bool TDiff::RecursiveDiff(std::int32_t b1, std::int32_t b2, std::int32_t t1, std::int32_t t2)
{
    if (b1 == t1) {
        for (std::int32_t y = b2; y < t2; ++y) {
            EmitAdd(b1, y);
        }
        return true;
    }
    if (b2 == t2) {
        for (std::int32_t x = b1; x < t1; ++x) {
            EmitDelete(x);
        }
        return true;
    }
    const diff_search::TBox box = diff_search::MakeBox(m_a, m_b, b1, b2, t1, t2);
    diff_search::TDiagonals& vf = *m_vf;
    diff_search::TDiagonals& vr = *m_vr;
    // Sentinels just outside the diagonals -M..N, written in every
    // sub-problem so that every entry the passes read has been written.
    vf[0] = b1;
    vr[box.delta] = t1;
    vf[box.n] = t1;
    vr[box.n] = t1;
    vf[-box.m - 1] = b1;
    vr[-box.m - 1] = b1;

    for (std::int32_t e = 1; e <= m_maxD; ++e) {
        if (!StepAllowed()) {
            return false;
        }
        const diff_search::TMeeting forward = diff_search::ForwardPass(box, vf, vr, e, m_forwardMark);
        if (forward.found) {
            return RecursiveDiff(b1, b2, forward.xs, forward.ys) && RecursiveDiff(forward.x, forward.y, t1, t2);
        }
        const diff_search::TMeeting reverse = diff_search::ReversePass(box, vf, vr, e, m_reverseMark);
        if (reverse.found) {
            if (box.n == 1 && box.m == 1) {
                EmitAdd(b1, b2);
                EmitDelete(b1);
                return true;
            }
            std::int32_t x = reverse.x;
            std::int32_t y = reverse.y;
            if (!RecursiveDiff(b1, b2, x, y)) {
                return false;
            }
            while (x < t1 && y < t2 && m_b[y] == m_a[x]) {
                ++x;
                ++y;
            }
            return RecursiveDiff(x, y, t1, t2);
        }
    }
    return false;
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

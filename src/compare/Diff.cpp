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
    m_offset = m_maxD + 1;
    try {
        m_vf.assign(static_cast<std::size_t>(2 * m_maxD + 3), 0);
        m_vr.assign(static_cast<std::size_t>(2 * m_maxD + 3), 0);
    } catch (const std::bad_alloc&) {
        m_vf = {};
        m_vr = {};
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
    m_vf = {};
    m_vr = {};
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
    const std::int32_t n = t1 - b1;
    const std::int32_t m = t2 - b2;
    const std::int32_t delta = n - m;
    const bool oddDelta = (delta % 2) != 0;
    // On diagonal k, y = x - k + shift.
    const std::int32_t shift = b2 - b1;
    // Locals for the hot loops: stores into the diagonal arrays cannot then
    // be taken as changing the members they would otherwise reload.
    const std::int32_t* const a = m_a;
    const std::int32_t* const b = m_b;
    std::int32_t* const vf = m_vf.data() + m_offset;
    std::int32_t* const vr = m_vr.data() + m_offset;
    std::int32_t forwardMark = m_forwardMark;
    std::int32_t reverseMark = m_reverseMark;
    const auto keepMarks = [&] {
        m_forwardMark = forwardMark;
        m_reverseMark = reverseMark;
    };
    // The first diagonal from `from` on, of the same parity, not below -m.
    const auto firstDiagonal = [m](std::int32_t from) {
        return from < -m ? from + ((-m - from + 1) / 2) * 2 : from;
    };

    // Sentinels just outside the diagonals -M..N, written in every
    // sub-problem so that every entry the passes read has been written.
    vf[0] = b1;
    vr[delta] = t1;
    vf[n] = t1;
    vr[n] = t1;
    vf[-m - 1] = b1;
    vr[-m - 1] = b1;

    for (std::int32_t e = 1; e <= m_maxD; ++e) {
        if (!StepAllowed()) {
            return false;
        }
        // Forward pass.
        const std::int32_t forwardLast = std::min(e, n - 1);
        for (std::int32_t k = firstDiagonal(-e); k <= forwardLast; k += 2) {
            // The further of the two neighbours (the one below on a tie);
            // the outermost diagonals have one neighbour only.
            std::int32_t x = k == -e ? vf[k + 1] : k == e ? vf[k - 1] + 1 : std::max(vf[k - 1] + 1, vf[k + 1]);
            std::int32_t y = x - k + shift;
            while (x < t1 && y < t2 && b[y] == a[x]) {
                ++x;
                ++y;
            }
            vf[k] = x;
            forwardMark = std::max(forwardMark, x);
            if (oddDelta && delta - e < k && k < delta + e && x >= vr[k]) {
                std::int32_t xs = x;
                std::int32_t ys = y;
                while (xs > b1 && ys > b2 && b[ys - 1] == a[xs - 1]) {
                    --xs;
                    --ys;
                }
                keepMarks();
                return RecursiveDiff(b1, b2, xs, ys) && RecursiveDiff(x, y, t1, t2);
            }
        }
        // Reverse pass.
        const std::int32_t reverseLast = std::min(delta + e, n - 1);
        for (std::int32_t k = firstDiagonal(delta - e); k <= reverseLast; k += 2) {
            std::int32_t x = k == delta + e ? vr[k - 1]
                : k == delta - e            ? vr[k + 1] - 1
                                            : std::min(vr[k - 1], vr[k + 1] - 1);
            std::int32_t y = x - k + shift;
            while (x > b1 && y > b2 && b[y - 1] == a[x - 1]) {
                --x;
                --y;
            }
            vr[k] = x;
            reverseMark = std::min(reverseMark, x);
            if (!oddDelta && -e <= k && k <= e && vf[k] >= x) {
                keepMarks();
                if (n == 1 && m == 1) {
                    EmitAdd(b1, b2);
                    EmitDelete(b1);
                    return true;
                }
                if (!RecursiveDiff(b1, b2, x, y)) {
                    return false;
                }
                while (x < t1 && y < t2 && b[y] == a[x]) {
                    ++x;
                    ++y;
                }
                return RecursiveDiff(x, y, t1, t2);
            }
        }
        keepMarks();
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

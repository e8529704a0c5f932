#include "hex/ChangedMarks.h"

#include <iterator>

namespace quillet {

bool TChangedMarks::Test(std::uint64_t offset) const
{
    auto it = m_ranges.upper_bound(offset);
    if (it == m_ranges.begin()) {
        return false;
    }
    --it;
    return offset < it->second;
}

void TChangedMarks::Set(std::uint64_t offset, bool on)
{
    if (!on) {
        Unset(offset);
        return;
    }
    if (Test(offset)) {
        return;
    }
    std::uint64_t start = offset;
    std::uint64_t end = offset + 1;
    auto next = m_ranges.find(end);
    if (next != m_ranges.end()) {
        end = next->second;
        m_ranges.erase(next);
    }
    auto it = m_ranges.lower_bound(offset);
    if (it != m_ranges.begin()) {
        auto before = std::prev(it);
        if (before->second == offset) {
            before->second = end;
            return;
        }
    }
    m_ranges[start] = end;
}

void TChangedMarks::Unset(std::uint64_t offset)
{
    auto it = m_ranges.upper_bound(offset);
    if (it == m_ranges.begin()) {
        return;
    }
    --it;
    if (offset >= it->second) {
        return;
    }
    const std::uint64_t start = it->first;
    const std::uint64_t end = it->second;
    m_ranges.erase(it);
    if (start < offset) {
        m_ranges[start] = offset;
    }
    if (offset + 1 < end) {
        m_ranges[offset + 1] = end;
    }
}

void TChangedMarks::TruncateAt(std::uint64_t offset)
{
    auto it = m_ranges.lower_bound(offset);
    m_ranges.erase(it, m_ranges.end());
    if (!m_ranges.empty()) {
        auto last = std::prev(m_ranges.end());
        if (last->second > offset) {
            last->second = offset;
        }
    }
}

} // namespace quillet

#pragma once

#include <cstdint>
#include <map>

namespace quillet {

// The offsets of bytes overwritten since the last load or save, as a sorted
// set of disjoint half-open ranges, so that one mark near the end of a huge
// file costs one entry instead of a bit per offset before it.
class TChangedMarks {
public:
    bool Test(std::uint64_t offset) const;
    void Set(std::uint64_t offset, bool on = true);
    // Drops every mark at or after offset; marks before it stay.
    void TruncateAt(std::uint64_t offset);
    void Clear() { m_ranges.clear(); }
    bool Empty() const { return m_ranges.empty(); }
    std::size_t RangeCount() const { return m_ranges.size(); }

private:
    void Unset(std::uint64_t offset);

    std::map<std::uint64_t, std::uint64_t> m_ranges; // start -> end (exclusive); disjoint, never adjacent
};

} // namespace quillet

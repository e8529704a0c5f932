#pragma once

#include <climits>
#include <cstdint>

namespace quillet {

// Change flags reported at the end of each outermost change bracket.
enum TChangeFlag : std::uint32_t {
    chCaretMoved = 0x01,
    chTextChanged = 0x02,
    chUndoRedo = 0x04,
    chSelection = 0x08, // selection, gutter images, line styles or line states
    chOverwrite = 0x10,
    chLineCount = 0x20,
    chModified = 0x40,
    chFoundText = 0x80,
    chObjectName = 0x100,
    chHighlighter = 0x400,
    chReadOnly = 0x800,
    // Loading a file and registering a view report this.
    chAll =
        chCaretMoved | chUndoRedo | chSelection | chOverwrite | chLineCount | chModified | chObjectName | chHighlighter,
};
static_assert(chAll == 1405);

// One change report.
struct TChangeReport {
    std::uint32_t flags = 0;
    int firstLine = 0;
    int lastLine = 0;
};

// Gathers the flags and the line range of one change bracket.
class TChangeAccumulator {
public:
    void Reset()
    {
        m_flags = 0;
        m_first = INT_MAX;
        m_last = -INT_MAX;
    }
    // Adds flags and widens the range to cover first..last.
    void Add(int first, int last, std::uint32_t flags)
    {
        m_flags |= flags;
        m_first = first < m_first ? first : m_first;
        m_last = last > m_last ? last : m_last;
    }
    void AddFlags(std::uint32_t flags) { m_flags |= flags; }
    std::uint32_t Flags() const { return m_flags; }
    bool Has(std::uint32_t flags) const { return (m_flags & flags) != 0; }
    // First changed line, INT_MAX while no range was added.
    int First() const { return m_first; }
    // Everything from line 0 on.
    void CoverAll()
    {
        m_first = 0;
        m_last = INT_MAX;
    }
    // The report; an empty range reads as lines 0..0.
    TChangeReport Report() const
    {
        return {m_flags, m_first == INT_MAX ? 0 : m_first, m_last == -INT_MAX ? 0 : m_last};
    }

private:
    std::uint32_t m_flags = 0;
    int m_first = INT_MAX; // INT_MAX / -INT_MAX: no range yet
    int m_last = -INT_MAX;
};

} // namespace quillet

#pragma once

#include <vector>

namespace quillet {

// The real line numbers that folding hides, kept sorted and unique, and the
// mapping between real lines and the visible lines a view counts.
class THiddenLines {
public:
    const std::vector<int>& Lines() const { return m_lines; }
    bool Contains(int line) const;
    void Hide(int line);
    void Show(int line);
    void Clear() { m_lines.clear(); }

    // Visible index of a real line: the line less the hidden lines before it.
    int RealToVisible(int line) const;
    // The real line shown at a visible index.
    int VisibleToReal(int index) const;

    // count new lines after line (a break inserts one).
    void ShiftOnInsertLines(int line, int count);
    // Line + 1 joined to line.
    void ShiftOnJoin(int line);
    // The whole line removed; it is no longer hidden.
    void ShiftOnLineRemoved(int line);
    // Lines top + 1 .. top + count removed by joining them to top.
    void ShiftOnSpliceDelete(int top, int count);

private:
    std::vector<int> m_lines; // sorted, unique
};

} // namespace quillet

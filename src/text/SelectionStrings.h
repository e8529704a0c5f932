#pragma once

#include "text/MemoSource.h"

#include <string>
#include <vector>

namespace quillet {

// A read-only line list over a buffer's selection, taken when constructed: one
// entry per selected line (raw text, tabs kept; columnar lines padded to the
// block width), and the style bytes of the same ranges. Empty without a
// selection; never reaches below the last line.
class TSelectionStrings {
public:
    explicit TSelectionStrings(const TMemoSource& source)
        : m_lines(source.GetSelectionStrings(false))
        , m_styles(source.GetSelectionStrings(true))
    {
    }
    int Count() const { return static_cast<int>(m_lines.size()); }
    const std::string& Get(int i) const { return m_lines[static_cast<std::size_t>(i)]; }
    const std::string& GetStyle(int i) const { return m_styles[static_cast<std::size_t>(i)]; }
    const std::vector<std::string>& Lines() const { return m_lines; }

private:
    std::vector<std::string> m_lines;
    std::vector<std::string> m_styles;
};

} // namespace quillet

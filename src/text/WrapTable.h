#pragma once

#include "text/ViewGeometry.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace quillet {

// Splits one line into visual rows no wider than `width` pixels. Returns the
// raw positions where the rows after the first begin (empty: one row). From a
// row start, when the rest fits it is the last row; otherwise the row ends with
// the last delimiter among the characters that fit, or with the last character
// that fits when there is none. Every row takes at least one character, so a
// width narrower than one character still terminates (one character per row).
std::vector<std::uint32_t> WrapLine(std::string_view text,
    std::int64_t width,
    const TLineGeometry& geometry,
    const std::function<bool(unsigned char)>& isDelimiter);

// Row breaks of the lines a view has shown, computed when first asked for and
// kept until the text or the wrap width changes. Only the lines actually
// displayed (plus the view's lookahead) are ever wrapped, so jumping to the end
// of a long document costs what is shown there, not the line count.
class TWrapTable {
public:
    using TBreaks = std::vector<std::uint32_t>;

    // Forgets everything when the width changes.
    void SetWidth(std::int64_t width);
    std::int64_t Width() const { return m_width; }

    // Row breaks of `line`, whose current text is `text`; wrapped now when not
    // known yet.
    const TBreaks& Breaks(std::size_t line,
        std::string_view text,
        const TLineGeometry& geometry,
        const std::function<bool(unsigned char)>& isDelimiter);
    std::size_t RowCount(std::size_t line,
        std::string_view text,
        const TLineGeometry& geometry,
        const std::function<bool(unsigned char)>& isDelimiter)
    {
        return Breaks(line, text, geometry, isDelimiter).size() + 1;
    }
    // The known breaks, or nullptr when the line has not been wrapped yet.
    const TBreaks* Find(std::size_t line) const;

    // A text change in lines first..last (numbered after the change) that moved
    // the following lines by lineDelta: forgets the changed lines, and every
    // line from `first` on when lines were inserted or removed.
    void TextChanged(std::size_t first, std::size_t last, std::ptrdiff_t lineDelta);
    void Clear() { m_lines.clear(); }
    std::size_t CachedLines() const { return m_lines.size(); }

    // Row index inside the line for a raw character position.
    static std::size_t RowOfPosition(const TBreaks& breaks, std::size_t pos);
    // First raw position of a row and one past its last.
    static std::size_t RowStart(const TBreaks& breaks, std::size_t row);
    static std::size_t RowEnd(const TBreaks& breaks, std::size_t row, std::size_t lineLength);

private:
    // Bounds memory when a view scrolled through a huge document: past this many
    // lines the cache starts over (rows are recomputed on demand).
    static constexpr std::size_t kMaxCachedLines = 65536;

    std::int64_t m_width = 0;
    std::map<std::size_t, TBreaks> m_lines;
};

} // namespace quillet

#include "text/ViewGeometry.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillet {

int DecimalDigits(std::size_t n)
{
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

TGutterLayout ComputeGutterLayout(const TGutterInput& in)
{
    TGutterLayout g;
    const bool gutter = HasOption(in.options, moDrawGutter);
    const bool numbers = HasOption(in.options, moLineNumbers);
    int digits = in.digitsOverride >= 1 ? in.digitsOverride : 0;
    if (digits == 0) {
        const std::size_t count =
            HasOption(in.options, moLimitLineNumbers) ? in.lineCount : std::max(in.lineCount, in.lastShowableLine);
        digits = DecimalDigits(count);
    }
    const int numberWidth = numbers ? (digits + 1) * std::max(1, in.avgCharWidth) : 0;

    int x = 0;
    if (gutter) {
        g.gutterWidth = std::max(0, in.gutterWidth);
        if (numbers && HasOption(in.options, moLineNumbersOnGutter)) {
            g.numbersInGutter = true;
            g.gutterWidth = std::max(numberWidth + in.gutterLineIndent + 2 + std::max(0, in.imageWidth), g.gutterWidth);
            g.lineNumWidth = numberWidth;
            // Numbers sit at the gutter's right side, GutterLineIndent pixels
            // before the separating line.
            g.lineNumLeft = g.gutterWidth - 2 - in.gutterLineIndent - numberWidth;
        }
        x = g.gutterWidth;
    }
    if (numbers && !g.numbersInGutter) {
        g.lineNumLeft = x;
        g.lineNumWidth = numberWidth;
        x += numberWidth;
    }
    if (HasOption(in.options, moLeftIndent)) {
        x += std::max(0, in.leftIndent);
    }
    if (HasOption(in.options, moHideInvisibleLines)) {
        g.foldCellLeft = x;
        g.foldCellWidth = std::max(1, in.lineHeight);
        x += g.foldCellWidth;
    }
    g.textLeft = x;
    return g;
}

std::int64_t TLineGeometry::CharColumns(std::string_view text, std::size_t pos, std::int64_t column) const
{
    if (pos < text.size() && text[pos] == '\t') {
        if (column < 0 || column >= std::numeric_limits<int>::max() - 1) {
            return 1;
        }
        return std::max<std::int64_t>(1, m_tabs.NextStop(static_cast<int>(column)) - column);
    }
    return 1;
}

int TLineGeometry::CharAdvance(std::string_view text, std::size_t pos, std::int64_t column) const
{
    const int avg = std::max(1, m_font.AverageCharWidth());
    if (pos >= text.size()) {
        return avg;
    }
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c == '\t') {
        return static_cast<int>(CharColumns(text, pos, column) * avg);
    }
    return m_mono ? avg : std::max(0, m_font.CharWidth(c));
}

std::int64_t TLineGeometry::ColumnsOver(
    std::string_view text, std::size_t from, std::size_t to, std::int64_t column) const
{
    // Runs without tabs count one column per character; only tabs are looked
    // at one by one, so long lines cost a memchr, not a call per character.
    to = std::min(to, text.size());
    std::size_t i = from;
    while (i < to) {
        const void* tab = std::memchr(text.data() + i, '\t', to - i);
        const std::size_t runEnd =
            tab != nullptr ? static_cast<std::size_t>(static_cast<const char*>(tab) - text.data()) : to;
        column += static_cast<std::int64_t>(runEnd - i);
        i = runEnd;
        if (i < to) {
            column += CharColumns(text, i, column);
            ++i;
        }
    }
    return column;
}

std::int64_t TLineGeometry::ColumnOfPosition(std::string_view text, std::size_t pos) const
{
    const std::size_t end = std::min(pos, text.size());
    return ColumnsOver(text, 0, end, 0) + static_cast<std::int64_t>(pos - end);
}

std::size_t TLineGeometry::PositionOfColumn(std::string_view text, std::int64_t column) const
{
    if (column <= 0) {
        return 0;
    }
    std::int64_t c = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const void* tab = std::memchr(text.data() + i, '\t', text.size() - i);
        const std::size_t runEnd =
            tab != nullptr ? static_cast<std::size_t>(static_cast<const char*>(tab) - text.data()) : text.size();
        const std::int64_t runColumns = static_cast<std::int64_t>(runEnd - i);
        if (column <= c + runColumns) {
            return i + static_cast<std::size_t>(column - c);
        }
        c += runColumns;
        i = runEnd;
        if (i < text.size()) {
            const std::int64_t next = c + CharColumns(text, i, c);
            if (column < next) {
                return i; // inside the tab
            }
            c = next;
            ++i;
            if (c == column) {
                return i;
            }
        }
    }
    return text.size() + static_cast<std::size_t>(column - c);
}

std::int64_t TLineGeometry::PixelOfColumn(std::string_view text, std::int64_t column) const
{
    const int avg = std::max(1, m_font.AverageCharWidth());
    if (m_mono || column <= 0) {
        return column * avg;
    }
    std::int64_t x = 0;
    std::int64_t c = 0;
    for (std::size_t i = 0; i < text.size() && c < column; ++i) {
        const std::int64_t span = CharColumns(text, i, c);
        if (c + span > column) {
            // Inside a tab span: advance by whole cells.
            return x + (column - c) * avg;
        }
        x += CharAdvance(text, i, c);
        c += span;
    }
    return x + (column - c) * avg;
}

std::int64_t TLineGeometry::ColumnOfPixel(std::string_view text, std::int64_t x, bool clampToText) const
{
    const int avg = std::max(1, m_font.AverageCharWidth());
    if (x <= 0) {
        return 0;
    }
    std::int64_t endColumn = -1;
    if (m_mono) {
        const std::int64_t column = (x + avg / 2) / avg;
        if (!clampToText) {
            return column;
        }
        endColumn = ColumnOfPosition(text, text.size());
        return std::min(column, endColumn);
    }
    std::int64_t px = 0;
    std::int64_t c = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::int64_t span = CharColumns(text, i, c);
        const int advance = CharAdvance(text, i, c);
        if (x < px + advance) {
            // Nearer boundary of this character (tabs count by cells).
            if (span > 1) {
                const std::int64_t cells = std::min(span, (x - px + avg / 2) / avg);
                return c + cells;
            }
            return (x - px) * 2 < advance ? c : c + 1;
        }
        px += advance;
        c += span;
    }
    if (clampToText) {
        return c;
    }
    return c + (x - px + avg / 2) / avg;
}

} // namespace quillet

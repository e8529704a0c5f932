#include "text/WrapTable.h"

#include <algorithm>
#include <cstring>

namespace quillet {

std::vector<std::uint32_t> WrapLine(std::string_view text,
    std::int64_t width,
    const TLineGeometry& geometry,
    const std::function<bool(unsigned char)>& isDelimiter)
{
    std::vector<std::uint32_t> breaks;
    const std::size_t n = text.size();
    std::size_t p = 0;
    std::int64_t column = 0; // display column of p
    const int avg = std::max(1, geometry.Font().AverageCharWidth());
    while (p < n) {
        // Walk forward while characters fit; `last` ends as one past the last fit.
        std::int64_t used = 0;
        std::int64_t c = column;
        std::size_t q = p;
        while (q < n) {
            if (geometry.Monospaced() && text[q] != '\t') {
                // A run without tabs takes as many whole cells as are left
                // (the row's first character always), without a call per character.
                std::int64_t fit = std::max<std::int64_t>(0, (width - used) / avg);
                if (q == p) {
                    fit = std::max<std::int64_t>(fit, 1);
                }
                // Only the characters that could still fit are searched.
                const std::size_t look =
                    static_cast<std::size_t>(std::min<std::int64_t>(fit + 1, static_cast<std::int64_t>(n - q)));
                const void* tab = std::memchr(text.data() + q, '\t', look);
                const std::size_t runEnd =
                    tab != nullptr ? static_cast<std::size_t>(static_cast<const char*>(tab) - text.data()) : q + look;
                const std::size_t take =
                    static_cast<std::size_t>(std::min<std::int64_t>(fit, static_cast<std::int64_t>(runEnd - q)));
                used += static_cast<std::int64_t>(take) * avg;
                c += static_cast<std::int64_t>(take);
                q += take;
                if (q < runEnd || take == 0) {
                    break; // the row is full
                }
                continue;
            }
            const int advance = geometry.CharAdvance(text, q, c);
            if (q > p && used + advance > width) {
                break;
            }
            used += advance;
            c += geometry.CharColumns(text, q, c);
            ++q;
        }
        if (q >= n) {
            break; // the rest fits: last row
        }
        std::size_t end = q; // one past the row's last character
        for (std::size_t d = q; d > p; --d) {
            if (isDelimiter(static_cast<unsigned char>(text[d - 1]))) {
                end = d;
                break;
            }
        }
        // Columns of the characters between the delimiter and q are walked again.
        const std::int64_t endColumn = end == q ? c : geometry.ColumnsOver(text, p, end, column);
        breaks.push_back(static_cast<std::uint32_t>(end));
        p = end;
        column = endColumn;
    }
    return breaks;
}

void TWrapTable::SetWidth(std::int64_t width)
{
    if (width != m_width) {
        m_width = width;
        m_lines.clear();
    }
}

const TWrapTable::TBreaks& TWrapTable::Breaks(std::size_t line,
    std::string_view text,
    const TLineGeometry& geometry,
    const std::function<bool(unsigned char)>& isDelimiter)
{
    auto it = m_lines.find(line);
    if (it != m_lines.end()) {
        return it->second;
    }
    if (m_lines.size() >= kMaxCachedLines) {
        m_lines.clear();
    }
    return m_lines.emplace(line, WrapLine(text, m_width, geometry, isDelimiter)).first->second;
}

const TWrapTable::TBreaks* TWrapTable::Find(std::size_t line) const
{
    auto it = m_lines.find(line);
    return it == m_lines.end() ? nullptr : &it->second;
}

void TWrapTable::TextChanged(std::size_t first, std::size_t last, std::ptrdiff_t lineDelta)
{
    if (lineDelta != 0) {
        // Lines below moved; they are cheap to wrap again when shown.
        m_lines.erase(m_lines.lower_bound(first), m_lines.end());
        return;
    }
    m_lines.erase(m_lines.lower_bound(first), m_lines.upper_bound(std::max(first, last)));
}

std::size_t TWrapTable::RowOfPosition(const TBreaks& breaks, std::size_t pos)
{
    return static_cast<std::size_t>(std::upper_bound(breaks.begin(), breaks.end(), pos) - breaks.begin());
}

std::size_t TWrapTable::RowStart(const TBreaks& breaks, std::size_t row)
{
    return row == 0 || breaks.empty() ? 0 : breaks[std::min(row, breaks.size()) - 1];
}

std::size_t TWrapTable::RowEnd(const TBreaks& breaks, std::size_t row, std::size_t lineLength)
{
    return row < breaks.size() ? breaks[row] : lineLength;
}

} // namespace quillet

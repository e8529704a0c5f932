#include "text/HiddenLines.h"

#include <algorithm>

namespace quillet {

bool THiddenLines::Contains(int line) const
{
    return std::binary_search(m_lines.begin(), m_lines.end(), line);
}

void THiddenLines::Hide(int line)
{
    auto it = std::lower_bound(m_lines.begin(), m_lines.end(), line);
    if (it == m_lines.end() || *it != line) {
        m_lines.insert(it, line);
    }
}

void THiddenLines::Show(int line)
{
    auto it = std::lower_bound(m_lines.begin(), m_lines.end(), line);
    if (it != m_lines.end() && *it == line) {
        m_lines.erase(it);
    }
}

int THiddenLines::RealToVisible(int line) const
{
    auto it = std::lower_bound(m_lines.begin(), m_lines.end(), line);
    return line - static_cast<int>(it - m_lines.begin());
}

int THiddenLines::VisibleToReal(int index) const
{
    // The real line is index plus the hidden lines at or before it.
    int real = index;
    for (int h : m_lines) {
        if (h > real) {
            break;
        }
        ++real;
    }
    return real;
}

void THiddenLines::ShiftOnInsertLines(int line, int count)
{
    for (int& h : m_lines) {
        if (h > line) {
            h += count;
        }
    }
}

void THiddenLines::ShiftOnJoin(int line)
{
    for (int& h : m_lines) {
        if (h > line) {
            --h;
        }
    }
    m_lines.erase(std::unique(m_lines.begin(), m_lines.end()), m_lines.end());
}

void THiddenLines::ShiftOnLineRemoved(int line)
{
    Show(line);
    for (int& h : m_lines) {
        if (h > line) {
            --h;
        }
    }
}

void THiddenLines::ShiftOnSpliceDelete(int top, int count)
{
    for (int& h : m_lines) {
        if (h > top) {
            h = std::max(top, h - count);
        }
    }
    m_lines.erase(std::unique(m_lines.begin(), m_lines.end()), m_lines.end());
}

} // namespace quillet

#include "text/TrackedPositions.h"

#include <algorithm>
#include <tuple>

namespace quillet {

TTrackedPositions::TTrackedPositions()
{
    for (std::size_t i = 0; i < kFixedSlots; ++i) {
        m_positions.push_back(std::make_unique<TPosition>());
    }
    SelStart().m_selectionEnd = true;
    SelStart().m_isSelStart = true;
    SelEnd().m_selectionEnd = true;
    m_positions[kOldSelStart]->m_tracked = false;
    m_positions[kOldSelEnd]->m_tracked = false;
    Caret().m_tracked = false; // edit primitives never move the caret
}

TPosition* TTrackedPositions::Copy(TTextPoint p)
{
    auto pos = std::make_unique<TPosition>();
    pos->Set(p);
    TPosition* raw = pos.get();
    m_positions.push_back(std::move(pos));
    return raw;
}

void TTrackedPositions::Free(TPosition* pos)
{
    for (std::size_t i = kFixedSlots; i < m_positions.size(); ++i) {
        if (m_positions[i].get() == pos) {
            m_positions.erase(m_positions.begin() + static_cast<long>(i));
            return;
        }
    }
}

void TTrackedPositions::ResetAll()
{
    for (auto& p : m_positions) {
        p->Set({0, 0});
    }
}

template <typename F> void TTrackedPositions::ForEachShifted(bool columnar, F&& f)
{
    for (std::size_t i = 1; i < m_positions.size(); ++i) {
        TPosition& p = *m_positions[i];
        if (p.m_tracked && !(columnar && p.m_selectionEnd)) {
            f(p);
        }
    }
}

void TTrackedPositions::SortBookmarks()
{
    std::sort(m_bookmarks.begin(), m_bookmarks.end(), [](const TBookmark& a, const TBookmark& b) {
        return std::tie(a.line, a.col, a.number) < std::tie(b.line, b.col, b.number);
    });
}

void TTrackedPositions::ShiftOnInsert(int line, int col, int count, bool columnar)
{
    ForEachShifted(columnar, [&](TPosition& p) {
        if (p.m_line == line && (p.m_isSelStart ? p.m_char >= col : p.m_char > col)) {
            p.m_char += count;
        }
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line == line && b.col > col) {
            b.col += count;
        }
    }
}

void TTrackedPositions::ShiftOnDelete(int line, int col, int count, bool columnar)
{
    ForEachShifted(columnar, [&](TPosition& p) {
        if (p.m_line == line && p.m_char > col) {
            p.m_char = std::max(col, p.m_char - count);
        }
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line == line && b.col > col) {
            b.col = std::max(col, b.col - count);
        }
    }
}

void TTrackedPositions::ShiftOnBreak(int line, int col, bool columnar)
{
    ForEachShifted(columnar, [&](TPosition& p) {
        if (p.m_line == line && (p.m_isSelStart ? p.m_char >= col : p.m_char > col)) {
            p.m_line = line + 1;
            p.m_char -= col;
        } else if (p.m_line > line) {
            ++p.m_line;
        }
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line == line && b.col >= col) {
            b.line = line + 1;
            b.col -= col;
        } else if (b.line > line) {
            ++b.line;
        }
    }
    SortBookmarks();
}

void TTrackedPositions::ShiftOnJoin(int line, int col, bool columnar)
{
    ForEachShifted(columnar, [&](TPosition& p) {
        if (p.m_line == line + 1) {
            p.m_line = line;
            p.m_char += col;
        } else if (p.m_line == line && p.m_char > col) {
            p.m_char = col;
        } else if (p.m_line > line + 1) {
            --p.m_line;
        }
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line == line + 1) {
            b.line = line;
            b.col += col;
        } else if (b.line == line && b.col > col) {
            b.col = col;
        } else if (b.line > line + 1) {
            --b.line;
        }
    }
    SortBookmarks();
}

void TTrackedPositions::ShiftOnLineRemoved(int line)
{
    // Column selections do not matter here: the line is gone either way.
    ForEachShifted(false, [&](TPosition& p) {
        if (p.m_line == line) {
            p.m_char = 0;
        } else if (p.m_line > line) {
            --p.m_line;
        }
    });
    std::erase_if(m_bookmarks, [line](const TBookmark& b) {
        return b.line == line;
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line > line) {
            --b.line;
        }
    }
}

void TTrackedPositions::ShiftOnSpliceInsert(int line, int col, int lastLine, int lastWidth, bool columnar)
{
    // Positions after the caret ride to the end of the inserted text; a
    // selection start right at the caret is pushed along too, as are bookmarks
    // at the caret (which land at the start of the last line).
    const int shiftLines = lastLine - line;
    ForEachShifted(columnar, [&](TPosition& p) {
        if (p.m_line > line) {
            p.m_line += shiftLines;
        } else if (p.m_line == line && (p.m_isSelStart ? p.m_char >= col : p.m_char > col)) {
            p.m_line = lastLine;
            p.m_char = p.m_char - col + lastWidth;
        }
    });
    for (TBookmark& b : m_bookmarks) {
        if (b.line > line) {
            b.line += shiftLines;
        } else if (b.line == line && b.col >= col) {
            b.col = b.col == col ? 0 : b.col - col + lastWidth;
            b.line = lastLine;
        }
    }
    SortBookmarks();
}

void TTrackedPositions::ShiftOnSpliceDelete(
    int top, int col, int toLine, int lastShift, bool endOnLine, bool lastAtLineStart, bool columnar)
{
    // Everything inside the span collapses onto the caret; what followed on
    // the last line moves up behind it; lines below move up.
    const int shiftLines = toLine - top;
    auto moveMark = [&](int& markLine, int& markCol) {
        if (markLine > toLine) {
            markLine -= shiftLines;
        } else if (markLine == toLine) {
            markLine = top;
            markCol = col + (markCol > 0 ? std::max(0, markCol - lastShift) : 0);
        } else if (markLine > top || (markLine == top && markCol > col)) {
            markLine = top;
            markCol = col;
        }
    };
    ForEachShifted(columnar, [&](TPosition& p) {
        moveMark(p.m_line, p.m_char);
    });
    if (lastAtLineStart) {
        for (TBookmark& b : m_bookmarks) {
            moveMark(b.line, b.col);
        }
        SortBookmarks();
        return;
    }
    // Joining sorts the bookmarks; the delete after the last join moves those
    // from the last line without sorting again.
    for (TBookmark& b : m_bookmarks) {
        if (b.line == toLine) {
            b.line = top;
            b.col += col;
        } else {
            moveMark(b.line, b.col);
        }
    }
    SortBookmarks();
    for (TBookmark& b : m_bookmarks) {
        if (b.line == top && b.col > col && endOnLine) {
            b.col = std::max(col, b.col - lastShift);
        }
    }
}

const TBookmark* TTrackedPositions::FindBookmark(int number) const
{
    for (const TBookmark& b : m_bookmarks) {
        if (b.number == number) {
            return &b;
        }
    }
    return nullptr;
}

void TTrackedPositions::SetBookmark(int number, TTextPoint p)
{
    ClearBookmark(number);
    m_bookmarks.push_back({p.col, p.line, number});
    SortBookmarks();
}

void TTrackedPositions::ClearBookmark(int number)
{
    std::erase_if(m_bookmarks, [number](const TBookmark& b) {
        return b.number == number;
    });
}

} // namespace quillet

#pragma once

#include "text/TextPoint.h"

#include <memory>
#include <vector>

namespace quillet {

// A position the buffer keeps current across edits.
class TPosition {
public:
    int Line() const { return m_line; }
    int Char() const { return m_char; }
    TTextPoint Point() const { return {m_char, m_line}; }

private:
    friend class TMemoSource;
    friend class TTrackedPositions;
    void Set(TTextPoint p)
    {
        m_char = p.col;
        m_line = p.line;
    }
    int m_line = 0;
    int m_char = 0;
    bool m_tracked = true;
    bool m_selectionEnd = false; // selection start/end: not shifted while columnar
    bool m_isSelStart = false; // insertion exactly at a selection start pushes it
};

// A numbered bookmark (1..10) at a display column of a line.
struct TBookmark {
    int col = 0;
    int line = 0;
    int number = 0;
};

// The positions and bookmarks of one buffer and how each edit moves them.
// Fixed slots: the caret (moved only by its owner, never shifted), the two
// selection ends, and two untracked snapshots of the selection ends; copies
// handed out by Copy follow. While a column selection is shown, edits leave
// its ends where they are. Bookmarks stay sorted by line, column and number.
class TTrackedPositions {
public:
    TTrackedPositions();

    TPosition& Caret() { return *m_positions[kCaret]; }
    const TPosition& Caret() const { return *m_positions[kCaret]; }
    TPosition& SelStart() { return *m_positions[kSelStart]; }
    const TPosition& SelStart() const { return *m_positions[kSelStart]; }
    TPosition& SelEnd() { return *m_positions[kSelEnd]; }
    const TPosition& SelEnd() const { return *m_positions[kSelEnd]; }
    void SetSelection(TTextPoint start, TTextPoint end)
    {
        SelStart().Set(start);
        SelEnd().Set(end);
    }
    // Plain copies of the selection ends, taken when a change bracket opens.
    void SnapshotSelection()
    {
        m_positions[kOldSelStart]->Set(SelStart().Point());
        m_positions[kOldSelEnd]->Set(SelEnd().Point());
    }
    const TPosition& OldSelStart() const { return *m_positions[kOldSelStart]; }
    const TPosition& OldSelEnd() const { return *m_positions[kOldSelEnd]; }

    // A tracked copy of a point, valid until Free.
    TPosition* Copy(TTextPoint p);
    // Frees a copy; the fixed slots and unknown pointers are ignored.
    void Free(TPosition* pos);
    // Puts every position, fixed slots included, at (0, 0).
    void ResetAll();

    // Text of count columns inserted at (col, line).
    void ShiftOnInsert(int line, int col, int count, bool columnar);
    // count columns removed from (col, line).
    void ShiftOnDelete(int line, int col, int count, bool columnar);
    // The line broken at col; what lies behind moves to the start of line + 1.
    void ShiftOnBreak(int line, int col, bool columnar);
    // Line + 1 joined to the end of line, which ended at col.
    void ShiftOnJoin(int line, int col, bool columnar);
    // The whole line removed: positions on it go to its start, bookmarks on it go.
    void ShiftOnLineRemoved(int line);
    // Lines inserted at (col, line), the last one ending on lastLine; what
    // followed the caret now follows lastWidth columns of that line.
    void ShiftOnSpliceInsert(int line, int col, int lastLine, int lastWidth, bool columnar);
    // The span from (col, top) to raw index endCount of toLine removed;
    // lastShift is the width of the removed head of toLine (see TUndoRecord
    // for lastAtLineStart).
    void ShiftOnSpliceDelete(
        int top, int col, int toLine, int lastShift, bool endOnLine, bool lastAtLineStart, bool columnar);

    const std::vector<TBookmark>& Bookmarks() const { return m_bookmarks; }
    const TBookmark* FindBookmark(int number) const;
    // Replaces bookmark number (1..10) by one at p.
    void SetBookmark(int number, TTextPoint p);
    void ClearBookmark(int number);
    void ClearBookmarks() { m_bookmarks.clear(); }

private:
    enum : std::size_t { kCaret, kSelStart, kSelEnd, kOldSelStart, kOldSelEnd, kFixedSlots };
    template <typename F> void ForEachShifted(bool columnar, F&& f);
    void SortBookmarks();

    std::vector<std::unique_ptr<TPosition>> m_positions; // the fixed slots, then copies
    std::vector<TBookmark> m_bookmarks; // sorted by line, col, number
};

} // namespace quillet

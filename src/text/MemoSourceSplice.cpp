// Block edits of TMemoSource done in one splice of the line list: deleting a
// span across line breaks, and inserting several lines at the caret.
//
// The editing primitives would do the same work one line at a time (a join or
// a break, an insert or a delete, caret moves), recording several undo items
// per line and shifting every tracked position per step; on a block of a
// million lines that costs seconds and a great deal of memory. The splices
// change the line store once, record one undo item for the whole block, and
// move positions, bookmarks, folded-line indexes and line decoration to where
// the per-line route leaves them, so both routes give the same result.
#include "text/MemoSource.h"

#include <algorithm>
#include <tuple>

namespace quillet {

namespace {

constexpr std::uint8_t kFoldBits = lsFoldBody | lsFoldExpanded | lsFoldCollapsed;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimRight(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) {
        --n;
    }
    return text.substr(0, n);
}

} // namespace

bool TMemoSource::CanSpliceLines(int first, int last) const
{
    if (first < 0 || last >= GetStrCount() || first > last) {
        return false;
    }
    for (int i = first; i <= last; ++i) {
        if (m_store.Rec(static_cast<std::size_t>(i)).state & (lsReadOnly | kFoldBits)) {
            return false;
        }
    }
    return true;
}

bool TMemoSource::IsCharBoundary(int line, int col) const
{
    std::string_view raw = GetRawLine(line);
    if (col > tabs::DisplayLength(raw, m_tabStops)) {
        return false;
    }
    return tabs::RawToCol(raw, tabs::ColToRaw(raw, col, m_tabStops), m_tabStops) == col;
}

// ---- Insert ----------------------------------------------------------------------------------

void TMemoSource::SpliceInsert(
    const std::vector<std::string_view>& pieces, const std::vector<std::string_view>& styles, bool lastAtLineStart)
{
    const int line = GetCurLine();
    const int col = GetCurChar();
    if (m_readOnly || pieces.size() < 2) {
        return;
    }
    const std::size_t breaks = pieces.size() - 1;
    auto styleOf = [&](std::size_t i) {
        return i < styles.size() ? styles[i] : std::string_view();
    };
    BeginUpdate(5);
    AppendLinesTo(line);
    const std::size_t li = static_cast<std::size_t>(line);

    // The line splits at the caret; its tail goes to a new record that ends
    // up as the last line.
    std::string_view raw = m_store.Text(li);
    const std::size_t rawIndex =
        std::min(static_cast<std::size_t>(std::max(tabs::ColToRaw(raw, col, m_tabStops), 0)), raw.size());
    const TLineRec lastRec = SplitOffTail(li, rawIndex, col == 0 || raw.empty());
    m_store.InsertEmpty(li + 1, breaks);
    m_store.Rec(li + breaks) = lastRec;
    for (std::size_t i = 0; i <= breaks; ++i) {
        if (pieces[i].empty()) {
            continue;
        }
        if (i > 0 && i < breaks && styleOf(i).empty()) {
            // A new line without style bytes: its text in one allocation.
            TLineExtra* extra = new TLineExtra;
            extra->text.assign(pieces[i]);
            extra->ownsText = true;
            m_store.Rec(li + i).AttachExtra(extra);
            continue;
        }
        InsertRawAt(line + static_cast<int>(i), i == 0 ? static_cast<int>(rawIndex) : 0, pieces[i], styleOf(i));
    }
    const int lastLine = line + static_cast<int>(breaks);
    const int lastRaw = static_cast<int>(pieces.back().size());
    // The columns the last piece takes: at the start of its line, or behind
    // the head of the first line (where the undo of a delete first puts it).
    const int lastWidth = lastAtLineStart
        ? RawToCol(lastLine, lastRaw)
        : tabs::DisplayLength(std::string(GetRawLine(line).substr(0, rawIndex)).append(pieces.back()), m_tabStops)
            - col;
    if (TUndoRecord* undo = AddUndo(TUndoKind::InsertLines, static_cast<int>(breaks), lastRaw)) {
        undo->lastAtLineStart = lastAtLineStart;
    }

    m_marks.ShiftOnSpliceInsert(line, col, lastLine, lastWidth, m_selKind == TSelKind::selColumn);
    m_hidden.ShiftOnInsertLines(line, static_cast<int>(breaks));

    ReparseEdited(line);
    for (int l = line + 1; l <= lastLine; ++l) {
        InvalidateLine(l);
        if (m_trackLongest) {
            const int len = LineLength(l);
            if (len > m_longest) {
                m_longest = len;
            } else if (len < m_longest) {
                m_longestDirty = true;
            }
        }
    }
    AddChange(line, INT_MAX, chTextChanged);
    EndUpdate();
}

void TMemoSource::ReplaySpliceInsert(const TUndoRecord& record, bool withStyle)
{
    std::vector<std::string_view> pieces;
    std::vector<std::string_view> styles;
    pieces.reserve(record.pieceLengths.size());
    const bool styled = withStyle && record.style.size() == record.text.size();
    std::size_t at = 0;
    for (std::uint32_t len : record.pieceLengths) {
        pieces.push_back(std::string_view(record.text).substr(at, len));
        if (styled) {
            styles.push_back(std::string_view(record.style).substr(at, len));
        }
        at += len;
    }
    if (pieces.size() >= 2) {
        SpliceInsert(pieces, styles, record.lastAtLineStart);
    }
}

// ---- Delete ----------------------------------------------------------------------------------

void TMemoSource::SpliceDelete(int toLine, int toRaw, bool lastAtLineStart)
{
    const int top = GetCurLine();
    const int col = GetCurChar();
    toLine = std::min(toLine, GetStrCount() - 1);
    if (m_readOnly || top >= GetStrCount() || toLine <= top) {
        return;
    }
    BeginUpdate(6);
    const std::size_t ti = static_cast<std::size_t>(top);
    const std::size_t bi = static_cast<std::size_t>(toLine);
    const std::size_t breaks = bi - ti;
    std::string_view topText = m_store.Text(ti);
    std::string_view bottomText = m_store.Text(bi);
    const std::size_t rawLeft =
        std::min(static_cast<std::size_t>(std::max(tabs::ColToRaw(topText, col, m_tabStops), 0)), topText.size());
    const std::size_t endCount = std::min(static_cast<std::size_t>(std::max(toRaw, 0)), bottomText.size());

    // What goes into the undo item: the pieces back to back, with their
    // style bytes when any line of the span has some.
    bool anyStyle = false;
    std::size_t total = 0;
    for (std::size_t i = ti; i <= bi; ++i) {
        anyStyle = anyStyle || !m_store.Style(i).empty();
        total += m_store.Text(i).size();
    }
    std::string removed;
    std::string removedStyle;
    std::vector<std::uint32_t> lengths;
    removed.reserve(total);
    lengths.reserve(breaks + 1);
    if (anyStyle) {
        removedStyle.reserve(total);
    }
    auto take = [&](std::size_t i, std::size_t from, std::size_t to) {
        std::string_view text = m_store.Text(i);
        removed.append(text.substr(from, to - from));
        lengths.push_back(static_cast<std::uint32_t>(to - from));
        if (anyStyle) {
            std::string_view st = m_store.Style(i);
            for (std::size_t k = from; k < to; ++k) {
                removedStyle.push_back(k < st.size() ? st[k] : '\0');
            }
        }
    };
    take(ti, rawLeft, topText.size());
    for (std::size_t i = ti + 1; i < bi; ++i) {
        take(i, 0, m_store.Text(i).size());
    }
    take(bi, 0, endCount);

    // Where positions from the last line land: behind the caret, less the
    // columns the removed head of that line took, measured at its line start
    // or once joined behind the kept part of the first line.
    int lastShift = 0;
    if (endCount > 0 && lastAtLineStart) {
        lastShift = tabs::RawToCol(bottomText, static_cast<int>(endCount), m_tabStops);
    } else if (endCount > 0) {
        std::string head(topText.substr(0, rawLeft));
        head.append(bottomText.substr(0, endCount));
        lastShift = tabs::DisplayLength(head, m_tabStops) - col;
    }

    // The first line keeps its head, takes the last line's tail, and gathers
    // the decoration of every joined line.
    std::string newText(topText.substr(0, rawLeft));
    newText.append(bottomText.substr(endCount));
    std::string newStyle;
    if (anyStyle) {
        std::string_view topStyle = m_store.Style(ti);
        std::string_view bottomStyle = m_store.Style(bi);
        newStyle.assign(topStyle.substr(0, std::min(rawLeft, topStyle.size())));
        newStyle.resize(rawLeft, '\0');
        for (std::size_t k = endCount; k < bottomText.size(); ++k) {
            newStyle.push_back(k < bottomStyle.size() ? bottomStyle[k] : '\0');
        }
    }
    std::uint16_t imageBits = 0;
    std::uint8_t lineStyle = 0;
    std::intptr_t object = 0;
    for (std::size_t i = ti; i <= bi; ++i) {
        const TLineRec& r = m_store.Rec(i);
        imageBits |= r.imageBits;
        if (lineStyle == 0) {
            lineStyle = r.lineStyle;
        }
        if (object == 0 && r.Extra()) {
            object = r.Extra()->object;
        }
    }
    m_store.Erase(ti + 1, breaks);
    m_store.MutableText(ti) = std::move(newText);
    m_store.Extra(ti).style = std::move(newStyle);
    TLineRec& rec = m_store.Rec(ti);
    rec.imageBits = imageBits;
    rec.lineStyle = lineStyle;
    if (object != 0) {
        m_store.Extra(ti).object = object;
    }
    if (TUndoRecord* undo = AddUndo(TUndoKind::DeleteLines,
            static_cast<int>(breaks),
            0,
            std::move(removed),
            std::move(removedStyle),
            std::move(lengths))) {
        undo->lastAtLineStart = lastAtLineStart;
    }

    m_marks.ShiftOnSpliceDelete(
        top, col, toLine, lastShift, endCount > 0, lastAtLineStart, m_selKind == TSelKind::selColumn);
    m_hidden.ShiftOnSpliceDelete(top, static_cast<int>(breaks));

    ReparseEdited(top);
    if (m_trackLongest) {
        m_longestDirty = true;
    }
    AddChange(top, INT_MAX, chTextChanged);
    if (!lastAtLineStart && endCount > 0 && GetStrCount() == 1 && m_store.Text(0).empty()) {
        // A document whose only line is empty has no lines (the join-then-delete
        // route ends with a delete, which drops it).
        m_store.Erase(0, 1);
    }
    EndUpdate();
}

// ---- The routes of the block operations ------------------------------------------------------

bool TMemoSource::SpliceDeleteBlock(TTextRect r, int endCount)
{
    // The caret stands at the block start (DeleteBlock put it there).
    if (!m_splicedBlockEdits || m_readOnly || GetCaretPoint() != TTextPoint{r.left, r.top}
        || !CanSpliceLines(r.top, r.bottom) || !IsCharBoundary(r.top, r.left)) {
        return false;
    }
    SpliceDelete(r.bottom, endCount, false);
    return true;
}

bool TMemoSource::SplicePaste(
    const std::vector<std::string>& lines, const std::vector<std::string>* styles, int col, int line)
{
    if (!m_splicedBlockEdits || m_readOnly || lines.size() < 2 || GetCaretPoint() != TTextPoint{col, line}) {
        return false;
    }
    const bool emptyDocument = GetStrCount() == 0 && line == 0 && col == 0;
    if (!emptyDocument && (!CanSpliceLines(line, line) || !IsCharBoundary(line, col))) {
        return false;
    }
    std::string_view raw = GetRawLine(line);
    std::string_view head = raw.substr(0, std::min(static_cast<std::size_t>(ColToRaw(line, col)), raw.size()));
    const bool trim = !m_keepTrailingBlanks;
    if (trim && TrimRight(head).size() != head.size()) {
        // Breaking the line would trim the blanks before the caret and pad them
        // back as spaces; that route keeps its own recorded steps.
        return false;
    }
    // Leaving a line trims its trailing blanks, so every pasted line but the
    // last (where the caret ends) loses them, as typing them would.
    std::vector<std::string_view> pieces;
    std::vector<std::string_view> pieceStyles;
    pieces.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string_view piece = lines[i];
        if (trim && i + 1 < lines.size()) {
            piece = TrimRight(piece);
        }
        pieces.push_back(piece);
        if (styles) {
            std::string_view st = i < styles->size() ? std::string_view((*styles)[i]) : std::string_view();
            pieceStyles.push_back(st.substr(0, std::min(st.size(), piece.size())));
        }
    }
    SpliceInsert(pieces, pieceStyles, true);
    return true;
}

} // namespace quillet

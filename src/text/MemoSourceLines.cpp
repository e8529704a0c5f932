// The public line list, per-line decoration (gutter images, line styles, line
// states, folding) and bookmarks of TMemoSource.
#include "text/MemoSource.h"

#include <algorithm>

namespace quillet {

// ---- TExternalStrings ----------------------------------------------------------------

int TExternalStrings::Count() const
{
    return m_source.GetStrCount();
}

std::string TExternalStrings::Get(int line) const
{
    return m_source.GetExpandedLine(line);
}

std::string_view TExternalStrings::GetRaw(int line) const
{
    return m_source.GetRawLine(line);
}

void TExternalStrings::Put(int line, std::string_view text)
{
    if (line < 0 || line >= Count()) {
        return;
    }
    m_source.BeginUpdate(59);
    std::size_t li = static_cast<std::size_t>(line);
    m_source.m_store.SetText(li, std::string(text));
    if (m_source.m_store.Rec(li).Extra()) {
        m_source.m_store.Rec(li).Extra()->style.clear();
    }
    m_source.ReparseEdited(line);
    m_source.AddChange(line, line, chTextChanged);
    m_source.ClearUndoBuffer();
    m_source.EndUpdate();
}

void TExternalStrings::Insert(int line, std::string_view text)
{
    if (line < 0 || line > Count()) {
        return;
    }
    m_source.BeginUpdate(59);
    std::size_t li = static_cast<std::size_t>(line);
    m_source.m_store.InsertEmpty(li, 1);
    if (!text.empty()) {
        m_source.m_store.SetText(li, std::string(text));
    }
    m_source.ShiftOnBreak(line - 1, INT_MAX);
    // Positions on the inserted line's index move down with the old line.
    m_source.InvalidateLine(line);
    m_source.m_longestDirty = true;
    m_source.AddChange(line, INT_MAX, chTextChanged);
    m_source.ClearUndoBuffer();
    m_source.EndUpdate();
}

void TExternalStrings::Delete(int line)
{
    if (line < 0 || line >= Count()) {
        return;
    }
    m_source.BeginUpdate(59);
    m_source.m_store.Erase(static_cast<std::size_t>(line), 1);
    // Positions on the removed line go to the start of the line that takes its
    // place; later ones move up.
    m_source.m_marks.ShiftOnLineRemoved(line);
    m_source.m_hidden.ShiftOnLineRemoved(line);
    m_source.InvalidateLine(line);
    m_source.m_longestDirty = true;
    m_source.AddChange(line, INT_MAX, chTextChanged);
    m_source.ClearUndoBuffer();
    m_source.EndUpdate();
}

void TExternalStrings::Clear()
{
    m_source.BeginUpdate(58);
    m_source.m_store.Clear();
    m_source.m_marks.ClearBookmarks();
    m_source.m_hidden.Clear();
    m_source.m_marks.ResetAll();
    m_source.m_selKind = TSelKind::selNone;
    m_source.m_parsedUpTo = 0;
    m_source.m_longestDirty = true;
    m_source.AddChange(0, INT_MAX, chTextChanged);
    m_source.ClearUndoBuffer();
    m_source.EndUpdate();
}

std::intptr_t TExternalStrings::GetObject(int line) const
{
    if (line < 0 || line >= Count()) {
        return 0;
    }
    const TLineRec& r = m_source.m_store.Rec(static_cast<std::size_t>(line));
    return r.Extra() ? r.Extra()->object : 0;
}

void TExternalStrings::PutObject(int line, std::intptr_t object)
{
    if (line >= 0 && line < Count()) {
        m_source.m_store.Extra(static_cast<std::size_t>(line)).object = object;
    }
}

std::string TExternalStrings::GetText() const
{
    return m_source.SaveToText();
}

void TExternalStrings::SetText(std::string_view text)
{
    m_source.LoadFromText(text, true);
}

// ---- Decoration -------------------------------------------------------------------------

bool TMemoSource::GetImageBit(int line, int bit) const
{
    return bit >= 0 && bit < 16 && (GetImageBits(line) & (1u << bit)) != 0;
}

std::uint16_t TMemoSource::GetImageBits(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return 0;
    }
    return m_store.Rec(static_cast<std::size_t>(line)).imageBits;
}

void TMemoSource::SetImageBit(int line, int bit, bool on)
{
    if (line < 0 || line >= GetStrCount() || bit < 0 || bit >= 16) {
        return;
    }
    BeginUpdate(53);
    std::uint16_t& bits = m_store.Rec(static_cast<std::size_t>(line)).imageBits;
    std::uint16_t mask = static_cast<std::uint16_t>(1u << bit);
    std::uint16_t now = on ? static_cast<std::uint16_t>(bits | mask) : static_cast<std::uint16_t>(bits & ~mask);
    if (now != bits) {
        bits = now;
        AddChange(line, line, chSelection);
    }
    EndUpdate();
}

int TMemoSource::GetLineTextStyle(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return 0;
    }
    return m_store.Rec(static_cast<std::size_t>(line)).lineStyle;
}

void TMemoSource::SetLineTextStyle(int line, int style)
{
    if (line < 0 || line >= GetStrCount()) {
        return;
    }
    BeginUpdate(68);
    std::uint8_t& s = m_store.Rec(static_cast<std::size_t>(line)).lineStyle;
    if (s != static_cast<std::uint8_t>(style)) {
        s = static_cast<std::uint8_t>(style);
        AddChange(line, line, chSelection);
    }
    EndUpdate();
}

bool TMemoSource::GetLineReadOnly(int line) const
{
    return LineIsReadOnly(line);
}

std::uint8_t TMemoSource::GetLineState(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return 0;
    }
    return m_store.Rec(static_cast<std::size_t>(line)).state;
}

void TMemoSource::SetLineState(int line, TLineStateBit bit, bool on)
{
    if (line < 0 || line >= GetStrCount()) {
        return;
    }
    BeginUpdate(73);
    std::uint8_t& st = m_store.Rec(static_cast<std::size_t>(line)).state;
    std::uint8_t now = on ? static_cast<std::uint8_t>(st | bit) : static_cast<std::uint8_t>(st & ~bit);
    if (now != st) {
        st = now;
        AddChange(line, line, chSelection);
    }
    EndUpdate();
}

std::string_view TMemoSource::GetLineAux(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return {};
    }
    const TLineRec& r = m_store.Rec(static_cast<std::size_t>(line));
    return r.Extra() ? std::string_view(r.Extra()->aux) : std::string_view();
}

void TMemoSource::SetLineAux(int line, std::string_view aux)
{
    if (line >= 0 && line < GetStrCount()) {
        m_store.Extra(static_cast<std::size_t>(line)).aux = std::string(aux);
    }
}

int TMemoSource::GetLineScratch(int line, int index) const
{
    if (line < 0 || line >= GetStrCount() || index < 0 || index > 2) {
        return 0;
    }
    const TLineRec& r = m_store.Rec(static_cast<std::size_t>(line));
    return r.Extra() ? r.Extra()->scratch[index] : 0;
}

void TMemoSource::SetLineScratch(int line, int index, int value)
{
    if (line >= 0 && line < GetStrCount() && index >= 0 && index <= 2) {
        m_store.Extra(static_cast<std::size_t>(line)).scratch[index] = value;
    }
}

// ---- Folding ----------------------------------------------------------------------------

bool TMemoSource::GetLineVisible(int line) const
{
    return (GetLineState(line) & lsFoldBody) == 0;
}

bool TMemoSource::GetRealLineVisible(int line) const
{
    return !m_hidden.Contains(line);
}

int TMemoSource::GetCollapseState(int line) const
{
    std::uint8_t st = GetLineState(line);
    if (st & lsFoldExpanded) {
        return csExpanded;
    }
    if (st & lsFoldCollapsed) {
        return csCollapsed;
    }
    return csNoFold;
}

void TMemoSource::SetLineVisible(int line, bool visible)
{
    if (line < 0 || line >= GetStrCount()) {
        return;
    }
    BeginUpdate(73);
    std::uint8_t& st = m_store.Rec(static_cast<std::size_t>(line)).state;
    if (visible) {
        st &= static_cast<std::uint8_t>(~lsFoldBody);
        m_hidden.Show(line);
    } else {
        st |= lsFoldBody;
        // The first body line after an expanded header stays shown.
        bool aboveHides = line > 0 && (!GetRealLineVisible(line - 1) || (GetLineState(line - 1) & lsFoldCollapsed));
        if (aboveHides) {
            m_hidden.Hide(line);
        }
    }
    AddChange(line, line, chSelection | chLineCount);
    EndUpdate();
}

void TMemoSource::SetCollapseState(int line, int state)
{
    if (line < 0 || line >= GetStrCount()) {
        return;
    }
    BeginUpdate(73);
    std::uint8_t& st = m_store.Rec(static_cast<std::size_t>(line)).state;
    st &= static_cast<std::uint8_t>(~(lsFoldExpanded | lsFoldCollapsed));
    if (state == csCollapsed) {
        st |= lsFoldCollapsed;
    } else if (state == csExpanded) {
        st |= lsFoldExpanded;
    }
    int last = line;
    if (state == csCollapsed || state == csExpanded) {
        for (int l = line + 1; l < GetStrCount(); ++l) {
            std::uint8_t& body = m_store.Rec(static_cast<std::size_t>(l)).state;
            if (!(body & lsFoldBody)) {
                break;
            }
            last = l;
            if (state == csCollapsed) {
                m_hidden.Hide(l);
            } else {
                m_hidden.Show(l);
                if (body & lsFoldCollapsed) {
                    body = static_cast<std::uint8_t>((body & ~lsFoldCollapsed) | lsFoldExpanded);
                }
            }
        }
    }
    AddChange(line, last, chSelection | chLineCount);
    EndUpdate();
}

int TMemoSource::RealToVisibleIndex(int line) const
{
    return m_hidden.RealToVisible(line);
}

int TMemoSource::VisibleToRealIndex(int index) const
{
    return m_hidden.VisibleToReal(index);
}

// ---- Bookmarks -------------------------------------------------------------------------

void TMemoSource::SetBookMark(int n)
{
    if (n < 1 || n > 10) {
        return;
    }
    BeginUpdate(45);
    if (const TBookmark* old = m_marks.FindBookmark(n)) {
        AddChange(old->line, old->line, chSelection);
    }
    m_marks.SetBookmark(n, GetCaretPoint());
    AddChange(GetCurLine(), GetCurLine(), chSelection);
    EndUpdate();
}

void TMemoSource::ClearBookMark(int n)
{
    BeginUpdate(45);
    if (const TBookmark* old = m_marks.FindBookmark(n)) {
        AddChange(old->line, old->line, chSelection);
    }
    m_marks.ClearBookmark(n);
    EndUpdate();
}

void TMemoSource::ToggleBookMark(int n)
{
    for (const auto& b : m_marks.Bookmarks()) {
        if (b.number == n && b.line == GetCurLine()) {
            ClearBookMark(n);
            return;
        }
    }
    SetBookMark(n);
}

bool TMemoSource::FindBookMark(int n, TTextPoint& point) const
{
    for (const auto& b : m_marks.Bookmarks()) {
        if (b.number == n) {
            point = {b.col, b.line};
            return true;
        }
    }
    return false;
}

void TMemoSource::GoToBookmark(int n)
{
    TTextPoint p;
    if (!FindBookMark(n, p)) {
        return;
    }
    BeginUpdate(2);
    m_forceCaretReport = true;
    JumpTo(p.col, p.line);
    m_forceCaretReport = true;
    EndUpdate();
}

int TMemoSource::GetBookmarkFromRange(int firstLine, int lastLine) const
{
    for (const auto& b : m_marks.Bookmarks()) {
        if (b.line >= firstLine && b.line <= lastLine) {
            return b.number;
        }
    }
    return 0;
}

std::vector<TMemoSource::TBookmark> TMemoSource::GetBookmarksFromRange(int firstLine, int lastLine) const
{
    std::vector<TBookmark> out;
    for (const auto& b : m_marks.Bookmarks()) {
        if (b.line >= firstLine && b.line <= lastLine) {
            out.push_back(b);
        }
    }
    return out;
}

} // namespace quillet

// Caret movement of TMemoSource: relative moves, jumps, and the cursor keys
// with their tab and line-end options.
#include "text/MemoSource.h"

#include <algorithm>

namespace quillet {

void TMemoSource::Navigate(int deltaLine, int deltaChar)
{
    NavigateImpl(deltaLine, deltaChar, false);
}

void TMemoSource::NavigateImpl(int deltaLine, int deltaChar, bool jump)
{
    if (m_activeNotifier && !m_replaying) {
        m_activeNotifier->AdjustNavigate(*this, deltaLine, deltaChar);
    }
    int line = GetCurLine();
    int col = GetCurChar();
    long long tl = static_cast<long long>(line) + deltaLine;
    long long tc = static_cast<long long>(col) + deltaChar;
    tl = std::clamp<long long>(tl, 0, INT_MAX);
    tc = std::clamp<long long>(tc, 0, INT_MAX);
    if (!HasOption(soBeyondFileEnd) && !m_replaying) {
        tl = std::min<long long>(tl, std::max(GetStrCount() - 1, 0));
    }
    int targetLine = static_cast<int>(tl);
    int targetCol = static_cast<int>(tc);
    if (HasOption(soLimitEOL) && !m_replaying) {
        targetCol = std::min(targetCol, LineLength(targetLine));
    }
    if (HasOption(soCursorAlwaysOnTabs) && !m_replaying && targetLine < GetStrCount()) {
        std::string_view raw = GetRawLine(targetLine);
        int spanStart = 0;
        int ri = tabs::ColToRaw(raw, targetCol, m_tabStops, &spanStart);
        if (ri < static_cast<int>(raw.size()) && raw[static_cast<std::size_t>(ri)] == '\t' && spanStart < targetCol) {
            int spanEnd = m_tabStops.NextStop(spanStart);
            targetCol = (targetCol - spanStart <= spanEnd - targetCol) ? spanStart : spanEnd;
        }
    }
    int dl = targetLine - line;
    int dc = targetCol - col;
    if (dl == 0 && dc == 0 && !m_forceCaretReport) {
        return;
    }
    BeginUpdate(2);
    if (dl != 0 && !m_keepTrailingBlanks && !m_replaying) {
        TrimTrailingBlanks(line);
    }
    if (dl != 0 || dc != 0) {
        AddUndo(TUndoKind::Navigate, dl, dc);
    }
    m_marks.Caret().Set({targetCol, targetLine});
    if ((jump || m_replaying) && targetLine < GetStrCount() && !GetLineVisible(targetLine)) {
        for (int l = targetLine - 1; l >= 0; --l) {
            if (GetLineState(l) & lsFoldCollapsed) {
                SetCollapseState(l, csExpanded);
                break;
            }
            if (!(GetLineState(l) & lsFoldBody)) {
                break;
            }
        }
    }
    EndUpdate();
}

void TMemoSource::JumpTo(int col, int line)
{
    NavigateImpl(line - GetCurLine(), col - GetCurChar(), true);
}

void TMemoSource::JumpToChar(int col)
{
    JumpTo(col, GetCurLine());
}

void TMemoSource::JumpToLine(int line)
{
    JumpTo(GetCurChar(), line);
}

void TMemoSource::JumpToLineBegin()
{
    Navigate(0, -GetCurChar());
}

void TMemoSource::JumpToLineEnd()
{
    int line = GetCurLine();
    int end = m_keepTrailingBlanks ? LineLength(line) : TrimmedLineLength(line);
    Navigate(0, end - GetCurChar());
}

void TMemoSource::JumpToFileBegin()
{
    BeginUpdate(2);
    Navigate(-GetCurLine(), -GetCurChar());
    EndUpdate();
}

void TMemoSource::JumpToFileEnd()
{
    BeginUpdate(2);
    int last = std::max(GetStrCount() - 1, 0);
    Navigate(last - GetCurLine(), 0);
    Navigate(0, LineLength(last) - GetCurChar());
    EndUpdate();
}

void TMemoSource::CursorUp()
{
    Navigate(-1, 0);
}

void TMemoSource::CursorDown()
{
    Navigate(1, 0);
}

void TMemoSource::CursorLeft()
{
    int col = GetCurChar();
    if (col == 0) {
        return;
    }
    if (HasOption(soCursorOnTabs) || HasOption(soCursorAlwaysOnTabs)) {
        std::string_view raw = GetRawLine(GetCurLine());
        int spanStart = 0;
        tabs::ColToRaw(raw, col - 1, m_tabStops, &spanStart);
        Navigate(0, spanStart - col);
        return;
    }
    Navigate(0, -1);
}

void TMemoSource::CursorRight()
{
    int line = GetCurLine();
    int col = GetCurChar();
    if (HasOption(soLimitEOL) && col >= LineLength(line)) {
        if (m_selKind != TSelKind::selColumn && line + 1 < GetStrCount()) {
            BeginUpdate(2);
            Navigate(1, -col);
            EndUpdate();
        }
        return;
    }
    if (HasOption(soCursorOnTabs) || HasOption(soCursorAlwaysOnTabs)) {
        std::string_view raw = GetRawLine(line);
        int spanStart = 0;
        int ri = tabs::ColToRaw(raw, col, m_tabStops, &spanStart);
        if (ri < static_cast<int>(raw.size()) && raw[static_cast<std::size_t>(ri)] == '\t') {
            Navigate(0, m_tabStops.NextStop(spanStart) - col);
            return;
        }
    }
    Navigate(0, 1);
}

void TMemoSource::TabCursorLeft()
{
    Navigate(0, m_tabStops.PrevStop(GetCurChar()) - GetCurChar());
}

void TMemoSource::TabCursorRight()
{
    Navigate(0, m_tabStops.NextStop(GetCurChar()) - GetCurChar());
}

} // namespace quillet

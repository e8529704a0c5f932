#include "text/MemoSource.h"

#include <algorithm>
#include <tuple>

namespace quillet {

namespace {
bool g_overwrite = false;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
} // namespace

TMemoSource::TMemoSource()
{
    SetDelimeters("");
}

TMemoSource::~TMemoSource()
{
    if (m_parser) {
        m_parser->UnregisterNotifier(this);
    }
}

// ---- Options -------------------------------------------------------------------

void TMemoSource::SetOptions(TStringsOptions options)
{
    bool tabWasOn = HasOption(soUseTabCharacter);
    if ((options & soUseTabCharacter) && (options & soSmartTab)) {
        if (!tabWasOn) {
            options &= ~soSmartTab;
        } else {
            options &= ~soUseTabCharacter;
        }
    }
    bool beyondWasOn = HasOption(soBeyondFileEnd);
    m_options = options;
    if (beyondWasOn && !HasOption(soBeyondFileEnd) && GetCurLine() >= std::max(GetStrCount(), 1)) {
        BeginUpdate(2);
        JumpToFileEnd();
        EndUpdate();
    }
}

void TMemoSource::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly) {
        return;
    }
    BeginUpdate(70);
    m_readOnly = readOnly;
    AddChange(0, 0, chReadOnly);
    EndUpdate();
}

void TMemoSource::SetAllowUndo(bool allow)
{
    m_allowUndo = allow;
    if (!allow) {
        ClearUndoBuffer();
    }
}

bool TMemoSource::SetTabStops(std::string_view text, std::string* error)
{
    if (!m_tabStops.Parse(text, error)) {
        return false;
    }
    m_longestDirty = true;
    BeginUpdate(0);
    AddChange(0, INT_MAX, chSelection);
    EndUpdate();
    return true;
}

void TMemoSource::SetDelimeters(std::string_view text)
{
    m_delimetersText = std::string(text);
    m_delimiters.reset();
    for (int c = 0; c <= 32; ++c) {
        m_delimiters.set(static_cast<std::size_t>(c));
    }
    for (unsigned char c : text) {
        m_delimiters.set(c);
    }
}

bool TMemoSource::GetOverwrite()
{
    return g_overwrite;
}

void TMemoSource::SetOverwrite(bool overwrite)
{
    if (g_overwrite == overwrite) {
        return;
    }
    BeginUpdate(41);
    g_overwrite = overwrite;
    AddChange(GetCurLine(), GetCurLine(), chOverwrite);
    EndUpdate();
}

// ---- Change bracket ---------------------------------------------------------------

void TMemoSource::BeginUpdate(int changeKind)
{
    if (m_updateLevel++ > 0) {
        return;
    }
    m_lineCountSnap = GetStrCount();
    m_changes.Reset();
    m_prevFoundRect = m_foundRect;
    m_prevFoundVisible = m_foundVisible;
    m_foundVisible = false;
    m_nextFirstOfStep = true;
    m_changeKind = changeKind;
    m_modifiedSnap = IsSourceModified();
    m_selKindSnap = m_selKind;
    m_marks.SnapshotSelection();
    m_caretSnap = GetCaretPoint();
    m_contentRecords = 0;
    m_selectionSet = false;
}

void TMemoSource::BeginSafeUpdate(int changeKind)
{
    BeginUpdate(changeKind);
    if (m_safeLevel++ == 0) {
        m_safeCaret = GetCaretPoint();
        m_safeStart = SelStart();
        m_safeEnd = SelEnd();
        m_safeKind = m_selKind;
    }
}

void TMemoSource::AddChange(int first, int last, std::uint32_t flags)
{
    m_changes.Add(first, last, flags);
}

void TMemoSource::EndUpdate()
{
    if (m_updateLevel <= 0) {
        return;
    }
    if (--m_updateLevel > 0) {
        return;
    }
    if (m_safeLevel > 0) {
        // A safe bracket ran inside: caret and selection go back to where they were.
        m_safeLevel = 0;
        m_marks.Caret().Set(m_safeCaret);
        m_marks.SetSelection(m_safeStart, m_safeEnd);
        m_selKind = m_safeKind;
    }
    // 1. caret
    if (GetCaretPoint() != m_caretSnap || m_forceCaretReport) {
        AddChange(std::min(m_caretSnap.line, GetCurLine()), std::max(m_caretSnap.line, GetCurLine()), chCaretMoved);
    }
    m_forceCaretReport = false;
    // 2. an empty selection is no selection
    if (m_selKind != TSelKind::selNone && IsBlockEmpty(m_selKind)) {
        m_selKind = TSelKind::selNone;
    }
    // 3. an edit or caret move outside Undo/Redo discards the redo history
    if (m_changes.Has(chCaretMoved | chTextChanged) && !m_changes.Has(chUndoRedo) && !m_replaying) {
        m_replayFrom->Clear();
    }
    // 4. selection changes
    TTextPoint oldStart = m_marks.OldSelStart().Point();
    TTextPoint oldEnd = m_marks.OldSelEnd().Point();
    bool selChanged = m_selKind != m_selKindSnap
        || (m_selKind != TSelKind::selNone && (SelStart() != oldStart || SelEnd() != oldEnd));
    if (!selChanged && m_changes.Has(chCaretMoved) && !HasOption(soPersistentBlocks) && !m_selecting && !m_selectionSet
        && m_selKind != TSelKind::selNone) {
        m_selKind = TSelKind::selNone;
        selChanged = true;
    }
    if (selChanged) {
        int lo = INT_MAX;
        int hi = -INT_MAX;
        if (m_selKindSnap != TSelKind::selNone) {
            lo = std::min(oldStart.line, oldEnd.line);
            hi = std::max(oldStart.line, oldEnd.line);
        }
        lo = std::min({lo, SelStart().line, SelEnd().line});
        hi = std::max({hi, SelStart().line, SelEnd().line});
        AddChange(lo, hi, chSelection);
    }
    // 5. found text
    if (m_foundVisible != m_prevFoundVisible || (m_foundVisible && !(m_foundRect == m_prevFoundRect))) {
        AddChange(std::min(m_foundRect.top, m_prevFoundRect.top),
            std::max(m_foundRect.bottom, m_prevFoundRect.bottom),
            chFoundText);
    }
    // 6. line count
    if (GetStrCount() != m_lineCountSnap) {
        m_changes.AddFlags(chLineCount);
    }
    // 7. text
    if (m_changes.Has(chTextChanged)) {
        if (!m_changes.Has(chUndoRedo) && (!m_allowUndo || m_contentRecords == 0)) {
            m_forcedModified = true;
        }
        m_parsedUpTo = std::min(m_parsedUpTo, std::max(0, m_changes.First()));
    }
    if (m_changes.Has(chHighlighter)) {
        m_parsedUpTo = 0;
        m_changes.CoverAll();
    }
    // 8. modified
    if (IsSourceModified() != m_modifiedSnap) {
        m_changes.AddFlags(chModified);
    }
    // 9. report
    if (m_changes.Flags() != 0) {
        const TChangeReport report = m_changes.Report();
        std::vector<IMemoSourceNotifier*> notifiers = m_notifiers;
        for (IMemoSourceNotifier* n : notifiers) {
            n->SourceChanged(*this, report);
        }
    }
}

void TMemoSource::RegisterNotifier(IMemoSourceNotifier* notifier, bool notify)
{
    if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) {
        return;
    }
    m_notifiers.push_back(notifier);
    if (notify) {
        BeginUpdate(50);
        AddChange(0, INT_MAX, chAll);
        EndUpdate();
    }
}

void TMemoSource::UnregisterNotifier(IMemoSourceNotifier* notifier)
{
    m_notifiers.erase(std::remove(m_notifiers.begin(), m_notifiers.end(), notifier), m_notifiers.end());
    if (m_activeNotifier == notifier) {
        m_activeNotifier = nullptr;
    }
}

// ---- Lines ---------------------------------------------------------------------------

std::string_view TMemoSource::GetRawLine(int line) const
{
    if (line < 0 || line >= GetStrCount()) {
        return {};
    }
    return m_store.Text(static_cast<std::size_t>(line));
}

std::string TMemoSource::GetExpandedLine(int line) const
{
    return tabs::Expand(GetRawLine(line), m_tabStops);
}

int TMemoSource::LineLength(int line) const
{
    return tabs::DisplayLength(GetRawLine(line), m_tabStops);
}

int TMemoSource::TrimmedLineLength(int line) const
{
    std::string_view raw = GetRawLine(line);
    std::size_t n = raw.size();
    while (n > 0 && IsBlank(raw[n - 1])) {
        --n;
    }
    return tabs::DisplayLength(raw.substr(0, n), m_tabStops);
}

int TMemoSource::ColToRaw(int line, int col) const
{
    return tabs::ColToRaw(GetRawLine(line), col, m_tabStops);
}

int TMemoSource::RawToCol(int line, int rawIndex) const
{
    return tabs::RawToCol(GetRawLine(line), rawIndex, m_tabStops);
}

int TMemoSource::LongestLineLength()
{
    if (!m_trackLongest || m_longestDirty) {
        m_trackLongest = true;
        m_longestDirty = false;
        m_longest = 0;
        for (int i = 0; i < GetStrCount(); ++i) {
            m_longest = std::max(m_longest, LineLength(i));
        }
    }
    return m_longest;
}

bool TMemoSource::LineIsReadOnly(int line) const
{
    return line >= 0 && line < GetStrCount() && (m_store.Rec(static_cast<std::size_t>(line)).state & lsReadOnly);
}

bool TMemoSource::ReadOnlyLine() const
{
    return m_readOnly || LineIsReadOnly(GetCurLine());
}

void TMemoSource::InvalidateLine(int line)
{
    if (line >= 0 && line < GetStrCount()) {
        m_store.Rec(static_cast<std::size_t>(line)).state &= static_cast<std::uint8_t>(~lsParsed);
    }
    m_parsedUpTo = std::min(m_parsedUpTo, std::max(line, 0));
}

void TMemoSource::ReparseEdited(int line, int oldLength)
{
    InvalidateLine(line);
    if (m_trackLongest && !m_longestDirty) {
        int len = LineLength(line);
        if (len > m_longest) {
            m_longest = len;
        } else if (len < m_longest && oldLength >= m_longest) {
            // Only a line that may have been the longest one makes a rescan necessary.
            m_longestDirty = true;
        }
    }
}

// ---- Positions -----------------------------------------------------------------------

TPosition* TMemoSource::CopyPosition(TTextPoint p)
{
    return m_marks.Copy(p);
}

void TMemoSource::FreePosition(TPosition* pos)
{
    m_marks.Free(pos);
}

void TMemoSource::RestorePosition(TPosition* pos, bool free)
{
    if (!pos) {
        return;
    }
    TTextPoint p = pos->Point();
    if (free) {
        FreePosition(pos);
    }
    BeginUpdate(2);
    NavigateImpl(p.line - GetCurLine(), p.col - GetCurChar(), false);
    EndUpdate();
}

void TMemoSource::ResetPositions()
{
    BeginUpdate(47);
    m_marks.ResetAll();
    m_selKind = TSelKind::selNone;
    EndUpdate();
}

void TMemoSource::ShiftOnInsert(int line, int col, int count)
{
    m_marks.ShiftOnInsert(line, col, count, m_selKind == TSelKind::selColumn);
}

void TMemoSource::ShiftOnDelete(int line, int col, int count)
{
    m_marks.ShiftOnDelete(line, col, count, m_selKind == TSelKind::selColumn);
}

void TMemoSource::ShiftOnBreak(int line, int col)
{
    m_marks.ShiftOnBreak(line, col, m_selKind == TSelKind::selColumn);
    m_hidden.ShiftOnInsertLines(line, 1);
}

void TMemoSource::ShiftOnJoin(int line, int col)
{
    m_marks.ShiftOnJoin(line, col, m_selKind == TSelKind::selColumn);
    m_hidden.ShiftOnJoin(line);
}

// ---- Editing primitives ------------------------------------------------------------------

void TMemoSource::AppendLinesTo(int line)
{
    int count = GetStrCount();
    if (line >= count) {
        m_store.InsertEmpty(static_cast<std::size_t>(count), static_cast<std::size_t>(line - count + 1));
        AddChange(count, line, chTextChanged);
    }
}

void TMemoSource::EnsureLine(int line)
{
    AppendLinesTo(line);
}

void TMemoSource::InsertRawAt(int line, int rawIndex, std::string_view text, std::string_view style)
{
    std::size_t li = static_cast<std::size_t>(line);
    bool hadStyle = !m_store.Style(li).empty();
    std::string& t = m_store.MutableText(li);
    std::size_t at = std::min(static_cast<std::size_t>(std::max(rawIndex, 0)), t.size());
    if (hadStyle || !style.empty()) {
        std::string& st = m_store.MutableStyle(li);
        std::string ins(style.substr(0, text.size()));
        if (ins.size() < text.size()) {
            char fill = !style.empty() ? style.back() : (at > 0 && at <= st.size() ? st[at - 1] : '\0');
            if (style.empty() && at < st.size()) {
                fill = st[at];
            }
            ins.append(text.size() - ins.size(), fill);
        }
        st.insert(at, ins);
    }
    t.insert(at, text);
    if (hadStyle || !style.empty()) {
        m_store.MutableStyle(li); // keeps the lengths in step
    }
}

bool TMemoSource::Insert(std::string_view text)
{
    return InsertEx(text, {}) >= 0 || text.empty();
}

int TMemoSource::InsertEx(std::string_view text, std::string_view styleBytes)
{
    if (m_readOnly) {
        return -1;
    }
    int line = GetCurLine();
    int col = GetCurChar();
    if (LineIsReadOnly(line)) {
        return -1;
    }
    if (text.empty()) {
        return 0;
    }
    BeginUpdate(5);
    AppendLinesTo(line);
    std::size_t li = static_cast<std::size_t>(line);
    std::string_view raw = m_store.Text(li);
    int dispLen = tabs::DisplayLength(raw, m_tabStops);
    if (col > dispLen) {
        // Pad with spaces up to the caret. While trailing blanks are kept the
        // padding outlives the undo; while they are trimmed, the trims are
        // recorded, so the padding must be too or replayed records drift.
        const int padLen = col - dispLen;
        std::string pad(static_cast<std::size_t>(padLen), ' ');
        InsertRawAt(line, static_cast<int>(raw.size()), pad, {});
        raw = m_store.Text(li);
        if (!m_keepTrailingBlanks && !m_replaying) {
            BeginUndoBlock();
            AddUndo(TUndoKind::Navigate, 0, -padLen);
            AddUndo(TUndoKind::Insert, padLen, 0);
            AddUndo(TUndoKind::Navigate, 0, padLen);
            EndUndoBlock();
        }
    }
    int spanStart = 0;
    int rawIndex = tabs::ColToRaw(raw, col, m_tabStops, &spanStart);
    std::string ins(text);
    std::string style(styleBytes);
    int split = 0;
    if (rawIndex < static_cast<int>(raw.size()) && spanStart < col) {
        // Inside a tab's span: the columns left of the caret become spaces in
        // front of the new text and the tab re-expands after it.
        split = col - spanStart;
        ins.insert(0, static_cast<std::size_t>(split), ' ');
        if (!style.empty()) {
            std::string_view st = m_store.Style(li);
            char s = static_cast<std::size_t>(rawIndex) < st.size() ? st[static_cast<std::size_t>(rawIndex)] : '\0';
            style.insert(0, static_cast<std::size_t>(split), s);
        }
    }
    InsertRawAt(line, rawIndex, ins, style);
    int shift = tabs::RawToCol(m_store.Text(li), rawIndex + static_cast<int>(ins.size()), m_tabStops) - col;
    if (split > 0) {
        BeginUndoBlock();
        AddUndo(TUndoKind::Navigate, 0, -split);
        AddUndo(TUndoKind::Insert, static_cast<int>(ins.size()), 0);
        AddUndo(TUndoKind::Navigate, 0, split);
        EndUndoBlock();
    } else {
        AddUndo(TUndoKind::Insert, static_cast<int>(ins.size()), 0);
    }
    ShiftOnInsert(line, col, shift);
    ReparseEdited(line, dispLen);
    AddChange(line, line, chTextChanged);
    EndUpdate();
    return static_cast<int>(ins.size());
}

void TMemoSource::DeleteRight(int count)
{
    int line = GetCurLine();
    int col = GetCurChar();
    if (count <= 0 || m_readOnly || line >= GetStrCount() || LineIsReadOnly(line)) {
        return;
    }
    std::size_t li = static_cast<std::size_t>(line);
    std::string_view raw = m_store.Text(li);
    const int oldLength = tabs::DisplayLength(raw, m_tabStops);
    if (col >= oldLength) {
        return;
    }
    BeginUpdate(6);
    int spanStart = 0;
    int rawIndex = tabs::ColToRaw(raw, col, m_tabStops, &spanStart);
    if (spanStart < col) {
        // Deleting from inside a tab: the part left of the caret becomes spaces.
        int split = col - spanStart;
        InsertRawAt(line, rawIndex, std::string(static_cast<std::size_t>(split), ' '), {});
        BeginUndoBlock();
        AddUndo(TUndoKind::Navigate, 0, -split);
        AddUndo(TUndoKind::Insert, split, 0);
        AddUndo(TUndoKind::Navigate, 0, split);
        EndUndoBlock();
        rawIndex += split;
        raw = m_store.Text(li);
    }
    std::size_t n = std::min(static_cast<std::size_t>(count), raw.size() - static_cast<std::size_t>(rawIndex));
    int endCol = tabs::RawToCol(raw, rawIndex + static_cast<int>(n), m_tabStops);
    std::string removed(raw.substr(static_cast<std::size_t>(rawIndex), n));
    std::string removedStyle;
    std::string_view st = m_store.Style(li);
    if (!st.empty()) {
        removedStyle.assign(st.substr(static_cast<std::size_t>(rawIndex), n));
        m_store.MutableStyle(li).erase(static_cast<std::size_t>(rawIndex), n);
    }
    m_store.MutableText(li).erase(static_cast<std::size_t>(rawIndex), n);
    AddUndo(TUndoKind::Delete, 0, 0, std::move(removed), std::move(removedStyle));
    ShiftOnDelete(line, col, endCol - col);
    ReparseEdited(line, oldLength);
    AddChange(line, line, chTextChanged);
    if (GetStrCount() == 1 && m_store.Text(0).empty()) {
        // A document whose only line is empty has no lines.
        m_store.Erase(0, 1);
    }
    EndUpdate();
}

void TMemoSource::ExpandFoldAt(int line)
{
    if (line >= 0 && line < GetStrCount() && (GetLineState(line) & lsFoldCollapsed)) {
        SetCollapseState(line, csExpanded);
    }
}

void TMemoSource::BreakLine()
{
    int line = GetCurLine();
    int col = GetCurChar();
    if (m_readOnly) {
        return;
    }
    if (GetStrCount() == 0 && line == 0) {
        BeginUpdate(4);
        AppendLinesTo(0);
        EndUpdate();
    }
    if (line >= GetStrCount() || LineIsReadOnly(line)) {
        return;
    }
    BeginUpdate(4);
    ExpandFoldAt(line);
    std::size_t li = static_cast<std::size_t>(line);
    std::string_view raw = m_store.Text(li);
    const int oldLength = tabs::DisplayLength(raw, m_tabStops);
    int rawIndex = std::min(tabs::ColToRaw(raw, col, m_tabStops), static_cast<int>(raw.size()));
    TLineRec newRec = SplitOffTail(li, static_cast<std::size_t>(rawIndex), col == 0 || raw.empty());
    m_store.Insert(li + 1, newRec);
    AddUndo(TUndoKind::Break, 0, 0);
    ShiftOnBreak(line, col);
    // The tail, shown from column 0, is no longer than the whole line was.
    ReparseEdited(line, oldLength);
    InvalidateLine(line + 1);
    AddChange(line, INT_MAX, chTextChanged);
    if (!m_replaying && !m_keepTrailingBlanks) {
        std::string_view first = m_store.Text(li);
        std::size_t n = first.size();
        while (n > 0 && IsBlank(first[n - 1])) {
            --n;
        }
        if (n < first.size()) {
            int trimCol = tabs::RawToCol(first, static_cast<int>(n), m_tabStops);
            int back = col - trimCol;
            NavigateImpl(0, -back, false);
            DeleteRight(INT_MAX);
            NavigateImpl(0, back, false);
        }
    }
    EndUpdate();
}

TLineRec TMemoSource::SplitOffTail(std::size_t li, std::size_t rawIndex, bool moveDecoration)
{
    std::string_view raw = m_store.Text(li);
    rawIndex = std::min(rawIndex, raw.size());
    TLineRec newRec;
    std::string tail(raw.substr(rawIndex));
    std::string_view st = m_store.Style(li);
    std::string tailStyle;
    if (!st.empty()) {
        tailStyle.assign(st.substr(std::min(rawIndex, st.size())));
    }
    TLineRec& rec = m_store.Rec(li);
    if (rec.state & (lsFoldBody | lsFoldExpanded | lsFoldCollapsed)) {
        newRec.state |= lsFoldBody;
    }
    std::intptr_t object = 0;
    std::string aux;
    if (moveDecoration) {
        newRec.imageBits = rec.imageBits;
        newRec.lineStyle = rec.lineStyle;
        rec.imageBits = 0;
        rec.lineStyle = 0;
        if (rec.Extra()) {
            object = rec.Extra()->object;
            rec.Extra()->object = 0;
            aux = std::move(rec.Extra()->aux);
            rec.Extra()->aux.clear();
        }
    }
    if (!tail.empty() || !tailStyle.empty() || object || !aux.empty()) {
        TLineExtra* extra = new TLineExtra;
        extra->text = std::move(tail);
        extra->ownsText = true;
        extra->style = std::move(tailStyle);
        extra->object = object;
        extra->aux = std::move(aux);
        newRec.AttachExtra(extra);
    }
    if (rawIndex < m_store.Text(li).size()) {
        if (!m_store.Style(li).empty()) {
            m_store.MutableStyle(li).resize(rawIndex);
        }
        m_store.MutableText(li).resize(rawIndex);
    }
    return newRec;
}

void TMemoSource::JoinLines()
{
    int line = GetCurLine();
    int col = GetCurChar();
    if (m_readOnly || line + 1 >= GetStrCount() || LineIsReadOnly(line) || LineIsReadOnly(line + 1)) {
        return;
    }
    std::size_t li = static_cast<std::size_t>(line);
    int len = tabs::DisplayLength(m_store.Text(li), m_tabStops);
    if (col < len) {
        return;
    }
    BeginUpdate(3);
    ExpandFoldAt(line);
    ExpandFoldAt(line + 1);
    if (col > len && !m_replaying) {
        // Joining from past the line end pads up to the caret. A replayed join
        // undoes a break made past the line end, which cut at the end and
        // padded nothing, so it pads nothing either.
        InsertRawAt(
            line, static_cast<int>(m_store.Text(li).size()), std::string(static_cast<std::size_t>(col - len), ' '), {});
    }
    std::string nextText(m_store.Text(li + 1));
    std::string nextStyle(m_store.Style(li + 1));
    if (!nextStyle.empty() || !m_store.Style(li).empty()) {
        nextStyle.resize(nextText.size(), '\0');
        m_store.MutableStyle(li).append(nextStyle);
    }
    m_store.MutableText(li).append(nextText);
    if (!m_store.Style(li).empty()) {
        m_store.MutableStyle(li);
    }
    TLineRec& rec = m_store.Rec(li);
    const TLineRec& next = m_store.Rec(li + 1);
    rec.imageBits |= next.imageBits;
    if (rec.lineStyle == 0) {
        rec.lineStyle = next.lineStyle;
    }
    if (next.Extra() && next.Extra()->object && !(rec.Extra() && rec.Extra()->object)) {
        m_store.Extra(li).object = next.Extra()->object;
    }
    m_store.Erase(li + 1, 1);
    AddUndo(TUndoKind::Join, 0, 0);
    ShiftOnJoin(line, col);
    // The joined line is at least as long as each of its parts was.
    ReparseEdited(line, 0);
    AddChange(line, INT_MAX, chTextChanged);
    EndUpdate();
}

void TMemoSource::TrimTrailingBlanks(int line)
{
    // The caret is on the line. The removal is recorded like any deletion, so
    // undo puts the blanks back and later caret-relative records stay valid.
    if (line < 0 || line >= GetStrCount() || LineIsReadOnly(line)) {
        return;
    }
    std::string_view t = m_store.Text(static_cast<std::size_t>(line));
    std::size_t n = t.size();
    while (n > 0 && IsBlank(t[n - 1])) {
        --n;
    }
    if (n == t.size()) {
        return;
    }
    const int col = GetCurChar();
    const int trimCol = tabs::RawToCol(t, static_cast<int>(n), m_tabStops);
    m_marks.Caret().m_char = trimCol;
    AddUndo(TUndoKind::Navigate, 0, trimCol - col);
    DeleteRight(INT_MAX);
    m_marks.Caret().m_char = col;
    AddUndo(TUndoKind::Navigate, 0, col - trimCol);
}

} // namespace quillet

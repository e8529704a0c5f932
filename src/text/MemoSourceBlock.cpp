// Block operations of TMemoSource. Every operation here is built from the
// editing primitives inside one change bracket, so it is one undo step and one
// change report.
#include "core/CharCase.h"
#include "platform/IClipboard.h"
#include "text/MemoSource.h"

#include <algorithm>
#include <charconv>

namespace quillet {

namespace {

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t';
}

// Splits clipboard text at CR LF, CR or LF; a trailing line break adds an empty
// last line so that a copied whole line pastes as a whole line.
std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace

// ---- Deleting ----------------------------------------------------------------------------

void TMemoSource::DeleteColumns(int line, int left, int count)
{
    // Removes display columns [left, left + count) of one line as raw characters.
    if (line >= GetStrCount() || count <= 0) {
        return;
    }
    std::string_view raw = GetRawLine(line);
    int a = tabs::ColToRaw(raw, left, m_tabStops);
    int b = tabs::ColToRaw(raw, left + count, m_tabStops);
    if (a >= static_cast<int>(raw.size())) {
        return;
    }
    b = std::min(b, static_cast<int>(raw.size()));
    JumpTo(left, line);
    DeleteRight(std::max(b - a, 1));
}

void TMemoSource::DeleteBlock()
{
    // A read-only buffer keeps its text and its selection (Cut still copies).
    if (!HasSelection() || m_readOnly) {
        return;
    }
    TTextRect r = ClampedRect();
    if (r.bottom < r.top) {
        BeginUpdate(22);
        m_selKind = TSelKind::selNone;
        EndUpdate();
        return;
    }
    BeginUpdate(22);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    TSelKind kind = m_selKind;
    if (kind == TSelKind::selStream && r.top < r.bottom) {
        TPosition* endPos = CopyPosition({r.right, r.bottom});
        std::string_view endRaw = GetRawLine(r.bottom);
        int endCount = std::min(tabs::ColToRaw(endRaw, r.right, m_tabStops), static_cast<int>(endRaw.size()));
        JumpTo(r.left, r.top);
        const int topLength = LineLength(r.top);
        if (GetCaretPoint() == TTextPoint{r.left, r.top} && r.left > topLength && !m_readOnly
            && !LineIsReadOnly(r.top)) {
            // The block starts past the end of its first line: the joined text
            // lands at the block's column, so the line is padded first, as a
            // recorded step, so that Undo takes the padding away again.
            const int padLen = r.left - topLength;
            InsertRawAt(r.top,
                static_cast<int>(GetRawLine(r.top).size()),
                std::string(static_cast<std::size_t>(padLen), ' '),
                {});
            BeginUndoBlock();
            AddUndo(TUndoKind::Navigate, 0, -padLen);
            AddUndo(TUndoKind::Insert, padLen, 0);
            AddUndo(TUndoKind::Navigate, 0, padLen);
            EndUndoBlock();
            ReparseEdited(r.top);
            AddChange(r.top, r.top, chTextChanged);
        }
        if (!SpliceDeleteBlock(r, endCount)) {
            DeleteRight(INT_MAX);
            for (int k = r.top + 1; k <= r.bottom; ++k) {
                if (GetCurLine() + 1 >= GetStrCount()) {
                    break;
                }
                JumpTo(r.left, r.top);
                JoinLines();
                if (k < r.bottom) {
                    DeleteRight(INT_MAX);
                } else if (endCount > 0) {
                    DeleteRight(endCount);
                }
            }
        }
        TTextPoint p = endPos->Point();
        FreePosition(endPos);
        JumpTo(p.col, p.line);
    } else {
        bool columnar = kind == TSelKind::selColumn;
        for (int line = r.top; line <= r.bottom; ++line) {
            int width = columnar ? r.right - r.left + 1 : r.right - r.left;
            DeleteColumns(line, r.left, width);
        }
        m_selKind = TSelKind::selNone;
        JumpTo(r.left, r.top);
    }
    m_selKind = TSelKind::selNone;
    m_selecting = wasSelecting;
    EndUpdate();
}

bool TMemoSource::CheckOverwriteBlock()
{
    if (m_updateLevel > 0 || !HasOption(soOverwriteBlocks) || HasOption(soPersistentBlocks) || !HasSelection()) {
        return false;
    }
    DeleteBlock();
    return true;
}

// ---- Clipboard -------------------------------------------------------------------------------

void TMemoSource::CopyBlock()
{
    if (!m_clipboard) {
        return;
    }
    if (!HasSelection()) {
        if (HasOption(soForceCutCopy)) {
            m_clipboard->Clear();
        }
        return;
    }
    m_clipboard->SetText(GetSelectedText());
    SetLastCopyWasColumnar(m_selKind == TSelKind::selColumn);
}

void TMemoSource::CutBlock()
{
    if (!HasSelection() && !HasOption(soForceCutCopy)) {
        // Nothing selected: the clipboard keeps what it holds.
        return;
    }
    BeginUpdate(20);
    CopyBlock();
    DeleteBlock();
    EndUpdate();
}

void TMemoSource::PasteBlock()
{
    if (!m_clipboard || m_readOnly) {
        return;
    }
    std::optional<std::string> text = m_clipboard->GetText();
    if (!text || text->empty()) {
        return;
    }
    bool nested = m_updateLevel > 0;
    BeginUpdate(21);
    if (!nested && HasOption(soOverwriteBlocks) && !HasOption(soPersistentBlocks) && HasSelection()) {
        DeleteBlock(); // what CheckOverwriteBlock does, inside this operation's bracket
    }
    if (!m_clipboard->OwnedByThisProgram()) {
        SetLastCopyWasColumnar(false);
    }
    std::vector<std::string> lines = SplitLines(*text);
    if (OnPasteFromClipboard) {
        OnPasteFromClipboard(*this, lines);
    }
    if (!HasOption(soUseTabCharacter)) {
        std::string spaces(static_cast<std::size_t>(m_spacesInTab), ' ');
        for (std::string& l : lines) {
            std::string out;
            for (char c : l) {
                if (c == '\t') {
                    out += spaces;
                } else {
                    out.push_back(c);
                }
            }
            l = std::move(out);
        }
    }
    PasteBlockFromStringsEx(lines, nullptr, LastCopyWasColumnar());
    if (!HasOption(soPersistentBlocks)) {
        m_selKind = TSelKind::selNone;
    }
    EndUpdate();
}

void TMemoSource::PasteBlockFromStrings(const std::vector<std::string>& lines, bool columnar)
{
    PasteBlockFromStringsEx(lines, nullptr, columnar);
}

void TMemoSource::PasteBlockFromStringsEx(
    const std::vector<std::string>& lines, const std::vector<std::string>* styles, bool columnar)
{
    if (lines.empty() || m_readOnly) {
        return;
    }
    auto styleOf = [&](std::size_t i) -> std::string_view {
        return styles && i < styles->size() ? std::string_view((*styles)[i]) : std::string_view();
    };
    BeginUpdate(21);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    int L = GetCurLine();
    int C = GetCurChar();
    int count = static_cast<int>(lines.size());
    if (count == 1) {
        InsertEx(lines[0], styleOf(0));
        int n = RawToCol(L, ColToRaw(L, C) + static_cast<int>(lines[0].size())) - C;
        StoreSelection(FilterKind(TSelKind::selStream), {C, L, C + n, L});
        if (columnar) {
            Navigate(1, 0);
        } else {
            Navigate(0, n);
        }
    } else if (columnar) {
        int width = 0;
        for (int i = 0; i < count; ++i) {
            int line = L + i;
            JumpTo(C, line);
            InsertEx(lines[static_cast<std::size_t>(i)], styleOf(static_cast<std::size_t>(i)));
            if (i == 0) {
                width = RawToCol(line, ColToRaw(line, C) + static_cast<int>(lines[0].size())) - C;
            }
            if (line >= GetStrCount() - 1) {
                // The document grows as needed: a column pasted at the bottom
                // leaves one new empty line below it.
                JumpTo(LineLength(line), line);
                BreakLine();
            }
            JumpTo(C, line + 1);
        }
        StoreSelection(FilterKind(TSelKind::selColumn), {C, L, C + width - 1, L + count - 1});
    } else {
        JumpTo(C, L);
        if (!SplicePaste(lines, styles, C, L)) {
            PasteStreamLineByLine(lines, styles, C, L);
        }
        int lastLine = L + count - 1;
        int endCol = RawToCol(lastLine, static_cast<int>(lines.back().size()));
        StoreSelection(FilterKind(TSelKind::selStream), {C, L, endCol, lastLine});
        JumpTo(endCol, lastLine);
    }
    m_selecting = wasSelecting;
    EndUpdate();
}

void TMemoSource::PasteStreamLineByLine(
    const std::vector<std::string>& lines, const std::vector<std::string>* styles, int C, int L)
{
    auto styleOf = [&](std::size_t i) -> std::string_view {
        return styles && i < styles->size() ? std::string_view((*styles)[i]) : std::string_view();
    };
    const int count = static_cast<int>(lines.size());
    BreakLine();
    JumpTo(C, L);
    InsertEx(lines[0], styleOf(0));
    JumpTo(0, L + 1);
    InsertEx(lines.back(), styleOf(lines.size() - 1));
    for (int i = 1; i + 1 < count; ++i) {
        JumpTo(0, L + i);
        BreakLine();
        JumpTo(0, L + i);
        InsertEx(lines[static_cast<std::size_t>(i)], styleOf(static_cast<std::size_t>(i)));
    }
}

void TMemoSource::InsertStrings(const std::vector<std::string>& lines, bool columnar)
{
    BeginUpdate(39);
    TSelKind kind = m_selKind;
    TTextRect r = GetSelectionRect();
    bool wasSelecting = m_selecting;
    m_selecting = true;
    PasteBlockFromStringsEx(lines, nullptr, columnar);
    m_marks.SetSelection({r.left, r.top}, {r.right, r.bottom});
    m_selKind = kind;
    m_selecting = wasSelecting;
    EndUpdate();
}

void TMemoSource::InsertString(std::string_view text)
{
    InsertStrings(SplitLines(text), false);
}

// ---- Moving and duplicating ------------------------------------------------------------------

std::string TMemoSource::WriteBlockToStream() const
{
    // Count, then per line: text length, style length, text, style.
    std::vector<std::string> lines = GetSelectionStrings(false);
    std::vector<std::string> styles = GetSelectionStrings(true);
    std::string out = std::to_string(lines.size()) + "\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += std::to_string(lines[i].size()) + " " + std::to_string(styles[i].size()) + "\n";
        out += lines[i];
        out += styles[i];
    }
    return out;
}

void TMemoSource::ReadBlockFromStreamEx(std::string_view stream, bool columnar)
{
    auto readNumber = [&](std::size_t& pos, char stop, std::size_t& value) {
        std::size_t e = stream.find(stop, pos);
        if (e == std::string_view::npos) {
            return false;
        }
        auto [ptr, ec] = std::from_chars(stream.data() + pos, stream.data() + e, value);
        if (ec != std::errc() || ptr != stream.data() + e) {
            return false;
        }
        pos = e + 1;
        return true;
    };
    std::size_t pos = 0;
    std::size_t count = 0;
    if (!readNumber(pos, '\n', count)) {
        return;
    }
    std::vector<std::string> lines;
    std::vector<std::string> styles;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t tl = 0;
        std::size_t sl = 0;
        if (!readNumber(pos, ' ', tl) || !readNumber(pos, '\n', sl) || pos + tl + sl > stream.size()) {
            return;
        }
        lines.emplace_back(stream.substr(pos, tl));
        pos += tl;
        styles.emplace_back(stream.substr(pos, sl));
        pos += sl;
    }
    bool anyStyle = std::any_of(styles.begin(), styles.end(), [](const std::string& s) {
        return s.find_first_not_of('\0') != std::string::npos;
    });
    PasteBlockFromStringsEx(lines, anyStyle ? &styles : nullptr, columnar);
}

bool TMemoSource::MoveBlock()
{
    if (!HasSelection() || IsPosInBlock(GetCurChar(), GetCurLine())) {
        return false;
    }
    BeginUpdate(23);
    bool columnar = m_selKind == TSelKind::selColumn;
    std::string stream = WriteBlockToStream();
    TPosition* caret = CopyPosition(GetCaretPoint());
    DeleteBlock();
    TTextPoint p = caret->Point();
    FreePosition(caret);
    JumpTo(p.col, p.line);
    ReadBlockFromStreamEx(stream, columnar);
    EndUpdate();
    return true;
}

bool TMemoSource::CopyBlockToPos()
{
    if (!HasSelection() || IsPosInBlock(GetCurChar(), GetCurLine())) {
        return false;
    }
    BeginUpdate(23);
    bool columnar = m_selKind == TSelKind::selColumn;
    std::string stream = WriteBlockToStream();
    ReadBlockFromStreamEx(stream, columnar);
    EndUpdate();
    return true;
}

void TMemoSource::DuplicateBlock()
{
    if (!HasSelection()) {
        return;
    }
    BeginUpdate(69);
    bool columnar = m_selKind == TSelKind::selColumn;
    std::vector<std::string> lines = GetSelectionStrings(false);
    std::vector<std::string> styles = GetSelectionStrings(true);
    m_selKind = TSelKind::selNone;
    PasteBlockFromStringsEx(lines, StoreColorData() ? &styles : nullptr, columnar);
    EndUpdate();
}

// ---- Line transformations -------------------------------------------------------------------

void TMemoSource::DoWithBlockStr(int changeKind, bool restoreCaret, const TLineFunction& lineFunction)
{
    if (!HasSelection() || m_readOnly) {
        return;
    }
    BeginUpdate(changeKind);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    TTextPoint caret = GetCaretPoint();
    bool keepStyles = StoreColorData();
    std::vector<std::string> lines = GetSelectionStrings(false);
    std::vector<std::string> styles = keepStyles ? GetSelectionStrings(true) : std::vector<std::string>();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lineFunction(lines[i], keepStyles ? &styles[i] : nullptr);
        if (keepStyles) {
            styles[i].resize(lines[i].size(), '\0');
        }
    }
    TSelKind kind = m_selKind;
    TTextRect r = ClampedRect();
    DeleteBlock();
    JumpTo(r.left, r.top);
    PasteBlockFromStringsEx(lines, keepStyles ? &styles : nullptr, kind == TSelKind::selColumn);
    if (restoreCaret) {
        JumpTo(caret.col, caret.line);
    }
    m_selecting = wasSelecting;
    EndUpdate();
}

void TMemoSource::DoWithBlock(int changeKind,
    bool restoreCaret,
    const std::function<void()>& blockFunction,
    const std::function<void()>& markFunction)
{
    TSelKind kind = m_selKind;
    TTextPoint start = SelStart();
    TTextPoint end = SelEnd();
    BeginUpdate(changeKind);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    TTextPoint caret = GetCaretPoint();
    markFunction();
    blockFunction();
    if (restoreCaret) {
        JumpTo(caret.col, caret.line);
    }
    m_marks.SetSelection(start, end);
    m_selKind = kind;
    m_selecting = wasSelecting;
    EndUpdate();
}

namespace {
void AdjustStylePrefix(std::string* style, std::size_t added, std::size_t removed)
{
    if (!style) {
        return;
    }
    if (removed) {
        style->erase(0, std::min(removed, style->size()));
    }
    if (added) {
        char s = style->empty() ? '\0' : (*style)[0];
        style->insert(0, added, s);
    }
}
} // namespace

void TMemoSource::IndentBlock(std::string_view unit)
{
    std::string u = unit.empty() ? std::string(static_cast<std::size_t>(m_blockIndent), ' ') : std::string(unit);
    if (u.empty()) {
        return;
    }
    DoWithBlockStr(65, false, [&u](std::string& line, std::string* style) {
        if (line.empty()) {
            return;
        }
        line.insert(0, u);
        AdjustStylePrefix(style, u.size(), 0);
    });
}

void TMemoSource::OutDentBlock(std::string_view unit)
{
    std::size_t n = unit.empty() ? static_cast<std::size_t>(m_blockIndent) : unit.size();
    DoWithBlockStr(66, false, [n](std::string& line, std::string* style) {
        std::size_t blanks = 0;
        while (blanks < n && blanks < line.size() && IsBlankChar(line[blanks])) {
            ++blanks;
        }
        line.erase(0, blanks);
        AdjustStylePrefix(style, 0, blanks);
    });
}

void TMemoSource::UpperCaseBlock()
{
    DoWithBlockStr(25, true, [](std::string& line, std::string*) {
        line = UpperText(line);
    });
}

void TMemoSource::LowerCaseBlock()
{
    DoWithBlockStr(26, true, [](std::string& line, std::string*) {
        line = LowerText(line);
    });
}

void TMemoSource::ToggleBlockCase()
{
    DoWithBlockStr(27, true, [](std::string& line, std::string*) {
        for (char& c : line) {
            unsigned char u = UpperChar(static_cast<unsigned char>(c));
            c = static_cast<char>(u != static_cast<unsigned char>(c) ? u : LowerChar(static_cast<unsigned char>(c)));
        }
    });
}

void TMemoSource::CapitalizeBlock()
{
    DoWithBlockStr(64, true, [this](std::string& line, std::string*) {
        line = LowerText(line);
        for (std::size_t i = 0; i < line.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            if (IsWordChar(c) && (i == 0 || IsDelimiter(static_cast<unsigned char>(line[i - 1])))) {
                line[i] = static_cast<char>(UpperChar(c));
            }
        }
    });
}

void TMemoSource::QuoteBlock()
{
    DoWithBlockStr(67, false, [](std::string& line, std::string* style) {
        line.insert(0, ">");
        AdjustStylePrefix(style, 1, 0);
    });
}

} // namespace quillet

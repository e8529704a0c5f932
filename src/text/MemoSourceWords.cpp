// Word operations and bracket matching of TMemoSource. Word boundaries come from
// the buffer's delimiter set; columns are display columns.
#include "text/MemoSource.h"

#include <algorithm>

namespace quillet {

namespace {

char PartnerOf(char c, bool& opening)
{
    switch (c) {
    case '(':
        opening = true;
        return ')';
    case '[':
        opening = true;
        return ']';
    case '{':
        opening = true;
        return '}';
    case '<':
        opening = true;
        return '>';
    case ')':
        opening = false;
        return '(';
    case ']':
        opening = false;
        return '[';
    case '}':
        opening = false;
        return '{';
    case '>':
        opening = false;
        return '<';
    default:
        return 0;
    }
}

} // namespace

// ---- Words -------------------------------------------------------------------------------------

std::pair<int, int> TMemoSource::WordBounds(int col, int line, TWordSelectionType type) const
{
    std::string t = GetExpandedLine(line);
    int n = static_cast<int>(t.size());
    if (n == 0) {
        return {0, 0};
    }
    auto word = [&](int i) {
        return IsWordChar(static_cast<unsigned char>(t[static_cast<std::size_t>(i)]));
    };
    int p = std::clamp(col, 0, n - 1);
    if (word(p)) {
        while (p > 0 && word(p - 1)) {
            --p;
        }
    } else {
        while (p < n && !word(p)) {
            ++p;
        }
        if (p == n) {
            return {0, 0};
        }
    }
    int start = p;
    int end = p;
    while (end + 1 < n && word(end + 1)) {
        ++end;
    }
    if (type == TWordSelectionType::wsWordWithSpace) {
        if (end + 1 < n && t[static_cast<std::size_t>(end + 1)] == ' ') {
            ++end;
        }
    } else if (type == TWordSelectionType::wsUntilNextWord) {
        while (end + 1 < n && !word(end + 1)) {
            ++end;
        }
    }
    return {start + 1, end + 1};
}

std::string TMemoSource::GetTextAt(int col, int line) const
{
    auto [start, end] = WordBounds(col, line, TWordSelectionType::wsWordOnly);
    if (start == 0) {
        return {};
    }
    return GetExpandedLine(line).substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(end - start + 1));
}

void TMemoSource::MarkWord()
{
    MarkWordWithType(TWordSelectionType::wsWordOnly);
}

void TMemoSource::MarkWordWithType(TWordSelectionType type)
{
    int line = GetCurLine();
    auto [start, end] = WordBounds(GetCurChar(), line, type);
    if (start == 0) {
        return;
    }
    BeginUpdate(30);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    StoreSelection(FilterKind(TSelKind::selStream), {start - 1, line, end, line});
    JumpTo(end, line);
    m_selecting = wasSelecting;
    EndUpdate();
}

void TMemoSource::JumpWordRight()
{
    int line = GetCurLine();
    int col = GetCurChar();
    std::string t = GetExpandedLine(line);
    int n = static_cast<int>(t.size());
    BeginUpdate(2);
    if (col >= n) {
        if (line + 1 < GetStrCount()) {
            JumpTo(0, line + 1);
        }
        EndUpdate();
        return;
    }
    int p = col;
    while (p < n && IsWordChar(static_cast<unsigned char>(t[static_cast<std::size_t>(p)]))) {
        ++p;
    }
    while (p < n && IsDelimiter(static_cast<unsigned char>(t[static_cast<std::size_t>(p)]))) {
        ++p;
    }
    JumpTo(p, line);
    EndUpdate();
}

void TMemoSource::JumpWordLeft()
{
    int line = GetCurLine();
    std::string t = GetExpandedLine(line);
    int p = std::min(GetCurChar(), static_cast<int>(t.size()));
    BeginUpdate(2);
    while (p > 0 && IsDelimiter(static_cast<unsigned char>(t[static_cast<std::size_t>(p - 1)]))) {
        --p;
    }
    if (p > 0) {
        while (p > 0 && IsWordChar(static_cast<unsigned char>(t[static_cast<std::size_t>(p - 1)]))) {
            --p;
        }
        JumpTo(p, line);
    } else if (line > 0) {
        JumpTo(LineLength(line - 1), line - 1);
    } else {
        JumpTo(0, 0);
    }
    EndUpdate();
}

void TMemoSource::DeleteWordRight()
{
    DeleteWord(true);
}

void TMemoSource::DeleteWordLeft()
{
    DeleteWord(false);
}

void TMemoSource::DeleteWord(bool right)
{
    if (ReadOnlyLine()) {
        return;
    }
    // Selects from the caret to the next (or previous) word boundary and
    // deletes that; the selection the user had comes back afterwards.
    DoWithBlock(
        right ? 33 : 34,
        false,
        [this] {
            DeleteBlock();
        },
        [this, right] {
            m_selKind = TSelKind::selNone;
            if (right) {
                MarkWordRight();
            } else {
                MarkWordLeft();
            }
        });
}

void TMemoSource::CorrectMarkWordRight()
{
    int line = GetCurLine();
    int col = GetCurChar();
    std::string t = GetExpandedLine(line);
    int n = static_cast<int>(t.size());
    if (col >= n) {
        return;
    }
    auto word = [&](int i) {
        return IsWordChar(static_cast<unsigned char>(t[static_cast<std::size_t>(i)]));
    };
    int end = col;
    if (word(col)) {
        while (end < n && word(end)) {
            ++end;
        }
        if (end < n && t[static_cast<std::size_t>(end)] == ' ') {
            ++end;
        }
    } else {
        while (end < n && !word(end)) {
            ++end;
        }
        while (end < n && word(end)) {
            ++end;
        }
        while (end < n && !word(end)) {
            ++end;
        }
    }
    BeginUpdate(30);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    StoreSelection(FilterKind(TSelKind::selStream), {col, line, end, line});
    m_selecting = wasSelecting;
    EndUpdate();
}

void TMemoSource::CorrectDeleteWordRight()
{
    if (ReadOnlyLine()) {
        return;
    }
    if (GetCurChar() < TrimmedLineLength(GetCurLine())) {
        DoWithBlock(
            33,
            false,
            [this] {
                DeleteBlock();
            },
            [this] {
                CorrectMarkWordRight();
            });
    } else {
        BeginUpdate(33);
        JoinLines();
        EndUpdate();
    }
}

void TMemoSource::UpperCaseWord()
{
    DoWithBlock(
        36,
        true,
        [this] {
            UpperCaseBlock();
        },
        [this] {
            MarkWord();
        });
}

void TMemoSource::LowerCaseWord()
{
    DoWithBlock(
        35,
        true,
        [this] {
            LowerCaseBlock();
        },
        [this] {
            MarkWord();
        });
}

void TMemoSource::ToggleWordCase()
{
    DoWithBlock(
        37,
        true,
        [this] {
            ToggleBlockCase();
        },
        [this] {
            MarkWord();
        });
}

void TMemoSource::CapitalizeWord()
{
    DoWithBlock(
        62,
        true,
        [this] {
            CapitalizeBlock();
        },
        [this] {
            MarkWord();
        });
}

// ---- Brackets -----------------------------------------------------------------------------------

bool TMemoSource::IsStringOrCommentStyle(int line, int raw)
{
    // Style indexes 1 and 2 are strings and comments among the global text styles;
    // a scheme-driven highlighter numbers its attributes differently.
    if (!m_parser || m_parser->IsSchemeDriven()) {
        return false;
    }
    std::string style = GetRawColorData(line);
    if (raw < 0 || static_cast<std::size_t>(raw) >= style.size()) {
        return false;
    }
    unsigned char s = static_cast<unsigned char>(style[static_cast<std::size_t>(raw)]);
    return s == 1 || s == 2;
}

char TMemoSource::CorrectCharUnderCursor(TTextPoint& point) const
{
    TTextPoint p = GetCaretPoint();
    if (m_selKind == TSelKind::selStream && SelStart().line == SelEnd().line && SelEnd().col - SelStart().col == 1) {
        p = SelStart();
    }
    point = p;
    std::string_view raw = GetRawLine(p.line);
    int ri = ColToRaw(p.line, p.col);
    if (p.col >= LineLength(p.line) || ri >= static_cast<int>(raw.size())) {
        return 0;
    }
    return raw[static_cast<std::size_t>(ri)];
}

void TMemoSource::BracketSearch(char c, bool forward, bool moveCaret, TTextPoint& point, bool& found)
{
    found = false;
    bool opening = false;
    char partner = PartnerOf(c, opening);
    if (!partner) {
        return;
    }
    int line = point.line;
    if (line < 0 || line >= GetStrCount()) {
        return;
    }
    int ri = ColToRaw(line, point.col);
    int depth = 1;
    int pos = forward ? ri + 1 : ri - 1;
    for (;;) {
        std::string_view raw = GetRawLine(line);
        if (forward) {
            for (int i = pos; i < static_cast<int>(raw.size()); ++i) {
                char ch = raw[static_cast<std::size_t>(i)];
                if ((ch == c || ch == partner) && !IsStringOrCommentStyle(line, i)) {
                    depth += ch == c ? 1 : -1;
                    if (depth == 0) {
                        point = {RawToCol(line, i), line};
                        found = true;
                        break;
                    }
                }
            }
        } else {
            for (int i = std::min(pos, static_cast<int>(raw.size()) - 1); i >= 0; --i) {
                char ch = raw[static_cast<std::size_t>(i)];
                if ((ch == c || ch == partner) && !IsStringOrCommentStyle(line, i)) {
                    depth += ch == c ? 1 : -1;
                    if (depth == 0) {
                        point = {RawToCol(line, i), line};
                        found = true;
                        break;
                    }
                }
            }
        }
        if (found) {
            break;
        }
        line += forward ? 1 : -1;
        if (line < 0 || line >= GetStrCount()) {
            return;
        }
        pos = forward ? 0 : static_cast<int>(GetRawLine(line).size()) - 1;
    }
    if (moveCaret) {
        BeginUpdate(2);
        JumpTo(point.col, point.line);
        EndUpdate();
    }
}

bool TMemoSource::FindCloseBracket(char open, bool moveCaret, TTextPoint& point)
{
    bool found = false;
    TTextPoint p = point;
    BracketSearch(open, true, moveCaret, p, found);
    if (found) {
        point = p;
    }
    return found;
}

bool TMemoSource::FindOpenBracket(char close, bool moveCaret, TTextPoint& point)
{
    bool found = false;
    TTextPoint p = point;
    BracketSearch(close, false, moveCaret, p, found);
    if (found) {
        point = p;
    }
    return found;
}

void TMemoSource::FindNextBracket()
{
    TTextPoint p;
    char c = CorrectCharUnderCursor(p);
    if (!c) {
        return;
    }
    TTextPoint pos = p;
    if (IsStringOrCommentStyle(p.line, ColToRaw(p.line, p.col))) {
        return;
    }
    bool opening = false;
    if (!PartnerOf(c, opening)) {
        return;
    }
    if (opening) {
        FindCloseBracket(c, true, pos);
    } else {
        FindOpenBracket(c, true, pos);
    }
}

void TMemoSource::NextBracket()
{
    // Caret to the next bracket character after the caret.
    int line = GetCurLine();
    int ri = ColToRaw(line, GetCurChar()) + 1;
    for (; line < GetStrCount(); ++line, ri = 0) {
        std::string_view raw = GetRawLine(line);
        for (int i = ri; i < static_cast<int>(raw.size()); ++i) {
            bool opening = false;
            if (PartnerOf(raw[static_cast<std::size_t>(i)], opening)) {
                BeginUpdate(2);
                JumpTo(RawToCol(line, i), line);
                EndUpdate();
                return;
            }
        }
    }
}

void TMemoSource::PrevBracket()
{
    // Caret to the nearest bracket character before the caret.
    int line = std::min(GetCurLine(), GetStrCount() - 1);
    if (line < 0) {
        return;
    }
    int ri = std::min(ColToRaw(line, GetCurChar()), static_cast<int>(GetRawLine(line).size())) - 1;
    for (; line >= 0; --line) {
        std::string_view raw = GetRawLine(line);
        if (ri == INT_MAX) {
            ri = static_cast<int>(raw.size()) - 1;
        }
        for (int i = ri; i >= 0; --i) {
            bool opening = false;
            if (PartnerOf(raw[static_cast<std::size_t>(i)], opening)) {
                BeginUpdate(2);
                JumpTo(RawToCol(line, i), line);
                EndUpdate();
                return;
            }
        }
        ri = INT_MAX;
    }
}

} // namespace quillet

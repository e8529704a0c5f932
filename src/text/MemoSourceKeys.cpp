// Composite keys of TMemoSource: Enter, Tab, Shift+Tab, Backspace, Delete, the
// delete-line family and typing.
#include "text/MemoSource.h"

#include <algorithm>

namespace quillet {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Display column of the first non-blank character, or the line's length.
int FirstNonBlankCol(std::string_view raw, const TTabStops& stops)
{
    std::size_t i = 0;
    while (i < raw.size() && IsBlank(raw[i])) {
        ++i;
    }
    return tabs::RawToCol(raw, static_cast<int>(i), stops);
}

} // namespace

void TMemoSource::TypeText(std::string_view text)
{
    if (text.empty() || ReadOnlyLine()) {
        return;
    }
    CheckOverwriteBlock();
    BeginUpdate(5);
    int line = GetCurLine();
    int col = GetCurChar();
    if (GetOverwrite() && line < GetStrCount() && col < LineLength(line)) {
        // Overwrite replaces as many display columns as the text is long.
        std::string_view raw = GetRawLine(line);
        int a = ColToRaw(line, col);
        int b = tabs::ColToRaw(raw, col + static_cast<int>(text.size()), m_tabStops);
        DeleteRight(std::max(1, std::min(b, static_cast<int>(raw.size())) - a));
    }
    int before = ColToRaw(GetCurLine(), col);
    if (InsertEx(text, {}) > 0) {
        int after = RawToCol(GetCurLine(), before + static_cast<int>(text.size()));
        Navigate(0, after - col);
    }
    EndUpdate();
}

void TMemoSource::PressEnter()
{
    if (GetOverwrite()) {
        BeginUpdate(40);
        int line = GetCurLine();
        int target = 0;
        if (HasOption(soAutoIndent)) {
            int first = FirstNonBlankCol(GetRawLine(line), m_tabStops);
            target = GetCurChar() <= first ? GetCurChar() : FirstNonBlankCol(GetRawLine(line + 1), m_tabStops);
        }
        Navigate(1, target - GetCurChar());
        EndUpdate();
        return;
    }
    if (m_readOnly) {
        return;
    }
    CheckOverwriteBlock();
    BeginUpdate(40);
    int line = GetCurLine();
    int col = GetCurChar();
    if (line >= GetStrCount() && !m_readOnly) {
        AppendLinesTo(line);
    }
    if (LineIsReadOnly(line)) {
        EndUpdate();
        return;
    }
    auto nearestIndent = [&]() {
        for (int l = std::min(line, GetStrCount() - 1); l >= 0; --l) {
            std::string_view raw = GetRawLine(l);
            if (!raw.empty()) {
                return FirstNonBlankCol(raw, m_tabStops);
            }
        }
        return 0;
    };
    int indent = 0;
    if (HasOption(soAutoIndent)) {
        std::string_view raw = GetRawLine(line);
        int first = FirstNonBlankCol(raw, m_tabStops);
        bool startsBlank = !raw.empty() && IsBlank(raw[0]);
        if (raw.empty() || (col == 0 && !startsBlank)) {
            indent = nearestIndent();
        } else if (col > 0 && col <= first) {
            indent = col;
        } else if (col > first) {
            indent = nearestIndent();
        } else {
            indent = 0;
        }
    }
    std::string prevPrefix(GetRawLine(line));
    BreakLine();
    JumpTo(0, line + 1);
    if (HasOption(soAutoIndent) && indent > 0) {
        std::string unit;
        if (!HasOption(soUseTabCharacter)) {
            unit.assign(static_cast<std::size_t>(indent), ' ');
        } else if (HasOption(soUsePrevIndent)) {
            int rawEnd = std::min(tabs::ColToRaw(prevPrefix, indent, m_tabStops), static_cast<int>(prevPrefix.size()));
            unit = prevPrefix.substr(0, static_cast<std::size_t>(rawEnd));
            for (char& c : unit) {
                if (c != '\t') {
                    c = ' ';
                }
            }
            int have = tabs::DisplayLength(unit, m_tabStops);
            if (have < indent) {
                unit.append(static_cast<std::size_t>(indent - have), ' ');
            }
        } else if (HasOption(soOptimalFill)) {
            int c = 0;
            while (m_tabStops.NextStop(c) <= indent) {
                unit.push_back('\t');
                c = m_tabStops.NextStop(c);
            }
            unit.append(static_cast<std::size_t>(indent - c), ' ');
        } else {
            unit.assign(static_cast<std::size_t>(indent), ' ');
        }
        InsertEx(unit, {});
        Navigate(0, RawToCol(line + 1, static_cast<int>(unit.size())) - GetCurChar());
    }
    EndUpdate();
}

int TMemoSource::SmartTabColumn(int line, int col) const
{
    for (int l = line - 1; l >= 0; --l) {
        if (LineLength(l) <= col) {
            continue;
        }
        std::string text = GetExpandedLine(l);
        int first = FirstNonBlankCol(GetRawLine(l), m_tabStops);
        if (first > col) {
            return first;
        }
        std::size_t i = static_cast<std::size_t>(col);
        while (i < text.size() && IsWordChar(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        while (i < text.size() && IsDelimiter(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        return i < text.size() ? static_cast<int>(i) : col;
    }
    return -1;
}

void TMemoSource::PressTab()
{
    if (m_readOnly) {
        return;
    }
    BeginUpdate(52);
    BeginUndoBlock();
    if (HasSelection() && GetSelectionRect().top == GetSelectionRect().bottom) {
        DeleteBlock();
    }
    int col = GetCurChar();
    int target = m_tabStops.NextStop(col);
    if (HasOption(soSmartTab)) {
        int smart = SmartTabColumn(GetCurLine(), col);
        if (smart >= 0) {
            target = smart;
        }
    }
    std::string unit = HasOption(soUseTabCharacter)
        ? std::string("\t")
        : std::string(static_cast<std::size_t>(std::max(target - col, 0)), ' ');
    if (HasSelection() && ClampedRect().bottom > ClampedRect().top) {
        IndentBlock(unit);
    } else if (GetOverwrite()) {
        Navigate(0, target - col);
    } else if (!unit.empty() && !ReadOnlyLine()) {
        int raw = ColToRaw(GetCurLine(), col);
        if (col > LineLength(GetCurLine())) {
            raw = static_cast<int>(GetRawLine(GetCurLine()).size()) + col - LineLength(GetCurLine());
        }
        if (InsertEx(unit, {}) > 0) {
            Navigate(0, RawToCol(GetCurLine(), raw + static_cast<int>(unit.size())) - col);
        }
    }
    EndUndoBlock();
    EndUpdate();
}

void TMemoSource::PressShiftTab()
{
    if (HasSelection() && ClampedRect().bottom > ClampedRect().top) {
        int startCol = GetSelectionRect().left;
        int stop = m_tabStops.StopAtOrAfter(startCol);
        if (HasOption(soSmartTab)) {
            int smart = SmartTabColumn(GetSelectionRect().top, stop);
            if (smart >= 0) {
                stop = smart;
            }
        }
        int u = stop - startCol;
        if (u <= 0) {
            OutDentBlock({});
        } else {
            OutDentBlock(std::string(static_cast<std::size_t>(u), ' '));
        }
        return;
    }
    int col = GetCurChar();
    Navigate(0, m_tabStops.PrevStop(col) - col);
}

void TMemoSource::DeleteCharLeft()
{
    if (CheckOverwriteBlock()) {
        return;
    }
    int line = GetCurLine();
    int col = GetCurChar();
    BeginUpdate(8);
    if (col == 0) {
        if (line > 0) {
            JumpTo(LineLength(line - 1), line - 1);
            JoinLines();
        }
        EndUpdate();
        return;
    }
    if (line >= GetStrCount() || col > LineLength(line)) {
        Navigate(0, -1);
        EndUpdate();
        return;
    }
    if (ReadOnlyLine()) {
        CursorLeft();
        EndUpdate();
        return;
    }
    std::string_view raw = GetRawLine(line);
    int rawCaret = ColToRaw(line, col);
    bool blanksOnly = true;
    for (int i = 0; i < rawCaret && i < static_cast<int>(raw.size()); ++i) {
        if (!IsBlank(raw[static_cast<std::size_t>(i)])) {
            blanksOnly = false;
            break;
        }
    }
    if (HasOption(soBackUnindents) && blanksOnly) {
        int target = 0;
        for (int l = line - 1; l >= 0; --l) {
            std::string_view above = GetRawLine(l);
            if (above.empty() || FirstNonBlankCol(above, m_tabStops) > col) {
                continue;
            }
            std::string text = tabs::Expand(above, m_tabStops);
            int p = std::min(col, static_cast<int>(text.size()));
            while (p > 0 && text[static_cast<std::size_t>(p - 1)] == ' ') {
                --p;
            }
            while (p > 0 && text[static_cast<std::size_t>(p - 1)] != ' ') {
                --p;
            }
            target = p;
            break;
        }
        if (target >= col) {
            target = 0;
        }
        if (HasOption(soUseTabCharacter)) {
            DeleteColumns(line, target, col - target);
            int have = FirstNonBlankCol(GetRawLine(line), m_tabStops);
            int len = LineLength(line);
            int indentNow = std::min(have, len);
            if (indentNow < target) {
                JumpTo(indentNow, line);
                InsertEx(std::string(static_cast<std::size_t>(target - indentNow), ' '), {});
            }
        } else {
            JumpTo(0, line);
            DeleteRight(ColToRaw(line, col - target));
        }
        JumpTo(target, line);
        EndUpdate();
        return;
    }
    int spanStart = 0;
    tabs::ColToRaw(raw, col - 1, m_tabStops, &spanStart);
    JumpTo(spanStart, line);
    DeleteRight(1);
    EndUpdate();
}

void TMemoSource::DeleteCharRight()
{
    if (CheckOverwriteBlock()) {
        return;
    }
    int line = GetCurLine();
    if (line >= GetStrCount()) {
        return;
    }
    if (GetCurChar() < LineLength(line)) {
        DeleteRight(1);
    } else {
        JoinLines();
    }
}

void TMemoSource::DeleteLine()
{
    if (ReadOnlyLine() || GetCurLine() >= GetStrCount()) {
        return;
    }
    BeginUpdate(9);
    JumpToLineBegin();
    DeleteRight(INT_MAX);
    if (GetStrCount() > 0) {
        JoinLines();
    }
    EndUpdate();
}

void TMemoSource::DeleteToLineBegin()
{
    if (ReadOnlyLine() || GetCurLine() >= GetStrCount()) {
        return;
    }
    BeginUpdate(10);
    int line = GetCurLine();
    int col = std::min(GetCurChar(), LineLength(line));
    int count = ColToRaw(line, col);
    JumpTo(0, line);
    DeleteRight(count);
    EndUpdate();
}

void TMemoSource::DeleteToLineEnd()
{
    BeginUpdate(6);
    DeleteRight(INT_MAX);
    EndUpdate();
}

} // namespace quillet

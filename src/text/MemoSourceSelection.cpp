// Selection of TMemoSource: storing and filtering it, reading it as lines, and
// extending it by caret moves.
#include "platform/IClipboard.h"
#include "text/MemoSource.h"

#include <algorithm>

namespace quillet {

// ---- Selection state ------------------------------------------------------------------------

TSelKind TMemoSource::FilterKind(TSelKind kind) const
{
    kind = FilterSelectionKind(m_blockOption, kind);
    if (OnGetSelectionType) {
        OnGetSelectionType(const_cast<TMemoSource&>(*this), kind);
    }
    return kind;
}

TTextRect TMemoSource::GetSelectionRect() const
{
    const TTextPoint start = SelStart();
    const TTextPoint end = SelEnd();
    return {start.col, start.line, end.col, end.line};
}

TTextRect TMemoSource::ClampedRect() const
{
    // Readers never look below the last line, whatever the stored ends say.
    TTextRect r = GetSelectionRect();
    int last = GetStrCount() - 1;
    if (r.bottom > last) {
        r.bottom = last;
        if (m_selKind == TSelKind::selStream) {
            r.right = last >= 0 ? LineLength(last) : 0;
        }
    }
    if (r.top > last) {
        r.top = last + 1; // empty
    }
    return r;
}

bool TMemoSource::IsBlockEmpty(TSelKind kind) const
{
    return TSelection::IsEmpty(kind, GetSelectionRect());
}

void TMemoSource::StoreSelection(TSelKind kind, TTextRect r)
{
    r = TSelection::Normalized(kind, r);
    m_marks.SetSelection({r.left, r.top}, {r.right, r.bottom});
    m_selKind = kind;
    m_selectionSet = true;
}

void TMemoSource::SetSelection(TSelKind kind, int left, int top, int right, int bottom)
{
    BeginUpdate(31);
    StoreSelection(FilterKind(kind), {left, top, right, bottom});
    EndUpdate();
}

void TMemoSource::SetSelectionRect(TTextRect rect)
{
    BeginUpdate(17);
    StoreSelection(m_selKind, rect);
    EndUpdate();
}

void TMemoSource::SetSelectionType(TSelKind kind)
{
    BeginUpdate(13);
    m_selKind = FilterKind(kind);
    EndUpdate();
}

void TMemoSource::ClearSelection()
{
    if (m_selKind == TSelKind::selNone) {
        return;
    }
    BeginUpdate(13);
    m_selKind = TSelKind::selNone;
    EndUpdate();
}

bool TMemoSource::CanPaste() const
{
    return m_clipboard && m_clipboard->HasText();
}

void TMemoSource::SelectAll()
{
    if (m_blockOption == TBlockOption::bkNone) {
        return;
    }
    BeginUpdate(18);
    m_selecting = true;
    m_selKind = TSelKind::selNone;
    JumpToFileBegin();
    TTextPoint start = GetCaretPoint();
    JumpToFileEnd();
    TTextPoint end = GetCaretPoint();
    StoreSelection(FilterKind(TSelKind::selStream), {start.col, start.line, end.col, end.line});
    m_selecting = false;
    EndUpdate();
}

void TMemoSource::MarkLine()
{
    BeginUpdate(19);
    int line = GetCurLine();
    StoreSelection(FilterKind(TSelKind::selStream), {0, line, 0, line + 1});
    EndUpdate();
}

void TMemoSource::MarkBlockBegin()
{
    BeginUpdate(11);
    m_marks.SelStart().Set({GetCurChar(), GetCurLine()});
    if (m_selKind == TSelKind::selNone) {
        m_selKind = FilterKind(TSelKind::selStream);
    }
    EndUpdate();
}

void TMemoSource::MarkBlockEnd()
{
    BeginUpdate(12);
    m_marks.SelEnd().Set({GetCurChar(), GetCurLine()});
    if (m_selKind == TSelKind::selNone) {
        m_selKind = FilterKind(TSelKind::selStream);
    }
    EndUpdate();
}

std::pair<int, int> TMemoSource::SelectionBounds(int line) const
{
    return Selection().Bounds(line);
}

bool TMemoSource::IsPosInBlock(int col, int line) const
{
    return Selection().Contains(col, line);
}

std::vector<std::string> TMemoSource::GetSelectionStrings(bool styles) const
{
    std::vector<std::string> out;
    if (m_selKind == TSelKind::selNone || IsBlockEmpty(m_selKind)) {
        return out;
    }
    TTextRect r = ClampedRect();
    if (r.bottom < r.top) {
        return out;
    }
    auto cut = [&](int line, int fromCol, int toCol, bool pad) {
        std::string_view raw = GetRawLine(line);
        std::string style = styles ? GetStoredColorData(line) : std::string();
        int a = std::min(tabs::ColToRaw(raw, fromCol, m_tabStops), static_cast<int>(raw.size()));
        int b = toCol == INT_MAX ? static_cast<int>(raw.size())
                                 : std::min(tabs::ColToRaw(raw, toCol, m_tabStops), static_cast<int>(raw.size()));
        b = std::max(a, b);
        std::string piece = styles
            ? style.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a))
            : std::string(raw.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a)));
        if (pad) {
            int width = toCol - fromCol;
            int have = tabs::DisplayLength(raw.substr(0, static_cast<std::size_t>(b)), m_tabStops)
                - tabs::RawToCol(raw, a, m_tabStops);
            if (have < width) {
                piece.append(static_cast<std::size_t>(width - have), styles ? '\0' : ' ');
            }
        }
        return piece;
    };
    for (int line = r.top; line <= r.bottom; ++line) {
        if (m_selKind == TSelKind::selColumn) {
            out.push_back(cut(line, r.left, r.right + 1, true));
        } else if (r.top == r.bottom) {
            out.push_back(cut(line, r.left, r.right, false));
        } else if (line == r.top) {
            out.push_back(cut(line, r.left, INT_MAX, false));
        } else if (line == r.bottom) {
            out.push_back(cut(line, 0, r.right, false));
        } else {
            out.push_back(cut(line, 0, INT_MAX, false));
        }
    }
    return out;
}

std::string TMemoSource::GetSelectedText() const
{
    std::string out;
    for (const std::string& l : GetSelectionStrings()) {
        out += l;
        out += "\r\n";
    }
    for (int i = 0; i < 2 && !out.empty() && (out.back() == '\r' || out.back() == '\n'); ++i) {
        out.pop_back();
    }
    return out;
}

// ---- Extending by caret moves ---------------------------------------------------------------

void TMemoSource::UnivMark(TSelKind kind, TMove move)
{
    UnivMark(kind, [this, move] {
        switch (move) {
        case TMove::Left:
            CursorLeft();
            break;
        case TMove::Right:
            CursorRight();
            break;
        case TMove::Up:
            CursorUp();
            break;
        case TMove::Down:
            CursorDown();
            break;
        case TMove::LineBegin:
            JumpToLineBegin();
            break;
        case TMove::LineEnd:
            JumpToLineEnd();
            break;
        case TMove::FileBegin:
            JumpToFileBegin();
            break;
        case TMove::FileEnd:
            JumpToFileEnd();
            break;
        case TMove::WordLeft:
            JumpWordLeft();
            break;
        case TMove::WordRight:
            JumpWordRight();
            break;
        case TMove::None:
            break;
        }
    });
}

void TMemoSource::UnivMark(TSelKind kind, const std::function<void()>& move)
{
    kind = FilterKind(kind);
    BeginUpdate(16);
    bool wasSelecting = m_selecting;
    m_selecting = true;
    TTextPoint c0 = GetCaretPoint();
    TTextRect r = GetSelectionRect();
    bool atEnd = false;
    bool atStart = false;
    if (m_selKind == TSelKind::selStream) {
        atStart = c0 == SelStart();
        atEnd = c0 == SelEnd();
    } else if (m_selKind == TSelKind::selColumn) {
        atEnd = (c0.line == r.top || c0.line == r.bottom) && (c0.col == r.left || c0.col == r.right);
    }
    if (m_selKind != TSelKind::selNone && (atStart || atEnd) && kind != TSelKind::selNone) {
        move();
        TTextPoint c1 = GetCaretPoint();
        if (kind == TSelKind::selColumn) {
            if (r.left == r.right) {
                (r.left < c1.col ? r.right : r.left) = c1.col;
            } else {
                (r.left < c0.col ? r.right : r.left) = c1.col;
            }
            if (r.top == r.bottom) {
                (r.top < c1.line ? r.bottom : r.top) = c1.line;
            } else {
                (r.top < c0.line ? r.bottom : r.top) = c1.line;
            }
        } else {
            if (atStart) {
                r.left = c1.col;
                r.top = c1.line;
            } else {
                r.right = c1.col;
                r.bottom = c1.line;
            }
        }
        StoreSelection(kind, r);
    } else {
        move();
        TTextPoint c1 = GetCaretPoint();
        TTextRect n{c0.col, c0.line, c0.col, c0.line};
        if (c1.line == c0.line) {
            (c1.col > c0.col ? n.right : n.left) = c1.col;
        } else if (c1.line < c0.line) {
            n.left = c1.col;
            n.top = c1.line;
        } else {
            n.right = c1.col;
            n.bottom = c1.line;
        }
        if (kind == TSelKind::selNone) {
            m_selKind = TSelKind::selNone;
        } else {
            StoreSelection(kind, n);
        }
    }
    m_selecting = wasSelecting;
    EndUpdate();
}

} // namespace quillet

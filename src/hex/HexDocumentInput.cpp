// The hex editor's cursor, selection, keys, typing, mouse, markers and the
// look of each painted cell.
#include "hex/HexDocument.h"

#include <algorithm>

namespace quillet {

// ---- selection -----------------------------------------------------------------------

std::int64_t THexDocument::GetSelStart() const
{
    return m_anchor == -1 ? CursorOffset() : m_anchor;
}

std::int64_t THexDocument::GetSelEnd() const
{
    if (m_anchor == -1) {
        return CursorOffset();
    }
    return m_anchor == m_selEnd ? m_selStart : m_selEnd;
}

std::int64_t THexDocument::GetSelCount() const
{
    return m_anchor == -1 ? 0 : std::max<std::int64_t>(0, m_selEnd - m_selStart + 1);
}

void THexDocument::ClearSelection()
{
    if (m_anchor != -1) {
        m_anchor = -1;
        Repaint();
    }
}

void THexDocument::SetSelection(std::int64_t anchor, std::int64_t start, std::int64_t end)
{
    m_anchor = anchor;
    m_selStart = start;
    m_selEnd = end;
    Repaint();
}

void THexDocument::SetSelStart(std::int64_t pos)
{
    if (pos < 0 || static_cast<std::uint64_t>(pos) >= m_size) {
        throw THexArgumentError("Invalid SelStart");
    }
    m_anchor = -1;
    PlaceCursor(pos, InCharField());
    Repaint();
    StateChanged();
}

void THexDocument::SetSelEnd(std::int64_t pos)
{
    if (pos < 0 || static_cast<std::uint64_t>(pos) >= m_size) {
        throw THexArgumentError("Invalid SelEnd");
    }
    const std::int64_t at = CursorOffset();
    SetSelection(at, std::min(at, pos), std::max(at, pos));
    StateChanged();
}

void THexDocument::ExtendSelection(std::int64_t oldPos, std::int64_t g)
{
    const bool insert = GetIsInsertMode();
    if (m_anchor == -1) {
        // In insert mode the cursor stands between bytes, so the byte under it
        // is not part of the selection.
        std::int64_t anchor = oldPos;
        if (insert) {
            if (g < anchor) {
                --anchor;
            } else if (anchor < g) {
                --g;
            }
        }
        SetSelection(anchor, std::min(g, anchor), std::max(g, anchor));
        return;
    }
    if (g < m_anchor) {
        SetSelection(m_anchor, g, m_anchor);
    } else {
        SetSelection(m_anchor, m_anchor, insert ? g - 1 : g);
    }
}

// ---- cursor --------------------------------------------------------------------------

std::int64_t THexDocument::GetCursorPos() const
{
    const std::int64_t last = std::max<std::int64_t>(0, static_cast<std::int64_t>(m_size) - 1);
    return std::clamp<std::int64_t>(CursorOffset(), 0, last);
}

void THexDocument::PlaceCursor(std::int64_t pos, bool charField, int nibble)
{
    m_cursor = m_grid.CellAtPos(pos, charField);
    if (!charField) {
        m_cursor.col += nibble;
    }
}

void THexDocument::ClampCursor()
{
    if (m_size == 0) {
        m_cursor = {InCharField() ? m_grid.FirstCharCol() : 2, 0};
        return;
    }
    if (static_cast<std::uint64_t>(CursorOffset()) >= m_size) {
        PlaceCursor(static_cast<std::int64_t>(m_size) - 1, InCharField());
    }
}

bool THexDocument::SelectCell(THexCell target, bool shiftDown, bool leftButton)
{
    target.col = std::clamp<std::int64_t>(target.col, 2, m_grid.ColCount() - 1);
    target.row = std::max<std::int64_t>(target.row, 0);
    if (m_size == 0 && !(target.col == 2 && target.row == 0)) {
        return false;
    }
    if (!shiftDown && !leftButton) {
        ClearSelection();
    }
    if (target.col == m_grid.GapCol()) {
        if (!leftButton) {
            return false;
        }
        target.col = m_grid.GapCol() - 1;
    }
    if (m_size > 0 && static_cast<std::uint64_t>(m_grid.PosAtCell(target)) >= m_size) {
        target = m_grid.CellAtPos(static_cast<std::int64_t>(m_size) - 1, m_grid.IsCharCol(target.col));
    }
    const std::int64_t oldPos = CursorOffset();
    m_cursor = target;
    if (m_selecting) {
        ExtendSelection(oldPos, CursorOffset());
    } else {
        ClearSelection();
    }
    Repaint();
    StateChanged();
    return true;
}

void THexDocument::SetViewRows(std::int64_t topRow, std::int64_t visibleRows)
{
    m_topRow = std::max<std::int64_t>(0, topRow);
    m_visibleRows = std::max<std::int64_t>(1, visibleRows);
}

// ---- keys ----------------------------------------------------------------------------

void THexDocument::MoveHorizontal(bool right, bool shift)
{
    const std::int64_t pos = CursorOffset();
    const std::int64_t last = static_cast<std::int64_t>(m_size) - 1;
    if (InCharField()) {
        const std::int64_t next = right ? pos + 1 : pos - 1;
        if (next >= 0 && next <= last) {
            SelectCell(m_grid.CellAtPos(next, true), shift, false);
        }
        return;
    }
    const bool high = (m_cursor.col - 2) % 2 == 0;
    if (right && high) {
        SelectCell({m_cursor.col + 1, m_cursor.row}, shift, false);
    } else if (right && pos + 1 <= last) {
        SelectCell(m_grid.CellAtPos(pos + 1, false), shift, false);
    } else if (!right && !high) {
        SelectCell({m_cursor.col - 1, m_cursor.row}, shift, false);
    } else if (!right && pos > 0) {
        THexCell cell = m_grid.CellAtPos(pos - 1, false);
        cell.col += 1;
        SelectCell(cell, shift, false);
    }
}

void THexDocument::KeyDown(THexKey key, unsigned modifiers)
{
    const bool shift = (modifiers & hmShift) != 0;
    const bool ctrl = (modifiers & hmCtrl) != 0;
    if (key == THexKey::Shift) {
        if (modifiers == hmShift || modifiers == hmNone) {
            if (!m_selecting) {
                ClearSelection();
            }
            m_selecting = true;
        }
        return;
    }
    if (modifiers == hmNone && !GetIsInsertMode()) {
        ClearSelection();
    }
    if (shift && !m_selecting) {
        m_selecting = true; // Shift went down before the editor had the focus
    }
    const bool charField = InCharField();
    const std::int64_t rows = RowCount();
    switch (key) {
    case THexKey::Insert:
        m_insertFlag = !m_insertFlag;
        m_marks.Clear();
        Repaint();
        StateChanged();
        break;
    case THexKey::Backspace:
        if (GetIsInsertMode() && !m_readOnlyView) {
            if (m_anchor != -1) {
                DeleteSelection();
            }
            const std::int64_t at = CursorOffset();
            if (at > 0 && m_size > 0) {
                m_anchor = -1;
                PlaceCursor(at - 1, charField);
                if (DeleteSelection()) {
                    PlaceCursor(std::min<std::int64_t>(at - 1, static_cast<std::int64_t>(m_size) - 1), charField);
                }
            }
        } else {
            const std::int64_t first = charField ? m_grid.FirstCharCol() : 2;
            const std::int64_t col = m_cursor.col - 1;
            if (col >= first) {
                SelectCell({col, m_cursor.row}, shift, false);
            }
        }
        break;
    case THexKey::Delete:
        if (m_readOnlyView || m_size == 0) {
            break;
        }
        if (ctrl || GetIsInsertMode()) {
            DeleteSelection();
        }
        break;
    case THexKey::Left:
    case THexKey::Right:
        if (ctrl && key == THexKey::Right) {
            // The move rule turns the last column of a short row into its last byte.
            const std::int64_t lastCol = charField ? m_grid.ColCount() - 1 : m_grid.GapCol() - 1;
            SelectCell({lastCol, m_cursor.row}, shift, false);
        } else {
            MoveHorizontal(key == THexKey::Right, shift);
        }
        break;
    case THexKey::Up:
        if (m_cursor.row > 0) {
            SelectCell({m_cursor.col, m_cursor.row - 1}, shift, false);
        }
        break;
    case THexKey::Down:
        if (m_cursor.row + 1 < rows) {
            SelectCell({m_cursor.col, m_cursor.row + 1}, shift, false);
        }
        break;
    case THexKey::PageUp:
        if (ctrl) {
            SelectCell({m_cursor.col, m_topRow}, shift, false);
        } else {
            m_topRow = std::max<std::int64_t>(0, m_topRow - m_visibleRows + 1);
            SelectCell({m_cursor.col, std::max<std::int64_t>(0, m_cursor.row - m_visibleRows + 1)}, shift, false);
        }
        break;
    case THexKey::PageDown:
        if (ctrl) {
            SelectCell({m_cursor.col, std::min(rows - 1, m_topRow + m_visibleRows - 1)}, shift, false);
        } else {
            m_topRow = std::min(std::max<std::int64_t>(0, rows - m_visibleRows), m_topRow + m_visibleRows - 1);
            SelectCell({m_cursor.col, std::min(rows - 1, m_cursor.row + m_visibleRows - 1)}, shift, false);
        }
        break;
    case THexKey::Home:
        SelectCell({charField ? m_grid.FirstCharCol() : 2, ctrl ? 0 : m_cursor.row}, shift, false);
        break;
    case THexKey::End: {
        const std::int64_t rowEnd = ctrl ? static_cast<std::int64_t>(m_size) - 1
                                         : std::min<std::int64_t>((m_cursor.row + 1) * m_grid.bytesPerLine - 1,
                                             static_cast<std::int64_t>(m_size) - 1);
        if (rowEnd >= 0) {
            SelectCell(m_grid.CellAtPos(rowEnd, charField), shift, false);
        }
        break;
    }
    case THexKey::T:
        if (!ctrl) {
            break;
        }
        [[fallthrough]];
    case THexKey::Tab:
        if (m_size > 0) {
            SelectCell({m_grid.TwinCol(m_cursor.col), m_cursor.row}, false, false);
        }
        break;
    case THexKey::Shift:
    case THexKey::Other:
        break;
    }
}

void THexDocument::KeyUp(THexKey key)
{
    if (key == THexKey::Shift && !m_mouseDown) {
        m_selecting = false;
    }
}

// ---- typing --------------------------------------------------------------------------

void THexDocument::TypeChar(std::uint8_t ch, bool afterAlt)
{
    if (m_readOnlyView) {
        return;
    }
    const std::int64_t a = CursorOffset();
    if (static_cast<std::uint64_t>(a) >= m_size && !GetIsInsertMode()) {
        return;
    }
    if (InCharField()) {
        // Numeric-keypad entry arrives as the code itself and is taken whatever it is.
        if (afterAlt || ch >= 32) {
            TypeCharacter(ch);
        }
        return;
    }
    int value = -1;
    if (ch >= '0' && ch <= '9') {
        value = ch - '0';
    } else if (ch >= 'a' && ch <= 'f') {
        value = ch - 'a' + 10;
    } else if (ch >= 'A' && ch <= 'F') {
        value = ch - 'A' + 10;
    }
    if (value >= 0) {
        TypeHexDigit(value);
    }
}

void THexDocument::TypeCharacter(std::uint8_t ch)
{
    const std::int64_t a = CursorOffset();
    if (!GetIsInsertMode()) {
        ClearSelection();
        ChangeByte(CachedByte(a), ch, a);
    } else if (m_anchor != -1) {
        ReplaceSelection(&ch, 1);
    } else {
        InsertBuffer(&ch, 1, a);
    }
    MoveHorizontal(true, false);
}

void THexDocument::TypeHexDigit(int v)
{
    const std::int64_t a = CursorOffset();
    const bool insert = GetIsInsertMode();
    const bool high = (m_cursor.col - 2) % 2 == 0;
    const bool selection = m_anchor != -1;
    const std::uint8_t old = static_cast<std::uint64_t>(a) < m_size ? CachedByte(a) : 0;
    const auto newByte = static_cast<std::uint8_t>(high || selection ? v * 16 + old % 16 : old / 16 * 16 + v);
    if (!insert || (!high && !selection)) {
        ChangeByte(old, newByte, a);
        if (insert && static_cast<std::uint64_t>(a) + 1 == m_size) {
            const std::uint8_t zero = 0;
            AppendBuffer(&zero, 1);
        } else {
            MoveHorizontal(true, false);
        }
        return;
    }
    const auto byte = static_cast<std::uint8_t>(v * 16);
    if (m_size == 0) {
        AppendBuffer(&byte, 1);
    } else if (selection) {
        ReplaceSelection(&byte, 1);
    } else {
        InsertBuffer(&byte, 1, a);
    }
    MoveHorizontal(true, false);
}

// ---- mouse and focus -----------------------------------------------------------------

void THexDocument::MouseDown(THexCell cell, bool doubleClick)
{
    if (!doubleClick) {
        ClearSelection();
        m_selecting = true;
    }
    m_mouseDown = true;
    // The press itself places the cursor; only the drag extends.
    const bool selecting = m_selecting;
    m_selecting = false;
    SelectCell(cell, false, true);
    m_selecting = selecting;
}

void THexDocument::MouseMove(THexCell cell)
{
    if (m_mouseDown && cell != m_cursor) {
        SelectCell(cell, false, true);
    }
}

void THexDocument::MouseUp()
{
    m_mouseDown = false;
    m_selecting = false;
}

void THexDocument::FocusLost()
{
    MouseUp();
}

// ---- markers -------------------------------------------------------------------------

std::int64_t THexDocument::GetMarker(int index) const
{
    return index >= 0 && index <= 9 ? m_markers[static_cast<std::size_t>(index)] : -1;
}

void THexDocument::SetMarker(int index, std::int64_t row)
{
    if (index < 0 || index > 9) {
        throw THexArgumentError("SetMarker : Invalid marker index");
    }
    auto& marker = m_markers[static_cast<std::size_t>(index)];
    if (marker != row) {
        marker = row < 0 ? -1 : row;
        Repaint();
    }
}

void THexDocument::ToggleMarker(std::int64_t row)
{
    int freeIndex = -1;
    int holding = -1;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}) {
        const std::int64_t value = m_markers[static_cast<std::size_t>(i)];
        if (value == -1 && freeIndex == -1) {
            freeIndex = i;
        }
        if (value == row && holding == -1) {
            holding = i;
        }
    }
    if (holding != -1) {
        SetMarker(holding, -1);
    } else if (freeIndex != -1) {
        SetMarker(freeIndex, row);
    }
}

// ---- properties ----------------------------------------------------------------------

void THexDocument::SetBytesPerLine(int count)
{
    if (count < 1 || count > 256) {
        throw THexArgumentError("Invalid BytesPerLine argument");
    }
    const std::int64_t pos = CursorOffset();
    const bool charField = InCharField();
    const int nibble = charField ? 0 : static_cast<int>((m_cursor.col - 2) % 2);
    m_grid.bytesPerLine = count;
    m_grid.bytesPerColumn = std::clamp(m_grid.bytesPerColumn, 1, count);
    PlaceCursor(pos, charField, nibble);
    InvalidateCache();
    Repaint();
}

void THexDocument::SetBytesPerColumn(int count)
{
    m_grid.bytesPerColumn = std::clamp(count, 1, m_grid.bytesPerLine);
    Repaint();
}

void THexDocument::SetOffsetDisplay(TOffsetDisplay display)
{
    m_grid.offsetDisplay = display;
    Repaint();
}

void THexDocument::SetMaskWhiteSpaces(bool on)
{
    m_maskWhiteSpaces = on;
    Repaint();
}

void THexDocument::SetAllowInsertMode(bool on)
{
    m_allowInsertMode = on;
    StateChanged();
}

// ---- painting ------------------------------------------------------------------------

THexCellLook THexDocument::CellLook(THexCell cell)
{
    THexCellLook look;
    look.textColor = THexColorRole::Font;
    if (m_size == 0) {
        look.textColor = THexColorRole::Offset;
        look.text = "   ";
        if (cell.col == 0) {
            static const char* const kEmpty[] = {"0x0:", "0:", "o 0:", "   "};
            look.text = kEmpty[m_grid.offsetDisplay];
        }
        return look;
    }
    const std::int64_t rows = RowCount();
    if (cell.col == 0) {
        look.text = m_grid.OffsetText(cell.row, rows);
        look.textColor = THexColorRole::Offset;
        return look;
    }
    if (cell.col == 1) {
        look.text = " ";
        for (int k = 0; k <= 9; ++k) {
            if (m_markers[static_cast<std::size_t>(k)] == cell.row) {
                look.text = std::string(1, static_cast<char>('0' + k));
                look.textColor = THexColorRole::PositionText;
                look.backColor = THexColorRole::PositionBackground;
                look.marker = true;
                break;
            }
        }
        return look;
    }
    const std::int64_t pos = m_grid.PosAtCell(cell);
    if (cell.col == m_grid.GapCol() || static_cast<std::uint64_t>(pos) >= m_size) {
        look.text = " ";
        return look;
    }
    const std::uint8_t byte = CachedByte(pos);
    const bool hexField = m_grid.IsHexCol(cell.col);
    if (hexField) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        look.text = std::string(1, kDigits[(cell.col - 2) % 2 == 0 ? byte >> 4 : byte & 15]);
    } else {
        look.text = std::string(1, static_cast<char>(m_maskWhiteSpaces && byte < 32 ? '.' : byte));
    }
    const bool changed = !GetIsInsertMode() && m_marks.Test(static_cast<std::uint64_t>(pos));
    const bool oddGroup = m_grid.GroupOf(cell.col) % 2 == 0;
    if (changed) {
        look.textColor = THexColorRole::ChangedText;
        look.backColor = THexColorRole::ChangedBackground;
    } else if (hexField) {
        look.textColor = oddGroup ? THexColorRole::OddColumn : THexColorRole::EvenColumn;
    }
    if (IsSelected(pos)) {
        std::swap(look.textColor, look.backColor);
        if (!changed && hexField) {
            look.textColor = oddGroup ? THexColorRole::OddComplement : THexColorRole::EvenComplement;
        }
    }
    return look;
}

} // namespace quillet

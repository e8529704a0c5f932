#pragma once

#include "hex/HexText.h"

#include <cstdint>
#include <string>

namespace quillet {

// A grid cell: column and row of the hex editor's layout.
struct THexCell {
    std::int64_t col = 2;
    std::int64_t row = 0;
    friend bool operator==(const THexCell&, const THexCell&) = default;
};

// The cell layout of the hex editor. Column 0 holds offsets, column 1 the
// marker digit, columns 2 .. 2*B+1 one nibble each (byte i of a row in 2+2i
// and 3+2i), column 2*B+2 is an empty gap and columns 2*B+3 .. 3*B+2 hold one
// character each (B = bytesPerLine). Widths are in character cells.
struct THexGrid {
    int bytesPerLine = 16; // 1..256
    int bytesPerColumn = 2; // 1..bytesPerLine
    TOffsetDisplay offsetDisplay = odHex;

    std::int64_t ColCount() const { return 3 * bytesPerLine + 3; }
    std::int64_t GapCol() const { return 2 * bytesPerLine + 2; }
    std::int64_t FirstCharCol() const { return 2 * bytesPerLine + 3; }
    bool IsHexCol(std::int64_t col) const { return col >= 2 && col <= 2 * bytesPerLine + 1; }
    bool IsCharCol(std::int64_t col) const { return col >= FirstCharCol() && col < ColCount(); }
    // ceiling(size / bytesPerLine), and 1 for an empty document.
    std::int64_t RowCount(std::uint64_t size) const;
    // Width of column 0 in characters for a document of `rows` rows.
    int OffsetWidth(std::int64_t rows) const;
    // Width of a column in characters (the offset column for `rows` rows).
    int ColWidth(std::int64_t col, std::int64_t rows) const;
    // Text of column 0 on row `row`, in a document of `rows` rows.
    std::string OffsetText(std::int64_t row, std::int64_t rows) const;
    // Group colour index of a nibble column: even groups use OddColumn.
    std::int64_t GroupOf(std::int64_t col) const { return (col - 2) / (2 * bytesPerColumn); }

    // Offset of a cell (GetPosAtCursor): negative results count as 0.
    std::int64_t PosAtCell(const THexCell& cell) const;
    // Cell of an offset (GetCursorAtPos): the high nibble, or the character
    // cell when charField; a negative offset gives (2, 0).
    THexCell CellAtPos(std::int64_t pos, bool charField) const;
    // The cell of the same byte in the other field (GetOtherFieldCol).
    std::int64_t TwinCol(std::int64_t col) const;
};

} // namespace quillet

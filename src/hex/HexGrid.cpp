#include "hex/HexGrid.h"

namespace quillet {

std::int64_t THexGrid::RowCount(std::uint64_t size) const
{
    if (size == 0) {
        return 1;
    }
    const auto perLine = static_cast<std::uint64_t>(bytesPerLine);
    return static_cast<std::int64_t>((size + perLine - 1) / perLine);
}

int THexGrid::OffsetWidth(std::int64_t rows) const
{
    const std::uint64_t last = static_cast<std::uint64_t>(rows - 1) * static_cast<std::uint64_t>(bytesPerLine);
    switch (offsetDisplay) {
    case odHex:
        return static_cast<int>(UpperHex(last).size()) + 3;
    case odDec:
        return static_cast<int>(std::to_string(last).size()) + 1;
    case odOctal:
        return static_cast<int>(IntToOctal(last).size()) + 3;
    case odNone:
        break;
    }
    return 0;
}

int THexGrid::ColWidth(std::int64_t col, std::int64_t rows) const
{
    if (col == 0) {
        return OffsetWidth(rows);
    }
    if (IsHexCol(col) && col % (2 * bytesPerColumn) == 1) {
        return 2; // the last nibble of a group carries the gap to the next group
    }
    return 1;
}

std::string THexGrid::OffsetText(std::int64_t row, std::int64_t rows) const
{
    const std::uint64_t offset = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(bytesPerLine);
    const auto width = static_cast<std::size_t>(OffsetWidth(rows));
    switch (offsetDisplay) {
    case odHex:
        return "0x" + FillLeft('0', UpperHex(offset), width - 3) + ":";
    case odDec:
        return FillLeft(' ', std::to_string(offset), width - 1) + ":";
    case odOctal:
        return "o " + FillLeft('0', IntToOctal(offset), width - 3) + ":";
    case odNone:
        break;
    }
    return " ";
}

std::int64_t THexGrid::PosAtCell(const THexCell& cell) const
{
    const std::int64_t rowStart = cell.row * bytesPerLine;
    const std::int64_t pos =
        cell.col <= GapCol() ? rowStart + (cell.col - 2) / 2 : rowStart + cell.col - FirstCharCol();
    return pos < 0 ? 0 : pos;
}

THexCell THexGrid::CellAtPos(std::int64_t pos, bool charField) const
{
    if (pos < 0) {
        return {2, 0};
    }
    const std::int64_t row = pos / bytesPerLine;
    const std::int64_t inRow = pos % bytesPerLine;
    return {charField ? FirstCharCol() + inRow : 2 + 2 * inRow, row};
}

std::int64_t THexGrid::TwinCol(std::int64_t col) const
{
    if (IsHexCol(col)) {
        return FirstCharCol() + (col - 2) / 2;
    }
    return 2 + 2 * (col - FirstCharCol());
}

} // namespace quillet

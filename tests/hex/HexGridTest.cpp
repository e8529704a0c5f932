#include "hex/HexGrid.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(HexGrid, OffsetColumnInEachDisplay)
{
    struct Case {
        TOffsetDisplay display;
        std::int64_t row;
        const char* text;
        int width;
    };
    // 100,000 bytes at 16 per row: 6,250 rows, the last at 99,984 (0x18690).
    const Case cases[] = {
        {odHex, 0, "0x00000:", 8},
        {odHex, 6249, "0x18690:", 8},
        {odDec, 0, "    0:", 6},
        {odDec, 6249, "99984:", 6},
        {odOctal, 0, "o 0000000:", 10},
        {odOctal, 6249, "o 0303220:", 10},
        {odNone, 5, " ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        THexGrid grid;
        grid.offsetDisplay = c.display;
        const std::int64_t rows = grid.RowCount(100000);
        EXPECT_EQ(rows, 6250);
        EXPECT_EQ(grid.OffsetText(c.row, rows), c.text);
        EXPECT_EQ(grid.OffsetWidth(rows), c.width);
    }
}

TEST(HexGrid, RowsColumnsAndWidths)
{
    THexGrid grid;
    EXPECT_EQ(grid.RowCount(0), 1);
    EXPECT_EQ(grid.RowCount(16), 1);
    EXPECT_EQ(grid.RowCount(17), 2);
    EXPECT_EQ(grid.ColCount(), 51);
    EXPECT_EQ(grid.GapCol(), 34);
    EXPECT_EQ(grid.FirstCharCol(), 35);
    // Groups of two bytes: the fourth nibble of each group carries the gap.
    struct Case {
        int bytesPerColumn;
        std::int64_t col;
        int width;
    };
    const Case cases[] = {{2, 2, 1}, {2, 5, 2}, {2, 9, 2}, {2, 6, 1}, {1, 3, 2}, {1, 4, 1}, {4, 9, 2}, {4, 5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytesPerColumn << "/" << c.col);
        grid.bytesPerColumn = c.bytesPerColumn;
        EXPECT_EQ(grid.ColWidth(c.col, 1), c.width);
    }
    EXPECT_EQ(grid.ColWidth(1, 1), 1);
    EXPECT_EQ(grid.ColWidth(grid.GapCol(), 1), 1);
}

TEST(HexGrid, CellsAndOffsets)
{
    THexGrid grid;
    struct Case {
        THexCell cell;
        std::int64_t pos;
    };
    const Case cases[] = {
        {{2, 0}, 0},
        {{3, 0}, 0},
        {{4, 0}, 1},
        {{33, 1}, 31},
        {{35, 0}, 0},
        {{50, 2}, 47},
        {{0, 0}, 0}, // negative counts as 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell.col << "," << c.cell.row);
        EXPECT_EQ(grid.PosAtCell(c.cell), c.pos);
    }
    EXPECT_EQ(grid.CellAtPos(17, false), (THexCell{4, 1}));
    EXPECT_EQ(grid.CellAtPos(17, true), (THexCell{36, 1}));
    EXPECT_EQ(grid.CellAtPos(-3, true), (THexCell{2, 0}));
    EXPECT_EQ(grid.TwinCol(5), 36);
    EXPECT_EQ(grid.TwinCol(36), 4);
    EXPECT_EQ(grid.GroupOf(5), 0);
    EXPECT_EQ(grid.GroupOf(6), 1);
}

} // namespace
} // namespace quillet

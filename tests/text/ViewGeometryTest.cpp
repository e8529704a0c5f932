#include "text/ViewGeometry.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// 10 pixels per cell; in the measured case "i" is narrow and "W" wide.
class TFixedFont : public IFontMeasure {
public:
    int AverageCharWidth() const override { return 10; }
    int LineHeight() const override { return 16; }
    int CharWidth(unsigned char c) const override { return c == 'i' ? 4 : c == 'W' ? 16 : 10; }
};

TEST(ViewGeometry, GutterLayout)
{
    TGutterInput in;
    in.gutterWidth = 20;
    in.avgCharWidth = 8;
    in.lineHeight = 16;
    in.lineCount = 9;
    in.lastShowableLine = 9;

    // Numbers in the gutter widen it to fit them.
    in.options = moDrawGutter | moLineNumbers | moLineNumbersOnGutter;
    TGutterLayout g = ComputeGutterLayout(in);
    EXPECT_TRUE(g.numbersInGutter);
    EXPECT_EQ(g.gutterWidth, 20); // (1 + 1) * 8 + 2 < 20
    in.lineCount = 12345;
    g = ComputeGutterLayout(in);
    EXPECT_EQ(g.gutterWidth, 6 * 8 + 2);
    EXPECT_EQ(g.textLeft, g.gutterWidth);

    // Own column after the gutter, then left indent and fold cell.
    in.lineCount = 9;
    in.options = moDrawGutter | moLineNumbers | moLeftIndent | moHideInvisibleLines;
    in.leftIndent = 5;
    g = ComputeGutterLayout(in);
    EXPECT_FALSE(g.numbersInGutter);
    EXPECT_EQ(g.lineNumLeft, 20);
    EXPECT_EQ(g.lineNumWidth, 16);
    EXPECT_EQ(g.foldCellLeft, 20 + 16 + 5);
    EXPECT_EQ(g.textLeft, 20 + 16 + 5 + 16);

    // Hidden gutter: numbers get their column even with moLineNumbersOnGutter.
    in.options = moLineNumbers | moLineNumbersOnGutter;
    g = ComputeGutterLayout(in);
    EXPECT_EQ(g.gutterWidth, 0);
    EXPECT_EQ(g.textLeft, 16);
}

TEST(ViewGeometry, NumberColumnGrowsWithShowableLinesUnlessLimited)
{
    TGutterInput in;
    in.options = moLineNumbers;
    in.avgCharWidth = 8;
    in.lineCount = 9;
    in.lastShowableLine = 30; // the window could show line 30
    EXPECT_EQ(ComputeGutterLayout(in).lineNumWidth, 3 * 8);
    in.options |= moLimitLineNumbers;
    EXPECT_EQ(ComputeGutterLayout(in).lineNumWidth, 2 * 8);
    in.digitsOverride = 4;
    EXPECT_EQ(ComputeGutterLayout(in).lineNumWidth, 5 * 8);
}

TEST(ViewGeometry, ColumnsAndPixelsMonospaced)
{
    TFixedFont font;
    TTabStops tabs;
    tabs.Parse("5"); // stops at columns 5, 10, ...
    TLineGeometry g(font, tabs, true);
    const std::string_view text = "ab\tc"; // the tab spans columns 2..4, "c" is column 5
    EXPECT_EQ(g.ColumnOfPosition(text, 3), 5);
    EXPECT_EQ(g.ColumnOfPosition(text, 6), 8); // past the end, one per column
    EXPECT_EQ(g.PositionOfColumn(text, 3), 2u); // inside the tab
    EXPECT_EQ(g.PositionOfColumn(text, 5), 3u);
    EXPECT_EQ(g.PositionOfColumn(text, 9), 7u);
    EXPECT_EQ(g.PixelOfColumn(text, 4), 40);
    EXPECT_EQ(g.ColumnOfPixel(text, 44), 4);
    EXPECT_EQ(g.ColumnOfPixel(text, 46), 5); // nearer boundary
    EXPECT_EQ(g.ColumnOfPixel(text, 500), 50);
    EXPECT_EQ(g.ColumnOfPixel(text, 500, true), 6);
    EXPECT_EQ(g.ColumnOfPixel(text, -30), 0);
}

TEST(ViewGeometry, ColumnsAndPixelsMeasured)
{
    TFixedFont font;
    TTabStops tabs;
    tabs.Parse("5");
    TLineGeometry g(font, tabs, false);
    const std::string_view text = "iW\ti";
    // i=4, W=16, the tab spans columns 2..4 = 30 px, i=4.
    EXPECT_EQ(g.PixelOfColumn(text, 1), 4);
    EXPECT_EQ(g.PixelOfColumn(text, 2), 20);
    EXPECT_EQ(g.PixelOfColumn(text, 3), 30); // inside the tab by cells
    EXPECT_EQ(g.PixelOfColumn(text, 5), 50);
    EXPECT_EQ(g.PixelOfColumn(text, 6), 54);
    EXPECT_EQ(g.PixelOfColumn(text, 8), 74); // past the end by cells
    EXPECT_EQ(g.ColumnOfPixel(text, 1), 0);
    EXPECT_EQ(g.ColumnOfPixel(text, 3), 1);
    EXPECT_EQ(g.ColumnOfPixel(text, 11), 1);
    EXPECT_EQ(g.ColumnOfPixel(text, 13), 2);
    EXPECT_EQ(g.ColumnOfPixel(text, 36), 4);
    EXPECT_EQ(g.ColumnOfPixel(text, 1000, true), 6);
    for (std::int64_t c : {0, 1, 2, 5, 6}) {
        EXPECT_EQ(g.ColumnOfPixel(text, g.PixelOfColumn(text, c)), c);
    }
}

} // namespace
} // namespace quillet

#include "text/WrapTable.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

class TCellFont : public IFontMeasure {
public:
    int AverageCharWidth() const override { return 1; }
    int LineHeight() const override { return 1; }
    int CharWidth(unsigned char c) const override { return c == 'W' ? 3 : 1; }
};

bool IsBlankOrComma(unsigned char c)
{
    return c == ' ' || c == ',';
}

std::vector<std::string> Rows(std::string_view text, const std::vector<std::uint32_t>& breaks)
{
    std::vector<std::string> rows;
    std::size_t start = 0;
    for (std::uint32_t b : breaks) {
        rows.emplace_back(text.substr(start, b - start));
        start = b;
    }
    rows.emplace_back(text.substr(start));
    return rows;
}

TEST(WrapTable, WrapLineRules)
{
    struct Case {
        const char* name;
        std::string text;
        std::int64_t width;
        bool mono;
        std::vector<std::string> rows;
    };
    const std::vector<Case> cases = {
        {"breaks after the last delimiter that fits", "aaaa bbbb cccc", 10, true, {"aaaa bbbb ", "cccc"}},
        {"no delimiter breaks hard", "abcdefghijklmnopqrstuvwxy", 10, true, {"abcdefghij", "klmnopqrst", "uvwxy"}},
        {"rest that fits is one row", "short", 10, true, {"short"}},
        {"empty line", "", 10, true, {""}},
        {"exact fit", "abcdefghij", 10, true, {"abcdefghij"}},
        {"width below one cell takes one char per row", "abc", 0, true, {"a", "b", "c"}},
        {"negative width too", "ab", -5, true, {"a", "b"}},
        {"measured widths", "WWWa", 7, false, {"WW", "Wa"}},
        {"wide char wider than the row still moves", "W", 2, false, {"W"}},
        {"tab spans its columns", "a\tbcdefgh", 10, true, {"a\tb", "cdefgh"}},
    };
    TCellFont font;
    TTabStops tabs;
    tabs.Parse("9");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLineGeometry g(font, tabs, c.mono);
        EXPECT_EQ(Rows(c.text, WrapLine(c.text, c.width, g, IsBlankOrComma)), c.rows);
    }
}

// Every glyph as wide as the average cell: the measured walk, character by
// character, is the reference for the monospaced arithmetic.
class TEvenFont : public IFontMeasure {
public:
    int AverageCharWidth() const override { return 2; }
    int LineHeight() const override { return 1; }
    int CharWidth(unsigned char) const override { return 2; }
};

TEST(WrapTable, MonospacedRunsAgreeWithTheCharacterWalk)
{
    TEvenFont font;
    TTabStops tabs;
    tabs.Parse("5,9");
    const TLineGeometry mono(font, tabs, true);
    const TLineGeometry walked(font, tabs, false);
    const std::vector<std::string> lines = {"",
        "plain text without tabs, long enough to wrap a few times over",
        "\tlead\ttabs\t\tand, commas,in between\t",
        std::string(300, 'x') + "\t" + std::string(50, 'y'),
        "a\tb\tc\td\te\tf\tg\th"};
    for (const std::string& line : lines) {
        for (const std::int64_t width : {-2, 0, 1, 2, 7, 20, 33, 200}) {
            EXPECT_EQ(WrapLine(line, width, mono, IsBlankOrComma), WrapLine(line, width, walked, IsBlankOrComma))
                << line << " width " << width;
        }
        for (std::size_t pos = 0; pos <= line.size() + 2; ++pos) {
            std::int64_t column = 0;
            for (std::size_t i = 0; i < std::min(pos, line.size()); ++i) {
                column += walked.CharColumns(line, i, column);
            }
            column += static_cast<std::int64_t>(pos - std::min(pos, line.size()));
            ASSERT_EQ(mono.ColumnOfPosition(line, pos), column) << line << " pos " << pos;
            if (pos < line.size() || line.empty()) {
                ASSERT_EQ(mono.PositionOfColumn(line, column), pos) << line << " column " << column;
            }
        }
    }
}

TEST(WrapTable, LongLineWithoutDelimitersIsLinear)
{
    // 10 MB of one character in rows of 100 cells: must finish promptly and
    // cover the whole line exactly once.
    const std::string text(10'000'000, 'x');
    TCellFont font;
    TTabStops tabs;
    TLineGeometry g(font, tabs, true);
    const auto breaks = WrapLine(text, 100, g, IsBlankOrComma);
    ASSERT_EQ(breaks.size(), 99'999u);
    EXPECT_EQ(breaks.front(), 100u);
    EXPECT_EQ(breaks.back(), 9'999'900u);
}

TEST(WrapTable, CachesLazilyAndForgetsChangedLines)
{
    TCellFont font;
    TTabStops tabs;
    TLineGeometry g(font, tabs, true);
    TWrapTable table;
    table.SetWidth(4);
    EXPECT_EQ(table.Find(1'999'999), nullptr);
    EXPECT_EQ(table.RowCount(1'999'999, "abcdefgh", g, IsBlankOrComma), 2u);
    EXPECT_EQ(table.CachedLines(), 1u); // only what was asked for
    table.RowCount(10, "ab", g, IsBlankOrComma);
    table.RowCount(11, "ab", g, IsBlankOrComma);

    table.TextChanged(10, 10, 0);
    EXPECT_EQ(table.Find(10), nullptr);
    EXPECT_NE(table.Find(11), nullptr);
    EXPECT_NE(table.Find(1'999'999), nullptr);

    table.TextChanged(11, 11, 1); // a line inserted: everything below forgotten
    EXPECT_EQ(table.Find(11), nullptr);
    EXPECT_EQ(table.Find(1'999'999), nullptr);

    table.RowCount(3, "abcdefgh", g, IsBlankOrComma);
    table.SetWidth(4); // same width keeps rows
    EXPECT_NE(table.Find(3), nullptr);
    table.SetWidth(5);
    EXPECT_EQ(table.Find(3), nullptr);
}

TEST(WrapTable, RowOfPosition)
{
    const TWrapTable::TBreaks breaks = {4, 8};
    EXPECT_EQ(TWrapTable::RowOfPosition(breaks, 0), 0u);
    EXPECT_EQ(TWrapTable::RowOfPosition(breaks, 3), 0u);
    EXPECT_EQ(TWrapTable::RowOfPosition(breaks, 4), 1u);
    EXPECT_EQ(TWrapTable::RowOfPosition(breaks, 99), 2u);
    EXPECT_EQ(TWrapTable::RowStart(breaks, 2), 8u);
    EXPECT_EQ(TWrapTable::RowEnd(breaks, 1, 10), 8u);
    EXPECT_EQ(TWrapTable::RowEnd(breaks, 2, 10), 10u);
}

} // namespace
} // namespace quillet

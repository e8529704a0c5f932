#include "text/TabStops.h"

#include <climits>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TabStops, ParseAcceptsAndRejects)
{
    struct Case {
        const char* text;
        bool ok;
        int next0; // first stop right of column 0
        int next20; // first stop right of column 20
    };
    const Case cases[] = {
        {"9,17", true, 9, 25},
        {"", true, 8, 24},
        {"4", true, 4, 24},
        {"3,5,10", true, 3, 25},
        {"0", false, 9, 25},
        {"5,5", false, 9, 25},
        {"9,x", false, 9, 25},
        {"-3", false, 9, 25},
        {"9,17,", false, 9, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TTabStops stops;
        std::string error;
        EXPECT_EQ(stops.Parse(c.text, &error), c.ok);
        EXPECT_EQ(error, c.ok ? "" : "Invalid Tab Rack");
        EXPECT_EQ(stops.NextStop(0), c.next0);
        EXPECT_EQ(stops.NextStop(20), c.next20);
    }
}

TEST(TabStops, ColumnArithmeticDoesNotOverflow)
{
    TTabStops stops;
    EXPECT_EQ(stops.NextStop(INT_MAX - 1), INT_MAX);
    EXPECT_EQ(stops.NextStop(INT_MAX), INT_MAX);
    EXPECT_GE(tabs::RawToCol("\t\t", 5, stops), 0);
    EXPECT_EQ(tabs::ColToRaw("ab", INT_MAX, stops), INT_MAX);
}

TEST(TabStops, ExpansionAndConversions)
{
    struct Case {
        const char* raw;
        const char* expanded;
        int col; // a display column
        int rawIndex; // the raw index covering it
        int spanStart; // where that character starts
    };
    const Case cases[] = {
        {"a\tb", "a        b", 4, 1, 1},
        {"a\tb", "a        b", 9, 2, 9},
        {"\t\tx", "                 x", 10, 1, 9},
        {"abc", "abc", 5, 5, 5},
        {"", "", 0, 0, 0},
    };
    TTabStops stops;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(tabs::Expand(c.raw, stops), c.expanded);
        EXPECT_EQ(tabs::DisplayLength(c.raw, stops), static_cast<int>(std::string(c.expanded).size()));
        int span = -1;
        EXPECT_EQ(tabs::ColToRaw(c.raw, c.col, stops, &span), c.rawIndex);
        EXPECT_EQ(span, c.spanStart);
    }
}

} // namespace
} // namespace quillet

#include "text/MemoSource.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

std::string AllText(const TMemoSource& s)
{
    std::string out;
    for (int i = 0; i < s.GetStrCount(); ++i) {
        if (i) {
            out += '\n';
        }
        out += s.GetRawLine(i);
    }
    return out;
}

TEST(MemoSource, StartsEmpty)
{
    TMemoSource s;
    EXPECT_EQ(s.GetStrCount(), 0);
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 0}));
    EXPECT_EQ(s.TabStopsText(), "9,17");
    EXPECT_FALSE(s.Modified());
}

TEST(MemoSource, TypingAndUndoRedo)
{
    TMemoSource s;
    s.Insert("hello");
    s.Navigate(0, 5);
    s.BreakLine();
    s.Navigate(1, -5);
    s.Insert("world");
    EXPECT_EQ(AllText(s), "hello\nworld");
    EXPECT_TRUE(s.Modified());
    while (s.UndoAvailable()) {
        s.Undo();
    }
    EXPECT_EQ(AllText(s), "");
    EXPECT_FALSE(s.Modified());
    while (s.RedoAvailable()) {
        s.Redo();
    }
    EXPECT_EQ(AllText(s), "hello\nworld");
}

} // namespace
} // namespace quillet

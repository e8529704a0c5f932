#include "text/HiddenLines.h"

#include "text/MemoSource.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(HiddenLines, RealAndVisibleIndexesMapBothWays)
{
    THiddenLines hidden;
    for (int line : {5, 2, 3, 3}) {
        hidden.Hide(line);
    }
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{2, 3, 5}));
    const int visible[] = {0, 1, 4, 6, 7};
    for (int index = 0; index < 5; ++index) {
        SCOPED_TRACE(index);
        EXPECT_EQ(hidden.VisibleToReal(index), visible[index]);
        EXPECT_EQ(hidden.RealToVisible(visible[index]), index);
    }
    hidden.Show(3);
    hidden.Show(4); // not hidden: nothing happens
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{2, 5}));
}

TEST(HiddenLines, EditsShiftTheLinesBelow)
{
    THiddenLines hidden;
    for (int line : {2, 3, 6}) {
        hidden.Hide(line);
    }
    hidden.ShiftOnInsertLines(2, 2);
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{2, 5, 8}));
    hidden.ShiftOnJoin(4); // 5 joins onto 4
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{2, 4, 7}));
    hidden.ShiftOnSpliceDelete(1, 4); // lines 2..5 joined onto 1
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{1, 3}));
    hidden.ShiftOnLineRemoved(1);
    EXPECT_EQ(hidden.Lines(), (std::vector<int>{2}));
}

// Removing a hidden line through the line list used to take the hidden line
// below it out of the list as well, so that line showed though still folded.
TEST(HiddenLines, RemovingAFoldedLineKeepsTheNextOneHidden)
{
    TMemoSource source;
    source.LoadFromText("head\na\nb\nc\ntail");
    for (int line = 1; line <= 3; ++line) {
        source.SetLineVisible(line, false);
    }
    source.SetCollapseState(0, 0);
    ASSERT_EQ(source.HiddenLines(), (std::vector<int>{1, 2, 3}));
    source.Lines().Delete(1);
    EXPECT_EQ(source.HiddenLines(), (std::vector<int>{1, 2}));
    EXPECT_FALSE(source.GetRealLineVisible(1));
    EXPECT_EQ(source.VisibleToRealIndex(1), 3); // "tail"
}

} // namespace
} // namespace quillet

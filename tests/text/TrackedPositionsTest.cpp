#include "text/TrackedPositions.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TrackedPositions, InsertAndDeleteShiftWhatLiesBehind)
{
    struct Case {
        const char* name;
        bool insert;
        TTextPoint at; // position before the edit
        TTextPoint expected;
    };
    // The edit: 3 columns inserted at, or removed from, column 4 of line 1.
    const Case cases[] = {
        {"insert: before stays", true, {2, 1}, {2, 1}},
        {"insert: at the point stays", true, {4, 1}, {4, 1}},
        {"insert: behind moves right", true, {6, 1}, {9, 1}},
        {"insert: other line stays", true, {6, 2}, {6, 2}},
        {"delete: inside the span goes to its start", false, {5, 1}, {4, 1}},
        {"delete: behind moves left", false, {9, 1}, {6, 1}},
        {"delete: before stays", false, {3, 1}, {3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTrackedPositions marks;
        TPosition* pos = marks.Copy(c.at);
        marks.SetBookmark(1, c.at);
        if (c.insert) {
            marks.ShiftOnInsert(1, 4, 3, false);
        } else {
            marks.ShiftOnDelete(1, 4, 3, false);
        }
        EXPECT_EQ(pos->Point(), c.expected);
        EXPECT_EQ(marks.FindBookmark(1)->col, c.expected.col);
        EXPECT_EQ(marks.Caret().Point(), TTextPoint{}); // the caret belongs to its owner
    }
}

TEST(TrackedPositions, SelectionStartIsPushedAndColumnSelectionStays)
{
    TTrackedPositions marks;
    marks.SetSelection({4, 1}, {8, 1});
    marks.ShiftOnInsert(1, 4, 2, false);
    EXPECT_EQ(marks.SelStart().Point(), (TTextPoint{6, 1})); // typed at the start: pushed along
    EXPECT_EQ(marks.SelEnd().Point(), (TTextPoint{10, 1}));

    marks.ShiftOnInsert(1, 0, 5, true); // a column selection keeps its ends
    EXPECT_EQ(marks.SelStart().Point(), (TTextPoint{6, 1}));
    marks.SnapshotSelection(); // snapshots are plain data
    marks.ShiftOnInsert(1, 0, 5, false);
    EXPECT_EQ(marks.OldSelStart().Point(), (TTextPoint{6, 1}));
    EXPECT_EQ(marks.SelStart().Point(), (TTextPoint{11, 1}));
}

// Breaking a line and joining it again brings every position and bookmark
// back; bookmarks stay sorted on the way.
TEST(TrackedPositions, BreakThenJoinRestoresEverything)
{
    TTrackedPositions marks;
    TPosition* head = marks.Copy({2, 3});
    TPosition* tail = marks.Copy({7, 3});
    TPosition* below = marks.Copy({1, 5});
    marks.SetBookmark(2, {7, 3});
    marks.SetBookmark(1, {1, 4});

    marks.ShiftOnBreak(3, 5, false);
    EXPECT_EQ(head->Point(), (TTextPoint{2, 3}));
    EXPECT_EQ(tail->Point(), (TTextPoint{2, 4}));
    EXPECT_EQ(below->Point(), (TTextPoint{1, 6}));
    ASSERT_EQ(marks.Bookmarks().size(), 2u);
    EXPECT_EQ(marks.Bookmarks()[0].number, 2); // (2, 4) sorts before (1, 5)
    EXPECT_EQ(marks.Bookmarks()[1].line, 5);

    marks.ShiftOnJoin(3, 5, false);
    EXPECT_EQ(tail->Point(), (TTextPoint{7, 3}));
    EXPECT_EQ(below->Point(), (TTextPoint{1, 5}));
    EXPECT_EQ(marks.FindBookmark(2)->col, 7);
    EXPECT_EQ(marks.FindBookmark(1)->line, 4);
}

TEST(TrackedPositions, RemovedLineDropsItsBookmarksAndFreeKeepsFixedSlots)
{
    TTrackedPositions marks;
    TPosition* on = marks.Copy({6, 2});
    TPosition* after = marks.Copy({6, 3});
    marks.SetBookmark(3, {1, 2});
    marks.SetBookmark(4, {1, 3});
    marks.ShiftOnLineRemoved(2);
    EXPECT_EQ(on->Point(), (TTextPoint{0, 2}));
    EXPECT_EQ(after->Point(), (TTextPoint{6, 2}));
    EXPECT_EQ(marks.FindBookmark(3), nullptr);
    EXPECT_EQ(marks.FindBookmark(4)->line, 2);

    marks.Free(&marks.Caret()); // ignored: not a copy
    marks.Free(on);
    marks.SetBookmark(4, {0, 0}); // replaces, never duplicates
    EXPECT_EQ(marks.Bookmarks().size(), 1u);
    marks.ResetAll();
    EXPECT_EQ(after->Point(), TTextPoint{});
}

} // namespace
} // namespace quillet

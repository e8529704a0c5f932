#include "text/UndoList.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TUndoRecord Rec(TUndoKind kind, std::uint32_t blockSerial = 0)
{
    TUndoRecord r;
    r.kind = kind;
    r.blockSerial = blockSerial;
    r.inBlock = blockSerial != 0;
    return r;
}

// The modified test reads LastContentIndex, so it must stay right through
// pushes, pops and drops, whichever kinds are mixed in.
TEST(UndoList, LastContentIndexFollowsPushPopAndDrop)
{
    TUndoList list;
    EXPECT_EQ(list.LastContentIndex(), -1);
    list.Push(Rec(TUndoKind::Insert)); // 0
    list.Push(Rec(TUndoKind::Navigate)); // 1
    list.Push(Rec(TUndoKind::Delete)); // 2
    list.Push(Rec(TUndoKind::StyleBytes)); // 3
    EXPECT_EQ(list.LastContentIndex(), 2);
    EXPECT_TRUE(list.HasContentAfter(1));
    EXPECT_FALSE(list.HasContentAfter(2));

    list.Pop(); // style record: content index unchanged
    EXPECT_EQ(list.LastContentIndex(), 2);
    list.Pop(); // the delete: falls back past the caret move
    EXPECT_EQ(list.LastContentIndex(), 0);

    list.Push(Rec(TUndoKind::Break)); // 2
    list.DropOldest(1);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.LastContentIndex(), 1);
    list.DropOldest(5);
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.LastContentIndex(), -1);
}

TEST(UndoList, OldestCutNeverSplitsABlock)
{
    struct Case {
        const char* name;
        std::size_t keep;
        std::size_t cut;
    };
    // Records: 0 plain, 1-3 block 7, 4 plain, 5 plain.
    const Case cases[] = {
        {"cut behind a plain record", 2, 4},
        {"cut inside the block moves before it", 4, 1},
        {"cut right after the block start moves before it", 3, 1},
        {"nothing to drop", 6, 0},
        {"keep nothing drops all", 0, 6},
    };
    TUndoList list;
    list.Push(Rec(TUndoKind::Insert));
    for (int i = 0; i < 3; ++i) {
        list.Push(Rec(TUndoKind::Insert, 7));
    }
    list.Push(Rec(TUndoKind::Navigate));
    list.Push(Rec(TUndoKind::Insert));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(list.OldestCut(c.keep), c.cut);
    }
    EXPECT_TRUE(list.HasContentBefore(1));
    TUndoList moves;
    moves.Push(Rec(TUndoKind::Navigate));
    moves.Push(Rec(TUndoKind::Insert));
    EXPECT_FALSE(moves.HasContentBefore(1));
    EXPECT_TRUE(moves.HasContentBefore(9));
}

} // namespace
} // namespace quillet

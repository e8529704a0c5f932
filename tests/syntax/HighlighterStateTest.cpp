#include "syntax/HighlighterState.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// Stored line states are compared with fresh ones, so the layout must not
// move: a known value pins it, and every field survives a round trip at its
// widest.
TEST(HighlighterState, PacksIntoTheStoredLayout)
{
    THighlighterState s;
    s.stack = 0x12;
    s.partOfBlock = true;
    s.caseSensitive = false;
    s.delimIndex = 0x25;
    s.state = 0x03;
    s.item = 0x7F;
    EXPECT_EQ(s.Pack(), 0x12A5037Fu);
    EXPECT_EQ(THighlighterState::Unpack(0x12A5037Fu), s);

    const THighlighterState widest{255, true, true, 63, 255, 255};
    EXPECT_EQ(widest.Pack(), 0xFFFFFFFFu);
    EXPECT_EQ(THighlighterState::Unpack(0xFFFFFFFFu), widest);
    EXPECT_EQ(THighlighterState{}.Pack(), 0u);
    // Values past a field's width are cut to it rather than spilling over.
    EXPECT_EQ((THighlighterState{0, false, false, 64, 0, 256}).Pack(), 0u);
}

} // namespace
} // namespace quillet

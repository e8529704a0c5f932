#include "hex/ChangedMarks.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ChangedMarks, SetMergeUnsetAndTruncate)
{
    TChangedMarks marks;
    const std::uint64_t far = 4'000'000'000ull;
    for (std::uint64_t p : {std::uint64_t{5}, std::uint64_t{7}, std::uint64_t{6}, far}) {
        marks.Set(p);
    }
    EXPECT_EQ(marks.RangeCount(), 2u); // 5..7 merged, and the far one
    EXPECT_TRUE(marks.Test(6));
    EXPECT_TRUE(marks.Test(far));
    EXPECT_FALSE(marks.Test(8));
    marks.Set(6, false);
    EXPECT_FALSE(marks.Test(6));
    EXPECT_TRUE(marks.Test(5));
    EXPECT_TRUE(marks.Test(7));
    marks.TruncateAt(7);
    EXPECT_TRUE(marks.Test(5));
    EXPECT_FALSE(marks.Test(7));
    EXPECT_FALSE(marks.Test(far));
    marks.Clear();
    EXPECT_TRUE(marks.Empty());
}

} // namespace
} // namespace quillet

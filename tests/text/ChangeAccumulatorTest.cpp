#include "text/ChangeAccumulator.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ChangeAccumulator, GathersFlagsAndTheWidestRange)
{
    TChangeAccumulator changes;
    changes.Reset();
    EXPECT_EQ(changes.Report().flags, 0u);
    EXPECT_EQ(changes.Report().firstLine, 0); // no range reads as 0..0
    EXPECT_EQ(changes.Report().lastLine, 0);
    EXPECT_EQ(changes.First(), INT_MAX);

    changes.AddFlags(chModified); // a flag alone widens nothing
    changes.Add(7, 9, chTextChanged);
    changes.Add(3, 4, chSelection);
    const TChangeReport report = changes.Report();
    EXPECT_EQ(report.flags, chModified | chTextChanged | chSelection);
    EXPECT_EQ(report.firstLine, 3);
    EXPECT_EQ(report.lastLine, 9);
    EXPECT_TRUE(changes.Has(chSelection | chFoundText));
    EXPECT_FALSE(changes.Has(chFoundText));

    changes.CoverAll();
    EXPECT_EQ(changes.Report().firstLine, 0);
    EXPECT_EQ(changes.Report().lastLine, INT_MAX);
    changes.Reset();
    EXPECT_EQ(changes.Flags(), 0u);
}

} // namespace
} // namespace quillet

#include "text/Selection.h"

#include <climits>
#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(Selection, BoundsPerLine)
{
    struct Case {
        const char* name;
        TSelKind kind;
        TTextRect rect;
        int line;
        std::pair<int, int> bounds;
    };
    const TTextRect stream{4, 2, 6, 5};
    const Case cases[] = {
        {"stream first line runs to the end", TSelKind::selStream, stream, 2, {4, INT_MAX}},
        {"stream middle line is whole", TSelKind::selStream, stream, 3, {0, INT_MAX}},
        {"stream last line ends before right", TSelKind::selStream, stream, 5, {0, 6}},
        {"stream outside", TSelKind::selStream, stream, 6, {0, 0}},
        {"stream on one line", TSelKind::selStream, {2, 1, 5, 1}, 1, {2, 5}},
        {"empty stream", TSelKind::selStream, {5, 1, 5, 1}, 1, {0, 0}},
        {"column includes right", TSelKind::selColumn, {2, 1, 5, 3}, 2, {2, 6}},
        {"one-column block is not empty", TSelKind::selColumn, {3, 1, 3, 1}, 1, {3, 4}},
        {"no selection", TSelKind::selNone, stream, 3, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TSelection sel{c.kind, c.rect};
        EXPECT_EQ(sel.Bounds(c.line), c.bounds);
        EXPECT_EQ(sel.Contains(c.bounds.first, c.line), c.bounds.first < c.bounds.second);
    }
}

TEST(Selection, NormalizedOrdersTheEndsForEachKind)
{
    EXPECT_EQ(TSelection::Normalized(TSelKind::selStream, {6, 5, 4, 2}), (TTextRect{4, 2, 6, 5}));
    // A stream keeps its columns with their lines; a column block sorts each axis.
    EXPECT_EQ(TSelection::Normalized(TSelKind::selStream, {2, 1, 8, 3}), (TTextRect{2, 1, 8, 3}));
    EXPECT_EQ(TSelection::Normalized(TSelKind::selColumn, {8, 1, 2, 3}), (TTextRect{2, 1, 8, 3}));
    EXPECT_EQ(TSelection::Normalized(TSelKind::selColumn, {-3, -1, 2, 0}), (TTextRect{0, 0, 2, 0}));
}

TEST(Selection, BlockOptionFiltersTheKind)
{
    using K = TSelKind;
    EXPECT_EQ(FilterSelectionKind(TBlockOption::bkNone, K::selStream), K::selNone);
    EXPECT_EQ(FilterSelectionKind(TBlockOption::bkStreamSel, K::selColumn), K::selStream);
    EXPECT_EQ(FilterSelectionKind(TBlockOption::bkBlockSel, K::selStream), K::selColumn);
    EXPECT_EQ(FilterSelectionKind(TBlockOption::bkBlockSel, K::selNone), K::selNone);
    EXPECT_EQ(FilterSelectionKind(TBlockOption::bkBoth, K::selColumn), K::selColumn);
}

} // namespace
} // namespace quillet

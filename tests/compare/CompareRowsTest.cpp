#include "compare/CompareRows.h"

#include "compare/LineIdentities.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillet {
namespace {

std::vector<std::string> Lines(std::string_view letters)
{
    std::vector<std::string> lines;
    for (const char c : letters) {
        lines.emplace_back(1, c);
    }
    return lines;
}

std::vector<TCompareRow> RowsOf(std::string_view left, std::string_view right, bool differencesOnly)
{
    const auto a = Lines(left);
    const auto b = Lines(right);
    const TLineIdentities ids = NumberLines(a, b, false, false);
    TDiff diff;
    EXPECT_TRUE(
        diff.Execute(ids.left.data(), ids.right.data(), static_cast<int>(a.size()), static_cast<int>(b.size())));
    return BuildCompareRows(diff.ChangeList(), static_cast<int>(a.size()), static_cast<int>(b.size()), differencesOnly);
}

constexpr int kAdd = kAddedLinesStyle;
constexpr int kDel = kDeletedLinesStyle;
constexpr int kMod = kModifiedLinesStyle;

TEST(CompareRows, AlignsEqualRowsFillersAndModifiedRows)
{
    struct Case {
        std::string_view left;
        std::string_view right;
        bool differencesOnly;
        std::vector<TCompareRow> expected;
    };
    const Case cases[] = {
        {"abc", "axc", false, {{0, 0, 0}, {1, 1, kMod}, {2, 2, 0}}},
        {"abc", "ac", false, {{0, 0, 0}, {1, -1, kDel}, {2, 1, 0}}},
        {"ac", "abc", false, {{0, 0, 0}, {-1, 1, kAdd}, {1, 2, 0}}},
        {"abcd", "aXcd", true, {{1, 1, kMod}}},
        {"abcdef", "abXdeYf", true, {{2, 2, kMod}, {-1, 5, kAdd}}},
        {"ab", "ba", false, {{-1, 0, kAdd}, {0, 1, 0}, {1, -1, kDel}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.left) + " against " + std::string(c.right));
        EXPECT_EQ(RowsOf(c.left, c.right, c.differencesOnly), c.expected);
    }
}

TEST(CompareRows, ForeignChangeListNeverPointsPastTheLines)
{
    const std::vector<TChangeRec> changes = {
        {TChangeKind::Modify, 1, 1, 5}, {TChangeKind::Delete, 0, 0, 1}, {TChangeKind::Add, 9, 9, 2}};
    for (const TCompareRow& row : BuildCompareRows(changes, 3, 2, false)) {
        EXPECT_LT(row.left, 3);
        EXPECT_LT(row.right, 2);
    }
}

TEST(CompareRows, DifferencesOnlyNumbersFollowTheRecords)
{
    const std::vector<TChangeRec> changes = {{TChangeKind::Modify, 1, 1, 1}, {TChangeKind::Add, 5, 5, 2}};
    EXPECT_EQ(DifferencesOnlyLineNumber(changes, 0, true), 2);
    EXPECT_EQ(DifferencesOnlyLineNumber(changes, 0, false), 2);
    EXPECT_EQ(DifferencesOnlyLineNumber(changes, 1, false), 6);
    EXPECT_EQ(DifferencesOnlyLineNumber(changes, 2, false), 7);
    EXPECT_EQ(DifferencesOnlyLineNumber(changes, 3, false), 0);
}

TEST(LineIdentities, EqualOnlyForEqualTextUnderTheOptions)
{
    // "plumless" and "buckeroo" share a CRC-32; they must still differ.
    ASSERT_EQ(TDiff::HashLine("plumless", false, false), TDiff::HashLine("buckeroo", false, false));
    const std::vector<std::string> left = {"plumless", "A b", "x"};
    const std::vector<std::string> right = {"buckeroo", "ab", "X"};
    const TLineIdentities exact = NumberLines(left, right, false, false);
    EXPECT_NE(exact.left[0], exact.right[0]);
    EXPECT_NE(exact.left[1], exact.right[1]);
    const TLineIdentities loose = NumberLines(left, right, true, true);
    EXPECT_NE(loose.left[0], loose.right[0]);
    EXPECT_EQ(loose.left[1], loose.right[1]);
    EXPECT_EQ(loose.left[2], loose.right[2]);
}

} // namespace
} // namespace quillet

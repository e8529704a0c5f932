#include "compare/Diff.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quillet {
namespace {

std::vector<std::int32_t> Seq(std::string_view letters)
{
    return {letters.begin(), letters.end()};
}

// An empty sequence still needs an array: Execute treats a null one as absent.
const std::int32_t* Data(const std::vector<std::int32_t>& v)
{
    static const std::int32_t none = 0;
    return v.empty() ? &none : v.data();
}

std::vector<TChangeRec> DiffOf(std::string_view a, std::string_view b)
{
    const auto sa = Seq(a);
    const auto sb = Seq(b);
    TDiff diff;
    EXPECT_TRUE(diff.Execute(Data(sa), Data(sb), static_cast<int>(sa.size()), static_cast<int>(sb.size())));
    return diff.ChangeList();
}

constexpr TChangeKind kAdd = TChangeKind::Add;
constexpr TChangeKind kDel = TChangeKind::Delete;
constexpr TChangeKind kMod = TChangeKind::Modify;

TEST(Diff, ChangeListsOfSmallPairs)
{
    struct Case {
        std::string_view a;
        std::string_view b;
        std::vector<TChangeRec> expected;
    };
    const Case cases[] = {
        {"abc", "abc", {}},
        {"abc", "abxc", {{kAdd, 2, 2, 1}}},
        {"abc", "ac", {{kDel, 1, 0, 1}}},
        {"abc", "axc", {{kMod, 1, 1, 1}}},
        {"ab", "cd", {{kMod, 0, 0, 2}}},
        {"abcd", "axyd", {{kMod, 1, 1, 2}}},
        {"abc", "x", {{kMod, 0, 0, 1}, {kDel, 1, 0, 2}}},
        {"x", "abc", {{kMod, 0, 0, 1}, {kAdd, 1, 1, 2}}},
        {"ab", "ba", {{kAdd, 0, 0, 1}, {kDel, 1, 0, 1}}},
        {"aaa", "aaaa", {{kAdd, 3, 3, 1}}},
        {"abcdef", "abXdeYf", {{kMod, 2, 2, 1}, {kAdd, 5, 5, 1}}},
        {"abcabba", "cbabac", {{kMod, 0, 0, 1}, {kDel, 2, 0, 1}, {kDel, 5, 0, 1}, {kAdd, 7, 5, 1}}},
        {"", "ab", {{kAdd, 0, 0, 2}}},
        {"ab", "", {{kDel, 0, 0, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " against " + std::string(c.b));
        EXPECT_EQ(DiffOf(c.a, c.b), c.expected);
    }
}

TEST(Diff, RefusesAbsentOrOversizedInputAndClearsTheOldResult)
{
    const auto a = Seq("abc");
    const auto b = Seq("axc");
    TDiff diff;
    ASSERT_TRUE(diff.Execute(a.data(), b.data(), 3, 3));
    ASSERT_EQ(diff.ChangeCount(), 1);
    EXPECT_FALSE(diff.Execute(nullptr, b.data(), 0, 3));
    EXPECT_EQ(diff.ChangeCount(), 0);
    ASSERT_TRUE(diff.Execute(a.data(), b.data(), 3, 3));
    // Lengths beyond the diagonal arrays' bound fail before anything is read.
    EXPECT_FALSE(diff.Execute(a.data(), b.data(), TDiff::kMaxLines + 1, 3));
    EXPECT_EQ(diff.ChangeCount(), 0);
    EXPECT_FALSE(diff.Execute(a.data(), b.data(), -1, 3));
}

TEST(Diff, HashLineOptions)
{
    EXPECT_EQ(TDiff::HashLine("a b", false, true), TDiff::HashLine("ab", false, false));
    EXPECT_EQ(TDiff::HashLine("a\tb ", false, true), TDiff::HashLine("ab", false, false));
    EXPECT_NE(TDiff::HashLine("a b", false, false), TDiff::HashLine("ab", false, false));
    EXPECT_EQ(TDiff::HashLine("AB", true, false), TDiff::HashLine("ab", false, false));
    EXPECT_NE(TDiff::HashLine("AB", false, false), TDiff::HashLine("ab", false, false));
    EXPECT_EQ(TDiff::HashLine("", false, false), 0u);
    EXPECT_EQ(TDiff::HashLine(" \t ", false, true), 0u);
    EXPECT_EQ(TDiff::CalcCRC32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(TDiff::CalcCRC32("x", 0), 0u);
}

// Longest common subsequence by dynamic programming, for checking minimality.
int LcsLength(const std::vector<std::int32_t>& a, const std::vector<std::int32_t>& b)
{
    std::vector<int> row(b.size() + 1, 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diag = 0;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = a[i - 1] == b[j - 1] ? diag + 1 : std::max(row[j], row[j - 1]);
            diag = up;
        }
    }
    return row[b.size()];
}

// Applies the records to A; reports ordering faults through gtest.
std::vector<std::int32_t> Rebuild(const std::vector<std::int32_t>& a,
    const std::vector<std::int32_t>& b,
    const std::vector<TChangeRec>& changes,
    int& cost)
{
    std::vector<std::int32_t> out;
    std::int32_t n = 0;
    std::int32_t m = 0;
    int lastX = -1;
    int lastY = -1;
    cost = 0;
    for (const TChangeRec& c : changes) {
        EXPECT_GT(c.Range, 0);
        EXPECT_GT(c.x, lastX) << "x must strictly increase";
        lastX = c.x;
        if (c.Kind != kDel) {
            EXPECT_GT(c.y, lastY) << "y must increase over add and modify records";
            lastY = c.y;
        }
        EXPECT_GE(c.x, n);
        if (c.x < n || c.x > static_cast<std::int32_t>(a.size())) {
            return {};
        }
        while (n < c.x) {
            out.push_back(a[static_cast<std::size_t>(n++)]);
            ++m;
        }
        if (c.Kind != kDel) {
            EXPECT_EQ(c.y, m) << "the record's y must be where B stands";
            for (std::int32_t j = 0; j < c.Range; ++j) {
                out.push_back(b.at(static_cast<std::size_t>(c.y + j)));
            }
            m = c.y + c.Range;
        }
        if (c.Kind != kAdd) {
            n = c.x + c.Range;
        }
        cost += c.Kind == kMod ? 2 * c.Range : c.Range;
    }
    while (n < static_cast<std::int32_t>(a.size())) {
        out.push_back(a[static_cast<std::size_t>(n++)]);
    }
    return out;
}

TEST(Diff, RandomPairsRebuildBWithMinimalCost)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 4000; ++round) {
        const int alphabet = 2 + static_cast<int>(random() % 4);
        const auto randomSeq = [&](int maxLength) {
            std::vector<std::int32_t> s(random() % static_cast<unsigned>(maxLength + 1));
            for (auto& v : s) {
                v = static_cast<std::int32_t>(random() % static_cast<unsigned>(alphabet));
            }
            return s;
        };
        const auto a = randomSeq(round % 3 == 0 ? 40 : 12);
        auto b = randomSeq(round % 3 == 0 ? 40 : 12);
        if (round % 5 == 0) {
            // Mostly equal pairs: a few scattered edits of a copy.
            b = a;
            for (int i = 0; i < 3 && !b.empty(); ++i) {
                b[random() % b.size()] = alphabet;
            }
        }
        SCOPED_TRACE("round " + std::to_string(round));
        TDiff diff;
        ASSERT_TRUE(diff.Execute(Data(a), Data(b), static_cast<int>(a.size()), static_cast<int>(b.size())));
        int cost = 0;
        ASSERT_EQ(Rebuild(a, b, diff.ChangeList(), cost), b);
        EXPECT_EQ(cost, static_cast<int>(a.size() + b.size()) - 2 * LcsLength(a, b));
    }
}

std::vector<std::int32_t> RandomIds(std::mt19937& random, std::size_t count)
{
    std::vector<std::int32_t> ids(count);
    for (auto& v : ids) {
        v = static_cast<std::int32_t>(random());
    }
    return ids;
}

// Distinct random ids and the same shuffled: long enough (D close to 2N) for
// the second thread to take sub-problems over.
std::pair<std::vector<std::int32_t>, std::vector<std::int32_t>> ShuffledPair(unsigned seed, std::size_t count)
{
    std::mt19937 random(seed);
    std::vector<std::int32_t> a = RandomIds(random, count);
    std::vector<std::int32_t> b(a);
    std::shuffle(b.begin(), b.end(), random);
    return {std::move(a), std::move(b)};
}

// Cancels from OnStep at the given step: the run fails with an empty list
// after exactly that many steps, and the next run starts with the cancel
// flag cleared.
void ExpectCancelledAt(TDiff& diff, const std::vector<std::int32_t>& a, const std::vector<std::int32_t>& b, int step)
{
    const auto lenA = static_cast<std::int32_t>(a.size());
    const auto lenB = static_cast<std::int32_t>(b.size());
    int steps = 0;
    diff.OnStep = [&] {
        if (++steps == step) {
            diff.Cancel();
        }
    };
    EXPECT_FALSE(diff.Execute(a.data(), b.data(), lenA, lenB));
    EXPECT_EQ(steps, step);
    EXPECT_EQ(diff.ChangeCount(), 0);
    diff.OnStep = nullptr;
    EXPECT_TRUE(diff.Execute(a.data(), b.data(), lenA, lenB));
    EXPECT_GT(diff.ChangeCount(), 0);
}

TEST(Diff, CancelFromAStepFailsWithAnEmptyList)
{
    std::mt19937 random(7);
    const std::vector<std::int32_t> a = RandomIds(random, 3000);
    const std::vector<std::int32_t> b(a.rbegin(), a.rend());
    TDiff diff;
    ExpectCancelledAt(diff, a, b, 50);
}

// Cancelled after the first middle snake, while the second thread may hold
// the right part; the run after it gives the whole list again.
TEST(Diff, CancelWhileTheSecondThreadSearchesFailsWithAnEmptyList)
{
    const auto [a, b] = ShuffledPair(11, 6000);
    TDiff diff;
    ASSERT_TRUE(diff.Execute(a.data(), b.data(), 6000, 6000));
    const std::vector<TChangeRec> whole = diff.ChangeList();
    ExpectCancelledAt(diff, a, b, 9000);
    EXPECT_EQ(diff.ChangeList(), whole);
}

// An exception from OnStep (the caller's event processing) leaves Execute;
// the object is not left running, and the second thread is not left with
// the run's arrays, so the next run works.
TEST(Diff, ExceptionFromAStepLeavesTheObjectReusable)
{
    const auto [a, b] = ShuffledPair(13, 6000);
    TDiff diff;
    int steps = 0;
    diff.OnStep = [&] {
        if (++steps == 9000) {
            throw std::runtime_error("event handler failed");
        }
    };
    EXPECT_THROW(diff.Execute(a.data(), b.data(), 6000, 6000), std::runtime_error);
    EXPECT_FALSE(diff.IsRunning());
    EXPECT_EQ(diff.ChangeCount(), 0);
    diff.OnStep = nullptr;
    EXPECT_TRUE(diff.Execute(a.data(), b.data(), 6000, 6000));
    EXPECT_GT(diff.ChangeCount(), 0);
}

TEST(Diff, ProgressIsReportedOncePerSecondWithGrowingValues)
{
    // Long steps through OnStep stand in for a slow comparison.
    const auto a = Seq("abcdefghijklmnop");
    const auto b = Seq("ponmlkjihgfedcba");
    TDiff diff;
    std::vector<int> values;
    diff.OnProgress = [&](TDiff& sender, int value) {
        EXPECT_EQ(&sender, &diff);
        values.push_back(value);
    };
    const auto start = std::chrono::steady_clock::now();
    diff.OnStep = [&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
        while (std::chrono::steady_clock::now() < until) { }
    };
    ASSERT_TRUE(diff.Execute(a.data(), b.data(), 16, 16));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    ASSERT_FALSE(values.empty());
    EXPECT_LE(static_cast<long>(values.size()), seconds);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    for (const int v : values) {
        EXPECT_GE(v, 0);
    }
}

} // namespace
} // namespace quillet

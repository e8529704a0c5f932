#include "compare/Diff.h"
#include "compare/DiffSearch.h"
#include "compare/SecondThread.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quillet {
namespace {

namespace fs = std::filesystem;

// Among scripts of equal cost the engine picks one by its fixed tie-breaks,
// and the compare window shows that one. These pairs pin the choice: each
// line of the recorded file holds a pair's round, its record count and a
// digest of its change list as the engine gave them when they were recorded.
// A speed-up of the search must keep every one.
const fs::path kRecorded = test::DataPath("compare/change-lists.txt");
const fs::path kActual = fs::path(QUILLET_BINARY_DIR) / "compare-change-lists.actual";

using TSeq = std::vector<std::int32_t>;

struct TPair {
    TSeq a;
    TSeq b;
};

std::uint32_t Below(std::mt19937& random, std::uint32_t bound)
{
    return bound == 0 ? 0 : static_cast<std::uint32_t>(random() % bound);
}

TSeq RandomSeq(std::mt19937& random, std::uint32_t length, std::uint32_t alphabet)
{
    TSeq s(length);
    for (auto& v : s) {
        v = static_cast<std::int32_t>(Below(random, alphabet));
    }
    return s;
}

// Lines of a source file: mostly distinct, some (braces, blank lines) common.
TSeq SourceLike(std::mt19937& random, std::uint32_t length)
{
    TSeq s(length);
    for (auto& v : s) {
        v = Below(random, 100) < 15 ? static_cast<std::int32_t>(Below(random, 3))
                                    : static_cast<std::int32_t>(3 + Below(random, 100'000));
    }
    return s;
}

// A copy with lines changed, spans deleted and spans inserted at random places.
TSeq Edited(std::mt19937& random, TSeq s, std::uint32_t edits)
{
    for (std::uint32_t e = 0; e < edits; ++e) {
        const auto at = static_cast<std::ptrdiff_t>(Below(random, static_cast<std::uint32_t>(s.size()) + 1));
        const auto span = static_cast<std::ptrdiff_t>(1 + Below(random, 4));
        switch (Below(random, 3)) {
        case 0:
            if (at < static_cast<std::ptrdiff_t>(s.size())) {
                s[static_cast<std::size_t>(at)] = static_cast<std::int32_t>(200'000 + e);
            }
            break;
        case 1:
            s.erase(s.begin() + at, s.begin() + std::min<std::ptrdiff_t>(at + span, std::ssize(s)));
            break;
        default:
            s.insert(s.begin() + at, static_cast<std::size_t>(span), static_cast<std::int32_t>(300'000 + e));
            break;
        }
    }
    return s;
}

// Round r's pair. Small alphabets give many equal-cost scripts; source-like
// copies with edits, shuffles (D close to N + M) and swapped blocks give the
// long searches, and every 50th round is a larger pair of one of those kinds.
TPair PairOfRound(std::mt19937& random, int round)
{
    TPair p;
    const bool large = round % 50 == 49;
    switch (round % 5) {
    case 0:
    case 1: {
        const std::uint32_t alphabet = 2 + Below(random, 4);
        p.a = RandomSeq(random, Below(random, large ? 400 : 60), alphabet);
        p.b = RandomSeq(random, Below(random, large ? 400 : 60), alphabet);
        break;
    }
    case 2:
        p.a = SourceLike(random, Below(random, large ? 4000 : 400));
        p.b = Edited(random, p.a, 1 + Below(random, large ? 40 : 8));
        break;
    case 3:
        p.a = SourceLike(random, Below(random, large ? 1200 : 200));
        p.b = p.a;
        // Fisher-Yates by hand: std::shuffle's draws differ between libraries.
        for (std::size_t i = p.b.size(); i > 1; --i) {
            std::swap(p.b[i - 1], p.b[Below(random, static_cast<std::uint32_t>(i))]);
        }
        break;
    default: {
        p.a = RandomSeq(random, Below(random, large ? 2000 : 300), large ? 50 : 1000);
        p.b = p.a;
        const auto size = static_cast<std::uint32_t>(p.b.size());
        const std::uint32_t from = Below(random, size + 1);
        const std::uint32_t to = from + Below(random, size - from + 1);
        std::rotate(p.b.begin(), p.b.begin() + from, p.b.begin() + to);
        if (Below(random, 2) == 0) {
            p.b = Edited(random, p.b, 1 + Below(random, 5));
        }
        break;
    }
    }
    return p;
}

std::uint64_t Digest(const std::vector<TChangeRec>& changes)
{
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    const auto mix = [&](std::int64_t value) {
        for (int byte = 0; byte < 8; ++byte) {
            hash = (hash ^ static_cast<std::uint64_t>((value >> (8 * byte)) & 0xFF)) * 1099511628211ull;
        }
    };
    for (const TChangeRec& c : changes) {
        mix(static_cast<std::int64_t>(c.Kind));
        mix(c.x);
        mix(c.y);
        mix(c.Range);
    }
    return hash;
}

// The change lists of all rounds, one line each: round, records, digest.
std::string ChangeListsOfRounds()
{
    constexpr int kRounds = 4000;
    std::mt19937 random(20261211);
    std::ostringstream actual;
    for (int round = 0; round < kRounds; ++round) {
        const TPair p = PairOfRound(random, round);
        static const std::int32_t none = 0;
        TDiff diff;
        const bool ok = diff.Execute(p.a.empty() ? &none : p.a.data(),
            p.b.empty() ? &none : p.b.data(),
            static_cast<std::int32_t>(p.a.size()),
            static_cast<std::int32_t>(p.b.size()));
        EXPECT_TRUE(ok) << "round " << round;
        actual << round << ' ' << diff.ChangeCount() << ' ' << std::hex << Digest(diff.ChangeList()) << std::dec
               << '\n';
    }
    return actual.str();
}

void ExpectRecorded(const std::string& actual)
{
    const std::string expected = test::TTempDir::Read(kRecorded);
    if (actual == expected) {
        return;
    }
    std::ofstream(kActual, std::ios::binary) << actual;
    std::istringstream want(expected);
    std::istringstream got(actual);
    std::string wantLine;
    std::string gotLine;
    int line = 1;
    while (std::getline(want, wantLine) && std::getline(got, gotLine) && wantLine == gotLine) {
        ++line;
    }
    ADD_FAILURE() << kRecorded.string() << ":" << line << ": expected \"" << wantLine << "\", got \"" << gotLine
                  << "\" (round, records, digest); all results are in " << kActual.string();
}

TEST(Diff, ChangeListsOfManyPairsAreTheRecordedOnes)
{
    ExpectRecorded(ChangeListsOfRounds());
}

// The vector passes stop at every diagonal they cannot settle in parallel
// and hand it to the scalar code; without them the scalar code walks all.
TEST(Diff, ChangeListsWithoutVectorPassesAreTheRecordedOnes)
{
    if (!diff_search::VectorPassesAvailable()) {
        GTEST_SKIP() << "this processor has no vector passes, so the test above ran the scalar ones";
    }
    diff_search::SetVectorPasses(false);
    const std::string actual = ChangeListsOfRounds();
    diff_search::SetVectorPasses(true);
    ExpectRecorded(actual);
}

// Pairs long enough for the second thread to take sub-problems over: the
// change lists must be the ones the caller's thread alone finds.
TEST(Diff, SecondThreadGivesTheSameChangeLists)
{
    std::mt19937 random(20261212);
    for (int round = 0; round < 12; ++round) {
        TPair p;
        if (round % 3 == 2) {
            p.a = SourceLike(random, 5000 + Below(random, 2000));
            p.b = p.a;
            for (std::size_t i = p.b.size(); i > 1; --i) {
                std::swap(p.b[i - 1], p.b[Below(random, static_cast<std::uint32_t>(i))]);
            }
        } else {
            p.a = SourceLike(random, 20'000 + Below(random, 20'000));
            p.b = Edited(random, p.a, 50 + Below(random, 400));
        }
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<TChangeRec> lists[2];
        for (const bool second : {false, true}) {
            AllowSecondThread(second);
            TDiff diff;
            ASSERT_TRUE(diff.Execute(
                p.a.data(), p.b.data(), static_cast<std::int32_t>(p.a.size()), static_cast<std::int32_t>(p.b.size())));
            lists[second] = diff.ChangeList();
        }
        AllowSecondThread(true);
        EXPECT_FALSE(lists[0].empty());
        EXPECT_EQ(lists[0], lists[1]);
    }
}

} // namespace
} // namespace quillet

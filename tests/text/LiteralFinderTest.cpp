#include "text/LiteralFinder.h"

#include "core/CharCase.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace quillet {
namespace {

struct TFolds {
    unsigned char identity[256];
    unsigned char ascii[256]; // a-z onto A-Z
    unsigned char crowded[256]; // a, b and c onto A: too many to compare in parallel
    TFolds()
    {
        for (int c = 0; c < 256; ++c) {
            const auto ch = static_cast<unsigned char>(c);
            identity[c] = ch;
            ascii[c] = (ch >= 'a' && ch <= 'z') ? static_cast<unsigned char>(ch - 32) : ch;
            crowded[c] = (ch >= 'a' && ch <= 'c') ? 'A' : ch;
        }
    }
};

std::size_t NaiveFind(std::string_view text, std::string_view needle, std::size_t from, const unsigned char* fold)
{
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < needle.size() && same; ++i) {
            same = fold[static_cast<unsigned char>(text[at + i])] == static_cast<unsigned char>(needle[i]);
        }
        if (same) {
            return at;
        }
    }
    return std::string_view::npos;
}

TEST(LiteralFinder, Cases)
{
    const TFolds folds;
    struct Case {
        const char* name;
        std::string needle; // folded
        const unsigned char (*fold)[256];
        std::string text;
        std::size_t from;
        std::size_t expected;
    };
    const std::size_t npos = TLiteralFinder::npos;
    const Case cases[] = {
        {"at the start", "ab", &folds.identity, "abc", 0, 0},
        {"from skips an earlier one", "ab", &folds.identity, "abab", 1, 2},
        {"overlapping occurrences", "aa", &folds.identity, "xaaa", 2, 2},
        {"last bytes of the text", "xyz", &folds.identity, std::string(40, '.') + "xyz", 0, 40},
        {"one byte short", "xyz", &folds.identity, std::string(40, '.') + "xy", 0, npos},
        {"first and last agree, middle differs", "a-b", &folds.identity, std::string(20, '.') + "a+b a-b", 0, 24},
        {"from past the end", "a", &folds.identity, "a", 2, npos},
        {"empty needle is found at from", "", &folds.identity, "abc", 1, 1},
        {"folded both ends", "NEEDLE", &folds.ascii, std::string(30, ' ') + "nEeDlE", 0, 30},
        {"one folded byte", "Q", &folds.ascii, "xxq", 0, 2},
        {"crowded fold falls back", "AA", &folds.crowded, "xxcb", 0, 2},
        {"NUL bytes", std::string("\0a", 2), &folds.identity, std::string("b\0\0a", 4), 0, 2},
        {"high bytes", "\xe9\xe8", &folds.identity, std::string(17, 'e') + "\xe9\xe8", 0, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TLiteralFinder finder(c.needle, *c.fold);
        EXPECT_EQ(finder.Find(c.text, c.from), c.expected);
        if (c.expected != npos) {
            EXPECT_TRUE(finder.MatchesAt(c.text, c.expected));
        }
    }
}

// Random texts over a small alphabet so that near-matches are everywhere, and
// lengths that put occurrences on every side of a 16-byte block.
TEST(LiteralFinder, SameAsNaiveSearch)
{
    const TFolds folds;
    unsigned char upper[256];
    for (int c = 0; c < 256; ++c) {
        upper[c] = UpperChar(static_cast<unsigned char>(c));
    }
    const unsigned char* tables[] = {folds.identity, folds.ascii, folds.crowded, upper};
    const char alphabet[] = {'a', 'b', 'A', 'B', 'c', '\xe9', '\xc9', '\0'};
    std::mt19937 rng(20261210);
    for (int round = 0; round < 3000; ++round) {
        const unsigned char* fold = tables[round % 4];
        std::string needle;
        const int needleLength = 1 + static_cast<int>(rng() % 5);
        for (int i = 0; i < needleLength; ++i) {
            needle.push_back(static_cast<char>(fold[static_cast<unsigned char>(alphabet[rng() % 8])]));
        }
        std::string text;
        const int textLength = static_cast<int>(rng() % 70);
        for (int i = 0; i < textLength; ++i) {
            text.push_back(alphabet[rng() % 8]);
        }
        unsigned char table[256];
        std::copy(fold, fold + 256, table);
        const TLiteralFinder finder(needle, table);
        for (std::size_t from = 0; from <= text.size(); from += 1 + rng() % 7) {
            ASSERT_EQ(finder.Find(text, from), NaiveFind(text, needle, from, fold))
                << "round " << round << " from " << from;
        }
    }
}

} // namespace
} // namespace quillet

#include "tools/FileSearcher.h"

#include "support/HonouredPermissions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillet {
namespace {

const TCharSet kDelimiters = MakeDelimiters("/{}+-*():=,;><$.#[]^@&~|%'\"");

struct TFound {
    std::size_t line, column, length;
    std::string lineText;
    bool operator==(const TFound&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TFound& f)
{
    return out << "(" << f.line << "," << f.column << "," << f.length << ",\"" << f.lineText << "\")";
}

std::vector<TFound> Search(std::string_view pattern, TMatchFlags flags, std::string_view text)
{
    TFileSearcher searcher(pattern, flags, kDelimiters);
    std::vector<TFound> found;
    searcher.SearchText(text, [&](const TFileMatch& m) {
        found.push_back({m.line, m.column, m.length, std::string(m.lineText)});
        return true;
    });
    return found;
}

const TMatchFlags kExact{true, false, false};
const TMatchFlags kAnyCase{false, false, false};
const TMatchFlags kWords{false, true, false};
const TMatchFlags kRegex{true, false, true};
const TMatchFlags kRegexAnyCase{false, false, true};

TEST(FileSearcher, FindsEveryMatchWithLineAndDisplayColumn)
{
    struct Case {
        const char* name;
        std::string pattern;
        TMatchFlags flags;
        std::string text;
        std::vector<TFound> expected;
    };
    const Case cases[] = {
        {"third line", "b", kExact, "x\ny\nif a = b then\n", {{2, 7, 1, "if a = b then"}}},
        {"two matches in one line", "ab", kExact, "ab ab", {{0, 0, 2, "ab ab"}, {0, 3, 2, "ab ab"}}},
        {"overlapping text continues after the match", "aa", kExact, "aaa", {{0, 0, 2, "aaa"}}},
        {"ignoring case", "AB", kAnyCase, "xab\nAb", {{0, 1, 2, "xab"}, {1, 0, 2, "Ab"}}},
        {"case sensitive", "AB", kExact, "xab\nAB", {{1, 0, 2, "AB"}}},
        {"whole words", "ab", kWords, "abc ab cab\nab", {{0, 4, 2, "abc ab cab"}, {1, 0, 2, "ab"}}},
        {"whole words dropped for a text with a delimiter", "a.b", kWords, "xa.by", {{0, 1, 3, "xa.by"}}},
        {"tab expands to the next stop", "b", kExact, "a\tb", {{0, 9, 1, "a        b"}}},
        {"CR LF, CR and LF end lines", "z", kExact, "a\r\nz\rz\nz", {{1, 0, 1, "z"}, {2, 0, 1, "z"}, {3, 0, 1, "z"}}},
        {"trailing blanks are not searched", " ", kExact, "a \nb", {}},
        {"blank text across an expanded tab", "a  b", kExact, "x\nxxxxxxa\tb", {{1, 6, 4, "xxxxxxa  b"}}},
        {"line break in the text finds nothing", "a\nb", kExact, "a\nb", {}},
        {"regex", "{ab}+", kRegex, "xababab y ab", {{0, 1, 6, "xababab y ab"}, {0, 10, 2, "xababab y ab"}}},
        {"regex with a required literal",
            "fo+[0-9]",
            kRegex,
            "x\nfoo1 fo2\n",
            {{1, 0, 4, "foo1 fo2"}, {1, 5, 3, "foo1 fo2"}}},
        {"regex folds only a-z", "\xe9x", kRegexAnyCase, "\xc9X \xe9X", {{0, 3, 2, "\xc9X \xe9X"}}},
        {"empty match once per line",
            "x*",
            kRegex,
            "ab\n\naxxb",
            {{0, 0, 0, "ab"}, {1, 0, 0, ""}, {2, 0, 0, "axxb"}, {2, 1, 2, "axxb"}}},
        {"line start", "^", kRegex, "a\nb", {{0, 0, 0, "a"}, {1, 0, 0, "b"}}},
        {"empty text", "", kExact, "abc", {}},
        {"binary bytes are ordinary",
            std::string("\0b", 2),
            kExact,
            std::string("a\0b", 3),
            {{0, 1, 2, std::string("a\0b", 3)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Search(c.pattern, c.flags, c.text), c.expected);
    }
}

TEST(FileSearcher, InvalidPatternSearchesNothing)
{
    TFileSearcher searcher("+a", kRegex, kDelimiters);
    EXPECT_FALSE(searcher.IsValid());
    EXPECT_EQ(searcher.ErrorMessage(), "+a is invalid mask at (1)");
    int calls = 0;
    EXPECT_TRUE(searcher.SearchText("+a", [&](const TFileMatch&) {
        return ++calls > 0;
    }));
    EXPECT_EQ(calls, 0);
}

// The raw-byte scan that picks candidate lines must find what matching every
// line finds: "{a}b" has no literal to scan for, "ab" has.
TEST(FileSearcher, CandidateScanAgreesWithLineScan)
{
    std::mt19937 random(20261210);
    const std::string alphabet = "abAB \t\r\n.x";
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int size = static_cast<int>(random() % 300);
        for (int i = 0; i < size; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        SCOPED_TRACE(text);
        EXPECT_EQ(Search("ab", kExact, text), Search("{a}b", kRegex, text));
        EXPECT_EQ(Search("ab", kAnyCase, text), Search("{a}b", kRegexAnyCase, text));
        EXPECT_EQ(Search("b a", kExact, text), Search("{b} a", kRegex, text));
    }
}

// The raw scan looks for one of the literals or runs of small sets every
// match holds (the one rarest in the first bytes searched, a tab standing for
// the blanks it expands to) and checks the others in its line: with it and without it every
// search gives the same matches. One searcher takes many texts, so the
// literal it scans for changes on the way.
TEST(FileSearcher, RawScanChangesNoMatch)
{
    std::mt19937 random(1210);
    const auto pick = [&](std::size_t n) {
        return static_cast<std::size_t>(random() % n);
    };
    const std::string alphabet = "abcAB  \t\t\r\n.";
    static const char* const kPieces[] = {"ab",
        "b a",
        "a  b",
        "c ",
        " c",
        "\tb",
        "ba",
        "A",
        "[ab]*",
        ".",
        "c+",
        "{ab}+",
        "b",
        "[cv]",
        "[a ]",
        "[bB]",
        "[^a]",
        "[A-C]",
        "{a[bc]}",
        "[ \t]b",
        "[ab]+"};
    for (int round = 0; round < 400; ++round) {
        std::string pattern;
        for (std::size_t i = 0, count = 1 + pick(4); i < count; ++i) {
            pattern += kPieces[pick(std::size(kPieces))];
        }
        const TMatchFlags flags{pick(2) == 0, false, pick(3) != 0};
        TFileSearcher scanning(pattern, flags, kDelimiters);
        TFileSearcher every(pattern, flags, kDelimiters);
        every.SetRawScan(false);
        for (int text = 0; text < 12; ++text) {
            std::string bytes;
            for (std::size_t i = 0, size = pick(400); i < size; ++i) {
                bytes += pick(6) == 0 ? std::string(kPieces[pick(7)]) : std::string(1, alphabet[pick(alphabet.size())]);
            }
            const auto collect = [&](TFileSearcher& searcher) {
                std::vector<TFound> found;
                searcher.SearchText(bytes, [&](const TFileMatch& m) {
                    found.push_back({m.line, m.column, m.length, std::string(m.lineText)});
                    return true;
                });
                return found;
            };
            ASSERT_EQ(collect(scanning), collect(every))
                << "pattern '" << pattern << "'" << (flags.caseSensitive ? " (case)" : "")
                << (flags.regularExpr ? " (regex)" : "") << " text '" << bytes << "'";
        }
    }
}

TEST(FileSearcher, StopsWhenTheCallerSaysSo)
{
    TFileSearcher searcher("a", kExact, kDelimiters);
    int calls = 0;
    EXPECT_FALSE(searcher.SearchText("a a\na", [&](const TFileMatch&) {
        return ++calls < 2;
    }));
    EXPECT_EQ(calls, 2);

    // No match, and a pattern without a literal to scan for, so every line
    // is matched: only the poll can stop it.
    const std::string big(std::size_t{16} << 20, 'x');
    int polls = 0;
    EXPECT_FALSE(TFileSearcher("[yz]", kRegex, kDelimiters)
                     .SearchText(
                         std::string(big).replace(100, 1, "\n").append(std::string(40000, '\n')),
                         [](const TFileMatch&) {
                             return true;
                         },
                         [&] {
                             return ++polls < 1;
                         }));
    EXPECT_EQ(polls, 1);
}

TEST(FileSearcher, UnreadableAndSpecialFilesAreEmpty)
{
    test::TTempDir dir;
    const auto file = dir.Write("secret.txt", "needle");
    ::chmod(file.c_str(), 0);
    ASSERT_EQ(::mkfifo((dir.Path() / "pipe").c_str(), 0600), 0);
    TFileSearcher searcher("needle", kExact, kDelimiters);
    int calls = 0;
    const auto count = [&](const TFileMatch&) {
        return ++calls > 0;
    };
    std::string bytes;
    {
        const test::THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        EXPECT_TRUE(searcher.SearchFile(file, count));
        EXPECT_FALSE(TFileSearcher::ReadRegularFile(file, bytes));
    }
    EXPECT_TRUE(searcher.SearchFile(dir.Path() / "pipe", count)); // returns at once, never blocks
    EXPECT_TRUE(searcher.SearchFile(dir.Path() / "gone.txt", count));
    EXPECT_TRUE(searcher.SearchFile(dir.Path(), count));
    EXPECT_EQ(calls, 0);
    ::chmod(file.c_str(), 0600);
    EXPECT_TRUE(searcher.SearchFile(file, count));
    EXPECT_GE(calls, 1);
}

} // namespace
} // namespace quillet

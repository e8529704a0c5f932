#include "text/TextMatch.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quillet {
namespace {

const TCharSet kDelimiters = MakeDelimiters("/{}+-*():=,;><$.#[]^@&~|%'\"");

TEST(SearchMatch, LiteralInOneLine)
{
    struct Case {
        const char* name;
        std::string text;
        TMatchFlags flags;
        std::string line;
        std::size_t from;
        bool backward;
        std::optional<TLineMatch> expected;
    };
    const std::optional<TLineMatch> none;
    const TMatchFlags exact{true, false, false};
    const TMatchFlags anyCase{false, false, false};
    const TMatchFlags words{true, true, false};
    const Case cases[] = {
        {"match right at the start column", "ab", exact, "xxab", 2, false, TLineMatch{2, 2}},
        {"first occurrence after the start", "ab", exact, "abxab", 1, false, TLineMatch{3, 2}},
        {"case differs", "AB", exact, "ab", 0, false, none},
        {"ignoring case", "AB", anyCase, "xaB", 0, false, TLineMatch{1, 2}},
        {"accented letters follow the code page", "\xe9t\xe9", anyCase, "x\xc9T\xc9", 0, false, TLineMatch{1, 3}},
        {"whole word skips word parts", "ab", words, "aab abc ab", 0, false, TLineMatch{8, 2}},
        {"whole word between delimiters", "ab", words, "x.ab(y)", 0, false, TLineMatch{2, 2}},
        {"whole word never found", "ab", words, "abab", 0, false, none},
        {"NUL bytes are ordinary", std::string("a\0b", 3), exact, std::string("xa\0b", 4), 0, false, TLineMatch{1, 3}},
        {"start beyond the line", "a", exact, "a", 5, false, none},
        {"empty text finds nothing", "", exact, "abc", 0, false, none},
        {"backward: start strictly before", "ab", exact, "abxab", 3, true, TLineMatch{0, 2}},
        {"backward: may end after the start", "ab", exact, "abxab", 4, true, TLineMatch{3, 2}},
        {"backward: from the line end", "ab", exact, "abxab", kLineEnd, true, TLineMatch{3, 2}},
        {"backward ignores trailing blanks", "b ", exact, "ab   ", kLineEnd, true, none},
        {"backward finds the text before the blanks", "ab", exact, "ab \t ", kLineEnd, true, TLineMatch{0, 2}},
        {"backward whole words", "ab", words, "ab abc", kLineEnd, true, TLineMatch{0, 2}},
        {"backward ignoring case", "x", anyCase, "XaX", 2, true, TLineMatch{0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTextMatcher matcher(c.text, c.flags, kDelimiters);
        ASSERT_TRUE(matcher.IsValid());
        if (c.backward) {
            EXPECT_EQ(matcher.FindBackward(c.line, c.from), c.expected);
        } else {
            EXPECT_EQ(matcher.FindForward(c.line, c.from), c.expected);
        }
    }
}

TEST(SearchMatch, AcrossLines)
{
    const std::vector<std::string> text{"one ab", "", "ab two ab  ", "end"};
    const TStringLineList lines(text);
    struct Case {
        const char* name;
        const char* find;
        TMatchFlags flags;
        TLinePoint start;
        bool backward;
        std::optional<TTextMatch> expected;
    };
    const std::optional<TTextMatch> none;
    const TMatchFlags plain{true, false, false};
    const TMatchFlags regex{true, false, true};
    const Case cases[] = {
        {"caret right before a match", "ab", plain, {0, 4}, false, TTextMatch{{0, 4}, 2}},
        {"after the caret's match, the next line", "ab", plain, {0, 5}, false, TTextMatch{{2, 0}, 2}},
        {"caret beyond a short line", "ab", plain, {1, 7}, false, TTextMatch{{2, 0}, 2}},
        {"nothing further", "ab", plain, {2, 8}, false, none},
        {"start below the last line", "ab", plain, {9, 0}, false, none},
        {"backward within the line", "ab", plain, {2, 7}, true, TTextMatch{{2, 0}, 2}},
        {"backward to an earlier line", "ab", plain, {2, 0}, true, TTextMatch{{0, 4}, 2}},
        {"backward from below the end", "ab", plain, {9, 0}, true, TTextMatch{{2, 7}, 2}},
        {"pattern: empty line", "^$", regex, {0, 0}, false, TTextMatch{{1, 0}, 0}},
        {"pattern: backward", "a.", regex, {3, 0}, true, TTextMatch{{2, 7}, 2}},
        {"pattern: line end", "$", regex, {0, 2}, false, TTextMatch{{0, 6}, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTextMatcher matcher(c.find, c.flags, kDelimiters);
        EXPECT_EQ(matcher.Find(lines, c.start, c.backward), c.expected);
    }
}

// Lines whose stored bytes keep their tabs: a search skips lines by their
// stored bytes but must find what the expanded lines hold, so it gives the
// same results as a search over the expanded lines themselves.
TEST(SearchMatch, StoredBytesWithTabsHideNoMatch)
{
    class TTabbedLines final : public ILineList {
    public:
        TTabbedLines(const std::vector<std::string>& raw, const std::vector<std::string>& expanded)
            : m_raw(raw)
            , m_expanded(expanded)
        {
        }
        std::size_t LineCount() const override { return m_raw.size(); }
        std::string_view Line(std::size_t index) const override { return m_expanded[index]; }
        std::string_view RawLine(std::size_t index) const override { return m_raw[index]; }

    private:
        const std::vector<std::string>& m_raw;
        const std::vector<std::string>& m_expanded;
    };
    const std::vector<std::string> raw{"a\tb", "x", "\tc d", "ab\tcd"};
    const std::vector<std::string> expanded{"a       b", "x", "        c d", "ab      cd"};
    const TTabbedLines tabbed(raw, expanded);
    const TStringLineList plain(expanded);
    const char* const finds[] = {" b", "  c", "b", "C D", "d", "{ }+c", "a +b", "b *c", "[x]"};
    for (const char* find : finds) {
        for (const TMatchFlags flags : {TMatchFlags{true, false, false},
                 TMatchFlags{false, false, false},
                 TMatchFlags{false, false, true},
                 TMatchFlags{true, true, false}}) {
            for (const bool backward : {false, true}) {
                SCOPED_TRACE(std::string(find) + (backward ? " backward" : " forward"));
                TTextMatcher viaRaw(find, flags, kDelimiters);
                TTextMatcher viaExpanded(find, flags, kDelimiters);
                const TLinePoint start = backward ? TLinePoint{4, 0} : TLinePoint{0, 0};
                EXPECT_EQ(viaRaw.Find(tabbed, start, backward), viaExpanded.Find(plain, start, backward));
            }
        }
    }
}

// Repeating a search from where the last empty match left the caret must move on.
TEST(SearchMatch, EmptyMatchesAdvance)
{
    const std::vector<std::string> text{"ab", "c"};
    const TStringLineList lines(text);
    TTextMatcher matcher("x*", {true, false, true}, kDelimiters);
    std::vector<TLinePoint> found;
    TLinePoint caret{0, 0};
    while (std::optional<TTextMatch> match = matcher.Find(lines, caret, false)) {
        EXPECT_EQ(match->length, 0u);
        found.push_back(match->point);
        caret = match->point;
        ASSERT_LT(found.size(), 10u);
    }
    const std::vector<TLinePoint> expected{{0, 1}, {0, 2}, {1, 0}, {1, 1}};
    EXPECT_EQ(found, expected);
}

TEST(SearchMatch, PatternWholeWordsAndErrors)
{
    TTextMatcher words("a+", {true, true, true}, kDelimiters);
    EXPECT_EQ(words.FindForward("baa aa", 0), (TLineMatch{4, 2}));
    EXPECT_EQ(words.FindBackward("aa baa", kLineEnd), (TLineMatch{0, 2}));

    TTextMatcher broken("+a", {true, false, true}, kDelimiters);
    EXPECT_FALSE(broken.IsValid());
    EXPECT_EQ(broken.ErrorMessage(), "+a is invalid mask at (1)");
    const std::vector<std::string> text{"+a"};
    EXPECT_EQ(broken.Find(TStringLineList(text), {0, 0}, false), std::nullopt);
}

// Every match of a long line, one search after the other, must cost about one
// pass over the line; the test finishing is the assertion.
TEST(SearchMatch, AllMatchesOfALongLine)
{
    std::string line;
    for (int i = 0; i < 300000; ++i) {
        line += "aB ";
    }
    for (const TMatchFlags flags : {TMatchFlags{false, false, false}, TMatchFlags{false, true, true}}) {
        TTextMatcher matcher(flags.regularExpr ? "ab" : "AB", flags, kDelimiters);
        std::size_t count = 0;
        std::size_t from = 0;
        while (std::optional<TLineMatch> match = matcher.FindForward(line, from)) {
            ++count;
            from = match->position + match->length;
        }
        EXPECT_EQ(count, 300000u);
    }
}

TEST(SearchMatch, Delimiters)
{
    EXPECT_TRUE(kDelimiters[0]);
    EXPECT_TRUE(kDelimiters[' ']);
    EXPECT_TRUE(kDelimiters['.']);
    EXPECT_FALSE(kDelimiters['_']);
    EXPECT_FALSE(kDelimiters[127]);
    EXPECT_TRUE(ContainsDelimiter("a.b", kDelimiters));
    EXPECT_FALSE(ContainsDelimiter("a_b", kDelimiters));
}

} // namespace
} // namespace quillet

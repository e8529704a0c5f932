#include "text/RegExpr.h"

#include "core/Translations.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace quillet {
namespace {

std::optional<TLineMatch> FirstMatch(std::string_view pattern, std::string_view line, bool caseSensitive = true)
{
    TRegExpr re(pattern, caseSensitive);
    EXPECT_TRUE(re.IsValid()) << re.ErrorMessage();
    return re.FindForward(line, 0);
}

TEST(RegExpr, SyntaxAndMatching)
{
    struct Case {
        const char* pattern;
        const char* line;
        bool caseSensitive;
        std::optional<TLineMatch> expected;
    };
    const std::optional<TLineMatch> none;
    const Case cases[] = {
        {"abc", "xxabcx", true, TLineMatch{2, 3}},
        {"abc", "xxABC", true, none},
        {"abc", "xxABC", false, TLineMatch{2, 3}},
        {"ABC", "abc", false, TLineMatch{0, 3}},
        {"[a-z]+", "12QRs3", false, TLineMatch{2, 3}},
        {"\xe9", "\xc9", false, none}, // only a-z fold, never accented letters
        {".", "\t", true, TLineMatch{0, 1}},
        {"a.c", "abc", true, TLineMatch{0, 3}},
        {"a(", "xa(", true, TLineMatch{1, 2}},
        {"(a)", "(a)", true, TLineMatch{0, 3}},
        {"a?", "ba?", true, TLineMatch{1, 2}},
        {"a|b", "b a|b", true, TLineMatch{2, 3}},
        {"a}", "a}", true, TLineMatch{0, 2}},
        {"\\.", "a.", true, TLineMatch{1, 1}},
        {"\\\\", "a\\", true, TLineMatch{1, 1}},
        {"\\*+", "a**", true, TLineMatch{1, 2}},
        {"[abc]", "xxc", true, TLineMatch{2, 1}},
        {"[^abc]", "abcd", true, TLineMatch{3, 1}},
        {"[^a]", "Ab", false, TLineMatch{1, 1}}, // negation applies after folding
        {"[c-a]", "abc", true, none}, // a range ending below its start adds nothing
        {"[c-ax]", "abcx", true, TLineMatch{3, 1}},
        {"[a-]", "-", true, TLineMatch{0, 1}},
        {"[\\]]", "a]", true, TLineMatch{1, 1}},
        {"[\\-a]", "-", true, TLineMatch{0, 1}},
        {"[\\d]", "\\", true, TLineMatch{0, 1}}, // backslash before other characters is a member
        {"[\\d]", "d", true, TLineMatch{0, 1}},
        {"[\\^]", "^", true, TLineMatch{0, 1}},
        {"[a-c]+", "xbcab", true, TLineMatch{1, 4}},
        {"^ab", "abab", true, TLineMatch{0, 2}},
        {"^b", "ab", true, none},
        {"ab$", "abab", true, TLineMatch{2, 2}},
        {"$", "abc", true, TLineMatch{3, 0}},
        {"^", "abc", true, TLineMatch{0, 0}},
        {"^$", "", true, TLineMatch{0, 0}},
        {"^$", "a", true, none},
        {"x*", "abc", true, TLineMatch{0, 0}},
        {"{ab}+", "ababab", true, TLineMatch{0, 6}},
        {"{ab}+c", "abababc", true, TLineMatch{0, 7}},
        {"{ab}*abc", "ababc", true, TLineMatch{0, 5}}, // the group gives back an iteration
        {"a*ab", "aaab", true, TLineMatch{0, 4}},
        {"a.*b", "axbxbx", true, TLineMatch{0, 5}}, // greedy: the last b
        {"{a*}*b", "aab", true, TLineMatch{0, 3}},
        {"{x*}+y", "y", true, TLineMatch{0, 1}},
        {"{a{bc}*}+d", "abcbcad", true, TLineMatch{0, 7}},
        {"a+", "baaa", true, TLineMatch{1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " in " + c.line);
        EXPECT_EQ(FirstMatch(c.pattern, c.line, c.caseSensitive), c.expected);
    }
}

TEST(RegExpr, MatchesAcrossNulBytes)
{
    TRegExpr re("a.b", true);
    const std::string line("x\0a\0b", 5);
    EXPECT_EQ(re.FindForward(line, 0), (TLineMatch{2, 3}));
}

TEST(RegExpr, InvalidMaskPositions)
{
    struct Case {
        const char* pattern;
        int position;
    };
    const Case cases[] = {
        {"+a", 1}, // quantifier at the start
        {"*", 1},
        {"^*", 2}, // after ^
        {"a$+", 3}, // after $
        {"a**", 3}, // after another quantifier
        {"a+*", 3},
        {"{*a}", 2}, // nothing to repeat at the start of a group
        {"ab\\", 3}, // trailing backslash
        {"[]", 2}, // empty set
        {"[^]", 3},
        {"a[-z]", 3}, // set starting with -
        {"[^-z]", 3},
        {"[abc", 1}, // set without ]
        {"[a\\]", 1}, // the ] is escaped, so the set never closes
        {"[", 1},
        {"[^", 1},
        {"{ab", 1}, // { without }
        {"{{a}", 1},
        {"{a{b", 3}, // the innermost open group
        {"ab{c}{", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        TRegExpr re(c.pattern, true);
        EXPECT_FALSE(re.IsValid());
        EXPECT_EQ(re.ErrorPosition(), c.position);
        EXPECT_EQ(
            re.ErrorMessage(), std::string(c.pattern) + " is invalid mask at (" + std::to_string(c.position) + ")");
        EXPECT_EQ(re.FindForward("aaa", 0), std::nullopt);
    }
}

TEST(RegExpr, ErrorMessageIsTranslatedWithCheckedPlaceholders)
{
    test::TTempDir dir;
    dir.Write("Ordered.lng", "[Translations]\nInvalidMask=%s ist keine Maske (Stelle %d)\n");
    dir.Write("Swapped.lng", "[Translations]\nInvalidMask=Stelle %d in %s\n");
    dir.Write("Hostile.lng", "[Translations]\nInvalidMask=%s%s%s%n%d\n");
    const auto folders = Translator().LanguageFolders();
    Translator().SetLanguageFolders({dir.Path()});
    struct Case {
        const char* language;
        const char* expected;
    };
    const Case cases[] = {
        {"Ordered.lng", "+a ist keine Maske (Stelle 1)"},
        // Placeholders out of order or of another number: the English text.
        {"Swapped.lng", "+a is invalid mask at (1)"},
        {"Hostile.lng", "+a is invalid mask at (1)"},
        {"", "+a is invalid mask at (1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        ResetLang(c.language);
        EXPECT_EQ(TRegExpr("+a", true).ErrorMessage(), c.expected);
    }
    ResetLang("");
    Translator().SetLanguageFolders(folders);
}

TEST(RegExpr, NestedRepetitionStaysWithinTheStepBound)
{
    // Patterns that take plain backtracking exponential or quadratic time on
    // a long line that almost matches.
    const std::string line(5000, 'a');
    for (const char* pattern : {"{a*}*b", "{{a}+}+{a}+c", "a*a*a*a*a*b", "{a*a*}*$b", ".*.*=.*"}) {
        SCOPED_TRACE(pattern);
        TRegExpr re(pattern, true);
        ASSERT_TRUE(re.IsValid()) << re.ErrorMessage();
        EXPECT_EQ(re.FindForward(line, 0), std::nullopt);
        EXPECT_LE(re.StepsOfLastSearch(), 4 * (re.ProgramSize() + 1) * (line.size() + 2));
        EXPECT_EQ(re.FindBackward(line, line.size() + 1), std::nullopt);
        EXPECT_LE(re.StepsOfLastSearch(), 4 * (re.ProgramSize() + 1) * (line.size() + 2));
    }
}

TEST(RegExpr, FindForwardAndBackwardFromAPosition)
{
    TRegExpr re("ab", true);
    EXPECT_EQ(re.FindForward("abxab", 1), (TLineMatch{3, 2}));
    EXPECT_EQ(re.FindForward("abxab", 3), (TLineMatch{3, 2}));
    EXPECT_EQ(re.FindForward("abxab", 4), std::nullopt);
    EXPECT_EQ(re.FindForward("abxab", 99), std::nullopt);
    EXPECT_EQ(re.FindBackward("abxab", 3), (TLineMatch{0, 2})); // starts strictly before 3
    EXPECT_EQ(re.FindBackward("abxab", 4), (TLineMatch{3, 2})); // may run past `before`
    EXPECT_EQ(re.FindBackward("abxab", 0), std::nullopt);

    TRegExpr end("$", true);
    EXPECT_EQ(end.FindBackward("abc", 3), std::nullopt);
    EXPECT_EQ(end.FindBackward("abc", static_cast<std::size_t>(-1)), (TLineMatch{3, 0}));
    EXPECT_EQ(end.MatchAt("abc", 3), std::optional<std::size_t>(3));
    EXPECT_EQ(end.MatchAt("abc", 2), std::nullopt);
}

// Patterns that make a plain backtracking matcher take exponential time must
// answer at once; the test finishing is the assertion.
TEST(RegExpr, NestedRepetitionOnLongLinesStaysBounded)
{
    const std::string as(10000, 'a');
    TRegExpr emptyLoop("{a*}*b", true);
    EXPECT_EQ(emptyLoop.FindForward(as, 0), std::nullopt);
    EXPECT_EQ(emptyLoop.FindBackward(as, static_cast<std::size_t>(-1)), std::nullopt);

    TRegExpr nested("{{a+}+}+", true);
    EXPECT_EQ(nested.FindForward(as, 0), (TLineMatch{0, 10000}));
    TRegExpr nestedFail("{{a+}+}+b", true);
    EXPECT_EQ(nestedFail.FindForward(as, 0), std::nullopt);

    TRegExpr emptyGroups("{x*}+{a*}*", true);
    EXPECT_EQ(emptyGroups.FindForward(as, 0), (TLineMatch{0, 10000}));
}

TEST(RegExpr, AnyRunOverAMegabyteLineNeedsNoDeepStack)
{
    std::string line(1 << 20, 'x');
    line.back() = 'y';
    TRegExpr all(".*", true);
    EXPECT_EQ(all.FindForward(line, 0), (TLineMatch{0, line.size()}));
    TRegExpr lastY("{.}*y", true);
    EXPECT_EQ(lastY.FindForward(line, 0), (TLineMatch{0, line.size()}));
    TRegExpr missing("x.*z", true);
    EXPECT_EQ(missing.FindForward(line, 0), std::nullopt);
}

TEST(RegExpr, VeryLongPatternCompilesAndMatches)
{
    std::string pattern(100000, 'a');
    TRegExpr re(pattern, false);
    ASSERT_TRUE(re.IsValid());
    EXPECT_EQ(re.FindForward(std::string(100001, 'A'), 0), (TLineMatch{0, 100000}));
    EXPECT_EQ(re.FindForward(std::string(99999, 'a'), 0), std::nullopt);

    TRegExpr deep(std::string(50000, '{') + "a" + std::string(50000, '}') + "+", true);
    ASSERT_TRUE(deep.IsValid());
    EXPECT_EQ(deep.FindForward("baaa", 0), (TLineMatch{1, 3}));
}

TEST(RegExpr, RecompileReplacesThePattern)
{
    TRegExpr re;
    EXPECT_FALSE(re.IsValid());
    EXPECT_FALSE(re.Compile("[", true));
    EXPECT_TRUE(re.Compile("b+", true));
    EXPECT_TRUE(re.ErrorMessage().empty());
    EXPECT_EQ(re.FindForward("abb", 0), (TLineMatch{1, 2}));
}

} // namespace
} // namespace quillet

// Replace-all rewrites the changed lines in one pass when it can; the result
// must be exactly that of searching and replacing one occurrence after the
// other: text, caret, tracked positions, bookmarks, options, the undo step and
// its redo. Each case runs both routes on twin buffers and compares them.
#include "support/BufferText.h"
#include "text/MemoSearch.h"
#include "text/SimpleParser.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

struct TRouteCase {
    const char* name;
    std::string text;
    std::string find;
    std::string with;
    bool caseSensitive = true;
    bool wholeWords = false;
    TSearchOrigin origin = soEntireScope;
    TTextPoint caret{0, 0};
    bool keepBlanks = true;
    bool coloured = false; // a highlighter colours every line first
};

// A highlighter whose state flips at each '#', so that a line's colours
// depend on its text and on the lines before it.
class THashParser : public TSimpleParser {
public:
    std::uint32_t ColorString(std::string_view text, std::uint32_t state, std::vector<std::uint8_t>& attrs) override
    {
        attrs.resize(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            state ^= text[i] == '#' ? 1U : 0U;
            attrs[i] = static_cast<std::uint8_t>(1 + state);
        }
        return state;
    }
};

// Everything of one buffer a replace-all may change.
struct TState {
    std::string text;
    TTextPoint caret;
    TTextPoint tracked;
    std::vector<TTextPoint> bookmarks;
    bool modified = false;
    bool undo = false;
    bool redo = false;
    std::vector<std::string> colours; // of every line, coloured afresh

    bool operator==(const TState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TState& s)
{
    out << "'" << s.text << "' caret " << s.caret.col << "," << s.caret.line << " tracked " << s.tracked.col << ","
        << s.tracked.line << " bookmarks";
    for (const TTextPoint& b : s.bookmarks) {
        out << " " << b.col << "," << b.line;
    }
    return out << (s.modified ? " modified" : "") << (s.undo ? " undo" : "") << (s.redo ? " redo" : "");
}

class TRoute {
public:
    TRoute(const TRouteCase& c, bool onePass)
    {
        source.SetKeepTrailingBlanks(c.keepBlanks);
        source.SetDelimeters("/{}+-*():=,;><$.#[]^@&~|%'\"");
        source.LoadFromText(c.text);
        if (c.coloured) {
            source.SetSyntaxParser(&parser);
            source.ParseToString(source.GetStrCount() - 1, true);
        }
        options.TextToFind = c.find;
        options.ReplaceWith = c.with;
        options.CaseSensitive = c.caseSensitive;
        options.WholeWordsOnly = c.wholeWords;
        options.Origin = c.origin;
        options.ReplaceAll = true;
        search.SetOnePassReplaceAll(onePass);
        // A tracked position and a bookmark behind the first occurrences.
        const int line = std::min(1, std::max(source.GetStrCount() - 1, 0));
        tracked = source.CopyPosition({std::max(source.LineLength(line) - 1, 0), line});
        source.JumpTo(std::min(2, source.LineLength(0)), 0);
        source.SetBookMark(1);
        source.JumpTo(c.caret.col, c.caret.line);
    }
    TState State()
    {
        TState s;
        if (source.SyntaxParser()) {
            // What the view shows: each line's colours once parsed again.
            source.ParseToString(source.GetStrCount() - 1);
            for (int line = 0; line < source.GetStrCount(); ++line) {
                s.colours.emplace_back(source.Store().Style(static_cast<std::size_t>(line)));
            }
        }
        s.text = test::JoinedLines(source);
        s.caret = source.GetCaretPoint();
        s.tracked = tracked->Point();
        for (const TBookmark& b : source.Bookmarks()) {
            s.bookmarks.push_back({b.col, b.line});
        }
        s.modified = source.Modified();
        s.undo = source.UndoAvailable();
        s.redo = source.RedoAvailable();
        return s;
    }

    THashParser parser; // outlives the buffer that holds it
    TMemoSource source;
    TSearchOptions options;
    TMemoSearch search{source, options};
    TPosition* tracked = nullptr;
};

// Returns whether the one-pass route was taken (fewer undo records).
bool CompareRoutes(const TRouteCase& c)
{
    SCOPED_TRACE(c.name);
    TRoute onePass(c, true);
    TRoute stepwise(c, false);
    const TState before = stepwise.State();
    const bool replacedOnePass = onePass.search.Replace();
    const bool replacedStepwise = stepwise.search.Replace();
    EXPECT_EQ(replacedOnePass, replacedStepwise);
    EXPECT_EQ(onePass.search.ReplaceCount(), stepwise.search.ReplaceCount());
    EXPECT_EQ(onePass.options.WholeWordsOnly, stepwise.options.WholeWordsOnly);
    EXPECT_EQ(onePass.options.ShowNotFound, stepwise.options.ShowNotFound);
    EXPECT_EQ(onePass.options.FirstSearch, stepwise.options.FirstSearch);
    EXPECT_EQ(onePass.State(), stepwise.State());
    EXPECT_FALSE(onePass.source.FoundVisible());
    const bool tookOnePass = onePass.source.UndoList().Count() < stepwise.source.UndoList().Count();
    onePass.source.Undo();
    stepwise.source.Undo();
    EXPECT_EQ(onePass.State(), stepwise.State());
    EXPECT_EQ(onePass.State().text, before.text);
    onePass.source.Redo();
    stepwise.source.Redo();
    EXPECT_EQ(onePass.State(), stepwise.State());
    onePass.source.Undo();
    stepwise.source.Undo();
    EXPECT_EQ(onePass.State(), stepwise.State());
    EXPECT_EQ(onePass.State().text, before.text);
    return tookOnePass;
}

TEST(ReplaceAllRoutes, SameResultAsOneReplacementAfterTheOther)
{
    const TRouteCase cases[] = {
        {"several per line, longer replacement", "the cat the\nno\nthe the", "the", "a longer one"},
        {"shorter replacement", "abcabc\nxabc", "abc", "x"},
        {"empty replacement", "a-b-c\n--", "-", ""},
        {"replacement holds the text", "aa a\na", "a", "aa"},
        {"overlapping occurrences", "aaaa\naaa", "aa", "b"},
        {"whole words", "the then the\nthe.", "the", "a", true, true},
        {"whole words dropped for a delimiter", "a.b a.bc\na.b", "a.b", "X", true, true},
        {"any case", "The THE tHe\nthe", "the", "a", false},
        {"from the cursor", "ab ab\nab ab\nab", "ab", "C", true, false, soFromCursor, {3, 0}},
        {"cursor beyond its line", "ab\nab ab", "ab", "x", true, false, soFromCursor, {9, 0}},
        {"cursor below the text", "ab\nab", "ab", "x", true, false, soFromCursor, {0, 5}},
        {"nothing found", "abc\ndef", "zz", "y"},
        {"only line emptied", "ab", "ab", ""},
        {"tab on a line with a match", "\tab\nab", "ab", "x"},
        {"tab on a line without a match", "\tcd\nab ab", "ab", "x"},
        {"text with a blank", "a b a b\n a b", "a b", "-"},
        {"trimmed lines: no trailing blanks", "ab x\ncd ab\nab", "ab", "q", true, false, soEntireScope, {0, 0}, false},
        {"trimmed lines: trailing blanks", "ab x  \ncd ab\nab", "ab", "q", true, false, soEntireScope, {0, 0}, false},
        {"trimmed lines: replacement ends in a blank",
            "x ab\nab",
            "ab",
            "y ",
            true,
            false,
            soEntireScope,
            {0, 0},
            false},
        {"trimmed lines: caret line has blanks", "x  \nab\nab", "ab", "y", true, false, soEntireScope, {0, 0}, false},
        {"bytes above 127 any case", "\xe9t\xe9 \xc9T\xc9\n\xe9t\xe9", "\xc9T\xc9", "e", false},
    };
    int onePass = 0;
    for (const TRouteCase& c : cases) {
        onePass += CompareRoutes(c) ? 1 : 0;
    }
    EXPECT_GE(onePass, 10); // the route under test, not only its refusals
}

// Lines a highlighter coloured: the one-pass route is taken, and both routes
// show the same colours after the replacement, its undo and its redo.
TEST(ReplaceAllRoutes, ColouredLinesShowTheSameColours)
{
    TRouteCase cases[] = {
        {"a mark replaced", "a # b\nb # a\na", "#", "x"},
        {"a mark inserted", "ab ab\n#\nab", "b", "b#"},
        {"longer and shorter", "the # the\nthe", "the", "a"},
    };
    int onePass = 0;
    for (TRouteCase& c : cases) {
        c.coloured = true;
        onePass += CompareRoutes(c) ? 1 : 0;
    }
    EXPECT_EQ(onePass, 3);
}

// Random short documents and texts over a small alphabet, so that
// occurrences touch, overlap and sit at line ends.
TEST(ReplaceAllRoutes, RandomDocumentsGiveTheSameResult)
{
    std::mt19937 rng(1217);
    const char alphabet[] = {'a', 'b', 'A', ' ', '.', '\n'};
    const char* const finds[] = {"a", "ab", "aa", "A", "a.", "ba"};
    const char* const withs[] = {"", "x", "ab", "aab", "a a", "."};
    int onePass = 0;
    for (int round = 0; round < 400; ++round) {
        TRouteCase c{"random", "", finds[rng() % 6], withs[rng() % 6]};
        const int length = static_cast<int>(rng() % 40);
        for (int i = 0; i < length; ++i) {
            c.text += alphabet[rng() % sizeof(alphabet)];
        }
        c.caseSensitive = rng() % 2 == 0;
        c.wholeWords = rng() % 3 == 0;
        c.origin = rng() % 2 == 0 ? soEntireScope : soFromCursor;
        c.caret = {static_cast<int>(rng() % 6), static_cast<int>(rng() % 4)};
        c.keepBlanks = rng() % 2 == 0;
        SCOPED_TRACE("text '" + c.text + "' find '" + c.find + "' with '" + c.with + "'");
        onePass += CompareRoutes(c) ? 1 : 0;
        if (HasFailure()) {
            break;
        }
    }
    EXPECT_GE(onePass, 100);
}

} // namespace
} // namespace quillet

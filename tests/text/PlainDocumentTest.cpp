#include "text/MemoSource.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

int LongestByScan(const TMemoSource& s)
{
    int longest = 0;
    for (int line = 0; line < s.GetStrCount(); ++line) {
        longest = std::max(longest, s.LineLength(line));
    }
    return longest;
}

// Without a highlighter a line's colours depend on no other line: asking for a
// far line colours that line only, and the lines between stay untouched.
TEST(PlainDocument, FarLineIsColouredAlone)
{
    TMemoSource s;
    s.SetHighlightUrls(true);
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += i % 10 == 0 ? "see www.example.org\n" : "plain words here\n";
    }
    text += "last http://x.org";
    s.LoadFromText(text);
    const int last = s.GetStrCount() - 1;

    std::string bytes;
    EXPECT_TRUE(s.GetScreenColorData(last, bytes));
    EXPECT_EQ(bytes, std::string(5, '\0') + std::string(12, '\x0c'));
    EXPECT_TRUE(s.IsLineParsed(last));
    for (int line : {0, 10, 2500, last - 1}) {
        EXPECT_FALSE(s.IsLineParsed(line)) << line;
        EXPECT_EQ(s.Store().Rec(static_cast<std::size_t>(line)).Extra(), nullptr) << line;
    }
    EXPECT_EQ(s.GetRawColorData(2500), std::string(4, '\0') + std::string(15, '\x0c'));
    EXPECT_EQ(s.GetRawColorData(2501), std::string(16, '\0'));
    EXPECT_EQ(s.Store().Rec(2501).Extra(), nullptr) << "a line with no colours stores no bytes";

    // An edited line loses the colours of what it no longer holds.
    s.JumpTo(4, 2500);
    s.DeleteRight(3);
    EXPECT_EQ(s.GetRawColorData(2500), std::string(16, '\0'));
}

// The loader measures the longest line while it splits the text; the figure
// must be the one a scan of the loaded lines gives, whatever the tabs, tab
// stops, line ends and trimming of trailing blanks.
TEST(PlainDocument, LongestLineMeasuredOnLoadMatchesAScan)
{
    struct TCase {
        const char* name;
        const char* tabStops;
        bool quick;
        bool keepTrailingBlanks;
        std::string text;
    };
    std::string longText;
    for (int i = 0; i < 300; ++i) {
        longText +=
            std::string(static_cast<std::size_t>(i % 70), 'x') + (i % 3 ? "\t\tab" : "ab") + (i % 5 ? "\n" : "\r\n");
    }
    const TCase cases[] = {
        {"tabs at the start", "8", false, true, "\t\t\tx\nshort line here\n"},
        {"tabs after text, CR ends", "4", false, true, "abc\tx\rabcdefgh\r\tlong\t\t\tend"},
        {"trailing blanks trimmed", "8", true, false, "abc   \t\t\t\t\t\nabcdefghijk\n"},
        {"uneven tab stops", "3,10,12", false, true, "a\tb\tc\td\n0123456789012345\n"},
        {"many lines", "8", false, true, longText},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource s;
        ASSERT_TRUE(s.SetTabStops(c.tabStops));
        s.SetKeepTrailingBlanks(c.keepTrailingBlanks);
        s.LoadFromText(c.text, c.quick);
        EXPECT_EQ(s.LongestLineLength(), LongestByScan(s));
    }
}

// The longest line is kept up to date through edits that grow, shrink, split
// and join lines, including the longest one itself.
TEST(PlainDocument, LongestLineFollowsEdits)
{
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.LoadFromText("short\n0123456789\nmid line\n\tx\n0123456789");
    EXPECT_EQ(s.LongestLineLength(), 10);
    struct Step {
        const char* name;
        int line, col;
        enum { Type, Delete, Break, Join, Undo } op;
    };
    const Step steps[] = {
        {"shrink a shorter line", 2, 0, Step::Delete},
        {"shrink one of two longest", 1, 3, Step::Delete},
        {"shrink the other one", 4, 0, Step::Delete},
        {"grow past the longest", 0, 5, Step::Type},
        {"break the longest", 0, 3, Step::Break},
        {"join it again", 0, 3, Step::Join},
        {"break a line with a tab", 3, 0, Step::Break},
        {"undo the break", 0, 0, Step::Undo},
        {"undo the join", 0, 0, Step::Undo},
        {"undo the break of the longest", 0, 0, Step::Undo},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        s.JumpTo(step.col, step.line);
        switch (step.op) {
        case Step::Type:
            s.TypeText("abcdefghijkl");
            break;
        case Step::Delete:
            s.DeleteRight(2);
            break;
        case Step::Break:
            s.BreakLine();
            break;
        case Step::Join:
            s.JumpToLineEnd();
            s.JoinLines();
            break;
        case Step::Undo:
            s.Undo();
            break;
        }
        EXPECT_EQ(s.LongestLineLength(), LongestByScan(s));
    }
}

} // namespace
} // namespace quillet

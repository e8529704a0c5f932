#include "tools/ToDo.h"

#include "tools/ToDoRewrite.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using TLines = std::vector<std::string>;

} // namespace

void PrintTo(const TToDoItem& i, std::ostream* os)
{
    *os << "{" << i.priority << "|" << i.owner << "|" << i.category << "|" << i.text << "| " << i.startLine << ":"
        << i.startColumn << "-" << i.endLine << ":" << i.endColumn << (i.done ? " done" : "") << "}";
}

namespace {

TToDoLines Over(const TLines& lines)
{
    return {static_cast<int>(lines.size()), [&lines](int k) {
                return std::string_view(lines[static_cast<std::size_t>(k)]);
            }};
}

std::vector<TToDoItem> Scan(const TLines& lines)
{
    return ScanToDoItems(Over(lines));
}

TEST(ToDo, Grammar)
{
    struct Case {
        const char* name;
        TLines lines;
        bool found;
        TToDoItem item; // compared when found
    };
    const Case cases[] = {
        {"all attributes",
            {"x := 1; { TODO 3 -olead -cCore : check overflow } // note"},
            true,
            {"3", "lead", "Core", "check overflow", 0, 0, 9, 49, false}},
        {"lower-case keyword with a blank before the colon",
            {"{ todo : lower }"},
            true,
            {"", "", "", "lower", 0, 0, 1, 16, false}},
        {"keyword needs its trailing blank", {"{ todo: lower-case keyword }"}, false, {}},
        {"markers in any order", {"{ TODO -cUI -olead : x }"}, true, {"", "lead", "UI", "x", 0, 0, 1, 24, false}},
        {"7 is no priority", {"{ TODO 7 : x }"}, true, {"", "", "", "x", 0, 0, 1, 14, false}},
        {"12 gives priority 1", {"{ TODO 12 : x }"}, true, {"1", "", "", "x", 0, 0, 1, 15, false}},
        {"empty text", {"{ TODO : }"}, true, {"", "", "", "", 0, 0, 1, 10, false}},
        {"no colon", {"{ TODO x }"}, false, {}},
        {"colon only on a later line", {"{ TODO x", ": y }"}, false, {}},
        {"case-sensitive markers", {"{ TODO -Olead : x }"}, true, {"", "", "", "x", 0, 0, 1, 19, false}},
        {"owner with blanks",
            {"{ TODO 2 -o Ann Lee -c my cat : x }"},
            true,
            {"2", "Ann Lee", "my cat", "x", 0, 0, 1, 35, false}},
        {"done keyword", {"{ DONE : finished }"}, true, {"", "", "", "finished", 0, 0, 1, 19, true}},
        {"three-line text",
            {"begin { TODO : first", "  second", "  third }"},
            true,
            {"", "", "", "first\r\n  second\r\n  third \r\n", 0, 2, 7, 9, false}},
        {"multi-line with nothing after the colon",
            {"{ TODO :", "only", "}"},
            true,
            {"", "", "", "only\r\n", 0, 2, 1, 1, false}},
        {"keyword on the last line without a brace", {"a", "{ TODO : never closed"}, false, {}},
        {"never closed further down", {"{ TODO : open", "a", "b"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TToDoItem> items = Scan(c.lines);
        ASSERT_EQ(items.size(), c.found ? 1u : 0u);
        if (c.found) {
            EXPECT_EQ(items[0], c.item);
        }
    }
    EXPECT_EQ(ToDoCaption("first\r\n  second\r\n  third \r\n"), "first   second   third  ");
}

TEST(ToDo, ScanOrderAndOverlaps)
{
    // TODO wins over DONE on one line whatever their order; the header runs to
    // the first ":" after the first keyword, even past a "}"; the end line of a
    // multi-line item is scanned again, so a comment closing there counts too.
    const TLines lines = {
        "{ DONE : d } { TODO : t }",
        "{ TODO x } { TODO : hidden }",
        "{ TODO : multi",
        "  { TODO : inside }",
        "end } { DONE 1 : after }",
        "{ TODO : {nested} braces }",
    };
    const std::vector<TToDoItem> items = Scan(lines);
    ASSERT_EQ(items.size(), 6u) << testing::PrintToString(items);
    EXPECT_EQ(items[0].text, "t");
    EXPECT_FALSE(items[0].done);
    EXPECT_EQ(items[1].startColumn, 1);
    EXPECT_EQ(items[1].text, "hidden");
    EXPECT_EQ(items[2].text, "multi\r\n  { TODO : inside \r\n");
    EXPECT_EQ(items[2].endLine, 3) << "the first line holding a brace closes it";
    EXPECT_EQ(items[3].text, "inside");
    EXPECT_EQ(items[4].startLine, 4) << "line 4 is not a continuation: the item before ended on 3";
    EXPECT_TRUE(items[4].done);
    EXPECT_EQ(items[4].priority, "1");
    EXPECT_EQ(items[5].text, "{nested");
}

// Many comments that never close, with the closing braces far below: each
// line is read once for "}" (a quadratic scan would take minutes here).
TEST(ToDo, UnclosedKeywordsDoNotRescanTheRest)
{
    TLines lines(40'000, "{ TODO : never closed");
    lines.push_back("}");
    int reads = 0;
    const TToDoLines counted{static_cast<int>(lines.size()), [&](int k) {
                                 ++reads;
                                 return std::string_view(lines[static_cast<std::size_t>(k)]);
                             }};
    const std::vector<TToDoItem> items = ScanToDoItems(counted);
    ASSERT_EQ(items.size(), 1u) << "the first one closes on the last line";
    EXPECT_EQ(items[0].endLine, 40'000);
    EXPECT_LT(reads, 200'000);
}

TEST(ToDo, MarkEditAndDeleteRewriteOnlyTheComment)
{
    struct Case {
        const char* name;
        TLines lines;
        std::function<TToDoSplice(const TToDoItem&)> splice;
        TLines expected;
    };
    const TToDoFields threeLines{"one\r\ntwo\r\nthree", "2", " lead ", "UI"};
    const Case cases[] = {
        {"mark done keeps everything else",
            {"a { todo : lower } b"},
            [](const TToDoItem& i) {
                return MarkSplice(i, true);
            },
            {"a { DONE : lower } b"}},
        {"mark open",
            {"{ DONE : x }"},
            [](const TToDoItem& i) {
                return MarkSplice(i, false);
            },
            {"{ TODO : x }"}},
        {"delete inside a line", {"a { TODO : x } b"}, DeleteSplice, {"a  b"}},
        {"delete alone on its line leaves an empty line", {"x", "{ TODO : x }", "y"}, DeleteSplice, {"x", "", "y"}},
        {"delete multi-line joins the text around it", {"a { TODO : m", "n", "o } b"}, DeleteSplice, {"a  b"}},
        {"edit to three lines keeps the keyword's case and the tail",
            {"x { todo 1 : old } tail"},
            [&](const TToDoItem& i) {
                return EditSplice(i, "{ todo ", threeLines);
            },
            {"x { todo 2 -olead -cUI : one", "two", "three } tail"}},
        {"edit back to one line",
            {"x { TODO : one", "two", "three } tail"},
            [](const TToDoItem& i) {
                return EditSplice(i, "{ TODO ", {"single", "", "", ""});
            },
            {"x { TODO : single } tail"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLines lines = c.lines;
        const std::vector<TToDoItem> items = Scan(lines);
        ASSERT_FALSE(items.empty());
        ApplySplice(lines, c.splice(items[0]));
        EXPECT_EQ(lines, c.expected);
    }
}

// Every row points at a keyword and at its closing brace.
void ExpectRowsPointAtTheirComments(const TLines& lines, const std::vector<TToDoItem>& rows)
{
    for (const TToDoItem& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row));
        ASSERT_LT(row.endLine, static_cast<int>(lines.size()));
        const std::string& start = lines[static_cast<std::size_t>(row.startLine)];
        const std::string& end = lines[static_cast<std::size_t>(row.endLine)];
        ASSERT_LE(row.startColumn + 6, static_cast<int>(start.size()));
        EXPECT_EQ(start.substr(static_cast<std::size_t>(row.startColumn - 1), 7), "{ TODO ");
        ASSERT_LE(row.endColumn, static_cast<int>(end.size()));
        EXPECT_EQ(end[static_cast<std::size_t>(row.endColumn - 1)], '}');
    }
}

// After an edit or delete the rows must still point at their comments, also
// one that begins on the edited item's end line after its "}".
TEST(ToDo, RowsFollowTheRewrittenText)
{
    const TLines original = {
        "{ TODO : a",
        "b } { TODO : same line }",
        "{ TODO : later }",
    };
    struct Case {
        const char* name;
        bool edit;
        TToDoFields fields;
    };
    const Case cases[] = {
        {"edit shorter and to one line", true, {"z", "", "", ""}},
        {"edit longer with attributes", true, {"first\nsecond\nthird", "5", "owner", "cat"}},
        {"delete", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLines lines = original;
        std::vector<TToDoItem> rows = Scan(lines);
        ASSERT_EQ(rows.size(), 3u);
        if (c.edit) {
            ApplySplice(lines, EditSplice(rows[0], "{ TODO ", c.fields));
            ApplyEditToRows(rows, 0, c.fields);
        } else {
            ApplySplice(lines, DeleteSplice(rows[0]));
            ApplyDeleteToRows(rows, 0);
        }
        ExpectRowsPointAtTheirComments(lines, rows);
        // A later mark rewrites exactly the comment on the shifted line.
        const TToDoItem& sameLine = rows[c.edit ? 1 : 0];
        TLines marked = lines;
        ApplySplice(marked, MarkSplice(sameLine, true));
        std::string expected = lines[static_cast<std::size_t>(sameLine.startLine)];
        expected.replace(static_cast<std::size_t>(sameLine.startColumn + 1), 4, "DONE");
        EXPECT_EQ(marked[static_cast<std::size_t>(sameLine.startLine)], expected);
        EXPECT_NE(expected.find("{ DONE : same line }"), std::string::npos) << expected;
    }
}

// Regression: a comment nested in a multi-line one shares the text an edit or
// delete rewrites; its row kept stale positions, so marking it afterwards
// rewrote other characters. Overlapping rows now leave the list, the index of
// each returned, and every kept row still points at its braces.
TEST(ToDo, RowsOverlappingARewrittenCommentAreDropped)
{
    const TLines original = {
        "{ TODO : outer",
        "  { TODO : inner } tail",
        "{ TODO : last }",
    };
    struct Case {
        const char* name;
        std::size_t index;
        bool edit;
        std::vector<std::size_t> dropped;
        std::vector<std::string> kept; // texts of the rows left
    };
    const Case cases[] = {
        {"delete the outer comment", 0, false, {1}, {"last"}},
        {"edit the outer comment", 0, true, {1}, {"new", "last"}},
        {"edit the nested comment", 1, true, {0}, {"new", "last"}},
        {"delete the nested comment", 1, false, {0}, {"last"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLines lines = original;
        std::vector<TToDoItem> rows = Scan(lines);
        ASSERT_EQ(rows.size(), 3u) << testing::PrintToString(rows);
        const TToDoFields fields{"new", "", "", ""};
        std::vector<std::size_t> dropped;
        if (c.edit) {
            ApplySplice(lines, EditSplice(rows[c.index], "{ TODO ", fields));
            dropped = ApplyEditToRows(rows, c.index, fields);
        } else {
            ApplySplice(lines, DeleteSplice(rows[c.index]));
            dropped = ApplyDeleteToRows(rows, c.index);
        }
        EXPECT_EQ(dropped, c.dropped);
        ExpectRowsPointAtTheirComments(lines, rows);
        std::vector<std::string> texts;
        for (const TToDoItem& row : rows) {
            texts.push_back(row.text);
        }
        EXPECT_EQ(texts, c.kept);
    }
}

TEST(ToDo, FieldsAreCleanedAndCommentsComposed)
{
    const TToDoFields cleaned = CleanToDoFields({"a } b", "9", "o:w}n", "c:at}"});
    EXPECT_EQ(cleaned.text, "a  b");
    EXPECT_EQ(cleaned.priority, "");
    EXPECT_EQ(cleaned.owner, "own");
    EXPECT_EQ(cleaned.category, "cat");
    // A line break in the header would split the comment: the keyword's line
    // would lose its ":" and the item would no longer be found.
    const TToDoFields broken = CleanToDoFields({"x", "1", "ow\r\nner\n", "ca\rt"});
    EXPECT_EQ(broken.owner, "owner");
    EXPECT_EQ(broken.category, "cat");
    EXPECT_EQ(NewToDoComment(broken), "{ TODO 1 -oowner -ccat : x }");
    EXPECT_EQ(NewToDoComment({"Fix resize", "2", "lead", "UI"}), "{ TODO 2 -olead -cUI : Fix resize }");
    EXPECT_EQ(NewToDoComment({"x", "", "  ", ""}), "{ TODO : x }");
    EXPECT_EQ(SplitToDoText("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitToDoText(""), (std::vector<std::string>{""}));
    std::vector<std::string> owners;
    for (const char* o : {"b", "", "a", "b"}) {
        AddDistinct(owners, o);
    }
    EXPECT_EQ(owners, (std::vector<std::string>{"b", "a"}));
}

} // namespace
} // namespace quillet

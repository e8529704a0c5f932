#include "tools/ToDoDocument.h"

#include "text/MemoSource.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

std::vector<std::string> LinesOf(const TMemoSource& source)
{
    std::vector<std::string> lines;
    for (int k = 0; k < source.GetStrCount(); ++k) {
        lines.emplace_back(source.GetRawLine(k));
    }
    return lines;
}

// Each rewrite on a real buffer gives the same lines as on plain lines, and
// one Undo restores the text byte for byte (tabs before the comment included).
TEST(ToDoDocument, EachRewriteIsOneUndoStep)
{
    const std::string text = "\tint x;\t{ todo 2 -oann : first\n\t  second }\ttail\nnext { DONE : z } end\n";
    struct Case {
        const char* name;
        std::size_t row;
        std::function<TToDoSplice(const TMemoSource&, const TToDoItem&)> splice;
    };
    const Case cases[] = {
        {"mark done",
            0,
            [](const TMemoSource&, const TToDoItem& i) {
                return MarkSplice(i, true);
            }},
        {"mark open",
            1,
            [](const TMemoSource&, const TToDoItem& i) {
                return MarkSplice(i, false);
            }},
        {"edit to one line",
            0,
            [](const TMemoSource& s, const TToDoItem& i) {
                return EditSplice(i, ToDoKeywordAsWritten(s, i), {"one\tline", "", "bob", "x"});
            }},
        {"edit to three lines",
            1,
            [](const TMemoSource& s, const TToDoItem& i) {
                return EditSplice(i, ToDoKeywordAsWritten(s, i), {"a\nb\nc", "5", "", ""});
            }},
        {"delete multi-line",
            0,
            [](const TMemoSource&, const TToDoItem& i) {
                return DeleteSplice(i);
            }},
        {"delete single",
            1,
            [](const TMemoSource&, const TToDoItem& i) {
                return DeleteSplice(i);
            }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource source;
        source.LoadFromText(text, false);
        source.ClearUndoBuffer();
        const std::string before = source.SaveToText();
        const std::vector<TToDoItem> items = ScanToDoItems(ToDoLinesOf(source));
        ASSERT_EQ(items.size(), 2u);
        const TToDoSplice splice = c.splice(source, items[c.row]);
        std::vector<std::string> expected = LinesOf(source);
        ApplySplice(expected, splice);

        ASSERT_TRUE(ApplyToDoSplice(source, splice));
        EXPECT_EQ(LinesOf(source), expected);
        EXPECT_TRUE(source.Modified());
        source.Undo();
        EXPECT_EQ(source.SaveToText(), before);
        EXPECT_FALSE(source.UndoAvailable()) << "one step undid the whole rewrite";
    }
}

TEST(ToDoDocument, ReadOnlyAndOutOfRangeSplicesChangeNothing)
{
    TMemoSource source;
    source.LoadFromText("{ TODO : x }\n", false);
    const TToDoItem item = ScanToDoItems(ToDoLinesOf(source)).at(0);
    source.SetReadOnly(true);
    EXPECT_FALSE(ApplyToDoSplice(source, MarkSplice(item, true)));
    source.SetReadOnly(false);
    EXPECT_FALSE(ApplyToDoSplice(source, {5, 0, 5, 1, "x"}));
    EXPECT_FALSE(ApplyToDoSplice(source, {0, 0, 0, 99, "x"}));
    EXPECT_EQ(std::string(source.GetRawLine(0)), "{ TODO : x }");
}

// A 10 MB line holding comments scans without trouble and keeps its text.
TEST(ToDoDocument, HugeLineWithComments)
{
    std::string line(10 * 1024 * 1024, 'a');
    line.replace(100, 13, "{ TODO : x }");
    line.replace(line.size() - 20, 11, "{ DONE : y");
    TMemoSource source;
    source.LoadFromText(line + "\n}\n", false);
    const std::vector<TToDoItem> items = ScanToDoItems(ToDoLinesOf(source));
    ASSERT_EQ(items.size(), 1u) << "TODO is tried first; the DONE on the same line is not reached";
    EXPECT_EQ(items[0].startColumn, 101);
    ASSERT_TRUE(ApplyToDoSplice(source, MarkSplice(items[0], true)));
    EXPECT_EQ(source.GetRawLine(0).substr(100, 13), "{ DONE : x }a");
    EXPECT_EQ(source.GetRawLine(0).size(), line.size());
}

} // namespace
} // namespace quillet

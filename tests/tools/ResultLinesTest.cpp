#include "tools/ResultList.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ResultLines, DisplayLineAndRecordOfAMatch)
{
    EXPECT_EQ(FindResultLine("C:\\x\\u.pas", 2, 7, 1, "if a = b then"), "C:\\x\\u.pas(3:8): if a = [(+b)]b[(-b)] then");
    EXPECT_EQ(NavigationRecordText(7, 2, "C:\\x\\u.pas"), "7;2;C:\\x\\u.pas");
    EXPECT_EQ(FindResultLine("f", 0, 0, 2, "ab ab"), "f(1:1): [(+b)]ab[(-b)] ab");
    EXPECT_EQ(FindResultLine("f", 0, 3, 2, "ab ab"), "f(1:4): ab [(+b)]ab[(-b)]");
    EXPECT_EQ(FindResultLine("f", 0, 2, 0, "ab"), "f(1:3): ab[(+b)][(-b)]");
    EXPECT_EQ(FindResultLine("f", 4, 1, 1, "abc", true), "f(5:2): a[(+b)]bc[(-b)]");
    EXPECT_EQ(FindResultLine("f", 0, 9, 5, "abc"), "f(1:10): abc[(+b)][(-b)]"); // out of range is clamped
}

TEST(ResultLines, HugeLineShowsBoundedContext)
{
    const std::string line = std::string(1'000'000, 'a') + "NEEDLE" + std::string(1'000'000, 'z');
    const std::string shown = FindResultLine("min.js", 0, 1'000'000, 6, line);
    EXPECT_EQ(shown,
        "min.js(1:1000001): ..." + std::string(kDisplayContext, 'a') + "[(+b)]NEEDLE[(-b)]"
            + std::string(kDisplayContext, 'z') + "...");
    const std::string longMatch = FindResultLine("f", 0, 0, line.size(), line);
    EXPECT_EQ(longMatch, "f(1:1): [(+b)]" + std::string(kDisplayMatchLimit, 'a') + "...[(-b)]");
}

TEST(ResultLines, ParsesNavigationRecords)
{
    struct Case {
        const char* record;
        int column, line;
        const char* file;
    };
    const Case cases[] = {
        {"7;2;/x/u.pas", 7, 2, "/x/u.pas"},
        {"7;2;/x/a;b.pas", 7, 2, "/x/a;b.pas"},
        {"x;2;f", -1, 2, "f"},
        {"3;;f", 3, -1, "f"},
        {"3", 3, -1, ""},
        {"1;2", 1, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        const auto target = ParseNavigationRecord(c.record);
        ASSERT_TRUE(target);
        EXPECT_EQ(target->column, c.column);
        EXPECT_EQ(target->line, c.line);
        EXPECT_EQ(target->fileName, c.file);
    }
    EXPECT_FALSE(ParseNavigationRecord(""));
}

TEST(ResultLines, MarkersAreNeverDrawnOrCopied)
{
    EXPECT_EQ(StripMarkers("C:\\x\\u.pas(3:8): if a = [(+b)]b[(-b)] then"), "C:\\x\\u.pas(3:8): if a = b then");
    EXPECT_EQ(StripMarkers("a[(x)]b[("), "a[(x)]b[(");

    const std::vector<TDisplayRow> rows = LayoutDisplayLine("ab[(+b)]cd\r\nef[(-b)]g");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TDisplayRow{{"ab", false}, {"cd", true}}));
    EXPECT_EQ(rows[1], (TDisplayRow{{"ef", true}, {"g", false}}));
    EXPECT_EQ(LayoutDisplayLine("").size(), 1u);

    TResultList list;
    list.Append("f(1:1): [(+b)]ab[(-b)] ab", {"0;0;f", 3});
    list.Append("f(1:4): ab [(+b)]ab[(-b)]", {"3;0;f", 3});
    EXPECT_EQ(list.PlainText("\n"), "f(1:1): ab ab\nf(1:4): ab ab");
    EXPECT_EQ(list.Record(1).text, "3;0;f");
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

} // namespace
} // namespace quillet

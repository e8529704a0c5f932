#include "tools/ResultList.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quillet {
namespace {

struct Match {
    std::string file;
    std::uint64_t key;
    std::size_t line, column, length;
    std::string text;
};

// Matches of several files, one after the other and interleaved, with text
// that crosses the storage blocks, numbers too big to pack and markup in the
// file name.
std::vector<Match> Matches()
{
    const std::string huge = std::string(300'000, 'a') + "NEEDLE" + std::string(300'000, 'z');
    const std::size_t big = std::size_t{std::numeric_limits<std::uint32_t>::max()} + 5;
    std::vector<Match> out = {
        {"/x/u.pas", 0, 2, 7, 1, "if a = b then"},
        {"/x/u.pas", 0, 2, 9, 1, "if a = b then"},
        {"/x/a;b.c", 7, 0, 0, 0, ""},
        {"/x/u.pas", 0, 3, 0, 2, "ab"},
        {"/x/u.pas", 4, 3, 0, 2, "ab"}, // same name, other document
        {"min.js", 0, 0, 300'000, 6, huge},
        {"[(+b)]odd", 0, 1, 0, 3, "odd"},
        {"deep", 0, big, big, 2, "xy"},
        {"", 9, 5, 0, 1, "q"},
    };
    for (int i = 0; i < 3000; ++i) {
        out.push_back({"/t/f" + std::to_string(i % 7),
            0,
            static_cast<std::size_t>(i),
            3,
            4,
            std::string(static_cast<std::size_t>(i % 300), 'x') + "abc needle"});
    }
    return out;
}

void ExpectLines(const TResultList& list, const std::vector<Match>& matches)
{
    ASSERT_EQ(list.Count(), matches.size());
    std::string plain;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const Match& m = matches[i];
        SCOPED_TRACE(i);
        const std::string line = FindResultLine(m.file, m.line, m.column, m.length, m.text);
        ASSERT_EQ(list.Line(i), line);
        const TNavigationRecord record = list.Record(i);
        EXPECT_EQ(record.text, NavigationRecordText(m.column, m.line, m.file));
        EXPECT_EQ(record.documentKey, m.key);
        plain += (i > 0 ? "\r\n" : "") + StripMarkers(line);
    }
    EXPECT_EQ(list.PlainText("\r\n"), plain);
}

TEST(ResultList, CompactMatchesReadBackAsTheirDisplayLinesAndRecords)
{
    const std::vector<Match> matches = Matches();
    TResultList list;
    for (const Match& m : matches) {
        list.AppendMatch(m.file, m.key, m.line, m.column, m.length, m.text);
    }
    ExpectLines(list, matches);

    // Copied over in batches of any size, and onto itself.
    TResultList joined;
    TResultList batch;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const Match& m = matches[i];
        batch.AppendMatch(m.file, m.key, m.line, m.column, m.length, m.text);
        if (i % 5 == 0 || i + 1 == matches.size()) {
            joined.Append(batch);
            batch.Clear();
        }
    }
    ExpectLines(joined, matches);
    joined.Append(joined);
    std::vector<Match> twice = matches;
    twice.insert(twice.end(), matches.begin(), matches.end());
    ExpectLines(joined, twice);
}

TEST(ResultList, OtherLinesKeepTheirTextRecordAndDocument)
{
    const std::string longLine(200'000, 'c');
    TResultList list;
    list.Append("gcc: error\r\nsecond row", {"4;10;/src/m.c", 0});
    list.Append("", {});
    list.Append(longLine, {"x", 3});
    list.AppendMatch("f", 3, 0, 0, 1, "ab");
    list.Append("plain again", {"1;1;f", 3});

    TResultList copy;
    copy.Append(list);
    for (const TResultList* each : {&list, &copy}) {
        ASSERT_EQ(each->Count(), 5u);
        EXPECT_EQ(each->Line(0), "gcc: error\r\nsecond row");
        EXPECT_EQ(each->Record(0).text, "4;10;/src/m.c");
        EXPECT_EQ(each->Line(1), "");
        EXPECT_EQ(each->Record(1).text, "");
        EXPECT_EQ(each->Record(1).documentKey, 0u);
        EXPECT_EQ(each->Line(2), longLine);
        EXPECT_EQ(each->Record(2).documentKey, 3u);
        EXPECT_EQ(each->Line(3), "f(1:1): [(+b)]a[(-b)]b");
        EXPECT_EQ(each->Record(3).text, "0;0;f");
        EXPECT_EQ(each->Record(4).text, "1;1;f");
        EXPECT_EQ(each->Record(4).documentKey, 3u);
    }
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    list.Append("after clear");
    EXPECT_EQ(list.Line(0), "after clear");
    EXPECT_EQ(copy.Line(0), "gcc: error\r\nsecond row");
}

} // namespace
} // namespace quillet

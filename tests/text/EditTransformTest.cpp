#include "text/EditTransform.h"

#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "text/Guid.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <set>

namespace quillet {
namespace {

std::string ToCp(std::string_view utf8, int codePage)
{
    const TConversion converted = ConvertCharset(utf8, kCpUtf8, codePage);
    EXPECT_FALSE(converted.lossy) << utf8;
    return converted.bytes;
}

TEST(EditTransform, SortIsCaseInsensitiveAndKeepsDuplicates)
{
    TLines lines = {"b", "A", "a", "B", "c", "a"};
    SortLines(lines, TSortOrder::Ascending, false);
    EXPECT_EQ(lines, (TLines{"A", "a", "a", "b", "B", "c"})); // equal lines keep their order
    SortLines(lines, TSortOrder::Descending, false);
    EXPECT_EQ(lines[0], "c");
    EXPECT_EQ(lines.size(), 6u);
    EXPECT_EQ(CompareLinesForSort(lines[1], "b"), 0);
    EXPECT_EQ(CompareLinesForSort(lines[5], "a"), 0);
}

TEST(EditTransform, SortAgreesWithTheCaseInsensitiveComparison)
{
    // Random 8-bit lines with shared prefixes, accented letters and
    // duplicates: the fast key sort must give the order of the comparison.
    std::mt19937 rng(11);
    const std::string alphabet = "aAbB \t\xE9\xC9\xE0\xC0\x8A\x9A\xFF\x01zZ";
    TLines lines(3000);
    for (std::string& line : lines) {
        line.assign(rng() % 20, 'a'); // ties beyond the packed key prefix
        for (std::size_t n = rng() % 6; n > 0; --n) {
            line += alphabet[rng() % alphabet.size()];
        }
    }
    const TLines original = lines;
    SortLines(lines, TSortOrder::Ascending, false);
    TLines expected = original;
    std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
        return CompareLinesForSort(a, b) < 0;
    });
    EXPECT_EQ(lines, expected);
    SortLines(lines, TSortOrder::Descending, false);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

TEST(EditTransform, ClosingBreakOfTheSelectionStaysLast)
{
    // A stream selection from the start of "b" to column 0 of the line after
    // "a": the empty piece closes the block and must not sort first, or the
    // last sorted line would join the line after the selection.
    TLines sorted = {"b", "c", "a", ""};
    SortLines(sorted, TSortOrder::Ascending, true);
    EXPECT_EQ(sorted, (TLines{"a", "b", "c", ""}));
    SortLines(sorted, TSortOrder::Descending, true);
    EXPECT_EQ(sorted, (TLines{"c", "b", "a", ""}));

    TLines commented = {"x", "y", ""};
    CommentLines(commented, "//", true);
    EXPECT_EQ(commented, (TLines{"//x", "//y", ""}));

    // Without the closing break an empty last line is an ordinary line.
    TLines plain = {"b", ""};
    SortLines(plain, TSortOrder::Ascending, false);
    EXPECT_EQ(plain, (TLines{"", "b"}));
    CommentLines(plain, "#", false);
    EXPECT_EQ(plain, (TLines{"#", "#b"}));
    // A selection of a single empty piece has nothing to leave out.
    TLines single = {""};
    CommentLines(single, "#", true);
    EXPECT_EQ(single, (TLines{"#"}));
}

TEST(EditTransform, TabConversionsUseFixedCountOfSpaces)
{
    struct Case {
        const char* name;
        std::string line;
        int tabSize;
        std::string spaces; // TabsToSpaces result
        std::string tabs; // SpacesToTabs of `line`
    };
    const Case cases[] = {
        {"tab after two letters", "ab\tc", 4, "ab    c", "ab\tc"},
        {"nine spaces, size 4", "         x", 4, "         x", "\t\t x"},
        {"runs split by text", "a    b  c     ", 2, "a    b  c     ", "a\t\tb\tc\t\t "},
        {"stored 0 clamps to 8", "\t        ", 0, std::string(16, ' '), "\t\t"},
        {"11 clamps to 8", "\t", 11, std::string(8, ' '), "\t"},
        {"negative clamps to 8", std::string(8, ' '), -3, std::string(8, ' '), "\t"},
        {"size 1", " \t ", 1, "   ", "\t\t\t"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLines spaces = {c.line};
        TabsToSpaces(spaces, c.tabSize);
        EXPECT_EQ(spaces[0], c.spaces);
        TLines tabs = {c.line};
        SpacesToTabs(tabs, c.tabSize);
        EXPECT_EQ(tabs[0], c.tabs);
    }
}

TEST(EditTransform, SpacesToTabsEqualsRepeatedLeftmostReplacement)
{
    std::mt19937 rng(7);
    const char alphabet[] = {' ', ' ', ' ', ' ', 'x', '\t'};
    for (int round = 0; round < 500; ++round) {
        std::string line(rng() % 40, ' ');
        for (char& c : line) {
            c = alphabet[rng() % sizeof alphabet];
        }
        const int n = 1 + static_cast<int>(rng() % 10);
        std::string expected = line;
        const std::string run(static_cast<std::size_t>(n), ' ');
        for (std::size_t at; (at = expected.find(run)) != std::string::npos;) {
            expected.replace(at, run.size(), "\t");
        }
        TLines lines = {line};
        SpacesToTabs(lines, n);
        ASSERT_EQ(lines[0], expected) << "line '" << line << "' size " << n;
    }
}

TEST(EditTransform, CommentAndUncomment)
{
    TLines lines = {"int a;", "  x = 1; // note // more", "", "b // c"};
    UncommentLines(lines, "//");
    EXPECT_EQ(lines, (TLines{"int a;", "  x = 1;  note // more", "", "b  c"}));
    CommentLines(lines, "--", false);
    EXPECT_EQ(lines[0], "--int a;");
    UncommentLines(lines, "--");
    EXPECT_EQ(lines[0], "int a;");

    // Case-sensitive marker; an empty marker changes nothing.
    TLines rem = {"rem x", "REM y"};
    UncommentLines(rem, "REM");
    EXPECT_EQ(rem, (TLines{"rem x", " y"}));
    CommentLines(rem, "", false);
    UncommentLines(rem, "");
    EXPECT_EQ(rem, (TLines{"rem x", " y"}));
}

TEST(EditTransform, RemoveDiacriticsCentralEurope)
{
    const TDiacriticsMap map = TDiacriticsMap::ForCodePage(kCpWindows1250);
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Příliš žluťoučký kůň úpěl ďábelské ódy", "Prilis zlutoucky kun upel dabelske ody"},
        {"Zażółć gęślą jaźń", "Zazolc gesla jazn"},
        {"ŢÝÜŰÚŮŘÖŐÔÓŇŃĐĎÎÍĚËĘÉČÇĆĹÄĂÂÁŔ", "TYUUUUROOOONNDDIIEEEECCCLAAAAR"},
        {"ţýüűúůřöőôóňńđďîíěëęéčçćĺäăâáŕżľĽşąłŻŞŁĄźžťśšŹŽŤŚŠ", "tyuuuuroooonnddiieeeeccclaaaarzlLsalZSLAzztssZZTSS"},
        {"˘", "ˇ"},
        {"plain ASCII 0-9 {}", "plain ASCII 0-9 {}"},
        {"ß × ÷ §", "ß × ÷ §"}, // not in the letter table
    };
    for (const auto& [accented, base] : cases) {
        SCOPED_TRACE(std::string(accented));
        TLines lines = {ToCp(accented, kCpWindows1250)};
        map.Apply(lines);
        EXPECT_EQ(lines[0], ToCp(base, kCpWindows1250));
    }
}

TEST(EditTransform, RemoveDiacriticsFollowsTheCodePage)
{
    // The same bytes mean different letters in other code pages.
    const TDiacriticsMap western = TDiacriticsMap::ForCodePage(kCpWindows1252);
    EXPECT_EQ(western.Map(0xE9), 'e'); // é
    EXPECT_EQ(western.Map(0x8A), 'S'); // Š
    EXPECT_EQ(western.Map(0xE0), 0xE0); // à is not in the table
    EXPECT_EQ(western.Map(0xA2), 0xA2); // ¢, where Central Europe has the breve
    EXPECT_EQ(western.Map(0x81), 0x81); // a byte the code page leaves undefined
    const TDiacriticsMap baltic = TDiacriticsMap::ForCodePage(kCpWindows1257);
    EXPECT_EQ(baltic.Map(0xE0), 'a'); // ą
    const TDiacriticsMap cyrillic = TDiacriticsMap::ForCodePage(kCpWindows1251);
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(cyrillic.Map(static_cast<unsigned char>(c)), c);
    }
    std::string latin2 = ToCp("Łódź", kCpIso8859_2);
    TDiacriticsMap::ForCodePage(kCpIso8859_2).Apply(latin2);
    EXPECT_EQ(latin2, "Lodz");
}

TEST(EditTransform, SplitTextLines)
{
    const std::pair<std::string_view, TLines> cases[] = {
        {"", {""}},
        {"abc", {"abc"}},
        {"abc\r\n", {"abc", ""}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\n\r", {"", "", ""}},
        {"a\r\r\nb", {"a", "", "b"}},
    };
    for (const auto& [text, lines] : cases) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(SplitTextLines(text), lines);
    }
    EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb");
}

TEST(EditTransform, QuickTemplate)
{
    const TQuickTemplateResult wrapped = ApplyQuickTemplate("<b>|</b>\r\n", "word");
    EXPECT_EQ(wrapped.text, "<b>word</b>");
    EXPECT_TRUE(wrapped.hasBar);
    EXPECT_EQ(wrapped.barLine, 0u);
    EXPECT_EQ(wrapped.barColumn, 3u);
    EXPECT_EQ(wrapped.lineCount, 1u);
    EXPECT_EQ(wrapped.lastLineLength, 11u);

    const TQuickTemplateResult empty = ApplyQuickTemplate("<b>|</b>", "");
    EXPECT_EQ(empty.text, "<b></b>");
    EXPECT_EQ(empty.barColumn, 3u);

    // Only the first "|" is the insertion point.
    const TQuickTemplateResult block = ApplyQuickTemplate("begin\r\n  |\r\nend | x\n", "a\r\nb\r\n");
    EXPECT_EQ(block.text, "begin\r\n  a\r\nb\r\nend | x");
    EXPECT_EQ(block.barLine, 1u);
    EXPECT_EQ(block.barColumn, 2u);
    EXPECT_EQ(block.lineCount, 4u);
    EXPECT_EQ(block.lastLineLength, 7u);

    const TQuickTemplateResult appended = ApplyQuickTemplate(";\n", "x = 1\n");
    EXPECT_EQ(appended.text, "x = 1;");
    EXPECT_FALSE(appended.hasBar);
}

TEST(EditTransform, GuidInsertText)
{
    TGuid::TBytes bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 17);
    }
    EXPECT_EQ(TGuid(bytes).InsertText(), "['{00112233-4455-6677-8899-AABBCCDDEEFF}']");

    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string text = TGuid::NewRandom().InsertText();
        // "['", the GUID in braces (36 characters inside them), "']".
        ASSERT_EQ(text.size(), 42u);
        EXPECT_EQ(text.substr(0, 3), "['{");
        EXPECT_EQ(text.substr(39), "}']");
        const std::string guid = text.substr(3, 36);
        EXPECT_EQ(guid[14], '4') << text; // version 4
        EXPECT_NE(std::string_view("89AB").find(guid[19]), std::string::npos) << text; // RFC 4122 variant
        for (std::size_t i = 0; i < guid.size(); ++i) {
            const char c = guid[i];
            if (i == 8 || i == 13 || i == 18 || i == 23) {
                EXPECT_EQ(c, '-') << text;
                continue;
            }
            EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << text;
            EXPECT_TRUE(c == '-' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << text;
        }
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 20u);
}

} // namespace
} // namespace quillet

#include "support/TempDir.h"
#include "syntax/DefFields.h"
#include "syntax/DefWriter.h"
#include "syntax/SyntaxParser.h"
#include "syntax/SyntaxScheme.h"

#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

namespace quillet {
namespace {

using test::DataPath;
using test::TTempDir;

// Definition text from lines of (depth, text): two spaces per level, CR LF.
std::string DefText(std::initializer_list<std::pair<int, std::string_view>> lines)
{
    std::string text;
    for (const auto& [depth, line] : lines) {
        text.append(static_cast<std::size_t>(depth) * 2, ' ');
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

TEST(DefFormat, WorkedExampleLoadsAndSavesByteForByte)
{
    const auto file = DataPath("syntax/format/PlainText.def");
    const std::string original = TTempDir::Read(file);
    ASSERT_FALSE(original.empty());

    TSyntaxScheme scheme;
    const TDefResult loaded = scheme.LoadFromFile(file);
    ASSERT_TRUE(loaded.ok) << Joined(loaded.diagnostics);
    EXPECT_TRUE(loaded.diagnostics.empty()) << Joined(loaded.diagnostics);

    EXPECT_EQ(scheme.Name, "Plain Text");
    ASSERT_EQ(scheme.SyntaxBlocks.size(), 1u);
    const TSyntaxBlock& block = scheme.SyntaxBlocks[0];
    EXPECT_EQ(block.ID, 0);
    ASSERT_EQ(block.SingleLineStringDelimiters.size(), 1u);
    EXPECT_EQ(block.SingleLineStringDelimiters[0].RightDelimiter, "}");
    ASSERT_EQ(scheme.FontTable.Items.size(), 3u);
    EXPECT_EQ(scheme.FontTable.Items[2].Font.Style, fsBold);

    EXPECT_EQ(scheme.SaveToText(), original);

    TTempDir dir;
    const auto copy = dir.Path() / "copy.def";
    ASSERT_TRUE(scheme.SaveToFile(copy).ok);
    EXPECT_EQ(TTempDir::Read(copy), original);
}

TEST(DefFormat, CharSetText)
{
    auto setOf = [](std::initializer_list<int> codes) {
        TCharSet set;
        for (int c : codes) {
            set.set(static_cast<std::size_t>(c));
        }
        return set;
    };
    TCharSet all;
    all.set();
    struct Case {
        const char* name;
        TCharSet set;
        std::string text;
    };
    const Case cases[] = {
        {"default first identifier characters", DefaultFirstIdentChars(), "A-Z_a-z"},
        {"default other identifier characters", DefaultOtherIdentChars(), "0-9A-Z_a-z"},
        {"two-code run", setOf({'a', 'b'}), "a-b"},
        {"minus alone is escaped", setOf({'-'}), "\\-"},
        {"backslash alone is escaped", setOf({'\\'}), "\\\\"},
        {"run ending in backslash", setOf({'[', '\\'}), "[-\\"},
        {"run ending in minus", setOf({',', '-'}), ",--"},
        {"run starting at minus", setOf({'-', '.', '/'}), "\\--/"},
        {"every code", all, std::string("\0-\xff", 3)},
        {"empty", TCharSet{}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CharSetToString(c.set), c.text);
        EXPECT_EQ(StringToCharSet(c.text), c.set);
    }
    // A trailing operator has nothing to act on and is the character itself.
    EXPECT_EQ(StringToCharSet("a-"), setOf({'a', '-'}));
    EXPECT_EQ(StringToCharSet("a\\"), setOf({'a', '\\'}));
    EXPECT_EQ(StringToCharSet("-b"), [] {
        TCharSet s;
        for (int c = 0; c <= 'b'; ++c) {
            s.set(static_cast<std::size_t>(c));
        }
        return s;
    }());
}

TEST(DefFormat, KeywordCommaText)
{
    EXPECT_EQ(SplitKeywords("a, b  c,,\"d e\",\"say \"\"hi\"\"\""),
        (std::vector<std::string>{"a", "b", "c", "", "d e", "say \"hi\""}));
    const std::vector<std::string> words{"plain", "with blank", "with,comma", "q\"uote"};
    EXPECT_EQ(SplitKeywords(JoinKeywords(words)), words);
}

// Every kind of value the writer produces reads back into an equal scheme,
// and writing that again gives the same text.
TEST(DefFormat, RoundTripOfEveryPropertyKind)
{
    TSyntaxScheme scheme;
    scheme.Name = "It's\tnamed";
    scheme.Comment = std::string("high \xe9 bytes and a quote ' and ") + std::string(80, 'x');
    scheme.AddExtension("Zeta files (*.z)|*.z");
    scheme.AddExtension("alpha files (*.a)|*.a;*.aa");
    scheme.AddExtension("ALPHA FILES (*.A)|*.A;*.AA"); // duplicate ignoring case
    TSyntaxBlock& root = scheme.SyntaxBlocks[0];
    root.CaseSensitive = true;
    root.UseMetaSymbol = true;
    root.UseMetaToWrapLines = false;
    root.MetaSymbol = '\\';
    root.FIText = 0;
    root.UseKeywords = true;
    std::string many;
    for (int i = 0; i < 60; ++i) {
        many += (i ? "," : "") + std::string("keyword") + std::to_string(i);
    }
    root.KeywordSets.push_back({{2, false}, "Set 'one'", many});
    root.UseComments = root.UseMultiLineComments = true;
    root.MultiLineCommentDelimiters.push_back({{{1, true}, "/*"}, "*/"});
    root.UseSuffixedNumbers = true; // empty list still written, with UseMultipleNumSuffixes
    root.FirstIdentChars = StringToCharSet("A-Za-z\\-");
    root.OtherIdentChars = StringToCharSet("\\--9A-Z\\\\_a-z");
    TSyntaxBlock child;
    child.Name = "Child";
    child.ID = 7;
    child.ParentID = 0;
    child.BlockDelimiters.push_back({"<?", "?>", true, false});
    scheme.SyntaxBlocks.push_back(child);
    TAttrItem& attr = scheme.FontTable.Add();
    attr.GlobalAttrID = "Comment";
    attr.BlockID = 7;
    attr.Font.Charset = 3; // no name: written as a number
    attr.Font.Color = 0x123456; // no name: written as a number
    attr.Font.Pitch = TFontPitch::fpFixed;
    attr.Font.Style = fsItalic | fsStrikeOut;
    attr.BackColor = 0x8000001E; // system colour without a name
    attr.UseDefFont = false;
    attr.UseDefBack = false;
    scheme.SyntaxVersion = 3;

    const std::string text = scheme.SaveToText();
    EXPECT_NE(text.find("  P.Name = 'It'#39's'#9'named'\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  P.Comment = \r\n    'high \xe9 bytes and a quote '#39' and "), std::string::npos) << text;
    EXPECT_NE(text.find("' +\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("UseMultipleNumSuffixes = False\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("NumSuffixes = <>\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Font.Style = [fsItalic, fsStrikeOut]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("BackColor = -2147483618\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("IdentChars = 'A-Z_a-z'"), std::string::npos) << text;
    EXPECT_EQ(scheme.Extensions.size(), 2u);
    EXPECT_EQ(scheme.Extensions[0], "alpha files (*.a)|*.a;*.aa");

    TSyntaxScheme back;
    const TDefResult result = back.LoadFromText(text, "mem.def");
    ASSERT_TRUE(result.ok) << Joined(result.diagnostics);
    EXPECT_TRUE(result.diagnostics.empty()) << Joined(result.diagnostics);
    EXPECT_TRUE(back.SameContents(scheme));
    EXPECT_EQ(back.SaveToText(), text);
}

// The font table's reader and writer share one field table: an attribute
// with every field off its default, and one with every field at its default,
// each survive write, read and write again, and the written text holds just
// the fields the table says it writes.
TEST(DefFormat, FontTableFieldsRoundTrip)
{
    TAttrItem changed;
    changed.FontID = 200;
    changed.GlobalAttrID = "Keyword";
    changed.BlockID = 255;
    changed.Font.Charset = 0; // ANSI_CHARSET, written by name
    changed.Font.Color = clNone;
    changed.Font.Height = -2147483647 - 1;
    changed.Font.Name = "Mono 'Sans'";
    changed.Font.Pitch = TFontPitch::fpVariable;
    changed.Font.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    changed.BackColor = 0x00FFEEDD;
    changed.UseDefFont = false;
    changed.UseDefBack = false;
    TAttrItem plain;
    plain.FontID = 0;

    for (const TAttrItem* each : {&changed, &plain}) {
        const TAttrItem& attr = *each;
        SCOPED_TRACE(each == &changed ? "changed" : "plain");
        TSyntaxScheme scheme;
        scheme.SyntaxVersion = 3; // what reading upgrades to
        scheme.FontTable.Items = {attr};
        const std::string text = scheme.SaveToText();
        for (const TAttrField& field : FontTableFields()) {
            SCOPED_TRACE(field.name);
            const bool written = text.find(std::string("      ") + field.name + " = ") != std::string::npos;
            EXPECT_EQ(written, field.IsWritten(attr)) << text;
            if (each == &changed && field.write == TAttrFieldWrite::UnlessDefault) {
                EXPECT_FALSE(field.IsDefault(attr)) << "the changed attribute leaves this field at its default";
            }
        }
        TSyntaxScheme back;
        const TDefResult result = back.LoadFromText(text, "fonts.def");
        ASSERT_TRUE(result.ok) << Joined(result.diagnostics);
        EXPECT_TRUE(result.diagnostics.empty()) << Joined(result.diagnostics);
        ASSERT_EQ(back.FontTable.Items.size(), 1u);
        EXPECT_EQ(back.FontTable.Items[0], attr);
        EXPECT_EQ(back.SaveToText(), text);
    }
}

// A definition that cannot be read fails with file, reason and the scheme kept;
// a named pipe is refused at once instead of waiting for a writer.
TEST(DefFormat, UnreadableFilesFailWithTheReason)
{
    TTempDir dir;
    std::filesystem::create_directory(dir.Path() / "folder.def");
    ASSERT_EQ(::mkfifo((dir.Path() / "pipe.def").c_str(), 0600), 0);
    struct Case {
        const char* name;
        const char* expected;
    };
    const Case cases[] = {
        {"missing.def", "missing.def:0: cannot open file: No such file or directory"},
        {"folder.def", "folder.def:0: cannot read file: Is a directory"},
        {"pipe.def", "pipe.def:0: cannot read file: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSyntaxScheme scheme;
        scheme.Name = "Kept";
        const TDefResult result = scheme.LoadFromFile(dir.Path() / c.name);
        EXPECT_FALSE(result.ok);
        ASSERT_EQ(result.diagnostics.size(), 1u);
        EXPECT_NE(result.diagnostics[0].find(c.expected), std::string::npos) << result.diagnostics[0];
        EXPECT_EQ(scheme.Name, "Kept");
    }
}

TEST(DefFormat, SkippedPropertiesAreReportedAndLoadingGoesOn)
{
    const std::string text = DefText({
        {0, "object Holder: TPersHolder"},
        {1, "P.Name = 'Mixed'"},
        {1, "P.Colour = clRed"},
        {1, "P.SyntaxBlocks = <"},
        {2, "item"},
        {3, "Name = 'Default'"},
        {3, "ID = 300"},
        {3, "FIText = 'text'"},
        {3, "CaseSensitive = Maybe"},
        {3, "UseComments = True"},
        {3, "Frobnicate = 1"},
        {2, "end>"},
        {1, "P.FontTable = <"},
        {2, "item [0]"},
        {3, "FontID = -5"},
        {3, "BlockID = 999"},
        {3, "Font.Style = [fsBlink]"},
        {3, "Font.Size = 12"},
        {2, "end>"},
        {1, "P.SyntaxVersion = 3"},
        {0, "end"},
    });
    TSyntaxScheme scheme;
    const TDefResult result = scheme.LoadFromText(text, "mixed.def");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.diagnostics,
        (std::vector<std::string>{
            "mixed.def:3: unknown property \"P.Colour\" skipped",
            "mixed.def:7: value does not fit property \"ID\", skipped",
            "mixed.def:8: value does not fit property \"FIText\", skipped",
            "mixed.def:9: value does not fit property \"CaseSensitive\", skipped",
            "mixed.def:11: unknown property \"Frobnicate\" skipped",
            "mixed.def:15: value does not fit property \"FontID\", skipped",
            "mixed.def:16: value does not fit property \"BlockID\", skipped",
            "mixed.def:17: value does not fit property \"Font.Style\", skipped",
        }));
    EXPECT_EQ(scheme.Name, "Mixed");
    ASSERT_EQ(scheme.SyntaxBlocks.size(), 1u);
    EXPECT_EQ(scheme.SyntaxBlocks[0].ID, -1); // out-of-range value skipped: the new item's default stays
    EXPECT_EQ(scheme.SyntaxBlocks[0].FIText, -1);
    EXPECT_TRUE(scheme.SyntaxBlocks[0].UseComments);
    ASSERT_EQ(scheme.FontTable.Items.size(), 1u);
    EXPECT_EQ(scheme.FontTable.Items[0].FontID, 0); // pre-assigned, bad stored value skipped
    EXPECT_EQ(scheme.FontTable.Items[0].BlockID, 0);
    EXPECT_EQ(scheme.FontTable.Items[0].Font.Height, -16);
}

// Malformed text fails the whole load with file and line, and the scheme keeps
// what it had.
TEST(DefFormat, MalformedTextFailsAndLeavesSchemeUnchanged)
{
    const std::string good = TTempDir::Read(DataPath("syntax/format/PlainText.def"));
    std::string blocks300 = "object TPersHolder\r\n  P.SyntaxBlocks = <\r\n";
    for (int i = 0; i < 300; ++i) {
        blocks300 += "    item\r\n      ID = " + std::to_string(i % 256) + "\r\n    end\r\n";
    }
    blocks300 += "  >\r\nend\r\n";
    struct Case {
        const char* name;
        std::string text;
        std::string diagnostic;
    };
    const Case cases[] = {
        {"missing end", good.substr(0, good.size() - 5), "bad.def:56: unexpected end of file: \"end\" missing"},
        {"truncated inside a collection",
            good.substr(0, good.find("        end>")),
            "bad.def:19: unexpected end of file: \"end\" of item missing"},
        {"truncated inside a value", good.substr(0, good.find("Courier") + 3), "bad.def:34: unterminated string"},
        {"unterminated string", "object T\r\n  P.Name = 'abc\r\nend\r\n", "bad.def:2: unterminated string"},
        {"bad token", "object T\r\n  P.Name ? 'x'\r\nend\r\n", "bad.def:2: unexpected character '?'"},
        {"value missing", "object T\r\n  P.Name =\r\nend\r\n", "bad.def:4: unexpected end of file: \"end\" missing"},
        {"not an object", "P.Name = 'x'\r\n", "bad.def:1: expected \"object\""},
        {"empty file", "", "bad.def:1: expected \"object\""},
        {"item outside a collection",
            "object T\r\n  P.SyntaxBlocks = (\r\n    item\r\n end\r\n",
            "bad.def:5: unexpected end of file: value missing"},
        {"300 blocks", blocks300, "bad.def:771: more than 256 syntax blocks"},
        {"deep nesting",
            "object T\r\n  P.X = " + std::string(100, '(') + std::string(100, ')') + "\r\nend\r\n",
            "bad.def:2: values nested too deeply"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSyntaxScheme scheme;
        ASSERT_TRUE(scheme.LoadFromText(good, "good.def").ok);
        const TDefResult result = scheme.LoadFromText(c.text, "bad.def");
        EXPECT_FALSE(result.ok);
        ASSERT_FALSE(result.diagnostics.empty());
        EXPECT_EQ(result.diagnostics.back(), c.diagnostic);
        EXPECT_EQ(scheme.Name, "Plain Text");
        EXPECT_EQ(scheme.SaveToText(), good);
    }
}

// Damaged copies of a good file (cut short, bytes changed, lines dropped or
// doubled) either load or fail with a diagnostic; whatever loads also compiles
// and colours.
TEST(DefFormat, DamagedFilesNeverCrashTheReader)
{
    const std::string good = TTempDir::Read(DataPath("syntax/nested/Nested.def"));
    ASSERT_FALSE(good.empty());
    std::mt19937 random(6);
    const char bytes[] = "<>()[]'#+=-$9 \r\nitemendobject.";
    for (int round = 0; round < 3000; ++round) {
        std::string text = good;
        switch (round % 4) {
        case 0:
            text.resize(random() % text.size());
            break;
        case 1:
            for (int k = 0; k < 4; ++k) {
                text[random() % text.size()] = bytes[random() % (sizeof(bytes) - 1)];
            }
            break;
        case 2: {
            const std::size_t at = text.find('\n', random() % text.size());
            const std::size_t next = at == std::string::npos ? at : text.find('\n', at + 1);
            if (next != std::string::npos) {
                text.erase(at, next - at);
            }
            break;
        }
        default: {
            const std::size_t at = text.find('\n', random() % text.size());
            const std::size_t next = at == std::string::npos ? at : text.find('\n', at + 1);
            if (next != std::string::npos) {
                text.insert(at, text.substr(at, next - at));
            }
            break;
        }
        }
        TSyntaxParser parser;
        const TDefResult result = parser.SyntaxScheme().LoadFromText(text, "damaged.def");
        if (!result.ok) {
            ASSERT_FALSE(result.diagnostics.empty());
            EXPECT_EQ(result.diagnostics.back().rfind("damaged.def:", 0), 0u);
        }
        std::vector<std::uint8_t> attrs;
        parser.ColorString("plain { a [ b ] \"c\\\"\" } { { x } }", 0, attrs);
    }
}

TEST(DefFormat, ThousandsOfKeywordsRoundTrip)
{
    TSyntaxScheme scheme;
    TSyntaxBlock& root = scheme.SyntaxBlocks[0];
    root.UseKeywords = true;
    std::vector<std::string> words;
    for (int i = 0; i < 10000; ++i) {
        words.push_back("w" + std::to_string(i));
    }
    root.KeywordSets.push_back({{0, true}, "Many", JoinKeywords(words)});
    scheme.SyntaxVersion = 3;
    const std::string text = scheme.SaveToText();
    TSyntaxScheme back;
    ASSERT_TRUE(back.LoadFromText(text, "many.def").ok);
    EXPECT_TRUE(back.SameContents(scheme));
    EXPECT_EQ(SplitKeywords(back.SyntaxBlocks[0].KeywordSets[0].Keywords).size(), 10000u);
}

TEST(DefFormat, SaveReplacesThroughTemporaryFileAndKeepsOldFileOnFailure)
{
    TTempDir dir;
    TSyntaxScheme scheme;
    scheme.Name = "New";
    const auto target = dir.Write("x.def", "old contents");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(scheme.SaveToFile(target).ok);
    EXPECT_EQ(TTempDir::Read(target), scheme.SaveToText());
    struct stat info { };
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    const TDefResult missing = scheme.SaveToFile(dir.Path() / "no such folder" / "y.def");
    EXPECT_FALSE(missing.ok);
    ASSERT_EQ(missing.diagnostics.size(), 1u);
    EXPECT_NE(missing.diagnostics[0].find("y.def:0: cannot create a temporary file: "), std::string::npos);

    // A target that is a folder cannot be replaced; it stays as it was.
    std::filesystem::create_directory(dir.Path() / "folder.def");
    dir.Write("folder.def/inside", "keep");
    EXPECT_FALSE(scheme.SaveToFile(dir.Path() / "folder.def").ok);
    EXPECT_EQ(TTempDir::Read(dir.Path() / "folder.def" / "inside"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(SyntaxScheme, UpgradeOfFlatDefinition)
{
    TSyntaxScheme scheme;
    scheme.SyntaxBlocks.clear();
    for (int i = 0; i < 3; ++i) {
        TSyntaxBlock block;
        block.Name = "B" + std::to_string(i);
        block.FIText = i;
        block.ParentID = 42;
        scheme.SyntaxBlocks.push_back(block);
        scheme.FontTable.Add();
    }
    scheme.SyntaxBlocks[2].UseKeywords = true;
    scheme.SyntaxBlocks[2].KeywordSets.push_back({{0, true}, "k", "x"}); // also claims attribute 0
    scheme.SyntaxBlocks[1].FIIdentifier = 99; // no such attribute: skipped
    scheme.SyntaxVersion = 1;

    scheme.InitScheme();
    EXPECT_EQ(scheme.SyntaxVersion, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scheme.SyntaxBlocks[static_cast<std::size_t>(i)].ID, i);
    }
    EXPECT_EQ(scheme.SyntaxBlocks[0].ParentID, -1);
    EXPECT_EQ(scheme.SyntaxBlocks[1].ParentID, 0);
    EXPECT_EQ(scheme.SyntaxBlocks[2].ParentID, 0);
    EXPECT_EQ(scheme.FontTable.Items[0].BlockID, 2); // the last block that references it
    EXPECT_EQ(scheme.FontTable.Items[1].BlockID, 1);
    EXPECT_EQ(scheme.FontTable.Items[2].BlockID, 2);
}

TEST(SyntaxScheme, IdentifierAllocation)
{
    TFontList table;
    for (int i = 0; i < 12; ++i) {
        table.Add();
    }
    EXPECT_EQ(table.Add().FontID, 13); // 12 belongs to the URL attribute
    while (table.GetUniqueID() != -1) {
        table.Add();
    }
    EXPECT_EQ(table.Items.size(), 254u); // 0..254 without 12: 255 keeps meaning none
    EXPECT_EQ(table.GetItemByID(255), nullptr);
    EXPECT_EQ(table.GetItemByID(254)->FontID, 254);

    TSyntaxScheme scheme;
    scheme.SyntaxBlocks[0].ID = 5;
    EXPECT_EQ(scheme.GetUniqueBlockID(), 0);
    scheme.SyntaxBlocks.resize(256);
    for (int i = 0; i < 256; ++i) {
        scheme.SyntaxBlocks[static_cast<std::size_t>(i)].ID = i;
    }
    EXPECT_EQ(scheme.GetUniqueBlockID(), -1);
}

} // namespace
} // namespace quillet

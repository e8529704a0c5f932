#include "SchemeFixtures.h"

#include <gtest/gtest.h>
#include <random>

namespace quillet {
namespace {

using namespace test;

class SyntaxParserTest : public ::testing::Test {
protected:
    SyntaxParserTest()
    {
        TSyntaxScheme scheme;
        scheme.SyntaxBlocks = {CLikeRoot()};
        AddAttributes(scheme, 12);
        scheme.SyntaxVersion = 3;
        parser.SetSyntaxScheme(scheme);
    }

    // Replaces the parser's scheme with the fixture changed by edit.
    template <typename F> void Change(F edit)
    {
        TSyntaxScheme scheme;
        scheme.Assign(parser.SyntaxScheme());
        edit(scheme);
        parser.SetSyntaxScheme(scheme);
    }

    std::string Color(std::string_view line, std::uint32_t state = 0)
    {
        std::vector<std::uint8_t> attrs;
        lastState = parser.ColorString(line, state, attrs);
        return AttrText(attrs);
    }

    TSyntaxParser parser;
    std::uint32_t lastState = 0;
};

TEST_F(SyntaxParserTest, MultiLineCommentCarriesItsStateAcrossLines)
{
    const auto out = ColorLines(parser, {"a /* b", "inside", "", "still", "c */ d"});
    EXPECT_EQ(out.attrs, (std::vector<std::string>{"901111", "111111", "", "11111", "111109"}));
    EXPECT_EQ(out.endStates, (std::vector<std::uint32_t>{0x100, 0x100, 0x100, 0x100, 0}));
}

TEST_F(SyntaxParserTest, Strings)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::string> attrs;
        std::vector<std::uint32_t> states;
    };
    const Case cases[] = {
        {"open single-line string ends with its line", {"x = \"open", "next"}, {"908022222", "9999"}, {0, 0}},
        {"meta symbol at the end continues it", {"x = \"open\\", "more\" y"}, {"9080222222", "2222209"}, {0x200, 0}},
        {"delimiter after one meta symbol is escaped", {"\"a\\\"b\" c"}, {"22222209"}, {0}},
        {"delimiter after two meta symbols closes", {"\"a\\\\\"b"}, {"222229"}, {0}},
        {"escaped delimiter at the end of the line ends the string", {"\"a\\\"", "b"}, {"2222", "9"}, {0, 0}},
        {"multi-line string", {"s = '''abc", "def''' + 1"}, {"9080222222", "2222220804"}, {0x300, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto out = ColorLines(parser, c.lines);
        EXPECT_EQ(out.attrs, c.attrs);
        EXPECT_EQ(out.endStates, c.states);
    }
    // A one-character multi-line delimiter escaped as the line's last character
    // keeps the string open into the next line.
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks[0].MultiLineStringDelimiters = {Pair(kString, "`", "`")};
    });
    const auto out = ColorLines(parser, {"s = `ab\\`", "c` d"});
    EXPECT_EQ(out.attrs, (std::vector<std::string>{"908022222", "2209"}));
    EXPECT_EQ(out.endStates, (std::vector<std::uint32_t>{0x300, 0}));
}

TEST_F(SyntaxParserTest, RightDelimiterGluedToAnIdentifierIsNotAnEnd)
{
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks[0].MultiLineCommentDelimiters.push_back(Pair(kComment, "(*", "end"));
    });
    const auto out = ColorLines(parser, {"(* xend end", "end x"});
    EXPECT_EQ(out.attrs, (std::vector<std::string>{"11111111111", "11109"}));
    EXPECT_EQ(out.endStates, (std::vector<std::uint32_t>{0x101, 0}));
}

TEST_F(SyntaxParserTest, Numbers)
{
    const std::pair<const char*, const char*> cases[] = {
        {"12", "44"},
        {"1.5", "555"},
        {"1e5", "555"},
        {"1E+5", "5555"},
        {"1e", "49"},
        {"$1F", "666"},
        {"$12", "444"},
        {"$", "8"},
        {"x1", "99"},
    };
    for (const auto& [text, attrs] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Color(text), attrs);
    }
}

TEST_F(SyntaxParserTest, AffixedNumbersIdentifiersAndFullLineComments)
{
    Change([](TSyntaxScheme& s) {
        TSyntaxBlock& b = s.SyntaxBlocks[0];
        b.UseSuffixedNumbers = b.UseMultipleNumSuffixes = b.UsePrefixedSuffixedNumbers = true;
        b.NumSuffixes = {Line(-1, "L"), Line(-1, "U")};
        b.NumPrefixesSuffixes = {Pair(-1, "&H", "&")};
        b.UsePrefixedIdentifiers = b.UseSuffixedIdentifiers = true;
        b.IdentPrefixes = {Line(-1, "@")};
        b.IdentSuffixes = {Line(-1, "$")};
        b.UseFullLineComments = true;
        b.FullLineCommentDelimiters = {Line(kComment, "*")};
        b.MultiLineCommentDelimiters.push_back(Pair(kComment, "REM", "END"));
    });
    const std::pair<const char*, const char*> cases[] = {
        {"10UL", "4444"},
        {"10", "44"},
        {"1.5L", "5555"},
        {"&H1F&", "66666"},
        {"&H&", "898"},
        {"@name$", "999999"},
        {"@ x", "809"},
        {"  * note", "00111111"},
        {"x * y", "90809"},
        {"rem a End b", "11111111109"}, // delimiters compared ignoring case
    };
    for (const auto& [text, attrs] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Color(text), attrs);
    }
    Change([](TSyntaxScheme& s) {
        TSyntaxBlock& b = s.SyntaxBlocks[0];
        b.UsePSNumComposition = true;
        b.UseMultipleNumSuffixes = false;
        b.NumSuffixes = {Line(-1, "h")};
    });
    EXPECT_EQ(Color("$1Fh"), "6666");
    EXPECT_EQ(Color("$7hh"), "4449"); // one suffix unless several are allowed
}

TEST_F(SyntaxParserTest, KeywordsOfCaseInsensitiveBlockMatchAnyCase)
{
    EXPECT_EQ(Color("BEGIN begin Begin beginx IF"),
        "33333033333033333099999903"
        "3");
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks[0].CaseSensitive = true;
    });
    EXPECT_EQ(Color("BEGIN Begin if"), "99999033333033");
}

TEST_F(SyntaxParserTest, LineDirectiveWithCommentAndContinuation)
{
    const auto out = ColorLines(parser, {"#define X /* c */ 1 \\", "  continued", "x"});
    EXPECT_EQ(out.attrs, (std::vector<std::string>{"777777777711111117777", "77777777777", "9"}));
    EXPECT_EQ(out.endStates, (std::vector<std::uint32_t>{0x400, 0, 0}));
    // Only the first tokens of a line may start a directive; elsewhere "#" is a symbol.
    EXPECT_EQ(Color("x #y"), "9089");
}

class SyntaxBlocksTest : public SyntaxParserTest {
protected:
    static TSyntaxBlock Child(std::string name, int id, int parent, int fiText, TDelimiters delimiters)
    {
        TSyntaxBlock b;
        b.Name = std::move(name);
        b.ID = id;
        b.ParentID = parent;
        b.FIText = fiText;
        b.BlockDelimiters = {std::move(delimiters)};
        return b;
    }
};

TEST_F(SyntaxBlocksTest, DelimitersTakeColoursOfTheBlockTheyBelongTo)
{
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks.push_back(Child("Tag", 1, 0, 10, {"<?", "?>", true, true}));
        s.SyntaxBlocks.push_back(Child("Bracket", 2, 0, 11, {"[", "]", false, true}));
    });
    EXPECT_EQ(Color("a <?b?> c [d] e"), "90AAAAA0908B809");
    EXPECT_EQ(lastState, 0u);
}

TEST_F(SyntaxBlocksTest, SameEndDelimiterEndsOnlyTheInnermostBlock)
{
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks.push_back(Child("Outer", 1, 0, 10, {"{", "}", true, true}));
        s.SyntaxBlocks.push_back(Child("Inner", 2, 1, 11, {"{", "}", true, true}));
    });
    EXPECT_EQ(Color("{ { x } y } z"), "AABBBBBAAAA09");
    const auto out = ColorLines(parser, {"{ a", "b }", "c"});
    EXPECT_EQ(out.attrs, (std::vector<std::string>{"AAA", "AAA", "9"}));
    EXPECT_EQ(out.endStates, (std::vector<std::uint32_t>{0x01800000, 0, 0}));
}

// Definitions that would loop forever or index past tables: every line is
// still coloured, one attribute per character, and the state stays usable.
TEST_F(SyntaxBlocksTest, BrokenDefinitionsNeverHangOrCrash)
{
    struct Case {
        const char* name;
        std::function<void(TSyntaxScheme&)> edit;
    };
    const std::string huge(300, '/');
    const Case cases[] = {
        {"empty delimiters everywhere",
            [](TSyntaxScheme& s) {
                TSyntaxBlock& b = s.SyntaxBlocks[0];
                b.SingleLineCommentDelimiters.push_back(Line(1, ""));
                b.MultiLineCommentDelimiters.insert(b.MultiLineCommentDelimiters.begin(), Pair(1, "", ""));
                b.SingleLineStringDelimiters.insert(b.SingleLineStringDelimiters.begin(), Pair(2, "\"", ""));
                b.NumPrefixes.insert(b.NumPrefixes.begin(), Line(1, ""));
                b.UsePrefixedNumbers = b.UseSuffixedNumbers = b.UsePrefixedSuffixedNumbers = true;
                b.NumSuffixes.push_back(Line(1, ""));
                b.NumPrefixesSuffixes.push_back(Pair(1, "", ""));
                b.UsePrefixedIdentifiers = b.UseSuffixedIdentifiers = b.UsePrefixedSuffixedIdentifiers = true;
                b.IdentPrefixes.push_back(Line(1, ""));
                b.IdentSuffixes.push_back(Line(1, ""));
                b.IdentPrefixesSuffixes.push_back(Pair(1, "", ""));
                b.LineDirectivePrefix.clear();
                s.SyntaxBlocks.push_back(Child("Empty", 1, 0, 10, {"", "", true, true}));
                s.SyntaxBlocks.push_back(Child("NoEnd", 2, 0, 10, {"(", "", false, true}));
            }},
        {"delimiters of 256 characters and more",
            [huge](TSyntaxScheme& s) {
                TSyntaxBlock& b = s.SyntaxBlocks[0];
                b.SingleLineCommentDelimiters.insert(b.SingleLineCommentDelimiters.begin(), Line(1, huge));
                b.MultiLineCommentDelimiters.insert(b.MultiLineCommentDelimiters.begin(), Pair(1, huge + "/", "x"));
                s.SyntaxBlocks.push_back(Child("Huge", 1, 0, 10, {std::string(256, '/'), "x", true, true}));
            }},
        {"block that is its own parent",
            [](TSyntaxScheme& s) {
                s.SyntaxBlocks.push_back(Child("Self", 1, 1, 10, {"(", ")", true, true}));
            }},
        {"cyclic parents",
            [](TSyntaxScheme& s) {
                s.SyntaxBlocks.push_back(Child("A", 1, 2, 10, {"(", ")", true, true}));
                s.SyntaxBlocks.push_back(Child("B", 2, 1, 11, {"(", ")", true, true}));
            }},
        {"duplicate IDs and the root as a child",
            [](TSyntaxScheme& s) {
                s.SyntaxBlocks[0].ParentID = 0;
                s.SyntaxBlocks.push_back(Child("Dup", 0, 0, 10, {"(", ")", true, true}));
                s.SyntaxBlocks.push_back(Child("OutOfRange", 300, 0, 10, {"(", ")", true, true}));
            }},
        {"attributes out of range",
            [](TSyntaxScheme& s) {
                s.SyntaxBlocks[0].FIText = 4000;
                s.SyntaxBlocks[0].FISymbol = -77;
                s.SyntaxBlocks[0].KeywordSets[0].FontID = 256;
            }},
    };
    const std::vector<std::string> lines = {"a /* b */ \"s\" 'c' (x) {y} $ $1 1e $$", "( ( ( /* \"", "*/ ) ) )", ""};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Change(c.edit);
        const auto out = ColorLines(parser, lines);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(out.attrs[i].size(), lines[i].size());
            EXPECT_LT(out.endStates[i] >> 24, parser.SyntaxScheme().BlockStacks().size());
        }
    }
}

// A chain of blocks nested deeper than 256 interned stacks can name: the
// blocks that do not fit are simply not entered.
TEST_F(SyntaxBlocksTest, NestingDeeperThanTheStateCanHoldStopsEntering)
{
    Change([](TSyntaxScheme& s) {
        for (int id = 1; id < TSyntaxScheme::kMaxBlocks; ++id) {
            s.SyntaxBlocks.push_back(Child("Level", id, id - 1, 10, {"(", ")", true, true}));
        }
    });
    const std::string line = std::string(300, '(') + std::string(300, ')') + " x";
    const auto out = ColorLines(parser, {line, std::string(300, '('), "x", std::string(300, ')'), "x"});
    EXPECT_EQ(parser.SyntaxScheme().BlockStacks().size(), 256u);
    EXPECT_EQ(out.attrs[0].substr(600), "09"); // all closed again
    EXPECT_EQ(out.endStates[0], 0u);
    EXPECT_EQ(out.endStates[1] >> 24, 255u);
    EXPECT_EQ(out.attrs[2], "A");
    EXPECT_EQ(out.endStates[3], 0u);
    EXPECT_EQ(out.attrs[4], "9");
}

TEST_F(SyntaxParserTest, LongLinesAndEmbeddedZeros)
{
    std::string line;
    while (line.size() < (1u << 20)) {
        line += "if (x == \"a\\\"b\") /* c */ y = 0x1F + 1.5e3; '''t''' ";
    }
    std::vector<std::uint8_t> attrs;
    EXPECT_EQ(parser.ColorString(line, 0, attrs), 0u);
    EXPECT_EQ(attrs.size(), line.size());
    const std::string unclosed = "/*" + std::string(1u << 20, 'x');
    EXPECT_EQ(LexState(parser.ColorString(unclosed, 0, attrs)), 1u);

    // Text after a zero byte is not parsed: it takes the block's text attribute.
    EXPECT_EQ(Color(std::string("if\0/* x", 7)), "3300000");
    EXPECT_EQ(lastState, 0u);
}

TEST_F(SyntaxParserTest, StartStatesFromOutsideAreSafe)
{
    const std::uint32_t states[] = {0xFFFFFFFFu, 0x12345678u, 0x00000100u | 0xFF, 0x0000FF00u, 0x00000300u | 0x7F};
    for (std::uint32_t state : states) {
        SCOPED_TRACE(state);
        EXPECT_EQ(Color("abc */ x", state).size(), 8u);
    }
}

// Colouring a document top to bottom and colouring single lines again from
// their stored start states, in any order and after edits, give the same bytes.
TEST_F(SyntaxBlocksTest, LineByLineEqualsWholeDocument)
{
    Change([](TSyntaxScheme& s) {
        s.SyntaxBlocks.push_back(Child("Outer", 1, 0, 10, {"{", "}", true, true}));
        s.SyntaxBlocks.push_back(Child("Inner", 2, 1, 11, {"[", "]", false, true}));
        s.SyntaxBlocks[1].UseComments = s.SyntaxBlocks[1].UseMultiLineComments = true;
        s.SyntaxBlocks[1].MultiLineCommentDelimiters = {Pair(kComment, "/*", "*/")};
    });
    std::mt19937 random(20261210);
    const char alphabet[] = "ab1 {}[]/*\"'\\#$";
    std::vector<std::string> lines(400);
    for (std::string& line : lines) {
        const std::size_t length = random() % 24;
        for (std::size_t i = 0; i < length; ++i) {
            line += alphabet[random() % (sizeof(alphabet) - 1)];
        }
    }
    const auto whole = ColorLines(parser, lines);
    for (std::size_t i = lines.size(); i-- > 0;) {
        std::vector<std::uint8_t> attrs;
        EXPECT_EQ(parser.ColorString(lines[i], whole.startStates[i], attrs), whole.endStates[i]) << "line " << i;
        EXPECT_EQ(AttrText(attrs), whole.attrs[i]) << "line " << i;
    }

    // Edit a few lines, recolour from the first edited line until the end state
    // matches the stored one, and compare with colouring everything afresh.
    for (int edit = 0; edit < 50; ++edit) {
        const std::size_t at = random() % lines.size();
        lines[at] = alphabet[random() % (sizeof(alphabet) - 1)] + lines[at];
        TColoredLines incremental = ColorLines(parser, std::vector<std::string>(lines.begin(), lines.begin() + at));
        std::uint32_t state = at == 0 ? 0 : incremental.endStates.back();
        const auto fresh = ColorLines(parser, lines);
        for (std::size_t i = at; i < lines.size(); ++i) {
            std::vector<std::uint8_t> attrs;
            state = parser.ColorString(lines[i], state, attrs);
            EXPECT_EQ(AttrText(attrs), fresh.attrs[i]);
            if (state == fresh.endStates[i] && i > at) {
                break;
            }
        }
    }
}

struct TCountingNotifier : IParserNotifier {
    void ParserChanged(TSimpleParser&) override { ++count; }
    void ParserDestroyed(TSimpleParser&) override { }
    int count = 0;
};

TEST_F(SyntaxParserTest, ChangingTheSchemeTellsTheBuffer)
{
    TCountingNotifier notifier;
    parser.RegisterNotifier(&notifier);
    parser.SyntaxScheme().SyntaxBlocks[0].FIText = 3;
    parser.SyntaxScheme().SchemeChanged();
    EXPECT_EQ(notifier.count, 1);
    EXPECT_EQ(Color(" "), "3");

    parser.BeginUpdate();
    parser.SetDefaultBackColor(0xFFFFFF);
    parser.SetUseGlobalOptions(true);
    EXPECT_EQ(notifier.count, 1);
    parser.EndUpdate();
    EXPECT_EQ(notifier.count, 2);
    parser.UnregisterNotifier(&notifier);
}

TEST(SyntaxParserAttributes, FontsAndBackgroundsResolveThroughEnclosingBlocks)
{
    TSyntaxScheme scheme;
    scheme.SyntaxBlocks[0].FIText = 0;
    TSyntaxBlock child;
    child.ID = 1;
    child.ParentID = 0;
    child.FIText = 2;
    scheme.SyntaxBlocks.push_back(child);
    TAttrItem& rootText = scheme.FontTable.Add(); // 0
    rootText.UseDefFont = rootText.UseDefBack = false;
    rootText.Font.Name = "Mono";
    rootText.Font.Height = -16;
    rootText.BackColor = 0x00EEEEEE;
    TAttrItem& keyword = scheme.FontTable.Add(); // 1, inherits from block 0
    keyword.Font.Name = "Ignored";
    keyword.Font.Style = fsBold;
    keyword.Font.Color = 0xFF0000;
    TAttrItem& childText = scheme.FontTable.Add(); // 2, in block 1, inherits through it
    childText.BlockID = 1;
    TAttrItem& stray = scheme.FontTable.Add(); // 3, block that does not exist
    stray.BlockID = 9;
    scheme.SyntaxVersion = 3;

    TSyntaxParser parser;
    parser.SetSyntaxScheme(scheme);
    const TFontSpec keywordFont = *parser.GetFont(1);
    EXPECT_EQ(keywordFont.name, "Mono");
    EXPECT_EQ(keywordFont.size, 12);
    EXPECT_TRUE(keywordFont.bold);
    EXPECT_EQ(keywordFont.color, 0xFF0000u);
    EXPECT_EQ(*parser.GetBackColor(1), 0x00EEEEEEu);
    EXPECT_EQ(parser.GetFont(2)->name, "Mono");
    EXPECT_EQ(parser.GetFont(3)->name, "Courier New");
    EXPECT_EQ(*parser.GetBackColor(3), clWindow);
    // No attribute 12 in the table: the built-in URL attribute.
    EXPECT_TRUE(parser.GetFont(12)->underline);
    // Bytes without an attribute fall back to whitespace.
    EXPECT_EQ(parser.GetFont(200)->name, "Courier New");
    EXPECT_FALSE(parser.GetFont(200)->bold);
}

} // namespace
} // namespace quillet

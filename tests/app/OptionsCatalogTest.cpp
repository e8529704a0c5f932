#include "app/OptionsCatalog.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;

TOptionsInput ValidInput()
{
    TOptionsInput input;
    input.blockIndent = "1";
    input.tabStops = "9,17";
    input.tabSize = "8";
    input.marginPosition = "80";
    input.gutterWidth = "20";
    input.fontSize = "10";
    return input;
}

TEST(OptionsCatalog, ValidationTable)
{
    struct Case {
        const char* name;
        void (*change)(TOptionsInput&);
        std::optional<TOptionsField> field; // nullopt: accepted
        const char* messageKey;
        const char* argument;
        const char* resetTo;
    };
    const Case cases[] = {
        {"defaults pass", [](TOptionsInput&) {}, std::nullopt, "", "", ""},
        {"block indent 0 passes",
            [](TOptionsInput& i) {
                i.blockIndent = "0";
            },
            std::nullopt,
            "",
            "",
            ""},
        {"block indent text",
            [](TOptionsInput& i) {
                i.blockIndent = "x";
            },
            TOptionsField::BlockIndent,
            "NotInteger",
            "x",
            "1"},
        {"block indent negative",
            [](TOptionsInput& i) {
                i.blockIndent = "-1";
            },
            TOptionsField::BlockIndent,
            "NotInteger",
            "-1",
            "1"},
        {"block indent above 64",
            [](TOptionsInput& i) {
                i.blockIndent = "65";
            },
            TOptionsField::BlockIndent,
            "MustBeLess",
            "64",
            "1"},
        {"tab stops 9,9 not increasing",
            [](TOptionsInput& i) {
                i.tabStops = "9,9";
            },
            TOptionsField::TabStops,
            "NotSequence",
            "",
            "9,17"},
        {"a single tab stop 4 passes",
            [](TOptionsInput& i) {
                i.tabStops = "4";
            },
            std::nullopt,
            "",
            "",
            ""},
        {"tab stop 0 would break every document",
            [](TOptionsInput& i) {
                i.tabStops = "0,8";
            },
            TOptionsField::TabStops,
            "NotSequence",
            "",
            "9,17"},
        {"tab stop above 1000",
            [](TOptionsInput& i) {
                i.tabStops = "5,1001";
            },
            TOptionsField::TabStops,
            "NotSequence",
            "",
            "9,17"},
        {"empty tab stops",
            [](TOptionsInput& i) {
                i.tabStops = "";
            },
            TOptionsField::TabStops,
            "NotSequence",
            "",
            "9,17"},
        {"tab size 0",
            [](TOptionsInput& i) {
                i.tabSize = "0";
            },
            TOptionsField::TabSize,
            "MustBeGreater",
            "1",
            "1"},
        {"margin 1",
            [](TOptionsInput& i) {
                i.marginPosition = "1";
            },
            TOptionsField::MarginPosition,
            "MustBeGreater",
            "2",
            "80"},
        {"margin 1 while disabled passes",
            [](TOptionsInput& i) {
                i.marginPosition = "1";
                i.marginEnabled = false;
            },
            std::nullopt,
            "",
            "",
            ""},
        {"margin above 1000",
            [](TOptionsInput& i) {
                i.marginPosition = "1001";
            },
            TOptionsField::MarginPosition,
            "MustBeLess",
            "1000",
            "80"},
        {"gutter 4",
            [](TOptionsInput& i) {
                i.gutterWidth = "4";
            },
            TOptionsField::GutterWidth,
            "MustBeGreater",
            "5",
            "20"},
        {"gutter above 500",
            [](TOptionsInput& i) {
                i.gutterWidth = "501";
            },
            TOptionsField::GutterWidth,
            "MustBeLess",
            "500",
            "20"},
        {"font size 0",
            [](TOptionsInput& i) {
                i.fontSize = "0";
            },
            TOptionsField::FontSize,
            "NotInteger",
            "0",
            "10"},
        {"font size 201",
            [](TOptionsInput& i) {
                i.fontSize = "201";
            },
            TOptionsField::FontSize,
            "MustBeLess",
            "200",
            "10"},
        {"masks *.abc;*.de",
            [](TOptionsInput& i) {
                i.otherMasks = "*.abc;*.de";
            },
            std::nullopt,
            "",
            "",
            ""},
        {"mask *.c is long enough",
            [](TOptionsInput& i) {
                i.otherMasks = "*.c; *.H;";
            },
            std::nullopt,
            "",
            "",
            ""},
        {"mask *. too short",
            [](TOptionsInput& i) {
                i.otherMasks = "*.";
            },
            TOptionsField::OtherMasks,
            "NotSemicolon",
            "",
            ""},
        {"mask abc without asterisk",
            [](TOptionsInput& i) {
                i.otherMasks = "abc";
            },
            TOptionsField::OtherMasks,
            "NotSemicolon",
            "",
            ""},
        {"mask with a path character",
            [](TOptionsInput& i) {
                i.otherMasks = "*.a/b";
            },
            TOptionsField::OtherMasks,
            "NotSemicolon",
            "",
            ""},
        {"first failure wins",
            [](TOptionsInput& i) {
                i.tabSize = "0";
                i.blockIndent = "z";
            },
            TOptionsField::BlockIndent,
            "NotInteger",
            "z",
            "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOptionsInput input = ValidInput();
        c.change(input);
        const std::optional<TOptionsFailure> failure = ValidateOptions(input);
        ASSERT_EQ(failure.has_value(), c.field.has_value());
        if (failure) {
            EXPECT_EQ(failure->field, *c.field);
            EXPECT_EQ(failure->messageKey, c.messageKey);
            EXPECT_EQ(failure->argument, c.argument);
            EXPECT_EQ(failure->resetTo, c.resetTo);
        }
    }
}

TEST(OptionsCatalog, AssociationMasksGiveLowerCaseExtensions)
{
    EXPECT_EQ(ParseAssociationMasks("*.abc;*.de"), (std::vector<std::string>{"abc", "de"}));
    EXPECT_EQ(ParseAssociationMasks(" *.C , *.c++;;"), (std::vector<std::string>{"c", "c++"}));
    EXPECT_EQ(ParseAssociationMasks(""), std::vector<std::string>{});
    EXPECT_FALSE(ParseAssociationMasks("*.x y"));
}

TEST(OptionsCatalog, ColorTexts)
{
    const std::uint32_t rgb123 = 1u | (2u << 8) | (3u << 16);
    EXPECT_EQ(ColorToStored(rgb123), "197121");
    EXPECT_EQ(ColorToText(rgb123), "$00030201");
    EXPECT_EQ(ColorFromText("$00030201"), rgb123);
    EXPECT_EQ(ColorToText(0x000080), "clMaroon");
    EXPECT_EQ(ColorToText(0x80000011), "clGrayText");
    EXPECT_EQ(ColorToStored(0x80000011), "-2147483631");
    EXPECT_EQ(ColorFromText("clInfoBk"), 0x80000018u);
    EXPECT_FALSE(ColorFromText("$123456789"));
    EXPECT_FALSE(ColorFromText("clNoSuchColor"));
    ASSERT_EQ(NamedColors().size(), 41u);
    EXPECT_EQ(NamedColors()[15].name, "clWhite");
    EXPECT_EQ(NamedColors()[16].name, "clScrollBar");
}

// Every integer setting read from a hand-edited store lands in its range or
// gives its default; Booleans with junk give false as the store reads them.
TEST(OptionsCatalog, HandEditedStoreIsClampedOnRead)
{
    TSettingsStore store("", TSettingsForm::PerUser);
    for (const char* junk : {"abc", "99999999", "-99999999", "", "1e3"}) {
        SCOPED_TRACE(junk);
        for (const TOptionDef& def : OptionDefs()) {
            store.WriteString(def.section, def.key, junk);
        }
        for (const TOptionDef& def : OptionDefs()) {
            if (def.kind == TOptionKind::Number || def.kind == TOptionKind::Choice || def.kind == TOptionKind::PenStyle
                || def.kind == TOptionKind::BrushStyle) {
                if (def.key == "TabStops") {
                    continue;
                }
                const std::int32_t value = ReadOptionInteger(store, def);
                EXPECT_GE(value, def.minimum) << def.key;
                EXPECT_LE(value, def.maximum) << def.key;
            }
        }
        const THexOptions hex = ReadHexOptions(store);
        EXPECT_TRUE(hex.columnWidth == 1 || hex.columnWidth == 2 || hex.columnWidth == 4);
        EXPECT_TRUE(hex.lineSize == 16 || hex.lineSize == 32 || hex.lineSize == 64);
        EXPECT_GE(hex.offsetDisplay, 0);
        EXPECT_LE(hex.offsetDisplay, 3);
    }
    EXPECT_EQ(ReadHexOptions(*std::make_unique<TSettingsStore>("", TSettingsForm::PerUser)), THexOptions{});
}

TEST(OptionsCatalog, TabStopsFromAStoreFallBackWhenUnusable)
{
    EXPECT_EQ(SanitizeTabStops("4,8,12"), "4,8,12");
    EXPECT_EQ(SanitizeTabStops("0"), "9,17");
    EXPECT_EQ(SanitizeTabStops("-3,5"), "9,17");
    EXPECT_EQ(SanitizeTabStops("8,4"), "9,17");
    EXPECT_EQ(SanitizeTabStops("junk"), "9,17");
}

// The search history keeps its entries as lines of one value; the entries may
// hold the store's own syntax characters and blanks at their ends.
TEST(OptionsCatalog, SearchHistorySurvivesARestartInBothStoreForms)
{
    const std::string value = "a|b\nkey=value\n[section]\ntrailing  \n  leading\n\"quoted\"\n;semi";
    for (TSettingsForm form : {TSettingsForm::ProgramIni, TSettingsForm::PerUser}) {
        TTempDir dir;
        const auto file = dir.Path() / "Quillet.ini";
        {
            TSettingsStore store(file, form);
            ASSERT_TRUE(store.WriteString("Search History", "SearchItems", value));
            ASSERT_TRUE(store.WriteString("Search History", "ReplaceItems", "x\r\ny"));
        }
        TSettingsStore again(file, form);
        EXPECT_EQ(again.ReadString("Search History", "SearchItems", ""), value);
        EXPECT_EQ(again.ReadString("Search History", "ReplaceItems", ""), "x\r\ny");
        EXPECT_EQ(again.ReadSection("Search History").size(), 2u);
    }
}

} // namespace
} // namespace quillet

#include "syntax/TextStyles.h"

#include "SchemeFixtures.h"
#include "core/SettingsStore.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TextStyles, TableStartsInFixedOrderWithDefaultPreset)
{
    TTextStyles styles;
    ASSERT_EQ(styles.Count(), 29);
    const std::pair<int, const char*> names[] = {{0, "Whitespace"},
        {6, "Reserved words"},
        {12, "Url"},
        {16, "Search Match"},
        {24, "Script ResWord"},
        {25, "Plain Text"},
        {28, "Modified Lines"}};
    for (const auto& [index, name] : names) {
        EXPECT_EQ(styles[index].Name, name);
        EXPECT_EQ(styles.IndexOf(name), index);
    }
    EXPECT_EQ(styles.IndexOf("plain text"), -1) << "style names are matched with case";
    EXPECT_EQ(styles[2].Font.color, clGray);
    EXPECT_TRUE(styles[2].Font.italic);
    EXPECT_EQ(styles[25].UpdateMemoColors, TMemoColors::mcText);
}

TEST(TextStyles, PresetValues)
{
    struct Case {
        int preset;
        int style;
        TColor fore;
        TColor back;
        const char* letters;
        TMemoColors update;
        bool view;
    };
    const Case cases[] = {
        {0, 1, clMaroon, clWindow, "", TMemoColors::mcNone, true},
        {0, 12, clBlue, clWindow, "U", TMemoColors::mcNone, true},
        {0, 15, clWindow, clNavy, "", TMemoColors::mcSelection, false},
        {0, 26, clBlack, 0xF0CCA8, "", TMemoColors::mcNone, false},
        {1, 6, clWhite, clNavy, "", TMemoColors::mcNone, true},
        {1, 21, clSilver, clNavy, "I", TMemoColors::mcNone, true},
        {1, 25, clYellow, clNavy, "", TMemoColors::mcText, false},
        {2, 16, clAqua, clGray, "", TMemoColors::mcSearchMatch, false},
        {2, 24, clBlue, clAqua, "B", TMemoColors::mcNone, true},
        {3, 13, clWindow, clRed, "", TMemoColors::mcNone, false},
        {3, 17, clWhite, clBlack, "B", TMemoColors::mcNone, true},
        {3, 25, clWindow, clBlack, "", TMemoColors::mcText, false},
        {7, 1, clMaroon, clWindow, "", TMemoColors::mcNone, true}, // unknown preset means 0
        {-1, 28, clBlack, 0x6FFB8A, "", TMemoColors::mcNone, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "preset " << c.preset << " style " << c.style);
        TTextStyles styles;
        styles.SetUseMemoFont(c.style, true);
        InitTextStyles(styles, c.preset);
        const TTextStyle& s = styles[c.style];
        EXPECT_EQ(s.Font.color, c.fore);
        EXPECT_EQ(s.Color, c.back);
        EXPECT_EQ(FontStyleLetters(s.Font), c.letters);
        EXPECT_EQ(s.UpdateMemoColors, c.update);
        EXPECT_EQ(s.UseMemoColor, c.view);
        EXPECT_FALSE(s.UseMemoFont);
    }
}

TEST(TextStyles, StyleRulesAndChangeBrackets)
{
    TTextStyles styles;
    int changes = 0;
    styles.OnChanged = [&] {
        ++changes;
    };
    styles.SetViewBackground(0x123456);
    TFontSpec viewFont;
    viewFont.name = "Mono";
    viewFont.color = 0x010203;
    styles.SetViewFont(viewFont);

    styles.SetColor(1, clRed);
    EXPECT_FALSE(styles[1].UseMemoColor);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(styles.SetUseMemoColor(1, true));
    EXPECT_EQ(styles[1].Color, 0x123456u) << "switching on copies the view background";
    EXPECT_TRUE(styles.SetUseMemoFont(1, true));
    EXPECT_EQ(styles[1].Font, viewFont);
    TFontSpec bold = viewFont;
    bold.bold = true;
    styles.SetFont(1, bold);
    EXPECT_FALSE(styles[1].UseMemoFont);

    // Styles that set the view's own colours never follow the view.
    EXPECT_FALSE(styles.SetUseMemoColor(kTextStylePlainText, true));
    EXPECT_FALSE(styles.SetUseMemoFont(kTextStyleMarkedBlock, true));
    EXPECT_FALSE(styles[kTextStylePlainText].UseMemoColor);

    changes = 0;
    styles.BeginParserUpdate();
    styles.BeginParserUpdate();
    styles.SetColor(2, clRed);
    styles.ApplyPreset(3);
    styles.EndParserUpdate();
    EXPECT_EQ(changes, 0);
    styles.EndParserUpdate();
    EXPECT_EQ(changes, 1) << "one report at the end of the outermost bracket";
    EXPECT_EQ(styles[25].Color, clBlack) << "Twilight turns the view background black";
    styles.EndParserUpdate(); // unbalanced end is harmless
    EXPECT_EQ(changes, 1);
}

TEST(TextStyles, ColorSchemeKeysRoundTripThroughTheStore)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    TTextStyles styles;
    styles.ApplyPreset(3);
    styles.SetColor(4, 0x00ABCDEF);
    TFontSpec font = styles[4].Font;
    font.bold = font.underline = true;
    font.color = 0x0000FF;
    styles.SetFont(4, font);
    styles.SetUseMemoFont(7, true);
    styles.SetEditorFont({"DejaVu Sans Mono", 12, 0});
    ASSERT_TRUE(styles.WriteSettings(store));

    EXPECT_EQ(store.ReadString("Color Scheme", "4 FontStyle", ""), "BU");
    EXPECT_EQ(store.ReadInteger("Color Scheme", "4 Color", 0), 0x00ABCDEF);
    EXPECT_EQ(store.ReadInteger("Color Scheme", "25 Color", -1), 0);
    EXPECT_TRUE(store.ReadBool("Color Scheme", "7 Foreground", false));
    EXPECT_EQ(store.ReadInteger("Color Scheme", "SpeedColorSetting", 0), 3);
    // System colours keep their high byte through the signed integer.
    EXPECT_EQ(static_cast<TColor>(store.ReadInteger("Color Scheme", "0 FontColor", 0)), clWindow);

    TTextStyles read;
    read.ReadSettings(store);
    EXPECT_EQ(read.Items(), styles.Items());
    EXPECT_EQ(read.EditorFont(), styles.EditorFont());
    EXPECT_EQ(read.Preset(), 3);
}

TEST(TextStyles, MissingOrBadKeysGiveDefaults)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    store.WriteString("Color Scheme", "2 Color", "not a number");
    store.WriteString("Color Scheme", "25 Background", "1"); // Plain Text never follows the view
    store.WriteString("Color Scheme", "FontSize", "-5");
    store.WriteString("Color Scheme", "SpeedColorSetting", "9");
    TTextStyles read;
    read.ApplyPreset(2);
    read.ReadSettings(store);
    EXPECT_EQ(read.Items(), TTextStyles().Items());
    EXPECT_EQ(read.EditorFont().Name, "Courier New");
    EXPECT_GE(read.EditorFont().Size, 1);
    EXPECT_EQ(read.Preset(), 3);
}

TEST(TextStyles, HighlighterTakesStyleColoursAndEditorFont)
{
    using namespace test;
    TSyntaxScheme scheme;
    scheme.SyntaxBlocks = {CLikeRoot()};
    AddAttributes(scheme, 12);
    scheme.SyntaxVersion = 3;
    auto& items = scheme.FontTable.Items;
    items[kComment].GlobalAttrID = "Comment";
    items[kString].GlobalAttrID = "string"; // differs in case: keeps its own colours
    items[kString].Font.Color = 0x111111;
    items[kString].UseDefBack = false;
    items[kString].BackColor = 0x222222;
    items[kKeyword].GlobalAttrID = "Search Match"; // has its own background
    items[kKeyword].UseDefBack = true;
    items[kInt].GlobalAttrID = "BreakPoint";
    items[kInt].UseDefBack = false;
    TSyntaxParser parser;
    parser.SetSyntaxScheme(scheme);

    TTextStyles styles;
    styles.ApplyPreset(3);
    UpdateSyntaxParser(parser, styles, {"DejaVu Sans Mono", 13, 0});

    const auto comment = parser.GetFont(kComment);
    ASSERT_TRUE(comment.has_value());
    EXPECT_EQ(comment->color, clSilver);
    EXPECT_EQ(comment->name, "DejaVu Sans Mono");
    EXPECT_EQ(comment->size, 13);
    EXPECT_EQ(parser.GetBackColor(kComment), clBlack);
    EXPECT_EQ(parser.GetFont(kString)->color, 0x111111u);
    EXPECT_EQ(parser.GetBackColor(kString), 0x222222u);
    EXPECT_EQ(parser.GetFont(kKeyword)->color, clBlue);
    EXPECT_EQ(parser.GetBackColor(kKeyword), clBlack) << "UseDefBack shows the Plain Text background";
    EXPECT_EQ(parser.GetBackColor(kInt), clRed);
    EXPECT_EQ(parser.GetFont(200)->color, clWindow) << "the default attribute takes Plain Text colours";
    EXPECT_EQ(parser.GetBackColor(200), clBlack) << "bytes without an entry use the default attribute";
    EXPECT_EQ(parser.GetFont(12)->color, clLime) << "URLs show the preset's Url style";
    EXPECT_TRUE(parser.GetFont(12)->underline);
    EXPECT_EQ(parser.GetBackColor(12), clBlack);
}

} // namespace
} // namespace quillet

#include "syntax/TextStylesSettings.h"

#include "core/SettingsStore.h"
#include "syntax/ColorPresets.h"
#include "text/MemoOptions.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TextStylesSettings, DefaultsRoundTripAndBadValues)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    TMemoViewSettings read;
    read.highlightUrls = false;
    read.fontSize = 33;
    ReadTextStylesViewSettings(store, read);
    EXPECT_TRUE(read.useSyntaxHighlight);
    EXPECT_TRUE(read.highlightUrls);
    EXPECT_FALSE(read.drawSpecialSymbols);
    EXPECT_FALSE(read.visibleLineSeparator);
    EXPECT_EQ(read.lineSeparatorColor, clGrayText);
    EXPECT_EQ(read.lineHighlightColor, clWhite);
    EXPECT_EQ(read.lineHighlightLineColor, clBlack);
    EXPECT_EQ(read.fontName, "Courier New");
    EXPECT_EQ(read.fontSize, 10);
    EXPECT_EQ(read.fontCharset, 1);

    TMemoViewSettings written;
    written.useSyntaxHighlight = false;
    written.drawSpecialSymbols = true;
    written.wrappedLineSeparator = true;
    written.lineSeparatorStyle = 2;
    written.lineSeparatorColor = 0x80000008;
    written.lineHighlightVisible = true;
    written.lineHighlightColor = 0x00C0FFFF;
    written.fontName = "DejaVu Sans Mono";
    written.fontSize = 12;
    ASSERT_TRUE(WriteTextStylesViewSettings(store, written));
    TMemoViewSettings again;
    ReadTextStylesViewSettings(store, again);
    EXPECT_FALSE(again.useSyntaxHighlight);
    EXPECT_TRUE(again.drawSpecialSymbols);
    EXPECT_TRUE(again.wrappedLineSeparator);
    EXPECT_EQ(again.lineSeparatorStyle, 2);
    EXPECT_EQ(again.lineSeparatorColor, 0x80000008u);
    EXPECT_TRUE(again.lineHighlightVisible);
    EXPECT_EQ(again.lineHighlightColor, 0x00C0FFFFu);
    EXPECT_EQ(again.fontName, "DejaVu Sans Mono");
    EXPECT_EQ(again.fontSize, 12);

    store.WriteString("Display", "LineHighlightStyle", "99");
    store.WriteString("Color Scheme", "FontSize", "0");
    store.WriteString("Color Scheme", "FontName", "");
    ReadTextStylesViewSettings(store, again);
    EXPECT_LE(again.lineHighlightStyle, 6);
    EXPECT_EQ(again.fontSize, 1);
    EXPECT_EQ(again.fontName, "Courier New");
}

} // namespace
} // namespace quillet

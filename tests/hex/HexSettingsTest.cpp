#include "hex/HexSettings.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(HexSettings, HandEditedValuesOutOfRangeFallBack)
{
    struct Case {
        const char* name;
        const char* lineSize;
        const char* columnWidth;
        const char* offsetDisplay;
        int wantLine, wantColumn;
        TOffsetDisplay wantDisplay;
    };
    const Case cases[] = {
        {"valid", "32", "4", "2", 32, 4, odOctal},
        {"zero line size", "0", "2", "1", 16, 2, odDec},
        {"line size above 256", "1000", "1", "0", 16, 1, odHex},
        {"column wider than the line", "4", "8", "3", 4, 2, odNone},
        {"column zero", "16", "0", "9", 16, 2, odHex},
        {"one byte per line", "1", "5", "-1", 1, 1, odHex},
        {"not a number", "x", "y", "z", 16, 2, odHex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TTempDir dir;
        const auto file = dir.Write("q.ini",
            std::string("[HexEditor]\nLineSize=") + c.lineSize + "\nColumnWidth=" + c.columnWidth
                + "\nOffsetDisplay=" + c.offsetDisplay + "\n");
        TSettingsStore store(file, TSettingsForm::ProgramIni);
        const THexSettings s = ReadHexSettings(store);
        EXPECT_EQ(s.lineSize, c.wantLine);
        EXPECT_EQ(s.columnWidth, c.wantColumn);
        EXPECT_EQ(s.offsetDisplay, c.wantDisplay);
    }
}

TEST(HexSettings, WrittenValuesReadBack)
{
    test::TTempDir dir;
    TSettingsStore store(dir.Write("q.ini", ""), TSettingsForm::ProgramIni);
    THexSettings s;
    s.lineSize = 64;
    s.columnWidth = 4;
    s.offsetDisplay = odDec;
    s.background = 0x80000018;
    s.drawSpecialSymbols = false;
    WriteHexSettings(store, s);
    const THexSettings back = ReadHexSettings(store);
    EXPECT_EQ(back.lineSize, 64);
    EXPECT_EQ(back.columnWidth, 4);
    EXPECT_EQ(back.offsetDisplay, odDec);
    EXPECT_EQ(back.background, 0x80000018u);
    EXPECT_FALSE(back.drawSpecialSymbols);
}

} // namespace
} // namespace quillet

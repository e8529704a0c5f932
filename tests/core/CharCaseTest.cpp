#include "core/CharCase.h"

#include "core/CodePages.h"
#include "support/SystemCodePageGuard.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TSystemCodePageGuard;

TEST(CharCase, FollowsTheSystemCodePage)
{
    struct Case {
        const char* name;
        int cp;
        unsigned char lower;
        unsigned char upper;
    };
    const Case cases[] = {
        {"ASCII", kCpWindows1252, 'q', 'Q'},
        {"1252 e acute", kCpWindows1252, 0xE9, 0xC9},
        {"1252 y diaeresis", kCpWindows1252, 0xFF, 0x9F},
        {"1252 s caron", kCpWindows1252, 0x9A, 0x8A},
        {"1250 c caron", kCpWindows1250, 0xE8, 0xC8},
        {"1250 z caron", kCpWindows1250, 0x9E, 0x8E},
        {"ISO-8859-2 s caron", kCpIso8859_2, 0xB9, 0xA9},
        {"852 u ring", kCpDos852, 0x85, 0xDE},
        {"Kamenicky r caron", kCpKamenicky, 0xA9, 0x9E},
        {"1251 ya", kCpWindows1251, 0xFF, 0xDF},
        {"1251 yo", kCpWindows1251, 0xB8, 0xA8},
        {"KOI8-R a", kCpKoi8R, 0xC1, 0xE1},
        {"1253 alpha with tonos", kCpWindows1253, 0xDC, 0xA2},
        {"1253 omega", kCpWindows1253, 0xF9, 0xD9},
        {"1254 s cedilla", kCpWindows1254, 0xFE, 0xDE},
        {"1258 u horn", kCpWindows1258, 0xFD, 0xDD},
        {"ISO-8859-14 w circumflex", kCpIso8859_14, 0xF0, 0xD0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSystemCodePageGuard guard(c.cp);
        EXPECT_EQ(UpperChar(c.lower), c.upper);
        EXPECT_EQ(LowerChar(c.upper), c.lower);
        EXPECT_TRUE(IsLetterChar(c.lower));
        EXPECT_TRUE(IsLetterChar(c.upper));
    }
}

TEST(CharCase, LettersWithoutPartnerKeepTheirByte)
{
    TSystemCodePageGuard guard(kCpIso8859_1);
    EXPECT_EQ(UpperChar(0xFF), 0xFF) << "no capital y diaeresis in ISO-8859-1";
    EXPECT_EQ(UpperChar(0xDF), 0xDF);
    EXPECT_TRUE(IsLetterChar(0xDF));
    EXPECT_FALSE(IsLetterChar(0xD7)) << "multiplication sign";
    EXPECT_FALSE(IsLetterChar('7'));
    {
        TSystemCodePageGuard greek(kCpWindows1253);
        EXPECT_EQ(UpperChar(0xF2), 0xD3) << "final sigma";
        EXPECT_EQ(LowerChar(0xD3), 0xF3);
    }
    {
        TSystemCodePageGuard hebrew(kCpWindows1255);
        EXPECT_TRUE(IsLetterChar(0xE0));
        EXPECT_EQ(UpperChar(0xE0), 0xE0);
    }
}

TEST(CharCase, TextAndComparison)
{
    TSystemCodePageGuard guard(kCpWindows1250);
    EXPECT_EQ(UpperText("\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"), "\x8ELU\x8DOU\xC8K\xDD K\xD9\xD2");
    EXPECT_EQ(LowerText("\x8ELU\x8DOU\xC8K\xDD"), "\x9Elu\x9Dou\xE8k\xFD");
    EXPECT_EQ(CompareTextIgnoreCase("\xC8"
                                    "aj",
                  "\xE8"
                  "AJ"),
        0);
    EXPECT_LT(CompareTextIgnoreCase("abc", "ABD"), 0);
    EXPECT_GT(CompareTextIgnoreCase("abcd", "ABC"), 0);
    EXPECT_EQ(CompareTextIgnoreCase("", ""), 0);
}

} // namespace
} // namespace quillet

#include "core/CodePages.h"

#include "support/SystemCodePageGuard.h"

#include <gtest/gtest.h>
#include <set>

namespace quillet {
namespace {

using test::TSystemCodePageGuard;

TEST(CodePages, ListEntriesRoundTripThroughTheirIdentifiers)
{
    std::set<int> charsets;
    for (int i = 1; i < kCodePageCount; ++i) {
        SCOPED_TRACE(i);
        const int cp = GetCodePage(i);
        EXPECT_TRUE(charsets.insert(cp).second) << "charset listed twice";
        EXPECT_EQ(GetCPIndex(cp), i);
        EXPECT_EQ(GetCPFromID(GetIDFromCP(cp)), cp);
        EXPECT_FALSE(GetCodePageStr(i).empty());
        EXPECT_LE(GetCodePageStr(i).size(), 36u);
    }
    EXPECT_EQ(GetCodePageStr(0), "unknown code page");
    EXPECT_EQ(GetCodePageStr(8), "ISO_8859_8 (Hebrew)");
    EXPECT_EQ(GetCodePageStr(24), "CP895 (Czech-Kamenicky)");
    EXPECT_EQ(GetIDFromCP(kCpIso8859_8), "ISO_8859-8");
    EXPECT_EQ(GetIDFromCP(kCpKamenicky), "CP-895");
    EXPECT_EQ(GetIDFromCP(kCpDos852), "852");
    EXPECT_EQ(GetIDFromCP(kCpUtf7Modified), "mUTF-7");
    EXPECT_EQ(GetIDFromCP(12345), "ISO-8859-1");
    EXPECT_EQ(GetCPIndex(12345), 0);
    EXPECT_EQ(GetCodePage(99), GetSystemCodePage());
    EXPECT_EQ(GetCodePage(-1), GetSystemCodePage());
}

TEST(CodePages, EntryZeroFollowsTheSystemCodePage)
{
    TSystemCodePageGuard guard;
    ASSERT_TRUE(SetSystemCodePage(kCpWindows1250));
    EXPECT_EQ(GetCodePage(0), kCpWindows1250);
    EXPECT_EQ(GetDefaultCP(), 14);
    EXPECT_FALSE(SetSystemCodePage(kCpUtf8)) << "the buffer holds 8-bit text only";
    EXPECT_EQ(GetSystemCodePage(), kCpWindows1250);
}

TEST(CodePages, IdentifiersAccepted)
{
    TSystemCodePageGuard guard;
    SetSystemCodePage(kCpWindows1251);
    struct Case {
        const char* id;
        int cp;
    };
    const Case cases[] = {
        {"iso-8859-1", kCpIso8859_1},
        {"  LATIN1 ", kCpIso8859_1},
        {"US-ASCII", kCpIso8859_1},
        {"ANSI_X3.4-1968", kCpIso8859_1},
        {"cp850", kCpIso8859_1},
        {"IBM437", kCpIso8859_1},
        {"ISO_8859-2:1987", kCpIso8859_2},
        {"l2", kCpIso8859_2},
        {"csISOLatin3", kCpIso8859_3},
        {"ISO-IR-110", kCpIso8859_4},
        {"cyrillic", kCpIso8859_5},
        {"ASMO-708", kCpIso8859_6},
        {"ELOT_928", kCpIso8859_7},
        {"greek8", kCpIso8859_7},
        {"ISO_8859-8", kCpIso8859_8},
        {"hebrew", kCpIso8859_8},
        {"LATIN5", kCpIso8859_9},
        {"L6", kCpIso8859_10},
        {"ISO8859-13", kCpIso8859_13},
        {"ISO-CELTIC", kCpIso8859_14},
        {"LATIN-9", kCpIso8859_15},
        {"windows-1250", kCpWindows1250},
        {"MS-EE", kCpWindows1250},
        {"CP1251", kCpWindows1251},
        {"MS-ANSI", kCpWindows1252},
        {"MS-GREEK", kCpWindows1253},
        {"MS-TURK", kCpWindows1254},
        {"MS-HEBR", kCpWindows1255},
        {"MS-ARAB", kCpWindows1256},
        {"WINBALTRIM", kCpWindows1257},
        {"CP1258", kCpWindows1258},
        {"cskoi8r", kCpKoi8R},
        {"IBM852", kCpDos852},
        {"UNICODEBIG", kCpUcs2BE},
        {"UCS-2", kCpUcs2BE},
        {"UNICODELITTLE", kCpUcs2LE},
        {"CSUCS4", kCpUcs4BE},
        {"UCS-4LE", kCpUcs4LE},
        {"utf-8", kCpUtf8},
        {"CSUNICODE11UTF7", kCpUtf7},
        // Containment rules come before the word table.
        {"Kamenicky", kCpKamenicky},
        {"CP-895", kCpKamenicky},
        {"X-KAMENICKY-CS", kCpKamenicky},
        {"IBM895", kCpKamenicky},
        {"mUTF-7", kCpUtf7Modified},
        {"X-MUTF-7", kCpUtf7Modified},
        // Known charsets the list lacks select entry 0, the system code page.
        {"UTF-16", kCpWindows1251},
        {"KOI8-U", kCpWindows1251},
        {"Shift_JIS", kCpWindows1251},
        {"CP866", kCpWindows1251},
        // Unknown identifiers, partial words and several words mean ISO-8859-1.
        {"", kCpIso8859_1},
        {"KLINGON", kCpIso8859_1},
        {"8859-2", kCpIso8859_1},
        {"UTF", kCpIso8859_1},
        {"CP1250 CP1251", kCpIso8859_1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(GetCPFromID(c.id), c.cp);
    }
}

TEST(CodePages, SystemCodePageChosenFromEnvironmentThenLocale)
{
    struct Case {
        const char* name;
        const char* env; // nullptr: unset
        const char* locale;
        int cp;
    };
    const Case cases[] = {
        {"environment wins", "ISO-8859-2", "en_US.UTF-8", kCpIso8859_2},
        {"environment alias", "cp1257", "de_DE", kCpWindows1257},
        {"multi-byte environment ignored", "UTF-8", "cs_CZ.UTF-8", kCpWindows1250},
        {"unknown environment ignored", "nonsense", "ru_RU.UTF-8", kCpWindows1251},
        {"Czech", nullptr, "cs_CZ.UTF-8", kCpWindows1250},
        {"Polish BCP 47", nullptr, "pl-PL", kCpWindows1250},
        {"Serbian Cyrillic", nullptr, "sr_RS", kCpWindows1251},
        {"Serbian Latin", nullptr, "sr_RS@latin", kCpWindows1250},
        {"Ukrainian", nullptr, "uk_UA", kCpWindows1251},
        {"Greek", nullptr, "el_GR.UTF-8", kCpWindows1253},
        {"Turkish", nullptr, "tr_TR", kCpWindows1254},
        {"Hebrew", nullptr, "he_IL", kCpWindows1255},
        {"Arabic", nullptr, "ar_EG", kCpWindows1256},
        {"Lithuanian", nullptr, "lt_LT", kCpWindows1257},
        {"Vietnamese", nullptr, "vi_VN", kCpWindows1258},
        {"English", nullptr, "en_GB.UTF-8", kCpWindows1252},
        {"C locale", nullptr, "C", kCpWindows1252},
        {"empty", nullptr, "", kCpWindows1252},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::string_view> env = c.env ? std::optional<std::string_view>(c.env) : std::nullopt;
        EXPECT_EQ(ChooseSystemCodePage(env, c.locale), c.cp);
    }
}

} // namespace
} // namespace quillet

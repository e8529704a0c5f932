#include "core/Translations.h"

#include "support/HonouredPermissions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

using test::THonouredPermissions;
using test::TTempDir;
using namespace std::string_literals;

TEST(Translations, LookupRules)
{
    TTempDir dir;
    dir.Write("Test.lng",
        "; a comment\n[Other]\nbOK=not this section\n[Translations]\nbCancel=\nbOK=Gut\nMenuFile = &Datei\n"
        "Spaced=  kept blanks  \nEquals=a=b\nBLANK=\n\nnokeyline\n");
    TTranslator t;
    t.SetLanguageFolders({dir.Path()});
    t.ResetLang("Test.lng");

    struct Case {
        const char* key;
        const char* def;
        const char* expected;
    };
    const Case cases[] = {
        {"bOK", "OK", "Gut"},
        {"bok", "OK", "Gut"}, // keys ignore case
        {"bCancel", "Cancel", "Cancel"}, // empty translation keeps the default
        {"MenuFile", "&File", " &Datei"}, // text after "=" unchanged
        {"Spaced", "x", "  kept blanks  "},
        {"Equals", "x", "a=b"}, // split at the first "="
        {"Missing", "Default", "Default"},
        {"", "Empty key", "Empty key"},
        {"Blank", "   ", ""}, // blank default: the read text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(t.LangStr(c.key, c.def), c.expected);
    }
    EXPECT_EQ(t.Diagnostics().size(), 1u); // "nokeyline"
    EXPECT_NE(t.Diagnostics().front().find("Test.lng:12:"), std::string::npos);

    t.ResetLang("");
    EXPECT_EQ(t.LangStr("bOK", "OK"), "OK");
}

TEST(Translations, FileIsLoadedLazilyAndReloadedAfterReset)
{
    TTempDir dir;
    TTranslator t;
    t.SetLanguageFolders({dir.Path() / "user", dir.Path() / "program"});
    dir.Write("program/A.lng", "[Translations]\nKey=program\n");
    t.ResetLang("A.lng");
    EXPECT_EQ(t.LangStr("Key", "d"), "program");
    dir.Write("user/A.lng", "[Translations]\nKey=user\n");
    EXPECT_EQ(t.LangStr("Key", "d"), "program"); // kept until the language changes
    t.ResetLang("A.lng");
    EXPECT_EQ(t.LangStr("Key", "d"), "user"); // the per-user folder comes first
    EXPECT_EQ(t.AvailableLanguages(), std::vector<std::string>{"A"});
}

TEST(Translations, BadFilesGiveTheBuiltInTexts)
{
    TTempDir dir;
    TTranslator t;
    t.SetLanguageFolders({dir.Path()});

    t.ResetLang("Missing.lng");
    EXPECT_EQ(t.LangStr("bOK", "OK"), "OK");
    t.ResetLang("../Escape.lng"); // no folder parts in a language name
    dir.Write("Escape.lng", "[Translations]\nbOK=escaped\n");
    EXPECT_EQ(t.LangStr("bOK", "OK"), "OK");

    dir.Write("Binary.lng", "[Translations]\nbOK=\xE4\xF6\x00x\n\xFF\xFE\x00\x01\n"s);
    t.ResetLang("Binary.lng");
    EXPECT_EQ(t.LangStr("bOK", "OK"), std::string("\xC3\xA4\xC3\xB6\x00x", 6)); // Latin-1 taken as such

    {
        const THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        const auto locked = dir.Write("Locked.lng", "[Translations]\nbOK=locked\n");
        ::chmod(locked.c_str(), 0);
        t.ResetLang("Locked.lng");
        EXPECT_EQ(t.LangStr("bOK", "OK"), "OK");
        ASSERT_FALSE(t.Diagnostics().empty());
        EXPECT_NE(t.Diagnostics().back().find("Locked.lng:0: cannot be read: Permission denied"), std::string::npos)
            << t.Diagnostics().back();
    }
}

TEST(Translations, LargeLanguageFile)
{
    TTempDir dir;
    std::string text = "[Translations]\n";
    while (text.size() < 10 * 1024 * 1024) {
        text += "Key" + std::to_string(text.size()) + "=" + std::string(100, 'x') + "\n";
    }
    text += "Last=found\n";
    dir.Write("Big.lng", text);
    TTranslator t;
    t.SetLanguageFolders({dir.Path()});
    t.ResetLang("Big.lng");
    EXPECT_EQ(t.LangStr("Last", "d"), "found");
}

TEST(Translations, CheckedFormatting)
{
    struct Case {
        const char* name;
        const char* pattern;
        const char* fallback;
        const char* expected;
    };
    const Case cases[] = {
        {"translation used", "Datei \"%s\" fehlt", "File \"%s\" missing", "Datei \"a.txt\" fehlt"},
        {"%S counts as %s", "Datei %S fehlt", "File %s missing", "Datei a.txt fehlt"},
        {"missing placeholder", "Datei fehlt", "File %s missing", "File a.txt missing"},
        {"extra placeholder", "%s %s", "File %s", "File a.txt"},
        {"wrong kind", "Wert %d", "Value %s", "Value a.txt"},
        {"printf directives in file text stay text", "%n%x %s", "%s", "%n%x a.txt"},
        {"percent literal", "100%% %s", "%s", "100% a.txt"},
        {"trailing percent", "%s %", "%s", "a.txt %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatChecked(c.pattern, c.fallback, {"a.txt"}), c.expected);
    }
    EXPECT_EQ(FormatChecked("%d >= %s", "%d >= %s", {5, "%s"}), "5 >= %s"); // arguments are not re-read
    EXPECT_EQ(FormatChecked("%s and %s", "%s and %s", {"one"}), "one and ");
}

} // namespace
} // namespace quillet

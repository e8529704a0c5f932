#include "core/SettingsStore.h"

#include "support/HonouredPermissions.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

using test::THonouredPermissions;
using test::TTempDir;

TEST(SettingsStore, ReadRulesOfEachForm)
{
    struct Case {
        const char* name;
        const char* stored; // nullptr: key absent
        std::int32_t iniInteger;
        std::int32_t userInteger;
        bool iniBool;
        bool userBool;
    };
    // Integer default 7, Boolean default false.
    const Case cases[] = {
        {"absent", nullptr, 7, 7, false, false},
        {"decimal", "42", 42, 42, true, false},
        {"one", "1", 1, 1, true, true},
        {"zero", "0", 0, 0, false, false},
        {"two is true only in the ini form", "2", 2, 2, true, false},
        {"yes is no number", "yes", 7, 7, false, false},
        {"negative", "-15", -15, -15, true, false},
        {"0x hex only in the ini form", "0x1F", 31, 7, true, false},
        {"$ hex only in the ini form", "$1f", 31, 7, true, false},
        {"system colour as hex", "$80000011", -2147483631, 7, true, false},
        {"system colour as decimal", "-2147483631", -2147483631, -2147483631, true, false},
        {"above 32 bits", "2147483648", 7, 7, false, false},
        {"far above 32 bits", "99999999999999999999", 7, 7, false, false},
        {"lowest 32-bit value", "-2147483648", INT32_MIN, INT32_MIN, true, false},
        {"hex above 32 bits", "0x100000000", 7, 7, false, false},
        {"trailing junk", "12abc", 7, 7, false, false},
        {"empty", "", 7, 7, false, false},
        {"sign alone", "-", 7, 7, false, false},
        {"blanks around are trimmed by the file format", "  5  ", 5, 5, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        std::string text = "[S]\n";
        if (c.stored != nullptr) {
            text += std::string("K=") + c.stored + "\n";
        }
        const auto file = dir.Write("q.ini", text);
        TSettingsStore ini(file, TSettingsForm::ProgramIni);
        TSettingsStore user(file, TSettingsForm::PerUser);
        EXPECT_EQ(ini.ReadInteger("S", "K", 7), c.iniInteger);
        EXPECT_EQ(user.ReadInteger("S", "K", 7), c.userInteger);
        EXPECT_EQ(ini.ReadBool("S", "K", false), c.iniBool);
        EXPECT_EQ(user.ReadBool("S", "K", false), c.userBool);
    }
}

TEST(SettingsStore, BooleanDefaultsApplyWhenAbsentOrUnreadable)
{
    TTempDir dir;
    const auto file = dir.Write("q.ini", "[S]\nYes=yes\n");
    TSettingsStore ini(file, TSettingsForm::ProgramIni);
    TSettingsStore user(file, TSettingsForm::PerUser);
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
    EXPECT_TRUE(user.ReadBool("S", "Missing", true));
    EXPECT_TRUE(ini.ReadBool("S", "Yes", true)); // not a number: the default
    EXPECT_FALSE(user.ReadBool("S", "Yes", true)); // text other than "1"
}

TEST(SettingsStore, ValuesRoundTripThroughTheFile)
{
    const std::string values[] = {
        "plain",
        "C:\\path\\with\\backslashes\\",
        "two\nlines",
        "cr\ronly and crlf\r\nend",
        "  leading and trailing blanks  ",
        "\"quoted\"",
        "\"",
        "\\n is not a line break",
        "[not a section]",
        "a=b=c",
        "",
        std::string("nul\0inside", 10),
        "\xC3\xA4\xC3\xB6 UTF-8",
    };
    TTempDir dir;
    const auto file = dir.Path() / "q.ini";
    {
        TSettingsStore store(file, TSettingsForm::ProgramIni);
        int i = 0;
        for (const std::string& value : values) {
            ASSERT_TRUE(store.WriteString("Section", "Key" + std::to_string(i++), value));
        }
    }
    TSettingsStore reread(file, TSettingsForm::ProgramIni);
    int i = 0;
    for (const std::string& value : values) {
        EXPECT_EQ(reread.ReadString("Section", "Key" + std::to_string(i++), "default"), value);
    }
    // A value with line breaks never adds lines that look like sections.
    EXPECT_EQ(reread.ReadSections(), std::vector<std::string>{"Section"});
    // Ordinary values are stored as they are, readable by any INI reader.
    EXPECT_NE(TTempDir::Read(file).find("Key1=C:\\path\\with\\backslashes\\\n"), std::string::npos);
}

TEST(SettingsStore, NamesIgnoreCaseAndBadNamesAreRefused)
{
    TTempDir dir;
    TSettingsStore store(dir.Path() / "q.ini", TSettingsForm::ProgramIni);
    EXPECT_TRUE(store.WriteInteger("Global", "OnStartup", 3));
    EXPECT_EQ(store.ReadInteger("GLOBAL", "onstartup", 0), 3);
    EXPECT_TRUE(store.WriteInteger("global", "ONSTARTUP", 2));
    EXPECT_EQ(store.ReadSection("Global"), std::vector<std::string>{"OnStartup"});

    EXPECT_FALSE(store.WriteString("Bad]Section", "Key", "x"));
    EXPECT_FALSE(store.WriteString("Global", "Bad=Key", "x"));
    EXPECT_FALSE(store.WriteString("Global", "Line\nBreak", "x"));
    EXPECT_FALSE(store.WriteString("", "Key", "x"));
    EXPECT_FALSE(store.WriteString("Global", "", "x"));
    EXPECT_EQ(store.ReadSections(), std::vector<std::string>{"Global"});
}

TEST(SettingsStore, SectionOperationsAndNesting)
{
    TTempDir dir;
    const auto file = dir.Write(
        "q.ini", "[Position\\StandardBar]\nRow=1\n[Position\\EditBar]\nRow=2\n[Recent]\nFile1=a\nFile2=b\n[Empty]\n");
    TSettingsStore user(file, TSettingsForm::PerUser);
    TSettingsStore ini(file, TSettingsForm::ProgramIni);

    EXPECT_EQ(user.ReadSections(), (std::vector<std::string>{"Position", "Recent", "Empty"}));
    EXPECT_EQ(ini.ReadSections(),
        (std::vector<std::string>{"Position\\StandardBar", "Position\\EditBar", "Recent", "Empty"}));
    EXPECT_TRUE(user.SectionExists("Position"));
    EXPECT_FALSE(ini.SectionExists("Position"));
    EXPECT_FALSE(ini.SectionExists("Empty"));
    EXPECT_EQ(user.ReadInteger("position\\editbar\\", "row", 0), 2);
    EXPECT_EQ(ini.ReadSectionValues("Recent"), (std::vector<std::string>{"File1=a", "File2=b"}));

    EXPECT_TRUE(user.EraseSection("Position"));
    TSettingsStore reread(file, TSettingsForm::ProgramIni);
    EXPECT_EQ(reread.ReadSections(), (std::vector<std::string>{"Recent", "Empty"}));
    EXPECT_TRUE(reread.EraseSection("recent"));
    EXPECT_FALSE(reread.SectionExists("Recent"));
}

TEST(SettingsStore, DamagedFilesReadWhatTheyCanAndKeepTheRest)
{
    TTempDir dir;
    std::string junk = "garbage before any section\n[Global]\nLanguage=Deutsch.lng\n";
    junk += std::string("\x00\xFF\xFE binary \x01\x02", 14) + "\n";
    junk += "[unterminated\nno equals sign\n=no key\n; comment\n";
    junk += "[Display]\r\nGutterColor=255\rTabs=4\n[Global]\nLanguage=second wins not\n";
    const auto file = dir.Write("q.ini", junk);
    TSettingsStore store(file, TSettingsForm::PerUser);
    EXPECT_EQ(store.ReadString("Global", "Language", ""), "Deutsch.lng");
    EXPECT_EQ(store.ReadInteger("Display", "GutterColor", 0), 255);
    EXPECT_EQ(store.ReadInteger("Display", "Tabs", 0), 4);

    ASSERT_TRUE(store.WriteString("Display", "Font", "Mono"));
    const std::string after = TTempDir::Read(file);
    EXPECT_NE(after.find(std::string("\x00\xFF\xFE binary", 10)), std::string::npos);
    EXPECT_NE(after.find("; comment"), std::string::npos);
    EXPECT_NE(after.find("garbage before any section"), std::string::npos);
    EXPECT_EQ(TSettingsStore(file, TSettingsForm::PerUser).ReadString("Display", "Font", ""), "Mono");
}

TEST(SettingsStore, BatchSavesOnceAndSeesOtherWriters)
{
    TTempDir dir;
    const auto file = dir.Path() / "q.ini";
    TSettingsStore first(file, TSettingsForm::PerUser);
    {
        TSettingsBatch batch(first);
        for (int i = 0; i < 100; ++i) {
            first.WriteInteger("Batch", "K" + std::to_string(i), i);
        }
        EXPECT_FALSE(std::filesystem::exists(file)); // nothing saved inside the batch
    }
    EXPECT_EQ(TSettingsStore(file, TSettingsForm::PerUser).ReadInteger("Batch", "K99", 0), 99);

    // A second process writes; the first store reads the change and keeps it
    // when it writes itself.
    TSettingsStore second(file, TSettingsForm::PerUser);
    ASSERT_TRUE(second.WriteString("Other", "Key", "theirs"));
    EXPECT_EQ(first.ReadString("Other", "Key", ""), "theirs");
    ASSERT_TRUE(first.WriteString("Mine", "Key", "ours"));
    TSettingsStore third(file, TSettingsForm::PerUser);
    EXPECT_EQ(third.ReadString("Other", "Key", ""), "theirs");
    EXPECT_EQ(third.ReadString("Mine", "Key", ""), "ours");
}

TEST(SettingsStore, FailedSaveLeavesTheOldFileAndReportsIt)
{
    {
        // A folder that cannot be created: the failure is reported, nothing crashes.
        TTempDir dir;
        const auto blocker = dir.Write("blocker", "a file, not a folder");
        TSettingsStore store(blocker / "q.ini", TSettingsForm::PerUser);
        EXPECT_FALSE(store.WriteString("Global", "Language", "y.lng"));
        EXPECT_NE(store.LastError().find("q.ini"), std::string::npos);
        EXPECT_FALSE(store.Flush());
        EXPECT_EQ(TTempDir::Read(blocker), "a file, not a folder");
    }
    TTempDir dir;
    const THonouredPermissions honoured;
    ASSERT_TRUE(honoured.Active());
    const auto file = dir.Write("conf/q.ini", "[Global]\nLanguage=x.lng\n");
    ::chmod(file.parent_path().c_str(), 0500);
    TSettingsStore store(file, TSettingsForm::PerUser);
    EXPECT_FALSE(store.WriteString("Global", "Language", "y.lng"));
    EXPECT_NE(store.LastError().find("q.ini"), std::string::npos);
    ::chmod(file.parent_path().c_str(), 0700);
    EXPECT_EQ(TTempDir::Read(file), "[Global]\nLanguage=x.lng\n");
    EXPECT_TRUE(store.Flush()); // the pending write is saved once possible
    EXPECT_EQ(TSettingsStore(file, TSettingsForm::PerUser).ReadString("Global", "Language", ""), "y.lng");
}

TEST(SettingsStore, UnreadableFileIsNeverOverwritten)
{
    TTempDir dir;
    const THonouredPermissions honoured;
    ASSERT_TRUE(honoured.Active());
    const auto file = dir.Write("q.ini", "[Global]\nLanguage=x.lng\n");
    ::chmod(file.c_str(), 0200);
    TSettingsStore store(file, TSettingsForm::PerUser);
    EXPECT_EQ(store.ReadString("Global", "Language", "default"), "default");
    EXPECT_FALSE(store.WriteString("Global", "Language", "y.lng"));
    ::chmod(file.c_str(), 0600);
    EXPECT_EQ(TTempDir::Read(file), "[Global]\nLanguage=x.lng\n");
}

TEST(SettingsStore, ChoosesTheProgramIniOnlyWhenItIsWritable)
{
    TTempDir dir;
    const auto program = dir.Path() / "quillet";
    const auto perUser = dir.Path() / "user" / "Quillet.ini";
    EXPECT_EQ(ChooseSettingsStore(program, perUser)->Form(), TSettingsForm::PerUser);

    const auto ini = dir.Write("quillet.ini", "");
    auto chosen = ChooseSettingsStore(program, perUser);
    EXPECT_EQ(chosen->Form(), TSettingsForm::ProgramIni);
    EXPECT_EQ(chosen->FilePath(), ini);

    const THonouredPermissions honoured;
    ASSERT_TRUE(honoured.Active());
    ::chmod(ini.c_str(), 0400);
    chosen = ChooseSettingsStore(program, perUser);
    EXPECT_EQ(chosen->Form(), TSettingsForm::PerUser);
    EXPECT_EQ(chosen->FilePath(), perUser);
}

} // namespace
} // namespace quillet

#include "app/RecentList.h"

#include "core/CodePages.h"
#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;

std::vector<std::string> Paths(const TRecentList& list)
{
    std::vector<std::string> paths;
    for (const TRecentEntry& e : list.Entries()) {
        paths.push_back(e.path);
    }
    return paths;
}

// A full list "/f/0" (position 0) ... "/f/9".
TRecentList FullList()
{
    TRecentList list(TRecentList::TKind::Files);
    for (int k = 9; k >= 0; --k) {
        list.Add({"/f/" + std::to_string(k), k, kRecentText});
    }
    return list;
}

TEST(RecentList, AddMovesAnEntryToTheHeadAndKeepsTen)
{
    struct Case {
        const char* name;
        std::string added;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"position 3 moves to 0, 0-2 move down, 4-9 stay",
            "/f/3",
            {"/f/3", "/f/0", "/f/1", "/f/2", "/f/4", "/f/5", "/f/6", "/f/7", "/f/8", "/f/9"}},
        {"an eleventh file drops position 9",
            "/f/new",
            {"/f/new", "/f/0", "/f/1", "/f/2", "/f/3", "/f/4", "/f/5", "/f/6", "/f/7", "/f/8"}},
        {"the head stays where it is", "/f/0", Paths(FullList())},
        {"another spelling of the same path matches",
            "/f/./5",
            {"/f/./5", "/f/0", "/f/1", "/f/2", "/f/3", "/f/4", "/f/6", "/f/7", "/f/8", "/f/9"}},
        {"an empty path is ignored", "", Paths(FullList())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRecentList list = FullList();
        list.Add({c.added, 7, kRecentBinary});
        EXPECT_EQ(Paths(list), c.expected);
    }
    // The moved entry takes the new code page and type; the others keep theirs.
    TRecentList list = FullList();
    list.Add({"/f/3", 7, kRecentBinary});
    EXPECT_EQ(list.At(0), (TRecentEntry{"/f/3", 7, kRecentBinary}));
    EXPECT_EQ(list.At(1), (TRecentEntry{"/f/0", 0, kRecentText}));
    EXPECT_EQ(list.At(4), (TRecentEntry{"/f/4", 4, kRecentText}));
}

TEST(RecentList, PathsMatchExactlyWithCase)
{
    // Two files that differ only in case are both kept (a case-blind match
    // would replace one with the other and reopen the wrong file).
    TRecentList list(TRecentList::TKind::Files);
    list.Add({"/home/u/Notes.txt", 0, kRecentText});
    list.Add({"/home/u/notes.txt", 0, kRecentText});
    EXPECT_EQ(Paths(list), (std::vector<std::string>{"/home/u/notes.txt", "/home/u/Notes.txt"}));
    EXPECT_EQ(list.Find("/home/u/NOTES.TXT"), -1);
    EXPECT_EQ(list.Find("/home/u/Notes.txt"), 1);
}

TEST(RecentList, CaptionsAndRemoval)
{
    TRecentList projects(TRecentList::TKind::Projects);
    projects.Add({"/p/c.qpr", 5, kRecentBinary}); // projects carry index 0 and type text
    projects.Add({"/p/b.qpr", 0, kRecentText});
    projects.Add({"/p/a.qpr", 0, kRecentText});
    EXPECT_EQ(projects.At(2), (TRecentEntry{"/p/c.qpr", 0, kRecentText}));
    EXPECT_EQ(projects.Caption(0), "&A a.qpr");
    // A missing second entry is removed: the third moves up to letter B.
    EXPECT_TRUE(projects.Remove(1));
    EXPECT_EQ(projects.Caption(1), "&B c.qpr");
    EXPECT_FALSE(projects.Remove(2));
    EXPECT_EQ(projects.Count(), 2);

    TRecentList files(TRecentList::TKind::Files);
    files.Add({"/d/R&D notes.txt", 0, kRecentText});
    files.Add({"C:\\old\\win.txt", 0, kRecentText});
    EXPECT_EQ(files.Caption(0), "&0 win.txt");
    EXPECT_EQ(files.Caption(1), "&1 R&&D notes.txt");
    EXPECT_EQ(files.Caption(5), "&5 "); // outside the list: nothing to show
}

TEST(RecentList, RoundTripThroughBothStoreForms)
{
    const int utf8 = GetCPIndex(kCpUtf8);
    const int latin2 = GetCPIndex(kCpIso8859_2);
    TRecentLists lists;
    lists.projects.Add({"/p/one.qpr"});
    lists.files.Add({"/d/text.txt", latin2, kRecentText});
    lists.files.Add({"/d/image.bin", utf8, kRecentBinary});
    lists.files.Add({"/d/R&D = x.txt", utf8, kRecentText});

    for (const TSettingsForm form : {TSettingsForm::ProgramIni, TSettingsForm::PerUser}) {
        SCOPED_TRACE(form == TSettingsForm::ProgramIni ? "program ini" : "per-user store");
        TTempDir dir;
        const auto file = dir.Path() / "q.ini";
        {
            TSettingsStore store(file, form);
            ASSERT_TRUE(WriteRecentLists(store, lists, TRecentLastType::Project));
        }
        const std::string text = TTempDir::Read(file);
        EXPECT_NE(text.find("RecentProj1=/p/one.qpr\n"), std::string::npos);
        EXPECT_NE(text.find("RecentProj2=\n"), std::string::npos);
        EXPECT_NE(text.find("Recent1=/d/R&D = x.txt\n"), std::string::npos);
        EXPECT_NE(text.find("Recent2CodePage=UTF-8\n"), std::string::npos);
        EXPECT_NE(text.find("Recent2Type=1\n"), std::string::npos);
        EXPECT_NE(text.find("Recent3CodePage=ISO-8859-2\n"), std::string::npos);
        EXPECT_NE(text.find("Recent10=\n"), std::string::npos);
        EXPECT_NE(text.find("LastTyp=2\n"), std::string::npos);

        TSettingsStore store(file, form);
        TRecentLists read;
        ASSERT_TRUE(ReadRecentLists(store, read));
        EXPECT_EQ(read.projects.Entries(), lists.projects.Entries());
        EXPECT_EQ(read.files.Entries(), lists.files.Entries());
        EXPECT_EQ(ReadRecentLastType(store), TRecentLastType::Project);

        // Storing again without a last type leaves "LastTyp" as it was.
        ASSERT_TRUE(WriteRecentLists(store, read, TRecentLastType::Unchanged));
        EXPECT_EQ(ReadRecentLastType(store), TRecentLastType::Project);
    }
}

TEST(RecentList, ReadingSkipsBlanksAndDuplicates)
{
    TTempDir dir;
    const auto file = dir.Write("q.ini",
        "[Recent]\n"
        "RecentProj1=\n"
        "RecentProj2=/p/p.qpr\n"
        "Recent1=/d/a.txt\n"
        "Recent1CodePage=\n"
        "Recent2=\n"
        "Recent3=/d/./a.txt\n" // the same file again
        "Recent4=D:\\win\\b.txt\n"
        "Recent4CodePage=no such charset\n"
        "Recent4Type=7\n"
        "Recent5=/d/c.txt\n"
        "Recent5CodePage=windows-1250\n"
        "Recent5Type=binary\n"
        "Recent11=/d/beyond ten.txt\n");
    TSettingsStore store(file, TSettingsForm::PerUser);
    TRecentLists lists;
    ASSERT_TRUE(ReadRecentLists(store, lists));
    EXPECT_EQ(Paths(lists.projects), std::vector<std::string>{"/p/p.qpr"});
    ASSERT_EQ(lists.files.Count(), 3);
    EXPECT_EQ(lists.files.At(0), (TRecentEntry{"/d/a.txt", GetDefaultCP(), kRecentText}));
    EXPECT_EQ(
        lists.files.At(1), (TRecentEntry{"D:/win/b.txt", GetCPIndex(GetCPFromID("no such charset")), kRecentBinary}));
    EXPECT_EQ(lists.files.At(2), (TRecentEntry{"/d/c.txt", GetCPIndex(kCpWindows1250), kRecentText}));

    // Stored again, the keys have no gaps.
    ASSERT_TRUE(WriteRecentLists(store, lists, TRecentLastType::Unchanged));
    EXPECT_EQ(store.ReadString("Recent", "RecentProj1", ""), "/p/p.qpr");
    EXPECT_EQ(store.ReadString("Recent", "RecentProj2", "x"), "");
    EXPECT_EQ(store.ReadString("Recent", "Recent2", ""), "D:/win/b.txt");
    EXPECT_EQ(store.ReadString("Recent", "Recent4", "x"), "");
    EXPECT_EQ(ReadRecentLastType(store), TRecentLastType::File); // absent: files
}

TEST(RecentList, HugeHandEditedStoreReadsTenEntries)
{
    std::string text = "[Recent]\n";
    for (int n = 1; n <= 10000; ++n) {
        text += "Recent" + std::to_string(n) + "=/d/" + std::to_string(n % 3) + ".txt\n";
        text += "Recent" + std::to_string(n) + "CodePage=\x01\xff garbage\n";
        text += "RecentProj" + std::to_string(n) + "=/p/" + std::to_string(n) + ".qpr\n";
    }
    TTempDir dir;
    TSettingsStore store(dir.Write("q.ini", text), TSettingsForm::ProgramIni);
    TRecentLists lists;
    ASSERT_TRUE(ReadRecentLists(store, lists));
    EXPECT_EQ(Paths(lists.files), (std::vector<std::string>{"/d/1.txt", "/d/2.txt", "/d/0.txt"}));
    EXPECT_EQ(lists.projects.Count(), TRecentList::kCapacity);
    EXPECT_EQ(lists.projects.At(9).path, "/p/10.qpr");
}

TEST(RecentList, MissingSectionLeavesTheListsEmpty)
{
    TTempDir dir;
    const auto file = dir.Write("q.ini", "[Global]\nLanguage=\n");
    TSettingsStore store(file, TSettingsForm::PerUser);
    TRecentLists lists;
    lists.files.Add({"/stale.txt"});
    EXPECT_FALSE(ReadRecentLists(store, lists));
    EXPECT_TRUE(lists.files.Empty());
    EXPECT_FALSE(store.SectionExists("Recent"));
}

} // namespace
} // namespace quillet

#include "app/Project.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

TEST(Project, NamesOnDiskAreRelativeOnlyInsideTheFolderOrASibling)
{
    struct Case {
        const char* name;
        std::string absolute;
        std::string stored;
    };
    const Case cases[] = {
        {"inside the folder", "/home/u/p/src/x.c", "src/x.c"},
        {"in the folder itself", "/home/u/p/a.c", "a.c"},
        {"in a sibling folder", "/home/u/lib/y.h", "../lib/y.h"},
        {"in the parent folder", "/home/u/z.txt", "../z.txt"},
        {"far away stays absolute", "/usr/include/x.h", "/usr/include/x.h"},
        {"an untitled name stays as it is", "Untitled1", "Untitled1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RelativeProjectName(c.absolute, "/home/u/p"), c.stored);
        EXPECT_EQ(AbsoluteProjectName(c.stored, "/home/u/p"),
            c.absolute.front() == '/' ? c.absolute : "/home/u/p/" + c.absolute);
    }
}

TEST(Project, StoredNamesOfOtherSystemsResolveCleanly)
{
    struct Case {
        const char* name;
        std::string stored;
        std::string absolute;
    };
    const Case cases[] = {
        {"backslashes", "src\\x.c", "/p/q/src/x.c"},
        {"dot segments", "./a/./b.c", "/p/q/a/b.c"},
        {"dot-dot pairs with the segment before it", "a/../b.c", "/p/q/b.c"},
        {"dot-dot above the root stays at the root", "../../../../x.c", "/x.c"},
        {"an absolute name is only cleaned", "/r//s/../t.c", "/r/t.c"},
        {"empty stays empty", "", ""},
        {"a trailing dot-dot leaves no slash", "..", "/p"},
        {"a trailing slash is dropped", "a/", "/p/q/a"},
        {"the root stays the root", "../..", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AbsoluteProjectName(c.stored, "/p/q"), c.absolute);
    }
}

// A project saved, its folder copied elsewhere and opened there finds every
// member in the new place; a file far outside keeps its absolute name.
TEST(Project, SavedTreeCopiedElsewhereResolvesEveryMember)
{
    TTempDir temp;
    const fs::path from = temp.Path() / "work" / "p";
    fs::create_directories(from / "src");
    fs::create_directories(temp.Path() / "work" / "lib");
    TProject project = TProject::New("demo");
    project.Add((from / "src" / "x.c").string(), true, kProjectText, "windows-1250");
    project.Add((temp.Path() / "work" / "lib" / "y.h").string(), false, kProjectText, "");
    project.Add("/usr/include/stdio.h", false, kProjectText, "");
    project.Add((from / "data.bin").string(), true, kProjectBinary, "");
    project.SetActiveFile(4);
    ASSERT_TRUE(project.SaveTo(from / "a.qpr"));
    EXPECT_FALSE(project.IsModified());
    const std::string text = TTempDir::Read(from / "a.qpr");
    EXPECT_NE(text.find("Name=src/x.c"), std::string::npos) << text;
    EXPECT_NE(text.find("Name=../lib/y.h"), std::string::npos) << text;
    EXPECT_NE(text.find("Name=/usr/include/stdio.h"), std::string::npos) << text;
    EXPECT_EQ(project.Name(1), (from / "src" / "x.c").string()) << "names stay absolute in memory";

    const fs::path to = temp.Path() / "moved" / "p";
    fs::create_directories(to.parent_path());
    fs::copy(temp.Path() / "work", temp.Path() / "moved", fs::copy_options::recursive);
    const std::optional<TProject> moved = TProject::Load(to / "a.qpr");
    ASSERT_TRUE(moved);
    ASSERT_EQ(moved->Count(), 4);
    EXPECT_EQ(moved->Name(1), (to / "src" / "x.c").string());
    EXPECT_EQ(moved->Name(2), (temp.Path() / "moved" / "lib" / "y.h").string());
    EXPECT_EQ(moved->Name(3), "/usr/include/stdio.h");
    EXPECT_TRUE(moved->IsOpen(1));
    EXPECT_FALSE(moved->IsOpen(2));
    EXPECT_EQ(moved->CodePage(1), "windows-1250");
    EXPECT_EQ(moved->CodePage(2), "");
    EXPECT_EQ(moved->Type(4), kProjectBinary);
    EXPECT_EQ(moved->ActiveFile(), 4);
    EXPECT_FALSE(moved->IsModified());
    EXPECT_EQ(moved->GetProjectIndex((to / "data.bin").string()), 4);
    EXPECT_EQ(moved->GetProjectIndex((to / "Data.bin").string()), -1) << "names compare exactly";
}

TEST(Project, ForeignAndDamagedFilesOpenWhatTheyCan)
{
    struct Case {
        const char* name;
        std::string text;
        bool isProject;
        int count;
        int active;
    };
    const Case cases[] = {
        {"CR LF, lower-case section, backslash names",
            "[general]\r\nsignature=QUILLET PROJECT "
            "FILE\r\nFilesCount=1\r\nActiveFile=1\r\n[file1]\r\nName=src\\a.c\r\nOpen=1\r\n",
            true,
            1,
            1},
        {"no signature", "[General]\nFilesCount=1\n[File1]\nName=a.c\n", false, 0, 0},
        {"another signature", "[General]\nSignature=Some other file\n", false, 0, 0},
        {"negative count", "[General]\nSignature=Quillet project file\nFilesCount=-1\n[File1]\nName=a\n", true, 0, 0},
        {"count far above the sections",
            "[General]\nSignature=Quillet project "
            "file\nFilesCount=99999\nActiveFile=5\n[File1]\nName=a\n[File2]\nName=b\n",
            true,
            2,
            0},
        {"count not a number",
            "[General]\nSignature=Quillet project file\nFilesCount=lots\n[File1]\nName=a\n",
            true,
            0,
            0},
        {"active entry out of range",
            "[General]\nSignature=Quillet project file\nFilesCount=1\nActiveFile=7\n[File1]\nName=a\n",
            true,
            1,
            0},
        {"sections above the count are ignored",
            "[General]\nSignature=Quillet project file\nFilesCount=1\n[File1]\nName=a\n[File2]\nName=b\n",
            true,
            1,
            0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TProject> project = TProject::Parse(c.text, "/p/x.qpr");
        ASSERT_EQ(project.has_value(), c.isProject);
        if (project) {
            EXPECT_EQ(project->Count(), c.count);
            EXPECT_EQ(project->ActiveFile(), c.active);
            EXPECT_FALSE(project->IsModified());
            EXPECT_EQ(project->Name(c.count + 1), "");
        }
    }
    const std::optional<TProject> foreign = TProject::Parse(cases[0].text, "/p/x.qpr");
    EXPECT_EQ(foreign->Name(1), "/p/src/a.c");
    EXPECT_TRUE(foreign->IsOpen(1));
}

TEST(Project, RemovingMovesLaterEntriesUpAndErasesTheLastSection)
{
    TProject project = TProject::New("p");
    project.Add("/a", true, kProjectText, "utf-8");
    project.Add("/b", false, kProjectBinary, "");
    project.Add("/c", true, kProjectText, "windows-1252");
    project.SetModified(false);
    project.Remove(2);
    EXPECT_TRUE(project.IsModified());
    ASSERT_EQ(project.Count(), 2);
    EXPECT_EQ(project.Name(2), "/c");
    EXPECT_TRUE(project.IsOpen(2));
    EXPECT_EQ(project.CodePage(2), "windows-1252");
    EXPECT_EQ(*project.Ini().Find("General", "FilesCount"), "2");
    EXPECT_FALSE(project.Ini().HasKeys("File3"));
    // A later add does not inherit the old third entry's keys.
    project.Add("/d", false, kProjectText, "");
    EXPECT_EQ(project.CodePage(3), "");
    EXPECT_FALSE(project.IsOpen(3));
    // Removing the active entry leaves none active; a later one moves up.
    project.SetActiveFile(3);
    project.Remove(1);
    EXPECT_EQ(project.ActiveFile(), 2);
    project.Remove(2);
    EXPECT_EQ(project.ActiveFile(), 0);
    project.Remove(9); // out of range: nothing
    EXPECT_EQ(project.Count(), 1);
}

// A place where no file can be made (a file stands where the folder should
// be, which stops root too): the save fails and the project keeps its state.
TEST(Project, FailedSaveKeepsNamesFileAndModifiedFlag)
{
    TTempDir temp;
    TProject project = TProject::New("p");
    project.Add((temp.Path() / "a.c").string(), true, kProjectText, "");
    ASSERT_TRUE(project.SaveTo(temp.Path() / "p.qpr"));
    project.Add((temp.Path() / "b.c").string(), false, kProjectText, "");
    const fs::path blocked = temp.Write("file", "x") / "other.qpr";
    const TDocumentFileResult result = project.SaveTo(blocked);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_TRUE(project.IsModified());
    EXPECT_EQ(project.FileName(), temp.Path() / "p.qpr");
    EXPECT_EQ(project.Name(2), (temp.Path() / "b.c").string());
}

TEST(Project, ValidNames)
{
    for (const char* bad : {"", "a/b", "a<b", "a>b", "a\"b", "a?b", "a*b", "a|b", "a\\b"}) {
        EXPECT_FALSE(IsValidProjectName(bad)) << bad;
    }
    EXPECT_TRUE(IsValidProjectName("Untitled Project"));
}

TEST(Project, UnreadableFilesAreNoProjects)
{
    TTempDir temp;
    // A pipe without a writer or an endless device would block or never end.
    ASSERT_EQ(::mkfifo((temp.Path() / "pipe.qpr").c_str(), 0600), 0);
    for (const fs::path& file :
        {temp.Path() / "missing.qpr", temp.Path() / "pipe.qpr", temp.Path(), fs::path("/dev/zero")}) {
        EXPECT_FALSE(TProject::Load(file)) << file;
    }
}

} // namespace
} // namespace quillet

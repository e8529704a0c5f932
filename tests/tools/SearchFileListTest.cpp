#include "tools/SearchFileList.h"

#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Relative(const std::vector<TSearchFile>& files, const fs::path& root)
{
    std::vector<std::string> out;
    const std::string prefix = CleanFileName(root.string()) + "/";
    for (const TSearchFile& file : files) {
        EXPECT_EQ(file.fileName.rfind(prefix, 0), 0u) << file.fileName;
        out.push_back(file.fileName.substr(prefix.size()));
    }
    return out;
}

TEST(SearchFileList, WalkListsFilesBeforeSubdirectoriesInCaseInsensitiveOrder)
{
    test::TTempDir dir;
    dir.Write("b.pas", "");
    dir.Write("A.PAS", "");
    dir.Write("c.txt", "");
    dir.Write(".hidden.pas", "");
    dir.Write("Sub/z.pas", "");
    dir.Write("sub2/y.pas", "");
    dir.Write("Sub/deeper/x.pas", "");
    fs::create_directory(dir.Path() / "dir.pas"); // a directory is never a file entry

    EXPECT_EQ(Relative(SearchFiles(dir.Path(), "*.pas;*.PAS", true), dir.Path()),
        (std::vector<std::string>{".hidden.pas", "A.PAS", "b.pas", "Sub/z.pas", "Sub/deeper/x.pas", "sub2/y.pas"}));
    EXPECT_EQ(Relative(SearchFiles(dir.Path(), "*.pas", false), dir.Path()),
        (std::vector<std::string>{".hidden.pas", "A.PAS", "b.pas"}));
    EXPECT_EQ(Relative(SearchFiles(dir.Path() / "Sub" / ".." / "Sub" / "", "*.*", false), dir.Path()),
        (std::vector<std::string>{"Sub/z.pas"}));
}

TEST(SearchFileList, NamesDifferingOnlyByCaseAreTwoFiles)
{
    test::TTempDir dir;
    dir.Write("a.c", "");
    dir.Write("A.c", "");
    EXPECT_EQ(
        Relative(SearchFiles(dir.Path(), "*.c;*.C", false), dir.Path()), (std::vector<std::string>{"A.c", "a.c"}));
}

TEST(SearchFileList, WalkEndsOnLinkLoopsAndSkipsSpecialFiles)
{
    test::TTempDir dir;
    dir.Write("a/file.txt", "x");
    fs::create_directory_symlink(dir.Path(), dir.Path() / "a" / "loop"); // back to the root
    fs::create_directory_symlink(dir.Path() / "a", dir.Path() / "b"); // a second way into a
    fs::create_symlink(dir.Path() / "a" / "file.txt", dir.Path() / "link.txt");
    fs::create_symlink(dir.Path() / "missing", dir.Path() / "dangling.txt");
    ASSERT_EQ(::mkfifo((dir.Path() / "pipe.txt").c_str(), 0600), 0);

    EXPECT_EQ(
        Relative(SearchFiles(dir.Path(), "*", true), dir.Path()), (std::vector<std::string>{"link.txt", "a/file.txt"}));
}

TEST(SearchFileList, WalkOfNothingGivesNothing)
{
    test::TTempDir dir;
    dir.Write("a.txt", "");
    EXPECT_TRUE(SearchFiles(dir.Path() / "missing", "*", true).empty());
    EXPECT_TRUE(SearchFiles(dir.Path() / "a.txt", "*", true).empty());
    EXPECT_TRUE(SearchFiles(dir.Path(), ";;", true).empty());
    EXPECT_TRUE(SearchFiles("", "*", true).empty());
    int asked = 0;
    EXPECT_TRUE(SearchFiles(dir.Path(), "*", true, [&] {
        return ++asked > 1;
    }).empty()); // stopped at once
}

TEST(SearchFileList, ProjectListsOpenDocumentsFirstAndEachFileOnce)
{
    test::TTempDir dir;
    const std::string a = dir.Write("a.c", "a").string();
    const std::string upperA = dir.Write("A.c", "A").string();
    const std::string bin = dir.Write("b.bin", std::string("\x01\x02", 2)).string();
    const std::string open = dir.Write("open.c", "o").string();
    const std::string other = dir.Write("other.c", "x").string();
    const std::vector<TSearchFile> documents{{other, 1}, {open, 2}};
    const std::vector<std::string> members{
        a, upperA, bin, (dir.Path() / "." / "open.c").string(), (dir.Path() / "gone.c").string(), a};
    const auto isBinary = [&](const std::string& name) {
        return name == bin;
    };
    EXPECT_EQ(
        ProjectSearchFiles(documents, members, isBinary), (std::vector<TSearchFile>{{open, 2}, {a, 0}, {upperA, 0}}));
}

TEST(SearchFileList, CleanFileNameIsAbsoluteAndNormal)
{
    EXPECT_EQ(CleanFileName("/x/./y/../z/"), "/x/z");
    EXPECT_EQ(CleanFileName("/"), "/");
    EXPECT_EQ(CleanFileName(""), "");
    EXPECT_EQ(CleanFileName("rel"), (fs::current_path() / "rel").string());
}

} // namespace
} // namespace quillet

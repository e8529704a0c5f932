#include "platform/posix/PosixFileSystem.h"
#include "support/TempDir.h"
#include "text/MemoSource.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

// The system's file system with one step made to fail.
class TFailingOps : public TPosixFileSystem {
public:
    enum class TStep { None, Write, RenameOverTarget, Remove, Link };
    TStep fail = TStep::None;
    TFileStatus Remove(const fs::path& file) override
    {
        if (fail == TStep::Remove) {
            return TFileStatus::Failure(EBUSY, TFileStep::Other, file);
        }
        return TPosixFileSystem::Remove(file);
    }
    TFileStatus Link(const fs::path& existing, const fs::path& name) override
    {
        if (fail == TStep::Link) {
            return TFileStatus::Failure(EXDEV, TFileStep::Other, name);
        }
        return TPosixFileSystem::Link(existing, name);
    }

protected:
    int WriteAll(int fd, std::string_view bytes) override
    {
        return fail == TStep::Write ? ENOSPC : TPosixFileSystem::WriteAll(fd, bytes);
    }
    int Rename(const fs::path& from, const fs::path& to) override
    {
        return fail == TStep::RenameOverTarget ? EIO : TPosixFileSystem::Rename(from, to);
    }
};

std::size_t FileCount(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(MemoSourceFile, LineEndFormats)
{
    struct Case {
        TOutFormat format;
        bool excludeReadOnly;
        const char* expected;
    };
    const Case cases[] = {
        {TOutFormat::ofWindows, false, "a\r\n\tb\r\nc\r\n"},
        {TOutFormat::ofUnix, false, "a\n\tb\nc\n"},
        {TOutFormat::ofMac, false, "a\r\tb\rc\r"},
        {TOutFormat::ofUnix, true, "a\nc\n"},
    };
    TTempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TMemoSource s;
        s.LoadFromText("a\n\tb\nc");
        s.SetLineState(1, lsReadOnly, true);
        s.SetOutFormat(c.format);
        s.SetOptions(c.excludeReadOnly ? (s.Options() | soExcludeReadOnlyLines) : s.Options());
        fs::path file = dir.Path() / "out.txt";
        ASSERT_TRUE(s.SaveToFile(file));
        EXPECT_EQ(TTempDir::Read(file), c.expected);
        TMemoSource back;
        ASSERT_TRUE(back.LoadFromFile(file));
        EXPECT_EQ(back.GetStrCount(), c.excludeReadOnly ? 2 : 3);
    }
}

// A taken text is adopted, not copied: unedited lines point into its bytes,
// which stay alive as long as the buffer needs them.
TEST(MemoSourceFile, TakenTextIsAdopted)
{
    TFileBytes bytes(std::string("first\r\nsecond\nthird"));
    const char* data = bytes.data();
    TMemoSource s;
    s.TakeText(std::move(bytes), false);
    ASSERT_EQ(s.GetStrCount(), 3);
    EXPECT_EQ(s.GetRawLine(1), "second");
    EXPECT_EQ(s.GetRawLine(1).data(), data + 7);
    EXPECT_EQ(s.GetRawLine(2).data(), data + 14);
}

TEST(MemoSourceFile, BackupNames)
{
    struct Case {
        const char* file;
        const char* backup;
    };
    const Case cases[] = {
        {"/d/a.txt", "/d/a.~tx"},
        {"/d/a.c", "/d/a.~c"},
        {"/d/a.html", "/d/a.~ht"},
        {"/d/noext", "/d/noext.~"},
        {"/d/.hidden", "/d/.hidden.~"},
    };
    TMemoSource s;
    for (const Case& c : cases) {
        EXPECT_EQ(s.GetBackupName(c.file), fs::path(c.backup)) << c.file;
    }
    s.OnGetBackupName = [](TMemoSource&, const fs::path& file, fs::path& backup) {
        backup = file;
    };
    EXPECT_EQ(s.GetBackupName("/d/a.txt"), fs::path("/d/a.txt.~")) << "a backup is never the file itself";
}

TEST(MemoSourceFile, SaveWithBackupKeepsOldFileAsBackup)
{
    TTempDir dir;
    fs::path file = dir.Write("doc.txt", "old\n");
    ::chmod(file.c_str(), 0640);
    TMemoSource s;
    s.SetOptions(s.Options() | soCreateBackups);
    s.SetOutFormat(TOutFormat::ofUnix);
    s.LoadFromText("new");
    ASSERT_TRUE(s.SaveToFile(file));
    EXPECT_EQ(TTempDir::Read(file), "new\n");
    EXPECT_EQ(TTempDir::Read(dir.Path() / "doc.~tx"), "old\n");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FileCount(dir.Path()), 2u) << "no temporary file left behind";
    // Saving again replaces the previous backup.
    s.LoadFromText("newer");
    ASSERT_TRUE(s.SaveToFile(file));
    EXPECT_EQ(TTempDir::Read(dir.Path() / "doc.~tx"), "new\n");
}

TEST(MemoSourceFile, BackupSkippedWhenThereIsNoOldFile)
{
    TTempDir dir;
    TMemoSource s;
    s.SetOptions(s.Options() | soCreateBackups);
    s.LoadFromText("x");
    ASSERT_TRUE(s.SaveToFile(dir.Path() / "fresh.txt"));
    EXPECT_EQ(FileCount(dir.Path()), 1u);
}

TEST(MemoSourceFile, FailedStepsLeaveTheOldFile)
{
    struct Case {
        const char* name;
        TFailingOps::TStep step;
        bool backups;
        const char* messageStart;
    };
    const Case cases[] = {
        {"rename over target fails", TFailingOps::TStep::RenameOverTarget, true, "Can't rename file "},
        {"rename without backups fails", TFailingOps::TStep::RenameOverTarget, false, "Can't rename file "},
        {"disk full", TFailingOps::TStep::Write, true, "Can't write file "},
        {"old backup cannot be deleted", TFailingOps::TStep::Remove, true, "Can't delete file "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTempDir dir;
        fs::path file = dir.Write("doc.txt", "old\n");
        dir.Write("doc.~tx", "older\n");
        TFailingOps ops;
        ops.fail = c.step;
        TMemoSource s;
        s.SetFileSystem(&ops);
        s.SetOptions(c.backups ? (s.Options() | soCreateBackups) : s.Options());
        s.LoadFromText("new");
        TFileResult r = s.SaveToFile(file);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error.rfind(c.messageStart, 0), 0u) << r.error;
        EXPECT_EQ(TTempDir::Read(file), "old\n");
        EXPECT_EQ(FileCount(dir.Path()), 2u) << "no temporary file left behind";
    }
}

TEST(MemoSourceFile, BackupByCopyWhereLinksFail)
{
    TTempDir dir;
    fs::path file = dir.Write("doc.txt", "old\n");
    TFailingOps ops;
    ops.fail = TFailingOps::TStep::Link;
    TMemoSource s;
    s.SetFileSystem(&ops);
    s.SetOptions(s.Options() | soCreateBackups);
    s.SetOutFormat(TOutFormat::ofUnix);
    s.LoadFromText("new");
    ASSERT_TRUE(s.SaveToFile(file));
    EXPECT_EQ(TTempDir::Read(dir.Path() / "doc.~tx"), "old\n");
    EXPECT_EQ(TTempDir::Read(file), "new\n");
}

TEST(MemoSourceFile, SaveThroughSymlinkUpdatesItsTarget)
{
    TTempDir dir;
    fs::path real = dir.Write("real.txt", "old\n");
    fs::path link = dir.Path() / "link.txt";
    fs::create_symlink(real, link);
    TMemoSource s;
    s.SetOptions(s.Options() | soCreateBackups);
    s.SetOutFormat(TOutFormat::ofUnix);
    s.LoadFromText("new");
    ASSERT_TRUE(s.SaveToFile(link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TTempDir::Read(real), "new\n");
    EXPECT_EQ(TTempDir::Read(dir.Path() / "real.~tx"), "old\n");
}

TEST(MemoSourceFile, LoadingBadInput)
{
    TTempDir dir;
    TMemoSource s;
    s.LoadFromText("keep");
    TFileResult missing = s.LoadFromFile(dir.Path() / "gone.txt");
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_EQ(s.GetRawLine(0), "keep") << "a failed load leaves the buffer alone";
    EXPECT_FALSE(s.LoadFromFile(dir.Path()).ok) << "a folder is not a file";
    ASSERT_TRUE(s.LoadFromFile(dir.Write("empty.txt", "")));
    EXPECT_EQ(s.GetStrCount(), 0);
    std::string nuls("a\0b\0\0c", 6);
    ASSERT_TRUE(s.LoadFromFile(dir.Write("nul.txt", nuls)));
    EXPECT_EQ(s.GetRawLine(0), nuls);
}

} // namespace
} // namespace quillet

// One contract for every IFileSystem: the POSIX file system in a temporary
// folder and the in-memory fake run the same cases, including a failure at
// each step of the atomic write.
#include "platform/fake/FakeFileSystem.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

// The POSIX file system with the step named by failAt failing once.
class TInjectingPosixFileSystem : public TPosixFileSystem {
public:
    TFileStep failAt = TFileStep::None;
    int error = 0;

protected:
    int WriteAll(int fd, std::string_view bytes) override
    {
        return Take(TFileStep::Write) ? error : TPosixFileSystem::WriteAll(fd, bytes);
    }
    int Sync(int fd) override { return Take(TFileStep::Sync) ? error : TPosixFileSystem::Sync(fd); }
    int Rename(const fs::path& from, const fs::path& to) override
    {
        return Take(TFileStep::Rename) ? error : TPosixFileSystem::Rename(from, to);
    }

private:
    bool Take(TFileStep step)
    {
        if (failAt != step) {
            return false;
        }
        failAt = TFileStep::None;
        return true;
    }
};

// A real folder and the POSIX file system.
class TPosixWorld {
public:
    IFileSystem& Files() { return m_files; }
    fs::path Root() const { return m_dir.Path(); }
    bool EnforcesPermissions() const { return ::geteuid() != 0; }
    void AddFile(const fs::path& file, std::string_view bytes, unsigned mode = 0644)
    {
        m_dir.Write(file.lexically_relative(Root()).string(), bytes);
        ::chmod(file.c_str(), mode);
    }
    void AddFolder(const fs::path& folder) { fs::create_directories(folder); }
    void AddSymlink(const fs::path& link, const fs::path& target) { fs::create_symlink(target, link); }
    void FailNextWrite(TFileStep step, int error)
    {
        m_files.failAt = step;
        m_files.error = error;
    }
    std::optional<std::string> Contents(const fs::path& file) const
    {
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            return std::nullopt;
        }
        return TTempDir::Read(file);
    }
    unsigned Mode(const fs::path& file) const
    {
        struct stat st { };
        return ::stat(file.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }
    bool IsSymlink(const fs::path& file) const { return fs::is_symlink(file); }
    std::vector<std::string> Names(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    TTempDir m_dir;
    TInjectingPosixFileSystem m_files;
};

// The fake, rooted in a folder of its own.
class TFakeWorld {
public:
    TFakeWorld() { m_files.AddFolder(Root()); }
    IFileSystem& Files() { return m_files; }
    fs::path Root() const { return "/home/user"; }
    bool EnforcesPermissions() const { return true; }
    void AddFile(const fs::path& file, std::string_view bytes, unsigned mode = 0644)
    {
        m_files.AddFile(file, bytes, mode);
    }
    void AddFolder(const fs::path& folder) { m_files.AddFolder(folder); }
    void AddSymlink(const fs::path& link, const fs::path& target) { m_files.AddSymlink(link, target); }
    void FailNextWrite(TFileStep step, int error) { m_files.FailNextWrite(step, error); }
    std::optional<std::string> Contents(const fs::path& file) const { return m_files.Contents(file); }
    unsigned Mode(const fs::path& file) const { return m_files.Mode(file); }
    bool IsSymlink(const fs::path& file) const { return m_files.IsSymlink(file); }
    std::vector<std::string> Names(const fs::path& folder) const { return m_files.Names(folder); }

private:
    TFakeFileSystem m_files;
};

template <typename TWorld> class FileSystemContract : public ::testing::Test {
protected:
    TWorld world;
    fs::path At(std::string_view name) const { return world.Root() / name; }
};

using TWorlds = ::testing::Types<TPosixWorld, TFakeWorld>;
TYPED_TEST_SUITE(FileSystemContract, TWorlds);

TYPED_TEST(FileSystemContract, WritesNewFilesAndReplacesKeepingPermissions)
{
    auto& w = this->world;
    const fs::path fresh = this->At("fresh.txt");
    ASSERT_TRUE(w.Files().WriteFile(fresh, "first"));
    EXPECT_EQ(w.Contents(fresh), "first");

    const fs::path old = this->At("old.txt");
    w.AddFile(old, "old", 0640);
    ASSERT_TRUE(w.Files().WriteFile(old, std::string("new\0bytes", 9)));
    EXPECT_EQ(w.Contents(old), std::string("new\0bytes", 9));
    EXPECT_EQ(w.Mode(old), 0640u);
    ASSERT_TRUE(w.Files().WriteFile(old, ""));
    EXPECT_EQ(w.Contents(old), "");
    EXPECT_EQ(w.Names(w.Root()), (std::vector<std::string>{"fresh.txt", "old.txt"})) << "no temporary file is left";
}

TYPED_TEST(FileSystemContract, WriteThroughSymbolicLinkReplacesItsTarget)
{
    auto& w = this->world;
    const fs::path real = this->At("real.txt");
    const fs::path link = this->At("link.txt");
    w.AddFile(real, "old");
    w.AddSymlink(link, "real.txt");
    ASSERT_TRUE(w.Files().WriteFile(link, "through the link"));
    EXPECT_TRUE(w.IsSymlink(link));
    EXPECT_EQ(w.Contents(real), "through the link");

    const fs::path dangling = this->At("dangling.txt");
    w.AddSymlink(dangling, "made.txt");
    ASSERT_TRUE(w.Files().WriteFile(dangling, "made"));
    EXPECT_TRUE(w.IsSymlink(dangling));
    EXPECT_EQ(w.Contents(this->At("made.txt")), "made");
}

TYPED_TEST(FileSystemContract, ReadsWholeFilesAndPrefixes)
{
    auto& w = this->world;
    const fs::path file = this->At("a.txt");
    w.AddFile(file, "0123456789");
    EXPECT_EQ(w.Files().ReadFile(file).bytes, "0123456789");
    EXPECT_EQ(w.Files().ReadFile(file, 4).bytes, "0123");
    EXPECT_EQ(w.Files().ReadFile(file, 99).bytes, "0123456789");
}

TYPED_TEST(FileSystemContract, RefusalsCarryTheErrorKind)
{
    struct Case {
        const char* name;
        TFileStatus status;
        int error;
        TFileErrorKind kind;
    };
    auto& w = this->world;
    const fs::path folder = this->At("folder");
    w.AddFolder(folder);
    const Case cases[] = {
        {"read a missing file", w.Files().ReadFile(this->At("gone.txt")).status, ENOENT, TFileErrorKind::NotFound},
        {"read a folder", w.Files().ReadFile(folder).status, EISDIR, TFileErrorKind::Io},
        {"write over a folder", w.Files().WriteFile(folder, "x"), EISDIR, TFileErrorKind::Io},
        {"write into a missing folder",
            w.Files().WriteFile(this->At("missing/a.txt"), "x"),
            ENOENT,
            TFileErrorKind::NotFound},
        {"remove a missing file", w.Files().Remove(this->At("gone.txt")), ENOENT, TFileErrorKind::NotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.status);
        EXPECT_EQ(c.status.error, c.error);
        EXPECT_EQ(c.status.kind, c.kind);
        EXPECT_EQ(c.status.reason, std::strerror(c.error));
    }
    EXPECT_EQ(w.Names(w.Root()), std::vector<std::string>{"folder"});
}

TYPED_TEST(FileSystemContract, ReadOnlyFileIsRefusedAndKept)
{
    auto& w = this->world;
    if (!w.EnforcesPermissions()) {
        GTEST_SKIP() << "permission bits do not bind this user";
    }
    const fs::path file = this->At("ro.txt");
    w.AddFile(file, "keep", 0444);
    const TFileStatus status = w.Files().WriteFile(file, "lost");
    EXPECT_EQ(status.kind, TFileErrorKind::Permission);
    EXPECT_EQ(status.step, TFileStep::Check);
    EXPECT_EQ(w.Contents(file), "keep");
}

TYPED_TEST(FileSystemContract, FailureAtEachStepLeavesTheOldFile)
{
    struct Case {
        TFileStep step;
        int error;
        TFileErrorKind kind;
    };
    const Case cases[] = {
        {TFileStep::Write, ENOSPC, TFileErrorKind::NoSpace},
        {TFileStep::Write, EDQUOT, TFileErrorKind::NoSpace},
        {TFileStep::Sync, EIO, TFileErrorKind::Io},
        {TFileStep::Rename, EROFS, TFileErrorKind::ReadOnlyFileSystem},
        {TFileStep::Rename, EACCES, TFileErrorKind::Permission},
    };
    auto& w = this->world;
    const fs::path file = this->At("doc.txt");
    w.AddFile(file, "old", 0600);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::strerror(c.error));
        w.FailNextWrite(c.step, c.error);
        const TFileStatus status = w.Files().WriteFile(file, "new");
        EXPECT_FALSE(status);
        EXPECT_EQ(status.step, c.step);
        EXPECT_EQ(status.error, c.error);
        EXPECT_EQ(status.kind, c.kind);
        EXPECT_EQ(status.reason, std::strerror(c.error));
        EXPECT_EQ(w.Contents(file), "old");
        EXPECT_EQ(w.Mode(file), 0600u);
        EXPECT_EQ(w.Names(w.Root()), std::vector<std::string>{"doc.txt"}) << "the temporary file is removed";
    }
    ASSERT_TRUE(w.Files().WriteFile(file, "new")) << "a failure is not sticky";
    EXPECT_EQ(w.Contents(file), "new");
}

TYPED_TEST(FileSystemContract, StreamedContentReplacesTheFileAndAFailedFillKeepsIt)
{
    auto& w = this->world;
    const fs::path file = this->At("big.bin");
    w.AddFile(file, "old");
    const TFileStatus failed = w.Files().WriteFileWith(file, [](int fd) -> std::string {
        return ::write(fd, "partial", 7) == 7 ? "the source went away" : "short write";
    });
    EXPECT_EQ(failed.reason, "the source went away");
    EXPECT_EQ(failed.kind, TFileErrorKind::Io);
    EXPECT_EQ(w.Contents(file), "old");
    EXPECT_EQ(w.Names(w.Root()), std::vector<std::string>{"big.bin"});

    ASSERT_TRUE(w.Files().WriteFileWith(file, [](int fd) -> std::string {
        // Positioned writes, as a copy between descriptors makes them.
        return ::pwrite(fd, "tail", 4, 4) == 4 && ::pwrite(fd, "head", 4, 0) == 4 ? "" : "short write";
    }));
    EXPECT_EQ(w.Contents(file), "headtail");
}

TYPED_TEST(FileSystemContract, LinksRemovesAndCopiesPermissions)
{
    auto& w = this->world;
    const fs::path file = this->At("doc.txt");
    const fs::path second = this->At("doc.~tx");
    w.AddFile(file, "old", 0640);
    ASSERT_TRUE(w.Files().Link(file, second));
    EXPECT_EQ(w.Files().Link(file, second).error, EEXIST);
    ASSERT_TRUE(w.Files().WriteFile(file, "new"));
    EXPECT_EQ(w.Contents(second), "old") << "the replaced file lives on under its second name";

    const fs::path copy = this->At("copy.txt");
    ASSERT_TRUE(w.Files().WriteFile(copy, "c"));
    ASSERT_TRUE(w.Files().CopyPermissions(file, copy));
    EXPECT_EQ(w.Mode(copy), 0640u);
    ASSERT_TRUE(w.Files().Remove(second));
    EXPECT_EQ(w.Contents(second), std::nullopt);
}

TEST(FileSystem, ErrorKindsComeFromErrnoValues)
{
    const std::pair<int, TFileErrorKind> cases[] = {
        {0, TFileErrorKind::None},
        {ENOENT, TFileErrorKind::NotFound},
        {ENOTDIR, TFileErrorKind::NotFound},
        {EACCES, TFileErrorKind::Permission},
        {EPERM, TFileErrorKind::Permission},
        {EROFS, TFileErrorKind::ReadOnlyFileSystem},
        {ENOSPC, TFileErrorKind::NoSpace},
        {EFBIG, TFileErrorKind::NoSpace},
        {EIO, TFileErrorKind::Io},
        {EISDIR, TFileErrorKind::Io},
    };
    for (const auto& [error, kind] : cases) {
        EXPECT_EQ(FileErrorKindOf(error), kind) << error;
    }
    EXPECT_EQ(TFileStatus::Failure(0, TFileStep::Write, "f").error, EIO) << "a lost errno is still a failure";
}

TEST(PosixFileSystem, KeepsTheOwnerOfTheReplacedFile)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another owner";
    }
    TTempDir dir;
    const fs::path file = dir.Write("theirs.txt", "old");
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(SystemFileSystem().WriteFile(file, "new"));
    struct stat st { };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST(PosixFileSystem, DevicesAndPipesAreNotRead)
{
    const TFileRead device = SystemFileSystem().ReadFile("/dev/zero");
    EXPECT_EQ(device.status.error, EINVAL) << "a device would never end";
    EXPECT_TRUE(device.bytes.empty());
}

} // namespace
} // namespace quillet

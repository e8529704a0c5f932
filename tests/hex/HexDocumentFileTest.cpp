// Loading, saving, the work file and what a full disk or a vanished file does.
#include "HexFixture.h"
#include "support/HonouredPermissions.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using HexDocumentFile = THexFixture;

// Caps the size of any file this process writes, as a full temporary folder
// would, for the lifetime of the object.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// Points TMPDIR at a folder for the lifetime of the object.
class TTmpDirOverride {
public:
    explicit TTmpDirOverride(const fs::path& folder)
    {
        if (const char* old = std::getenv("TMPDIR")) {
            m_old = old;
            m_had = true;
        }
        setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TTmpDirOverride()
    {
        if (m_had) {
            setenv("TMPDIR", m_old.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

private:
    std::string m_old;
    bool m_had = false;
};

TEST_F(HexDocumentFile, WorkFileIsPrivateExclusiveAndRemoved)
{
    const fs::path tmp = dir.Path() / "tmp";
    fs::create_directory(tmp);
    TTmpDirOverride override(tmp);
    const fs::path source = dir.Write("a.bin", "abc");
    fs::path first;
    {
        THexDocument one;
        THexDocument two;
        ASSERT_TRUE(one.LoadFromFile(source));
        ASSERT_TRUE(two.LoadFromFile(source));
        first = one.WorkFilePath();
        EXPECT_EQ(first.parent_path(), tmp);
        EXPECT_EQ(first.extension(), ".QHXW");
        EXPECT_NE(first, two.WorkFilePath());
        struct stat st { };
        ASSERT_EQ(::stat(first.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_empty(tmp));
}

TEST_F(HexDocumentFile, LoadCopiesAndClearsState)
{
    Load("hello");
    EXPECT_EQ(doc.FileName(), file);
    EXPECT_FALSE(doc.ReadOnlyFile());
    doc.ChangeByte('h', 'j', 0);
    // The original is only touched by a save; a new load forgets the edits.
    EXPECT_EQ(TTempDir::Read(file), "hello");
    ASSERT_TRUE(doc.LoadFromFile(file));
    EXPECT_EQ(Content(), "hello");
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.ChangedMark(0));
}

TEST_F(HexDocumentFile, UnreadableSourcesLeaveTheDocumentAlone)
{
    Load("keep");
    const fs::path fifo = dir.Path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path cases[] = {dir.Path() / "missing", fifo, dir.Path(), "/dev/null"};
    for (const fs::path& bad : cases) {
        SCOPED_TRACE(bad.string());
        EXPECT_FALSE(doc.LoadFromFile(bad));
        EXPECT_FALSE(doc.LastError().empty());
        EXPECT_EQ(Content(), "keep");
        EXPECT_EQ(doc.FileName(), file);
    }
}

TEST_F(HexDocumentFile, EmptyAndReadOnlyFiles)
{
    Load("");
    EXPECT_EQ(doc.GetDataSize(), 0u);
    EXPECT_EQ(doc.RowCount(), 1);
    const fs::path locked = dir.Write("locked.bin", "x");
    fs::permissions(locked, fs::perms::owner_read);
    const THonouredPermissions honoured;
    ASSERT_TRUE(honoured.Active());
    ASSERT_TRUE(doc.LoadFromFile(locked));
    EXPECT_TRUE(doc.ReadOnlyFile());
}

TEST_F(HexDocumentFile, OriginalDeletedOrTruncatedWhileOpen)
{
    Load("0123456789");
    ::truncate(file.c_str(), 2);
    EXPECT_EQ(Content(), "0123456789");
    fs::remove(file);
    doc.ChangeByte('0', 'X', 0);
    ASSERT_TRUE(doc.SaveToFile(file));
    EXPECT_EQ(TTempDir::Read(file), "X123456789");
}

TEST_F(HexDocumentFile, FullTemporaryFolderRefusesTheLoadCleanly)
{
    Load("small");
    const fs::path big = dir.Write("big.bin", std::string(300'000, 'b'));
    {
        TFileSizeLimit limit(100'000);
        EXPECT_FALSE(doc.LoadFromFile(big));
    }
    EXPECT_FALSE(doc.LastError().empty());
    EXPECT_EQ(Content(), "small");
    EXPECT_EQ(doc.FileName(), file);
    EXPECT_EQ(fs::file_size(big), 300'000u);
}

TEST_F(HexDocumentFile, FullDiskRefusesAnEditWithNothingChanged)
{
    Load(std::string(50'000, 'a'));
    std::string reported;
    doc.OnError = [&](const std::string& reason) {
        reported = reason;
    };
    std::vector<std::uint8_t> bytes(80'000, 'z');
    {
        TFileSizeLimit limit(100'000);
        EXPECT_FALSE(doc.InsertBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()), 10));
    }
    EXPECT_FALSE(reported.empty());
    EXPECT_EQ(Content(), std::string(50'000, 'a'));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.Modified());
}

TEST_F(HexDocumentFile, SaveReplacesTheFileAndKeepsItsMode)
{
    Load("abc");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    doc.ChangeByte('a', 'A', 0);
    ASSERT_TRUE(doc.SaveToFile(file)) << doc.LastError();
    EXPECT_EQ(TTempDir::Read(file), "Abc");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.ChangedMark(0));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(HexDocumentFile, FailedSaveLeavesTheOldFileWhole)
{
    Load("original");
    doc.ChangeByte('o', 'O', 0);
    EXPECT_FALSE(doc.SaveToFile(dir.Path())); // a folder cannot be replaced
    {
        TFileSizeLimit limit(4);
        EXPECT_FALSE(doc.SaveToFile(file));
    }
    EXPECT_EQ(TTempDir::Read(file), "original");
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.FileName(), file);
    EXPECT_EQ(Content(), "Original");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
    ASSERT_TRUE(doc.SaveToFile(file));
    EXPECT_EQ(TTempDir::Read(file), "Original");
}

TEST_F(HexDocumentFile, BackupOnSaveOverTheSameName)
{
    struct Case {
        const char* name;
        const char* extension;
        const char* backup;
    };
    const Case cases[] = {
        {"data.bin", ".~bin", "data.~bin"},
        {"noext", ".~", "noext.~"},
        {"same.bak", ".bak", "same.bak.~"}, // never the target itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("old", c.name);
        doc.SetCreateBackup(true);
        doc.SetBackupExtension(c.extension);
        doc.ChangeByte('o', 'n', 0);
        ASSERT_TRUE(doc.SaveToFile(file)) << doc.LastError();
        EXPECT_EQ(TTempDir::Read(file), "nld");
        EXPECT_EQ(TTempDir::Read(dir.Path() / c.backup), "old");
    }
    // Saving under another name makes no backup.
    Load("abc", "other.dat");
    doc.SetCreateBackup(true);
    doc.SetBackupExtension(".~dat");
    doc.ChangeByte('a', 'b', 0);
    ASSERT_TRUE(doc.SaveToFile(dir.Path() / "copy.dat"));
    EXPECT_FALSE(fs::exists(dir.Path() / "other.~dat"));
    EXPECT_FALSE(fs::exists(dir.Path() / "copy.~dat"));
}

TEST_F(HexDocumentFile, NewDocumentSavesWhatWasTyped)
{
    doc.CreateEmptyFile(dir.Path() / "new.bin");
    doc.KeyDown(THexKey::Insert, hmNone);
    Type("CAFE");
    ASSERT_TRUE(doc.SaveToFile(doc.FileName()));
    EXPECT_EQ(TTempDir::Read(dir.Path() / "new.bin"), std::string("\xCA\xFE\x00", 3));
    EXPECT_FALSE(doc.ReadOnlyFile());
    // An empty document saves as an empty file.
    doc.CreateEmptyFile(dir.Path() / "empty.bin");
    ASSERT_TRUE(doc.SaveToFile(doc.FileName()));
    EXPECT_EQ(fs::file_size(dir.Path() / "empty.bin"), 0u);
}

} // namespace
} // namespace quillet::test

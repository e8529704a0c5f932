#include "core/DocumentFile.h"

#include "core/CodePages.h"
#include "support/HonouredPermissions.h"
#include "support/SystemCodePageGuard.h"
#include "support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::THonouredPermissions;
using test::TTempDir;

using test::TSystemCodePageGuard;

TEST(DocumentFile, ProbeOfTheFirstFiftyBytes)
{
    TTempDir dir;
    struct Case {
        const char* name;
        const char* file;
        std::string bytes;
        bool binary;
        bool mark;
        int charset;
        bool project;
    };
    const std::string project = "[General]\r\nSignature=QUILLET PROJECT FILE\r\n[Files]\r\n";
    const Case cases[] = {
        {"plain text with tab and line ends", "a.txt", "a\tb\r\nc\n", false, false, 0, false},
        {"form feed makes binary", "ff.txt", "page\x0Cnext", true, false, 0, false},
        {"escape byte makes binary", "esc.txt", "\x1B[0m", true, false, 0, false},
        {"control byte after the probe", "late.txt", std::string(50, 'x') + "\x01", false, false, 0, false},
        {"empty file", "empty.txt", "", false, false, 0, false},
        {"UCS-2 big-endian mark", "be.txt", "\xFE\xFF\0A"s, true, true, kCpUcs2BE, false},
        {"UCS-4 little-endian mark", "le4.txt", "\xFF\xFE\0\0A\0\0\0"s, true, true, kCpUcs4LE, false},
        {"UCS-2 little-endian mark",
            "le2.txt",
            "\xFF\xFE"
            "A\0"s,
            true,
            true,
            kCpUcs2LE,
            false},
        {"UTF-8 mark", "u8.txt", "\xEF\xBB\xBFok", false, true, kCpUtf8, false},
        {"UCS-4 big-endian mark", "be4.txt", "\0\0\xFE\xFF\0\0\0A"s, true, true, kCpUcs4BE, false},
        {"mark cut short", "short.txt", "\xEF\xBB", false, false, 0, false},
        {"UTF-16 without a mark is binary", "w.txt", "A\0B\0"s, true, false, 0, false},
        {"project", "p.qpr", project, false, false, 0, true},
        {"project signature in any case",
            "P.QPR",
            "[general]\nsignature = Quillet Project File\n",
            false,
            false,
            0,
            true},
        {"other signature", "q.qpr", "[General]\nSignature=Something else\n", false, false, 0, false},
        {"signature outside [General]", "r.qpr", "[Files]\nSignature=QUILLET PROJECT FILE\n", false, false, 0, false},
        {"signature in another extension", "p.txt", project, false, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir.Write(c.file, c.bytes);
        const TFileTypes types = GetFileTypes(file);
        EXPECT_EQ(types.isBinary, c.binary);
        EXPECT_EQ(types.hasByteOrderMark, c.mark);
        EXPECT_EQ(types.charset, c.charset);
        EXPECT_EQ(types.isProject, c.project);
        EXPECT_EQ(IsProject(file), c.project);
    }
    const TFileTypes missing = GetFileTypes(dir.Path() / "missing.txt");
    EXPECT_FALSE(missing.isBinary || missing.hasByteOrderMark || missing.isProject);
    const TFileTypes folder = GetFileTypes(dir.Path());
    EXPECT_FALSE(folder.isBinary || folder.hasByteOrderMark || folder.isProject);
}

TEST(DocumentFile, LoadConvertsIntoTheSystemCodePage)
{
    TSystemCodePageGuard guard(kCpWindows1250);
    TTempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        int askedIndex;
        int index;
        std::string text;
        bool converted;
        bool lossy;
    };
    const Case cases[] = {
        {"system code page loads unchanged", "\xE8\r\n\x81", 0, 0, "\xE8\r\n\x81", false, false},
        {"UTF-8 mark wins over the asked entry", "\xEF\xBB\xBF\xC4\x8D\n", 2, 28, "\xE8\n", true, false},
        {"UTF-8 without mark as asked", "\xC4\x8D", 28, 28, "\xE8", true, false},
        {"UCS-2LE with its mark", "\xFF\xFE\x0D\x01\n\0"s, 0, 31, "\xE8\n", true, false},
        {"UCS-4LE, not UCS-2LE", "\xFF\xFE\0\0A\0\0\0"s, 0, 32, "A", true, false},
        {"ISO-8859-2 asked", "\xB9", 2, 2, "\x9A", true, false},
        {"a mark alone", "\xFE\xFF", 0, 26, "", true, false},
        {"empty file", "", 28, 28, "", true, false},
        {"characters the system code page lacks", "\xE6\x97\xA5 x", 28, 28, "_ x", true, true},
        {"invalid UTF-8", "a\xC0\xAF", 28, 28, "a__", true, true},
        {"odd byte count in UCS-2",
            "\xFF\xFE"
            "A\0B"s,
            0,
            31,
            "A_",
            true,
            true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir.Write("load.txt", c.bytes);
        const TDocumentLoad load = LoadTextDocument(file, c.askedIndex);
        ASSERT_TRUE(load.result) << load.result.reason;
        EXPECT_FALSE(load.notFound);
        EXPECT_EQ(load.codePageIndex, c.index);
        EXPECT_EQ(load.text, c.text);
        EXPECT_EQ(load.converted, c.converted);
        EXPECT_EQ(load.lossy, c.lossy);
    }
}

TEST(DocumentFile, ReloadIgnoresTheByteOrderMark)
{
    TSystemCodePageGuard guard(kCpWindows1252);
    TTempDir dir;
    const fs::path file = dir.Write("r.txt", "\xEF\xBB\xBFx\xC3\xA9");
    const TDocumentLoad asUtf8 = LoadTextDocument(file, 28, false);
    EXPECT_EQ(asUtf8.text, "x\xE9");
    EXPECT_EQ(asUtf8.codePageIndex, 28);
    const TDocumentLoad asLatin2 = LoadTextDocument(file, 2, false);
    EXPECT_EQ(asLatin2.codePageIndex, 2);
    EXPECT_TRUE(asLatin2.lossy) << "the mark's bytes are not all held by Windows-1252";
}

TEST(DocumentFile, LoadFailuresNameTheFile)
{
    TTempDir dir;
    const TDocumentLoad missing = LoadTextDocument(dir.Path() / "gone.txt", 0);
    EXPECT_FALSE(missing.result);
    EXPECT_TRUE(missing.notFound);
    EXPECT_EQ(missing.result.fileName, (dir.Path() / "gone.txt").string());

    const TDocumentLoad folder = LoadTextDocument(dir.Path(), 0);
    EXPECT_FALSE(folder.result);
    EXPECT_FALSE(folder.notFound);
    EXPECT_EQ(folder.result.reason, std::strerror(EISDIR));

    // A pipe is refused instead of blocking the probe or the read.
    const fs::path fifo = dir.Path() / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const TFileTypes fifoTypes = GetFileTypes(fifo);
    EXPECT_FALSE(fifoTypes.isBinary || fifoTypes.hasByteOrderMark);
    EXPECT_FALSE(LoadTextDocument(fifo, 0).result);

    {
        const THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        const fs::path locked = dir.Write("locked.txt", "secret");
        fs::permissions(locked, fs::perms::none);
        const TDocumentLoad denied = LoadTextDocument(locked, 0);
        EXPECT_FALSE(denied.result);
        EXPECT_EQ(denied.result.reason, std::strerror(EACCES));
    }
}

TEST(DocumentFile, EveryCharsetRoundTripsThroughDisk)
{
    TSystemCodePageGuard guard(kCpWindows1250);
    TTempDir dir;
    // Czech letters survive in every charset that holds them; the last line
    // keeps its line end.
    const std::string ascii = "line one\r\n+&-~\\ \"two\"\r\n";
    const std::string czech = "\x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n";
    for (int index = 0; index < kCodePageCount; ++index) {
        const int cp = GetCodePage(index);
        SCOPED_TRACE(GetIDFromCP(cp));
        const bool holdsCzech = index == 0 || index == 2 || index == 14 || index == 24 || index == 25 || index >= 26;
        const std::string text = ascii + (holdsCzech ? czech : "");
        const fs::path file = dir.Path() / ("round trip " + std::to_string(index) + ".txt");
        ASSERT_TRUE(SaveTextDocument(file, text, index));
        const TDocumentLoad load = LoadTextDocument(file, index);
        ASSERT_TRUE(load.result);
        EXPECT_EQ(load.codePageIndex, index);
        EXPECT_EQ(load.text, text);
        EXPECT_FALSE(load.lossy);
    }
}

TEST(DocumentFile, ConvertedSaveWritesMarkAndKeepsTheLastLineEnd)
{
    TSystemCodePageGuard guard(kCpWindows1250);
    TTempDir dir;
    const fs::path file = dir.Path() / "u.txt";
    ASSERT_TRUE(SaveTextDocument(file, "a\n\xE8\n", 28));
    EXPECT_EQ(TTempDir::Read(file),
        "\xEF\xBB\xBF"
        "a\n\xC4\x8D\n");
    ASSERT_TRUE(SaveTextDocument(file, "A\r\n", 31));
    EXPECT_EQ(TTempDir::Read(file),
        "\xFF\xFE"
        "A\0\r\0\n\0"s);
    ASSERT_TRUE(SaveTextDocument(file, "\xE8\x80", 1));
    EXPECT_EQ(TTempDir::Read(file), "__") << "ISO-8859-1 holds neither c caron nor the euro";
}

TEST(DocumentFile, SafeWriteKeepsModeFollowsLinksAndLeavesNoLitter)
{
    TTempDir dir;
    const fs::path file = dir.Write("name with \"quotes\" and \xC4\x8D\xFF.txt", "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(WriteFileSafely(file, "new"));
    EXPECT_EQ(TTempDir::Read(file), "new");
    struct stat st { };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const fs::path longName = dir.Path() / (std::string(250, 'n') + ".txt");
    ASSERT_TRUE(WriteFileSafely(longName, "a name near the limit")) << "the temporary name must fit too";
    fs::remove(longName);

    const fs::path link = dir.Path() / "link.txt";
    fs::create_symlink(file.filename(), link);
    ASSERT_TRUE(WriteFileSafely(link, "through the link"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TTempDir::Read(file), "through the link");

    const fs::path dangling = dir.Path() / "dangling.txt";
    fs::create_symlink("created.txt", dangling);
    ASSERT_TRUE(WriteFileSafely(dangling, "made"));
    EXPECT_EQ(TTempDir::Read(dir.Path() / "created.txt"), "made");

    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 4) << "no temporary file is left behind";
}

TEST(DocumentFile, FailedWriteLeavesTheOldFile)
{
    TTempDir dir;
    const TDocumentFileResult intoFolder = WriteFileSafely(dir.Path(), "x");
    EXPECT_FALSE(intoFolder);
    EXPECT_EQ(intoFolder.reason, std::strerror(EISDIR));

    const fs::path noFolder = dir.Path() / "missing" / "a.txt";
    const TDocumentFileResult missing = WriteFileSafely(noFolder, "x");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.fileName, noFolder.string());
    EXPECT_FALSE(missing.reason.empty());

    {
        const THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        const fs::path readOnly = dir.Write("ro.txt", "keep");
        ::chmod(readOnly.c_str(), 0444);
        EXPECT_TRUE(IsReadOnlyFile(readOnly));
        EXPECT_FALSE(WriteFileSafely(readOnly, "lost"));
        EXPECT_EQ(TTempDir::Read(readOnly), "keep");
        ASSERT_TRUE(ClearReadOnlyAttribute(readOnly));
        EXPECT_FALSE(IsReadOnlyFile(readOnly));
    }
}

TEST(DocumentFile, SaveAfterTheFileWasDeleted)
{
    TTempDir dir;
    const fs::path file = dir.Write("d.txt", "old");
    const std::int64_t stamp = LastAccessToFile(file);
    EXPECT_NE(stamp, 0);
    fs::remove(file);
    EXPECT_EQ(LastAccessToFile(file), 0);
    ASSERT_TRUE(SaveTextDocument(file, "again\n", 0));
    EXPECT_EQ(TTempDir::Read(file), "again\n");
    EXPECT_NE(LastAccessToFile(file), 0);
    EXPECT_FALSE(HasChangedOnDisk(file, LastAccessToFile(file)));
    EXPECT_TRUE(HasChangedOnDisk(file, stamp - 1));
    EXPECT_FALSE(HasChangedOnDisk(dir.Path() / "never.txt", stamp)) << "a missing file is no outside change";
    // Names are exact: wildcard characters match only themselves.
    EXPECT_EQ(LastAccessToFile(dir.Path() / "?.txt"), 0);
    EXPECT_EQ(LastAccessToFile(dir.Path() / "*"), 0);
    const fs::path starred = dir.Write("[a]*?.txt", "x");
    EXPECT_NE(LastAccessToFile(starred), 0);
}

TEST(DocumentFile, OpenKindAndBackupExtension)
{
    TFileTypes binary;
    binary.isBinary = true;
    TFileTypes marked = binary;
    marked.hasByteOrderMark = true;
    TFileTypes project;
    project.isProject = true;
    const TFileTypes text;
    EXPECT_EQ(ChooseOpenKind(binary, false, true, false, false), TOpenKind::Binary);
    EXPECT_EQ(ChooseOpenKind(marked, false, true, false, false), TOpenKind::Text) << "UCS-2 text holds zero bytes";
    EXPECT_EQ(ChooseOpenKind(text, false, true, true, false), TOpenKind::Binary);
    EXPECT_EQ(ChooseOpenKind(text, true, false, false, true), TOpenKind::Binary);
    EXPECT_EQ(ChooseOpenKind(project, false, true, false, false), TOpenKind::Project);
    EXPECT_EQ(ChooseOpenKind(text, false, false, false, false), TOpenKind::Text);
    EXPECT_EQ(ChooseOpenKind(text, true, false, false, false), TOpenKind::Text);

    EXPECT_EQ(BackupExtension("/d/a.dat"), ".~dat");
    EXPECT_EQ(BackupExtension("/d/Makefile"), ".~");
    EXPECT_EQ(BackupExtension("/d.x/.profile"), ".~");
}

TEST(DocumentFile, ChangeExtDialog)
{
    const std::string filter = "All files (*.*)|*.*|Pascal|*.pas;*.dpr|Make|Makefile;*.mk|Odd|*.c*|Any|*";
    struct Case {
        const char* name;
        const char* file;
        int index;
        const char* result;
    };
    const Case cases[] = {
        {"first mask of the chosen filter", "/home/u/a.txt", 2, "/home/u/a.pas"},
        {"name without extension", "/home/u/a", 2, "/home/u/a.pas"},
        {"dot in a folder name", "/home/u.v/a", 2, "/home/u.v/a.pas"},
        {"all files keeps the name", "/home/u/a.txt", 1, "/home/u/a.txt"},
        {"mask without *.", "/home/u/a.txt", 3, "/home/u/a.txt"},
        {"wildcard in the extension", "/home/u/a.txt", 4, "/home/u/a.txt"},
        {"bare star", "/home/u/a.txt", 5, "/home/u/a.txt"},
        {"index past the filter", "/home/u/a.txt", 9, "/home/u/a.txt"},
        {"index 0", "/home/u/a.txt", 0, "/home/u/a.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChangeExtDialog(c.file, filter, c.index), c.result);
    }
    EXPECT_EQ(ChangeExtDialog("a.txt", "", 2), "a.txt");
    EXPECT_EQ(UntitledName("Un*ti\\tled", 3), "Untitled3");
}

} // namespace
} // namespace quillet

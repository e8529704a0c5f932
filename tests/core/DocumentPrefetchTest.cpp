#include "core/DocumentPrefetch.h"

#include "core/DocumentFile.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

namespace quillet {
namespace {

using test::TTempDir;

std::string Bytes(const TFileRead& read)
{
    return std::string(read.bytes.data(), read.bytes.size());
}

TEST(DocumentPrefetch, TheLoadTakesThePrefetchedBytesOnce)
{
    TTempDir dir;
    const auto file = dir.Write("a.txt", "first line\nsecond line\n");
    PrefetchDocument(file, 0);
    const std::optional<TFileRead> taken = TakePrefetchedDocument(file);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(Bytes(*taken), "first line\nsecond line\n");
    EXPECT_FALSE(TakePrefetchedDocument(file).has_value()) << "taken at most once";
}

// A prefetch is only ever the bytes of the file as it is when opened: any
// change after the prefetch started, other files, small and binary files all
// leave the load to read the file itself.
TEST(DocumentPrefetch, OnlyAnUnchangedFileIsServedFromThePrefetch)
{
    TTempDir dir;
    const auto file = dir.Write("a.txt", "old text\n");
    const auto other = dir.Write("b.txt", "other\n");

    PrefetchDocument(file, 0);
    EXPECT_FALSE(TakePrefetchedDocument(other).has_value()) << "another file";
    EXPECT_TRUE(TakePrefetchedDocument(file).has_value()) << "the prefetch waited for its own file";

    PrefetchDocument(file, 0);
    dir.Write("a.txt", "new text, longer\n");
    EXPECT_FALSE(TakePrefetchedDocument(file).has_value()) << "rewritten with another size";
    EXPECT_EQ(LoadTextDocument(file, 0).text.View(), "new text, longer\n");

    PrefetchDocument(file, 0);
    const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    EXPECT_FALSE(TakePrefetchedDocument(file).has_value()) << "same size, another modification time";

    PrefetchDocument(file, 1000);
    EXPECT_FALSE(TakePrefetchedDocument(file).has_value()) << "below the size asked for";

    const auto binary = dir.Write("c.bin", std::string("\x01\x02\x03 data", 8));
    PrefetchDocument(binary, 0);
    EXPECT_FALSE(TakePrefetchedDocument(binary).has_value()) << "binary files open elsewhere";

    PrefetchDocument(file, 0);
    DropPrefetchedDocument();
    EXPECT_FALSE(TakePrefetchedDocument(file).has_value()) << "dropped";
}

} // namespace
} // namespace quillet

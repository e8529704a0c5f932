// A multi-gigabyte sparse file opens, takes an edit deep inside and saves
// with exactly that byte changed, without holding the file in memory.
#include "HexFixture.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

// Offsets where two files differ, reading only where either has data.
std::vector<std::uint64_t> Differences(const fs::path& a, const fs::path& b)
{
    const int fa = ::open(a.c_str(), O_RDONLY);
    const int fb = ::open(b.c_str(), O_RDONLY);
    std::vector<std::uint64_t> diffs;
    const auto size = static_cast<std::uint64_t>(fs::file_size(a));
    EXPECT_EQ(size, fs::file_size(b));
    std::vector<char> ba(1 << 20), bb(1 << 20);
    std::uint64_t pos = 0;
    while (pos < size && diffs.size() < 10) {
        const off_t da = ::lseek(fa, static_cast<off_t>(pos), SEEK_DATA);
        const off_t db = ::lseek(fb, static_cast<off_t>(pos), SEEK_DATA);
        const std::uint64_t next = std::min<std::uint64_t>(
            da < 0 ? size : static_cast<std::uint64_t>(da), db < 0 ? size : static_cast<std::uint64_t>(db));
        if (next >= size) {
            break;
        }
        pos = next & ~static_cast<std::uint64_t>(ba.size() - 1);
        const ssize_t na = ::pread(fa, ba.data(), ba.size(), static_cast<off_t>(pos));
        const ssize_t nb = ::pread(fb, bb.data(), bb.size(), static_cast<off_t>(pos));
        EXPECT_EQ(na, nb);
        for (ssize_t i = 0; i < std::min(na, nb); ++i) {
            if (ba[static_cast<std::size_t>(i)] != bb[static_cast<std::size_t>(i)]) {
                diffs.push_back(pos + static_cast<std::uint64_t>(i));
            }
        }
        pos += ba.size();
    }
    ::close(fa);
    ::close(fb);
    return diffs;
}

TEST(HexLargeFile, EditOneByteDeepInsideASparseFile)
{
    TTempDir dir;
    const fs::path original = dir.Path() / "big.bin";
    const fs::path saved = dir.Path() / "saved.bin";
    constexpr std::uint64_t kSize = 5ull << 30;
    constexpr std::int64_t kAt = 0x12345678A;
    {
        const int fd = ::open(original.c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kSize)), 0);
        ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
        ASSERT_EQ(::pwrite(fd, "tail", 4, static_cast<off_t>(kSize - 4)), 4);
        ::close(fd);
    }
    THexDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(original)) << doc.LastError();
    EXPECT_EQ(doc.GetDataSize(), kSize);
    EXPECT_EQ(doc.RowCount(), static_cast<std::int64_t>(kSize / 16));
    ASSERT_TRUE(doc.Seek(kAt, 0, true));
    doc.TypeChar('7');
    doc.TypeChar('e');
    EXPECT_EQ(doc.GetMemory(kAt), 0x7E);
    EXPECT_TRUE(doc.ChangedMark(kAt));
    EXPECT_FALSE(doc.ChangedMark(kAt - 1));
    EXPECT_EQ(doc.Grid().OffsetText(doc.Cursor().row, doc.RowCount()), "0x123456780:");
    ASSERT_TRUE(doc.SaveToFile(saved)) << doc.LastError();
    EXPECT_EQ(Differences(original, saved), std::vector<std::uint64_t>{static_cast<std::uint64_t>(kAt)});
}

} // namespace
} // namespace quillet::test

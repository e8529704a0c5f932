#include "hex/HexText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quillet {
namespace {

TEST(HexText, BinaryToHexAndBack)
{
    const std::uint8_t bytes[] = {0x00, 0x1F, 0xAB};
    EXPECT_EQ(ConvertBinToHex(bytes, 3), "001FAB");
    struct Case {
        const char* text;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"001FAB", {0x00, 0x1F, 0xAB}},
        {"00 1f ab", {0x00, 0x1F, 0xAB}},
        {"ABC", {0xAB}}, // the unpaired last digit is dropped
        {"xyz", {}},
        {"", {}},
        {"a-b\r\nc d", {0xAB, 0xCD}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ConvertHexToBin(c.text), c.bytes);
    }
}

TEST(HexText, OctalAndPadding)
{
    EXPECT_EQ(IntToOctal(0), "00");
    EXPECT_EQ(IntToOctal(8), "010");
    EXPECT_EQ(IntToOctal(99984), "0303220");
    EXPECT_EQ(FillLeft('0', "12", 5), "00012");
    EXPECT_EQ(FillLeft('0', "123456", 5), "123456");
}

TEST(HexText, SearchTextToBytes)
{
    EXPECT_EQ(SearchTextToBytes("ABC", false), (std::vector<std::uint8_t>{0x0A, 0xBC}));
    EXPECT_EQ(SearchTextToBytes("ab", true), (std::vector<std::uint8_t>{'a', 'b'}));
    EXPECT_EQ(SearchTextToBytes("zz41", false), (std::vector<std::uint8_t>{0x00, 0x41}));
}

TEST(HexText, ParseOffsetInEachBase)
{
    struct Case {
        const char* text;
        TOffsetDisplay base;
        std::optional<std::int64_t> value;
    };
    const Case cases[] = {
        {"17", odOctal, 15},
        {"18", odOctal, std::nullopt},
        {"1F", odHex, 31},
        {"b0000000", odHex, 0xB0000000},
        {"7FFFFFFFFFFFFFFF", odHex, INT64_MAX},
        {"8000000000000000", odHex, std::nullopt}, // does not fit in 63 bits
        {"123456789012345678901234567890", odOctal, std::nullopt},
        {"777777777777777777777", odOctal, INT64_MAX},
        {"1000000000000000000000", odOctal, std::nullopt},
        {"99", odDec, 99},
        {"9223372036854775808", odDec, std::nullopt},
        {"1A", odDec, std::nullopt},
        {"", odHex, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseOffset(c.text, c.base), c.value);
    }
}

TEST(HexText, FormatOffsetPadsToTheSizeDigits)
{
    EXPECT_EQ(FormatOffset(0x10, 0x12345, odHex), "0x00010");
    EXPECT_EQ(FormatOffset(8, 4096, odOctal), "o 00010");
    EXPECT_EQ(FormatOffset(42, 100000, odDec), "42");
    EXPECT_EQ(FormatOffset(42, 100000, odNone), "42");
}

TEST(HexText, IsHexCountsControlBytesButNotNulOrFormFeed)
{
    test::TTempDir dir;
    EXPECT_FALSE(IsHex(dir.Write("nul", std::string("ab\0\0cd\f", 7))));
    EXPECT_TRUE(IsHex(dir.Write("ctl", "ab\x01")));
    EXPECT_FALSE(IsHex(dir.Write("late", std::string(500, 'a') + "\x01")));
    // Nothing to read: a pipe or a device is not waited on or read forever.
    ASSERT_EQ(::mkfifo((dir.Path() / "pipe").c_str(), 0600), 0);
    for (const std::filesystem::path& unreadable :
        {dir.Path() / "missing", dir.Path() / "pipe", dir.Path(), std::filesystem::path("/dev/zero")}) {
        EXPECT_FALSE(IsHex(unreadable)) << unreadable;
    }
}

} // namespace
} // namespace quillet

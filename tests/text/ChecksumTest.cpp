#include "text/Checksum.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

TEST(Checksum, CrcCheckValues)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    EXPECT_EQ(Crc32("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
    EXPECT_EQ(Crc16("123456789"), 0x6F91);
    EXPECT_EQ(Crc16(""), 0xFFFF);
}

TEST(Checksum, Md5PublishedVectors)
{
    // The test suite of RFC 1321.
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
            "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [text, digest] : cases) {
        SCOPED_TRACE(std::string(text));
        EXPECT_EQ(Md5Hex(text), digest);
    }
}

TEST(Checksum, PiecewiseEqualsWhole)
{
    // Splits around the 64-byte block and the 56-byte padding boundaries.
    std::string data(300, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>(i * 31 + 7);
    }
    for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 128u, 300u}) {
        const std::string_view whole(data.data(), length);
        for (std::size_t split = 0; split <= length; split += 7) {
            SCOPED_TRACE(std::to_string(length) + " split at " + std::to_string(split));
            TMd5 md5;
            TCrc32 crc32;
            TCrc16 crc16;
            for (std::string_view part : {whole.substr(0, split), whole.substr(split)}) {
                md5.Update(part);
                crc32.Update(part);
                crc16.Update(part);
            }
            EXPECT_EQ(md5.Finish(), Md5(whole));
            EXPECT_EQ(crc32.Value(), Crc32(whole));
            EXPECT_EQ(crc16.Value(), Crc16(whole));
        }
    }
}

TEST(Checksum, LabelsKeepLeadingZeros)
{
    EXPECT_EQ(Crc32Label(""), "Crc32: 00000000");
    EXPECT_EQ(Crc32Label("123456789\r\n"), "Crc32: 88794574"); // a selection inside a line
    EXPECT_EQ(Crc16Label("123456789"), "Crc16: 6F91");
    EXPECT_EQ(Md5Label(""), "MD5: D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Crc16Label(std::string_view("\0", 1)), "Crc16: 0F87");
}

} // namespace
} // namespace quillet

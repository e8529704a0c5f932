#include "text/Encoder.h"

#include "text/Checksum.h"
#include "text/EditTransform.h"
#include "text/EncoderCommand.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

std::string AllBytes(std::size_t length)
{
    std::string s(length, '\0');
    for (std::size_t i = 0; i < length; ++i) {
        s[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    }
    return s;
}

TEST(Encoder, Base64PublishedVectors)
{
    // The test vectors of RFC 4648.
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [plain, encoded] : cases) {
        SCOPED_TRACE(std::string(plain));
        EXPECT_EQ(Base64Encode(plain), encoded);
        const TDecodeResult decoded = Base64Decode(encoded);
        EXPECT_TRUE(decoded.Ok());
        EXPECT_EQ(decoded.text, plain);
    }
}

TEST(Encoder, SelectionInsideOneLineIsEncodedWithItsLineBreak)
{
    const std::string input = JoinLinesForEncoding({"abc"});
    EXPECT_EQ(input, "abc\r\n");
    EXPECT_EQ(Base64Encode(input), "YWJjDQo=");
    const TDecodeResult decoded = Base64Decode("YWJjDQo=");
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(SplitTextLines(decoded.text), (TLines{"abc", ""}));
    EXPECT_EQ(JoinLinesForEncoding({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(Encoder, Base64DecodeSkipsBlanksAndPadding)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Zm9v\r\nYmFy\r\n", "foobar"}, // wrapped, as the selection arrives
        {"  Zm 9v\tYm\fFy\v", "foobar"}, // blanks anywhere
        {"Zm9vYg", "foob"}, // padding left out
        {"Zm9vYmE", "fooba"},
        {"Zm=9vYg==", "foob"}, // a stray "=" is skipped too
    };
    for (const auto& [encoded, plain] : cases) {
        SCOPED_TRACE(std::string(encoded));
        const TDecodeResult decoded = Base64Decode(encoded);
        EXPECT_TRUE(decoded.Ok());
        EXPECT_EQ(decoded.text, plain);
    }
}

TEST(Encoder, Base64DecodeRefusesBadText)
{
    struct Case {
        const char* name;
        std::string_view text;
        TDecodeError error;
        std::size_t offset;
    };
    const Case cases[] = {
        {"wrong alphabet", "Zm9v!YmFy", TDecodeError::Base64BadCharacter, 4},
        {"url-safe alphabet", "Zm9v-_", TDecodeError::Base64BadCharacter, 4},
        {"NUL byte", std::string_view("Zm\0v", 4), TDecodeError::Base64BadCharacter, 2},
        {"high byte", "Zm9v\xE9", TDecodeError::Base64BadCharacter, 4},
        {"truncated to one character", "Zm9vY", TDecodeError::Base64Truncated, 4},
        {"truncated after blanks", "Zm9v\r\n Y=\r\n", TDecodeError::Base64Truncated, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TDecodeResult decoded = Base64Decode(c.text);
        EXPECT_FALSE(decoded.Ok());
        EXPECT_EQ(decoded.error, c.error);
        EXPECT_EQ(decoded.errorOffset, c.offset);
        EXPECT_TRUE(decoded.text.empty());
        EXPECT_FALSE(DecodeErrorText(decoded.error).empty());
        EXPECT_FALSE(DecodeErrorKey(decoded.error).empty());
    }
}

TEST(Encoder, UuAndXxKnownLines)
{
    EXPECT_EQ(UuEncode("Cat"), "#0V%T");
    EXPECT_EQ(UuEncode("a"), "!80``"); // full groups, zero as grave accent
    EXPECT_EQ(UuEncode(std::string(3, '\0')), "#````");
    EXPECT_EQ(XxEncode("Cat"), "1Eq3o");
    EXPECT_EQ(XxEncode(std::string(3, '\0')), "1++++");
    // A short line counts as padded: the data characters that only hold
    // padding bits may be missing.
    EXPECT_EQ(UuDecode("!80").text, "a");
    EXPECT_EQ(UuDecode("!80  \r\n").text, "a");
}

TEST(Encoder, UuAndXxLineLayout)
{
    // Up to 63 bytes stay on one line whose count character says so.
    const std::string uu63 = UuEncode(AllBytes(63));
    EXPECT_EQ(uu63.find('\n'), std::string::npos);
    EXPECT_EQ(uu63.size(), 1u + 84u);
    EXPECT_EQ(uu63[0], '_');
    // Longer input is cut into 45-byte lines ("M" in UU, "h" in XX).
    const TLines uuLines = SplitTextLines(UuEncode(AllBytes(100)));
    ASSERT_EQ(uuLines.size(), 3u);
    EXPECT_EQ(uuLines[0].size(), 61u);
    EXPECT_EQ(uuLines[0][0], 'M');
    EXPECT_EQ(uuLines[1][0], 'M');
    EXPECT_EQ(uuLines[2][0], static_cast<char>(32 + 10));
    const TLines xxLines = SplitTextLines(XxEncode(AllBytes(100)));
    ASSERT_EQ(xxLines.size(), 3u);
    EXPECT_EQ(xxLines[0][0], 'h');
}

TEST(Encoder, EveryEncoderRoundTripsEveryByte)
{
    for (std::size_t length : {0u, 1u, 2u, 3u, 44u, 45u, 46u, 62u, 63u, 64u, 90u, 91u, 256u, 1000u}) {
        SCOPED_TRACE(length);
        const std::string data = AllBytes(length);
        const TDecodeResult base64 = Base64Decode(Base64Encode(data));
        EXPECT_TRUE(base64.Ok());
        EXPECT_EQ(base64.text, data);
        const TDecodeResult uu = UuDecode(UuEncode(data));
        EXPECT_TRUE(uu.Ok());
        EXPECT_EQ(uu.text, data);
        const TDecodeResult xx = XxDecode(XxEncode(data));
        EXPECT_TRUE(xx.Ok());
        EXPECT_EQ(xx.text, data); // XX data uses both letter cases
        EXPECT_EQ(QuotedPrintableDecode(QuotedPrintableEncode(data)), data);
        // The way the commands hand the text over: lines with CR LF after each.
        const std::string selection = JoinLinesForEncoding(SplitTextLines(UuEncode(data)));
        EXPECT_EQ(UuDecode(selection).text, data);
    }
}

TEST(Encoder, UuAndXxDecodeSkipFrameLines)
{
    const std::string body = UuEncode("hello world");
    const std::string framed = "begin 644 hello.txt\r\n" + body + "\r\n`\r\nend\r\n";
    EXPECT_EQ(UuDecode(framed).text, "hello world");
    EXPECT_EQ(UuDecode("BEGIN 644 x\r\n").text, "");
    EXPECT_EQ(UuDecode("  table\r\n" + body).text, "hello world");
    // Data lines that merely start with those letters are data.
    std::string endLike = "\xBA\x40" + std::string(33, 'x') + "\r\n";
    ASSERT_EQ(UuEncode(endLike).substr(0, 3), "END");
    EXPECT_EQ(UuDecode(UuEncode(endLike)).text, endLike);
    const std::string xx = XxEncode("hello world");
    EXPECT_EQ(XxDecode("Begin 644 x\r\n" + xx + "\r\nEnd\r\n").text, "hello world");
}

TEST(Encoder, UuAndXxDecodeRefuseCharactersOutsideTheAlphabet)
{
    struct Case {
        const char* name;
        bool xx;
        std::string_view text;
        std::size_t offset;
    };
    const Case cases[] = {
        {"UU lower-case letter in the data", false, "#0V%t", 4},
        {"UU count character", false, "~0V%T", 0},
        {"UU NUL byte", false, std::string_view("#0\0%T", 5), 2},
        {"XX character from the UU alphabet", true, "1Gk#o", 3},
        {"XX space inside the data", true, "1G 7o", 2},
        {"XX on the second line", true, "1Gk7o\r\n1G*7o", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TDecodeResult decoded = c.xx ? XxDecode(c.text) : UuDecode(c.text);
        EXPECT_EQ(decoded.error, c.xx ? TDecodeError::XxBadCharacter : TDecodeError::UuBadCharacter);
        EXPECT_EQ(decoded.errorOffset, c.offset);
        EXPECT_TRUE(decoded.text.empty());
    }
    // Characters after the data a count asks for are not read.
    EXPECT_TRUE(UuDecode("#0V%T~~").Ok());
}

TEST(Encoder, QuotedPrintableEncode)
{
    EXPECT_EQ(QuotedPrintableEncode("a=b\r\n"), "a=3Db=0D=0A");
    EXPECT_EQ(QuotedPrintableEncode("x \t~\x7F\xFF"), "x =09~=7F=FF");
    // Exactly the listed printable characters are escaped.
    std::string escapedPrintables;
    for (int c = 32; c < 127; ++c) {
        const std::string one(1, static_cast<char>(c));
        if (QuotedPrintableEncode(one) != one) {
            escapedPrintables += one;
        }
    }
    EXPECT_EQ(escapedPrintables, "\"(),/:;<=>?@[\\]_");
}

TEST(Encoder, QuotedPrintableDecode)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"a=3Db=0D=0A", "a=b\r\n"},
        {"=e9t=C3=A9", "\xE9t\xC3\xA9"}, // either case of hex digits
        {"soft=\r\nbreak", "softbreak"}, // RFC 2045 soft line break
        {"soft=\n\rbreak", "softbreak"},
        {"soft=\nbreak", "softbreak"},
        {"soft=\rbreak", "softbreak"},
        {"soft=\r\n\r\nbreak", "soft\r\nbreak"}, // only one break is soft
        {"a=XYb", "a=XYb"}, // not an escape: kept as written
        {"a=4", "a=4"}, // too short to be an escape
        {"a=", "a="},
        {"a=\n", "a"},
        {std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
    };
    for (const auto& [encoded, plain] : cases) {
        SCOPED_TRACE(std::string(encoded));
        EXPECT_EQ(QuotedPrintableDecode(encoded), plain);
    }
}

TEST(Encoder, DecodersSurviveRandomBytes)
{
    // Any input either decodes or is refused with an offset inside it; what
    // decodes survives a second round trip. Run under the sanitizers this also
    // guards every table lookup and buffer bound.
    std::mt19937 rng(99);
    const std::string likely = "ABCxyz0189+/=-`!#M \t\r\n\0\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 120, '\0');
        for (char& c : text) {
            c = (rng() % 4 == 0) ? static_cast<char>(rng()) : likely[rng() % likely.size()];
        }
        SCOPED_TRACE(round);
        for (auto decode : {&Base64Decode, &UuDecode, &XxDecode}) {
            const TDecodeResult result = decode(text);
            if (!result.Ok()) {
                ASSERT_TRUE(result.text.empty());
                ASSERT_LT(result.errorOffset, text.size());
            }
        }
        const TDecodeResult base64 = Base64Decode(text);
        if (base64.Ok()) {
            ASSERT_EQ(Base64Decode(Base64Encode(base64.text)).text, base64.text);
        }
        const std::string qp = QuotedPrintableDecode(text);
        ASSERT_LE(qp.size(), text.size());
        ASSERT_EQ(QuotedPrintableDecode(QuotedPrintableEncode(qp)), qp);
    }
}

TEST(Encoder, CommandsOnASelection)
{
    using TAction = TEncodeOutcome::TAction;
    struct Case {
        const char* name;
        TEncodeCommand command;
        std::vector<std::string> selection;
        TAction action;
        std::string text;
        TLines lines;
    };
    const Case cases[] = {
        {"Base64 of a word inside a line",
            TEncodeCommand::EncodeBase64,
            {"abc"},
            TAction::ReplaceWithText,
            "YWJjDQo=",
            {}},
        {"Base64 back to the line and an empty line start",
            TEncodeCommand::DecodeBase64,
            {"YWJjDQo="},
            TAction::ReplaceWithLines,
            "",
            {"abc", ""}},
        {"quoted-printable",
            TEncodeCommand::EncodeQuotedPrintable,
            {"a=b"},
            TAction::ReplaceWithText,
            "a=3Db=0D=0A",
            {}},
        {"quoted-printable back",
            TEncodeCommand::DecodeQuotedPrintable,
            {"a=3Db=0D=0A"},
            TAction::ReplaceWithLines,
            "",
            {"a=b", "", ""}},
        {"UU", TEncodeCommand::EncodeUu, {"Cat"}, TAction::ReplaceWithText, UuEncode("Cat\r\n"), {}},
        {"XX back over two lines",
            TEncodeCommand::DecodeXx,
            {"begin 644 x", XxEncode("x\ty")},
            TAction::ReplaceWithLines,
            "",
            {"x\ty"}},
        {"CRC-32 counts the line break",
            TEncodeCommand::Crc32,
            {"123456789"},
            TAction::InsertAtCaret,
            "Crc32: 88794574",
            {}},
        {"CRC-16", TEncodeCommand::Crc16, {""}, TAction::InsertAtCaret, "Crc16: " + std::string(), {}},
        {"MD5", TEncodeCommand::Md5, {"a", "b"}, TAction::InsertAtCaret, "MD5: ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TEncodeOutcome outcome = RunEncodeCommand(c.command, c.selection);
        EXPECT_EQ(outcome.action, c.action);
        EXPECT_EQ(outcome.error, TDecodeError::None);
        if (c.action == TAction::ReplaceWithLines) {
            EXPECT_EQ(outcome.lines, c.lines);
        } else {
            EXPECT_EQ(outcome.text.substr(0, c.text.size()), c.text);
        }
    }
    EXPECT_EQ(RunEncodeCommand(TEncodeCommand::Md5, {"a", "b"}).text, "MD5: " + Md5Hex("a\r\nb\r\n"));
    EXPECT_EQ(RunEncodeCommand(TEncodeCommand::Crc16, {""}).text, "Crc16: " + Crc16Label("\r\n").substr(7));

    const TEncodeOutcome refused = RunEncodeCommand(TEncodeCommand::DecodeBase64, {"not base64!"});
    EXPECT_EQ(refused.action, TAction::Refuse);
    EXPECT_EQ(refused.error, TDecodeError::Base64BadCharacter);
    EXPECT_TRUE(refused.text.empty());
    EXPECT_TRUE(refused.lines.empty());
}

} // namespace
} // namespace quillet

#include "core/CharsetConversion.h"

#include "core/CodePages.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

using namespace std::string_literals;

// The system's iconv serves as the oracle only here; nullopt when it does not
// know a charset or refuses the input.
std::optional<std::string> Iconv(const char* from, const char* to, const std::string& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(in.size() * 8 + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    // Flush charsets that hold back a base letter for a combining mark.
    ok = ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok || inLeft != 0) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

char32_t FromUcs4LE(std::string_view s)
{
    return static_cast<unsigned char>(s[0]) | static_cast<unsigned char>(s[1]) << 8
        | static_cast<unsigned char>(s[2]) << 16 | static_cast<unsigned char>(s[3]) << 24;
}

// Name the system iconv uses for each single-byte list charset.
const char* IconvName(int cp)
{
    switch (cp) {
    case kCpKoi8R:
        return "KOI8-R";
    case kCpKamenicky:
        return "KEYBCS2";
    case kCpDos852:
        return "IBM852";
    default:
        break;
    }
    static std::string name;
    name = GetIDFromCP(cp);
    if (name == "ISO_8859-8") {
        name = "ISO-8859-8";
    }
    return name.c_str();
}

TEST(CharsetConversion, SingleByteTablesAgreeWithIconv)
{
    std::vector<std::string> skipped;
    for (int index = 1; index <= 25; ++index) {
        const int cp = GetCodePage(index);
        const std::string name = IconvName(cp);
        SCOPED_TRACE(name);
        if (!Iconv(name.c_str(), "UCS-4LE", "A")) {
            skipped.push_back(name);
            continue;
        }
        int compared = 0;
        for (int b = 0; b < 256; ++b) {
            SCOPED_TRACE(b);
            const std::string byte(1, static_cast<char>(b));
            const std::string ours = CharsetConversion(byte, cp, kCpUcs4LE);
            ASSERT_EQ(ours.size(), 4u);
            const std::optional<std::string> theirs = Iconv(name.c_str(), "UCS-4LE", byte);
            if (theirs && theirs->size() == 4) {
                EXPECT_EQ(FromUcs4LE(ours), FromUcs4LE(*theirs));
                ++compared;
            } else {
                // Undefined in the published table: a stand-in that keeps the byte.
                const char32_t standIn = b < 0xA0 ? static_cast<char32_t>(b) : 0xF700 + static_cast<char32_t>(b);
                EXPECT_EQ(FromUcs4LE(ours), standIn);
            }
        }
        EXPECT_GE(compared, 200) << "the oracle answered for too few bytes";
    }
    for (const std::string& name : skipped) {
        std::printf("iconv does not know %s: its table is checked by the round trips only\n", name.c_str());
    }
}

TEST(CharsetConversion, KamenickyLettersFromThePublishedTable)
{
    // Czech and Slovak letters sit where code page 437 has its accented Latin.
    EXPECT_EQ(CharsetConversion("\x80\x87\x9B\xA8\xA6\x96\xAB"s, kCpKamenicky, kCpUtf8), "ČčŠšŮůŔ");
    // Elsewhere it is code page 437, but for the section sign at 0xAD.
    EXPECT_EQ(CharsetConversion("\xAC\xAD\xB0\xDB\xE1"s, kCpKamenicky, kCpUtf8), "¼§░█ß");
    EXPECT_EQ(CharsetConversion("Žluťoučký kůň", kCpUtf8, kCpKamenicky), "\x92lu\x9Fou\x87k\x98 k\x96\xA4"s);
}

TEST(CharsetConversion, EverySingleByteCharsetRoundTripsAllBytes)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const int unicodeForms[] = {kCpUtf8, kCpUtf7, kCpUtf7Modified, kCpUcs2BE, kCpUcs2LE, kCpUcs4BE, kCpUcs4LE};
    for (int index = 1; index <= 25; ++index) {
        const int cp = GetCodePage(index);
        for (int form : unicodeForms) {
            SCOPED_TRACE(GetIDFromCP(cp) + " via " + GetIDFromCP(form));
            const TConversion there = ConvertCharset(all, cp, form);
            EXPECT_FALSE(there.lossy);
            const TConversion back = ConvertCharset(there.bytes, form, cp);
            EXPECT_FALSE(back.lossy);
            EXPECT_EQ(back.bytes, all);
        }
    }
}

TEST(CharsetConversion, UnicodeFormsRoundTripAndAgreeWithIconv)
{
    // ASCII with the UTF-7 specials, line ends, Latin, Greek, CJK and a
    // character beyond the basic plane.
    const std::string text = "a+b&c-d~\\e\r\n\tx=1; \"q\" Ünïcødé Ωμέγα 日本語 🎉 end-";
    struct Form {
        int cp;
        const char* iconvName;
    };
    const Form forms[] = {
        {kCpUtf7, "UTF-7"},
        {kCpUtf7Modified, nullptr},
        {kCpUcs2BE, "UTF-16BE"},
        {kCpUcs2LE, "UTF-16LE"},
        {kCpUcs4BE, "UCS-4BE"},
        {kCpUcs4LE, "UCS-4LE"},
    };
    for (const Form& f : forms) {
        SCOPED_TRACE(GetIDFromCP(f.cp));
        const TConversion encoded = ConvertCharset(text, kCpUtf8, f.cp);
        EXPECT_FALSE(encoded.lossy);
        const TConversion decoded = ConvertCharset(encoded.bytes, f.cp, kCpUtf8);
        EXPECT_FALSE(decoded.lossy);
        EXPECT_EQ(decoded.bytes, text);
        if (f.iconvName) {
            EXPECT_EQ(Iconv(f.iconvName, "UTF-8", encoded.bytes), text) << "iconv reads our output";
            const std::optional<std::string> theirs = Iconv("UTF-8", f.iconvName, text);
            ASSERT_TRUE(theirs);
            EXPECT_EQ(CharsetConversion(*theirs, f.cp, kCpUtf8), text) << "we read iconv's output";
        }
    }
}

TEST(CharsetConversion, ArbitraryBytesDecodeToValidUnicode)
{
    // Whatever the input, the decoded text is valid Unicode: its UTF-8 form
    // converts onward without loss and comes back unchanged.
    std::mt19937 random(20261210);
    for (int index = 1; index < kCodePageCount; ++index) {
        const int cp = GetCodePage(index);
        SCOPED_TRACE(GetIDFromCP(cp));
        for (int run = 0; run < 300; ++run) {
            std::string bytes(random() % 40, '\0');
            for (char& b : bytes) {
                // Bias towards the bytes that steer the decoders.
                static const char kSpecial[] = {'+', '&', '-', '\0', '\xFE', '\xFF', '\xD8', '\xDC', '\xED', '\xF4'};
                b = random() % 3 == 0 ? kSpecial[random() % sizeof kSpecial] : static_cast<char>(random());
            }
            // UTF-8 to UTF-8 would return the input untouched: decode it through UCS-2.
            const std::string utf8 = cp == kCpUtf8
                ? CharsetConversion(CharsetConversion(bytes, cp, kCpUcs2LE), kCpUcs2LE, kCpUtf8)
                : CharsetConversion(bytes, cp, kCpUtf8);
            const TConversion ucs4 = ConvertCharset(utf8, kCpUtf8, kCpUcs4LE);
            ASSERT_FALSE(ucs4.lossy) << "invalid UTF-8 produced";
            EXPECT_EQ(CharsetConversion(ucs4.bytes, kCpUcs4LE, kCpUtf8), utf8);
        }
    }
}

TEST(CharsetConversion, Cases)
{
    struct Case {
        const char* name;
        std::string in;
        int from;
        int to;
        std::string out;
        bool lossy;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    const Case cases[] = {
        {"equal charsets return the input", "\xC0\xAF\xFF"s, kCpUtf8, kCpUtf8, "\xC0\xAF\xFF"s, false},
        {"unlisted charsets read as ISO-8859-1", "\xE9"s, 4242, kCpUtf8, "é", false},
        {"single-byte target writes _", "a€ßč", kCpUtf8, kCpIso8859_1, "a_\xDF_"s, true},
        {"Windows-1252 holds the euro", "€", kCpUtf8, kCpWindows1252, "\x80"s, false},
        {"single to single", "\xE8\xB9"s, kCpIso8859_2, kCpWindows1250, "\xE8\x9A"s, false},
        {"single to single loses", "\xE8"s, kCpIso8859_2, kCpIso8859_1, "_", true},
        {"beyond the basic plane to single byte", "🎉", kCpUtf8, kCpWindows1252, "_", true},
        {"UTF-8 overlong to UCS-2", "\xC0\xAF"s, kCpUtf8, kCpUcs2BE, "\xFF\xFD\xFF\xFD"s, true},
        {"UTF-8 overlong three bytes", "\xE0\x80\xAF"s, kCpUtf8, kCpUcs2BE, "\xFF\xFD\xFF\xFD\xFF\xFD"s, true},
        {"UTF-8 surrogate", "\xED\xA0\x80"s, kCpUtf8, kCpUcs2BE, "\xFF\xFD\xFF\xFD\xFF\xFD"s, true},
        {"UTF-8 truncated at the end", "ok\xE2\x82"s, kCpUtf8, kCpUcs2BE, "\0o\0k\xFF\xFD"s, true},
        {"UTF-8 truncated before ASCII",
            "\xF0\x9F\x8E"
            "a"s,
            kCpUtf8,
            kCpUcs2BE,
            "\xFF\xFD\0a"s,
            true},
        {"UTF-8 beyond U+10FFFF", "\xF4\x90\x80\x80"s, kCpUtf8, kCpUcs2BE, "\xFF\xFD\xFF\xFD\xFF\xFD\xFF\xFD"s, true},
        {"UTF-8 lone continuation", "\x80"s, kCpUtf8, kCpWindows1252, "_", true},
        {"UTF-8 byte-order marks are dropped",
            "\xEF\xBB\xBF"
            "a\xEF\xBB\xBF"
            "b"s,
            kCpUtf8,
            kCpWindows1252,
            "ab",
            false},
        {"a byte-order mark alone", "\xFE\xFF"s, kCpUcs2BE, kCpWindows1252, "", false},
        {"UCS-2 odd byte count", "\0a\0"s, kCpUcs2BE, kCpUtf8, "a" + fffd, true},
        {"UCS-2 U+FFFE swaps the byte order",
            "\0A\xFF\xFE"
            "B\0"s,
            kCpUcs2BE,
            kCpWindows1252,
            "AB",
            false},
        {"UCS-2LE with its mark",
            "\xFF\xFE"
            "A\0\x0D\x01"s,
            kCpUcs2LE,
            kCpWindows1250,
            "A\xE8"s,
            false},
        {"UCS-2 surrogate pair", "\xD8\x3C\xDF\x89"s, kCpUcs2BE, kCpUtf8, "🎉", false},
        {"UCS-2 lone surrogate", "\xD8\x3C\0a"s, kCpUcs2BE, kCpUtf8, fffd + "a", true},
        {"UCS-4 reversed mark swaps",
            "\0\0\0A\xFF\xFE\0\0"
            "B\0\0\0"s,
            kCpUcs4BE,
            kCpUtf8,
            "AB",
            false},
        {"UCS-4 beyond U+10FFFF", "\0\x11\0\0"s, kCpUcs4BE, kCpUtf8, fffd, true},
        {"UCS-4 trailing bytes", "\0\0\0a\0"s, kCpUcs4BE, kCpUtf8, "a" + fffd, true},
        {"UTF-7 smiley", "Hi Mom -☺-!", kCpUtf8, kCpUtf7, "Hi Mom -+Jjo--!", false},
        {"UTF-7 plus", "1+1", kCpUtf8, kCpUtf7, "1+-1", false},
        {"UTF-7 implicit end of base64", "A+ImIDkQ.", kCpUtf7, kCpUtf8, "A≢Α.", false},
        {"UTF-7 junk bits", "+AGEA-", kCpUtf7, kCpUtf8, "a" + fffd, true},
        {"UTF-7 eight-bit byte", "a\xE9"s, kCpUtf7, kCpUtf8, "a" + fffd, true},
        {"modified UTF-7 mailbox name",
            "~peter/mail/&U,BTFw-/&ZeVnLIqe-",
            kCpUtf7Modified,
            kCpUtf8,
            "~peter/mail/台北/日本語",
            false},
        {"modified UTF-7 ampersand", "a&b", kCpUtf8, kCpUtf7Modified, "a&-b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TConversion result = ConvertCharset(c.in, c.from, c.to);
        EXPECT_EQ(result.bytes, c.out);
        EXPECT_EQ(result.lossy, c.lossy);
    }
}

TEST(CharsetConversion, ByteOrderMarks)
{
    EXPECT_EQ(ByteOrderMark(kCpUcs2BE), "\xFE\xFF"s);
    EXPECT_EQ(ByteOrderMark(kCpUcs2LE), "\xFF\xFE"s);
    EXPECT_EQ(ByteOrderMark(kCpUcs4BE), "\0\0\xFE\xFF"s);
    EXPECT_EQ(ByteOrderMark(kCpUcs4LE), "\xFF\xFE\0\0"s);
    EXPECT_EQ(ByteOrderMark(kCpUtf8), "\xEF\xBB\xBF"s);
    EXPECT_TRUE(ByteOrderMark(kCpUtf7).empty());
    EXPECT_TRUE(ByteOrderMark(kCpWindows1250).empty());
}

} // namespace
} // namespace quillet

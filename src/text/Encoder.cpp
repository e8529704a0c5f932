// Base64 (RFC 4648) and quoted-printable (RFC 2045, strict one-line form),
// table-driven so that a 100 MB selection encodes at memory speed.
#include "text/Encoder.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace quillet {

namespace {

constexpr char kBase64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kSkip = 0x40; // blank or "=": ignored by the decoder
constexpr std::uint8_t kBad = 0xFF; // anything else outside the alphabet

struct TBase64Tables {
    // Two output characters for every 12-bit value, so three input bytes need
    // two lookups.
    std::array<std::array<char, 2>, 4096> pairs{};
    std::array<std::uint8_t, 256> values{};
};

constexpr TBase64Tables BuildBase64Tables()
{
    TBase64Tables t;
    for (int i = 0; i < 4096; ++i) {
        t.pairs[i] = {kBase64Alphabet[i >> 6], kBase64Alphabet[i & 63]};
    }
    for (auto& v : t.values) {
        v = kBad;
    }
    for (int i = 0; i < 64; ++i) {
        t.values[static_cast<unsigned char>(kBase64Alphabet[i])] = static_cast<std::uint8_t>(i);
    }
    for (unsigned char c : {' ', '\t', '\r', '\n', '\f', '\v', '='}) {
        t.values[c] = kSkip;
    }
    return t;
}

constexpr TBase64Tables kBase64 = BuildBase64Tables();

constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr std::array<bool, 256> BuildQuotedPrintableEscapes()
{
    std::array<bool, 256> escape{};
    for (int c = 0; c < 256; ++c) {
        escape[c] = c < 32 || c >= 127;
    }
    for (unsigned char c : std::string_view("\"(),/:;<=>?@[\\]_")) {
        escape[c] = true;
    }
    return escape;
}

constexpr std::array<bool, 256> kQpEscape = BuildQuotedPrintableEscapes();

constexpr std::array<std::int8_t, 256> BuildHexValues()
{
    std::array<std::int8_t, 256> values{};
    for (auto& v : values) {
        v = -1;
    }
    for (int i = 0; i < 10; ++i) {
        values[static_cast<std::size_t>('0' + i)] = static_cast<std::int8_t>(i);
    }
    for (int i = 0; i < 6; ++i) {
        values[static_cast<std::size_t>('A' + i)] = static_cast<std::int8_t>(10 + i);
        values[static_cast<std::size_t>('a' + i)] = static_cast<std::int8_t>(10 + i);
    }
    return values;
}

constexpr std::array<std::int8_t, 256> kHexValues = BuildHexValues(); // -1: not a hex digit

} // namespace

std::string_view DecodeErrorText(TDecodeError error)
{
    switch (error) {
    case TDecodeError::None:
        return {};
    case TDecodeError::Base64BadCharacter:
        return "The selected text is not valid Base64: it contains characters outside the Base64 alphabet.";
    case TDecodeError::Base64Truncated:
        return "The selected text is not valid Base64: it ends in an incomplete group of characters.";
    case TDecodeError::UuBadCharacter:
        return "The selected text is not valid UUcode: it contains characters outside the UUcode alphabet.";
    case TDecodeError::XxBadCharacter:
        return "The selected text is not valid XXcode: it contains characters outside the XXcode alphabet.";
    }
    return {};
}

std::string_view DecodeErrorKey(TDecodeError error)
{
    switch (error) {
    case TDecodeError::None:
        return {};
    case TDecodeError::Base64BadCharacter:
        return "DecodeBase64BadChar";
    case TDecodeError::Base64Truncated:
        return "DecodeBase64Truncated";
    case TDecodeError::UuBadCharacter:
        return "DecodeUUBadChar";
    case TDecodeError::XxBadCharacter:
        return "DecodeXXBadChar";
    }
    return {};
}

std::string JoinLinesForEncoding(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

std::string Base64Encode(std::string_view data)
{
    const auto* in = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t n = data.size();
    std::string out((n + 2) / 3 * 4, '=');
    char* o = out.data();
    std::size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        const std::uint32_t v = std::uint32_t{in[i]} << 16 | std::uint32_t{in[i + 1]} << 8 | in[i + 2];
        std::memcpy(o, kBase64.pairs[v >> 12].data(), 2);
        std::memcpy(o + 2, kBase64.pairs[v & 0xFFF].data(), 2);
        o += 4;
    }
    if (n - i == 1) {
        const std::uint32_t v = std::uint32_t{in[i]} << 4;
        std::memcpy(o, kBase64.pairs[v].data(), 2);
    } else if (n - i == 2) {
        const std::uint32_t v = std::uint32_t{in[i]} << 10 | std::uint32_t{in[i + 1]} << 2;
        std::memcpy(o, kBase64.pairs[v >> 6].data(), 2);
        o[2] = kBase64Alphabet[v & 63];
    }
    return out;
}

TDecodeResult Base64Decode(std::string_view text)
{
    TDecodeResult result;
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::string out(n / 4 * 3 + 3, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    std::uint32_t acc = 0;
    int count = 0;
    std::size_t groupStart = 0;
    for (std::size_t i = 0; i < n; ++i) {
        // Fast path: four alphabet characters in a row at a group boundary.
        if (count == 0 && i + 4 <= n) {
            const std::uint32_t a = kBase64.values[in[i]];
            const std::uint32_t b = kBase64.values[in[i + 1]];
            const std::uint32_t c = kBase64.values[in[i + 2]];
            const std::uint32_t d = kBase64.values[in[i + 3]];
            if ((a | b | c | d) < 64) {
                const std::uint32_t v = a << 18 | b << 12 | c << 6 | d;
                o[0] = static_cast<unsigned char>(v >> 16);
                o[1] = static_cast<unsigned char>(v >> 8);
                o[2] = static_cast<unsigned char>(v);
                o += 3;
                i += 3;
                continue;
            }
        }
        const std::uint8_t v = kBase64.values[in[i]];
        if (v == kSkip) {
            continue;
        }
        if (v == kBad) {
            result.error = TDecodeError::Base64BadCharacter;
            result.errorOffset = i;
            return result;
        }
        if (count == 0) {
            groupStart = i;
        }
        acc = acc << 6 | v;
        if (++count == 4) {
            o[0] = static_cast<unsigned char>(acc >> 16);
            o[1] = static_cast<unsigned char>(acc >> 8);
            o[2] = static_cast<unsigned char>(acc);
            o += 3;
            acc = 0;
            count = 0;
        }
    }
    if (count == 1) {
        result.error = TDecodeError::Base64Truncated;
        result.errorOffset = groupStart;
        return result;
    }
    if (count == 2) {
        *o++ = static_cast<unsigned char>(acc >> 4);
    } else if (count == 3) {
        *o++ = static_cast<unsigned char>(acc >> 10);
        *o++ = static_cast<unsigned char>(acc >> 2);
    }
    out.resize(static_cast<std::size_t>(reinterpret_cast<char*>(o) - out.data()));
    result.text = std::move(out);
    return result;
}

std::string QuotedPrintableEncode(std::string_view data)
{
    std::size_t size = data.size();
    for (unsigned char c : data) {
        size += kQpEscape[c] ? 2 : 0;
    }
    std::string out(size, '\0');
    char* o = out.data();
    for (unsigned char c : data) {
        if (kQpEscape[c]) {
            o[0] = '=';
            o[1] = kHexDigits[c >> 4];
            o[2] = kHexDigits[c & 15];
            o += 3;
        } else {
            *o++ = static_cast<char>(c);
        }
    }
    return out;
}

std::string QuotedPrintableDecode(std::string_view text)
{
    const char* in = text.data();
    const std::size_t n = text.size();
    std::string out(n, '\0'); // decoding never lengthens the text
    char* o = out.data();
    std::size_t i = 0;
    while (i < n) {
        const char c = in[i];
        if (c != '=') {
            *o++ = c;
            ++i;
            continue;
        }
        const std::size_t rest = n - i - 1;
        if (rest >= 2) {
            const int hi = kHexValues[static_cast<unsigned char>(in[i + 1])];
            const int lo = kHexValues[static_cast<unsigned char>(in[i + 2])];
            if ((hi | lo) >= 0) {
                *o++ = static_cast<char>(hi << 4 | lo);
                i += 3;
                continue;
            }
        }
        if (rest >= 1 && (in[i + 1] == '\r' || in[i + 1] == '\n')) {
            // Soft line break: CR LF, LF CR, or a lone CR or LF.
            const bool pair = rest >= 2 && (in[i + 2] == '\r' || in[i + 2] == '\n') && in[i + 2] != in[i + 1];
            i += pair ? 3 : 2;
            continue;
        }
        // Not an escape: the "=" is kept as written, like any other character.
        *o++ = '=';
        ++i;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

} // namespace quillet

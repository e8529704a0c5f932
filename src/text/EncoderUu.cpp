// UU and XX encoding: the same line format with two alphabets. A line is a
// count character (0-63 bytes) followed by the bytes in groups of three, each
// group written as four 6-bit characters.
#include "text/Encoder.h"

#include <array>
#include <cstdint>

namespace quillet {

namespace {

// UU writes value 0 as the grave accent (not the space, which mail software
// likes to strip) and 1-63 as the characters 33-95.
constexpr char kUuAlphabet[] = "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
constexpr char kXxAlphabet[] = "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

constexpr std::size_t kMaxSingleLine = 63; // the largest count one line can hold
constexpr std::size_t kLineBytes = 45; // the customary line length beyond that
constexpr std::uint8_t kNotInAlphabet = 0xFF;

struct TLineCode {
    const char* alphabet;
    std::array<std::uint8_t, 256> values;
    bool tableFrame; // "table" starts a frame line too
    TDecodeError badCharacter;
};

constexpr TLineCode BuildLineCode(const char* alphabet, bool spaceIsZero, bool tableFrame, TDecodeError bad)
{
    TLineCode code{alphabet, {}, tableFrame, bad};
    for (auto& v : code.values) {
        v = kNotInAlphabet;
    }
    for (int i = 0; i < 64; ++i) {
        code.values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    }
    if (spaceIsZero) {
        code.values[' '] = 0; // older UU encoders wrote 0 as a space
    }
    return code;
}

constexpr TLineCode kUu = BuildLineCode(kUuAlphabet, true, true, TDecodeError::UuBadCharacter);
constexpr TLineCode kXx = BuildLineCode(kXxAlphabet, false, false, TDecodeError::XxBadCharacter);

// Writes one line at `out` and returns the position after it.
char* EncodeLine(const TLineCode& code, std::string_view data, char* out)
{
    const auto* in = reinterpret_cast<const unsigned char*>(data.data());
    const std::size_t n = data.size();
    const char* alphabet = code.alphabet;
    *out++ = alphabet[n];
    for (std::size_t i = 0; i < n; i += 3) {
        const std::uint32_t b0 = in[i];
        const std::uint32_t b1 = i + 1 < n ? in[i + 1] : 0;
        const std::uint32_t b2 = i + 2 < n ? in[i + 2] : 0;
        const std::uint32_t v = b0 << 16 | b1 << 8 | b2;
        out[0] = alphabet[v >> 18];
        out[1] = alphabet[(v >> 12) & 63];
        out[2] = alphabet[(v >> 6) & 63];
        out[3] = alphabet[v & 63];
        out += 4;
    }
    return out;
}

std::size_t EncodedLineSize(std::size_t bytes)
{
    return 1 + (bytes + 2) / 3 * 4;
}

std::string Encode(const TLineCode& code, std::string_view data)
{
    if (data.size() <= kMaxSingleLine) {
        std::string out(EncodedLineSize(data.size()), '\0');
        EncodeLine(code, data, out.data());
        return out;
    }
    const std::size_t fullLines = data.size() / kLineBytes;
    const std::size_t tail = data.size() % kLineBytes;
    const std::size_t lines = fullLines + (tail > 0 ? 1 : 0);
    std::string out(
        fullLines * EncodedLineSize(kLineBytes) + (tail > 0 ? EncodedLineSize(tail) : 0) + (lines - 1) * 2, '\0');
    char* o = out.data();
    for (std::size_t pos = 0; pos < data.size(); pos += kLineBytes) {
        if (pos > 0) {
            *o++ = '\r';
            *o++ = '\n';
        }
        o = EncodeLine(code, data.substr(pos, kLineBytes), o);
    }
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// True when `text` is `upperWord` in any letter case, alone or followed by a
// blank: "begin 644 name", "end", "table". Requiring the word to stand alone
// keeps data lines apart: a 37-byte UU line can start with "END".
bool IsFrameWord(std::string_view text, std::string_view upperWord)
{
    if (text.size() < upperWord.size() || (text.size() > upperWord.size() && !IsBlank(text[upperWord.size()]))) {
        return false;
    }
    for (std::size_t i = 0; i < upperWord.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upperWord[i]) {
            return false;
        }
    }
    return true;
}

// Decodes one line that starts at `offset` in the whole input. False with the
// offending offset when a character outside the alphabet is read.
bool DecodeLine(const TLineCode& code, std::string_view line, std::size_t offset, TDecodeResult& result)
{
    std::size_t first = 0;
    while (first < line.size() && IsBlank(line[first])) {
        ++first;
    }
    std::size_t last = line.size();
    while (last > first && IsBlank(line[last - 1])) {
        --last;
    }
    const std::string_view trimmed = line.substr(first, last - first);
    if (trimmed.empty()) {
        return true;
    }
    // Only this test looks at letters case-insensitively; the data itself is
    // read exactly as written (XX uses both cases).
    if (IsFrameWord(trimmed, "BEGIN") || IsFrameWord(trimmed, "END")
        || (code.tableFrame && IsFrameWord(trimmed, "TABLE"))) {
        return true;
    }
    offset += first;
    const std::uint8_t count = code.values[static_cast<unsigned char>(trimmed[0])];
    if (count == kNotInAlphabet) {
        result.errorOffset = offset;
        return false;
    }
    const std::size_t needed = (std::size_t{count} * 4 + 2) / 3;
    auto valueAt = [&](std::size_t k, std::uint32_t& v) {
        if (1 + k >= trimmed.size()) {
            v = 0; // a short line counts as padded
            return true;
        }
        const std::uint8_t value = code.values[static_cast<unsigned char>(trimmed[1 + k])];
        if (value == kNotInAlphabet) {
            result.errorOffset = offset + 1 + k;
            return false;
        }
        v = value;
        return true;
    };
    std::size_t remaining = count;
    const std::size_t available = trimmed.size() - 1;
    for (std::size_t k = 0; k < needed; k += 4) {
        if (k + 4 <= available && remaining >= 3) {
            // A whole group present on the line: four lookups, one check.
            const auto* p = reinterpret_cast<const unsigned char*>(trimmed.data()) + 1 + k;
            const std::uint32_t a = code.values[p[0]];
            const std::uint32_t b = code.values[p[1]];
            const std::uint32_t c = code.values[p[2]];
            const std::uint32_t d = code.values[p[3]];
            if ((a | b | c | d) < 64) {
                const std::uint32_t bits = a << 18 | b << 12 | c << 6 | d;
                const char bytes[3] = {
                    static_cast<char>(bits >> 16), static_cast<char>(bits >> 8), static_cast<char>(bits)};
                result.text.append(bytes, 3);
                remaining -= 3;
                continue;
            }
        }
        std::uint32_t v[4] = {0, 0, 0, 0};
        for (std::size_t j = 0; j < 4 && k + j < needed; ++j) {
            if (!valueAt(k + j, v[j])) {
                return false;
            }
        }
        const std::uint32_t bits = v[0] << 18 | v[1] << 12 | v[2] << 6 | v[3];
        const char bytes[3] = {static_cast<char>(bits >> 16), static_cast<char>(bits >> 8), static_cast<char>(bits)};
        const std::size_t take = remaining < 3 ? remaining : 3;
        result.text.append(bytes, take);
        remaining -= take;
    }
    return true;
}

TDecodeResult Decode(const TLineCode& code, std::string_view text)
{
    TDecodeResult result;
    result.text.reserve(text.size() / 4 * 3);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        if (!DecodeLine(code, text.substr(pos, end - pos), pos, result)) {
            result.text.clear();
            result.error = code.badCharacter;
            return result;
        }
        pos = end + 1;
    }
    return result;
}

} // namespace

std::string UuEncode(std::string_view data)
{
    return Encode(kUu, data);
}

std::string XxEncode(std::string_view data)
{
    return Encode(kXx, data);
}

TDecodeResult UuDecode(std::string_view text)
{
    return Decode(kUu, text);
}

TDecodeResult XxDecode(std::string_view text)
{
    return Decode(kXx, text);
}

} // namespace quillet

// Case tables of the system code page. Each byte is mapped to Unicode, cased
// there, and mapped back; a letter whose other case the charset cannot hold
// keeps its byte. Tables are built once per charset on first use.
#include "core/CharCase.h"

#include "core/CharsetConversion.h"
#include "core/CodePages.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace quillet {

namespace {

// Simple (one to one) upper case of the letters the single-byte charsets of
// the code page list hold: Latin, Greek and Cyrillic.
char32_t UnicodeUpper(char32_t c)
{
    if (c >= 'a' && c <= 'z') {
        return c - 0x20;
    }
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c == 0x131) {
        return 'I';
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return (c & 1) ? c - 1 : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c : c - 1;
    }
    if (c == 0x1A1 || c == 0x1B0) { // Vietnamese o and u with horn
        return c - 1;
    }
    if (c >= 0x1E00 && c <= 0x1EFF && !(c >= 0x1E96 && c <= 0x1E9F)) {
        return (c & 1) ? c - 1 : c;
    }
    // Greek
    if (c == 0x3AC) {
        return 0x386;
    }
    if (c >= 0x3AD && c <= 0x3AF) {
        return c - 0x25;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) {
        return c - 0x20;
    }
    if (c == 0x3C2) {
        return 0x3A3;
    }
    if (c == 0x3CC) {
        return 0x38C;
    }
    if (c == 0x3CD || c == 0x3CE) {
        return c - 0x3F;
    }
    // Cyrillic
    if (c >= 0x430 && c <= 0x44F) {
        return c - 0x20;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 0x50;
    }
    if (c == 0x491) {
        return 0x490;
    }
    return c;
}

char32_t UnicodeLower(char32_t c)
{
    if (c >= 'A' && c <= 'Z') {
        return c + 0x20;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 0x20;
    }
    if (c == 0x178) {
        return 0xFF;
    }
    if (c == 0x130) {
        return 'i';
    }
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) {
        return (c & 1) ? c : c + 1;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) ? c + 1 : c;
    }
    if (c == 0x1A0 || c == 0x1AF) {
        return c + 1;
    }
    if (c >= 0x1E00 && c <= 0x1EFF && !(c >= 0x1E96 && c <= 0x1E9F)) {
        return (c & 1) ? c : c + 1;
    }
    if (c == 0x386) {
        return 0x3AC;
    }
    if (c >= 0x388 && c <= 0x38A) {
        return c + 0x25;
    }
    if (c == 0x38C) {
        return 0x3CC;
    }
    if (c == 0x38E || c == 0x38F) {
        return c + 0x3F;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return c + 0x20;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if (c == 0x490) {
        return 0x491;
    }
    return c;
}

// Letters without a case partner: sharp s, kra, ordinal indicators, Greek
// with dialytika and tonos, Hebrew and Arabic letters.
bool IsCaselessLetter(char32_t c)
{
    return c == 0xAA || c == 0xB5 || c == 0xBA || c == 0xDF || c == 0x138 || c == 0x149 || c == 0x17F || c == 0x192
        || c == 0x390 || c == 0x3B0 || (c >= 0x5D0 && c <= 0x5EA) || (c >= 0x621 && c <= 0x64A && c != 0x640)
        || (c >= 0x671 && c <= 0x6D3);
}

struct TCaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    std::array<bool, 256> letter{};
};

TCaseTables BuildTables(int codePage)
{
    TCaseTables t;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        const char32_t u = SingleByteToUnicode(codePage, byte);
        const char32_t up = UnicodeUpper(u);
        const char32_t low = UnicodeLower(u);
        const int upByte = up == u ? -1 : UnicodeToSingleByte(codePage, up);
        const int lowByte = low == u ? -1 : UnicodeToSingleByte(codePage, low);
        t.upper[byte] = upByte >= 0 ? static_cast<unsigned char>(upByte) : byte;
        t.lower[byte] = lowByte >= 0 ? static_cast<unsigned char>(lowByte) : byte;
        t.letter[byte] = up != u || low != u || IsCaselessLetter(u);
    }
    return t;
}

const TCaseTables& Tables()
{
    static std::array<std::once_flag, kCodePageCount> once;
    static std::array<std::unique_ptr<TCaseTables>, kCodePageCount> tables;
    const int codePage = GetSystemCodePage();
    const auto index = static_cast<std::size_t>(GetCPIndex(codePage));
    std::call_once(once[index], [&] {
        tables[index] = std::make_unique<TCaseTables>(BuildTables(codePage));
    });
    return *tables[index];
}

} // namespace

unsigned char UpperChar(unsigned char c)
{
    return Tables().upper[c];
}

unsigned char LowerChar(unsigned char c)
{
    return Tables().lower[c];
}

bool IsLetterChar(unsigned char c)
{
    return Tables().letter[c];
}

std::string UpperText(std::string_view text)
{
    const TCaseTables& t = Tables();
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [&t](char c) {
        return static_cast<char>(t.upper[static_cast<unsigned char>(c)]);
    });
    return out;
}

std::string LowerText(std::string_view text)
{
    const TCaseTables& t = Tables();
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [&t](char c) {
        return static_cast<char>(t.lower[static_cast<unsigned char>(c)]);
    });
    return out;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b)
{
    const TCaseTables& t = Tables();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = t.lower[static_cast<unsigned char>(a[i])];
        const int cb = t.lower[static_cast<unsigned char>(b[i])];
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace quillet

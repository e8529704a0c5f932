// Provisional case tables: ASCII plus the Latin-1 letters of Windows-1252.
// Replaced by the system code page's own tables once the charset engine lands.
#include "app/CharCase.h"

#include <algorithm>

namespace quillet {

namespace {

bool IsLatin1Upper(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

bool IsLatin1Lower(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 0xDF && c != 0xF7);
}

} // namespace

unsigned char UpperChar(unsigned char c)
{
    if (IsLatin1Lower(c) && c != 0xDF && c != 0xFF) {
        return static_cast<unsigned char>(c - 0x20);
    }
    return c;
}

unsigned char LowerChar(unsigned char c)
{
    return IsLatin1Upper(c) ? static_cast<unsigned char>(c + 0x20) : c;
}

bool IsLetterChar(unsigned char c)
{
    return IsLatin1Upper(c) || IsLatin1Lower(c);
}

std::string UpperText(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return static_cast<char>(UpperChar(static_cast<unsigned char>(c)));
    });
    return out;
}

std::string LowerText(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return static_cast<char>(LowerChar(static_cast<unsigned char>(c)));
    });
    return out;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = LowerChar(static_cast<unsigned char>(a[i]));
        const int cb = LowerChar(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace quillet

// Remove Diacritics: accented letters to base letters, resolved per single-byte
// code page so the work on the buffer's 8-bit text is one table lookup a byte.
#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "text/EditTransform.h"

#include <utility>

namespace quillet {

namespace {

// Accented letter -> base letter, as Unicode code points (the breve, a lone
// diacritic, becomes the caron).
constexpr std::pair<char32_t, char32_t> kBaseLetters[] = {
    {0x0163, 0x0074},
    {0x00FD, 0x0079},
    {0x00FC, 0x0075},
    {0x0171, 0x0075},
    {0x00FA, 0x0075},
    {0x016F, 0x0075},
    {0x0159, 0x0072},
    {0x00F6, 0x006F},
    {0x0151, 0x006F},
    {0x00F4, 0x006F},
    {0x00F3, 0x006F},
    {0x0148, 0x006E},
    {0x0144, 0x006E},
    {0x0111, 0x0064},
    {0x010F, 0x0064},
    {0x00EE, 0x0069},
    {0x00ED, 0x0069},
    {0x011B, 0x0065},
    {0x00EB, 0x0065},
    {0x0119, 0x0065},
    {0x00E9, 0x0065},
    {0x010D, 0x0063},
    {0x00E7, 0x0063},
    {0x0107, 0x0063},
    {0x013A, 0x006C},
    {0x00E4, 0x0061},
    {0x0103, 0x0061},
    {0x00E2, 0x0061},
    {0x00E1, 0x0061},
    {0x0155, 0x0072},
    {0x0162, 0x0054},
    {0x00DD, 0x0059},
    {0x00DC, 0x0055},
    {0x0170, 0x0055},
    {0x00DA, 0x0055},
    {0x016E, 0x0055},
    {0x0158, 0x0052},
    {0x00D6, 0x004F},
    {0x0150, 0x004F},
    {0x00D4, 0x004F},
    {0x00D3, 0x004F},
    {0x0147, 0x004E},
    {0x0143, 0x004E},
    {0x0110, 0x0044},
    {0x010E, 0x0044},
    {0x00CE, 0x0049},
    {0x00CD, 0x0049},
    {0x011A, 0x0045},
    {0x00CB, 0x0045},
    {0x0118, 0x0045},
    {0x00C9, 0x0045},
    {0x010C, 0x0043},
    {0x00C7, 0x0043},
    {0x0106, 0x0043},
    {0x0139, 0x004C},
    {0x00C4, 0x0041},
    {0x0102, 0x0041},
    {0x00C2, 0x0041},
    {0x00C1, 0x0041},
    {0x0154, 0x0052},
    {0x017C, 0x007A},
    {0x013E, 0x006C},
    {0x013D, 0x004C},
    {0x015F, 0x0073},
    {0x0105, 0x0061},
    {0x0142, 0x006C},
    {0x017B, 0x005A},
    {0x015E, 0x0053},
    {0x0141, 0x004C},
    {0x0104, 0x0041},
    {0x02D8, 0x02C7},
    {0x017A, 0x007A},
    {0x017E, 0x007A},
    {0x0165, 0x0074},
    {0x015B, 0x0073},
    {0x0161, 0x0073},
    {0x0179, 0x005A},
    {0x017D, 0x005A},
    {0x0164, 0x0054},
    {0x015A, 0x0053},
    {0x0160, 0x0053},
};

} // namespace

TDiacriticsMap::TDiacriticsMap()
{
    for (int i = 0; i < 256; ++i) {
        m_map[i] = static_cast<unsigned char>(i);
    }
}

TDiacriticsMap TDiacriticsMap::ForCodePage(int codePage)
{
    TDiacriticsMap result;
    for (const auto& [accented, base] : kBaseLetters) {
        const int from = UnicodeToSingleByte(codePage, accented);
        const int to = UnicodeToSingleByte(codePage, base);
        // A letter whose base cannot be written in the same code page stays
        // as it is rather than turning into a substitute character.
        if (from >= 0 && to >= 0) {
            result.m_map[static_cast<std::size_t>(from)] = static_cast<unsigned char>(to);
        }
    }
    return result;
}

TDiacriticsMap TDiacriticsMap::ForSystemCodePage()
{
    return ForCodePage(GetSystemCodePage());
}

void TDiacriticsMap::Apply(std::string& text) const
{
    for (char& c : text) {
        c = static_cast<char>(m_map[static_cast<unsigned char>(c)]);
    }
}

void TDiacriticsMap::Apply(TLines& lines) const
{
    for (std::string& line : lines) {
        Apply(line);
    }
}

} // namespace quillet

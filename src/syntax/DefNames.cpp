#include "syntax/DefNames.h"

#include <array>

namespace quillet {

namespace {

struct TColorName {
    TColor value;
    std::string_view name;
};

constexpr std::array<TColorName, 42> kColorNames{{
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0x80000000, "clScrollBar"},
    {0x80000001, "clBackground"},
    {0x80000002, "clActiveCaption"},
    {0x80000003, "clInactiveCaption"},
    {0x80000004, "clMenu"},
    {0x80000005, "clWindow"},
    {0x80000006, "clWindowFrame"},
    {0x80000007, "clMenuText"},
    {0x80000008, "clWindowText"},
    {0x80000009, "clCaptionText"},
    {0x8000000A, "clActiveBorder"},
    {0x8000000B, "clInactiveBorder"},
    {0x8000000C, "clAppWorkSpace"},
    {0x8000000D, "clHighlight"},
    {0x8000000E, "clHighlightText"},
    {0x8000000F, "clBtnFace"},
    {0x80000010, "clBtnShadow"},
    {0x80000011, "clGrayText"},
    {0x80000012, "clBtnText"},
    {0x80000013, "clInactiveCaptionText"},
    {0x80000014, "clBtnHighlight"},
    {0x80000015, "cl3DDkShadow"},
    {0x80000016, "cl3DLight"},
    {0x80000017, "clInfoText"},
    {0x80000018, "clInfoBk"},
    {0x1FFFFFFF, "clNone"},
}};

struct TCharsetName {
    int value;
    std::string_view name;
};

constexpr std::array<TCharsetName, 18> kCharsetNames{{
    {0, "ANSI_CHARSET"},
    {1, "DEFAULT_CHARSET"},
    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},
    {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},
    {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},
    {162, "TURKISH_CHARSET"},
    {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"},
    {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},
    {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
}};

bool SameIdent(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string_view> ColorToIdent(TColor color)
{
    for (const TColorName& entry : kColorNames) {
        if (entry.value == color) {
            return entry.name;
        }
    }
    return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view ident)
{
    for (const TColorName& entry : kColorNames) {
        if (SameIdent(entry.name, ident)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> CharsetToIdent(int charset)
{
    for (const TCharsetName& entry : kCharsetNames) {
        if (entry.value == charset) {
            return entry.name;
        }
    }
    return std::nullopt;
}

std::optional<int> IdentToCharset(std::string_view ident)
{
    for (const TCharsetName& entry : kCharsetNames) {
        if (SameIdent(entry.name, ident)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

} // namespace quillet

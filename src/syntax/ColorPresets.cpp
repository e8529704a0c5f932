#include "syntax/ColorPresets.h"

namespace quillet {

namespace {

constexpr std::uint8_t B = fsBold;
constexpr std::uint8_t I = fsItalic;
constexpr std::uint8_t U = fsUnderline;

// A style whose background follows the view's.
constexpr TPresetStyle View(TColor fore, TColor back, std::uint8_t style = 0)
{
    return {fore, back, style, TMemoColors::mcNone, true};
}
// A style with its own background.
constexpr TPresetStyle Own(TColor fore, TColor back, TMemoColors update = TMemoColors::mcNone)
{
    return {fore, back, 0, update, false};
}

constexpr auto mcText = TMemoColors::mcText;
constexpr auto mcSelection = TMemoColors::mcSelection;
constexpr auto mcSearchMatch = TMemoColors::mcSearchMatch;

using TPreset = std::array<TPresetStyle, kTextStylesCount>;

constexpr TPreset kDefault = {
    View(clBlack, clWindow), // Whitespace
    View(clMaroon, clWindow), // String
    View(clGray, clWindow, I), // Comment
    View(clBlack, clWindow), // Identifier
    View(clGreen, clWindow), // Integer
    View(clGreen, clWindow), // Float
    View(clBlue, clWindow), // Reserved words
    View(clBlack, clWindow), // Delimiters
    View(clGreen, clWindow), // Defines
    View(clGreen, clWindow), // Assembler
    View(clBlue, clWindow), // Html tags
    View(clBlue, clWindow), // Html params
    View(clBlue, clWindow, U), // Url
    Own(clWindow, clRed), // BreakPoint
    Own(clWindow, clMaroon), // Error line
    Own(clWindow, clNavy, mcSelection), // Marked Block
    Own(clLime, clBlack, mcSearchMatch), // Search Match
    View(clBlack, clWindow, B), // Emphasis
    View(clBlue, clWindow), // System Variable
    View(clTeal, clWindow), // Script Whitespace
    View(clBlack, clWindow), // Script Delimiters
    View(clGray, clWindow, I), // Script Comment
    View(clMaroon, clWindow), // Script String
    View(clBlue, clWindow), // Script Number
    View(clBlack, clWindow, B), // Script ResWord
    Own(clBlack, clWindow, mcText), // Plain Text
    Own(clBlack, 0xF0CCA8), // Added Lines
    Own(clBlack, 0xBB77FF), // Deleted Lines
    Own(clBlack, 0x6FFB8A), // Modified Lines
};

constexpr TPreset kClassic = {
    View(clYellow, clNavy),
    View(clYellow, clNavy),
    View(clSilver, clNavy),
    View(clYellow, clNavy),
    View(clYellow, clNavy),
    View(clYellow, clNavy),
    View(clWhite, clNavy),
    View(clYellow, clNavy),
    View(clLime, clNavy),
    View(clLime, clNavy),
    View(clAqua, clNavy),
    View(clAqua, clNavy),
    View(clAqua, clNavy, U),
    Own(clWindow, clRed),
    Own(clWindow, clMaroon),
    Own(clNavy, clSilver, mcSelection),
    Own(clAqua, clBlack, mcSearchMatch),
    View(clYellow, clNavy, B),
    View(clWhite, clNavy),
    View(clLime, clNavy),
    View(clWhite, clNavy),
    View(clSilver, clNavy, I),
    View(clAqua, clNavy),
    View(clFuchsia, clNavy),
    View(clYellow, clNavy, B),
    Own(clYellow, clNavy, mcText),
    Own(clWhite, clBlue),
    Own(clWhite, clRed),
    Own(clBlack, clLime),
};

constexpr TPreset kOcean = {
    View(clBlack, clAqua),
    View(clPurple, clAqua),
    View(clTeal, clAqua),
    View(clBlue, clAqua),
    View(clOlive, clAqua),
    View(clOlive, clAqua),
    View(clBlack, clAqua),
    View(clBlack, clAqua),
    View(clTeal, clAqua),
    View(clBlue, clAqua),
    View(clBlue, clAqua),
    View(clBlue, clAqua),
    View(clBlue, clAqua, U),
    Own(clWindow, clRed),
    Own(clWindow, clMaroon),
    Own(clAqua, clBlue, mcSelection),
    Own(clAqua, clGray, mcSearchMatch),
    View(clBlue, clAqua, B),
    View(clBlack, clAqua),
    View(clBlack, clAqua),
    View(clBlack, clAqua),
    View(clGray, clAqua, I),
    View(clPurple, clAqua),
    View(clOlive, clAqua),
    View(clBlue, clAqua, B),
    Own(clBlack, clAqua, mcText),
    Own(clWhite, clBlue),
    Own(clWhite, clRed),
    Own(clBlack, clLime),
};

constexpr TPreset kTwilight = {
    View(clWindow, clBlack),
    View(clYellow, clBlack),
    View(clSilver, clBlack),
    View(clWindow, clBlack),
    View(clFuchsia, clBlack),
    View(clFuchsia, clBlack),
    View(clAqua, clBlack),
    View(clWindow, clBlack),
    View(clSilver, clBlack),
    View(clLime, clBlack),
    View(clLime, clBlack),
    View(clLime, clBlack),
    View(clLime, clBlack, U),
    Own(clWindow, clRed),
    Own(clWindow, clMaroon),
    Own(clBlack, clWindow, mcSelection),
    Own(clBlue, clTeal, mcSearchMatch),
    View(clWhite, clBlack, B),
    View(clAqua, clBlack),
    View(clLime, clBlack),
    View(clAqua, clBlack),
    View(clSilver, clBlack, I),
    View(clYellow, clBlack),
    View(clFuchsia, clBlack),
    View(clWhite, clBlack, B),
    Own(clWindow, clBlack, mcText),
    Own(clWhite, clBlue),
    Own(clWhite, clRed),
    Own(clBlack, clLime),
};

constexpr std::array<const TPreset*, kColorPresetCount> kPresets = {&kDefault, &kClassic, &kOcean, &kTwilight};
constexpr std::array<std::string_view, kColorPresetCount> kPresetNames = {"Default", "Classic", "Ocean", "Twilight"};

} // namespace

std::string_view ColorPresetName(int preset)
{
    return kPresetNames[static_cast<std::size_t>(preset >= 0 && preset < kColorPresetCount ? preset : 0)];
}

const TPresetStyle& ColorPresetStyle(int preset, int style)
{
    const TPreset& table = *kPresets[static_cast<std::size_t>(preset >= 0 && preset < kColorPresetCount ? preset : 0)];
    return table[static_cast<std::size_t>(style >= 0 && style < kTextStylesCount ? style : 0)];
}

} // namespace quillet

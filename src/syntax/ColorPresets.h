#pragma once

#include "syntax/AttrItem.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quillet {

// More named colours (0x00BBGGRR) the presets use.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

// Which of the view's own colours a text style also sets.
enum class TMemoColors { mcNone, mcText, mcSelection, mcSearchMatch };

inline constexpr int kTextStylesCount = 29;
inline constexpr int kColorPresetCount = 4;

// One style's values in a colour preset.
struct TPresetStyle {
    TColor fore;
    TColor back;
    std::uint8_t fontStyle; // fsBold | fsItalic | fsUnderline
    TMemoColors update;
    bool useMemoColor;
};

// "Default", "Classic", "Ocean", "Twilight".
std::string_view ColorPresetName(int preset);
// The values of style (0..28) in preset; a preset outside 0..3 means 0.
const TPresetStyle& ColorPresetStyle(int preset, int style);

} // namespace quillet

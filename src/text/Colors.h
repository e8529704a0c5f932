#pragma once

#include <cstdint>

namespace quillet {

// Colours are 0x00BBGGRR; a high byte of 0x80 names system colour n in the low
// byte; clNone means "no colour".
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
// System colours: 0x80000000 plus the system colour index.
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clGrayText = 0x80000011;
// Plain colours the views start with.
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clLime = 0x00FF00;

} // namespace quillet

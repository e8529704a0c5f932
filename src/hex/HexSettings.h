#pragma once

#include "hex/HexText.h"

#include <cstdint>

namespace quillet {

class TSettingsStore;

// The "HexEditor" section of the settings store, as applied to every binary
// document window. Colours are 0x00BBGGRR, or 0x80000000 + a system colour
// index.
struct THexSettings {
    int columnWidth = 2; // BytesPerColumn
    int lineSize = 16; // BytesPerLine
    TOffsetDisplay offsetDisplay = odHex;
    std::uint32_t background = 0x80000005;
    std::uint32_t changedBackground = 0x80000018;
    std::uint32_t changedText = 128;
    std::uint32_t cursorFrame = 0x800000;
    std::uint32_t evenColumn = 0x800000;
    std::uint32_t oddColumn = 0xFF0000;
    std::uint32_t offset = 0;
    bool drawSpecialSymbols = true; // MaskWhiteSpaces
};

// Reads the section. A "LineSize" outside 1..256, a "ColumnWidth" outside
// 1..LineSize or an "OffsetDisplay" outside 0..3 (hand-edited values) falls
// back to its default, so the window never divides by zero.
THexSettings ReadHexSettings(TSettingsStore& store);
void WriteHexSettings(TSettingsStore& store, const THexSettings& settings);

} // namespace quillet

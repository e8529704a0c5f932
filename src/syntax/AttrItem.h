#pragma once

#include "text/SimpleParser.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// Font style bits of TDefFont::Style.
inline constexpr std::uint8_t fsBold = 1;
inline constexpr std::uint8_t fsItalic = 2;
inline constexpr std::uint8_t fsUnderline = 4;
inline constexpr std::uint8_t fsStrikeOut = 8;

// A font as a definition file stores it. Height is in pixels at 96 dpi,
// negative for the character height without internal leading (-13 is 10 pt).
struct TDefFont {
    int Charset = 1; // DEFAULT_CHARSET
    TColor Color = clWindowText;
    int Height = -13;
    std::string Name = "Courier New";
    TFontPitch Pitch = TFontPitch::fpDefault;
    std::uint8_t Style = 0; // fsBold | fsItalic | fsUnderline | fsStrikeOut

    // Point size at 96 dpi, rounded.
    int PointSize() const;
    void SetPointSize(int points);

    bool operator==(const TDefFont&) const = default;
};

// One display attribute of a definition, referenced by FontID from blocks and
// tokens.
struct TAttrItem {
    int FontID = -1; // 0..255; -1 none
    std::string GlobalAttrID; // name of the global text style that supplies colours
    int BlockID = 0; // block the attribute belongs to, for inheritance
    TDefFont Font;
    TColor BackColor = clWindow;
    bool UseDefFont = true; // font face, size, charset from the enclosing block
    bool UseDefBack = true; // background from the enclosing block

    bool operator==(const TAttrItem&) const = default;
};

// The parser's default attribute: its own font and background, nothing inherited.
struct TDefAttrItem : TAttrItem {
    TDefAttrItem()
    {
        UseDefFont = false;
        UseDefBack = false;
    }
};

// The attribute table of a definition.
class TFontList {
public:
    // Appends an attribute carrying the lowest free FontID (see GetUniqueID).
    TAttrItem& Add();
    // Lowest FontID in 0..254 that no item uses, never 12 (the URL attribute);
    // -1 when none is free. 255 stays free because it means "none" in
    // attribute bytes.
    int GetUniqueID() const;
    // First item whose FontID is id, or nullptr.
    const TAttrItem* GetItemByID(int id) const;
    TAttrItem* GetItemByID(int id);

    std::vector<TAttrItem> Items;

    bool operator==(const TFontList&) const = default;
};

} // namespace quillet

#pragma once

#include "syntax/AttrItem.h"
#include "syntax/SyntaxBlock.h"

#include <cstdint>
#include <span>
#include <string>
#include <utility>

namespace quillet {

// How a property of a syntax block is stored in a definition file.
enum class TDefFieldKind : std::uint8_t {
    String, // written when not empty
    Id, // an identifier -1..255, written when not -1
    Flag, // written when true, or always (see TDefField::always)
    Char, // a one-character string
    CharSet, // written when it differs from its default
    LineList, // a collection of line tokens
    BlockList, // a collection of block tokens
    Delimiters, // the block delimiters collection
    KeywordSets, // the keyword sets collection
};

// One property of a syntax block: its name in the file, its kind, the field
// it fills (the pointer matching the kind is set), and when the writer puts it
// out. The reader accepts every property whatever the guard says.
struct TDefField {
    const char* name;
    TDefFieldKind kind;
    std::string TSyntaxBlock::*text = nullptr;
    int TSyntaxBlock::*id = nullptr;
    bool TSyntaxBlock::*flag = nullptr;
    char TSyntaxBlock::*symbol = nullptr;
    TCharSet TSyntaxBlock::*charSet = nullptr;
    TLineTokenList TSyntaxBlock::*lines = nullptr;
    TBlockTokenList TSyntaxBlock::*blocks = nullptr;
    bool TSyntaxBlock::*writtenIf = nullptr; // written only while this flag is set
    bool always = false; // a flag written as True or False
    TCharSet (*defaultSet)() = nullptr; // CharSet: the value that is not written
};

// Every property of a syntax block, in the order the writer puts them out.
std::span<const TDefField> SyntaxBlockFields();

// How a property of a font-table entry (an attribute) is stored.
enum class TAttrFieldKind : std::uint8_t {
    Id, // an identifier -1..255
    Int, // a 32-bit number
    Charset, // a charset identifier, or a number 0..255
    Color, // a colour identifier, or a number
    String,
    Flag,
    Pitch, // one of PitchNames()
    Style, // a set of StyleNames()
    PointSize, // a point size -999..999 that sets the height
};

// When the writer puts an attribute property out.
enum class TAttrFieldWrite : std::uint8_t {
    Always,
    UnlessDefault, // only when it differs from a new attribute's value
    Never, // read only: another property stores the same value
};

// A field of an attribute (item is set) or of its font (font is set).
template <typename T> struct TAttrMember {
    T TAttrItem::*item = nullptr;
    T TDefFont::*font = nullptr;

    T& Of(TAttrItem& a) const { return item != nullptr ? a.*item : a.Font.*font; }
    const T& Of(const TAttrItem& a) const { return item != nullptr ? a.*item : a.Font.*font; }
};

// One property of an attribute: its name in the file, its kind, the field it
// fills (the member matching the kind is set: number for Id, Int, Charset and
// PointSize) and when the writer puts it out.
struct TAttrField {
    const char* name;
    TAttrFieldKind kind;
    TAttrFieldWrite write = TAttrFieldWrite::Always;
    TAttrMember<int> number{};
    TAttrMember<std::string> text{};
    TAttrMember<TColor> color{};
    TAttrMember<bool> flag{};
    TAttrMember<TFontPitch> pitch{};
    TAttrMember<std::uint8_t> style{};

    // Whether a's value of the field equals that of a new attribute.
    bool IsDefault(const TAttrItem& a) const;
    // Whether the writer puts the field of a out.
    bool IsWritten(const TAttrItem& a) const;
};

// Every property of a font-table entry, in the order the writer puts them out.
std::span<const TAttrField> FontTableFields();
// The names of the font pitches and style bits as files spell them.
std::span<const std::pair<TFontPitch, const char*>> PitchNames();
std::span<const std::pair<std::uint8_t, const char*>> StyleNames();

} // namespace quillet

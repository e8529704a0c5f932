#pragma once

#include <cstdint>

namespace quillet {

// The highlighter's situation at a line end, packed into the 32-bit state the
// buffer stores per line. Layout, high bits first: block stack (8 bits), the
// block's delimiters are part of it (1), case sensitivity (1), delimiter index
// (6), lexical state (8), item index (8). Packed values are compared to stop
// recolouring, so fields with no meaning must be 0 (see ColorString).
struct THighlighterState {
    int stack = 0; // 0..255
    bool partOfBlock = false;
    bool caseSensitive = false;
    int delimIndex = 0; // 0..63
    int state = 0; // 0..255
    int item = 0; // 0..255

    static constexpr int kStackShift = 24;
    static constexpr int kPartOfBlockShift = 23;
    static constexpr int kCaseSensitiveShift = 22;
    static constexpr int kDelimShift = 16;
    static constexpr int kStateShift = 8;
    static constexpr std::uint32_t kByteMask = 0xFF;
    static constexpr std::uint32_t kDelimMask = 0x3F;

    constexpr std::uint32_t Pack() const
    {
        return (static_cast<std::uint32_t>(stack) & kByteMask) << kStackShift
            | (partOfBlock ? 1u << kPartOfBlockShift : 0u) | (caseSensitive ? 1u << kCaseSensitiveShift : 0u)
            | (static_cast<std::uint32_t>(delimIndex) & kDelimMask) << kDelimShift
            | (static_cast<std::uint32_t>(state) & kByteMask) << kStateShift
            | (static_cast<std::uint32_t>(item) & kByteMask);
    }
    static constexpr THighlighterState Unpack(std::uint32_t packed)
    {
        THighlighterState s;
        s.stack = static_cast<int>(packed >> kStackShift);
        s.partOfBlock = (packed & (1u << kPartOfBlockShift)) != 0;
        s.caseSensitive = (packed & (1u << kCaseSensitiveShift)) != 0;
        s.delimIndex = static_cast<int>((packed >> kDelimShift) & kDelimMask);
        s.state = static_cast<int>((packed >> kStateShift) & kByteMask);
        s.item = static_cast<int>(packed & kByteMask);
        return s;
    }
    bool operator==(const THighlighterState&) const = default;
};

} // namespace quillet

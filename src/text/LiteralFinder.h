#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// Finds a fixed byte string in text compared through a fold table (identity
// for case-sensitive search, an upper-casing table otherwise), sixteen start
// positions at a time: the text bytes that fold onto two of the needle's
// bytes are compared in parallel and only positions where both agree are
// checked in full (the "generic SIMD" filter of W. Mula). The two are the
// needle's rarest bytes by the letter frequencies of program text and prose,
// so that few positions need the full check. A fold under which more than
// two bytes meet at one of those needle bytes falls back to a plain byte
// loop. The needle is given already folded.
class TLiteralFinder {
public:
    TLiteralFinder() = default;
    TLiteralFinder(std::string_view foldedNeedle, const unsigned char (&fold)[256]);

    bool Empty() const { return m_needle.empty(); }
    std::size_t Size() const { return m_needle.size(); }
    const std::string& Needle() const { return m_needle; }
    // False when the fold makes Find compare byte by byte, many times slower.
    bool ScansInParallel() const { return m_parallel; }

    // Position of the first occurrence starting at or after `from`, or npos.
    std::size_t Find(std::string_view text, std::size_t from = 0) const;
    // Whether an occurrence starts exactly at `position`.
    bool MatchesAt(std::string_view text, std::size_t position) const;

    static constexpr std::size_t npos = std::string_view::npos;

private:
    std::size_t FindPlain(std::string_view text, std::size_t from) const;

    std::string m_needle;
    std::array<unsigned char, 256> m_fold{};
    // Offsets of the two anchor bytes in the needle and the text bytes that
    // fold onto each; when one byte only does, both entries hold it. Valid
    // when m_parallel.
    std::size_t m_offset1 = 0;
    std::size_t m_offset2 = 0;
    unsigned char m_first[2] = {0, 0};
    unsigned char m_last[2] = {0, 0};
    bool m_parallel = false;
    bool m_identity = false; // the fold changes no byte
};

} // namespace quillet

#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

// Splits text into lines in one pass: CR LF, CR alone and LF alone each end a
// line, and a break at the very end starts no further line. For each line,
// onLine(begin, end, hasTab) gets its span without the break and whether it
// holds a tab. With SSE2 the breaks and tabs of 64 bytes at a time are found
// as bit masks, so a short line costs a few instructions instead of a memchr
// call.
template <typename OnLine> void ScanLines(const char* text, std::size_t size, OnLine&& onLine)
{
    std::size_t lineStart = 0;
    // One past the last tab seen before the position being looked at (0: none).
    std::size_t tabEnd = 0;
    const auto lineBreak = [&](std::size_t at) {
        if (at < lineStart) {
            return; // the LF of a CR LF
        }
        onLine(text + lineStart, text + at, tabEnd > lineStart);
        lineStart = at + 1;
        if (text[at] == '\r' && lineStart < size && text[lineStart] == '\n') {
            ++lineStart;
        }
    };
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i tab = _mm_set1_epi8('\t');
    const auto masks = [&](std::size_t from, std::uint64_t& breaks, std::uint64_t& tabs) {
        breaks = 0;
        tabs = 0;
        for (int k = 0; k < 4; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from + 16 * k));
            const auto b = static_cast<std::uint32_t>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
            const auto t = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, tab)));
            breaks |= static_cast<std::uint64_t>(b) << (16 * k);
            tabs |= static_cast<std::uint64_t>(t) << (16 * k);
        }
    };
    for (; at + 64 <= size; at += 64) {
        std::uint64_t breaks;
        std::uint64_t tabs;
        masks(at, breaks, tabs);
        while (breaks != 0) {
            const int bit = __builtin_ctzll(breaks);
            const std::uint64_t before = tabs & ((std::uint64_t{1} << bit) - 1);
            if (before != 0) {
                tabEnd = at + static_cast<std::size_t>(64 - __builtin_clzll(before));
            }
            lineBreak(at + static_cast<std::size_t>(bit));
            breaks &= breaks - 1;
        }
        if (tabs != 0) {
            tabEnd = at + static_cast<std::size_t>(64 - __builtin_clzll(tabs));
        }
    }
#endif
    for (; at < size; ++at) {
        const char c = text[at];
        if (c == '\t') {
            tabEnd = at + 1;
        } else if (c == '\n' || c == '\r') {
            lineBreak(at);
        }
    }
    if (lineStart < size) {
        onLine(text + lineStart, text + size, tabEnd > lineStart);
    }
}

} // namespace quillet

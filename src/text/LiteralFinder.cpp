#include "text/LiteralFinder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

TLiteralFinder::TLiteralFinder(std::string_view foldedNeedle, const unsigned char (&fold)[256])
    : m_needle(foldedNeedle)
{
    m_identity = true;
    for (int c = 0; c < 256; ++c) {
        m_fold[static_cast<std::size_t>(c)] = fold[c];
        m_identity = m_identity && fold[c] == c;
    }
    if (m_needle.empty()) {
        return;
    }
    // Collects the (at most two) bytes folding onto `target`; false when more do.
    auto sources = [&](unsigned char target, unsigned char (&out)[2]) {
        int count = 0;
        for (int c = 0; c < 256; ++c) {
            if (fold[c] == target) {
                if (count == 2) {
                    return false;
                }
                out[count++] = static_cast<unsigned char>(c);
            }
        }
        if (count == 1) {
            out[1] = out[0];
        }
        return count > 0;
    };
    m_parallel = sources(static_cast<unsigned char>(m_needle.front()), m_first)
        && sources(static_cast<unsigned char>(m_needle.back()), m_last);
}

bool TLiteralFinder::MatchesAt(std::string_view text, std::size_t position) const
{
    const std::size_t n = m_needle.size();
    if (position > text.size() || text.size() - position < n) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + position;
    const auto* q = reinterpret_cast<const unsigned char*>(m_needle.data());
    if (m_identity) {
        return std::memcmp(p, q, n) == 0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (m_fold[p[i]] != q[i]) {
            return false;
        }
    }
    return true;
}

std::size_t TLiteralFinder::FindPlain(std::string_view text, std::size_t from) const
{
    const std::size_t n = m_needle.size();
    for (std::size_t at = from; text.size() - at >= n; ++at) {
        if (MatchesAt(text, at)) {
            return at;
        }
    }
    return npos;
}

std::size_t TLiteralFinder::Find(std::string_view text, std::size_t from) const
{
    const std::size_t n = m_needle.size();
    if (from > text.size() || text.size() - from < n) {
        return npos;
    }
    if (n == 0) {
        return from;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(text.data());
    if (n == 1 && m_parallel && m_first[0] == m_first[1]) {
        const void* hit = std::memchr(base + from, m_first[0], text.size() - from);
        return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - base) : npos;
    }
    if (!m_parallel) {
        return FindPlain(text, from);
    }
    std::size_t at = from;
#if defined(__SSE2__)
    const __m128i first0 = _mm_set1_epi8(static_cast<char>(m_first[0]));
    const __m128i first1 = _mm_set1_epi8(static_cast<char>(m_first[1]));
    const __m128i last0 = _mm_set1_epi8(static_cast<char>(m_last[0]));
    const __m128i last1 = _mm_set1_epi8(static_cast<char>(m_last[1]));
    // Sixteen candidate starts at a time while their last bytes stay inside the text.
    while (text.size() - at >= n + 15) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at + n - 1));
        const __m128i headHit = _mm_or_si128(_mm_cmpeq_epi8(head, first0), _mm_cmpeq_epi8(head, first1));
        const __m128i tailHit = _mm_or_si128(_mm_cmpeq_epi8(tail, last0), _mm_cmpeq_epi8(tail, last1));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(headHit, tailHit)));
        while (mask != 0) {
            const std::size_t candidate = at + static_cast<std::size_t>(__builtin_ctz(mask));
            if (n <= 2 || MatchesAt(text, candidate)) {
                return candidate;
            }
            mask &= mask - 1;
        }
        at += 16;
    }
#endif
    for (; text.size() - at >= n; ++at) {
        const unsigned char head = base[at];
        const unsigned char tail = base[at + n - 1];
        if ((head == m_first[0] || head == m_first[1]) && (tail == m_last[0] || tail == m_last[1])
            && (n <= 2 || MatchesAt(text, at))) {
            return at;
        }
    }
    return npos;
}

} // namespace quillet

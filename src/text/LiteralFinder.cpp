#include "text/LiteralFinder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

namespace {

// How common a byte is in source text and prose, higher is more common:
// blanks and line bytes, then lower-case letters by English frequency, then
// digits and punctuation. Only the order matters.
int Commonness(unsigned char c)
{
    static constexpr char kLetters[] = "etaoinsrhldcumfpgwybvkxjqz"; // most common first
    if (c == ' ' || c == '\t') {
        return 100;
    }
    if (c >= 'A' && c <= 'Z') {
        c = static_cast<unsigned char>(c - 'A' + 'a');
        for (int i = 0; kLetters[i] != '\0'; ++i) {
            if (kLetters[i] == static_cast<char>(c)) {
                return 40 - i; // capitals are rarer than their small letters
            }
        }
    }
    for (int i = 0; kLetters[i] != '\0'; ++i) {
        if (kLetters[i] == static_cast<char>(c)) {
            return 90 - i;
        }
    }
    if (c >= '0' && c <= '9') {
        return 30;
    }
    if (c < 0x80 && c > ' ') {
        return 25; // punctuation
    }
    return 5;
}

} // namespace

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
    auto sources = [&](unsigned char target, unsigned char(&out)[2]) {
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
    // The two rarest positions; a folded byte counts as common as the most
    // common byte folding onto it.
    auto commonness = [&](std::size_t i) {
        const auto target = static_cast<unsigned char>(m_needle[i]);
        int most = 0;
        for (int c = 0; c < 256; ++c) {
            if (fold[c] == target) {
                most = std::max(most, Commonness(static_cast<unsigned char>(c)));
            }
        }
        return most;
    };
    // A byte that more than two text bytes fold onto cannot be an anchor:
    // such places come last.
    auto foldsMany = [&](std::size_t i) {
        return std::count(fold, fold + 256, static_cast<unsigned char>(m_needle[i])) > 2;
    };
    std::vector<int> rank(m_needle.size());
    for (std::size_t i = 0; i < m_needle.size(); ++i) {
        rank[i] = commonness(i) + (foldsMany(i) ? 1000 : 0);
    }
    m_offset1 = 0;
    for (std::size_t i = 1; i < m_needle.size(); ++i) {
        if (rank[i] < rank[m_offset1]) {
            m_offset1 = i;
        }
    }
    m_offset2 = m_needle.size() - 1;
    if (m_needle.size() >= 2) {
        m_offset2 = m_offset1 == 0 ? 1 : 0;
        for (std::size_t i = 0; i < m_needle.size(); ++i) {
            if (i != m_offset1 && rank[i] < rank[m_offset2]) {
                m_offset2 = i;
            }
        }
    }
    m_parallel = sources(static_cast<unsigned char>(m_needle[m_offset1]), m_first)
        && sources(static_cast<unsigned char>(m_needle[m_offset2]), m_last);
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
    const std::size_t reach = std::max(m_offset1, m_offset2); // the farther anchor
#if defined(__SSE2__)
    const __m128i first0 = _mm_set1_epi8(static_cast<char>(m_first[0]));
    const __m128i first1 = _mm_set1_epi8(static_cast<char>(m_first[1]));
    const __m128i last0 = _mm_set1_epi8(static_cast<char>(m_last[0]));
    const __m128i last1 = _mm_set1_epi8(static_cast<char>(m_last[1]));
    const auto candidates = [&](std::size_t block) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + block + m_offset1));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + block + m_offset2));
        const __m128i headHit = _mm_or_si128(_mm_cmpeq_epi8(head, first0), _mm_cmpeq_epi8(head, first1));
        const __m128i tailHit = _mm_or_si128(_mm_cmpeq_epi8(tail, last0), _mm_cmpeq_epi8(tail, last1));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(headHit, tailHit)));
    };
    const auto firstFull = [&](std::size_t block, unsigned mask) {
        while (mask != 0) {
            const std::size_t candidate = block + static_cast<std::size_t>(__builtin_ctz(mask));
            if (n <= 2 || MatchesAt(text, candidate)) {
                return candidate;
            }
            mask &= mask - 1;
        }
        return npos;
    };
    if (text.size() - at >= reach + 16) {
        // Sixteen candidate starts at a time while their anchors stay inside
        // the text; the last block is moved back to end at the text's end,
        // its starts already looked at masked off.
        while (text.size() - at >= reach + 16) {
            const std::size_t hit = firstFull(at, candidates(at));
            if (hit != npos) {
                return hit;
            }
            at += 16;
        }
        if (text.size() - at < n) {
            return npos;
        }
        const std::size_t block = text.size() - reach - 16;
        return firstFull(block, candidates(block) & (~0u << (at - block)));
    }
#endif
    for (; text.size() - at >= n; ++at) {
        const unsigned char head = base[at + m_offset1];
        const unsigned char tail = base[at + m_offset2];
        if ((head == m_first[0] || head == m_first[1]) && (tail == m_last[0] || tail == m_last[1])
            && (n <= 2 || MatchesAt(text, at))) {
            return at;
        }
    }
    return npos;
}

} // namespace quillet

#include "compare/LineIdentities.h"

#include "core/CharCase.h"
#include "platform/HugePages.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string_view>

namespace quillet {

namespace {

using TLowerTable = std::array<unsigned char, 256>;

TLowerTable LowerTable()
{
    TLowerTable table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = LowerChar(static_cast<unsigned char>(c));
    }
    return table;
}

void AppendNormalized(std::string& out, std::string_view line, const TLowerTable* lower, bool ignoreBlanks)
{
    for (const char c : line) {
        if (ignoreBlanks && (c == ' ' || c == '\t')) {
            continue;
        }
        out.push_back(lower != nullptr ? static_cast<char>((*lower)[static_cast<unsigned char>(c)]) : c);
    }
}

// Up to eight bytes as one word, in loads of eight, four, two and one bytes
// rather than byte by byte (bytes stored one at a time and read back as a
// word would stall the load).
std::uint64_t TailWord(const char* p, std::size_t size)
{
    std::uint64_t word = 0;
    if (size & 4) {
        std::uint32_t four;
        std::memcpy(&four, p, 4);
        word = four;
        p += 4;
    }
    if (size & 2) {
        std::uint16_t two;
        std::memcpy(&two, p, 2);
        word = (word << 16) | two;
        p += 2;
    }
    if (size & 1) {
        word = (word << 8) | static_cast<unsigned char>(*p);
    }
    return word;
}

// 64-bit hash of a text, eight bytes at a time, with a final mix so that the
// low bits (the table index) depend on every byte.
std::uint64_t TextHash(std::string_view text)
{
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = text.size() * kMul;
    const char* p = text.data();
    std::size_t left = text.size();
    for (; left >= 8; left -= 8, p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        h = std::rotl((h ^ word) * kMul, 29);
    }
    if (left > 0) {
        h = std::rotl((h ^ TailWord(p, left)) * kMul, 29);
    }
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

// Numbers distinct texts in the order they are first seen: open addressing
// on the texts' hashes, and a hash match is confirmed by comparing the texts.
// The texts must outlive it.
class TTextNumbers {
public:
    explicit TTextNumbers(std::size_t texts)
        : m_mask(std::bit_ceil(2 * texts + 2) - 1)
    {
        m_slots.reserve(m_mask + 1);
        AskForHugePages(m_slots.data(), (m_mask + 1) * sizeof(TSlot));
        m_slots.resize(m_mask + 1);
        m_texts.reserve(texts);
    }

    // Appends the numbers of the texts to `out`. The table is far larger
    // than the caches, so each text's slot is fetched a few texts ahead.
    void IdentifyAll(std::span<const std::string_view> texts, std::vector<std::int32_t>& out)
    {
        constexpr std::size_t kAhead = 16;
        std::uint64_t hashes[kAhead];
        const std::size_t count = texts.size();
        for (std::size_t i = 0; i < std::min(kAhead, count); ++i) {
            hashes[i] = TextHash(texts[i]);
            __builtin_prefetch(&m_slots[hashes[i] & m_mask]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t hash = hashes[i % kAhead];
            if (i + kAhead < count) {
                const std::uint64_t ahead = TextHash(texts[i + kAhead]);
                hashes[i % kAhead] = ahead;
                __builtin_prefetch(&m_slots[ahead & m_mask]);
            }
            out.push_back(Identify(texts[i], hash));
        }
    }

private:
    std::int32_t Identify(std::string_view text, std::uint64_t hash)
    {
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            TSlot& slot = m_slots[at];
            if (slot.id < 0) {
                slot = {tag, static_cast<std::int32_t>(m_texts.size())};
                m_texts.push_back(text);
                return slot.id;
            }
            if (slot.tag == tag && m_texts[static_cast<std::size_t>(slot.id)] == text) {
                return slot.id;
            }
        }
    }

    struct TSlot {
        std::uint32_t tag = 0; // high bits of the text's hash
        std::int32_t id = -1; // -1: free
    };
    std::size_t m_mask; // slot count - 1; at least twice the texts, so probes stay short
    std::vector<TSlot> m_slots;
    std::vector<std::string_view> m_texts; // by number
};

} // namespace

std::string NormalizedLine(std::string_view line, bool ignoreCase, bool ignoreBlanks)
{
    std::string kept;
    kept.reserve(line.size());
    const TLowerTable lower = ignoreCase ? LowerTable() : TLowerTable{};
    AppendNormalized(kept, line, ignoreCase ? &lower : nullptr, ignoreBlanks);
    return kept;
}

TLineIdentities NumberLines(
    std::span<const std::string_view> left, std::span<const std::string_view> right, bool ignoreCase, bool ignoreBlanks)
{
    const std::size_t count = left.size() + right.size();
    // Normalised texts are written one after another into one buffer; the
    // views are taken once it no longer grows.
    std::string buffer;
    std::vector<std::string_view> normalized;
    if (ignoreCase || ignoreBlanks) {
        std::size_t bytes = 0;
        for (const auto side : {left, right}) {
            for (const std::string_view line : side) {
                bytes += line.size();
            }
        }
        buffer.reserve(bytes);
        const TLowerTable lower = ignoreCase ? LowerTable() : TLowerTable{};
        std::vector<std::size_t> ends;
        ends.reserve(count);
        for (const auto side : {left, right}) {
            for (const std::string_view line : side) {
                AppendNormalized(buffer, line, ignoreCase ? &lower : nullptr, ignoreBlanks);
                ends.push_back(buffer.size());
            }
        }
        normalized.reserve(count);
        std::size_t start = 0;
        for (const std::size_t end : ends) {
            normalized.push_back(std::string_view(buffer).substr(start, end - start));
            start = end;
        }
    }
    TTextNumbers numbers(count);
    TLineIdentities result;
    result.left.reserve(left.size());
    result.right.reserve(right.size());
    if (normalized.empty()) {
        numbers.IdentifyAll(left, result.left);
        numbers.IdentifyAll(right, result.right);
    } else {
        const std::span<const std::string_view> all(normalized);
        numbers.IdentifyAll(all.first(left.size()), result.left);
        numbers.IdentifyAll(all.subspan(left.size()), result.right);
    }
    return result;
}

TLineIdentities NumberLines(
    std::span<const std::string> left, std::span<const std::string> right, bool ignoreCase, bool ignoreBlanks)
{
    const std::vector<std::string_view> leftViews(left.begin(), left.end());
    const std::vector<std::string_view> rightViews(right.begin(), right.end());
    return NumberLines(leftViews, rightViews, ignoreCase, ignoreBlanks);
}

} // namespace quillet

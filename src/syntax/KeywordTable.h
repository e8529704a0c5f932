#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The keywords of one block for lookup by token text, each with the index of
// the first keyword set that holds it. Open addressing over a power-of-two
// table of slots that point into one pool of text, so that a lookup hashes the
// token in place and compares at most a few candidates, without allocating.
class TKeywordTable {
public:
    // Adds word for set; a word already present keeps its first set.
    void Insert(std::string_view word, int set);
    // The set of word, or -1 when it is no keyword.
    int Find(std::string_view word) const
    {
        if (m_count == 0) {
            return -1;
        }
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = Hash(word) & mask;; i = (i + 1) & mask) {
            const TSlot& slot = m_slots[i];
            if (slot.set < 0) {
                return -1;
            }
            if (slot.length == word.size() && m_pool.compare(slot.offset, slot.length, word) == 0) {
                return slot.set;
            }
        }
    }
    std::size_t Size() const { return m_count; }

private:
    struct TSlot {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        int set = -1; // -1: empty
    };

    // Mixes the length with the first and the last (up to) eight bytes: a
    // few multiplications whatever the length, and keywords rarely share
    // both ends and their length.
    static std::size_t Hash(std::string_view word)
    {
        const char* p = word.data();
        const std::size_t n = word.size();
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        if (n >= 8) {
            std::memcpy(&head, p, 8);
            std::memcpy(&tail, p + n - 8, 8);
        } else if (n >= 4) {
            std::uint32_t a = 0;
            std::uint32_t b = 0;
            std::memcpy(&a, p, 4);
            std::memcpy(&b, p + n - 4, 4);
            head = a;
            tail = b;
        } else if (n > 0) {
            head = static_cast<unsigned char>(p[0]) | (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8)
                | (std::uint64_t{static_cast<unsigned char>(p[n - 1])} << 16);
        }
        std::uint64_t h = (head ^ 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
        h ^= (tail + n) * 0x94D049BB133111EBull;
        return static_cast<std::size_t>(h ^ (h >> 31));
    }
    void Grow();

    std::string m_pool; // every word, one after another
    std::vector<TSlot> m_slots; // size a power of two, at most half full
    std::size_t m_count = 0;
};

} // namespace quillet

#include "syntax/KeywordTable.h"

namespace quillet {

void TKeywordTable::Insert(std::string_view word, int set)
{
    if (Find(word) >= 0) {
        return;
    }
    if (2 * (m_count + 1) > m_slots.size()) {
        Grow();
    }
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = Hash(word) & mask;
    while (m_slots[i].set >= 0) {
        i = (i + 1) & mask;
    }
    m_slots[i] = {static_cast<std::uint32_t>(m_pool.size()), static_cast<std::uint32_t>(word.size()), set};
    m_pool.append(word);
    ++m_count;
}

void TKeywordTable::Grow()
{
    std::vector<TSlot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 64 : 2 * old.size(), TSlot{});
    const std::size_t mask = m_slots.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.set < 0) {
            continue;
        }
        std::size_t i = Hash(std::string_view(m_pool).substr(slot.offset, slot.length)) & mask;
        while (m_slots[i].set >= 0) {
            i = (i + 1) & mask;
        }
        m_slots[i] = slot;
    }
}

} // namespace quillet

#include "text/UndoList.h"

#include <algorithm>

namespace quillet {

void TUndoList::DropOldest(std::size_t count)
{
    if (count >= m_items.size()) {
        Clear();
        return;
    }
    m_items.erase(m_items.begin(), m_items.begin() + static_cast<long>(count));
    m_lastContent = m_lastContent >= static_cast<long>(count) ? m_lastContent - static_cast<long>(count) : -1;
}

std::size_t TUndoList::OldestCut(std::size_t keep) const
{
    if (m_items.size() <= keep) {
        return 0;
    }
    std::size_t remove = m_items.size() - keep;
    while (remove > 0 && remove < m_items.size() && m_items[remove - 1].inBlock
        && m_items[remove - 1].blockSerial == m_items[remove].blockSerial) {
        --remove;
    }
    return remove;
}

bool TUndoList::HasContentBefore(std::size_t count) const
{
    count = std::min(count, m_items.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (m_items[i].IsContent()) {
            return true;
        }
    }
    return false;
}

void TUndoList::Pop()
{
    m_items.pop_back();
    if (m_lastContent >= static_cast<long>(m_items.size())) {
        // The last content record went: look further back (amortised by the pops).
        m_lastContent = -1;
        for (long i = static_cast<long>(m_items.size()) - 1; i >= 0; --i) {
            if (m_items[static_cast<std::size_t>(i)].IsContent()) {
                m_lastContent = i;
                break;
            }
        }
    }
}

} // namespace quillet

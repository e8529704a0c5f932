#include "text/UndoList.h"

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

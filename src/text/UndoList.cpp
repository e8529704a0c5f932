#include "text/UndoList.h"

namespace quillet {

void TUndoList::DropOldest(std::size_t count)
{
    if (count >= m_items.size()) {
        m_items.clear();
        return;
    }
    m_items.erase(m_items.begin(), m_items.begin() + static_cast<long>(count));
}

long TUndoList::LastContentIndex() const
{
    for (long i = static_cast<long>(m_items.size()) - 1; i >= 0; --i) {
        if (m_items[static_cast<std::size_t>(i)].IsContent()) {
            return i;
        }
    }
    return -1;
}

bool TUndoList::HasContentAfter(long from) const
{
    for (long i = static_cast<long>(m_items.size()) - 1; i > from; --i) {
        if (m_items[static_cast<std::size_t>(i)].IsContent()) {
            return true;
        }
    }
    return false;
}

} // namespace quillet

#include "text/LineStore.h"

#include <algorithm>
#include <cstring>

namespace quillet {

TLineStore::~TLineStore()
{
    Clear();
}

void TLineStore::FreeExtra(TLineRec& rec)
{
    delete rec.extra;
    rec.extra = nullptr;
}

TLineExtra& TLineStore::Extra(std::size_t i)
{
    TLineRec& r = Rec(i);
    if (!r.extra) {
        r.extra = new TLineExtra;
    }
    return *r.extra;
}

std::string& TLineStore::MutableText(std::size_t i)
{
    TLineRec& r = Rec(i);
    TLineExtra& e = Extra(i);
    if (!e.ownsText) {
        e.text.assign(r.ptr ? r.ptr : "", r.len);
        e.ownsText = true;
        r.ptr = nullptr;
        r.len = 0;
    }
    return e.text;
}

std::string& TLineStore::MutableStyle(std::size_t i)
{
    std::size_t len = Text(i).size();
    TLineExtra& e = Extra(i);
    if (e.style.size() != len) {
        e.style.resize(len, '\0');
    }
    return e.style;
}

void TLineStore::SetText(std::size_t i, std::string text)
{
    MutableText(i) = std::move(text);
}

void TLineStore::MoveGap(std::size_t pos)
{
    if (pos == m_gapStart) {
        return;
    }
    std::size_t gap = GapLength();
    if (pos < m_gapStart) {
        std::size_t n = m_gapStart - pos;
        std::memmove(static_cast<void*>(&m_buf[pos + gap]), &m_buf[pos], n * sizeof(TLineRec));
    } else {
        std::size_t n = pos - m_gapStart;
        std::memmove(static_cast<void*>(&m_buf[m_gapStart]), &m_buf[m_gapEnd], n * sizeof(TLineRec));
    }
    m_gapStart = pos;
    m_gapEnd = pos + gap;
}

void TLineStore::EnsureGap(std::size_t count)
{
    if (GapLength() >= count) {
        return;
    }
    std::size_t lines = Count();
    std::size_t cap = m_buf.size();
    std::size_t newCap = std::max({cap + std::max<std::size_t>(cap / 2, 64), lines + count + 64});
    std::vector<TLineRec> grown(newCap);
    std::size_t tail = m_buf.size() - m_gapEnd;
    if (m_gapStart) {
        std::memcpy(static_cast<void*>(grown.data()), m_buf.data(), m_gapStart * sizeof(TLineRec));
    }
    if (tail) {
        std::memcpy(static_cast<void*>(grown.data() + newCap - tail), m_buf.data() + m_gapEnd, tail * sizeof(TLineRec));
    }
    m_buf.swap(grown);
    m_gapEnd = newCap - tail;
}

void TLineStore::Reserve(std::size_t count)
{
    if (count > Count()) {
        MoveGap(Count());
        EnsureGap(count - Count());
    }
}

void TLineStore::InsertEmpty(std::size_t i, std::size_t count)
{
    if (count == 0) {
        return;
    }
    EnsureGap(count);
    MoveGap(i);
    for (std::size_t k = 0; k < count; ++k) {
        m_buf[m_gapStart + k] = TLineRec{};
    }
    m_gapStart += count;
}

void TLineStore::Insert(std::size_t i, TLineRec rec)
{
    EnsureGap(1);
    MoveGap(i);
    m_buf[m_gapStart++] = rec;
}

void TLineStore::Erase(std::size_t i, std::size_t count)
{
    if (count == 0) {
        return;
    }
    MoveGap(i);
    for (std::size_t k = 0; k < count; ++k) {
        FreeExtra(m_buf[m_gapEnd + k]);
    }
    m_gapEnd += count;
}

TLineRec TLineStore::Take(std::size_t i)
{
    MoveGap(i);
    TLineRec r = m_buf[m_gapEnd];
    m_buf[m_gapEnd].extra = nullptr;
    ++m_gapEnd;
    return r;
}

void TLineStore::Clear()
{
    for (std::size_t i = 0; i < m_buf.size(); ++i) {
        if (i < m_gapStart || i >= m_gapEnd) {
            FreeExtra(m_buf[i]);
        }
    }
    m_buf.clear();
    m_buf.shrink_to_fit();
    m_gapStart = m_gapEnd = 0;
    m_blocks.clear();
}

void TLineStore::Assign(std::shared_ptr<const char[]> block, std::vector<TLineRec> recs)
{
    Clear();
    m_buf = std::move(recs);
    m_gapStart = m_buf.size();
    m_buf.resize(m_gapStart + SpareRecords(m_gapStart));
    m_gapEnd = m_buf.size();
    if (block) {
        m_blocks.push_back(std::move(block));
    }
}

} // namespace quillet

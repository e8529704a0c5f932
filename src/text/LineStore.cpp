#include "text/LineStore.h"

#include <algorithm>
#include <cstring>

namespace quillet {

TLineStore::~TLineStore()
{
    Clear();
}

void TLineRec::AttachExtra(TLineExtra* e)
{
    if (!e->ownsText) {
        e->block = std::string_view(m_text, m_len);
    }
    m_extra = e;
    m_len = kExtraLen;
}

TLineExtra* TLineRec::DetachExtra()
{
    if (!HasExtra()) {
        return nullptr;
    }
    TLineExtra* e = m_extra;
    const std::string_view block = e->ownsText ? std::string_view() : e->block;
    m_text = block.data();
    m_len = static_cast<std::uint32_t>(block.size());
    return e;
}

void TLineStore::FreeExtra(TLineRec& rec)
{
    delete rec.DetachExtra();
}

TLineExtra& TLineStore::Extra(std::size_t i)
{
    TLineRec& r = Rec(i);
    if (!r.HasExtra()) {
        r.AttachExtra(new TLineExtra);
    }
    return *r.Extra();
}

std::string& TLineStore::MutableText(std::size_t i)
{
    TLineExtra& e = Extra(i);
    if (!e.ownsText) {
        e.text.assign(e.block);
        e.block = {};
        e.ownsText = true;
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

namespace {

// Moves the gap [gapStart, gapEnd) of a gap array to start at pos.
template <typename T> void MoveGapOf(std::vector<T>& buf, std::size_t gapStart, std::size_t gapEnd, std::size_t pos)
{
    if (pos < gapStart) {
        std::memmove(static_cast<void*>(&buf[pos + gapEnd - gapStart]), &buf[pos], (gapStart - pos) * sizeof(T));
    } else if (pos > gapStart) {
        std::memmove(static_cast<void*>(&buf[gapStart]), &buf[gapEnd], (pos - gapStart) * sizeof(T));
    }
}

// Copies a gap array into one of newCap elements whose gap ends where the
// same tail of elements begins.
template <typename T> void GrowGapOf(std::vector<T>& buf, std::size_t gapStart, std::size_t gapEnd, std::size_t newCap)
{
    std::vector<T> grown(newCap);
    const std::size_t tail = buf.size() - gapEnd;
    if (gapStart) {
        std::memcpy(static_cast<void*>(grown.data()), buf.data(), gapStart * sizeof(T));
    }
    if (tail) {
        std::memcpy(static_cast<void*>(grown.data() + newCap - tail), buf.data() + gapEnd, tail * sizeof(T));
    }
    buf.swap(grown);
}

} // namespace

void TLineStore::SetStates(std::size_t i, TLineStates states)
{
    if (m_states.empty()) {
        if (states.start == 0 && states.end == 0) {
            return;
        }
        m_states.resize(m_buf.size());
    }
    m_states[Phys(i)] = states;
}

void TLineStore::DropStates()
{
    std::vector<TLineStates>().swap(m_states);
}

void TLineStore::MoveGap(std::size_t pos)
{
    if (pos == m_gapStart) {
        return;
    }
    MoveGapOf(m_buf, m_gapStart, m_gapEnd, pos);
    if (!m_states.empty()) {
        MoveGapOf(m_states, m_gapStart, m_gapEnd, pos);
    }
    m_gapEnd = pos + GapLength();
    m_gapStart = pos;
}

void TLineStore::EnsureGap(std::size_t count)
{
    if (GapLength() >= count) {
        return;
    }
    const std::size_t cap = m_buf.size();
    const std::size_t newCap = std::max({cap + std::max<std::size_t>(cap / 2, 64), Count() + count + 64});
    GrowGapOf(m_buf, m_gapStart, m_gapEnd, newCap);
    if (!m_states.empty()) {
        GrowGapOf(m_states, m_gapStart, m_gapEnd, newCap);
    }
    m_gapEnd = newCap - (cap - m_gapEnd);
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
    std::fill_n(m_buf.begin() + static_cast<std::ptrdiff_t>(m_gapStart), count, TLineRec{});
    if (!m_states.empty()) {
        std::fill_n(m_states.begin() + static_cast<std::ptrdiff_t>(m_gapStart), count, TLineStates{});
    }
    m_gapStart += count;
}

void TLineStore::Insert(std::size_t i, TLineRec rec)
{
    EnsureGap(1);
    MoveGap(i);
    if (!m_states.empty()) {
        m_states[m_gapStart] = TLineStates{};
    }
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
    m_buf[m_gapEnd] = TLineRec{};
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
    DropStates();
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

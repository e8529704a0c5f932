#include "hex/HexUndo.h"

#include <cstring>

namespace quillet {

namespace {

// kind, changed, modified, cursor, nibble, field, selection start, end and
// anchor, offset, count, old length.
constexpr std::size_t kHeaderBytes = 3 + 8 + 2 + 8 * 6;
constexpr std::size_t kTrailerBytes = 8;

void PutInt(std::vector<std::uint8_t>& out, std::int64_t value)
{
    auto v = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

std::int64_t GetInt(const std::uint8_t* p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        v |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    }
    return static_cast<std::int64_t>(v);
}

} // namespace

const char* UndoKindDescription(THexUndoKind kind)
{
    switch (kind) {
    case THexUndoKind::ByteChanged:
        return "Byte changed";
    case THexUndoKind::BytesRemoved:
        return "Byte(s) removed";
    case THexUndoKind::InsertBuffer:
        return "Insert buffer";
    case THexUndoKind::ReplaceSelection:
        return "Replace selection";
    case THexUndoKind::AppendBuffer:
        return "Append buffer";
    }
    return "";
}

std::int64_t THexUndoStream::PayloadLength(const THexUndoRecord& record)
{
    switch (record.kind) {
    case THexUndoKind::ByteChanged:
        return 1;
    case THexUndoKind::BytesRemoved:
        return record.count;
    case THexUndoKind::ReplaceSelection:
        return record.oldLength;
    case THexUndoKind::InsertBuffer:
    case THexUndoKind::AppendBuffer:
        break;
    }
    return 0;
}

bool THexUndoStream::SavePayload(THexUndoRecord& record, TTempFile& workFile, std::uint64_t from)
{
    if (!m_side) {
        m_side = TTempFile::Create(".QHXU", m_error);
        if (!m_side) {
            return false;
        }
    }
    const std::uint64_t at = m_side->Size();
    const auto length = static_cast<std::uint64_t>(PayloadLength(record));
    if (!m_side->Resize(at + length) || !workFile.CopyTo(from, length, m_side->Fd(), at)) {
        m_error = m_side->Error().empty() ? workFile.Error() : m_side->Error();
        m_side->Resize(at);
        return false;
    }
    record.sideOffset = static_cast<std::int64_t>(at);
    return true;
}

bool THexUndoStream::RestorePayload(const THexUndoRecord& record, TTempFile& workFile, std::uint64_t to)
{
    if (!m_side || record.sideOffset < 0) {
        return false;
    }
    const auto length = static_cast<std::uint64_t>(PayloadLength(record));
    if (!CopyFileRange(m_side->Fd(), static_cast<std::uint64_t>(record.sideOffset), workFile.Fd(), to, length, false)) {
        m_error = std::strerror(errno);
        return false;
    }
    return true;
}

void THexUndoStream::DropPayload(const THexUndoRecord& record)
{
    // Payloads are appended, so the newest one ends the side file.
    if (m_side && record.sideOffset >= 0) {
        m_side->Resize(static_cast<std::uint64_t>(record.sideOffset));
    }
}

void THexUndoStream::Push(const THexUndoRecord& record)
{
    const std::size_t start = m_stream.size();
    m_stream.push_back(static_cast<std::uint8_t>(record.kind));
    m_stream.push_back(record.changed ? 1 : 0);
    m_stream.push_back(record.modified ? 1 : 0);
    PutInt(m_stream, record.cursorOffset);
    m_stream.push_back(record.nibble);
    m_stream.push_back(record.charField ? 1 : 0);
    PutInt(m_stream, record.selStart);
    PutInt(m_stream, record.selEnd);
    PutInt(m_stream, record.selAnchor);
    PutInt(m_stream, record.offset);
    PutInt(m_stream, record.count);
    PutInt(m_stream, record.oldLength);
    const std::int64_t payload = PayloadLength(record);
    if (payload == 0) {
        m_stream.push_back(0);
    } else if (IsInline(payload)) {
        m_stream.insert(m_stream.end(), record.saved.begin(), record.saved.end());
    } else {
        PutInt(m_stream, record.sideOffset);
    }
    PutInt(m_stream, static_cast<std::int64_t>(m_stream.size() - start + kTrailerBytes));
    ++m_count;
    if (m_count > kMaxRecords) {
        // Walk the trailers back to the oldest record and drop it.
        std::size_t end = m_stream.size();
        std::size_t oldestLength = 0;
        for (int i = 0; i < m_count; ++i) {
            oldestLength = static_cast<std::size_t>(GetInt(&m_stream[end - kTrailerBytes]));
            end -= oldestLength;
        }
        m_stream.erase(m_stream.begin(), m_stream.begin() + static_cast<std::ptrdiff_t>(oldestLength));
        --m_count;
    }
}

THexUndoRecord THexUndoStream::Newest() const
{
    const std::size_t total = static_cast<std::size_t>(GetInt(&m_stream[m_stream.size() - kTrailerBytes]));
    const std::uint8_t* p = &m_stream[m_stream.size() - total];
    THexUndoRecord r;
    r.kind = static_cast<THexUndoKind>(p[0]);
    r.changed = p[1] != 0;
    r.modified = p[2] != 0;
    r.cursorOffset = GetInt(p + 3);
    r.nibble = p[11];
    r.charField = p[12] != 0;
    r.selStart = GetInt(p + 13);
    r.selEnd = GetInt(p + 21);
    r.selAnchor = GetInt(p + 29);
    r.offset = GetInt(p + 37);
    r.count = GetInt(p + 45);
    r.oldLength = GetInt(p + 53);
    const std::uint8_t* data = p + kHeaderBytes;
    const std::int64_t payload = PayloadLength(r);
    if (payload > 0 && IsInline(payload)) {
        r.saved.assign(data, data + payload);
    } else if (payload > 0) {
        r.sideOffset = GetInt(data);
    }
    return r;
}

void THexUndoStream::PopNewest()
{
    const THexUndoRecord newest = Newest();
    const std::size_t total = static_cast<std::size_t>(GetInt(&m_stream[m_stream.size() - kTrailerBytes]));
    m_stream.resize(m_stream.size() - total);
    --m_count;
    if (m_count == 0) {
        Clear();
    } else {
        DropPayload(newest);
    }
}

void THexUndoStream::Clear()
{
    m_stream.clear();
    m_count = 0;
    if (m_side) {
        m_side->Resize(0);
    }
}

} // namespace quillet

#include "tools/ResultList.h"

#include <cstring>
#include <limits>

namespace quillet {

namespace {

// Lines are packed into blocks of this size; a longer one gets its own.
constexpr std::size_t kBlockSize = std::size_t{64} << 10;
// Lines and columns of a match are kept in 32 bits; larger ones (of a file
// over 4 GB) keep their whole display line and record instead.
constexpr std::size_t kMaxPacked = std::numeric_limits<std::uint32_t>::max();

} // namespace

std::uint32_t TResultList::SourceIndex(std::string_view fileName, std::uint64_t documentKey)
{
    if (m_sources.empty() || m_sources.back().fileName != fileName || m_sources.back().documentKey != documentKey) {
        m_sources.push_back({std::string(fileName), documentKey});
    }
    // Never more sources than lines, far fewer than 2^32.
    return static_cast<std::uint32_t>(m_sources.size() - 1);
}

const char* TResultList::Store(std::string_view first, std::string_view second)
{
    const std::size_t size = first.size() + second.size();
    if (size == 0) {
        return nullptr;
    }
    char* at = nullptr;
    if (size > kBlockSize) {
        m_largeTexts.push_back(std::make_unique_for_overwrite<char[]>(size));
        at = m_largeTexts.back().get();
    } else {
        if (m_blocks.empty() || kBlockSize - m_blockUsed < size) {
            m_blocks.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
            m_blockUsed = 0;
        }
        at = m_blocks.back().get() + m_blockUsed;
        m_blockUsed += size;
    }
    if (!first.empty()) {
        std::memcpy(at, first.data(), first.size());
    }
    if (!second.empty()) {
        std::memcpy(at + first.size(), second.data(), second.size());
    }
    return at;
}

void TResultList::Append(std::string_view displayLine, const TNavigationRecord& record)
{
    TEntry entry;
    entry.textSize = displayLine.size();
    entry.recordSize = record.text.size();
    entry.source = SourceIndex({}, record.documentKey);
    entry.bytes = Store(displayLine, record.text);
    m_entries.push_back(entry);
}

void TResultList::AppendMatch(std::string_view fileName,
    std::uint64_t documentKey,
    std::size_t line,
    std::size_t column,
    std::size_t length,
    std::string_view lineText)
{
    if (line > kMaxPacked || column > kMaxPacked) {
        Append(FindResultLine(fileName, line, column, length, lineText),
            {NavigationRecordText(column, line, fileName), documentKey});
        return;
    }
    m_scratch.clear();
    AppendFindResultText(m_scratch, column, length, lineText);
    TEntry entry;
    entry.textSize = m_scratch.size();
    entry.source = SourceIndex(fileName, documentKey);
    entry.line = static_cast<std::uint32_t>(line);
    entry.column = static_cast<std::uint32_t>(column);
    entry.match = true;
    entry.bytes = Store(m_scratch, {});
    m_entries.push_back(entry);
}

void TResultList::AppendEntry(const TSource& source, const TEntry& entry)
{
    TEntry copy = entry;
    copy.source = SourceIndex(source.fileName, source.documentKey);
    copy.bytes = Store({entry.bytes, entry.textSize + entry.recordSize}, {});
    m_entries.push_back(copy);
}

void TResultList::Append(const TResultList& other)
{
    if (&other == this) {
        TResultList copy;
        copy.Append(other);
        Append(copy);
        return;
    }
    m_entries.reserve(m_entries.size() + other.m_entries.size());
    for (const TEntry& entry : other.m_entries) {
        AppendEntry(other.m_sources[entry.source], entry);
    }
}

void TResultList::Clear()
{
    // Releases the memory too: a page may have held a very long list.
    *this = TResultList();
}

void TResultList::AppendLine(std::string& out, const TEntry& entry) const
{
    if (entry.match) {
        AppendFindResultHead(out, m_sources[entry.source].fileName, entry.line, entry.column);
    }
    out.append(Text(entry));
}

std::string TResultList::Line(std::size_t index) const
{
    std::string out;
    AppendLine(out, m_entries[index]);
    return out;
}

TNavigationRecord TResultList::Record(std::size_t index) const
{
    const TEntry& entry = m_entries[index];
    const TSource& source = m_sources[entry.source];
    if (entry.match) {
        return {NavigationRecordText(entry.column, entry.line, source.fileName), source.documentKey};
    }
    return {std::string(entry.bytes + entry.textSize, entry.recordSize), source.documentKey};
}

std::string TResultList::PlainText(std::string_view lineBreak) const
{
    std::string out;
    std::string line;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (i > 0) {
            out.append(lineBreak);
        }
        line.clear();
        AppendLine(line, m_entries[i]);
        AppendStripped(out, line);
    }
    return out;
}

} // namespace quillet

// Find and Seek of the hex editor.
#include "core/CharCase.h"
#include "hex/HexDocument.h"
#include "text/LiteralFinder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quillet {

namespace {

// Large blocks let memmem run over long stretches; consecutive blocks
// overlap by the pattern's length minus one so no match is split.
constexpr std::size_t kSearchBlock = 4u << 20;

std::array<std::uint8_t, 256> LowerTable()
{
    std::array<std::uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] = LowerChar(static_cast<unsigned char>(c));
    }
    return table;
}

} // namespace

std::int64_t THexDocument::Find(
    std::vector<std::uint8_t>& pattern, bool ignoreCase, std::int64_t lastOffset, std::int64_t firstOffset)
{
    const auto length = static_cast<std::int64_t>(pattern.size());
    lastOffset = std::min<std::int64_t>(lastOffset, static_cast<std::int64_t>(m_size) - 1);
    firstOffset = std::max<std::int64_t>(firstOffset, 0);
    if (length <= 0 || !m_work || lastOffset + 1 < firstOffset + length) {
        return -1;
    }
    // Ignoring case, the bytes are compared through the lower-case map by the
    // text search's literal finder, sixteen positions at a time; an exact
    // search runs memmem over the block.
    unsigned char fold[256];
    const std::array<std::uint8_t, 256> lower = LowerTable();
    for (int c = 0; c < 256; ++c) {
        fold[c] = ignoreCase ? lower[static_cast<std::size_t>(c)] : static_cast<unsigned char>(c);
    }
    if (ignoreCase) {
        for (std::uint8_t& c : pattern) {
            c = lower[c];
        }
    }
    const TLiteralFinder finder(ignoreCase
            ? std::string_view(reinterpret_cast<const char*>(pattern.data()), pattern.size())
            : std::string_view(),
        fold);
    const std::size_t block = std::max<std::size_t>(kSearchBlock, static_cast<std::size_t>(length) * 2);
    std::vector<std::uint8_t> buffer(block);
    std::int64_t start = firstOffset;
    const std::int64_t end = lastOffset + 1; // matches lie inside [firstOffset, end)
    while (start + length <= end) {
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(block), end - start));
        const std::size_t got = m_work->ReadAt(static_cast<std::uint64_t>(start), buffer.data(), want);
        if (got < static_cast<std::size_t>(length)) {
            return -1;
        }
        if (ignoreCase) {
            const std::size_t at = finder.Find(std::string_view(reinterpret_cast<const char*>(buffer.data()), got));
            if (at != TLiteralFinder::npos) {
                return start + static_cast<std::int64_t>(at);
            }
        } else if (const void* hit = ::memmem(buffer.data(), got, pattern.data(), pattern.size())) {
            return start + (static_cast<const std::uint8_t*>(hit) - buffer.data());
        }
        if (got < want) {
            return -1;
        }
        start += static_cast<std::int64_t>(got) - length + 1;
    }
    return -1;
}

bool THexDocument::Seek(std::int64_t offset, int origin, bool strict)
{
    if (m_size == 0) {
        return false;
    }
    const auto size = static_cast<std::int64_t>(m_size);
    std::int64_t target = CursorOffset();
    if (origin == 0) {
        target = offset;
    } else if (origin == 1) {
        target = CursorOffset() + offset;
    } else if (origin == 2) {
        target = size - 1 + offset;
    }
    if (target < 0) {
        if (strict) {
            return false;
        }
        target = 0;
    }
    if (target >= size) {
        if (strict) {
            return false;
        }
        target = size - 1;
    }
    SetSelStart(target);
    return true;
}

} // namespace quillet

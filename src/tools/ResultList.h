#pragma once

#include "tools/ResultLines.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// One page of the result window: display lines and, parallel to them, their
// navigation records. Plain data, shared by the find-in-files results and the
// captured console output.
//
// A search may list hundreds of thousands of matches, so the lines are kept
// compactly: their bytes in large blocks that never move, and per line one
// small entry. A match keeps only the marked-up text after its "): "; its
// file name is stored once for the run of matches of one file, and the head
// of its display line and its record are rebuilt from the numbers on demand.
class TResultList {
public:
    // Any display line with any record (console output, messages).
    void Append(std::string_view displayLine, const TNavigationRecord& record = {});
    // A match: the same display line and record as FindResultLine and
    // NavigationRecordText give for these arguments.
    void AppendMatch(std::string_view fileName,
        std::uint64_t documentKey,
        std::size_t line,
        std::size_t column,
        std::size_t length,
        std::string_view lineText);
    // Appends every line of `other`.
    void Append(const TResultList& other);
    void Clear();

    std::size_t Count() const { return m_entries.size(); }
    bool IsEmpty() const { return m_entries.empty(); }
    std::string Line(std::size_t index) const;
    TNavigationRecord Record(std::size_t index) const;

    // Every display line without markers, each followed by `lineBreak` but the last.
    std::string PlainText(std::string_view lineBreak) const;

private:
    // The file (or, for other lines, just the document) of a line.
    struct TSource {
        std::string fileName;
        std::uint64_t documentKey = 0;
    };
    struct TEntry {
        const char* bytes = nullptr; // the text, then for other lines their record
        std::size_t textSize = 0;
        std::size_t recordSize = 0;
        std::uint32_t source = 0; // index in m_sources
        std::uint32_t line = 0; // of a match, 0-based
        std::uint32_t column = 0; // of a match, 0-based
        bool match = false;
    };

    std::uint32_t SourceIndex(std::string_view fileName, std::uint64_t documentKey);
    const char* Store(std::string_view first, std::string_view second);
    void AppendEntry(const TSource& source, const TEntry& entry);
    std::string_view Text(const TEntry& entry) const { return {entry.bytes, entry.textSize}; }
    void AppendLine(std::string& out, const TEntry& entry) const;

    std::vector<TEntry> m_entries;
    std::vector<TSource> m_sources;
    std::vector<std::unique_ptr<char[]>> m_blocks; // filled in order, each kBlockSize
    std::size_t m_blockUsed = 0; // bytes used in the last of m_blocks
    std::vector<std::unique_ptr<char[]>> m_largeTexts; // one text each, longer than a block
    std::string m_scratch; // the text of a match while it is built
};

} // namespace quillet

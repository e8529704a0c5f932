#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Per-line data that most lines never need; allocated on first use so that a
// freshly loaded line costs only its TLineRec.
struct TLineExtra {
    std::string text; // the line's own text once it was edited (ownsText)
    bool ownsText = false; // false: the text lives in a loaded block
    std::string style; // style bytes: empty (all zero) or exactly as long as the text
    std::string aux; // opaque string carried along on splits and joins at column 0
    std::intptr_t object = 0;
    int scratch[3] = {0, 0, 0};
};

// One line: a span into a loaded block (or the extra's own text) plus the small
// fixed per-line fields. 32 bytes. The highlighter states live here rather than
// in the extra so that a coloured line whose style bytes were dropped costs no
// allocation.
struct TLineRec {
    const char* ptr = nullptr;
    std::uint32_t len = 0;
    std::uint16_t imageBits = 0;
    std::uint8_t state = 0; // lsParsed, lsReadOnly, lsFoldBody, lsFoldExpanded, lsFoldCollapsed
    std::uint8_t lineStyle = 0; // whole-line text style, 0 = none
    TLineExtra* extra = nullptr; // owned by the store that holds the record
    std::uint32_t startState = 0; // highlighter state the line was coloured from
    std::uint32_t endState = 0; // highlighter state at the end of the line
};

// Growable gap array of line records. Inserting or erasing near the last edit
// costs O(count), independent of the number of lines; random access is O(1).
// Loaded text stays in shared read-only blocks that records point into.
class TLineStore {
public:
    TLineStore() = default;
    ~TLineStore();
    TLineStore(const TLineStore&) = delete;
    TLineStore& operator=(const TLineStore&) = delete;

    std::size_t Count() const { return m_buf.size() - GapLength(); }

    TLineRec& Rec(std::size_t i) { return m_buf[Phys(i)]; }
    const TLineRec& Rec(std::size_t i) const { return m_buf[Phys(i)]; }

    std::string_view Text(std::size_t i) const
    {
        const TLineRec& r = Rec(i);
        if (r.extra && r.extra->ownsText) {
            return r.extra->text;
        }
        return {r.ptr, r.len};
    }
    // Style bytes, empty when the line has none (all zero).
    std::string_view Style(std::size_t i) const
    {
        const TLineRec& r = Rec(i);
        return r.extra ? std::string_view(r.extra->style) : std::string_view();
    }

    TLineExtra& Extra(std::size_t i);
    // The line's text as an owned string the caller may edit. Keep the style
    // bytes in step (MutableStyle) or clear them.
    std::string& MutableText(std::size_t i);
    // Style bytes sized to the text length (zero-filled when missing).
    std::string& MutableStyle(std::size_t i);
    void SetText(std::size_t i, std::string text);

    // Inserts count empty lines before index i.
    void InsertEmpty(std::size_t i, std::size_t count);
    // Inserts a record before index i; the store takes over its extra.
    void Insert(std::size_t i, TLineRec rec);
    // Removes count lines starting at i, freeing their extras.
    void Erase(std::size_t i, std::size_t count);
    // Removes and returns a record; the caller owns its extra afterwards.
    TLineRec Take(std::size_t i);
    void Clear();

    // Replaces everything by lines pointing into block; the store keeps block.
    // SpareRecords(recs.size()) empty records are kept behind the lines, so
    // that the first inserts after a load do not move every record; reserve
    // them in recs to avoid a copy.
    void Assign(std::shared_ptr<const char[]> block, std::vector<TLineRec> recs);
    static std::size_t SpareRecords(std::size_t lines) { return lines / 32 + 64; }
    // Keeps a block alive for records that point into it.
    void KeepBlock(std::shared_ptr<const char[]> block) { m_blocks.push_back(std::move(block)); }
    void Reserve(std::size_t count);

    static void FreeExtra(TLineRec& rec);

private:
    std::size_t GapLength() const { return m_gapEnd - m_gapStart; }
    std::size_t Phys(std::size_t i) const { return i < m_gapStart ? i : i + GapLength(); }
    void MoveGap(std::size_t pos);
    void EnsureGap(std::size_t count);

    std::vector<TLineRec> m_buf; // [0, gapStart) and [gapEnd, size) are lines
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
    std::vector<std::shared_ptr<const char[]>> m_blocks;
};

} // namespace quillet

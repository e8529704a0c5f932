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
    std::string_view block; // the line's text in a loaded block while !ownsText
    std::string style; // style bytes: empty (all zero) or exactly as long as the text
    std::string aux; // opaque string carried along on splits and joins at column 0
    std::intptr_t object = 0;
    int scratch[3] = {0, 0, 0};
    bool ownsText = false; // last, where it takes no padding of its own

    std::string_view Text() const { return ownsText ? std::string_view(text) : block; }
};

// One line in 16 bytes: a span into a loaded block plus the small fixed
// per-line fields. A line with an extra keeps its span in the extra, and the
// record's pointer slot points to the extra instead; a length of kExtraLen
// marks that (a loaded line that long gets an extra with its own text).
struct TLineRec {
private:
    union {
        const char* m_text = nullptr;
        TLineExtra* m_extra;
    };
    std::uint32_t m_len = 0;

public:
    static constexpr std::uint32_t kExtraLen = UINT32_MAX;

    std::uint16_t imageBits = 0;
    std::uint8_t state = 0; // lsParsed, lsReadOnly, lsFoldBody, lsFoldExpanded, lsFoldCollapsed
    std::uint8_t lineStyle = 0; // whole-line text style, 0 = none

    bool HasExtra() const { return m_len == kExtraLen; }
    // The extra, nullptr when the line has none. Owned by the store that
    // holds the record.
    TLineExtra* Extra() const { return HasExtra() ? m_extra : nullptr; }
    std::string_view Text() const { return HasExtra() ? m_extra->Text() : std::string_view(m_text, m_len); }
    // Points a line without an extra into a loaded block; len < kExtraLen.
    void SetSpan(const char* text, std::uint32_t len)
    {
        m_text = text;
        m_len = len;
    }
    // Gives a line without an extra the extra e (which it then owns); the
    // line's span moves into e unless e holds its own text.
    void AttachExtra(TLineExtra* e);
    // Takes the extra off the record without freeing it; the span it held
    // returns to the record. nullptr when there was none.
    TLineExtra* DetachExtra();
};

// The highlighter states of one line: the state it was coloured from and the
// state at its end.
struct TLineStates {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};

// Growable gap array of line records. Inserting or erasing near the last edit
// costs O(count), independent of the number of lines; random access is O(1).
// Loaded text stays in shared read-only blocks that records point into.
// Highlighter states live in a parallel gap array with the same gap, created
// on the first non-zero state and dropped by DropStates; without it every
// line's states read as zero.
class TLineStore {
public:
    TLineStore() = default;
    ~TLineStore();
    TLineStore(const TLineStore&) = delete;
    TLineStore& operator=(const TLineStore&) = delete;

    std::size_t Count() const { return m_buf.size() - GapLength(); }

    TLineRec& Rec(std::size_t i) { return m_buf[Phys(i)]; }
    const TLineRec& Rec(std::size_t i) const { return m_buf[Phys(i)]; }

    std::string_view Text(std::size_t i) const { return Rec(i).Text(); }
    // Style bytes, empty when the line has none (all zero).
    std::string_view Style(std::size_t i) const
    {
        const TLineExtra* e = Rec(i).Extra();
        return e ? std::string_view(e->style) : std::string_view();
    }

    TLineExtra& Extra(std::size_t i);
    // The line's text as an owned string the caller may edit. Keep the style
    // bytes in step (MutableStyle) or clear them.
    std::string& MutableText(std::size_t i);
    // Style bytes sized to the text length (zero-filled when missing).
    std::string& MutableStyle(std::size_t i);
    void SetText(std::size_t i, std::string text);

    TLineStates States(std::size_t i) const { return m_states.empty() ? TLineStates{} : m_states[Phys(i)]; }
    void SetStates(std::size_t i, TLineStates states);
    bool HasStates() const { return !m_states.empty(); }
    // Frees the states: every line's read as zero again.
    void DropStates();

    // Inserts count empty lines (states zero) before index i.
    void InsertEmpty(std::size_t i, std::size_t count);
    // Inserts a record (states zero) before index i; the store takes over its extra.
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

    // Deletes the record's extra; a loaded line's text stays readable.
    static void FreeExtra(TLineRec& rec);

private:
    std::size_t GapLength() const { return m_gapEnd - m_gapStart; }
    std::size_t Phys(std::size_t i) const { return i < m_gapStart ? i : i + GapLength(); }
    void MoveGap(std::size_t pos);
    void EnsureGap(std::size_t count);

    // [0, gapStart) and [gapEnd, size) are lines, in both arrays; m_states is
    // either empty or exactly as long as m_buf.
    std::vector<TLineRec> m_buf;
    std::vector<TLineStates> m_states;
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
    std::vector<std::shared_ptr<const char[]>> m_blocks;
};

static_assert(sizeof(TLineRec) == 16, "a line record is 16 bytes");

} // namespace quillet

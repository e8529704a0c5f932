#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// Kinds of undo records and how each is replayed.
enum class TUndoKind : std::uint8_t {
    Navigate = 0, // a, b: line and column delta; replayed as Navigate(-a, -b)
    Insert = 1, // a: raw characters inserted; replayed as DeleteRight(a)
    Break = 2, // replayed as JoinLines
    Join = 3, // replayed as BreakLine
    Delete = 4, // text, style: removed text; replayed as Insert(text)
    StyleBytes = 5, // a: line, b: 1-based position, style: previous bytes
    // Several lines inserted at once at the caret: a line breaks, b raw
    // characters on the last inserted line; replayed by deleting that span.
    InsertLines = 6,
    // A span across line breaks removed at once: text and style hold the
    // pieces back to back, pieceLengths their raw lengths (one more piece than
    // line breaks); replayed by inserting the pieces as lines at the caret.
    DeleteLines = 7,
    // One text replaced at many places of many lines in one step (replace
    // all). text and style hold the lines' previous texts and style bytes back
    // to back; pieceLengths holds, per line, its index, text length, style
    // length, the number of places and their raw starts in the previous
    // text. Each place spans a raw characters now and b before. Replayed by
    // putting the previous texts back, which records the current ones.
    LineTexts = 8,
};

struct TUndoRecord {
    TUndoKind kind = TUndoKind::Navigate;
    std::uint8_t changeKind = 0;
    bool firstOfStep = false;
    bool inBlock = false;
    // InsertLines and DeleteLines: the columns of what follows the block on its
    // last line are measured with the last piece at the line start (the route
    // that breaks the line before inserting, and deletes before joining)
    // rather than behind the head of the first line.
    bool lastAtLineStart = false;
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::uint32_t blockSerial = 0; // the undo block a record belongs to (0 = none)
    std::string text;
    std::string style;
    std::vector<std::uint32_t> pieceLengths; // DeleteLines only

    // Caret moves and style changes do not change the document's content.
    bool IsContent() const { return kind != TUndoKind::Navigate && kind != TUndoKind::StyleBytes; }
};

// One history (undo or redo), oldest record first.
class TUndoList {
public:
    std::size_t Count() const { return m_items.size(); }
    bool Empty() const { return m_items.empty(); }
    TUndoRecord& Last() { return m_items.back(); }
    const TUndoRecord& At(std::size_t i) const { return m_items[i]; }
    void Push(TUndoRecord rec)
    {
        if (rec.IsContent()) {
            m_lastContent = static_cast<long>(m_items.size());
        }
        m_items.push_back(std::move(rec));
    }
    void Pop();
    void Clear()
    {
        m_items.clear();
        m_items.shrink_to_fit();
        m_lastContent = -1;
    }
    // Removes the count oldest records.
    void DropOldest(std::size_t count);
    // How many of the oldest records to drop so that keep remain, lowered so
    // that no undo block is cut in two; 0 when nothing may go.
    std::size_t OldestCut(std::size_t keep) const;
    // Whether any of the count oldest records is a content record.
    bool HasContentBefore(std::size_t count) const;
    // Index of the last content record, or -1.
    long LastContentIndex() const { return m_lastContent; }
    // Whether any content record lies at an index > from.
    bool HasContentAfter(long from) const { return m_lastContent > from; }

private:
    std::vector<TUndoRecord> m_items;
    long m_lastContent = -1; // kept current so the modified test costs O(1)
};

} // namespace quillet

#include "hex/BinarySearch.h"

#include "hex/HexDocument.h"

#include <algorithm>

namespace quillet {

std::optional<TSearchRange> SearchRange(const THexDocument& document, const TBinarySearchState& state)
{
    const std::int64_t lastByte = static_cast<std::int64_t>(document.GetDataSize()) - 1;
    const std::int64_t cursor = document.GetCursorPos();
    if (state.selectionScope) {
        if (!document.HasSelection()) {
            return std::nullopt;
        }
        const std::int64_t low = std::min(document.GetSelStart(), document.GetSelEnd());
        const std::int64_t high = std::max(document.GetSelStart(), document.GetSelEnd());
        return TSearchRange{state.entireScope ? low : std::min(low, cursor), high};
    }
    return TSearchRange{state.entireScope ? 0 : cursor, lastByte};
}

std::int64_t FindAndSelect(
    THexDocument& document, const TBinarySearchState& state, std::int64_t first, std::int64_t last)
{
    std::vector<std::uint8_t> pattern = state.bytes;
    const bool ignoreCase = state.asText && !state.caseSensitive;
    const std::int64_t found = document.Find(pattern, ignoreCase, last, first);
    if (found < 0) {
        return -1;
    }
    const auto length = static_cast<std::int64_t>(state.bytes.size());
    const std::int64_t lastByte = static_cast<std::int64_t>(document.GetDataSize()) - 1;
    // In insert mode the cursor goes one past the match, or stays on its last
    // byte when the match ends the data.
    const std::int64_t cursor = std::min(found + length - (document.GetIsInsertMode() ? 0 : 1), lastByte);
    document.SetSelStart(cursor);
    document.SetSelEnd(found);
    return found;
}

std::int64_t FindNext(THexDocument& document, TBinarySearchState& state)
{
    std::int64_t start = state.lastMatch;
    if (start >= 0 && document.GetSelEnd() == state.lastMatch) {
        ++start;
    }
    const std::int64_t last = static_cast<std::int64_t>(document.GetDataSize()) - 1;
    state.lastMatch = state.bytes.empty() ? -1 : FindAndSelect(document, state, std::max<std::int64_t>(start, 0), last);
    return state.lastMatch;
}

int ReplaceLoop(THexDocument& document,
    TBinarySearchState& state,
    const TSearchRange& range,
    bool replaceAll,
    const std::function<TReplaceAnswer()>& ask,
    const std::function<void()>& pump)
{
    int found = 0;
    bool allAnswered = false;
    std::int64_t first = range.first;
    std::int64_t last = range.last;
    const auto length = static_cast<std::int64_t>(state.bytes.size());
    const auto replacementLength = static_cast<std::int64_t>(state.replacement.size());
    while (true) {
        const std::int64_t match = FindAndSelect(document, state, first, last);
        if (match < 0) {
            break;
        }
        ++found;
        state.lastMatch = match;
        TReplaceAnswer answer = replaceAll ? TReplaceAnswer::All : TReplaceAnswer::Yes;
        if (state.prompt && !allAnswered) {
            answer = ask ? ask() : TReplaceAnswer::Cancel;
            allAnswered = answer == TReplaceAnswer::All;
        }
        if (answer == TReplaceAnswer::Cancel) {
            break;
        }
        const bool replace = answer != TReplaceAnswer::No;
        if (replace) {
            document.DeleteSelection();
            // At the match itself: when the match ended the data the cursor now
            // stands on the byte before it.
            document.InsertBuffer(state.replacement.data(), replacementLength, match);
            if (state.selectionScope && replacementLength < length) {
                // A shorter replacement pulls the bytes after the selection
                // into the range: keep the range on the selection's bytes.
                last -= length - replacementLength;
            }
        }
        if (!replaceAll) {
            break;
        }
        first = replace ? match + replacementLength : match + 1;
        if (pump) {
            pump();
        }
    }
    return found;
}

std::optional<std::string> FindPreset(THexDocument& document)
{
    const std::int64_t size = static_cast<std::int64_t>(document.GetDataSize());
    const std::int64_t cursor = document.CursorOffset();
    if (cursor >= size - 2) {
        return std::nullopt;
    }
    std::int64_t from = cursor;
    std::int64_t count = 2;
    if (document.HasSelection()) {
        from = document.SelLow();
        count = std::min(document.GetSelCount(), kPresetLimit);
    }
    if (from < 0 || from >= size || count <= 0) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> bytes = document.BufferFromFile(from, count);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace quillet

#pragma once

#include "text/MemoSearch.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

class THexDocument;

// The find and replace state of one binary document window.
struct TBinarySearchState {
    bool caseSensitive = false;
    bool asText = true; // "Find data as text value"; off: hexadecimal digits
    bool prompt = false;
    bool selectionScope = false; // "Selected text" instead of "Global"
    bool entireScope = false; // "Entire scope" instead of "From cursor"
    std::string text; // as typed
    std::string replaceText;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> replacement;
    std::int64_t lastMatch = -1;
};

// The offsets a search covers, or nullopt when the scope is the selection
// and there is none.
struct TSearchRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
};
std::optional<TSearchRange> SearchRange(const THexDocument& document, const TBinarySearchState& state);

// Finds in [first, last] and selects a match with the cursor on its last
// byte (one past it in insert mode, where that byte exists); returns the
// match offset or -1.
std::int64_t FindAndSelect(
    THexDocument& document, const TBinarySearchState& state, std::int64_t first, std::int64_t last);

// Find Next: from the last match (one past it while it is still selected)
// to the end of the data; the result becomes the new last match.
std::int64_t FindNext(THexDocument& document, TBinarySearchState& state);

// The replace loop of "Replace Data". replaceAll is the dialog's "Replace
// All" button (else OK: one match). ask is consulted for each match while
// prompting; pump lets pending events run between matches. Returns the number
// of matches found (0: nothing found).
int ReplaceLoop(THexDocument& document,
    TBinarySearchState& state,
    const TSearchRange& range,
    bool replaceAll,
    const std::function<TReplaceAnswer()>& ask,
    const std::function<void()>& pump);

// The text the find box starts with at the cursor: the two bytes there, or
// the selected bytes (at most kPresetLimit), as characters; nullopt when the
// cursor is within the last two bytes.
inline constexpr std::int64_t kPresetLimit = 256;
std::optional<std::string> FindPreset(THexDocument& document);

} // namespace quillet

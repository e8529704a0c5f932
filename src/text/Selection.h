#pragma once

#include "text/TextPoint.h"

#include <utility>

namespace quillet {

// The shape of a selection: its kind and the rectangle of its two ends. A
// stream selection runs from (left, top) to (right, bottom), the right end
// excluded; a column selection covers columns left..right of lines
// top..bottom, both ends included.
struct TSelection {
    TSelKind kind = TSelKind::selNone;
    TTextRect rect{};

    // Whether a selection of the given kind over rect covers nothing; a kind
    // of selNone is always empty.
    static bool IsEmpty(TSelKind kind, const TTextRect& rect);
    bool IsEmpty() const { return IsEmpty(kind, rect); }
    // The ends put in order for the kind: a column rectangle with left <= right
    // and top <= bottom, a stream with its start before its end; negative
    // values become 0.
    static TTextRect Normalized(TSelKind kind, TTextRect rect);
    // Column range [from, to) selected on a line; {0, 0} when none. Lines in
    // the middle of a stream and the tail of its first line run to INT_MAX.
    std::pair<int, int> Bounds(int line) const;
    bool Contains(int col, int line) const;
};

// The kind a request for a selection turns into under a block option.
TSelKind FilterSelectionKind(TBlockOption option, TSelKind kind);

} // namespace quillet

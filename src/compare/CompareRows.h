#pragma once

#include "compare/Diff.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quillet {

// Text styles (and gutter images of the same names) that mark difference rows.
inline constexpr int kAddedLinesStyle = 26; // "Added Lines": only on the right
inline constexpr int kDeletedLinesStyle = 27; // "Deleted Lines": only on the left
inline constexpr int kModifiedLinesStyle = 28; // "Modified Lines": on both sides, different

// One row of the side-by-side views: the line of each side shown on it, or -1
// for a filler row, and the style both rows carry (0 for equal rows).
struct TCompareRow {
    std::int32_t left = -1;
    std::int32_t right = -1;
    int style = 0;
    friend bool operator==(const TCompareRow&, const TCompareRow&) = default;
};

// Aligns the two sides by the change list: equal rows, then per record its
// added (left filler), modified or deleted (right filler) rows. In
// differences-only mode only the records' rows are built. Lines a faulty
// change list points past are left out rather than read.
std::vector<TCompareRow> BuildCompareRows(
    std::span<const TChangeRec> changes, std::int32_t leftCount, std::int32_t rightCount, bool differencesOnly);

// The 1-based line number row (0-based) shows in differences-only mode: the
// record the row falls in gives x (left) or y (right) plus the row's place in
// it. 0 when the row lies beyond all records.
int DifferencesOnlyLineNumber(std::span<const TChangeRec> changes, int row, bool leftSide);

} // namespace quillet

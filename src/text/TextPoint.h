#pragma once

#include <cstdint>

namespace quillet {

// A place in the text: display column and line, both 0-based.
struct TTextPoint {
    int col = 0;
    int line = 0;
    bool operator==(const TTextPoint&) const = default;
};
inline bool operator<(const TTextPoint& a, const TTextPoint& b)
{
    return a.line != b.line ? a.line < b.line : a.col < b.col;
}

// Left/right are display columns, top/bottom lines (all inclusive bounds of the
// stored selection ends; see TSelection for what each kind covers).
struct TTextRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TTextRect&) const = default;
};

enum class TSelKind : std::uint8_t { selNone = 0, selStream = 1, selColumn = 2 };
enum class TBlockOption : std::uint8_t { bkNone, bkStreamSel, bkBlockSel, bkBoth };

} // namespace quillet

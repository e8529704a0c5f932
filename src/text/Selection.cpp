#include "text/Selection.h"

#include <algorithm>
#include <climits>

namespace quillet {

bool TSelection::IsEmpty(TSelKind kind, const TTextRect& r)
{
    switch (kind) {
    case TSelKind::selStream:
        return r.bottom < r.top || (r.bottom == r.top && r.left >= r.right);
    case TSelKind::selColumn:
        return r.bottom < r.top || r.right < r.left;
    case TSelKind::selNone:
        break;
    }
    return true;
}

TTextRect TSelection::Normalized(TSelKind kind, TTextRect r)
{
    if (kind == TSelKind::selColumn) {
        if (r.left > r.right) {
            std::swap(r.left, r.right);
        }
        if (r.top > r.bottom) {
            std::swap(r.top, r.bottom);
        }
    } else if (TTextPoint{r.right, r.bottom} < TTextPoint{r.left, r.top}) {
        std::swap(r.left, r.right);
        std::swap(r.top, r.bottom);
    }
    return {std::max(0, r.left), std::max(0, r.top), std::max(0, r.right), std::max(0, r.bottom)};
}

std::pair<int, int> TSelection::Bounds(int line) const
{
    if (IsEmpty()) {
        return {0, 0};
    }
    const TTextRect& r = rect;
    if (line < r.top || line > r.bottom) {
        return {0, 0};
    }
    if (kind == TSelKind::selColumn) {
        return {r.left, r.right + 1};
    }
    if (r.top == r.bottom) {
        return {r.left, r.right};
    }
    if (line == r.top) {
        return {r.left, INT_MAX};
    }
    if (line == r.bottom) {
        return {0, r.right};
    }
    return {0, INT_MAX};
}

bool TSelection::Contains(int col, int line) const
{
    auto [from, to] = Bounds(line);
    return from <= col && col < to;
}

TSelKind FilterSelectionKind(TBlockOption option, TSelKind kind)
{
    switch (option) {
    case TBlockOption::bkNone:
        return TSelKind::selNone;
    case TBlockOption::bkStreamSel:
        return kind != TSelKind::selNone ? TSelKind::selStream : kind;
    case TBlockOption::bkBlockSel:
        return kind != TSelKind::selNone ? TSelKind::selColumn : kind;
    case TBlockOption::bkBoth:
        break;
    }
    return kind;
}

} // namespace quillet

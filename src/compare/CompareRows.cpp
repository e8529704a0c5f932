#include "compare/CompareRows.h"

namespace quillet {

std::vector<TCompareRow> BuildCompareRows(
    std::span<const TChangeRec> changes, std::int32_t leftCount, std::int32_t rightCount, bool differencesOnly)
{
    std::vector<TCompareRow> rows;
    const auto leftLine = [&](std::int32_t i) {
        return i >= 0 && i < leftCount ? i : -1;
    };
    const auto rightLine = [&](std::int32_t i) {
        return i >= 0 && i < rightCount ? i : -1;
    };
    std::int32_t n = 0;
    std::int32_t m = 0;
    for (const TChangeRec& change : changes) {
        if (change.x < n || change.x > leftCount || change.Range <= 0) {
            continue; // out of order or beyond the text: not a record of these sides
        }
        if (differencesOnly) {
            m += change.x - n;
            n = change.x;
        }
        while (n < change.x) {
            rows.push_back({n++, rightLine(m++), 0});
        }
        switch (change.Kind) {
        case TChangeKind::Add:
            for (std::int32_t j = 0; j < change.Range; ++j) {
                if (rightLine(m + j) >= 0) {
                    rows.push_back({-1, m + j, kAddedLinesStyle});
                }
            }
            n = change.x;
            m = change.y + change.Range;
            break;
        case TChangeKind::Modify:
            for (std::int32_t j = 0; j < change.Range; ++j) {
                rows.push_back({leftLine(change.x + j), rightLine(m + j), kModifiedLinesStyle});
            }
            n = change.x + change.Range;
            m = change.y + change.Range;
            break;
        case TChangeKind::Delete:
            for (std::int32_t j = 0; j < change.Range && change.x + j < leftCount; ++j) {
                rows.push_back({change.x + j, -1, kDeletedLinesStyle});
            }
            n = change.x + change.Range;
            break;
        }
    }
    if (!differencesOnly) {
        while (n < leftCount) {
            rows.push_back({n++, rightLine(m++), 0});
        }
    }
    return rows;
}

int DifferencesOnlyLineNumber(std::span<const TChangeRec> changes, int row, bool leftSide)
{
    const std::int64_t q = std::int64_t{row} + 1;
    std::int64_t before = 0;
    for (const TChangeRec& change : changes) {
        if (before + change.Range >= q) {
            return static_cast<int>((leftSide ? change.x : change.y) + q - before);
        }
        before += change.Range;
    }
    return 0;
}

} // namespace quillet

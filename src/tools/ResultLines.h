#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Markers inside a display line: text between them is drawn bold. They are
// never drawn and never copied.
inline constexpr std::string_view kBoldOn = "[(+b)]";
inline constexpr std::string_view kBoldOff = "[(-b)]";

// How much of a long line a display line shows around its match (characters
// on each side, and of the match itself). The navigation record stays exact.
inline constexpr std::size_t kDisplayContext = 160;
inline constexpr std::size_t kDisplayMatchLimit = 400;

// The display line of one match: file name, "(", line and column (both
// 1-based), "): " and the line's text with the match between the bold markers.
// `line` and `column` are 0-based; a match that ends on a later line gets its
// bold-off marker at the end of the line. A line longer than the context shows
// "..." where it was cut.
std::string FindResultLine(std::string_view fileName,
    std::size_t line,
    std::size_t column,
    std::size_t length,
    std::string_view lineText,
    bool endsOnLaterLine = false);
// The two halves of that line, appended to `out`: the head up to and with
// "): ", and the marked-up text after it.
void AppendFindResultHead(std::string& out, std::string_view fileName, std::size_t line, std::size_t column);
void AppendFindResultText(
    std::string& out, std::size_t column, std::size_t length, std::string_view lineText, bool endsOnLaterLine = false);

// A navigation record "X;Y;file": 0-based column and line of the match start.
std::string NavigationRecordText(std::size_t column, std::size_t line, std::string_view fileName);

struct TNavigationTarget {
    int column = -1;
    int line = -1;
    std::string fileName;
};
// Reads "X;Y;file": the numbers before the first and second ";" (-1 when not
// a number), the file the rest. An empty record gives nothing.
std::optional<TNavigationTarget> ParseNavigationRecord(std::string_view record);

// The display line without its markers.
std::string StripMarkers(std::string_view displayLine);
// The same, appended to `out`.
void AppendStripped(std::string& out, std::string_view displayLine);

// A display line cut into what is drawn: visual rows (a CR LF pair starts a
// new row) of runs in plain or bold. Bold carries over to the next row.
struct TDisplayRun {
    std::string text;
    bool bold = false;
    bool operator==(const TDisplayRun&) const = default;
};
using TDisplayRow = std::vector<TDisplayRun>;
std::vector<TDisplayRow> LayoutDisplayLine(std::string_view displayLine);

// The navigation record of a display line and the open document it came from
// (the owner's non-zero key for it, 0 for a file).
struct TNavigationRecord {
    std::string text;
    std::uint64_t documentKey = 0;
};

} // namespace quillet

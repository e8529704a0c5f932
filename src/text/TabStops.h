#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Tab stops of a buffer: a strictly increasing list of positive display
// columns, continued past its end at a fixed interval (last minus
// second-to-last, or the single value). All arithmetic saturates at INT_MAX so
// huge columns never overflow.
class TTabStops {
public:
    TTabStops();

    // Parses "9,17"-style text. An empty text means the single stop 8. On an
    // invalid list returns false, sets error to "Invalid Tab Rack" and keeps the
    // previous stops.
    bool Parse(std::string_view text, std::string* error = nullptr);
    const std::string& Text() const { return m_text; }

    // First stop strictly right of col (col >= 0).
    int NextStop(int col) const;
    // First stop at or right of col.
    int StopAtOrAfter(int col) const;
    // The stop before the first stop >= col, or 0 when there is none.
    int PrevStop(int col) const;

private:
    std::vector<int> m_stops; // never empty
    int m_interval = 8;
    std::string m_text = "9,17";
};

// Column arithmetic over one raw line (tabs unexpanded). All linear in the line.
namespace tabs {
// Display width of the whole raw line.
int DisplayLength(std::string_view raw, const TTabStops& stops);
// Raw index of the character whose span covers display column col; past the end
// the result continues one index per column. spanStart receives the display
// column where that character starts (col itself past the end).
int ColToRaw(std::string_view raw, int col, const TTabStops& stops, int* spanStart = nullptr);
// Display column where raw index idx starts (idx may be past the end).
int RawToCol(std::string_view raw, int idx, const TTabStops& stops);
// The line with every tab replaced by spaces up to the next stop.
std::string Expand(std::string_view raw, const TTabStops& stops);
// Raw style bytes expanded to display columns; every column of a tab gets the
// tab's byte. Missing bytes count as 0.
std::string ExpandStyle(std::string_view raw, std::string_view style, const TTabStops& stops);
} // namespace tabs

} // namespace quillet

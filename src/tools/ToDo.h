#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The two keywords that open a to-do comment, matched without regard to case.
inline constexpr std::string_view kToDoKeyword = "{ TODO ";
inline constexpr std::string_view kDoneKeyword = "{ DONE ";

// One to-do comment found in a text: "{ TODO header: text }" where the header
// holds an optional priority digit and the " -o" owner and " -c" category
// markers. Lines are 0-based; columns are 1-based character positions in the
// stored line (tabs count as one character).
struct TToDoItem {
    std::string priority; // "" or "1".."5"
    std::string owner;
    std::string category;
    std::string text; // multi-line texts end every line with CR LF
    int startLine = 0; // line of the keyword
    int endLine = 0; // line of the closing "}"
    int startColumn = 0; // position of the keyword's "{"
    int endColumn = 0; // position of the closing "}"
    bool done = false; // found with "{ DONE "

    bool operator==(const TToDoItem&) const = default;
};

// Read access to the lines of a document.
struct TToDoLines {
    int count = 0;
    std::function<std::string_view(int line)> line;
};

// Finds the closing "}" of multi-line items. It remembers the next line that
// holds a "}" so that a scan from top to bottom reads each line for it only
// once, however many comments never close.
class TToDoBraceFinder {
public:
    explicit TToDoBraceFinder(const TToDoLines& lines)
        : m_lines(lines)
    {
    }
    // The first line after `line` that holds a "}", or -1 when none does.
    int NextAfter(int line);

private:
    const TToDoLines& m_lines;
    bool m_valid = false;
    int m_from = 0;
    int m_found = -1; // the first line >= m_from holding a "}", -1 when none does
};

// Tests line `line` for `keyword` (kToDoKeyword or kDoneKeyword): true and
// the item's fields when the first occurrence of the keyword on the line has a
// ":" after it on that line and a closing "}" after the ":" on that line or a
// later one. `item` is cleared as soon as the keyword is found. A finder may
// be shared by the calls of one scan; without one each call searches anew.
bool jetoToDo(
    const TToDoLines& lines, int line, std::string_view keyword, TToDoItem& item, TToDoBraceFinder* finder = nullptr);

// Every to-do item of the text in document order. The continuation lines of a
// multi-line item are not searched again, its end line is. `progress` is
// called with each line index before that line is tested.
std::vector<TToDoItem> ScanToDoItems(const TToDoLines& lines, const std::function<void(int line)>& progress = {});

// The item's caption: its text with every CR LF replaced by one blank.
std::string ToDoCaption(std::string_view text);

// Appends each non-empty value not yet listed (compared exactly), keeping
// the order of first appearance.
void AddDistinct(std::vector<std::string>& list, const std::string& value);

} // namespace quillet

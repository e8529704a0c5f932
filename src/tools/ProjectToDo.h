#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TIniDocument;

// One item of a project's own to-do list (not tied to any document text).
struct TProjectToDoItem {
    std::string text; // lines end with CR LF
    std::string priority;
    std::string owner;
    std::string category;
    bool done = false;

    bool operator==(const TProjectToDoItem&) const = default;
};

// The item dialog of the project list accepts at most this many characters of text.
inline constexpr std::size_t kProjectToDoTextLimit = 200;

// Multi-line values of a project file: enclosed in single quotes with every
// CR LF written as the eight characters '#$D#$A'. A lone CR or LF is written
// as CR LF first, so no line break can reach the file.
std::string QuoteProjectValue(std::string_view value);
// The reverse: enclosing quotes removed, '#$D#$A' back to CR LF. A value
// without enclosing quotes is returned as it is.
std::string UnquoteProjectValue(std::string_view stored);

// The list in section "ToDo": "count" and per item i "text"i, "priority"i,
// "owner"i, "category"i and "state"i ("1" done). A count larger than the
// section can hold is not believed.
std::vector<TProjectToDoItem> ReadProjectToDo(const TIniDocument& project);
// Replaces section "ToDo"; an empty list leaves no section at all.
void WriteProjectToDo(TIniDocument& project, const std::vector<TProjectToDoItem>& items);

} // namespace quillet

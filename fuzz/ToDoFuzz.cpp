// To-do comments: the scanner reads any text, and every item it reports names
// a comment where it says (its keyword at the start, its "}" at the end, in
// document order). Marking, editing or deleting one item with fields from the
// input, as the To-Do List does, leaves every row kept in the list naming a
// comment of the new text, and an edited item reads back where its row says.
//
// Input: NUL-separated parts: the document, two control bytes (the operation
// and the item), then the text, owner, category and priority of an edit.
#include "FuzzSupport.h"
#include "tools/ToDo.h"
#include "tools/ToDoRewrite.h"

#include <algorithm>

using namespace quillet;

namespace {

TToDoLines LinesOf(const std::vector<std::string>& lines)
{
    return {static_cast<int>(lines.size()), [&lines](int line) {
                return std::string_view(lines[static_cast<std::size_t>(line)]);
            }};
}

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

// The row's keyword stands at its start and its "}" at its end.
bool NamesAComment(const std::vector<std::string>& lines, const TToDoItem& row)
{
    const int count = static_cast<int>(lines.size());
    if (row.startLine < 0 || row.startLine > row.endLine || row.endLine >= count || row.startColumn < 1
        || row.endColumn < 1) {
        return false;
    }
    const std::string& first = lines[static_cast<std::size_t>(row.startLine)];
    const std::string& last = lines[static_cast<std::size_t>(row.endLine)];
    const auto start = static_cast<std::size_t>(row.startColumn - 1);
    const auto end = static_cast<std::size_t>(row.endColumn - 1);
    const std::string_view keyword = row.done ? kDoneKeyword : kToDoKeyword;
    return start + keyword.size() <= first.size() && Upper(first.substr(start, keyword.size())) == keyword
        && end < last.size() && last[end] == '}' && (row.startLine < row.endLine || end > start);
}

void CheckRows(const std::vector<std::string>& lines, const std::vector<TToDoItem>& rows, const char* what)
{
    for (const TToDoItem& row : rows) {
        fuzz::Check(NamesAComment(lines, row), what);
    }
}

std::string Part(const std::vector<std::string>& parts, std::size_t i)
{
    return i < parts.size() ? parts[i] : std::string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> parts = fuzz::SplitAtNul(fuzz::Bytes(data, size));
    std::vector<std::string> lines = SplitToDoText(parts[0]);
    std::vector<TToDoItem> rows = ScanToDoItems(LinesOf(lines));
    CheckRows(lines, rows, "a scanned item names a comment");
    for (std::size_t k = 1; k < rows.size(); ++k) {
        fuzz::Check(rows[k - 1].startLine < rows[k].startLine, "items come in document order, one per line");
    }
    for (const TToDoItem& row : rows) {
        fuzz::Check(ToDoCaption(row.text).find_first_of("\r\n") == std::string::npos, "captions are one line");
    }
    const std::string control = Part(parts, 1);
    if (rows.empty() || control.size() < 2) {
        return 0;
    }
    const auto index = static_cast<std::size_t>(static_cast<unsigned char>(control[1])) % rows.size();
    const TToDoItem item = rows[index];
    switch (static_cast<unsigned char>(control[0]) % 3) {
    case 0: {
        ApplySplice(lines, MarkSplice(item, !item.done));
        rows[index].done = !item.done;
        CheckRows(lines, rows, "rows name comments after a mark");
        break;
    }
    case 1: {
        const TToDoFields fields = CleanToDoFields({Part(parts, 2), Part(parts, 5), Part(parts, 3), Part(parts, 4)});
        const std::string keyword =
            lines[static_cast<std::size_t>(item.startLine)].substr(static_cast<std::size_t>(item.startColumn - 1), 7);
        ApplySplice(lines, EditSplice(item, keyword, fields));
        const std::vector<std::size_t> removed = ApplyEditToRows(rows, index, fields);
        CheckRows(lines, rows, "rows name comments after an edit");
        // Rows removed before it move the edited row up.
        const auto before = std::count_if(removed.begin(), removed.end(), [index](std::size_t r) {
            return r < index;
        });
        const TToDoItem& edited = rows[index - static_cast<std::size_t>(before)];
        TToDoItem reread;
        fuzz::Check(jetoToDo(LinesOf(lines), edited.startLine, edited.done ? kDoneKeyword : kToDoKeyword, reread),
            "an edited item reads back");
        fuzz::Check(reread.startColumn == edited.startColumn && reread.endLine == edited.endLine
                && reread.endColumn == edited.endColumn && reread.priority == edited.priority,
            "an edited item reads back where its row says");
        break;
    }
    default: {
        ApplySplice(lines, DeleteSplice(item));
        ApplyDeleteToRows(rows, index);
        CheckRows(lines, rows, "rows name comments after a delete");
        break;
    }
    }
    return 0;
}

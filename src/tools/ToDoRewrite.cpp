#include "tools/ToDoRewrite.h"

#include <algorithm>
#include <utility>

namespace quillet {

namespace {

std::string Without(std::string text, std::string_view characters)
{
    text.erase(std::remove_if(text.begin(),
                   text.end(),
                   [characters](char c) {
                       return characters.find(c) != std::string_view::npos;
                   }),
        text.end());
    return text;
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return std::string(text);
}

int Length(std::string_view text)
{
    return static_cast<int>(text.size());
}

// Keeps the other rows in step once the text of rows[index], which spanned
// `old`, changed: rows that begin on its old end line after its "}" move by
// `columnShift` characters, and every later row by `lineShift` lines. A row
// whose comment overlaps the old one (one nested in a multi-line comment, or
// the multi-line comment around it) was rewritten too and no longer names a
// comment: it is removed, and its former index returned (ascending). With
// keepIndex false, rows[index] itself is removed as well, without being listed.
std::vector<std::size_t> KeepRowsInStep(std::vector<TToDoItem>& rows,
    std::size_t index,
    const TToDoItem& old,
    int columnShift,
    int lineShift,
    bool keepIndex)
{
    using TPosition = std::pair<int, int>; // line, column
    const TPosition oldStart{old.startLine, old.startColumn};
    const TPosition oldEnd{old.endLine, old.endColumn};
    std::vector<std::size_t> removed;
    std::vector<TToDoItem> kept;
    kept.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        TToDoItem row = std::move(rows[k]);
        if (k == index) {
            if (keepIndex) {
                kept.push_back(std::move(row));
            }
            continue;
        }
        if (TPosition{row.startLine, row.startColumn} <= oldEnd && TPosition{row.endLine, row.endColumn} >= oldStart) {
            removed.push_back(k);
            continue;
        }
        if (k > index) {
            if (row.startLine == old.endLine) {
                row.startColumn += columnShift;
                if (row.endLine == old.endLine) {
                    row.endColumn += columnShift;
                }
            }
            row.startLine += lineShift;
            row.endLine += lineShift;
        }
        kept.push_back(std::move(row));
    }
    rows = std::move(kept);
    return removed;
}

} // namespace

TToDoFields CleanToDoFields(TToDoFields fields)
{
    fields.text = Without(std::move(fields.text), "}");
    fields.owner = Without(std::move(fields.owner), "}:\r\n");
    fields.category = Without(std::move(fields.category), "}:\r\n");
    fields.priority = fields.priority.size() == 1 && fields.priority[0] >= '1' && fields.priority[0] <= '5'
        ? fields.priority
        : std::string();
    return fields;
}

std::string ToDoAttributes(const TToDoFields& fields)
{
    std::string attributes;
    if (!fields.priority.empty()) {
        attributes += fields.priority + " ";
    }
    if (const std::string owner = Trimmed(fields.owner); !owner.empty()) {
        attributes += "-o" + owner + " ";
    }
    if (const std::string category = Trimmed(fields.category); !category.empty()) {
        attributes += "-c" + category + " ";
    }
    return attributes;
}

std::string NewToDoComment(const TToDoFields& fields)
{
    return std::string(kToDoKeyword) + ToDoAttributes(fields) + ": " + fields.text + " }";
}

std::vector<std::string> SplitToDoText(std::string_view text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    if (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::string ToCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

TToDoSplice MarkSplice(const TToDoItem& item, bool done)
{
    // The word after "{ " and before the blank: four characters from C + 1.
    return {item.startLine, item.startColumn + 1, item.startLine, item.startColumn + 5, done ? "DONE" : "TODO"};
}

TToDoSplice EditSplice(const TToDoItem& item, std::string_view keyword, const TToDoFields& fields)
{
    std::string text = std::string(keyword) + ToDoAttributes(fields) + ": ";
    const std::vector<std::string> lines = SplitToDoText(fields.text);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        text += (k > 0 ? "\n" : "") + lines[k];
    }
    text += " }";
    return {item.startLine, item.startColumn - 1, item.endLine, item.endColumn, std::move(text)};
}

TToDoSplice DeleteSplice(const TToDoItem& item)
{
    return {item.startLine, item.startColumn - 1, item.endLine, item.endColumn, {}};
}

std::vector<std::size_t> ApplyEditToRows(std::vector<TToDoItem>& rows, std::size_t index, const TToDoFields& fields)
{
    if (index >= rows.size()) {
        return {};
    }
    TToDoItem& row = rows[index];
    const TToDoItem old = row;
    const std::vector<std::string> lines = SplitToDoText(fields.text);
    const int n = static_cast<int>(lines.size());
    const int newEndColumn = n == 1
        ? row.startColumn + 6 + Length(ToDoAttributes(fields)) + 2 + Length(lines.front()) + 2
        : Length(lines.back()) + 2;
    const int lineShift = n - (row.endLine - row.startLine + 1);
    row.text = ToCrLf(fields.text);
    row.priority = fields.priority;
    row.owner = fields.owner;
    row.category = fields.category;
    row.endLine = row.startLine + n - 1;
    row.endColumn = newEndColumn;
    return KeepRowsInStep(rows, index, old, newEndColumn - old.endColumn, lineShift, true);
}

std::vector<std::size_t> ApplyDeleteToRows(std::vector<TToDoItem>& rows, std::size_t index)
{
    if (index >= rows.size()) {
        return {};
    }
    const TToDoItem row = rows[index];
    // What followed the "}" now follows the characters before the "{".
    return KeepRowsInStep(
        rows, index, row, (row.startColumn - 1) - row.endColumn, -(row.endLine - row.startLine), false);
}

void ApplySplice(std::vector<std::string>& lines, const TToDoSplice& splice)
{
    if (splice.firstLine < 0 || splice.lastLine >= static_cast<int>(lines.size())
        || splice.firstLine > splice.lastLine) {
        return;
    }
    const std::string& first = lines[static_cast<std::size_t>(splice.firstLine)];
    const std::string& last = lines[static_cast<std::size_t>(splice.lastLine)];
    const std::string head =
        first.substr(0, std::min<std::size_t>(first.size(), static_cast<std::size_t>(splice.firstChar)));
    const std::string tail = static_cast<std::size_t>(splice.lastChar) < last.size()
        ? last.substr(static_cast<std::size_t>(splice.lastChar))
        : "";
    std::vector<std::string> replacement(1, head);
    for (char c : splice.text) {
        if (c == '\n') {
            replacement.emplace_back();
        } else {
            replacement.back() += c;
        }
    }
    replacement.back() += tail;
    lines.erase(lines.begin() + splice.firstLine, lines.begin() + splice.lastLine + 1);
    lines.insert(lines.begin() + splice.firstLine, replacement.begin(), replacement.end());
}

} // namespace quillet

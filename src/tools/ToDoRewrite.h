#pragma once

#include "tools/ToDo.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// What the To-Do Item dialog gives: the text (lines may end with CR LF, LF or
// CR) and the attributes as typed.
struct TToDoFields {
    std::string text;
    std::string priority; // "" or "1".."5"
    std::string owner;
    std::string category;
};

// The fields as they may be written into a comment: "}" removed from all
// three texts (it would close the comment early), ":" from owner and category
// (it would end the header early) and line breaks from them too (the header
// must stay on the keyword's line), however they got there.
TToDoFields CleanToDoFields(TToDoFields fields);

// The header attributes: priority + " ", "-o" + owner + " ", "-c" + category
// + " ", each only when set (owner and category trimmed).
std::string ToDoAttributes(const TToDoFields& fields);
// The comment Add To-Do Item inserts: "{ TODO " + attributes + ": " + text + " }".
std::string NewToDoComment(const TToDoFields& fields);
// The text's lines; a final empty line is not counted. Never empty.
std::vector<std::string> SplitToDoText(std::string_view text);
// The text with every line break written as CR LF, as items keep it.
std::string ToCrLf(std::string_view text);

// A replacement in a document: the characters from (firstLine, firstChar) up
// to (lastLine, lastChar), exclusive, become `text` ("\n" separates lines).
// Lines and characters are 0-based indices into the stored lines.
struct TToDoSplice {
    int firstLine = 0;
    int firstChar = 0;
    int lastLine = 0;
    int lastChar = 0;
    std::string text;
};

// Marking done or open: the keyword's four letters become "DONE" or "TODO".
TToDoSplice MarkSplice(const TToDoItem& item, bool done);
// Rewriting an item with new fields; `keyword` is the seven keyword
// characters as they stand in the document (their case is kept).
TToDoSplice EditSplice(const TToDoItem& item, std::string_view keyword, const TToDoFields& fields);
// Removing the comment; the text around it joins on one line.
TToDoSplice DeleteSplice(const TToDoItem& item);

// The list kept in step with the text after a rewrite of rows[index]. An edit
// updates that row (text, attributes, end line and column) and moves the
// later rows by the change in line count; a delete removes it and moves the
// later rows up. A later row that begins on the rewritten item's end line
// also has its columns moved, since the text after the "}" moved. A row whose
// comment overlapped the rewritten one (nested in a multi-line comment, or the
// multi-line comment around it) was rewritten with it and is removed; the
// indices those rows had before are returned, ascending, so that a list shown
// beside the rows can drop them too (rows[index] itself is not among them).
std::vector<std::size_t> ApplyEditToRows(std::vector<TToDoItem>& rows, std::size_t index, const TToDoFields& fields);
std::vector<std::size_t> ApplyDeleteToRows(std::vector<TToDoItem>& rows, std::size_t index);

// Applies a splice to plain lines (the same change the document gets).
void ApplySplice(std::vector<std::string>& lines, const TToDoSplice& splice);

} // namespace quillet

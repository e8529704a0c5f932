#pragma once

#include "tools/ToDo.h"
#include "tools/ToDoRewrite.h"

namespace quillet {

class TMemoSource;

// The change kind of every to-do rewrite, so each is one undo step.
inline constexpr int kToDoChangeKind = 54;

// The stored lines of a buffer (tabs kept), for scanning.
TToDoLines ToDoLinesOf(const TMemoSource& source);

// Carries out a splice on a buffer inside one change bracket of kind 54, so
// that one Undo restores the text exactly. The caret ends after the new text.
// False (nothing changed) for a read-only buffer or a splice outside the text.
bool ApplyToDoSplice(TMemoSource& source, const TToDoSplice& splice);

// The seven keyword characters of an item as they stand in the buffer.
std::string ToDoKeywordAsWritten(const TMemoSource& source, const TToDoItem& item);

} // namespace quillet

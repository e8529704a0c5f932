#pragma once

#include "text/KeyMapping.h"

#include <span>
#include <string_view>

class QWidget;

namespace quillet {

class TChildForm;
class TTarnMemo;

// The Search commands of a text document window: Find, Replace, Find Next,
// Find Previous, Go to Line and Match Opposite Bracket. Each is a pair of
// functions taking the active text document window (nullptr when none is
// active or the active window is not a text document): whether the command is
// enabled (Update) and what it does (Execute). All of them work on the shared
// search options, so the last search carries over between documents. Messages
// go to message boxes over the window, or to SetSearchPromptOverride's
// receiver (text/ui/ReplacePrompt.h).

bool SearchFindUpdate(TChildForm* form);
// Opens "Find Text"; on OK searches from the dialog's options.
void SearchFindExecute(TChildForm* form);

bool SearchReplaceUpdate(TChildForm* form);
// Opens "Replace Text"; on OK replaces one occurrence (asking first when
// "Prompt on replace" is on), on Replace All every occurrence.
void SearchReplaceExecute(TChildForm* form);

bool SearchFindNextUpdate(TChildForm* form);
// Repeats the last find or replace. Without a search text yet, it opens the
// Find dialog instead.
void SearchFindNextExecute(TChildForm* form);

bool SearchFindPreviousUpdate(TChildForm* form);
// Find Next with the direction inverted for this one search.
void SearchFindPreviousExecute(TChildForm* form);

bool SearchGoToLineUpdate(TChildForm* form);
// Opens "Go to Line" and moves the main view's caret to the line entered.
void SearchGoToLineExecute(TChildForm* form);

bool SearchOppositeBracketUpdate(TChildForm* form);
// Moves the caret to the bracket matching the one at the caret.
void SearchOppositeBracketExecute(TChildForm* form);

// The same searches on one view's buffer, with their dialogs and messages
// over parent (the compare window's views use them). Find Next with
// inverted searches against the stored direction once.
void SearchFindInView(TTarnMemo& view, QWidget* parent);
void SearchReplaceInView(TTarnMemo& view, QWidget* parent);
void SearchFindNextInView(TTarnMemo& view, QWidget* parent, bool inverted);
void SearchGoToLineInView(TTarnMemo& view, QWidget* parent);

// One command as the command table binds it, by its command name.
struct TSearchCommand {
    std::string_view name;
    bool (*enabled)(TChildForm* form);
    void (*execute)(TChildForm* form);
};

// SearchFind, SearchReplace, SearchFindNext, SearchFindPrevious,
// SearchGoToLine and SearchOppositeBracket.
std::span<const TSearchCommand> SearchCommands();
// nullptr for a name not in the list.
const TSearchCommand* FindSearchCommand(std::string_view name);

// The view's own search keys, for TTarnMemo::OnExternalCommand: KeyFindNext,
// ShowSearchDialog and ShowReplaceDialog run the commands above on `form`.
// Returns whether the command was one of them.
bool RunSearchViewCommand(TChildForm* form, TMemoCommand command);

} // namespace quillet

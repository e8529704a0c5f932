#include "text/ui/SearchCommands.h"

#include "text/MemoSearch.h"
#include "text/ui/ChildForm.h"
#include "text/ui/FindForm.h"
#include "text/ui/GotoForm.h"
#include "text/ui/ReplaceForm.h"
#include "text/ui/ReplacePrompt.h"
#include "text/ui/TarnMemo.h"

#include <QDialog>

#include <array>

namespace quillet {

namespace {

// Runs one search operation on the window's buffer, with the messages in the
// current language and the window's message boxes (or the test receiver).
// The view that has the focus becomes the one that scrolls to the match.
template <typename TOperation> bool RunSearch(TChildForm& form, TOperation operation)
{
    TSearchOptions& options = GlobalSearchOptions();
    form.ActiveMemo().MakeActive();
    TMemoSearch search(form.MemoSource(), options);
    search.Messages() = TranslatedSearchMessages();
    TSearchPrompt prompt(&form);
    prompt.SetSearchText(options.TextToFind, search.Messages());
    ISearchPrompt* receiver = SearchPromptOverride();
    search.SetPrompt(receiver != nullptr ? receiver : &prompt);
    return operation(search);
}

void FindNextInDirection(TChildForm& form, bool inverted)
{
    TSearchOptions& options = GlobalSearchOptions();
    if (options.TextToFind.empty()) {
        // Nothing was searched for yet: ask for the text rather than report
        // that the empty text was not found.
        SearchFindExecute(&form);
        return;
    }
    options.ReplaceAll = false;
    options.ShowNotFound = true;
    const TSearchDirection direction = options.Direction;
    if (inverted) {
        options.Direction = direction == sdForward ? sdBackward : sdForward;
    }
    RunSearch(form, [](TMemoSearch& search) {
        return search.FindNext();
    });
    if (inverted) {
        options.Direction = direction;
    }
}

bool TextWindow(TChildForm* form)
{
    return form != nullptr;
}

constexpr std::array kCommands{
    TSearchCommand{"SearchFind", SearchFindUpdate, SearchFindExecute},
    TSearchCommand{"SearchFindNext", SearchFindNextUpdate, SearchFindNextExecute},
    TSearchCommand{"SearchFindPrevious", SearchFindPreviousUpdate, SearchFindPreviousExecute},
    TSearchCommand{"SearchReplace", SearchReplaceUpdate, SearchReplaceExecute},
    TSearchCommand{"SearchGoToLine", SearchGoToLineUpdate, SearchGoToLineExecute},
    TSearchCommand{"SearchOppositeBracket", SearchOppositeBracketUpdate, SearchOppositeBracketExecute},
};

// Shows the search dialog TDialog over the document; when the user accepts
// it, runs operation with the options the dialog stored.
template <typename TDialog, typename TOperation> void AskThenSearch(TChildForm* form, TOperation operation)
{
    if (form == nullptr) {
        return;
    }
    {
        TDialog dialog(form->MemoSource(), GlobalSearchOptions(), form);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    RunSearch(*form, operation);
}

} // namespace

bool SearchFindUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindExecute(TChildForm* form)
{
    AskThenSearch<TFindForm>(form, [](TMemoSearch& search) {
        return search.Find();
    });
}

bool SearchReplaceUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchReplaceExecute(TChildForm* form)
{
    AskThenSearch<TReplaceForm>(form, [](TMemoSearch& search) {
        return search.Replace();
    });
}

bool SearchFindNextUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindNextExecute(TChildForm* form)
{
    if (form != nullptr) {
        FindNextInDirection(*form, false);
    }
}

bool SearchFindPreviousUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindPreviousExecute(TChildForm* form)
{
    if (form != nullptr) {
        FindNextInDirection(*form, true);
    }
}

bool SearchGoToLineUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchGoToLineExecute(TChildForm* form)
{
    if (form == nullptr) {
        return;
    }
    const std::optional<int> line = TGotoForm::Ask(form);
    if (line) {
        GoToLineNumber(form->Memo(), *line);
    }
}

bool SearchOppositeBracketUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchOppositeBracketExecute(TChildForm* form)
{
    if (form == nullptr) {
        return;
    }
    form->ActiveMemo().MakeActive();
    form->MemoSource().FindNextBracket();
}

std::span<const TSearchCommand> SearchCommands()
{
    return kCommands;
}

const TSearchCommand* FindSearchCommand(std::string_view name)
{
    for (const TSearchCommand& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool RunSearchViewCommand(TChildForm* form, TMemoCommand command)
{
    switch (command) {
    case TMemoCommand::KeyFindNext:
        SearchFindNextExecute(form);
        return true;
    case TMemoCommand::ShowSearchDialog:
        SearchFindExecute(form);
        return true;
    case TMemoCommand::ShowReplaceDialog:
        SearchReplaceExecute(form);
        return true;
    default:
        return false;
    }
}

} // namespace quillet

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
template <typename TOperation> bool RunSearch(TTarnMemo& view, QWidget* parent, TOperation operation)
{
    TSearchOptions& options = GlobalSearchOptions();
    view.MakeActive();
    TMemoSearch search(view.MemoSource(), options);
    search.Messages() = TranslatedSearchMessages();
    TSearchPrompt prompt(parent);
    prompt.SetSearchText(options.TextToFind, search.Messages());
    ISearchPrompt* receiver = SearchPromptOverride();
    search.SetPrompt(receiver != nullptr ? receiver : &prompt);
    return operation(search);
}

} // namespace

void SearchFindNextInView(TTarnMemo& view, QWidget* parent, bool inverted)
{
    TSearchOptions& options = GlobalSearchOptions();
    if (options.TextToFind.empty()) {
        // Nothing was searched for yet: ask for the text rather than report
        // that the empty text was not found.
        SearchFindInView(view, parent);
        return;
    }
    options.ReplaceAll = false;
    options.ShowNotFound = true;
    const TSearchDirection direction = options.Direction;
    if (inverted) {
        options.Direction = direction == sdForward ? sdBackward : sdForward;
    }
    RunSearch(view, parent, [](TMemoSearch& search) {
        return search.FindNext();
    });
    if (inverted) {
        options.Direction = direction;
    }
}

namespace {

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
template <typename TDialog, typename TOperation>
void AskThenSearch(TTarnMemo& view, QWidget* parent, TOperation operation)
{
    {
        TDialog dialog(view.MemoSource(), GlobalSearchOptions(), parent);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    RunSearch(view, parent, operation);
}

} // namespace

void SearchFindInView(TTarnMemo& view, QWidget* parent)
{
    AskThenSearch<TFindForm>(view, parent, [](TMemoSearch& search) {
        return search.Find();
    });
}

void SearchReplaceInView(TTarnMemo& view, QWidget* parent)
{
    AskThenSearch<TReplaceForm>(view, parent, [](TMemoSearch& search) {
        return search.Replace();
    });
}

void SearchGoToLineInView(TTarnMemo& view, QWidget* parent)
{
    const std::optional<int> line = TGotoForm::Ask(parent);
    if (line) {
        GoToLineNumber(view, *line);
    }
}

bool SearchFindUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindExecute(TChildForm* form)
{
    if (form != nullptr) {
        SearchFindInView(form->ActiveMemo(), form);
    }
}

bool SearchReplaceUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchReplaceExecute(TChildForm* form)
{
    if (form != nullptr) {
        SearchReplaceInView(form->ActiveMemo(), form);
    }
}

bool SearchFindNextUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindNextExecute(TChildForm* form)
{
    if (form != nullptr) {
        SearchFindNextInView(form->ActiveMemo(), form, false);
    }
}

bool SearchFindPreviousUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchFindPreviousExecute(TChildForm* form)
{
    if (form != nullptr) {
        SearchFindNextInView(form->ActiveMemo(), form, true);
    }
}

bool SearchGoToLineUpdate(TChildForm* form)
{
    return TextWindow(form);
}

void SearchGoToLineExecute(TChildForm* form)
{
    if (form != nullptr) {
        SearchGoToLineInView(form->Memo(), form);
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

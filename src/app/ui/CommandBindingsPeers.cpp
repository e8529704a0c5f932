// Bindings of the commands that other parts of the program provide as lists of
// named operations.
#include "app/CommandTable.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/FileCommands.h"
#include "text/ui/ClipboardSlots.h"
#include "text/ui/EditCommands.h"
#include "text/ui/SearchCommands.h"
#include "text/ui/SyntaxAttach.h"

namespace quillet {

namespace {

// A command given as a pair of functions of the active document.
template <typename TCommand>
void BindFormCommand(TCommandRegistry& registry, const TActiveTextDocument& active, const TCommand& command)
{
    const auto enabled = command.enabled;
    const auto execute = command.execute;
    registry.Bind(
        command.name,
        [active, execute] {
            if (execute != nullptr) {
                execute(active());
            }
        },
        [active, enabled](TCommandState& state) {
            state.enabled = enabled != nullptr && enabled(active());
        });
}

} // namespace

void BindDocumentEditingCommands(TCommandRegistry& registry, TActiveTextDocument active)
{
    for (const TEditCommand& command : EditCommands()) {
        BindFormCommand(registry, active, command);
    }
    for (const TSearchCommand& command : SearchCommands()) {
        BindFormCommand(registry, active, command);
    }
    struct TSyntaxCommand {
        std::string_view name;
        void (*execute)(TChildForm*);
        TSyntaxCommandState (*update)(TChildForm*);
    };
    const TSyntaxCommand syntaxCommands[] = {
        {"ViewColorSyntax", &ViewColorSyntaxExecute, &ViewColorSyntaxUpdate},
        {"ViewHighlightURLs", &ViewHighlightURLsExecute, &ViewHighlightURLsUpdate},
        {"ViewSpecialSymbols", &ViewSpecialSymbolsExecute, &ViewSpecialSymbolsUpdate},
    };
    for (const TSyntaxCommand& command : syntaxCommands) {
        registry.Bind(
            command.name,
            [active, execute = command.execute] {
                execute(active());
            },
            [active, update = command.update](TCommandState& state) {
                const TSyntaxCommandState now = update(active());
                state.enabled = now.enabled;
                state.checked = now.checked;
            });
    }
}

void BindClipboardSlotCommands(TCommandRegistry& registry, TClipboardSlots& clipboardSlots, TActiveTextDocument active)
{
    for (std::string_view name : {"EditPaste2", "EditPaste3", "EditPaste4", "EditPasteAll", "EditDelete"}) {
        registry.Bind(
            name,
            [&clipboardSlots, active, name] {
                ExecuteClipboardSlotCommand(clipboardSlots, name, active());
            },
            [&clipboardSlots, active, name](TCommandState& state) {
                state.enabled = ClipboardSlotCommandEnabled(clipboardSlots, name, active());
            });
    }
}

void BindFileCommandList(TCommandRegistry& registry, const std::vector<TFileCommand>& commands)
{
    for (const TFileCommand& command : commands) {
        registry.Bind(
            command.name, command.execute, [update = command.update, checked = command.checked](TCommandState& state) {
                state.enabled = !update || update();
                state.checked = checked && checked();
            });
    }
}

} // namespace quillet

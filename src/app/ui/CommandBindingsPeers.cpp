// Bindings of the commands that other parts of the program provide as lists of
// named operations.
#include "app/CommandTable.h"
#include "app/ui/CommandBindings.h"
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

} // namespace quillet

#include "app/ui/EditCommandBindings.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "text/ui/ClipboardSlots.h"
#include "text/ui/EditCommands.h"

#include <QAction>

#include <array>
#include <string_view>

namespace quillet {
namespace {

constexpr std::array<std::string_view, 5> kSlotCommands = {
    "EditPaste2", "EditPaste3", "EditPaste4", "EditPasteAll", "EditDelete"};

} // namespace

void BindEditCommands(TCommandRegistry& registry, TActiveTextDocument active, TClipboardSlots& clipboardSlots)
{
    for (const TEditCommand& command : EditCommands()) {
        // Undo, redo, cut, copy, paste and select all may already be bound to
        // the focused view by the document-window bindings; those stay.
        if (registry.IsBound(command.name)) {
            continue;
        }
        registry.Bind(
            command.name,
            [active, execute = command.execute] {
                execute(active());
            },
            [active, enabled = command.enabled](TCommandState& state) {
                state.enabled = enabled(active());
            });
    }
    for (std::string_view name : kSlotCommands) {
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

void ApplyClipboardHints(TCommandActions& actions, const TClipboardSlots& clipboardSlots)
{
    for (int slot = 1; slot <= TClipboardHistory::kSlotCount; ++slot) {
        QAction* action = actions.Action("EditPaste" + std::to_string(slot));
        if (action == nullptr) {
            continue;
        }
        // The hint is "preview|caption": the short part for the tooltip, the
        // long part for the status bar.
        const QString hint = clipboardSlots.Hint(slot, action->text().remove(QLatin1Char('&')));
        const qsizetype bar = hint.indexOf(QLatin1Char('|'));
        action->setToolTip(hint.left(bar));
        action->setStatusTip(hint.mid(bar + 1));
    }
}

} // namespace quillet

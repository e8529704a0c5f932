#pragma once

#include "app/ui/CommandBindings.h"

namespace quillet {

class TClipboardSlots;
class TCommandActions;
class TCommandRegistry;

// Binds the Edit commands of text documents (EditCommands.h) and the clipboard
// slot commands (ClipboardSlots.h) by name. A command of EditCommands() that is
// already bound (undo, redo and the clipboard on the focused view) keeps its
// binding. `clipboardSlots` must outlive the registry's use of the bindings.
void BindEditCommands(TCommandRegistry& registry, TActiveTextDocument active, TClipboardSlots& clipboardSlots);

// Puts the slots' previews on the paste commands: the tooltip shows the slot's
// text, the status bar the command's caption. Call it from
// TClipboardSlots::OnSlotsChanged and after a language change.
void ApplyClipboardHints(TCommandActions& actions, const TClipboardSlots& clipboardSlots);

} // namespace quillet

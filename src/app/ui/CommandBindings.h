#pragma once

#include <functional>
#include <vector>

class QMdiArea;

namespace quillet {

class TChildForm;
class TClipboardSlots;
class TCommandRegistry;
struct TFileCommand;

// The active text document window, or nullptr when none is active or the
// active document window is not a text document.
using TActiveTextDocument = std::function<TChildForm*()>;
TChildForm* CurrentTextDocument(QMdiArea* area);

// Binds the commands the text document window carries itself: split, rotate,
// synchronised scrolling, switching views, line numbers, word wrap, folding,
// bookmarks and breakpoints, read-only, and undo, redo, clipboard and select
// all on the focused view. Each is enabled only while a text document is
// active (and its own rule holds). Action1 and Action12 take their keys and do
// nothing.
void BindTextDocumentCommands(TCommandRegistry& registry, TActiveTextDocument active);

// Binds the window commands on the document area: cascade, tile both ways,
// minimize and arrange all, previous and next window; enabled while a
// document window exists.
void BindWindowCommands(TCommandRegistry& registry, QMdiArea* area);

// Binds the Edit commands (undo to encode/decode/hash, with their submenu
// header), the Search commands and the syntax View commands (colour syntax,
// URLs, special symbols) of the active text document. They replace the plain
// undo, clipboard and select-all bindings above.
void BindDocumentEditingCommands(TCommandRegistry& registry, TActiveTextDocument active);

// Binds the clipboard-slot commands (Paste Clipboard 2-4, Paste All, Delete
// All Clipboards); the slots must outlive the registry's use of them.
void BindClipboardSlotCommands(TCommandRegistry& registry, TClipboardSlots& clipboardSlots, TActiveTextDocument active);

// Binds the document manager's file commands (FileCommands(manager)).
void BindFileCommandList(TCommandRegistry& registry, const std::vector<TFileCommand>& commands);

} // namespace quillet

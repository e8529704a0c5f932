#pragma once

#include <functional>

class QMdiArea;

namespace quillet {

class TChildForm;
class TCommandRegistry;

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

} // namespace quillet

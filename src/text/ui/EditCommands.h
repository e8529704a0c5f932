#pragma once

#include "text/EditTransform.h"
#include "text/EncoderCommand.h"

#include <QString>

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

class TChildForm;
class TMemoSource;

// The Edit commands of a text document window. Every command is a pair of
// functions taking the active document window (nullptr when none is active or
// the active window is not a text document): whether it is enabled, and what
// it does. Each change runs inside one change bracket and one undo block, so a
// single Undo restores the text. A read-only buffer refuses changes silently.

// One command as the command table binds it: `name` is the command's name
// ("EditUpperCase").
struct TEditCommand {
    std::string_view name;
    bool (*enabled)(TChildForm* form);
    void (*execute)(TChildForm* form);
};

// Every command of this file: undo and redo, clipboard, select all, insert
// date/time/GUID, case changes, indents, sort, tabs and spaces, comments,
// remove diacritics, ControlDelete, the eleven encode/decode/hash commands and
// BlockQuoteUpdate, the enabling rule the quick-template buttons follow.
// The clipboard history commands (EditPaste2-4, EditPasteAll, EditDelete) are
// in ClipboardSlots.h because they need the main window's slots; EditPaste1 is
// here, the same as EditPaste.
std::span<const TEditCommand> EditCommands();
// nullptr for a name not in the list.
const TEditCommand* FindEditCommand(std::string_view name);

// Where a refused command's message goes (a decoder that cannot read its
// input). Unset: a warning box over the document window. Tests install their
// own; pass an empty function to restore the box.
void SetEditMessageHandler(std::function<void(TChildForm* form, const QString& text)> handler);
// The message of a refused decode in the user's language (the English text is
// DecodeErrorText, the translation key DecodeErrorKey).
QString DecodeErrorMessage(TDecodeError error);

// ---- Building blocks, also used by the clipboard slots and quick templates ----

// The line-rewriting step: hands the selection's lines (partial first and last
// line of a stream selection, padded columns of a columnar one) to `rewrite`
// and puts its result in place of the selection, keeping the selection's kind
// and selecting the new text. `closingBreak` tells `rewrite` that a stream
// selection ends at column 0, so its empty last piece is the closing line
// break. Returns false (and changes nothing) without a selection or on a
// read-only buffer.
bool ReplaceSelectionWithLines(
    TMemoSource& source, const std::function<void(TLines& lines, bool closingBreak)>& rewrite);
// Replaces the selection with `text` (CR, LF or CR LF break lines) inserted as
// a stream, or inserts it at the caret without a selection; the caret ends
// after it. One undo step.
bool ReplaceSelectionWithText(TMemoSource& source, std::string_view text);

// The single-line comment marker of the document's highlighter (first
// delimiter of the root block when that block uses single-line comments);
// empty without a highlighter or marker.
std::string CommentMarker(const TMemoSource& source);

// The texts the Insert commands put at the caret, in the system's formats.
std::string InsertTimeText();
std::string InsertDateText();

// Runs one encode/decode/hash command on the stream selection and applies the
// outcome; on a refused input returns the error and leaves the buffer alone.
TDecodeError ApplyEncodeCommand(TMemoSource& source, TEncodeCommand command);

// A quick-template button: applies `templateText` to the selection (or at the
// caret) and places the caret or the new selection as the template says.
// Refused on a read-only buffer and with a columnar selection.
bool CanApplyQuickTemplate(TChildForm* form);
void ApplyQuickTemplate(TChildForm* form, std::string_view templateText);

} // namespace quillet

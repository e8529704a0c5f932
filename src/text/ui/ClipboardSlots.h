#pragma once

#include "text/ClipboardHistory.h"

#include <QString>

#include <functional>
#include <string>
#include <string_view>

namespace quillet {

class IClipboard;
class TChildForm;

// The main window's four clipboard slots: fed by the system clipboard's change
// notification, pasted by Paste Clipboard 2-4 and Paste All, emptied by Delete
// All Clipboards. Paste Clipboard 1 is the ordinary Paste (EditCommands.h).
// One object lives as long as the main window and owns the clipboard's change
// handler.
class TClipboardSlots {
public:
    // `clipboard` may be nullptr (no slot is ever filled then); it must outlive
    // this object, which installs itself as its change handler.
    explicit TClipboardSlots(IClipboard* clipboard);
    ~TClipboardSlots();
    TClipboardSlots(const TClipboardSlots&) = delete;
    TClipboardSlots& operator=(const TClipboardSlots&) = delete;

    const TClipboardHistory& History() const { return m_history; }
    // Reads the clipboard and shifts the slots when it holds new text; the
    // change handler calls this, and so may a caller that polls.
    void ClipboardChanged();
    // Called after the slots changed (a new text or Delete All Clipboards), so
    // the paste commands' hints can be refreshed.
    std::function<void()> OnSlotsChanged;

    // Paste Clipboard 2, 3, 4 (`slot` 2-4): the slot is filled, the clipboard
    // holds text and the document is writable.
    bool CanPasteSlot(TChildForm* form, int slot) const;
    // Replaces the selection with the slot's text or inserts it at the caret;
    // the clipboard itself is not touched. One undo step.
    void PasteSlot(TChildForm* form, int slot);
    bool CanPasteAll(TChildForm* form) const;
    // Slots 1-4 run together, newest first, inserted like PasteSlot.
    void PasteAll(TChildForm* form);
    bool CanDeleteAll() const { return m_history.AnySlotFilled(); }
    // Empties the system clipboard and every slot.
    void DeleteAll();

    // The hint of a paste command (slot 1-4): the slot's preview with "|"
    // written as "l", then "|", then `caption` ("Paste Clipboard 2").
    QString Hint(int slot, const QString& caption) const;

private:
    void InsertText(TChildForm* form, std::string_view text);

    IClipboard* m_clipboard = nullptr;
    TClipboardHistory m_history;
    bool m_clearing = false; // Delete All Clipboards is emptying the clipboard
};

// The clipboard-slot commands by name, for the command table:
// EditPaste2-4, EditPasteAll and EditDelete. False for another name.
bool ClipboardSlotCommandEnabled(const TClipboardSlots& clipboardSlots, std::string_view name, TChildForm* form);
bool ExecuteClipboardSlotCommand(TClipboardSlots& clipboardSlots, std::string_view name, TChildForm* form);

} // namespace quillet

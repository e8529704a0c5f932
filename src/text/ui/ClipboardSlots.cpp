#include "text/ui/ClipboardSlots.h"

#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "platform/IClipboard.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/EditCommands.h"

namespace quillet {
namespace {

bool Writable(TChildForm* form)
{
    return form != nullptr && !form->MemoSource().ReadOnly();
}

QString FromSystemCodePage(std::string_view text)
{
    const int codePage = GetSystemCodePage();
    std::u32string wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide.push_back(SingleByteToUnicode(codePage, static_cast<unsigned char>(c)));
    }
    return QString::fromStdU32String(wide);
}

// Slot number of a paste command: "EditPaste2" gives 2; 0 for anything else.
int SlotOfCommand(std::string_view name)
{
    constexpr std::string_view kPrefix = "EditPaste";
    if (name.size() != kPrefix.size() + 1 || name.substr(0, kPrefix.size()) != kPrefix) {
        return 0;
    }
    const char digit = name.back();
    return digit >= '2' && digit <= '4' ? digit - '0' : 0;
}

} // namespace

TClipboardSlots::TClipboardSlots(IClipboard* clipboard)
    : m_clipboard(clipboard)
{
    if (m_clipboard != nullptr) {
        m_clipboard->SetChangedHandler([this] {
            ClipboardChanged();
        });
    }
}

TClipboardSlots::~TClipboardSlots()
{
    if (m_clipboard != nullptr) {
        m_clipboard->SetChangedHandler({});
    }
}

void TClipboardSlots::ClipboardChanged()
{
    if (m_clipboard == nullptr || m_clearing) {
        return;
    }
    // A clipboard that cannot be read, or holds no text, leaves the slots alone.
    const std::optional<std::string> text = m_clipboard->GetText();
    if (!text || !m_history.ClipboardChanged(*text)) {
        return;
    }
    if (OnSlotsChanged) {
        OnSlotsChanged();
    }
}

bool TClipboardSlots::CanPasteSlot(TChildForm* form, int slot) const
{
    return slot >= 2 && slot <= TClipboardHistory::kSlotCount && Writable(form) && !m_history.IsSlotEmpty(slot)
        && m_clipboard != nullptr && m_clipboard->HasText();
}

void TClipboardSlots::PasteSlot(TChildForm* form, int slot)
{
    if (CanPasteSlot(form, slot)) {
        InsertText(form, m_history.Slot(slot));
    }
}

bool TClipboardSlots::CanPasteAll(TChildForm* form) const
{
    return Writable(form);
}

void TClipboardSlots::PasteAll(TChildForm* form)
{
    if (!CanPasteAll(form)) {
        return;
    }
    const std::string text = m_history.PasteAllText();
    if (!text.empty()) {
        InsertText(form, text);
    }
}

void TClipboardSlots::DeleteAll()
{
    if (m_clipboard != nullptr) {
        m_clearing = true;
        m_clipboard->Clear();
        m_clearing = false;
    }
    m_history.Clear();
    if (OnSlotsChanged) {
        OnSlotsChanged();
    }
}

QString TClipboardSlots::Hint(int slot, const QString& caption) const
{
    return FromSystemCodePage(m_history.Hint(slot, {})) + caption;
}

void TClipboardSlots::InsertText(TChildForm* form, std::string_view text)
{
    ReplaceSelectionWithText(form->MemoSource(), text);
}

bool ClipboardSlotCommandEnabled(const TClipboardSlots& clipboardSlots, std::string_view name, TChildForm* form)
{
    if (const int slot = SlotOfCommand(name)) {
        return clipboardSlots.CanPasteSlot(form, slot);
    }
    if (name == "EditPasteAll") {
        return clipboardSlots.CanPasteAll(form);
    }
    if (name == "EditDelete") {
        return clipboardSlots.CanDeleteAll();
    }
    return false;
}

bool ExecuteClipboardSlotCommand(TClipboardSlots& clipboardSlots, std::string_view name, TChildForm* form)
{
    if (const int slot = SlotOfCommand(name)) {
        clipboardSlots.PasteSlot(form, slot);
        return true;
    }
    if (name == "EditPasteAll") {
        clipboardSlots.PasteAll(form);
        return true;
    }
    if (name == "EditDelete") {
        clipboardSlots.DeleteAll();
        return true;
    }
    return false;
}

} // namespace quillet

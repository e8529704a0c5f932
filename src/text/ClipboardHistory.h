#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// The four-slot history of clipboard texts behind Paste Clipboard 1-4 and
// Paste All. Slot 1 is the newest. The main window feeds it every clipboard
// change with ClipboardChanged(); the slots keep the full texts, while the
// hints for the paste commands show a shortened preview.
class TClipboardHistory {
public:
    static constexpr int kSlotCount = 4;
    // Limits of the preview in a hint: at most this many characters and lines;
    // a cut preview ends in "...".
    static constexpr std::size_t kHintMaxChars = 200;
    static constexpr std::size_t kHintMaxLines = 8;

    // Called when the system clipboard changed and holds `text`. Text equal to
    // slot 1, and empty text (a cleared clipboard or one without text), leave
    // the slots alone. Otherwise the slots shift down and slot 1 takes the
    // text. Returns true when the slots changed, so the hints need refreshing.
    bool ClipboardChanged(std::string_view text);

    // `slot` is 1-4; any other number reads as an empty slot.
    const std::string& Slot(int slot) const;
    bool IsSlotEmpty(int slot) const { return Slot(slot).empty(); }
    bool AnySlotFilled() const;
    // Slots 1 to 4 run together, newest first, with no separators.
    std::string PasteAllText() const;
    // Delete All Clipboards: empties every slot (the caller empties the
    // system clipboard).
    void Clear();

    // The hint of a paste command: the slot's preview with every "|" written
    // as "l", then "|", then the command's caption (short text for the
    // tooltip, long text for the status bar). An empty slot gives "|" + caption.
    std::string Hint(int slot, std::string_view caption) const;
    // The preview alone, cut to the limits above.
    static std::string Preview(std::string_view text);

private:
    std::array<std::string, kSlotCount> m_slots; // [0] is slot 1, the newest
};

} // namespace quillet

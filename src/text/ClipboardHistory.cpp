#include "text/ClipboardHistory.h"

#include <algorithm>

namespace quillet {

namespace {

const std::string kEmpty;

} // namespace

bool TClipboardHistory::ClipboardChanged(std::string_view text)
{
    if (text.empty() || text == m_slots[0]) {
        return false;
    }
    std::move_backward(m_slots.begin(), m_slots.end() - 1, m_slots.end());
    m_slots[0].assign(text);
    return true;
}

const std::string& TClipboardHistory::Slot(int slot) const
{
    if (slot < 1 || slot > kSlotCount) {
        return kEmpty;
    }
    return m_slots[static_cast<std::size_t>(slot - 1)];
}

bool TClipboardHistory::AnySlotFilled() const
{
    return std::any_of(m_slots.begin(), m_slots.end(), [](const std::string& s) {
        return !s.empty();
    });
}

std::string TClipboardHistory::PasteAllText() const
{
    std::string out;
    std::size_t size = 0;
    for (const std::string& s : m_slots) {
        size += s.size();
    }
    out.reserve(size);
    for (const std::string& s : m_slots) {
        out += s;
    }
    return out;
}

void TClipboardHistory::Clear()
{
    for (std::string& s : m_slots) {
        s.clear();
        s.shrink_to_fit();
    }
}

std::string TClipboardHistory::Preview(std::string_view text)
{
    std::string out;
    std::size_t lines = 1;
    bool cut = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (out.size() >= kHintMaxChars) {
            cut = true;
            break;
        }
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (++lines > kHintMaxLines) {
                cut = true;
                break;
            }
            out += '\n';
            continue;
        }
        out += c == '|' ? 'l' : c;
    }
    if (cut) {
        out += "...";
    }
    return out;
}

std::string TClipboardHistory::Hint(int slot, std::string_view caption) const
{
    std::string hint = Preview(Slot(slot));
    hint += '|';
    hint += caption;
    return hint;
}

} // namespace quillet

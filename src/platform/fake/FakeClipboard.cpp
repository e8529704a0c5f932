#include "platform/fake/FakeClipboard.h"

namespace quillet {

std::optional<std::string> TFakeClipboard::GetText() const
{
    return m_text;
}

void TFakeClipboard::SetText(std::string_view text)
{
    m_text = std::string(text);
    m_rtf.clear();
    m_ownedByUs = true;
    Changed();
}

void TFakeClipboard::SetTextAndRtf(std::string_view text, std::string_view rtf)
{
    m_text = std::string(text);
    m_rtf = std::string(rtf);
    m_ownedByUs = true;
    Changed();
}

void TFakeClipboard::Clear()
{
    m_text.reset();
    m_rtf.clear();
    m_ownedByUs = true;
    Changed();
}

void TFakeClipboard::SimulateForeignCopy(std::string_view text)
{
    m_text = std::string(text);
    m_rtf.clear();
    m_ownedByUs = false;
    Changed();
}

void TFakeClipboard::Changed()
{
    if (m_changed) {
        m_changed();
    }
}

} // namespace quillet

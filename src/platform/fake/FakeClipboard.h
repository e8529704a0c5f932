#pragma once

#include "platform/IClipboard.h"

namespace quillet {

// In-memory clipboard for tests. SimulateForeignCopy stands for another program
// taking the clipboard over.
class TFakeClipboard : public IClipboard {
public:
    std::optional<std::string> GetText() const override;
    bool HasText() const override { return m_text.has_value(); }
    void SetText(std::string_view text) override;
    void SetTextAndRtf(std::string_view text, std::string_view rtf) override;
    void Clear() override;
    bool OwnedByThisProgram() const override { return m_ownedByUs; }
    void SetChangedHandler(std::function<void()> handler) override { m_changed = std::move(handler); }

    void SimulateForeignCopy(std::string_view text);
    const std::string& Rtf() const { return m_rtf; }

private:
    void Changed();

    std::optional<std::string> m_text;
    std::string m_rtf;
    bool m_ownedByUs = false;
    std::function<void()> m_changed;
};

} // namespace quillet

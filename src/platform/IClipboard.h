#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// The system clipboard as the engines see it. Text is 8-bit text in the system
// code page; implementations convert.
class IClipboard {
public:
    virtual ~IClipboard() = default;

    // The plain text on the clipboard; nullopt when it holds no text.
    virtual std::optional<std::string> GetText() const = 0;
    virtual bool HasText() const = 0;
    virtual void SetText(std::string_view text) = 0;
    // Puts plain text and its "Rich Text Format" rendering on the clipboard together.
    virtual void SetTextAndRtf(std::string_view text, std::string_view rtf) = 0;
    virtual void Clear() = 0;
    // Whether this program put the current content there.
    virtual bool OwnedByThisProgram() const = 0;
    // Called whenever the clipboard content changes (by us or by others).
    virtual void SetChangedHandler(std::function<void()> handler) = 0;
};

// Process-wide: whether the last block this program copied was columnar. A paste
// of text that another program placed on the clipboard always goes in as a stream.
inline bool& LastCopyWasColumnarFlag()
{
    static bool flag = false;
    return flag;
}
inline bool LastCopyWasColumnar()
{
    return LastCopyWasColumnarFlag();
}
inline void SetLastCopyWasColumnar(bool columnar)
{
    LastCopyWasColumnarFlag() = columnar;
}

} // namespace quillet

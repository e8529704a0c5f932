#include "platform/fake/FakeGlobalHotKey.h"

namespace quillet {

bool TFakeGlobalHotKey::Register(const THotKey& key, TPressed pressed, std::string& error)
{
    Unregister();
    if (!supported) {
        error = "The desktop offers no system-wide hot keys.";
        return false;
    }
    if (taken) {
        error = "Another program holds the hot key.";
        return false;
    }
    m_registered = true;
    m_key = key;
    m_pressed = std::move(pressed);
    ++registrations;
    return true;
}

void TFakeGlobalHotKey::Unregister()
{
    m_registered = false;
    m_pressed = nullptr;
}

bool TFakeGlobalHotKey::Press()
{
    if (!m_registered || !m_pressed) {
        return false;
    }
    // A copy: the handler may unregister the key while it runs.
    const TPressed pressed = m_pressed;
    pressed();
    return true;
}

} // namespace quillet

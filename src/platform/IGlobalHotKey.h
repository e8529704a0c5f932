#pragma once

#include <functional>
#include <string>

namespace quillet {

// A key combination that reaches the program while any window has the focus.
// Modifier bits use the values the stored settings use (Alt 1, Control 2,
// Shift 4); the key is an upper-case letter or a digit.
struct THotKey {
    static constexpr unsigned kAlt = 1;
    static constexpr unsigned kControl = 2;
    static constexpr unsigned kShift = 4;

    unsigned modifiers = 0;
    char key = 0;

    bool operator==(const THotKey&) const = default;
};

// The system-wide hot key. Only one combination is held at a time. Desktops
// that offer no way to grab a key system-wide report that they do not support
// it; registering then fails harmlessly and the program reaches the user
// through its other ways (the tray menu, the window itself).
class IGlobalHotKey {
public:
    using TPressed = std::function<void()>;

    virtual ~IGlobalHotKey() = default;

    virtual bool IsSupported() const = 0;
    // Grabs `key`, replacing an earlier registration; `pressed` runs on the
    // user-interface thread each time it is pressed. False with `error` set
    // when the desktop does not support it or another program holds the key.
    virtual bool Register(const THotKey& key, TPressed pressed, std::string& error) = 0;
    // Releases the key; harmless when nothing is registered.
    virtual void Unregister() = 0;
    virtual bool IsRegistered() const = 0;
};

} // namespace quillet

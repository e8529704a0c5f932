#pragma once

#include "platform/IGlobalHotKey.h"

namespace quillet {

// A hot key in memory: a test says whether the desktop supports it or the key
// is taken, and presses it with Press().
class TFakeGlobalHotKey : public IGlobalHotKey {
public:
    bool IsSupported() const override { return supported; }
    bool Register(const THotKey& key, TPressed pressed, std::string& error) override;
    void Unregister() override;
    bool IsRegistered() const override { return m_registered; }

    // Runs the handler as a key press would; false when nothing is registered.
    bool Press();
    const THotKey& Key() const { return m_key; }

    bool supported = true;
    bool taken = false; // another program holds the key
    int registrations = 0;

private:
    bool m_registered = false;
    THotKey m_key;
    TPressed m_pressed;
};

} // namespace quillet

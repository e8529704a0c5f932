#pragma once

#include "platform/IGlobalHotKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>

namespace quillet {

// The hot key on an X11 desktop: the key is grabbed on the root window through
// the connection Qt already holds, and its presses are picked out of Qt's
// native event stream. Elsewhere (Wayland, the offscreen platform, a build
// without the xcb headers) it reports that it is not supported.
class TX11GlobalHotKey : public IGlobalHotKey, public QAbstractNativeEventFilter {
public:
    TX11GlobalHotKey();
    ~TX11GlobalHotKey() override;

    bool IsSupported() const override;
    bool Register(const THotKey& key, TPressed pressed, std::string& error) override;
    void Unregister() override;
    bool IsRegistered() const override { return m_registered; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void Ungrab();

    void* m_connection = nullptr; // xcb_connection_t of the running X11 session, or nullptr
    std::uint32_t m_root = 0;
    std::uint8_t m_keycode = 0;
    std::uint16_t m_modifiers = 0;
    bool m_registered = false;
    bool m_filtering = false;
    TPressed m_pressed;
};

// The hot key service of the running desktop.
std::unique_ptr<IGlobalHotKey> CreateDesktopGlobalHotKey();

} // namespace quillet

#include "platform/qt/X11GlobalHotKey.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#ifdef QUILLET_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xproto.h>
#endif

#include <cstdlib>

namespace quillet {

#ifdef QUILLET_HAVE_XCB

namespace {

xcb_connection_t* Connection(void* connection)
{
    return static_cast<xcb_connection_t*>(connection);
}

// The keycode that produces the key's keysym (Latin letters and digits have
// their ASCII code as keysym, upper and lower case both), or 0.
std::uint8_t KeycodeOf(xcb_connection_t* connection, char key)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, first, static_cast<std::uint8_t>(count)), nullptr);
    if (reply == nullptr) {
        return 0;
    }
    const auto upper = static_cast<xcb_keysym_t>(static_cast<unsigned char>(key));
    const xcb_keysym_t lower = (key >= 'A' && key <= 'Z') ? upper + ('a' - 'A') : upper;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(reply);
    const int length = xcb_get_keyboard_mapping_keysyms_length(reply);
    const int perKeycode = reply->keysyms_per_keycode;
    std::uint8_t found = 0;
    for (int i = 0; perKeycode > 0 && i < length; ++i) {
        if (symbols[i] == lower || symbols[i] == upper) {
            found = static_cast<std::uint8_t>(first + i / perKeycode);
            break;
        }
    }
    std::free(reply);
    return found;
}

// Lock keys change the modifier state of a press; the key is grabbed with
// every combination of them so it works whatever Caps Lock and Num Lock say.
constexpr std::uint16_t kLockCombinations[] = {
    0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kRelevantModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

} // namespace

TX11GlobalHotKey::TX11GlobalHotKey()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* connection = x11->connection();
        if (connection != nullptr) {
            const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
            if (screens.rem > 0) {
                m_connection = connection;
                m_root = screens.data->root;
            }
        }
    }
}

bool TX11GlobalHotKey::Register(const THotKey& key, TPressed pressed, std::string& error)
{
    Unregister();
    if (m_connection == nullptr) {
        error = "This desktop offers no system-wide hot keys.";
        return false;
    }
    xcb_connection_t* connection = Connection(m_connection);
    const bool letter = key.key >= 'A' && key.key <= 'Z';
    const bool digit = key.key >= '0' && key.key <= '9';
    m_keycode = letter || digit ? KeycodeOf(connection, key.key) : 0;
    if (m_keycode == 0) {
        error = "The keyboard has no key for the hot key.";
        return false;
    }
    m_modifiers = 0;
    if ((key.modifiers & THotKey::kControl) != 0) {
        m_modifiers |= XCB_MOD_MASK_CONTROL;
    }
    if ((key.modifiers & THotKey::kShift) != 0) {
        m_modifiers |= XCB_MOD_MASK_SHIFT;
    }
    if ((key.modifiers & THotKey::kAlt) != 0) {
        m_modifiers |= XCB_MOD_MASK_1;
    }
    bool grabbed = true;
    for (const std::uint16_t locks : kLockCombinations) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection,
            1,
            m_root,
            static_cast<std::uint16_t>(m_modifiers | locks),
            m_keycode,
            XCB_GRAB_MODE_ASYNC,
            XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* failure = xcb_request_check(connection, cookie)) {
            std::free(failure);
            grabbed = false;
        }
    }
    if (!grabbed) {
        Ungrab();
        error = "Another program holds the hot key.";
        return false;
    }
    m_registered = true;
    m_pressed = std::move(pressed);
    if (!m_filtering) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filtering = true;
    }
    return true;
}

void TX11GlobalHotKey::Ungrab()
{
    xcb_connection_t* connection = Connection(m_connection);
    for (const std::uint16_t locks : kLockCombinations) {
        xcb_ungrab_key(connection, m_keycode, m_root, static_cast<std::uint16_t>(m_modifiers | locks));
    }
    xcb_flush(connection);
}

void TX11GlobalHotKey::Unregister()
{
    if (m_registered) {
        Ungrab();
    }
    m_registered = false;
    m_pressed = nullptr;
}

bool TX11GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    (void)result;
    if (!m_registered || eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
        return false;
    }
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    if (press->detail != m_keycode || (press->state & kRelevantModifiers) != m_modifiers) {
        return false;
    }
    // Run after the native event has been handled: the handler may show
    // windows or release the key.
    QTimer::singleShot(0, qApp, [pressed = m_pressed] {
        if (pressed) {
            pressed();
        }
    });
    return true;
}

#else // no xcb headers at build time: the service is not available

TX11GlobalHotKey::TX11GlobalHotKey() = default;

bool TX11GlobalHotKey::Register(const THotKey& key, TPressed pressed, std::string& error)
{
    (void)key;
    (void)pressed;
    error = "This build offers no system-wide hot keys.";
    return false;
}

void TX11GlobalHotKey::Ungrab() { }

void TX11GlobalHotKey::Unregister()
{
    m_registered = false;
    m_pressed = nullptr;
}

bool TX11GlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    (void)eventType;
    (void)message;
    (void)result;
    return false;
}

#endif

TX11GlobalHotKey::~TX11GlobalHotKey()
{
    Unregister();
    if (m_filtering && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool TX11GlobalHotKey::IsSupported() const
{
    return m_connection != nullptr;
}

std::unique_ptr<IGlobalHotKey> CreateDesktopGlobalHotKey()
{
    return std::make_unique<TX11GlobalHotKey>();
}

} // namespace quillet

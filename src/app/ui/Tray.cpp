#include "app/ui/Tray.h"

#include "app/CommandLine.h"
#include "app/ui/ShellUi.h"
#include "platform/IGlobalHotKey.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace quillet {

namespace {

constexpr THotKey kTrayHotKey{THotKey::kControl | THotKey::kShift, 'C'};

} // namespace

TTray::TTray(QWidget* window, QMenu* menu, IGlobalHotKey* hotKey)
    : QObject(window)
    , m_window(window)
    , m_menu(menu)
    , m_hotKey(hotKey)
{
}

TTray::~TTray()
{
    Release();
}

bool TTray::IsAvailable() const
{
    return m_available ? m_available() : QSystemTrayIcon::isSystemTrayAvailable();
}

void TTray::SetHotKey(IGlobalHotKey* hotKey)
{
    if (m_hotKey != hotKey) {
        ReleaseHotKey();
    }
    m_hotKey = hotKey;
}

QSystemTrayIcon* TTray::EnsureIcon()
{
    if (m_icon == nullptr) {
        m_icon = new QSystemTrayIcon(this);
        m_icon->setObjectName(QStringLiteral("TrayIcon"));
        m_icon->setContextMenu(m_menu);
        connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            // A double click restores; so does a plain click, which is what
            // most Linux trays report for the first button.
            if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) {
                Restore();
            }
        });
    }
    if (m_window != nullptr) {
        m_icon->setIcon(m_window->windowIcon());
    }
    m_icon->setToolTip(FromUtf8(kAppTitle));
    return m_icon;
}

bool TTray::MinimizeToTray(bool maximized)
{
    if (m_window == nullptr) {
        return false;
    }
    m_restoreMaximized = maximized;
    if (!IsAvailable()) {
        // No tray to come back from: an ordinary minimize keeps the taskbar button.
        m_window->showMinimized();
        return false;
    }
    EnsureIcon()->show();
    m_inTray = true;
    m_window->hide();
    m_hotKeyError.clear();
    // Without the hot key (unsupported or taken) the tray icon and its menu
    // still bring the window back.
    if (m_hotKey != nullptr) {
        m_hotKeyHeld = m_hotKey->Register(
            kTrayHotKey,
            [this] {
                Restore();
            },
            m_hotKeyError);
    }
    return true;
}

void TTray::Restore()
{
    const bool wasInTray = m_inTray;
    m_inTray = false;
    if (m_icon != nullptr) {
        m_icon->hide();
    }
    ReleaseHotKey();
    if (m_window == nullptr) {
        return;
    }
    if (wasInTray) {
        m_window->setWindowState(m_restoreMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    } else if (m_window->isMinimized()) {
        m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit Restored();
}

void TTray::Release()
{
    m_inTray = false;
    if (m_icon != nullptr) {
        m_icon->hide();
    }
    ReleaseHotKey();
}

void TTray::ReleaseHotKey()
{
    // Only a key this tray registered is touched: the service may be gone by
    // the time the window is destroyed after it was released.
    if (m_hotKeyHeld && m_hotKey != nullptr) {
        m_hotKey->Unregister();
    }
    m_hotKeyHeld = false;
}

} // namespace quillet

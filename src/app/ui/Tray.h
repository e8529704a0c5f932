#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace quillet {

class IGlobalHotKey;

// The main window's place in the system tray. Going to the tray hides the
// window (and so its taskbar button), shows the tray icon with its menu and
// grabs the hot key Ctrl+Shift+C; restoring undoes all three and brings the
// window back in the state it had. Where the desktop has no tray the window is
// only minimized, so it can always be reached again.
class TTray : public QObject {
    Q_OBJECT
public:
    // `window` and `hotKey` are not owned; hotKey may be nullptr (no hot key).
    TTray(QWidget* window, QMenu* menu, IGlobalHotKey* hotKey);
    ~TTray() override;

    // Whether the desktop shows tray icons; tests replace the question.
    void SetAvailability(std::function<bool()> available) { m_available = std::move(available); }
    bool IsAvailable() const;
    void SetHotKey(IGlobalHotKey* hotKey);

    // Sends the window to the tray; `maximized` is the state to restore. Without
    // a tray the window is minimized instead and false returned.
    bool MinimizeToTray(bool maximized);
    // Brings the window back from the tray (or from a plain minimize), hides
    // the icon and releases the hot key. Harmless when not in the tray.
    void Restore();
    bool IsInTray() const { return m_inTray; }
    // Hides the icon and releases the hot key for good (the window closes).
    void Release();

    QSystemTrayIcon* Icon() const { return m_icon; }
    // Why the hot key could not be registered the last time, or empty.
    const std::string& HotKeyError() const { return m_hotKeyError; }

signals:
    void Restored();

private:
    QSystemTrayIcon* EnsureIcon();
    void ReleaseHotKey();

    QPointer<QWidget> m_window;
    QMenu* m_menu = nullptr;
    IGlobalHotKey* m_hotKey = nullptr;
    QSystemTrayIcon* m_icon = nullptr;
    std::function<bool()> m_available;
    bool m_inTray = false;
    bool m_hotKeyHeld = false; // m_hotKey holds our registration
    bool m_restoreMaximized = false;
    std::string m_hotKeyError;
};

} // namespace quillet

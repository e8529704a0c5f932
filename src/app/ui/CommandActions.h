#pragma once

#include "app/CommandTable.h"

#include <QIcon>
#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <string_view>
#include <unordered_map>
#include <vector>

class QAction;
class QMenu;
class QTimer;
class QWidget;

namespace quillet {

// The shortcut of a command as written in the command table ("Ctrl+Num -",
// "Ctrl+Enter", "Ctrl+Del"); empty for an empty or unreadable text.
QKeySequence ShortcutFromText(std::string_view text);
// The desktop theme's icon of a command, or our own drawing when the theme has
// none; a null icon for a command without an image.
QIcon CommandIcon(const TCommandInfo& info);

// One QAction per command of the table, owned by `owner` and added to it so
// every shortcut works even for commands without a menu entry. Triggering an
// action runs the command through the registry. The update pass asks the
// registry for every command's state and applies it to the actions (and so to
// every menu entry and button showing them); it runs once the application is
// idle after user input, when a menu is about to show, and when asked.
// Captions and hints are translated by the window's translation pass, which
// finds the actions by their object names (the command names).
class TCommandActions : public QObject {
    Q_OBJECT
public:
    TCommandActions(QWidget* owner, TCommandRegistry& registry);
    ~TCommandActions() override;

    TCommandRegistry& Registry() { return m_registry; }
    // nullptr for a name not in the table.
    QAction* Action(std::string_view name) const;
    const std::vector<QAction*>& Actions() const { return m_actions; }

    // A submenu whose header command enables or disables it as a whole; an
    // unbound header enables the submenu while any of its entries is enabled.
    void AddSubmenu(std::string_view header, QMenu* menu);
    // Runs the update pass over the menu before it opens.
    void WatchMenu(QMenu* menu);

    // Applies every command's current state now.
    void UpdateAll();
    // Asks for an update pass once the event queue is empty (coalesced).
    void ScheduleUpdate();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(QAction* action, const TCommandState& state);

    TCommandRegistry& m_registry;
    std::vector<QAction*> m_actions;
    std::unordered_map<std::string_view, QAction*> m_byName;
    std::vector<std::pair<std::string_view, QPointer<QMenu>>> m_submenus;
    QTimer* m_idle = nullptr;
};

} // namespace quillet

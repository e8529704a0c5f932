#pragma once

#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace quillet {

class TCommandActions;
class TMainMenus;

// The toolbars built from the command table, each with its show/hide entry
// (an action named after the toggle command, in the Toolbars submenu and the
// toolbar area's pop-up menu). Toolbars can be docked on every side and
// floated. The Open button of the File toolbar drops down "RecentDropDown",
// the Play Macro button "MacroDropDown"; their owners fill them.
class TMainToolbars {
public:
    TMainToolbars(QMainWindow* window, TCommandActions& actions, TMainMenus& menus);

    const std::vector<QToolBar*>& Toolbars() const { return m_toolbars; }
    // The show/hide entries in toolbar order.
    const std::vector<QAction*>& Toggles() const { return m_toggles; }
    // The toolbar area's pop-up menu: the show/hide entries, a separator and
    // Customize; owned by parent.
    QMenu* BuildPopup(QWidget* parent) const;

private:
    TCommandActions& m_actions;
    std::vector<QToolBar*> m_toolbars;
    std::vector<QAction*> m_toggles;
};

// The show/hide entry of a toolbar, or nullptr.
QAction* ToolbarToggle(QToolBar* bar);

} // namespace quillet

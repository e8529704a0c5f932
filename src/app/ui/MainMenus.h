#pragma once

#include <QString>

#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace quillet {

class TCommandActions;
struct TMenuLayout;

// A place in a menu that other code fills at run time: entries go into `menu`
// before `before` (nullptr: at the end).
struct TMenuAnchor {
    QMenu* menu = nullptr;
    QAction* before = nullptr;
};

// The menus built from the command table: the menu bar's menus in order with
// their submenus, and the places filled later:
// - "RecentMenu": the submenu after File > Open holding the recent projects
//   ("RecentProj0".."RecentProj9"), a separator and the recent files
//   ("Recent0".."Recent9"), all hidden until the recent lists fill them;
// - "WindowList": the window list after the separator it is anchored on;
// - "ToolbarToggles": the toolbars' show/hide entries;
// - "SyntaxList": one entry per syntax definition, before "None";
// - "MacroList": the recorded macros, after "Play Macro".
class TMainMenus {
public:
    TMainMenus(QWidget* owner, QMenuBar* bar, TCommandActions& actions);

    // The top-level menus in order (object names "MenuFile" ... "MenuHelp").
    const std::vector<QMenu*>& Menus() const { return m_menus; }
    // Every submenu, top-level or nested, by object name.
    QMenu* Menu(const QString& name) const;
    TMenuAnchor Anchor(const QString& place) const;
    QMenu* RecentMenu() const { return m_recent; }
    // The separator that heads the window list.
    QAction* WindowListSeparator() const { return m_windowListSeparator; }

    // A pop-up menu of the table ("DocumentPopup", "TrayPopup", ...), owned by
    // parent; nullptr for an unknown key.
    static QMenu* BuildPopup(const QString& key, TCommandActions& actions, QWidget* parent);

private:
    static void Fill(QMenu* menu, const TMenuLayout& layout, TCommandActions& actions, TMainMenus* places);
    void MakePlace(QMenu* menu, const QString& place);

    QWidget* m_owner = nullptr;
    std::vector<QMenu*> m_menus;
    std::map<QString, QMenu*> m_byName;
    std::map<QString, TMenuAnchor> m_anchors;
    QMenu* m_recent = nullptr;
    QAction* m_windowListSeparator = nullptr;
};

} // namespace quillet

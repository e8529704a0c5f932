#pragma once

#include "app/ToolbarCustomization.h"

#include <QString>

#include <map>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace quillet {

class TCommandActions;
class TMainMenus;
class TSettingsStore;

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

    // ---- customization ------------------------------------------------------
    // The items a toolbar shows now, and its standard layout (empty for a
    // user toolbar).
    std::vector<TToolbarItem> Items(QToolBar* bar) const;
    std::vector<TToolbarItem> DesignItems(QToolBar* bar) const;
    // Rebuilds a toolbar from items. A command already on the toolbar, or not
    // from its standard layout, gets a button of its own, so a command added
    // twice gives two buttons.
    void SetItems(QToolBar* bar, const std::vector<TToolbarItem>& items);
    bool IsUserToolbar(QToolBar* bar) const;
    QToolBar* Find(const QString& name) const;
    // A new empty user toolbar at the top with its show/hide entry; name is
    // the internal name (its store sections), caption the typed name.
    QToolBar* AddUserToolbar(const QString& name, const QString& caption);
    void RemoveUserToolbar(QToolBar* bar);
    void SetCaption(QToolBar* bar, const QString& caption);
    // The standard toolbars, then the user toolbars.
    std::vector<QToolBar*> AllToolbars() const;
    // The toolbars customization lists: all but the quick templates bar.
    std::vector<QToolBar*> CustomizableToolbars() const;
    // Writes the toolbar's caption and items (SaveToolbarButtons).
    bool SaveToolbar(TSettingsStore& store, QToolBar* bar) const;
    // At start: captions and items of the stored toolbars, and the user
    // toolbars with a caption (TBXInitializeToolbars).
    void InitializeFromStore(TSettingsStore& store);
    // Whether a command of the given name exists.
    bool IsCommand(std::string_view name) const;
    TCommandActions& CommandActions() const { return m_actions; }

private:
    QAction* CopyOf(QAction* original, QToolBar* bar, std::string_view command);
    void RestoreDropDown(QToolBar* bar);

    QMainWindow* m_window;
    TMainMenus& m_menus;
    TCommandActions& m_actions;
    std::vector<QToolBar*> m_toolbars;
    std::vector<QToolBar*> m_userToolbars;
    std::vector<QAction*> m_toggles;
    std::map<QToolBar*, std::vector<TToolbarItem>> m_items;
    int m_copyCounter = 0;
};

// The show/hide entry of a toolbar, or nullptr.
QAction* ToolbarToggle(QToolBar* bar);

} // namespace quillet

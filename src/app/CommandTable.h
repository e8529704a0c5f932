#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillet {

// ---- The command set ------------------------------------------------------------

enum TCommandFlag : unsigned {
    kCommandCheckable = 1u << 0, // menu entries and buttons show a check state
    kCommandHiddenUntilBound = 1u << 1, // shown only once a part of the program binds it
};

// One named command. The name is also the translation key of the caption
// (and name + "Hint" of the hint). The hint is "short|long": the short text is
// the tooltip, the long one the status-bar text; either may be empty. The
// shortcut is written as the user reads it ("Ctrl+Shift+N", "Ctrl+Num -").
// `image` names our own icon file (without ".svg"), `themeIcon` the desktop
// theme's icon tried first; both may be empty.
struct TCommandInfo {
    std::string_view name;
    std::string_view caption;
    std::string_view shortcut;
    std::string_view hint;
    std::string_view image;
    std::string_view themeIcon;
    unsigned flags = 0;

    std::string_view ShortHint() const;
    std::string_view LongHint() const;
    bool Has(TCommandFlag flag) const { return (flags & flag) != 0; }
};

// Every command of the main window, in a fixed order.
std::span<const TCommandInfo> CommandTable();
// nullptr for a name not in the table.
const TCommandInfo* FindCommandInfo(std::string_view name);

// ---- Menus, pop-up menus and toolbars ------------------------------------------------

// An entry of a menu or toolbar layout: a command name, "-" for a separator,
// ">" + the header command of a submenu (">MenuInsert"), or "@" + a place
// that other code fills at run time ("@RecentMenu", "@WindowList",
// "@ToolbarToggles", "@SyntaxList", "@MacroList").
enum class TLayoutItemKind { Command, Separator, Submenu, Placeholder };
TLayoutItemKind LayoutItemKind(std::string_view item);
// The command, submenu header or place named by an item ("" for a separator).
std::string_view LayoutItemName(std::string_view item);

struct TMenuLayout {
    std::string_view key; // object name and translation key
    std::string_view caption; // English caption ("" for a submenu: its header command's caption)
    std::span<const std::string_view> items;
};

// The menu bar's menus in order.
std::span<const TMenuLayout> MainMenuLayouts();
// Submenus, keyed by their header command ("MenuInsert", "EditSort", ...).
std::span<const TMenuLayout> SubmenuLayouts();
const TMenuLayout* FindSubmenuLayout(std::string_view header);
// The pop-up menus: "DocumentPopup", "TrayPopup", "ProjectTreePopup",
// "BrowserPopup", "ResultPopup".
std::span<const TMenuLayout> PopupMenuLayouts();
const TMenuLayout* FindPopupLayout(std::string_view key);

struct TToolbarLayout {
    std::string_view name; // object name
    std::string_view titleKey; // translation key of its caption ("" when not translated)
    std::string_view title; // English caption
    std::string_view toggleName; // its show/hide command ("" when it has none)
    std::string_view toggleCaption;
    std::string_view toggleHint;
    bool visibleAtFirst = true;
    std::span<const std::string_view> items;
    // The command whose button carries a drop-down menu ("" for none) and the
    // place that fills it.
    std::string_view dropDownCommand;
    std::string_view dropDownPlace;
};

std::span<const TToolbarLayout> ToolbarLayouts();

// Where a command first appears in the menu bar: the top-level menu's key and
// the entry's position in the flattened menu (submenus counted in place), or
// an empty key when it has no menu-bar entry.
struct TMenuPlace {
    std::string_view menu;
    int order = -1;
};
TMenuPlace MenuPlaceOf(std::string_view command);

// Commands that appear on no menu and no toolbar: the pool user-defined
// toolbars are assembled from.
std::vector<std::string_view> HiddenPoolCommands();

// ---- The registry of operations ------------------------------------------------------

struct TCommandState {
    bool enabled = false;
    bool checked = false;
    bool visible = true;
    std::string caption; // UTF-8; replaces the table's caption while not empty
};

// Binds the operations of the commands by name. A command nobody has bound is
// disabled and unchecked (and hidden when its table entry says so), so no
// entry offers something that does not happen. A bound command without an
// update operation is always enabled. The guard, when set and answering true,
// consumes every command before it executes.
class TCommandRegistry {
public:
    using TExecute = std::function<void()>;
    using TUpdate = std::function<void(TCommandState&)>;

    TCommandRegistry();

    // False (and nothing bound) for a name not in the table. Binding again
    // replaces the earlier operations.
    bool Bind(std::string_view name, TExecute execute, TUpdate update = {});
    // Binds operations that take over while `applies` answers true; otherwise
    // the binding made before (when there was one) executes and reports the
    // state. False for a name not in the table.
    bool BindOver(std::string_view name, std::function<bool()> applies, TExecute execute, TUpdate update = {});
    // The operations bound now (empty functions when none), for a binding
    // that wraps them.
    TExecute ExecuteOf(std::string_view name) const;
    TUpdate UpdateOf(std::string_view name) const;
    void Unbind(std::string_view name);
    bool IsBound(std::string_view name) const;

    // The state the command should show now (runs its update operation).
    TCommandState State(std::string_view name) const;
    // Runs the command when it is bound, enabled now and not consumed by the
    // guard; returns whether it ran.
    bool Execute(std::string_view name);

    void SetGuard(std::function<bool()> consume) { m_guard = std::move(consume); }

private:
    struct TBinding {
        TExecute execute;
        TUpdate update;
    };
    const TBinding* Find(std::string_view name) const;

    std::unordered_map<std::string, TBinding> m_bindings;
    std::function<bool()> m_guard;
};

} // namespace quillet

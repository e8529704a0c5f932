#include "app/CommandTable.h"

#include <unordered_map>

namespace quillet {

namespace {

using std::string_view;

// ---- Menu bar ----

constexpr string_view kFileMenu[] = {"FileNew",
    "FileNewHex",
    "FileOpen",
    "@RecentMenu",
    "FileClose",
    "FileCloseAll",
    "-",
    "FileSave",
    "FileSaveAs",
    "FileSaveAll",
    "FileRevert",
    "FileReopenCP",
    "-",
    "FilePrint",
    "-",
    ">MenuExport",
    "FileSend",
    "FileSendAttachment",
    "-",
    "FileExit"};

// The editing submenus shared by the Edit menu and the document pop-up.
#define QUILLET_EDIT_SUBMENUS                                                                                          \
    ">MenuInsert", ">MenuChangeCase", ">EditIndent", ">EditSort", ">MenuEncodeDecodeHash", ">MenuTabsSpaces",          \
        ">MenuComents", "EditRemoveDiacritics", "-", "EditAddToDoItem"

constexpr string_view kEditMenu[] = {"EditUndo",
    "EditRedo",
    "-",
    "EditCut",
    "EditCopy",
    "EditCopyRTF",
    "EditPaste",
    "EditSelectAll",
    "-",
    QUILLET_EDIT_SUBMENUS};

constexpr string_view kSearchMenu[] = {"SearchFind",
    "SearchFindNext",
    "SearchFindPrevious",
    "SearchFindFiles",
    "SearchReplace",
    "-",
    "SearchGoToLine",
    ">MenuGoToBookmark",
    "SearchToggleBreakpoint",
    "SearchToggleBookmark",
    "SearchClearAllBookmark",
    "-",
    "SearchOppositeBracket",
    "-",
    "SearchDifferences"};

constexpr string_view kViewMenu[] = {"ViewCodeTemplates",
    "ViewHighlightURLs",
    "-",
    "ViewLineNumbers",
    "ViewColorSyntax",
    "ViewSpecialSymbols",
    "ViewWordWrap",
    "ViewReadOnly",
    ">ViewLines",
    "-",
    "ViewAsHex",
    "-",
    ">MenuToolbars",
    ">MenuTabs",
    "-",
    "ViewAsciiTable",
    "ViewResultWindow",
    "ViewProjectTree",
    "ViewQuickTemplate",
    "ViewToDoList"};

constexpr string_view kProjectMenu[] = {"ProjectNew",
    "ProjectOpen",
    "ProjectClose",
    "ProjectSave",
    "ProjectSaveAs",
    "-",
    "ProjectAdd",
    "ProjectRemove",
    "-",
    "ViewProjectTree",
    "-",
    "ProjectToDoList"};

constexpr string_view kSyntaxMenu[] = {"@SyntaxList", "SyntaxNone", "-", "SyntaxConfigure"};

constexpr string_view kToolsMenu[] = {"ToolsSyntaxDefinitionEditor",
    "ToolsCodeTemplateEditor",
    ">ToolsUserActions",
    ">MacroMenuMacro",
    "-",
    "ConfigureOptions"};

constexpr string_view kWindowMenu[] = {"ViewSplit",
    "ViewSynchronizeScroll",
    "CompareRotateView",
    "-",
    "WindowCascade",
    "WindowTileHorizontal",
    "WindowTileVertical",
    "WindowMinimizeAll",
    "WindowArrangeAll",
    "-",
    "ViewAlwaysOnTop",
    "MinimizeToSystray",
    "-",
    "WindowPrior",
    "WindowNext",
    "@WindowList"};

constexpr string_view kHelpMenu[] = {"HelpHelpTopics", "-", "HelpSendFedback", "HelpWebsite", "-", "HelpAbout"};

constexpr TMenuLayout kMainMenus[] = {
    {"MenuFile", "&File", kFileMenu},
    {"MenuEdit", "&Edit", kEditMenu},
    {"MenuSearch", "&Search", kSearchMenu},
    {"MenuView", "&View", kViewMenu},
    {"MenuProject", "&Project", kProjectMenu},
    {"MenuSyntax", "S&yntax", kSyntaxMenu},
    {"MenuTools", "&Tools", kToolsMenu},
    {"MenuWindow", "&Window", kWindowMenu},
    {"MenuHelp", "&Help", kHelpMenu},
};

// ---- Submenus ----

constexpr string_view kExportMenu[] = {"FileExportRTF", "FileExportHTML"};
constexpr string_view kInsertMenu[] = {"EditInsertDate", "EditInsertTime", "EditInsertGUID"};
constexpr string_view kChangeCaseMenu[] = {"EditUpperCase", "EditLowerCase", "EditInvertCase", "EditCapitalize"};
constexpr string_view kIndentMenu[] = {"EditAddIndents", "EditRemoveIndents"};
constexpr string_view kSortMenu[] = {"EditSortAsc", "EditSortDesc"};
constexpr string_view kEncodeMenu[] = {"EditEncodeMime",
    "EditEncodeUU",
    "EditEncodeXX",
    "EditEncodeQP",
    "-",
    "EditDecodeMime",
    "EditDecodeUU",
    "EditDecodeXX",
    "EditDecodeQP",
    "-",
    "EditCrc16",
    "EditCrc32",
    "EditMD5"};
constexpr string_view kTabsSpacesMenu[] = {"EditTabsToSpaces", "EditSpacesToTabs"};
constexpr string_view kCommentsMenu[] = {"EditCommentBlock", "EditUncommentBlock"};
constexpr string_view kBookmarkMenu[] = {"SearchGoToBookmark1",
    "SearchGoToBookmark2",
    "SearchGoToBookmark3",
    "SearchGoToBookmark4",
    "SearchGoToBookmark5",
    "SearchGoToBookmark6",
    "SearchGoToBookmark7",
    "SearchGoToBookmark8",
    "SearchGoToBookmark9",
    "SearchGoToBookmark0"};
constexpr string_view kLinesMenu[] = {"ViewCollapse", "ViewExpand", "ViewExpandAll"};
constexpr string_view kToolbarsMenu[] = {"@ToolbarToggles", "-", "ViewCustomize"};
constexpr string_view kTabsMenu[] = {"ViewTabsTop", "ViewTabsBottom"};
constexpr string_view kUserActionsMenu[] = {"ToolsUserAction1",
    "ToolsUserAction2",
    "ToolsUserAction3",
    "ToolsUserAction4",
    "ToolsUserAction5",
    "ToolsUserAction6",
    "ToolsUserAction7",
    "ToolsUserAction8",
    "ToolsUserAction9",
    "ToolsUserAction10",
    "ToolsUserAction11",
    "ToolsUserAction12",
    "ToolsUserAction13",
    "ToolsUserAction14",
    "-",
    "ToolsConfigureActions"};
constexpr string_view kMacrosMenu[] = {"MacroPlay", "@MacroList", "MacroRecord", "MacroStop"};

constexpr TMenuLayout kSubmenus[] = {
    {"MenuExport", "", kExportMenu},
    {"MenuInsert", "", kInsertMenu},
    {"MenuChangeCase", "", kChangeCaseMenu},
    {"EditIndent", "", kIndentMenu},
    {"EditSort", "", kSortMenu},
    {"MenuEncodeDecodeHash", "", kEncodeMenu},
    {"MenuTabsSpaces", "", kTabsSpacesMenu},
    {"MenuComents", "", kCommentsMenu},
    {"MenuGoToBookmark", "", kBookmarkMenu},
    {"ViewLines", "", kLinesMenu},
    {"MenuToolbars", "", kToolbarsMenu},
    {"MenuTabs", "", kTabsMenu},
    {"ToolsUserActions", "", kUserActionsMenu},
    {"MacroMenuMacro", "", kMacrosMenu},
};

// ---- Pop-up menus ----

constexpr string_view kDocumentPopup[] = {"FileClose",
    "-",
    "EditUndo",
    "EditRedo",
    "-",
    "EditCut",
    "EditCopy",
    "EditCopyRTF",
    "EditPaste",
    "EditSelectAll",
    "-",
    "ProjectAdd",
    "ProjectRemove",
    "-",
    "ViewCollapse",
    "ViewExpand",
    "-",
    QUILLET_EDIT_SUBMENUS};
#undef QUILLET_EDIT_SUBMENUS

constexpr string_view kTrayPopup[] = {"TrayOpen", "FileExit", "-", "HelpAbout"};
constexpr string_view kProjectTreePopup[] = {"ProjectAddExt", "ProjectRemoveExt", "-", "ProjectOpenFile"};
constexpr string_view kBrowserPopup[] = {"FileOpen2"};
constexpr string_view kResultPopup[] = {"EditCopyNew", "-", "EditCopyLine", "EditCopyContent", "-", "EditClear"};

constexpr TMenuLayout kPopups[] = {
    {"DocumentPopup", "", kDocumentPopup},
    {"TrayPopup", "", kTrayPopup},
    {"ProjectTreePopup", "", kProjectTreePopup},
    {"BrowserPopup", "", kBrowserPopup},
    {"ResultPopup", "", kResultPopup},
};

// ---- Toolbars ----

constexpr string_view kStandardBar[] = {
    "FileNew", "FileOpen", "FileSave", "FileSaveAll", "-", "FilePrint", "-", "FileSend", "FileSendAttachment"};
constexpr string_view kEditBar[] = {"EditUndo",
    "EditRedo",
    "-",
    "EditCut",
    "EditCopy",
    "EditPaste",
    "-",
    "EditAddIndents",
    "EditRemoveIndents",
    "-",
    "EditAddToDoItem"};
constexpr string_view kViewBar[] = {"ViewHighlightURLs",
    "ViewLineNumbers",
    "ViewColorSyntax",
    "-",
    "ViewCollapse",
    "ViewExpand",
    "-",
    "ViewProjectTree",
    "-",
    "ViewSplit",
    "ViewSynchronizeScroll",
    "CompareRotateView"};
constexpr string_view kSearchBar[] = {"SearchFind",
    "SearchFindNext",
    "SearchFindPrevious",
    "SearchReplace",
    "-",
    "SearchGoToLine",
    "-",
    "SearchOppositeBracket",
    "-",
    "SearchToggleBreakpoint",
    "SearchToggleBookmark"};
constexpr string_view kClipboardBar[] = {
    "EditCopy", "EditPasteAll", "-", "EditPaste1", "EditPaste2", "EditPaste3", "EditPaste4", "-", "EditDelete"};
constexpr string_view kToolsBar[] = {"ToolsUserAction1",
    "ToolsUserAction2",
    "ToolsUserAction3",
    "ToolsUserAction4",
    "ToolsUserAction5",
    "ToolsUserAction6",
    "ToolsUserAction7",
    "ToolsUserAction8",
    "ToolsUserAction9",
    "ToolsUserAction10",
    "ToolsUserAction11",
    "ToolsUserAction12",
    "ToolsUserAction13",
    "ToolsUserAction14"};
constexpr string_view kWindowBar[] = {"WindowPrior", "WindowNext", "-", "ViewAlwaysOnTop"};
constexpr string_view kMacroBar[] = {"MacroPlay", "MacroRecord", "MacroStop"};

constexpr TToolbarLayout kToolbars[] = {
    {"StandardBar",
        "StandardBar",
        "File",
        "ViewStandard",
        "&Standard",
        "Standard|Show or hide the File toolbar",
        true,
        kStandardBar,
        "FileOpen",
        "@RecentMenu"},
    {"EditBar", "EditBar", "Edit", "ViewEdit", "&Edit", "Edit|Show or hide the Edit toolbar", true, kEditBar, "", ""},
    {"SearchBar",
        "SearchBar",
        "Search",
        "ViewSearch",
        "Se&arch",
        "Search|Show or hide the Search toolbar",
        true,
        kSearchBar,
        "",
        ""},
    {"ViewBar", "ViewBar", "View", "ViewView", "&View", "View|Show or hide the View toolbar", true, kViewBar, "", ""},
    {"WindowBar",
        "",
        "Window",
        "ViewWindow",
        "&Window",
        "Window|Show or hide the Window toolbar",
        true,
        kWindowBar,
        "",
        ""},
    {"ToolsBar",
        "ToolsBar",
        "Tools",
        "ViewTools",
        "&Tools",
        "Tools|Show or hide the Tools toolbar",
        true,
        kToolsBar,
        "",
        ""},
    {"ClipboardBar",
        "ClipboardsBar",
        "Clipboards",
        "ViewClipboards",
        "&Clipboards",
        "Clipboards|Show or hide the Clipboards toolbar",
        true,
        kClipboardBar,
        "",
        ""},
    {"MacroBar",
        "MacroBar",
        "Macros",
        "ViewMacro",
        "&Macros",
        "Macros|Show or hide the Macros toolbar",
        false,
        kMacroBar,
        "MacroPlay",
        "@MacroList"},
    {"QuickTemplatesForm", "QuickTemplatesForm", "Quick Templates", "", "", "", false, {}, "", ""},
};

const std::unordered_map<string_view, const TCommandInfo*>& CommandIndex()
{
    static const auto index = [] {
        std::unordered_map<string_view, const TCommandInfo*> map;
        for (const TCommandInfo& info : CommandTable()) {
            map.emplace(info.name, &info);
        }
        return map;
    }();
    return index;
}

const TMenuLayout* FindIn(std::span<const TMenuLayout> layouts, string_view key)
{
    for (const TMenuLayout& layout : layouts) {
        if (layout.key == key) {
            return &layout;
        }
    }
    return nullptr;
}

// Walks a menu depth-first, submenus in place; stops when visit returns true.
template <typename TVisit> bool Walk(std::span<const string_view> items, int& order, const TVisit& visit)
{
    for (string_view item : items) {
        if (LayoutItemKind(item) == TLayoutItemKind::Command && visit(item, order)) {
            return true;
        }
        ++order;
        if (LayoutItemKind(item) == TLayoutItemKind::Submenu) {
            if (const TMenuLayout* sub = FindSubmenuLayout(LayoutItemName(item)); sub != nullptr) {
                if (Walk(sub->items, order, visit)) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace

string_view TCommandInfo::ShortHint() const
{
    const auto bar = hint.find('|');
    return bar == string_view::npos ? hint : hint.substr(0, bar);
}

string_view TCommandInfo::LongHint() const
{
    const auto bar = hint.find('|');
    return bar == string_view::npos ? hint : hint.substr(bar + 1);
}

const TCommandInfo* FindCommandInfo(string_view name)
{
    const auto& index = CommandIndex();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

TLayoutItemKind LayoutItemKind(string_view item)
{
    if (item == "-") {
        return TLayoutItemKind::Separator;
    }
    if (item.starts_with('>')) {
        return TLayoutItemKind::Submenu;
    }
    if (item.starts_with('@')) {
        return TLayoutItemKind::Placeholder;
    }
    return TLayoutItemKind::Command;
}

string_view LayoutItemName(string_view item)
{
    switch (LayoutItemKind(item)) {
    case TLayoutItemKind::Separator:
        return {};
    case TLayoutItemKind::Submenu:
    case TLayoutItemKind::Placeholder:
        return item.substr(1);
    case TLayoutItemKind::Command:
        break;
    }
    return item;
}

std::span<const TMenuLayout> MainMenuLayouts()
{
    return kMainMenus;
}

std::span<const TMenuLayout> SubmenuLayouts()
{
    return kSubmenus;
}

const TMenuLayout* FindSubmenuLayout(string_view header)
{
    return FindIn(kSubmenus, header);
}

std::span<const TMenuLayout> PopupMenuLayouts()
{
    return kPopups;
}

const TMenuLayout* FindPopupLayout(string_view key)
{
    return FindIn(kPopups, key);
}

std::span<const TToolbarLayout> ToolbarLayouts()
{
    return kToolbars;
}

TMenuPlace MenuPlaceOf(string_view command)
{
    for (const TMenuLayout& menu : kMainMenus) {
        int order = 0;
        int found = -1;
        if (Walk(menu.items, order, [&](string_view item, int at) {
                if (item == command) {
                    found = at;
                    return true;
                }
                return false;
            })) {
            return {menu.key, found};
        }
    }
    return {};
}

std::vector<string_view> HiddenPoolCommands()
{
    std::unordered_map<string_view, bool> shown;
    auto mark = [&](std::span<const string_view> items) {
        for (string_view item : items) {
            if (LayoutItemKind(item) == TLayoutItemKind::Command) {
                shown[item] = true;
            }
        }
    };
    for (const TMenuLayout& menu : kMainMenus) {
        mark(menu.items);
    }
    for (const TMenuLayout& menu : kSubmenus) {
        mark(menu.items);
    }
    for (const TMenuLayout& menu : kPopups) {
        mark(menu.items);
    }
    for (const TToolbarLayout& bar : kToolbars) {
        mark(bar.items);
    }
    std::vector<string_view> pool;
    for (const TCommandInfo& info : CommandTable()) {
        if (!shown.contains(info.name) && FindSubmenuLayout(info.name) == nullptr) {
            pool.push_back(info.name);
        }
    }
    return pool;
}

// ---- TCommandRegistry ----

TCommandRegistry::TCommandRegistry() = default;

bool TCommandRegistry::Bind(string_view name, TExecute execute, TUpdate update)
{
    if (FindCommandInfo(name) == nullptr) {
        return false;
    }
    m_bindings[std::string(name)] = TBinding{std::move(execute), std::move(update)};
    return true;
}

bool TCommandRegistry::BindOver(string_view name, std::function<bool()> applies, TExecute execute, TUpdate update)
{
    const TBinding* before = Find(name);
    TBinding earlier = before != nullptr ? *before : TBinding{};
    const bool hadEarlier = before != nullptr;
    return Bind(
        name,
        [applies, execute = std::move(execute), earlier] {
            if (applies()) {
                if (execute) {
                    execute();
                }
            } else if (earlier.execute) {
                earlier.execute();
            }
        },
        [applies, update = std::move(update), earlier, hadEarlier](TCommandState& state) {
            if (applies()) {
                if (update) {
                    update(state);
                }
                return;
            }
            // Unbound before: disabled, as an unbound command shows.
            state.enabled = hadEarlier;
            if (earlier.update) {
                earlier.update(state);
            }
        });
}

TCommandRegistry::TExecute TCommandRegistry::ExecuteOf(string_view name) const
{
    const TBinding* binding = Find(name);
    return binding != nullptr ? binding->execute : TExecute{};
}

TCommandRegistry::TUpdate TCommandRegistry::UpdateOf(string_view name) const
{
    const TBinding* binding = Find(name);
    return binding != nullptr ? binding->update : TUpdate{};
}

void TCommandRegistry::Unbind(string_view name)
{
    m_bindings.erase(std::string(name));
}

bool TCommandRegistry::IsBound(string_view name) const
{
    return Find(name) != nullptr;
}

const TCommandRegistry::TBinding* TCommandRegistry::Find(string_view name) const
{
    const auto found = m_bindings.find(std::string(name));
    return found == m_bindings.end() ? nullptr : &found->second;
}

TCommandState TCommandRegistry::State(string_view name) const
{
    TCommandState state;
    const TBinding* binding = Find(name);
    if (binding == nullptr) {
        const TCommandInfo* info = FindCommandInfo(name);
        state.visible = info == nullptr || !info->Has(kCommandHiddenUntilBound);
        return state;
    }
    state.enabled = true;
    if (binding->update) {
        binding->update(state);
    }
    return state;
}

bool TCommandRegistry::Execute(string_view name)
{
    const TBinding* binding = Find(name);
    if (binding == nullptr || !binding->execute) {
        return false;
    }
    if (m_guard && m_guard()) {
        return false;
    }
    const TCommandState state = State(name);
    if (!state.enabled || !state.visible) {
        return false;
    }
    // A copy: the operation may rebind or unbind its own command.
    const TExecute execute = binding->execute;
    execute();
    return true;
}

} // namespace quillet

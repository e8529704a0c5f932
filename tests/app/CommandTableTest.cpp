#include "app/CommandTable.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <string_view>

namespace quillet {
namespace {

struct TExpectedCommand {
    std::string_view name, caption, shortcut, tooltip, statusText;
};

// The command set as users see it in English: caption, shortcut, tooltip and
// status-bar text of every command.
constexpr TExpectedCommand kExpected[] = {
    {"FileNew", "&New", "Ctrl+N", "New", "Create a new document"},
    {"FileNewHex", "New &Binary", "Ctrl+Shift+N", "New Binary", "Create a new binary document"},
    {"FileOpen", "&Open...", "Ctrl+O", "Open", "Open an existing document"},
    {"EditCopyRTF", "Copy as R&TF", "", "Copy as RTF", "Copy the selection to the Clipboard in RTF format"},
    {"FileClose", "&Close", "Ctrl+F4", "Close", "Close current document"},
    {"FileCloseAll", "Clos&e All", "", "Close All", "Close all documents"},
    {"FileSave", "&Save", "Ctrl+S", "Save", "Save current document"},
    {"FileSaveAs", "Sa&ve As...", "F12", "Save As", "Save current document with different name"},
    {"FileSaveAll", "Save A&ll", "Ctrl+Shift+S", "Save All", "Save all changed documents"},
    {"FileRevert", "Relo&ad", "", "Reload", "Reload the current document to the last saved version"},
    {"FilePrint", "&Print...", "Ctrl+P", "Print", "Print current document"},
    {"FileExportRTF", "Export to &RTF...", "", "Export to RTF", "Export current document to RTF format"},
    {"FileExportHTML", "Export to &HTML...", "", "Export to HTML", "Export current document to HTML format"},
    {"EditUndo", "&Undo", "Ctrl+Z", "Undo", "Undo the last action"},
    {"FileSend", "Sen&d...", "", "Send", "Send current document via email"},
    {"FileSendAttachment",
        "Send as Attach&ment...",
        "",
        "Send as Attachment",
        "Send current document via email as attachment"},
    {"EditRedo", "&Redo", "Ctrl+Shift+Z", "Redo", "Redo the previously undone action"},
    {"WindowCascade", "&Cascade", "", "Cascade", "Arrange windows so they overlap"},
    {"WindowTileHorizontal", "Tile &Horizontally", "", "Tile Horizontally", "Arrange windows as tile down the screen"},
    {"WindowTileVertical", "Tile &Vertically", "", "Tile Vertically", "Arrange windows as tile across the screen"},
    {"WindowMinimizeAll", "&Minimize All", "", "Minimize All", "Minimize all windows"},
    {"WindowArrangeAll", "&Arrange All", "", "Arrange All", "Arrange all minimized windows"},
    {"WindowPrior", "Previous Window", "", "Previous Window", "Show previous window"},
    {"HelpAbout", "&About Quillet...", "", "About Quillet", ""},
    {"FileExit", "E&xit", "Alt+F4", "Exit", "Exit application"},
    {"EditCut", "Cu&t", "Ctrl+X", "Cut", "Cut the selection to the Clipboard"},
    {"EditCopy", "&Copy", "Ctrl+C", "Copy", "Copy the selection to the Clipboard"},
    {"EditPaste", "&Paste", "Ctrl+V", "Paste", "Insert Clipboard contents"},
    {"EditInsertTime", "&Time", "", "Insert Time", "Insert the current time"},
    {"EditInsertDate", "&Date", "", "Insert Date", "Insert the current date"},
    {"EditInsertGUID", "&GUID", "", "Insert GUID", "Insert the unique GUID"},
    {"EditUpperCase",
        "&Upper Case",
        "Ctrl+Shift+U",
        "Upper Case",
        "Change selection or character after the cursor to upper case"},
    {"EditLowerCase",
        "&Lower Case",
        "Ctrl+Shift+L",
        "Lower Case",
        "Change selection or character after the cursor to lower case"},
    {"EditInvertCase",
        "&Invert Case",
        "",
        "Invert Case",
        "Invert the case of the selection or character after the cursor"},
    {"EditCapitalize",
        "&Capitalize",
        "",
        "Capitalize",
        "Make first character of each selected word upper case and the rest lower case"},
    {"EditIndent", "&Indent", "", "Add and Remove Indent", ""},
    {"EditAddIndents",
        "&Add Indents",
        "Ctrl+I",
        "Add Indents",
        "Increase indentation of selected lines by the indent size settings"},
    {"EditRemoveIndents",
        "Re&move Indents",
        "Ctrl+Shift+I",
        "Remove Indents",
        "Reduce indentation of selected lines by the indent size settings"},
    {"SearchFind", "&Find...", "Ctrl+F", "Find", "Search for text in the current document"},
    {"EditAddToDoItem", "A&dd To-Do Item...", "Ctrl+Shift+T", "Add To-Do Item", "Insert the To-Do item"},
    {"EditSelectAll", "&Select All", "Ctrl+A", "Select All", "Select the entire document"},
    {"SearchFindNext", "Find &Next", "F3", "Find Next", "Find next occurrence of search string"},
    {"SearchFindPrevious", "Find &Previous", "Shift+F3", "Find Previous", "Find previous occurrence of search string"},
    {"SearchReplace", "&Replace...", "Ctrl+R", "Replace", "Replace occurrences of search string"},
    {"SearchGoToLine", "&Go to Line...", "Ctrl+G", "Go to Line", "Go to specified line"},
    {"SearchGoToBookmark1", "SearchGoToBookmark1", "Ctrl+1", "", ""},
    {"SearchGoToBookmark2", "SearchGoToBookmark2", "Ctrl+2", "", ""},
    {"SearchGoToBookmark3", "SearchGoToBookmark3", "Ctrl+3", "", ""},
    {"SearchGoToBookmark4", "SearchGoToBookmark4", "Ctrl+4", "", ""},
    {"SearchGoToBookmark5", "SearchGoToBookmark5", "Ctrl+5", "", ""},
    {"SearchGoToBookmark6", "SearchGoToBookmark6", "Ctrl+6", "", ""},
    {"SearchGoToBookmark7", "SearchGoToBookmark7", "Ctrl+7", "", ""},
    {"SearchGoToBookmark8", "SearchGoToBookmark8", "Ctrl+8", "", ""},
    {"SearchGoToBookmark9", "SearchGoToBookmark9", "Ctrl+9", "", ""},
    {"SearchGoToBookmark0", "SearchGoToBookmark0", "Ctrl+0", "", ""},
    {"SearchOppositeBracket",
        "&Match Opposite Bracket",
        "Ctrl+M",
        "Match Opposite Bracket",
        "Search for opposite bracket"},
    {"SearchToggleBookmark",
        "&Toggle Bookmark",
        "Ctrl+B",
        "Toggle Bookmark",
        "Set or clear a bookmark on the current line"},
    {"SearchClearAllBookmark", "&Clear All Bookmarks", "", "Clear All Bookmarks", "Clear all bookmarks"},
    {"HelpSendFedback", "Send &Fedback...", "", "Send Fedback", "Send comments to author via email"},
    {"ViewCodeTemplates", "&Code Templates", "Ctrl+J", "Code Templates", "Show code templates"},
    {"ViewColorSyntax", "Color S&yntax", "", "Color Syntax", "Toggle colorize selected syntax in current document"},
    {"ViewHighlightURLs", "&Highlight URLs", "Ctrl+U", "Highlight URLs", "Toggle highlight URLs in current document"},
    {"ViewSpecialSymbols", "&Special Symbols", "", "Special Symbols", "Show or hide special symbols"},
    {"ViewWordWrap", "&Word Wrap", "Ctrl+Shift+W", "Word Wrap", "Toggle word-wrap mode"},
    {"SyntaxConfigure", "&Configure...", "", "Configure Syntax Definition", "Add or remove syntax definition"},
    {"ConfigureOptions", "&Options...", "Alt+O", "Options", "Configure software options"},
    {"ToolsSyntaxDefinitionEditor",
        "&Syntax Definition Editor...",
        "",
        "Syntax Definition Editor",
        "Create or modify syntax definition"},
    {"ToolsCodeTemplateEditor",
        "&Code Template Editor...",
        "",
        "Code Template Editor",
        "Create or modify code template"},
    {"ConfigureSaveStatePosition",
        "Save State && &Position",
        "",
        "Save State && Position",
        "Save main window position, child window state and menu state"},
    {"ConfigureFileAssociations",
        "&File Associations...",
        "",
        "File Associations",
        "Modify the list of registered file types handled by Quillet"},
    {"SyntaxNone", "None (Plain Text)", "", "", ""},
    {"ViewToDoList", "&To-Do List...", "Ctrl+T", "To-Do List", "Show To-Do items list"},
    {"ToolsUserAction1", "", "F8", "", ""},
    {"ToolsUserAction2", "", "Ctrl+F8", "", ""},
    {"ToolsUserAction3", "", "F9", "", ""},
    {"ToolsUserAction4", "", "Ctrl+F9", "", ""},
    {"ToolsUserAction5", "", "", "", ""},
    {"ConfigureExportOptions",
        "&Export Registry Settings...",
        "",
        "Export Registry Settings",
        "Export registry settings into *.reg file"},
    {"ViewReadOnly", "&Read Only", "", "Read Only", "Toggle read-only state"},
    {"ViewAsciiTable", "&ASCII Table...", "", "ASCII Table", "Show or hide ASCII table"},
    {"ToolsUserAction", "User Action %s", "Ctrl+Q", "", ""},
    {"TrayOpen", "&Open Quillet", "Ctrl+Shift+C", "", ""},
    {"HelpHelpTopics", "&Help Topics...", "F1", "Help Topics", "Display the help contents page for Quillet"},
    {"EditPasteAll", "Paste All", "", "Paste All", "Insert all Clipboards contents"},
    {"EditPaste1", "Paste Clipboard 1", "", "", ""},
    {"EditPaste2", "Paste Clipboard 2", "", "", ""},
    {"EditPaste3", "Paste Clipboard 3", "", "", ""},
    {"EditPaste4", "Paste Clipboard 4", "", "", ""},
    {"EditDelete", "Delete All Clipboards", "", "Delete All Clipboards", "Clear contents of all Clipboards"},
    {"ViewTabsTop", "&Top Tabs", "", "Top Tabs", "Show or hide document tabs at top of window"},
    {"ViewTabsBottom", "&Bottom Tabs", "", "Bottom Tabs", "Show or hide document tabs at bottom of window"},
    {"ViewSplit",
        "Split Window into Two &Parts",
        "Ctrl+Num -",
        "Split Window into Two Parts",
        "Split current document window into two parts"},
    {"ViewSynchronizeScroll",
        "Sy&nchronize Scrolling",
        "Ctrl+Num *",
        "Synchronize Scrolling",
        "Synchronize scrolling in two parts in current document"},
    {"ViewSwitch", "Select Second Window", "Ctrl+Enter", "Switch to Second Window", ""},
    {"Action2", "Action2", "Ctrl+Shift+0", "", ""},
    {"Action3", "Action3", "Ctrl+Shift+1", "", ""},
    {"Action4", "Action4", "Ctrl+Shift+2", "", ""},
    {"Action5", "Action5", "Ctrl+Shift+3", "", ""},
    {"Action6", "Action6", "Ctrl+Shift+4", "", ""},
    {"Action7", "Action7", "Ctrl+Shift+5", "", ""},
    {"Action8", "Action8", "Ctrl+Shift+6", "", ""},
    {"Action9", "Action9", "Ctrl+Shift+7", "", ""},
    {"Action10", "Action10", "Ctrl+Shift+8", "", ""},
    {"Action11", "Action11", "Ctrl+Shift+9", "", ""},
    {"ToolsUserAction6", "", "", "", ""},
    {"ToolsUserAction7", "", "", "", ""},
    {"ToolsUserAction8", "", "", "", ""},
    {"ToolsUserAction9", "", "", "", ""},
    {"ToolsUserAction10", "", "", "", ""},
    {"ViewLines", "&Lines", "", "Collapsing and Expanding Lines", ""},
    {"ViewCollapse", "C&ollapse Lines", "", "Collapse Lines", "Collapse Selected Lines"},
    {"ViewExpand", "&Expand Lines", "", "Expand Lines", "Expand Selected Lines"},
    {"ViewExpandAll", "E&xpand All", "", "Expand All", "Expand All Collapsed Lines"},
    {"ViewLineNumbers", "&Line Numbers", "", "Line Numbers", "Toggle Line Numbers"},
    {"SearchToggleBreakpoint",
        "&Toggle Breakpoint",
        "F5",
        "Toggle Breakpoint",
        "Set or clear a breakpoint on the current line"},
    {"ViewAlwaysOnTop", "&Always on Top", "", "Always on Top", ""},
    // The tray entry of the window menu, which the desktop's own window menu cannot take.
    {"MinimizeToSystray", "Minimize to &Systray", "", "Minimize to Systray", "Hide the main window in the system tray"},
    {"SearchDifferences",
        "&Differences...",
        "",
        "Differences",
        "Compare active document with other document or with any file"},
    {"Action1", "Action1", "Ctrl+E", "", ""},
    {"Action12", "", "Ctrl+L", "", ""},
    {"ViewResultWindow", "Res&ult Window...", "", "Result Window", "Show or hide Result window"},
    {"SearchFindFiles", "F&ind in Files...", "", "Find in Files", "Search for text in files"},
    {"EditClear", "Clear", "", "Clear", "Clear result window"},
    {"EditCopyContent",
        "Copy Content to Clipboard",
        "",
        "Copy Content to Clipboard",
        "Copy result window content to Clipboard"},
    {"EditCopyLine",
        "Copy Selected Line to Clipboard",
        "",
        "Copy Selected Line to Clipboard",
        "Copy result window selected line to Clipboard"},
    {"EditCopyNew",
        "Copy Content into New Document",
        "",
        "Copy Content into New Document",
        "Copy result window content into New document"},
    {"EditSort", "&Sort", "", "Sort Ascending and Descending", ""},
    {"EditSortAsc", "Sort Ascending", "", "Sort Ascending", "Sort selected text in ascending order"},
    {"EditSortDesc", "Sort Descending", "", "Sort Descending", "Sort selected text in descending order"},
    {"ProjectNew", "New Project", "", "New Project", "Create a new project"},
    {"ProjectOpen", "Open Project...", "", "Open Project", "Open an existing project"},
    {"ProjectClose", "Close Project", "", "Close Project", "Close current project"},
    {"ProjectSave", "Save Project", "", "Save Project", "Save current project"},
    {"ProjectSaveAs", "Save Project As...", "", "Save Project As", "Save current project with different name"},
    {"ProjectAdd", "&Add File to Project", "", "Add File to Project", "Add current file to project"},
    {"ProjectRemove", "&Remove File from Project", "", "Remove File from Project", "Remove current file from project"},
    {"ProjectToDoList", "Project &To-Do List...", "", "Project To-Do List", "Show project's To-Do items list"},
    {"ViewProjectTree", "Project &Tree...", "", "Project Tree", "Show or hide Project tree"},
    {"ViewAsHex",
        "View as &Binary File...",
        "",
        "View as Binary File",
        "View current document in hex editor like binary file"},
    {"ProjectOpenFile", "Open File", "", "Open File", "Open selected file"},
    {"ProjectAddExt", "&Add File to Project...", "", "Add File to Project", "Add other file(s) to project"},
    {"ProjectRemoveExt",
        "&Remove File from Project",
        "",
        "Remove File from Project",
        "Remove selected file from project"},
    {"FileExit2", "FileExit2", "", "", ""},
    {"FileOpen2", "Open File", "", "Open File", "Open selected file"},
    {"BlockQuoteUpdate", "BlockQuoteUpdate", "", "", ""},
    {"ViewQuickTemplate", "&Quick Templates...", "", "Quick Templates", "Show or hide Quick Templates"},
    {"CompareRotateView", "&Rotate View", "", "Rotate View", "Rotate View between horizontally and vertically split"},
    {"HelpWebsite",
        "Visit Quillet's &Website...",
        "",
        "Visit Quillet's &Website",
        "View Quillet's Home Page in default Internet browser"},
    {"ControlDelete", "ControlDelete", "Ctrl+Del", "", ""},
    {"WindowClose", "C&lose", "Ctrl+W", "", ""},
    {"EditRemoveDiacritics", "Remove Diacritics", "", "Remove Diacritics", "Remove diacritics from selected text"},
    {"ToolsUserAction11", "", "", "", ""},
    {"ToolsUserAction12", "", "", "", ""},
    {"ToolsUserAction13", "", "", "", ""},
    {"ToolsUserAction14", "", "", "", ""},
    {"ToolsConfigureActions",
        "Configure &User Actions...",
        "",
        "Configure User Actions",
        "Modify user defined actions"},
    {"WindowNext", "Next Window", "", "Next Window", "Show next window"},
    {"ViewCustomize", "Customize...", "", "Customize", "Show toolbars customize dialog"},
    {"MacroRecord", "Record Macro", "", "Record Macro", "Record Macro"},
    {"MacroStop", "Stop recording Macro", "Ctrl+Num Lock", "Stop recording Macro", "Stop recording Macro"},
    {"MacroPlay", "Play Macro", "", "Play Macro", "Play Macro"},
    {"MenuExport", "Expor&t", "", "Export to RTF and HTML", ""},
    {"MenuInsert", "&Insert", "", "Insert Date, Time and GUID", ""},
    {"MenuChangeCase", "Cha&nge Case", "", "Change selection case", ""},
    {"MenuGoToBookmark", "Go to &Bookmark", "", "Go to Bookmark", ""},
    {"MenuToolbars", "T&oolbars", "", "Toolbars", ""},
    {"MenuTabs", "&Document Tabs", "", "Document tabs", ""},
    {"ToolsUserActions", "&User Actions", "", "User Actions", ""},
    {"FileReopenCP", "&Reopen in other CP", "", "Reopen in other CP", "Reopen the current document in other Code Page"},
    {"MacroMenuMacro", "&Macros", "", "Macros", ""},
    {"MenuEncodeDecodeHash",
        "&Encode, Decode, Hash",
        "",
        "Encode, Decode, hash",
        "Encode, decode, compute hash from selected text"},
    {"EditEncodeMime",
        "Encode as &MIME (Base64)",
        "",
        "Encode as MIME (Base64)",
        "Encode selected text as MIME (Base64)"},
    {"EditEncodeUU", "Encode as &UUcode", "", "Encode as UUcode", "Encode selected text as UUcode"},
    {"EditEncodeXX", "Encode as &XXcode", "", "Encode as XXcode", "Encode selected text as XXcode"},
    {"EditDecodeMime",
        "Decode from &MIME (Base64)",
        "",
        "Decode from MIME (Base64)",
        "Decode selected text from MIME (Base64)"},
    {"EditDecodeUU", "Decode from &UUcode", "", "Deccode from UUcode", "Decode selected text from UUcode"},
    {"EditDecodeXX", "Decode from &XXcode", "", "Decode from XXcode", "Decode selected text from XXcode"},
    {"EditCrc32", "Compute &Crc32", "", "Compute Crc32", "Compute Crc32 from selected text"},
    {"EditCrc16", "Compute C&rc16", "", "Compute Crc16", "Compute Crc16 from selected text"},
    {"EditMD5", "Compute &MD5 hash", "", "Compute MD5 hash", "Compute MD5 hash from selected text"},
    {"EditEncodeQP",
        "Encode as Quoted printable form",
        "",
        "Encode as Quoted printable form",
        "Encode selected text as Quoted printable form"},
    {"EditDecodeQP",
        "Decode from Quoted printable form",
        "",
        "Decode from Quoted printable form",
        "Decode selected text from Quoted printable form"},
    {"MenuTabsSpaces", "Tabs and Spaces", "", "Converts tabs and spaces", ""},
    {"EditTabsToSpaces", "Tabs to Spaces", "", "Tabs to Spaces", "Change tabs to spaces by the tab size settings"},
    {"EditSpacesToTabs", "Spaces to Tabs", "", "Spaces to Tabs", "Change spaces to tabs by the tab size settings"},
    {"MenuComents", "Comments", "", "Comments or uncomments block", ""},
    {"EditCommentBlock",
        "Comment Block",
        "",
        "Comment Block",
        "Coments block with single line coment from syntax definition"},
    {"EditUncommentBlock",
        "Uncomment Block",
        "",
        "Uncomment Block",
        "Uncoments block with single line coment from syntax definition"},
};

TEST(CommandTable, EveryCommandHasItsCaptionShortcutAndHint)
{
    for (const TExpectedCommand& expected : kExpected) {
        SCOPED_TRACE(std::string(expected.name));
        const TCommandInfo* info = FindCommandInfo(expected.name);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->caption, expected.caption);
        EXPECT_EQ(info->shortcut, expected.shortcut);
        EXPECT_EQ(info->ShortHint(), expected.tooltip);
        EXPECT_EQ(info->LongHint(), expected.statusText);
    }
    EXPECT_EQ(CommandTable().size(), std::size(kExpected));
}

TEST(CommandTable, NamesAndShortcutsAreUnique)
{
    std::set<std::string_view> names;
    std::set<std::string_view> shortcuts;
    for (const TCommandInfo& info : CommandTable()) {
        EXPECT_TRUE(names.insert(info.name).second) << info.name;
        if (!info.shortcut.empty()) {
            EXPECT_TRUE(shortcuts.insert(info.shortcut).second) << info.shortcut << " of " << info.name;
        }
    }
}

// Every entry of every menu, pop-up and toolbar names a command of the table
// or a submenu that exists; nothing points nowhere.
TEST(CommandTable, LayoutsNameOnlyKnownCommands)
{
    auto check = [](std::string_view owner, std::span<const std::string_view> items) {
        for (std::string_view item : items) {
            SCOPED_TRACE(std::string(owner) + ": " + std::string(item));
            switch (LayoutItemKind(item)) {
            case TLayoutItemKind::Command:
                EXPECT_NE(FindCommandInfo(item), nullptr);
                break;
            case TLayoutItemKind::Submenu:
                EXPECT_NE(FindSubmenuLayout(LayoutItemName(item)), nullptr);
                EXPECT_NE(FindCommandInfo(LayoutItemName(item)), nullptr);
                break;
            case TLayoutItemKind::Separator:
            case TLayoutItemKind::Placeholder:
                break;
            }
        }
    };
    for (const TMenuLayout& menu : MainMenuLayouts()) {
        check(menu.key, menu.items);
    }
    for (const TMenuLayout& menu : SubmenuLayouts()) {
        check(menu.key, menu.items);
    }
    for (const TMenuLayout& menu : PopupMenuLayouts()) {
        check(menu.key, menu.items);
    }
    for (const TToolbarLayout& bar : ToolbarLayouts()) {
        check(bar.name, bar.items);
    }
}

TEST(CommandTable, MenuPlacesFollowTheMenuOrder)
{
    struct TCase {
        std::string_view command, menu;
        int order;
    };
    // Positions count separators, submenu headers and run-time places, with
    // submenus in place.
    const TCase cases[] = {
        {"FileNew", "MenuFile", 0},
        {"FileClose", "MenuFile", 4},
        {"FileExportHTML", "MenuFile", 17},
        {"FileExit", "MenuFile", 21},
        {"EditInsertDate", "MenuEdit", 10},
        {"SearchGoToBookmark0", "MenuSearch", 17},
        {"ViewProjectTree", "MenuView", 25},
        {"MinimizeToSystray", "MenuWindow", 11},
        {"WindowNext", "MenuWindow", 14},
        {"HelpAbout", "MenuHelp", 5},
        {"ConfigureExportOptions", "", -1},
    };
    for (const TCase& c : cases) {
        const TMenuPlace place = MenuPlaceOf(c.command);
        EXPECT_EQ(place.menu, c.menu) << c.command;
        EXPECT_EQ(place.order, c.order) << c.command;
    }
    const auto pool = HiddenPoolCommands();
    const std::set<std::string_view> hidden(pool.begin(), pool.end());
    EXPECT_TRUE(hidden.contains("ConfigureExportOptions"));
    EXPECT_TRUE(hidden.contains("FileExit2"));
    EXPECT_FALSE(hidden.contains("FileNew"));
    EXPECT_FALSE(hidden.contains("EditPasteAll")); // on the Clipboards toolbar
}

TEST(CommandRegistry, UnboundCommandsAreDisabledAndBoundOnesFollowTheirUpdate)
{
    TCommandRegistry registry;
    EXPECT_FALSE(registry.State("FileNew").enabled);
    EXPECT_FALSE(registry.Execute("FileNew"));
    // User actions stay out of sight until someone provides them.
    EXPECT_FALSE(registry.State("ToolsUserAction3").visible);
    EXPECT_TRUE(registry.State("FileNew").visible);

    int runs = 0;
    EXPECT_FALSE(registry.Bind("NoSuchCommand", [&] {
        ++runs;
    }));
    EXPECT_FALSE(registry.IsBound("NoSuchCommand"));

    ASSERT_TRUE(registry.Bind("FileNew", [&] {
        ++runs;
    }));
    EXPECT_TRUE(registry.State("FileNew").enabled);
    EXPECT_TRUE(registry.Execute("FileNew"));

    bool enabled = false;
    ASSERT_TRUE(registry.Bind(
        "ViewReadOnly",
        [&] {
            ++runs;
        },
        [&](TCommandState& state) {
            state.enabled = enabled;
            state.checked = true;
        }));
    EXPECT_FALSE(registry.State("ViewReadOnly").enabled);
    EXPECT_TRUE(registry.State("ViewReadOnly").checked);
    // A disabled command does not run even when asked directly (a shortcut
    // pressed before the next update pass).
    EXPECT_FALSE(registry.Execute("ViewReadOnly"));
    enabled = true;
    EXPECT_TRUE(registry.Execute("ViewReadOnly"));
    EXPECT_EQ(runs, 2);

    registry.Unbind("FileNew");
    EXPECT_FALSE(registry.State("FileNew").enabled);
    EXPECT_FALSE(registry.Execute("FileNew"));
}

TEST(CommandRegistry, GuardConsumesCommandsWhileItAnswersTrue)
{
    TCommandRegistry registry;
    int runs = 0;
    registry.Bind("FileNew", [&] {
        ++runs;
    });
    bool compareActive = true;
    registry.SetGuard([&] {
        return compareActive;
    });
    EXPECT_FALSE(registry.Execute("FileNew"));
    compareActive = false;
    EXPECT_TRUE(registry.Execute("FileNew"));
    EXPECT_EQ(runs, 1);
}

TEST(CommandRegistry, ACommandMayUnbindItselfWhileRunning)
{
    TCommandRegistry registry;
    int runs = 0;
    registry.Bind("FileNew", [&] {
        ++runs;
        registry.Unbind("FileNew");
    });
    EXPECT_TRUE(registry.Execute("FileNew"));
    EXPECT_FALSE(registry.Execute("FileNew"));
    EXPECT_EQ(runs, 1);
}

} // namespace
} // namespace quillet

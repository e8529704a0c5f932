#include "app/ui/MainMenus.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/DocumentTabs.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/QuilletMainForm.h"
#include "text/ui/ChildForm.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace quillet {
namespace {

// The entries of a menu as object names: "-" for a separator, ">" + name for a
// submenu; hidden recent entries and window-list entries are left out.
QStringList Entries(const QMenu* menu)
{
    QStringList names;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            names << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            names << QStringLiteral(">") + action->menu()->objectName();
        } else {
            names << action->objectName();
        }
    }
    return names;
}

bool Enabled(TQuilletMainForm& form, const char* name)
{
    form.UpdateCommands();
    QAction* action = form.CommandActions().Action(name);
    return action != nullptr && action->isEnabled();
}

TChildForm* OpenDocument(TQuilletMainForm& form, const std::string& text)
{
    auto* child = new TChildForm();
    child->MemoSource().LoadFromText(text);
    form.AddMdiChild(child);
    return child;
}

TEST(MainMenus, MenuBarAndMenusFollowTheTableOrder)
{
    TQuilletMainForm form;
    QStringList titles;
    for (QAction* action : form.menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles.join(QLatin1Char(' ')), "&File &Edit &Search &View &Project S&yntax &Tools &Window &Help");

    const std::map<QString, QString> expected = {
        {"MenuFile",
            "FileNew FileNewHex FileOpen >RecentMenu FileClose FileCloseAll - FileSave FileSaveAs FileSaveAll "
            "FileRevert FileReopenCP - FilePrint - >MenuExport FileSend FileSendAttachment - FileExit"},
        {"MenuSearch",
            "SearchFind SearchFindNext SearchFindPrevious SearchFindFiles SearchReplace - SearchGoToLine "
            ">MenuGoToBookmark SearchToggleBreakpoint SearchToggleBookmark SearchClearAllBookmark - "
            "SearchOppositeBracket - SearchDifferences"},
        {"MenuWindow",
            "ViewSplit ViewSynchronizeScroll CompareRotateView - WindowCascade WindowTileHorizontal "
            "WindowTileVertical WindowMinimizeAll WindowArrangeAll - ViewAlwaysOnTop MinimizeToSystray - WindowPrior "
            "WindowNext -"},
        {"MenuToolbars",
            "ViewStandard ViewEdit ViewSearch ViewView ViewWindow ViewTools ViewClipboards ViewMacro - ViewCustomize"},
        {"MenuGoToBookmark",
            "SearchGoToBookmark1 SearchGoToBookmark2 SearchGoToBookmark3 SearchGoToBookmark4 SearchGoToBookmark5 "
            "SearchGoToBookmark6 SearchGoToBookmark7 SearchGoToBookmark8 SearchGoToBookmark9 SearchGoToBookmark0"},
        {"MenuHelp", "HelpHelpTopics - HelpSendFedback HelpWebsite - HelpAbout"},
    };
    for (const auto& [name, entries] : expected) {
        const QMenu* menu = form.MainMenus().Menu(name);
        ASSERT_NE(menu, nullptr) << name.toStdString();
        EXPECT_EQ(Entries(menu).join(QLatin1Char(' ')), entries) << name.toStdString();
    }
    // The recent menu holds ten project places, a separator and ten file places.
    const QMenu* recent = form.MainMenus().RecentMenu();
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->actions().size(), 21);
    EXPECT_TRUE(recent->actions()[10]->isSeparator());

    // The document pop-up shares the Edit menu's submenus.
    ASSERT_NE(form.DocumentPopup(), nullptr);
    EXPECT_TRUE(Entries(form.DocumentPopup()).join(QLatin1Char(' ')).startsWith("FileClose - EditUndo EditRedo -"));
}

TEST(MainMenus, ToolbarsCarryTheirCommandsAndHints)
{
    TQuilletMainForm form;
    auto* window = form.findChild<QToolBar*>("WindowBar");
    ASSERT_NE(window, nullptr);
    QStringList names;
    for (QAction* action : window->actions()) {
        names << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
    }
    EXPECT_EQ(names.join(QLatin1Char(' ')), "WindowPrior WindowNext - ViewAlwaysOnTop");
    EXPECT_TRUE(form.findChild<QToolBar*>("MacroBar")->isHidden());
    EXPECT_TRUE(form.findChild<QToolBar*>("QuickTemplatesForm")->isHidden());
    EXPECT_NE(form.findChild<QMenu*>("RecentDropDown"), nullptr);

    QAction* fileNew = form.CommandActions().Action("FileNew");
    EXPECT_EQ(fileNew->toolTip(), "New");
    EXPECT_EQ(fileNew->statusTip(), "Create a new document");
    EXPECT_FALSE(fileNew->icon().isNull());
    EXPECT_EQ(fileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    // A command with a tooltip and no status text says nothing in the status bar.
    EXPECT_EQ(form.CommandActions().Action("HelpAbout")->statusTip(), "");
}

TEST(MainMenus, ShortcutsAreReadAndNoneIsTakenTwice)
{
    struct TCase {
        const char* text;
        QKeySequence keys;
    };
    const TCase cases[] = {
        {"Ctrl+Shift+N", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
        {"Ctrl+Num -", QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Minus))},
        {"Ctrl+Num *", QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Asterisk))},
        {"Ctrl+Enter", QKeySequence(Qt::CTRL | Qt::Key_Return)},
        {"Ctrl+Del", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"Ctrl+Num Lock", QKeySequence(Qt::CTRL | Qt::Key_NumLock)},
        {"Alt+F4", QKeySequence(Qt::ALT | Qt::Key_F4)},
        {"Ctrl+Shift+0", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0)},
        {"", QKeySequence()},
        {"Hyper+X", QKeySequence()},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(ShortcutFromText(c.text), c.keys) << c.text;
    }

    TQuilletMainForm form;
    std::map<QKeySequence, QString> taken;
    for (QAction* action : form.findChildren<QAction*>()) {
        for (const QKeySequence& keys : action->shortcuts()) {
            const auto [at, fresh] = taken.emplace(keys, action->objectName());
            EXPECT_TRUE(fresh) << keys.toString().toStdString() << ": " << action->objectName().toStdString() << " and "
                               << at->second.toStdString();
        }
    }
    for (const TCommandInfo& info : CommandTable()) {
        if (!info.shortcut.empty()) {
            EXPECT_FALSE(form.CommandActions().Action(info.name)->shortcut().isEmpty()) << info.name;
        }
    }
}

TEST(MainMenus, DocumentCommandsFollowTheActiveDocument)
{
    TQuilletMainForm form;
    // Always available, and not yet provided by anyone (disabled, not lying).
    EXPECT_TRUE(Enabled(form, "FileExit"));
    EXPECT_TRUE(Enabled(form, "HelpAbout"));
    EXPECT_TRUE(Enabled(form, "ViewAlwaysOnTop"));
    EXPECT_FALSE(Enabled(form, "ViewCustomize"));
    const char* documentCommands[] = {"ViewSplit",
        "SearchToggleBookmark",
        "EditSelectAll",
        "WindowCascade",
        "WindowNext",
        "WindowMinimizeAll",
        "ViewLineNumbers",
        "ViewWordWrap"};
    for (const char* name : documentCommands) {
        EXPECT_FALSE(Enabled(form, name)) << name;
    }
    EXPECT_FALSE(form.MainMenus().Menu("MenuGoToBookmark")->menuAction()->isEnabled());

    TChildForm* child = OpenDocument(form, "one\ntwo\nthree\n");
    for (const char* name : documentCommands) {
        EXPECT_TRUE(Enabled(form, name)) << name;
    }
    // Rules of their own: rotating needs a split window, copying a selection,
    // clearing bookmarks a bookmark, undo something to undo.
    EXPECT_FALSE(Enabled(form, "CompareRotateView"));
    EXPECT_FALSE(Enabled(form, "EditCopy"));
    EXPECT_FALSE(Enabled(form, "SearchClearAllBookmark"));
    EXPECT_FALSE(Enabled(form, "SearchGoToBookmark3"));
    EXPECT_FALSE(Enabled(form, "EditUndo"));

    form.CommandActions().Action("ViewSplit")->trigger();
    EXPECT_TRUE(child->IsSplit());
    EXPECT_TRUE(Enabled(form, "CompareRotateView"));
    EXPECT_TRUE(form.CommandActions().Action("ViewSplit")->isChecked());

    form.CommandActions().Action("Action5")->trigger(); // bookmark 3
    EXPECT_TRUE(child->BookmarkSlotUsed(3));
    EXPECT_TRUE(Enabled(form, "SearchGoToBookmark3"));
    EXPECT_TRUE(Enabled(form, "SearchClearAllBookmark"));
    EXPECT_TRUE(form.MainMenus().Menu("MenuGoToBookmark")->menuAction()->isEnabled());

    form.CommandActions().Action("EditSelectAll")->trigger();
    EXPECT_TRUE(Enabled(form, "EditCopy"));
    EXPECT_TRUE(Enabled(form, "EditCut"));
    EXPECT_TRUE(Enabled(form, "EditInsertDate"));
    EXPECT_TRUE(form.MainMenus().Menu("MenuInsert")->menuAction()->isEnabled());
    child->MemoSource().SetReadOnly(true);
    EXPECT_FALSE(Enabled(form, "EditInsertDate"));
    EXPECT_FALSE(form.MainMenus().Menu("MenuInsert")->menuAction()->isEnabled());
    EXPECT_TRUE(Enabled(form, "EditCopy"));
    form.UpdateCommands();
    EXPECT_TRUE(form.CommandActions().Action("ViewReadOnly")->isChecked());

    delete child;
    for (const char* name : documentCommands) {
        EXPECT_FALSE(Enabled(form, name)) << name;
    }
}

TEST(MainMenus, GoToBookmarkEntriesShowUsedSlotsWithTheirLines)
{
    TQuilletMainForm form;
    const std::string sixty(60, 'x');
    TChildForm* child = OpenDocument(form, "  fish & chips  \n" + sixty + "\nthird\n");
    form.UpdateCommands();
    child->MemoSource().JumpTo(0, 0);
    form.CommandActions().Action("Action5")->trigger(); // bookmark 3
    child->MemoSource().JumpTo(0, 1);
    form.CommandActions().Action("Action2")->trigger(); // bookmark 0
    form.UpdateCommands();

    struct Case {
        const char* command;
        bool shown;
        QString caption;
    };
    const Case cases[] = {
        {"SearchGoToBookmark3", true, QStringLiteral("&3  fish && chips")},
        {"SearchGoToBookmark0", true, QStringLiteral("&0  ") + QString(50, QLatin1Char('x')) + QStringLiteral(" ...")},
        {"SearchGoToBookmark1", false, {}},
        {"SearchGoToBookmark9", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        QAction* action = form.CommandActions().Action(c.command);
        EXPECT_EQ(action->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_EQ(action->text(), c.caption);
        }
    }

    // The caption follows the line's text; clearing frees every entry.
    child->MemoSource().LoadFromText("changed\n");
    child->MemoSource().JumpTo(0, 0);
    form.UpdateCommands();
    form.CommandActions().Action("Action5")->trigger();
    form.UpdateCommands();
    EXPECT_EQ(form.CommandActions().Action("SearchGoToBookmark3")->text(), QStringLiteral("&3  changed"));
    form.UpdateCommands();
    form.CommandActions().Action("SearchClearAllBookmark")->trigger();
    form.UpdateCommands();
    EXPECT_FALSE(form.CommandActions().Action("SearchGoToBookmark3")->isVisible());
    delete child;
}

TEST(MainMenus, ExpandLinesNeedsASelectionOfMoreThanOneLine)
{
    TQuilletMainForm form;
    TChildForm* child = OpenDocument(form, "a\nb\nc\n");
    EXPECT_FALSE(Enabled(form, "ViewExpand")) << "no selection";
    child->MemoSource().SetSelection(TSelKind::selStream, 0, 0, 1, 0);
    EXPECT_FALSE(Enabled(form, "ViewExpand")) << "one line";
    child->MemoSource().SetSelection(TSelKind::selStream, 0, 0, 0, 1);
    EXPECT_TRUE(Enabled(form, "ViewExpand"));
    EXPECT_TRUE(Enabled(form, "ViewCollapse"));
    delete child;
}

TEST(MainMenus, BoundCommandsRunThroughTheRegistryAndTheGuardStopsThem)
{
    TQuilletMainForm form;
    int runs = 0;
    form.Commands().Bind("FileNew", [&] {
        ++runs;
    });
    EXPECT_TRUE(Enabled(form, "FileNew"));
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 1);

    // While another window claims the commands (the compare window), Ctrl+N
    // does nothing.
    bool claimed = true;
    form.Commands().SetGuard([&] {
        return claimed;
    });
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 1);
    claimed = false;
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 2);

    // A submenu without its own rule opens while any of its entries is enabled.
    QMenu* exportMenu = form.MainMenus().Menu("MenuExport");
    ASSERT_NE(exportMenu, nullptr);
    form.UpdateCommands();
    EXPECT_FALSE(exportMenu->menuAction()->isEnabled());
    form.Commands().Bind("FileExportHTML", [] {});
    form.UpdateCommands();
    EXPECT_TRUE(exportMenu->menuAction()->isEnabled());

    // Always on top follows its command and is checked while set.
    form.CommandActions().Action("ViewAlwaysOnTop")->trigger();
    form.UpdateCommands();
    EXPECT_TRUE(form.AlwaysOnTop());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.CommandActions().Action("ViewAlwaysOnTop")->isChecked());
}

// Not a test of its own: with QUILLET_MENUS_DEMO set to a folder it shows the
// main window with all toolbars and a document, opens menus one by one and
// saves a screenshot of the whole screen for each (run under Xvfb).
TEST(MainMenusScreenshotDemo, ShowsMenusAndToolbars)
{
    const char* folder = std::getenv("QUILLET_MENUS_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_MENUS_DEMO to a folder for the screenshots";
    }
    TQuilletMainForm form;
    form.resize(1260, 860);
    form.move(0, 0);
    for (QToolBar* bar : form.MainToolbars().Toolbars()) {
        if (bar->objectName() != QLatin1String("QuickTemplatesForm")) {
            bar->show();
        }
    }
    form.show();
    for (const char* name : {"/home/user/src/parser.h", "/home/user/src/R&D notes.txt"}) {
        TChildForm* other = OpenDocument(form, "// notes\n");
        other->SetFileName(name);
    }
    TChildForm* child = OpenDocument(form, "int main(void)\n{\n\treturn 0;\n}\n");
    child->SetFileName("/home/user/src/main.c");
    child->MemoSource().SetModified(true);
    child->showMaximized();
    form.CommandActions().Action("EditSelectAll")->trigger();
    form.UpdateCommands();
    QTest::qWait(500);
    auto shoot = [&](const QString& name) {
        QTest::qWait(400);
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
    };
    shoot(QStringLiteral("main-window"));
    for (QMenu* menu : form.MainMenus().Menus()) {
        form.menuBar()->setActiveAction(menu->menuAction());
        QTest::qWait(100);
        // The first entry under the pointer: its long hint fills the status bar.
        for (QAction* entry : menu->actions()) {
            if (!entry->isSeparator() && entry->isVisible() && entry->isEnabled()) {
                menu->setActiveAction(entry);
                break;
            }
        }
        shoot(menu->objectName());
        menu->hide();
        QTest::qWait(100);
    }
    QMenu* edit = form.MainMenus().Menu(QStringLiteral("MenuEdit"));
    form.menuBar()->setActiveAction(edit->menuAction());
    QTest::qWait(300);
    QMenu* sub = form.MainMenus().Menu(QStringLiteral("MenuChangeCase"));
    edit->setActiveAction(sub->menuAction());
    sub->popup(edit->geometry().topRight() + QPoint(0, edit->actionGeometry(sub->menuAction()).top()));
    shoot(QStringLiteral("MenuEdit-ChangeCase"));
    sub->hide();
    edit->hide();
    // A toolbar button under the pointer.
    auto* bar = form.findChild<QToolBar*>(QStringLiteral("StandardBar"));
    QWidget* button = bar->widgetForAction(form.CommandActions().Action("FileSave"));
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
    QApplication::sendEvent(button, &enter);
    shoot(QStringLiteral("status-hint"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    // The document tabs at the bottom, and the tab pop-up menu.
    form.CommandActions().Action("ViewTabsBottom")->trigger();
    shoot(QStringLiteral("tabs-bottom"));
    form.CommandActions().Action("ViewTabsTop")->trigger();
    QTabBar* top = form.DocumentTabs().Bar(TDocumentTabs::TPlace::Top);
    const QPoint at = top->tabRect(1).center();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, top->mapToGlobal(at));
    QApplication::sendEvent(top, &menuEvent);
    shoot(QStringLiteral("tabs-top-popup"));
    form.DocumentPopup()->hide();
}

} // namespace
} // namespace quillet

#include "app/OpenFilesMessage.h"
#include "app/ShellSeams.h"
#include "app/ui/CommandActions.h"
#include "app/ui/DocumentWindow.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/StatusPanel.h"
#include "core/Translations.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>
#include <optional>

namespace quillet {
namespace {

class TRecordingOpener : public IDocumentOpener {
public:
    bool CreateMDIChild(const TOpenRequest& request) override
    {
        requests.push_back(request);
        return true;
    }
    std::vector<TOpenRequest> requests;
};

// A document window that answers the close question as told and notes that
// it was asked.
class TFakeDocument : public QMdiSubWindow, public IDocumentWindow {
public:
    TFakeDocument(const QString& name, bool agrees, std::vector<QString>& asked)
        : m_name(name)
        , m_agrees(agrees)
        , m_asked(asked)
    {
        setWindowTitle(name);
    }
    bool CloseQuery() override
    {
        m_asked.push_back(m_name);
        return m_agrees;
    }

private:
    QString m_name;
    bool m_agrees;
    std::vector<QString>& m_asked;
};

class TFakeProject : public IProjectSession {
public:
    bool IsOpen() const override { return true; }
    bool IsModified() const override { return true; }
    std::string FileName() const override { return "/p/My & Project.qpr"; }
    bool Save() override
    {
        ++saves;
        return saveSucceeds;
    }
    int saves = 0;
    bool saveSucceeds = true;
};

// Answers the next message box with button and notes its caption and text.
void AnswerNextMessageBox(QMessageBox::StandardButton button, QString* caption, QString* text)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *caption = box->windowTitle();
        *text = box->text();
        box->button(button)->click();
    });
}

TEST(MainForm, StatusBarHasFivePanels)
{
    TQuilletMainForm form;
    const auto panels = form.statusBar()->findChildren<TStatusPanel*>();
    ASSERT_EQ(panels.size(), 5);
    const int widths[] = {75, 75, 75, 185};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(panels[i]->width(), widths[i]);
    }
    EXPECT_TRUE(panels[0]->alignment() & Qt::AlignHCenter);
    form.SetStatusText(TQuilletMainForm::kPanelSyntax, QString(300, 'x'));
    EXPECT_EQ(form.StatusText(TQuilletMainForm::kPanelSyntax), QString(300, 'x'));
    EXPECT_TRUE(panels[3]->text().endsWith(QChar(0x2026))); // cut with an ellipsis
    EXPECT_EQ(form.StatusTexts().readOnly, "Read Only");
    EXPECT_EQ(form.windowTitle(), "Quillet");
}

TEST(MainForm, CloseAsksDocumentsInWindowOrderThenTheProject)
{
    std::vector<QString> asked;
    TQuilletMainForm form;
    form.AddMdiChild(new TFakeDocument("one", true, asked));
    auto* refusing = form.AddMdiChild(new TFakeDocument("two", false, asked));
    form.AddMdiChild(new TFakeDocument("three", true, asked));
    form.MdiArea()->setActiveSubWindow(refusing);
    TFakeProject project;
    form.SetProjectSession(&project);

    EXPECT_FALSE(form.close()); // "two" refuses: "three" is never asked
    EXPECT_EQ(asked, (std::vector<QString>{"one", "two"}));
    EXPECT_EQ(project.saves, 0);

    delete refusing;
    asked.clear();
    QString caption;
    QString text;
    AnswerNextMessageBox(QMessageBox::Cancel, &caption, &text);
    EXPECT_FALSE(form.close());
    EXPECT_EQ(asked, (std::vector<QString>{"one", "three"}));
    EXPECT_EQ(caption, "Quillet 4.1");
    EXPECT_EQ(text, "Save changes to project \"My & Project\"?");

    project.saveSucceeds = false;
    AnswerNextMessageBox(QMessageBox::Yes, &caption, &text);
    EXPECT_FALSE(form.close()); // the save failed: stay open
    EXPECT_EQ(project.saves, 1);

    AnswerNextMessageBox(QMessageBox::No, &caption, &text);
    EXPECT_TRUE(form.close());
    EXPECT_EQ(project.saves, 1);
}

TEST(MainForm, FilesFromLaterStartsAndDrops)
{
    TQuilletMainForm form;
    TRecordingOpener opener;
    form.SetDocumentOpener(&opener);
    TCodePageFunctions codePages;
    codePages.defaultCp = [] {
        return 16;
    };
    codePages.cpFromId = [](std::string_view) {
        return 65001;
    };
    codePages.cpIndex = [](int) {
        return 31;
    };
    form.SetCodePageFunctions(codePages);

    const std::string answer = form.WMCopyData(EncodeOpenFilesMessage({"/d/a.txt", "-hex", "/d/b.bin"}));
    EXPECT_EQ(DecodeAnswer(answer), 1u);
    std::string wrong = EncodeOpenFilesMessage({"/d/c.txt"});
    wrong[1] = 0;
    EXPECT_EQ(DecodeAnswer(form.WMCopyData(wrong)), 0u);
    ASSERT_EQ(opener.requests.size(), 2u);
    EXPECT_FALSE(opener.requests[0].asBinary);
    EXPECT_TRUE(opener.requests[1].asBinary);
    EXPECT_EQ(opener.requests[1].codePageIndex, 16);

    // Dropped files keep their whole path, however long, and replace an
    // untouched empty document.
    const QString longPath = "/d/" + QString(300, 'n') + "/\xC3\xA4 x.txt";
    form.OpenDroppedFiles({QUrl::fromLocalFile(longPath), QUrl("https://example.org/x")});
    ASSERT_EQ(opener.requests.size(), 3u);
    EXPECT_EQ(QString::fromUtf8(opener.requests[2].fileName.c_str()), longPath);
    EXPECT_TRUE(opener.requests[2].closeEmptyActive);
    EXPECT_EQ(opener.requests[2].codePageIndex, 16);
}

TEST(MainForm, StartupRunsArgumentsOrTheStartupAction)
{
    TQuilletMainForm form;
    TRecordingOpener opener;
    form.SetDocumentOpener(&opener);
    std::vector<TStartupAction> actions;
    form.SetStartupActionHandler([&](TStartupAction action) {
        actions.push_back(action);
        return true;
    });
    form.RunStartup({"x.txt", "/y.txt"}, "/start/");
    ASSERT_EQ(opener.requests.size(), 2u);
    EXPECT_EQ(opener.requests[0].fileName, "/start/x.txt");
    EXPECT_TRUE(actions.empty());

    form.RunStartup({}, "/start/");
    EXPECT_EQ(actions, std::vector<TStartupAction>{TStartupAction::CreateNew}); // the default, 1
}

TEST(MainForm, CaptionNamesTheProjectOfTheActiveDocument)
{
    struct TCase {
        const char* name;
        std::optional<std::string> project;
        QString untitled, caption;
    };
    const TCase cases[] = {
        {"not in the project", std::nullopt, "Untitled", "Quillet"},
        {"in a saved project", "/p/My & Project.qpr", "Untitled", "Quillet - (/p/My & Project.qpr)"},
        {"in an unsaved project", "", "Untitled", "Quillet - (Untitled)"},
        {"marks removed from the untitled text", "", "*Un\\titled*", "Quillet - (Untitled)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TQuilletMainForm::MainCaption(c.project, c.untitled), c.caption);
    }

    // The caption follows the active document.
    TQuilletMainForm form;
    std::vector<QString> asked;
    auto* inProject = form.AddMdiChild(new TFakeDocument("a", true, asked));
    auto* outside = form.AddMdiChild(new TFakeDocument("b", true, asked));
    form.SetProjectOfDocument([inProject](QMdiSubWindow* document) -> std::optional<std::string> {
        if (document == inProject) {
            return std::string("/p/work.qpr");
        }
        return std::nullopt;
    });
    EXPECT_EQ(form.windowTitle(), "Quillet");
    form.MdiArea()->setActiveSubWindow(inProject);
    EXPECT_EQ(form.windowTitle(), "Quillet - (/p/work.qpr)");
    form.MdiArea()->setActiveSubWindow(outside);
    EXPECT_EQ(form.windowTitle(), "Quillet");
}

TEST(MainForm, ActiveCompareWindowConsumesCommands)
{
    TQuilletMainForm form;
    form.show();
    int runs = 0;
    form.Commands().Bind("FileNew", [&] {
        ++runs;
    });
    QWidget compare;
    form.SetCompareWindow([&compare] {
        return &compare;
    });
    form.UpdateCommands();
    compare.show();
    QApplication::setActiveWindow(&compare);
    ASSERT_TRUE(compare.isActiveWindow());
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 0);

    // Shown but not active, or hidden: the commands run again.
    QApplication::setActiveWindow(&form);
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 1);
    compare.hide();
    form.CommandActions().Action("FileNew")->trigger();
    EXPECT_EQ(runs, 2);
}

TEST(MainForm, LongHintReplacesThePanelsWhileACommandIsPointedAt)
{
    TQuilletMainForm form;
    form.show();
    form.UpdateCommands();
    const auto panels = form.statusBar()->findChildren<TStatusPanel*>();
    ASSERT_FALSE(panels.isEmpty());
    EXPECT_TRUE(panels[0]->isVisible());

    // A menu entry under the pointer.
    QMenu* fileMenu = form.findChild<QMenu*>("MenuFile");
    ASSERT_NE(fileMenu, nullptr);
    form.menuBar()->setActiveAction(fileMenu->menuAction());
    fileMenu->setActiveAction(form.CommandActions().Action("FileExit"));
    EXPECT_EQ(form.statusBar()->currentMessage(), "Exit application");
    EXPECT_FALSE(panels[0]->isVisible());
    fileMenu->hide();
    form.statusBar()->clearMessage();
    EXPECT_TRUE(panels[0]->isVisible());

    // An entry of the document pop-up menu (a window of its own).
    form.Commands().Bind("EditSelectAll", [] {});
    form.UpdateCommands();
    form.DocumentPopup()->popup(form.geometry().center());
    form.DocumentPopup()->setActiveAction(form.CommandActions().Action("EditSelectAll"));
    EXPECT_EQ(form.statusBar()->currentMessage(), "Select the entire document");
    form.DocumentPopup()->hide();
    form.statusBar()->clearMessage();

    // A toolbar button under the pointer.
    auto* bar = form.findChild<QToolBar*>("StandardBar");
    ASSERT_NE(bar, nullptr);
    QWidget* button = bar->widgetForAction(form.CommandActions().Action("FileSave"));
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(form.statusBar()->currentMessage(), "Save current document");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_TRUE(form.statusBar()->currentMessage().isEmpty());

    // The overflow button of a toolbar whose buttons do not fit.
    auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->toolTip(), "More Buttons");
}

TEST(MainForm, HelpPageUsesOnlyTheFileNamePartOfTheLanguage)
{
    test::TTempDir user;
    test::TTempDir program;
    const auto general = program.Write("Docs/index.html", "<html>");
    const auto german = program.Write("Docs/Deutsch/index.html", "<html>");
    const auto userGerman = user.Write("Docs/Deutsch/index.html", "<html>");
    // A page outside the Docs folder that a crafted language name points at.
    program.Write("secret/index.html", "<html>");
    struct TCase {
        const char* name;
        std::string language;
        std::vector<std::filesystem::path> folders;
        std::filesystem::path page;
    };
    const TCase cases[] = {
        {"no language: the general page", "", {program.Path()}, general},
        {"the language's own page", "Deutsch.lng", {program.Path()}, german},
        {"the per-user folder first", "Deutsch.lng", {user.Path(), program.Path()}, userGerman},
        {"a language without pages", "Cesky.lng", {program.Path()}, general},
        {"folders in the name are dropped", "../../secret.lng", {program.Path()}, general},
        {"a name that is only dots", "..", {program.Path()}, general},
        {"nothing shipped", "", {user.Path()}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TQuilletMainForm::HelpPage(c.language, c.folders), c.page);
    }
}

TEST(MainForm, WindowCommandsArrangeAndWalkTheDocuments)
{
    TQuilletMainForm form;
    form.resize(900, 700);
    form.show();
    std::vector<QString> asked;
    std::vector<QMdiSubWindow*> windows;
    for (const char* name : {"a", "b", "c"}) {
        windows.push_back(form.AddMdiChild(new TFakeDocument(name, true, asked)));
    }
    form.UpdateCommands();
    auto run = [&](const char* command) {
        form.CommandActions().Action(command)->trigger();
        QCoreApplication::processEvents();
    };
    // Next and previous go round in creation order.
    form.MdiArea()->setActiveSubWindow(windows[0]);
    run("WindowNext");
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), windows[1]);
    run("WindowPrior");
    run("WindowPrior");
    EXPECT_EQ(form.MdiArea()->currentSubWindow(), windows[2]);

    // Tiled side by side: three columns of the area's width, none overlapping.
    run("WindowTileVertical");
    const int width = form.MdiArea()->viewport()->width();
    for (QMdiSubWindow* a : windows) {
        EXPECT_FALSE(a->isMaximized());
        EXPECT_NEAR(a->width(), width / 3, 2);
        for (QMdiSubWindow* b : windows) {
            EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()));
        }
    }
    run("WindowTileHorizontal");
    EXPECT_NEAR(windows[0]->height(), form.MdiArea()->viewport()->height() / 3, 2);
    EXPECT_EQ(windows[0]->width(), width);

    run("WindowCascade");
    EXPECT_NE(windows[0]->pos(), windows[1]->pos());

    // Minimize all, then line the minimized windows up along the bottom.
    run("WindowMinimizeAll");
    for (QMdiSubWindow* window : windows) {
        EXPECT_TRUE(window->isMinimized());
    }
    run("WindowArrangeAll");
    const int bottom = form.MdiArea()->viewport()->rect().bottom();
    for (QMdiSubWindow* window : windows) {
        EXPECT_EQ(window->geometry().bottom(), bottom);
    }
    EXPECT_LT(windows[0]->x(), windows[1]->x());
}

TEST(MainForm, AboutBoxShowsTheApplicationTitle)
{
    TQuilletMainForm form;
    form.UpdateCommands();
    QString caption;
    QString text;
    AnswerNextMessageBox(QMessageBox::Ok, &caption, &text);
    form.CommandActions().Action("HelpAbout")->trigger();
    EXPECT_EQ(caption, "Quillet 4.1");
    EXPECT_TRUE(text.contains("Quillet 4.1"));
}

TEST(MainForm, DoubleClickOnTheEmptyDocumentAreaOpensAFile)
{
    TQuilletMainForm form;
    form.show();
    int opens = 0;
    form.Commands().Bind("FileOpen", [&] {
        ++opens;
    });
    QTest::mouseDClick(form.MdiArea()->viewport(), Qt::LeftButton);
    EXPECT_EQ(opens, 1);
}

} // namespace
} // namespace quillet

namespace quillet {
namespace {

TEST(MainForm, LanguageChangeTranslatesMenusToolbarsAndStatusTexts)
{
    Translator().SetLanguageFolders({std::filesystem::path(QUILLET_SOURCE_DIR) / "Languages"});
    TQuilletMainForm form;
    int changes = 0;
    QObject::connect(&form, &TQuilletMainForm::LanguageChanged, [&] {
        ++changes;
    });
    auto* fileMenu = form.findChild<QMenu*>("MenuFile");
    auto* clipboards = form.findChild<QToolBar*>("ClipboardBar");
    ASSERT_NE(fileMenu, nullptr);
    ASSERT_NE(clipboards, nullptr);

    form.UpdateLanguage("Deutsch.lng");
    EXPECT_EQ(fileMenu->title(), "&Datei");
    EXPECT_EQ(clipboards->windowTitle(), "Zwischenablagen");
    EXPECT_EQ(form.StatusTexts().overwrite,
        QString::fromUtf8("\xC3\x9C"
                          "berschreiben"));
    std::unique_ptr<QMenu> popup(form.createPopupMenu());
    // The eight show/hide entries, a separator and Customize.
    ASSERT_EQ(popup->actions().size(), 10);
    EXPECT_EQ(popup->actions()[6]->text(), "&Zwischenablagen");
    EXPECT_EQ(form.findChild<QAction*>("FileExit")->statusTip(), "Quillet beenden");

    form.UpdateLanguage("");
    EXPECT_EQ(fileMenu->title(), "&File");
    EXPECT_EQ(clipboards->windowTitle(), "Clipboards");
    EXPECT_EQ(form.StatusTexts().overwrite, "Overwrite");
    EXPECT_EQ(form.findChild<QAction*>("FileExit")->statusTip(), "Exit application");
    EXPECT_EQ(changes, 2);
    Translator().SetLanguageFolders({});
}

} // namespace
} // namespace quillet

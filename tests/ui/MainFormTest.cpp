#include "app/OpenFilesMessage.h"
#include "app/ShellSeams.h"
#include "app/Translations.h"
#include "app/ui/DocumentWindow.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/StatusPanel.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

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

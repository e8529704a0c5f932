// A real project opened, edited, saved and closed through the main window with
// its document manager, recent lists and the project panel.
#include "app/CommandTable.h"
#include "app/ui/BinaryDocuments.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/FindInFilesBindings.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/ProjectTreePanel.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/RecentMenu.h"
#include "app/ui/StateCommandBindings.h"
#include "core/SettingsStore.h"
#include "hex/ui/BinaryForm.h"
#include "hex/ui/HexEditor.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/FindInFiles.h"
#include "tools/ui/ResultPage.h"
#include "tools/ui/ResultWindow.h"

#include <QApplication>
#include <QMdiArea>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;
namespace fs = std::filesystem;

class ProjectWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("q.ini", "");
        m_store = std::make_unique<TSettingsStore>(m_dir.Path() / "q.ini", TSettingsForm::PerUser);
        m_main = std::make_unique<TQuilletMainForm>();
        m_documents = new TDocumentManager(*m_main);
        m_main->SetDocumentOpener(m_documents);
        m_state = new TStateCommands(*m_main, *m_documents, *m_store);
        m_projects = new TProjectManager(*m_main, *m_documents, &m_state->Recent());
        BindProjectCommands(*m_main, *m_documents, *m_projects);
        ConnectProjects(*m_documents, *m_state, *m_projects);
        m_main->show();
    }
    void TearDown() override { m_main.reset(); }

    bool Open(const fs::path& file)
    {
        TOpenRequest request;
        request.fileName = file.string();
        request.closeEmptyActive = true;
        return m_documents->CreateMDIChild(request);
    }
    bool Enabled(const char* command) { return m_main->Commands().State(command).enabled; }
    std::vector<std::string> OpenFiles() const
    {
        std::vector<std::string> files;
        for (TChildForm* form : m_documents->Forms()) {
            files.push_back(form->FileName().filename().string());
        }
        return files;
    }
    QStringList TreeTexts() const
    {
        QStringList texts;
        QTreeWidget& tree = m_projects->Panel().ProjectTree();
        for (int i = 0; i < tree.topLevelItemCount(); ++i) {
            QTreeWidgetItem* root = tree.topLevelItem(i);
            texts << root->text(0);
            for (int k = 0; k < root->childCount(); ++k) {
                texts << root->child(k)->text(0);
            }
        }
        return texts;
    }
    // A project with a.c (open), B.c (open, active), sub/c.c (closed), an
    // empty name, itself and another project as members.
    fs::path WriteProject()
    {
        m_dir.Write("p/a.c", "int a;\n");
        m_dir.Write("p/B.c", "int b;\n");
        m_dir.Write("p/sub/c.c", "int c;\n");
        m_dir.Write(
            "p/other.qpr", "[General]\nSignature=Quillet project file\nFilesCount=1\n[File1]\nName=a.c\nOpen=1\n");
        return m_dir.Write("p/p.qpr",
            "[General]\r\nSignature=Quillet project file\r\nFilesCount=6\r\nActiveFile=2\r\n"
            "[File1]\r\nName=a.c\r\nOpen=1\r\nType=0\r\nCodePage=windows-1252\r\n"
            "[File2]\r\nName=B.c\r\nOpen=1\r\nType=0\r\n"
            "[File3]\r\nName=sub\\c.c\r\nOpen=0\r\nType=0\r\n"
            "[File4]\r\nName=\r\nOpen=1\r\n"
            "[File5]\r\nName=p.qpr\r\nOpen=1\r\n"
            "[File6]\r\nName=other.qpr\r\nOpen=1\r\n");
    }

    TTempDir m_dir;
    std::unique_ptr<TSettingsStore> m_store;
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_documents = nullptr;
    TStateCommands* m_state = nullptr;
    TProjectManager* m_projects = nullptr;
};

TEST_F(ProjectWindowTest, OpeningReopensTheOpenMembersAndShowsTheTree)
{
    test::TBoxAnswerer boxes;
    const fs::path project = WriteProject();
    ASSERT_TRUE(Open(project));
    EXPECT_TRUE(m_projects->IsOpen());
    EXPECT_FALSE(m_projects->IsModified());
    // Members that are projects (itself included) and the empty name stay closed.
    EXPECT_EQ(OpenFiles(), (std::vector<std::string>{"a.c", "B.c"}));
    EXPECT_EQ(m_documents->ActiveForm()->FileName().filename(), "B.c") << "the active entry opens last";
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_TRUE(m_projects->Panel().isVisible());
    const QString folder = QString::fromStdString((m_dir.Path() / "p").string());
    EXPECT_EQ(TreeTexts(),
        (QStringList{QString::fromStdString(project.string()), folder + "/a.c", folder + "/B.c", folder + "/sub/c.c"}));
    // A maximized document adds its own caption after the main one.
    EXPECT_TRUE(m_main->windowTitle().startsWith(
        QStringLiteral("Quillet - (%1)").arg(QString::fromStdString(project.string()))))
        << m_main->windowTitle().toStdString();
    // The project took its members: the recent files list did not.
    EXPECT_EQ(m_state->Recent().Lists().projects.At(0).path, project.string());
    EXPECT_TRUE(m_state->Recent().Lists().files.Empty());

    // Closing a member marks it closed; the enabling rules follow.
    EXPECT_TRUE(Enabled("ProjectRemove"));
    EXPECT_FALSE(Enabled("ProjectAdd"));
    EXPECT_FALSE(Enabled("ProjectSave"));
    m_documents->Close();
    QApplication::processEvents();
    EXPECT_TRUE(m_projects->IsModified());
    EXPECT_FALSE(m_projects->Project()->IsOpen(2));
    EXPECT_TRUE(Enabled("ProjectSave"));
}

// The recent projects entry and the start-up action "open last" reopen a
// project through the document opener.
TEST_F(ProjectWindowTest, RecentEntryAndStartupActionReopenTheProject)
{
    test::TBoxAnswerer boxes;
    const fs::path project = WriteProject();
    ASSERT_TRUE(Open(project));
    ASSERT_TRUE(m_projects->CloseProject());
    EXPECT_TRUE(OpenFiles().empty());
    ASSERT_TRUE(m_state->Recent().OpenProject(0));
    EXPECT_TRUE(m_projects->IsOpen());
    EXPECT_EQ(OpenFiles().size(), 2u);
    ASSERT_TRUE(m_projects->CloseProject());
    EXPECT_TRUE(m_state->Recent().OpenLast()) << "the last entry added was a project";
    EXPECT_EQ(m_projects->FileName(), project.string());
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(ProjectWindowTest, AddSaveReopenRoundTrip)
{
    test::TBoxAnswerer boxes;
    m_projects->OnAskName = [] {
        return std::optional<QString>(QStringLiteral("demo"));
    };
    m_main->Commands().Execute("ProjectNew");
    ASSERT_TRUE(m_projects->IsOpen());
    EXPECT_EQ(TreeTexts(), QStringList{QStringLiteral("demo")});
    const fs::path a = m_dir.Write("w/src/a.c", "int a;\n");
    const fs::path bin = m_dir.Write("w/data.bin", std::string("\x01\x02\x03", 3));
    ASSERT_TRUE(Open(a));
    EXPECT_TRUE(Enabled("ProjectAdd"));
    m_main->Commands().Execute("ProjectAdd");
    EXPECT_TRUE(m_main->windowTitle().startsWith(QStringLiteral("Quillet - (Untitled)")))
        << m_main->windowTitle().toStdString();
    m_projects->OnAddFilesDialog = [&] {
        return std::vector<std::string>{bin.string(), a.string()};
    };
    m_main->Commands().Execute("ProjectAddExt");
    ASSERT_EQ(m_projects->Project()->Count(), 2) << "a member is not added twice";
    EXPECT_EQ(m_projects->Project()->Type(2), kProjectBinary);

    m_projects->OnSaveDialog = [&](const QString& start) {
        EXPECT_EQ(start, QStringLiteral("demo.qpr"));
        return std::optional<std::string>((m_dir.Path() / "w" / "demo").string());
    };
    ASSERT_TRUE(m_projects->Save());
    const fs::path saved = m_dir.Path() / "w" / "demo.qpr";
    EXPECT_EQ(m_projects->FileName(), saved.string());
    EXPECT_FALSE(m_projects->IsModified());
    const std::string text = TTempDir::Read(saved);
    EXPECT_NE(text.find("Name=src/a.c"), std::string::npos) << text;
    EXPECT_NE(text.find("ActiveFile=1"), std::string::npos) << text;

    // Close Project closes its documents; opening it again restores them.
    m_main->Commands().Execute("ProjectClose");
    EXPECT_FALSE(m_projects->IsOpen());
    EXPECT_TRUE(OpenFiles().empty());
    EXPECT_EQ(TreeTexts(), QStringList());
    ASSERT_TRUE(Open(saved));
    EXPECT_EQ(OpenFiles(), (std::vector<std::string>{"a.c"}));
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front().toStdString();
}

// A binary document is a member by its file name: added with Type 1 and no
// code page, saved with the project, closed and reopened with it.
TEST_F(ProjectWindowTest, BinaryMembersAreKnownByTheirFileName)
{
    test::TBoxAnswerer boxes;
    auto* binaries = new TBinaryDocuments(*m_main, *m_documents);
    m_projects->OnAskName = [] {
        return std::optional<QString>(QStringLiteral("demo"));
    };
    m_main->Commands().Execute("ProjectNew");
    const fs::path bin = m_dir.Write("w/data.bin", std::string("\x01\x02\x03", 3));
    ASSERT_TRUE(Open(bin));
    ASSERT_EQ(binaries->Forms().size(), 1u);
    TBinaryForm* form = binaries->Forms().front();
    EXPECT_EQ(TProjectManager::DocumentName(form), bin.string());
    EXPECT_TRUE(Enabled("ProjectAdd"));
    m_main->Commands().Execute("ProjectAdd");
    ASSERT_EQ(m_projects->Project()->Count(), 1);
    EXPECT_EQ(m_projects->IndexOf(form), 1);
    EXPECT_EQ(m_projects->Project()->Type(1), kProjectBinary);
    EXPECT_EQ(m_projects->Project()->CodePage(1), "");
    EXPECT_TRUE(Enabled("ProjectRemove"));
    EXPECT_FALSE(Enabled("ProjectAdd"));

    // Saving the project saves its modified binary member first.
    QTest::keyClicks(&form->Editor(), "ff");
    m_projects->OnSaveDialog = [&](const QString&) {
        return std::optional<std::string>((m_dir.Path() / "w" / "demo").string());
    };
    ASSERT_TRUE(m_projects->Save());
    EXPECT_EQ(TTempDir::Read(bin), std::string("\xFF\x02\x03", 3));
    const std::string text = TTempDir::Read(m_dir.Path() / "w" / "demo.qpr");
    EXPECT_NE(text.find("Name=data.bin"), std::string::npos) << text;
    EXPECT_NE(text.find("Type=1"), std::string::npos) << text;
    EXPECT_EQ(text.find("CodePage"), std::string::npos) << text;

    m_main->Commands().Execute("ProjectClose");
    QApplication::processEvents();
    EXPECT_TRUE(binaries->Forms().empty());
    ASSERT_TRUE(Open(m_dir.Path() / "w" / "demo.qpr"));
    ASSERT_EQ(binaries->Forms().size(), 1u);
    EXPECT_FALSE(m_projects->IsModified());
    binaries->Forms().front()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(m_projects->IsModified());
    EXPECT_FALSE(m_projects->Project()->IsOpen(1)) << "a closed member stays, closed";
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front().toStdString();
}

// A project file that cannot be written: the error is shown, the project
// stays modified and the exit question comes again.
TEST_F(ProjectWindowTest, FailedSaveKeepsTheProjectModified)
{
    test::TBoxAnswerer boxes({QMessageBox::Ok, QMessageBox::Cancel});
    m_projects->OnAskName = [] {
        return std::optional<QString>(QStringLiteral("demo"));
    };
    m_main->Commands().Execute("ProjectNew");
    m_projects->AddFiles({m_dir.Write("x.c", "x\n").string()});
    const fs::path blocked = m_dir.Write("file", "not a folder") / "demo.qpr";
    m_projects->OnSaveDialog = [&](const QString&) {
        return std::optional<std::string>(blocked.string());
    };
    EXPECT_FALSE(m_projects->Save());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("demo.qpr"))) << boxes.texts[0].toStdString();
    EXPECT_TRUE(m_projects->IsModified());
    EXPECT_TRUE(m_projects->FileName().empty()) << "a failed Save As keeps the old name";
    EXPECT_FALSE(m_main->FormCloseQuery()) << "Cancel on the project question keeps the program open";
    EXPECT_TRUE(m_projects->IsOpen());
}

TEST_F(ProjectWindowTest, FilesWithoutTheSignatureOpenAsText)
{
    test::TBoxAnswerer boxes;
    ASSERT_TRUE(Open(m_dir.Write("notes.qpr", "[General]\nSignature=something else\n")));
    EXPECT_FALSE(m_projects->IsOpen());
    EXPECT_EQ(OpenFiles(), (std::vector<std::string>{"notes.qpr"}));
}

TEST_F(ProjectWindowTest, CancellingTheCloseQuestionKeepsEverythingOpen)
{
    const fs::path project = WriteProject();
    {
        test::TBoxAnswerer boxes;
        ASSERT_TRUE(Open(project));
    }
    m_projects->Project()->SetModified(true);
    test::TBoxAnswerer boxes({QMessageBox::Cancel});
    m_main->Commands().Execute("ProjectClose");
    EXPECT_TRUE(m_projects->IsOpen());
    EXPECT_EQ(OpenFiles().size(), 2u);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("Save changes to project \"p\"?"));
}

// Find in Files over the project: the open member with its unsaved text, then
// the closed members from disk; files outside the project are not searched.
TEST_F(ProjectWindowTest, FindInFilesSearchesTheMembers)
{
    test::TBoxAnswerer boxes;
    const TFindInFilesParts parts = BindFindInFiles(*m_main, *m_documents, nullptr);
    ConnectFindInFiles(*parts.findInFiles, *m_projects);
    TFindInFilesRequest request;
    request.text = "needle";
    request.where = swProjectFiles;
    m_dir.Write("p/outside.c", "needle\n");
    const fs::path project = WriteProject();
    m_dir.Write("p/sub/c.c", "needle on disk\n");
    ASSERT_TRUE(Open(project));
    m_documents->ActiveForm()->MemoSource().Lines().SetText("needle unsaved\n");
    ASSERT_TRUE(parts.findInFiles->Run(request));
    TResultPage& page = parts.resultWindow->Page(TResultWindow::kFindInFilesPage);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < page.List().Count(); ++i) {
        lines.push_back(page.List().Line(i));
    }
    const std::string root = (m_dir.Path() / "p").string();
    EXPECT_EQ(lines,
        (std::vector<std::string>{
            root + "/B.c(1:1): [(+b)]needle[(-b)] unsaved", root + "/sub/c.c(1:1): [(+b)]needle[(-b)] on disk"}));
}

} // namespace
} // namespace quillet

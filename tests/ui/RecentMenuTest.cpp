// The recent menu of a real main window with a real document manager: entries
// shown from the store, reopening with the stored code page, recording what
// the manager opens, and entries whose files went away.
#include "app/ui/RecentMenu.h"

#include "app/ui/DocumentManager.h"
#include "app/ui/MainMenus.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/StateCommandBindings.h"
#include "core/CodePages.h"
#include "core/SettingsStore.h"
#include "support/BoxAnswerer.h"
#include "support/HonouredPermissions.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {
namespace {

using test::TTempDir;
namespace fs = std::filesystem;

class RecentMenuTest : public ::testing::Test {
protected:
    void Start(const std::string& storeText)
    {
        m_dir.Write("q.ini", storeText);
        m_store = std::make_unique<TSettingsStore>(m_dir.Path() / "q.ini", TSettingsForm::PerUser);
        m_main = std::make_unique<TQuilletMainForm>();
        m_manager = new TDocumentManager(*m_main);
        m_main->SetDocumentOpener(m_manager);
        m_state = new TStateCommands(*m_main, *m_manager, *m_store);
        m_main->show();
    }
    void TearDown() override { m_main.reset(); }

    TRecentMenu& Recent() { return m_state->Recent(); }
    std::string Stored(const std::string& key) { return m_store->ReadString("Recent", key, "(absent)"); }
    QStringList DropDownTexts() const
    {
        QStringList texts;
        for (QAction* action : m_main->findChild<QMenu*>(QStringLiteral("RecentDropDown"))->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return texts;
    }

    TTempDir m_dir;
    std::unique_ptr<TSettingsStore> m_store;
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_manager = nullptr;
    TStateCommands* m_state = nullptr;
    test::TBoxAnswerer m_boxes; // answers every message box, so none can stall a test
};

TEST_F(RecentMenuTest, EntriesShowTheStoredLists)
{
    Start("[Recent]\n"
          "RecentProj1=\n"
          "RecentProj2=/p/work.qpr\n"
          "Recent1=/d/R&D notes.txt\n"
          "Recent2=/d/plain.c\n");
    QAction* file0 = Recent().FileAction(0);
    ASSERT_NE(file0, nullptr);
    EXPECT_EQ(file0->text(), QStringLiteral("&0 R&&D notes.txt"));
    EXPECT_EQ(file0->statusTip(), QStringLiteral("/d/R&D notes.txt"));
    EXPECT_EQ(file0->toolTip(), QStringLiteral("/d/R&D notes.txt"));
    EXPECT_TRUE(file0->isVisible());
    EXPECT_EQ(Recent().FileAction(1)->text(), QStringLiteral("&1 plain.c"));
    EXPECT_FALSE(Recent().FileAction(2)->isVisible());
    EXPECT_EQ(Recent().ProjectAction(0)->text(), QStringLiteral("&A work.qpr"));
    EXPECT_FALSE(Recent().ProjectAction(1)->isVisible());
    EXPECT_TRUE(m_main->MainMenus().RecentMenu()->menuAction()->isEnabled());
    EXPECT_EQ(DropDownTexts(),
        (QStringList{QStringLiteral("&A work.qpr"),
            QStringLiteral("-"),
            QStringLiteral("&0 R&&D notes.txt"),
            QStringLiteral("&1 plain.c")}));
    // Read once, the lists were stored back without the gap.
    EXPECT_EQ(Stored("RecentProj1"), "/p/work.qpr");
    EXPECT_EQ(Stored("RecentProj2"), "");

    // A language change keeps the file names as captions.
    m_main->UpdateLanguage("");
    EXPECT_EQ(Recent().FileAction(1)->text(), QStringLiteral("&1 plain.c"));
}

TEST_F(RecentMenuTest, EmptyStoreShowsNothingAndWritesNothing)
{
    Start("[Global]\nLanguage=\n");
    EXPECT_FALSE(m_main->MainMenus().RecentMenu()->menuAction()->isEnabled());
    EXPECT_FALSE(Recent().FileAction(0)->isVisible());
    EXPECT_TRUE(DropDownTexts().isEmpty());
    EXPECT_FALSE(m_store->SectionExists("Recent"));
}

TEST_F(RecentMenuTest, OpenedFilesAreRecordedAndReopenWithTheirCodePage)
{
    // Text the system code page can hold, so the load is lossless.
    const fs::path first = m_dir.Write("first.txt", "caf\xE9\n");
    const fs::path second = m_dir.Write("second.txt", "two\n");
    const int cp1250 = GetCPIndex(kCpWindows1250);
    Start("[Recent]\nRecent1=" + first.string() + "\nRecent1CodePage=windows-1250\n");

    // Choosing the entry opens the file decoded as it was before.
    Recent().FileAction(0)->trigger();
    TChildForm* reopened = m_manager->ActiveForm();
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->FileName(), first);
    EXPECT_EQ(reopened->CodePage(), cp1250);

    // Opening another file through the manager puts it at the head.
    TOpenRequest request;
    request.fileName = second.string();
    request.codePageIndex = GetCPIndex(kCpUtf8);
    ASSERT_TRUE(m_manager->CreateMDIChild(request));
    EXPECT_EQ(Recent().FileAction(0)->text(), QStringLiteral("&0 second.txt"));
    EXPECT_EQ(Recent().FileAction(1)->text(), QStringLiteral("&1 first.txt"));
    EXPECT_EQ(Stored("Recent1"), second.string());
    EXPECT_EQ(Stored("Recent1CodePage"), "UTF-8");
    EXPECT_EQ(Stored("Recent2"), first.string());
    EXPECT_EQ(Stored("Recent2CodePage"), "WINDOWS-1250");
    EXPECT_EQ(Stored("LastTyp"), "1");

    // Reopening an open file from the menu moves it back to the head.
    Recent().FileAction(1)->trigger();
    EXPECT_EQ(Recent().Lists().files.At(0).path, first.string());
    EXPECT_EQ(m_manager->Forms().size(), 2u);
    EXPECT_TRUE(m_boxes.texts.empty());
}

// Keeps the requests instead of opening anything.
struct TRecordingOpener : IDocumentOpener {
    bool CreateMDIChild(const TOpenRequest& request) override
    {
        requests.push_back(request);
        return true;
    }
    std::vector<TOpenRequest> requests;
};

TEST_F(RecentMenuTest, ReopeningAsksForTheStoredTypeAndCodePage)
{
    const fs::path text = m_dir.Write("looks like text.txt", "plain text\n");
    Start("[Recent]\nRecent1=" + text.string() + "\nRecent1CodePage=KOI8-R\nRecent1Type=1\n");
    TRecordingOpener opener;
    m_main->SetDocumentOpener(&opener);
    Recent().FileAction(0)->trigger();
    ASSERT_EQ(opener.requests.size(), 1u);
    EXPECT_EQ(opener.requests[0].fileName, text.string());
    EXPECT_TRUE(opener.requests[0].asBinary); // opened as binary before, so again
    EXPECT_EQ(opener.requests[0].codePageIndex, GetCPIndex(kCpKoi8R));
    EXPECT_TRUE(opener.requests[0].closeEmptyActive);
    EXPECT_FALSE(opener.requests[0].isNew);
    m_main->SetDocumentOpener(m_manager);
}

TEST_F(RecentMenuTest, EntriesThatCannotBeOpenedSayWhy)
{
    const fs::path folder = m_dir.Path() / "a folder";
    fs::create_directories(folder);
    const fs::path locked = m_dir.Write("locked.txt", "secret\n");
    const fs::path kept = m_dir.Write("kept.txt", "kept\n");
    ::chmod(locked.c_str(), 0);
    Start("[Recent]\n"
          "RecentProj1=/gone/p.qpr\n"
          "RecentProj2="
        + kept.string()
        + "\n"
          "Recent1=/gone/deleted.txt\n"
          "Recent2="
        + folder.string()
        + "\n"
          "Recent3="
        + locked.string()
        + "\n"
          "Recent4="
        + kept.string() + "\n");
    auto& boxes = m_boxes;

    // A deleted file is taken out; the later entries move up.
    EXPECT_FALSE(Recent().OpenFile(0));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("Could not open file \"/gone/deleted.txt\"."));
    EXPECT_EQ(Recent().FileAction(0)->text(), QStringLiteral("&0 a folder"));
    EXPECT_EQ(Stored("Recent1"), folder.string());
    EXPECT_EQ(Stored("Recent4"), "");

    // A folder is no file to open either.
    EXPECT_FALSE(Recent().OpenFile(0));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(boxes.texts[1].contains(QStringLiteral("it is a folder"))) << boxes.texts[1].toStdString();
    EXPECT_EQ(Recent().Lists().files.Count(), 2);

    // An unreadable file stays listed: the permission may come back.
    {
        const test::THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        EXPECT_FALSE(Recent().OpenFile(0));
        ASSERT_EQ(boxes.texts.size(), 3u);
        EXPECT_TRUE(boxes.texts[2].contains(QStringLiteral("no permission to read"))) << boxes.texts[2].toStdString();
        EXPECT_EQ(Recent().Lists().files.At(0).path, locked.string());
    }
    EXPECT_TRUE(m_manager->Forms().empty());
    const std::size_t shown = boxes.texts.size();

    // A missing project goes the same way; an existing one cannot be opened
    // yet and says so, and stays listed.
    EXPECT_FALSE(Recent().OpenProject(0));
    ASSERT_EQ(boxes.texts.size(), shown + 1);
    EXPECT_EQ(Recent().ProjectAction(0)->text(), QStringLiteral("&A kept.txt"));
    EXPECT_FALSE(Recent().OpenProject(0));
    ASSERT_EQ(boxes.texts.size(), shown + 2);
    EXPECT_TRUE(boxes.texts.back().contains(QStringLiteral("Projects are not available yet")));
    EXPECT_EQ(Recent().Lists().projects.Count(), 1);
    ::chmod(locked.c_str(), 0600);
}

TEST_F(RecentMenuTest, OpenLastFollowsTheLastType)
{
    const fs::path file = m_dir.Write("last.txt", "last\n");
    const fs::path project = m_dir.Write("p.qpr", "not opened\n");
    Start("[Recent]\nLastTyp=1\nRecent1=" + file.string() + "\nRecentProj1=" + project.string() + "\n");
    int projectsOpened = 0;
    Recent().OnOpenProject = [&](const std::string& path) {
        EXPECT_EQ(path, project.string());
        ++projectsOpened;
        return true;
    };
    EXPECT_TRUE(Recent().OpenLast());
    ASSERT_NE(m_manager->ActiveForm(), nullptr);
    EXPECT_EQ(m_manager->ActiveForm()->FileName(), file);
    EXPECT_EQ(projectsOpened, 0);

    m_store->WriteInteger("Recent", "LastTyp", 2);
    EXPECT_TRUE(Recent().OpenLast());
    EXPECT_EQ(projectsOpened, 1);

    // A last file that went away falls back to the project, without a message.
    m_store->WriteInteger("Recent", "LastTyp", 1);
    fs::remove(file);
    EXPECT_TRUE(Recent().OpenLast());
    EXPECT_EQ(projectsOpened, 2);
}

} // namespace
} // namespace quillet

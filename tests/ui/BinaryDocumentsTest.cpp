// Binary documents through the real document manager and the main window's commands.
#include "app/ui/BinaryDocuments.h"

#include "app/CommandTable.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "hex/HexDocument.h"
#include "hex/ui/BinaryForm.h"
#include "hex/ui/HexEditor.h"
#include "platform/fake/FakeClipboard.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QMdiArea>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TBoxAnswerer;
using test::TTempDir;

class BinaryDocumentsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_main = std::make_unique<TQuilletMainForm>();
        m_manager = new TDocumentManager(*m_main);
        m_manager->SetSettingsStore(&m_settings);
        m_manager->SetClipboard(&m_clipboard);
        m_main->SetDocumentOpener(m_manager);
        m_binaries = new TBinaryDocuments(*m_main, *m_manager);
        m_binaries->SetClipboard(&m_clipboard);
        m_binaries->BindCommands(m_main->Commands());
        m_main->resize(900, 600);
        m_main->show();
    }
    void TearDown() override
    {
        for (TBinaryForm* form : m_binaries->Forms()) {
            form->Document().SetModified(false);
        }
        for (TChildForm* form : m_manager->Forms()) {
            form->MemoSource().SetModified(false);
        }
        m_main.reset();
    }
    bool Open(const fs::path& file, bool asBinary = false)
    {
        TOpenRequest request;
        request.fileName = file.string();
        request.asBinary = asBinary;
        request.closeEmptyActive = true;
        return m_manager->CreateMDIChild(request);
    }
    std::string Content(TBinaryForm& form)
    {
        THexDocument& doc = form.Document();
        const auto bytes = doc.BufferFromFile(0, static_cast<std::int64_t>(doc.GetDataSize()));
        return std::string(bytes.begin(), bytes.end());
    }

    TTempDir m_dir;
    TSettingsStore m_settings{fs::path{}, TSettingsForm::PerUser};
    TFakeClipboard m_clipboard;
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_manager = nullptr;
    TBinaryDocuments* m_binaries = nullptr;
};

TEST_F(BinaryDocumentsTest, BinaryFilesOpenInBinaryWindows)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool asBinary;
        bool binary;
    };
    const Case cases[] = {
        {"control byte",
            std::string("ab\x01"
                        "cd",
                5),
            false,
            true},
        {"form feed", "page\x0Cnext\n", false, true},
        {"NUL after the first 50 bytes", std::string(60, 'a') + std::string(1, '\0'), false, false},
        {"byte-order mark", "\xEF\xBB\xBFtext\x01", false, false},
        {"text asked for as binary", "plain text\n", true, true},
    };
    int binaries = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = m_dir.Write(std::string(c.name) + ".dat", c.bytes);
        ASSERT_TRUE(Open(file, c.asBinary));
        TBinaryForm* form = m_binaries->Active();
        EXPECT_EQ(form != nullptr, c.binary);
        if (form != nullptr) {
            ++binaries;
            EXPECT_EQ(Content(*form), c.bytes);
            EXPECT_EQ(form->FileName(), file);
            EXPECT_EQ(form->Document().BackupExtension(), ".~dat");
            EXPECT_EQ(m_main->StatusText(TQuilletMainForm::kPanelCaret), QStringLiteral("0x0"));
        }
    }
    EXPECT_EQ(static_cast<int>(m_binaries->Forms().size()), binaries);
}

TEST_F(BinaryDocumentsTest, UnreadableBinaryRequestsSayWhy)
{
    TBoxAnswerer boxes;
    EXPECT_FALSE(Open(m_dir.Path() / "missing.bin", true));
    EXPECT_FALSE(Open(m_dir.Path(), true));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("Could not open file")));
    EXPECT_TRUE(m_binaries->Forms().empty());
}

TEST_F(BinaryDocumentsTest, NewBinaryAndViewAsBinary)
{
    m_manager->New(); // Untitled1, a text document
    ASSERT_TRUE(m_main->Commands().Execute("FileNewHex"));
    TBinaryForm* fresh = m_binaries->Active();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->windowTitle(), QStringLiteral("Untitled2"));
    EXPECT_FALSE(m_main->Commands().State("EditUndo").enabled);
    EXPECT_FALSE(m_main->Commands().State("ViewAsHex").enabled);

    const fs::path file = m_dir.Write("lines.txt", "one\ntwo\n");
    ASSERT_TRUE(Open(file));
    TChildForm* text = m_manager->ActiveForm();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(m_main->Commands().State("ViewAsHex").enabled);
    ASSERT_TRUE(m_main->Commands().Execute("ViewAsHex"));
    TBinaryForm* view = m_binaries->Active();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Content(*view), "one\r\ntwo\r\n");
    EXPECT_EQ(view->FileName(), file);
    EXPECT_FALSE(view->IsModified());
    EXPECT_FALSE(view->CanUndo()); // no undo until saved once
    EXPECT_EQ(m_manager->Forms().size(), 2u); // the text document stays open
}

TEST_F(BinaryDocumentsTest, CommandsReachTheActiveBinaryWindow)
{
    const fs::path file = m_dir.Write("cmd.bin", std::string("\x01\x02\x03\x04", 4));
    ASSERT_TRUE(Open(file));
    TBinaryForm* form = m_binaries->Active();
    ASSERT_NE(form, nullptr);
    TCommandRegistry& commands = m_main->Commands();
    EXPECT_FALSE(commands.State("EditCopy").enabled);
    ASSERT_TRUE(commands.Execute("EditSelectAll"));
    ASSERT_TRUE(commands.Execute("EditCopy"));
    EXPECT_EQ(m_clipboard.GetText(), "01020304");
    m_clipboard.SetText("ff ee");
    ASSERT_TRUE(commands.Execute("EditPaste"));
    EXPECT_EQ(Content(*form), "\xFF\xEE");
    EXPECT_TRUE(commands.State("EditUndo").enabled);
    EXPECT_FALSE(commands.State("EditRedo").enabled);
    ASSERT_TRUE(commands.Execute("EditUndo"));
    EXPECT_EQ(Content(*form), std::string("\x01\x02\x03\x04", 4));
    ASSERT_TRUE(commands.Execute("SearchToggleBookmark"));
    EXPECT_TRUE(commands.State("SearchGoToBookmark1").visible);
    EXPECT_EQ(commands.State("SearchGoToBookmark1").caption, "&1  0x0");
    ASSERT_TRUE(commands.Execute("SearchClearAllBookmark"));
    EXPECT_FALSE(commands.State("SearchGoToBookmark1").visible);
    ASSERT_TRUE(commands.Execute("ViewReadOnly"));
    EXPECT_TRUE(commands.State("ViewReadOnly").checked);
    EXPECT_FALSE(commands.State("EditPaste").enabled);
    ASSERT_TRUE(commands.Execute("ViewReadOnly"));

    form->Document().ChangeByte(1, 9, 0);
    EXPECT_TRUE(commands.State("FileSave").enabled);
    ASSERT_TRUE(commands.Execute("FileSave"));
    EXPECT_EQ(TTempDir::Read(file), std::string("\x09\x02\x03\x04", 4));
    EXPECT_FALSE(commands.State("FileSave").enabled);
}

TEST_F(BinaryDocumentsTest, SaveAllAndCloseAllTakeEveryBinaryWindow)
{
    const fs::path first = m_dir.Write("first.bin", std::string("\x01", 1));
    const fs::path second = m_dir.Write("second.bin", std::string("\x02", 1));
    ASSERT_TRUE(Open(first));
    ASSERT_TRUE(Open(second));
    ASSERT_EQ(m_binaries->Forms().size(), 2u);
    TCommandRegistry& commands = m_main->Commands();
    m_binaries->Forms().front()->Document().ChangeByte(1, 7, 0);
    EXPECT_TRUE(commands.State("FileSaveAll").enabled);
    ASSERT_TRUE(commands.Execute("FileSaveAll"));
    EXPECT_EQ(TTempDir::Read(first), std::string("\x07", 1));
    EXPECT_FALSE(m_binaries->Forms().front()->IsModified());

    // A window that refuses to close stops Close All there: the newest
    // closes first, the refusing one and those before it stay.
    m_binaries->Forms().front()->Document().ChangeByte(1, 8, 0);
    m_binaries->Forms().front()->OnQuestion = [](const QString&, bool) {
        return QMessageBox::Cancel;
    };
    EXPECT_TRUE(commands.State("FileCloseAll").enabled);
    ASSERT_TRUE(commands.Execute("FileCloseAll"));
    ASSERT_EQ(m_binaries->Forms().size(), 1u);
    EXPECT_EQ(m_binaries->Forms().front()->FileName(), first);
    m_binaries->Forms().front()->Document().SetModified(false);
    ASSERT_TRUE(commands.Execute("FileCloseAll"));
    EXPECT_TRUE(m_binaries->Forms().empty());
}

TEST_F(BinaryDocumentsTest, ProgramCloseAsksTheBinaryWindow)
{
    const fs::path file = m_dir.Write("close.bin", std::string("\x01", 1));
    ASSERT_TRUE(Open(file));
    TBinaryForm* form = m_binaries->Active();
    ASSERT_NE(form, nullptr);
    form->Document().ChangeByte(1, 2, 0);
    int asked = 0;
    form->OnQuestion = [&](const QString&, bool) {
        ++asked;
        return asked == 1 ? QMessageBox::Cancel : QMessageBox::No;
    };
    EXPECT_FALSE(m_main->CloseQueryDocuments());
    EXPECT_TRUE(m_main->CloseQueryDocuments());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(TTempDir::Read(file), std::string("\x01", 1));
}

TEST_F(BinaryDocumentsTest, SaveAsGivesTheWindowTheNewName)
{
    const fs::path file = m_dir.Write("a.bin", std::string("\x05", 1));
    ASSERT_TRUE(Open(file));
    TBinaryForm* form = m_binaries->Active();
    ASSERT_NE(form, nullptr);
    const fs::path other = m_dir.Path() / "b.bin";
    m_manager->OnSaveDialog = [&](const QString&, int) {
        return std::optional<TSaveChoice>(TSaveChoice{other.string(), 1, 0});
    };
    ASSERT_TRUE(m_main->Commands().Execute("FileSaveAs"));
    EXPECT_EQ(form->FileName(), other);
    EXPECT_EQ(TTempDir::Read(other), std::string("\x05", 1));
    EXPECT_EQ(form->windowTitle(), QString::fromStdString(other.string()));
}

TEST_F(BinaryDocumentsTest, SavingNeverWritesThroughALinkAtTheBackupName)
{
    // data.bin is the user's link to real/data.bin: saving follows it and it
    // stays a link. data.~bin is a link planted towards another file: the
    // backup replaces the link instead of writing into that file.
    fs::create_directories(m_dir.Path() / "real");
    const fs::path real = m_dir.Write("real/data.bin", std::string("\x01old", 4));
    const fs::path victim = m_dir.Write("victim.txt", "victim");
    const fs::path file = m_dir.Path() / "data.bin";
    const fs::path backup = m_dir.Path() / "data.~bin";
    fs::create_symlink(real, file);
    fs::create_symlink(victim, backup);
    ASSERT_TRUE(Open(file));
    TBinaryForm* form = m_binaries->Active();
    ASSERT_NE(form, nullptr);
    form->Document().SetCreateBackup(true);
    QTest::keyClicks(&form->Editor(), "ff");
    ASSERT_TRUE(form->IsModified());
    TBoxAnswerer boxes; // any error box is answered and recorded
    ASSERT_TRUE(m_main->Commands().Execute("FileSave"));
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front().toStdString();
    EXPECT_FALSE(form->IsModified());
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(TTempDir::Read(real), std::string("\xFFold", 4));
    EXPECT_EQ(TTempDir::Read(victim), "victim");
    EXPECT_FALSE(fs::is_symlink(backup));
    EXPECT_EQ(TTempDir::Read(backup), std::string("\x01old", 4));
}

} // namespace
} // namespace quillet

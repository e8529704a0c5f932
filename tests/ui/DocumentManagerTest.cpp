// Opening, saving and reloading real files through the document manager, with
// the message boxes answered the way a user would.
#include "app/ui/DocumentManager.h"

#include "app/ui/QuilletMainForm.h"
#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "core/SettingsStore.h"
#include "platform/fake/FakeFileSystem.h"
#include "support/BoxAnswerer.h"
#include "support/HonouredPermissions.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <deque>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace quillet {
namespace {

using test::THonouredPermissions;
using test::TTempDir;
namespace fs = std::filesystem;

using test::TBoxAnswerer;

// Line end a document window writes with the settings of the tests (none
// stored: the platform's LF), so that fixtures round-trip byte for byte.
std::string BufferLineEnd()
{
    return "\n";
}

std::string Ucs2Le(std::string_view ascii)
{
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

class DocumentManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_main = std::make_unique<TQuilletMainForm>();
        m_manager = new TDocumentManager(*m_main);
        m_manager->SetSettingsStore(&m_settings);
        m_main->SetDocumentOpener(m_manager);
        m_main->resize(800, 600);
        m_main->show();
    }
    void TearDown() override
    {
        for (TChildForm* form : m_manager->Forms()) {
            form->MemoSource().SetModified(false);
        }
        m_main.reset();
    }
    TChildForm* Open(const fs::path& file, int codePageIndex = 0)
    {
        TOpenRequest request;
        request.fileName = file.string();
        request.codePageIndex = codePageIndex;
        request.closeEmptyActive = true;
        return m_manager->CreateMDIChild(request) ? m_manager->ActiveForm() : nullptr;
    }
    // Documents get their definitions from the ones shipped in the source tree.
    TSyntaxContext UseShippedSyntaxDefinitions()
    {
        m_catalog = std::make_unique<TSchemeCatalog>(std::vector<fs::path>{test::DataPath("../..")});
        m_catalog->LoadAll();
        TSyntaxContext context;
        context.catalog = m_catalog.get();
        context.styles = &m_styles;
        m_manager->SetSyntaxContext(context);
        return context;
    }

    TTempDir m_dir;
    TSettingsStore m_settings{fs::path{}, TSettingsForm::PerUser}; // in memory
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_manager = nullptr;
    std::unique_ptr<TSchemeCatalog> m_catalog;
    TTextStyles m_styles;
};

TEST_F(DocumentManagerTest, OpenAndSaveRoundTripInSeveralCharsets)
{
    const std::string eol = BufferLineEnd();
    struct TCase {
        const char* name;
        std::string bytes;
        int askedIndex;
        int expectedIndex;
        std::string saved; // empty: the bytes read
    };
    const TCase cases[] = {
        {"utf8-bom.txt",
            "\xEF\xBB\xBF"
            "caf\xC3\xA9"
                + eol + "end" + eol,
            0,
            28,
            ""},
        // A UTF-8 save always carries the mark.
        {"utf8.txt",
            "caf\xC3\xA9" + eol + "end" + eol,
            28,
            28,
            "\xEF\xBB\xBF"
            "caf\xC3\xA9"
                + eol + "end" + eol},
        {"ucs2le.txt", "\xFF\xFE" + Ucs2Le("caf") + std::string("\xE9\0", 2) + Ucs2Le(eol + "end" + eol), 5, 31, ""},
        {"cp1250.txt", "caf\xE9" + eol + "end" + eol, 14, 14, ""},
        {"system.txt", "caf\xE9" + eol + "end" + eol, 0, 0, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = m_dir.Write(c.name, c.bytes);
        TChildForm* form = Open(file, c.askedIndex);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->CodePage(), c.expectedIndex);
        ASSERT_EQ(form->MemoSource().Lines().Count(), 2);
        EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "caf\xE9"); // é in the system code page
        EXPECT_FALSE(form->MemoSource().ReadOnly());
        EXPECT_FALSE(form->MemoSource().Modified());

        // Saving writes the same bytes back: mark, charset and final line end.
        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->Save(*form));
        EXPECT_EQ(TTempDir::Read(file), c.saved.empty() ? c.bytes : c.saved);
        EXPECT_FALSE(form->MemoSource().Modified());

        // Reload reads the file through the document's charset again.
        form->MemoSource().Lines().Put(0, "changed");
        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->Reload(*form, form->CodePage()));
        EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "caf\xE9");
        form->close();
    }
}

// Every entry of the code page list through real files: open, save, reload,
// and reopen in another code page and back.
TEST_F(DocumentManagerTest, EveryCodePageRoundTripsThroughTheWindow)
{
    const std::string ascii = "line one\n+&-~\\ \"two\"\n";
    const std::string accented = "caf\xE9\n"; // in the system code page
    const int systemCp = GetSystemCodePage();
    for (int index = 0; index < kCodePageCount; ++index) {
        const int cp = GetCodePage(index);
        SCOPED_TRACE(GetIDFromCP(cp));
        const bool holdsAccent = !ConvertCharset(accented, systemCp, cp).lossy;
        const std::string text = ascii + (holdsAccent ? accented : "");
        const std::string bytes = std::string(ByteOrderMark(cp)) + CharsetConversion(text, systemCp, cp);
        const fs::path file = m_dir.Write("every " + std::to_string(index) + ".txt", bytes);

        TChildForm* form = Open(file, index);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->CodePage(), index);
        EXPECT_EQ(form->MemoSource().SaveToText(), text);
        EXPECT_FALSE(form->MemoSource().ReadOnly());

        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->Save(*form));
        EXPECT_EQ(TTempDir::Read(file), bytes);

        form->MemoSource().Lines().Put(0, "changed");
        ASSERT_TRUE(m_manager->Reload(*form, form->CodePage()));
        EXPECT_EQ(form->MemoSource().SaveToText(), text);

        int reopenAs = 1;
        m_manager->OnSelectCodePage = [&](int) {
            return std::optional<int>(reopenAs);
        };
        {
            TBoxAnswerer boxes; // a lossy reading is announced
            ASSERT_TRUE(m_manager->ReopenInOtherCodePage(*form));
        }
        EXPECT_EQ(form->CodePage(), 1);
        reopenAs = index;
        ASSERT_TRUE(m_manager->ReopenInOtherCodePage(*form));
        EXPECT_EQ(form->CodePage(), index);
        EXPECT_EQ(form->MemoSource().SaveToText(), text);
        EXPECT_FALSE(form->MemoSource().ReadOnly()) << "a lossless reading lifts the protection again";
        form->close();
    }
}

TEST_F(DocumentManagerTest, ReopenInOtherCodePageRereadsTheFile)
{
    const fs::path file = m_dir.Write("plain.txt", "caf\xC3\xA9\n");
    TChildForm* form = Open(file, 0);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "caf\xC3\xA9"); // the raw bytes, unconverted

    m_manager->OnSelectCodePage = [](int current) {
        EXPECT_EQ(current, 0);
        return std::optional<int>(28);
    };
    form->MemoSource().Lines().Put(0, "edited");
    form->MemoSource().SetModified(true);
    {
        TBoxAnswerer boxes({QMessageBox::No});
        EXPECT_FALSE(m_manager->ReopenInOtherCodePage(*form));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(
            boxes.texts[0], "Current document was changed. Your changes will be lost. Do you really want to continue?");
        EXPECT_EQ(boxes.captions[0], "Quillet 4.1");
        EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "edited");
    }
    TBoxAnswerer boxes({QMessageBox::Yes});
    ASSERT_TRUE(m_manager->ReopenInOtherCodePage(*form));
    EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "caf\xE9");
    EXPECT_EQ(form->CodePage(), 28);
    EXPECT_EQ(m_main->StatusText(TQuilletMainForm::kPanelCodePage), " UTF_8");
    EXPECT_FALSE(form->MemoSource().Modified());
}

TEST_F(DocumentManagerTest, LossyLoadOpensReadOnlyAndNamesTheFile)
{
    // Cyrillic cannot be held by the system code page of the tests.
    const std::string bytes = "\xD0\x96uk\n";
    const fs::path file = m_dir.Write("cyrillic.txt", bytes);
    TBoxAnswerer boxes;
    TChildForm* form = Open(file, 28);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->MemoSource().ReadOnly());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(QString::fromStdString(file.string())));
    EXPECT_TRUE(boxes.texts[0].contains("read-only"));
    EXPECT_TRUE(m_manager->Save(*form));
    EXPECT_EQ(TTempDir::Read(file), bytes);
}

// A right click in either view of a document shows the main window's
// document pop-up.
TEST_F(DocumentManagerTest, RightClickInAViewShowsTheDocumentPopup)
{
    TChildForm* form = Open(m_dir.Write("popup.txt", "hello\n"));
    ASSERT_NE(form, nullptr);
    QMenu* popup = m_main->DocumentPopup();
    ASSERT_NE(popup, nullptr);
    for (TTarnMemo* view : {&form->Memo(), &form->Memo1()}) {
        const QPoint at(30, 5);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &click);
        EXPECT_TRUE(popup->isVisible());
        popup->hide();
    }
}

TEST_F(DocumentManagerTest, BinaryFilesAndProjectsAreNotOpenedAsText)
{
    const fs::path binary = m_dir.Write("form-feed.txt", "page\x0Cnext\n");
    const fs::path text = m_dir.Write("text.txt", "hello\n");
    const fs::path project = m_dir.Write("x.qpr", "[General]\nSignature=QUILLET PROJECT FILE\n");
    TBoxAnswerer boxes;
    EXPECT_EQ(Open(binary), nullptr);
    TOpenRequest hex;
    hex.fileName = text.string();
    hex.asBinary = true;
    EXPECT_FALSE(m_manager->CreateMDIChild(hex));
    EXPECT_EQ(Open(project), nullptr);
    EXPECT_TRUE(m_manager->Forms().empty());
    ASSERT_EQ(boxes.texts.size(), 3u);
    EXPECT_TRUE(boxes.texts[0].contains("Binary documents cannot be opened yet"));
    EXPECT_TRUE(boxes.texts[1].contains("text.txt"));
    EXPECT_TRUE(boxes.texts[2].contains("Projects are not available yet"));
}

TEST_F(DocumentManagerTest, MissingAndUnreadableFiles)
{
    const fs::path missing = m_dir.Path() / "new file \"q\" \xC5\xBE.txt";
    {
        TBoxAnswerer boxes({QMessageBox::No});
        EXPECT_EQ(Open(missing), nullptr);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(
            boxes.texts[0], QString::fromStdString("File \"" + missing.string() + "\" does not exists. Create new?"));
        EXPECT_TRUE(m_manager->Forms().empty());
    }
    {
        TBoxAnswerer boxes({QMessageBox::Yes});
        TChildForm* form = Open(missing);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->FileName(), missing);
        EXPECT_EQ(form->MemoSource().Lines().Count(), 0);
        form->MemoSource().Lines().Add("created");
        form->MemoSource().SetModified(true);
        EXPECT_TRUE(m_manager->Save(*form));
        EXPECT_EQ(TTempDir::Read(missing), "created" + BufferLineEnd());
    }
    // A folder, and a file the user may not read, cannot be opened.
    TBoxAnswerer boxes;
    fs::create_directory(m_dir.Path() / "folder");
    std::vector<fs::path> refused{m_dir.Path() / "folder"};
    refused.push_back(m_dir.Write("locked.txt", "secret\n"));
    fs::permissions(refused.back(), fs::perms::none);
    {
        const THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        for (const fs::path& file : refused) {
            EXPECT_EQ(Open(file), nullptr);
        }
    }
    ASSERT_EQ(boxes.texts.size(), refused.size());
    for (std::size_t i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(boxes.texts[i], QString::fromStdString("Could not open file \"" + refused[i].string() + "\"."));
    }
    EXPECT_EQ(m_manager->Forms().size(), 1u) << "only the created file";
}

// A file deleted by another program while open: no question is asked, and
// saving writes it again; a later outside change is still noticed.
TEST_F(DocumentManagerTest, FileDeletedWhileOpenIsSavedAgain)
{
    const fs::path file = m_dir.Write("deleted \"soon\" \xC5\xBE.txt", "one\n");
    TChildForm* form = Open(file);
    ASSERT_NE(form, nullptr);
    {
        TBoxAnswerer boxes;
        fs::remove(file);
        QTest::qWait(300);
        EXPECT_TRUE(boxes.texts.empty());
        form->MemoSource().Lines().Put(0, "again");
        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->Save(*form));
        EXPECT_EQ(TTempDir::Read(file), "again\n");
        QTest::qWait(300);
        EXPECT_TRUE(boxes.texts.empty()) << "our own save is no outside change";
    }
    TBoxAnswerer boxes({QMessageBox::Yes});
    QTest::qWait(20);
    QProcess::execute(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"),
            QStringLiteral("echo outside >> \"$1\""),
            QStringLiteral("sh"),
            QString::fromStdString(file.string())});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->MemoSource().Lines().Count() == 2;
        },
        5000));
    EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(DocumentManagerTest, UntitledCounterEmptyActiveAndOpeningTwice)
{
    m_manager->New();
    m_manager->New();
    m_manager->New();
    std::vector<QString> captions;
    for (TChildForm* form : m_manager->Forms()) {
        captions.push_back(form->windowTitle());
    }
    EXPECT_EQ(captions, (std::vector<QString>{"Untitled1", "Untitled2", "Untitled3"}));

    // The untouched Untitled3 gives way to the file.
    const fs::path file = m_dir.Write("a.txt", "a\n");
    m_dir.Write("A.txt", "upper\n");
    ASSERT_NE(Open(file), nullptr);
    EXPECT_EQ(m_manager->Forms().size(), 3u);

    // The same file again, spelled differently, only activates its window;
    // a name differing in case is another file.
    TChildForm* first = m_manager->Forms().back();
    TChildForm* edited = m_manager->Forms().front();
    edited->MemoSource().SetModified(true); // an edited untitled document stays
    m_main->MdiArea()->setActiveSubWindow(edited);
    EXPECT_EQ(Open(m_dir.Path() / "." / "a.txt"), first);
    EXPECT_EQ(m_manager->Forms().size(), 3u);
    ASSERT_NE(Open(m_dir.Path() / "A.txt"), nullptr);
    EXPECT_EQ(m_manager->Forms().size(), 4u);
}

TEST_F(DocumentManagerTest, SaveAsChangesTheExtensionAndAsksBeforeOverwriting)
{
    m_manager->SetFileTypeFilter("Pascal files (*.pas)|*.pas;*.dpr");
    m_manager->New();
    TChildForm* form = m_manager->ActiveForm();
    ASSERT_NE(form, nullptr);
    form->MemoSource().Lines().Add("caf\xE9");
    form->MemoSource().SetModified(true);

    QString startName;
    m_manager->OnSaveDialog = [&](const QString& start, int) {
        startName = start;
        return std::optional<TSaveChoice>(TSaveChoice{(m_dir.Path() / "a.txt").string(), 2, 28});
    };
    ASSERT_TRUE(m_manager->Save(*form)); // untitled: Save goes through Save As
    EXPECT_EQ(startName, "Untitled1");
    const fs::path pas = m_dir.Path() / "a.pas";
    EXPECT_EQ(form->FileName(), pas);
    EXPECT_EQ(form->CodePage(), 28);
    EXPECT_EQ(TTempDir::Read(pas),
        "\xEF\xBB\xBF"
        "caf\xC3\xA9"
            + BufferLineEnd());
    EXPECT_FALSE(fs::exists(m_dir.Path() / "a.txt"));

    // Save As onto an existing file: No leaves it alone.
    const fs::path other = m_dir.Write("other.txt", "keep me\n");
    m_manager->OnSaveDialog = [&](const QString&, int) {
        return std::optional<TSaveChoice>(TSaveChoice{other.string(), 1, 0});
    };
    TBoxAnswerer boxes({QMessageBox::No});
    EXPECT_FALSE(m_manager->SaveAs(*form));
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0],
        QString::fromStdString("File \"" + other.string() + "\" already exists. Do you want to owerwrite it?"));
    EXPECT_EQ(TTempDir::Read(other), "keep me\n");
    EXPECT_EQ(form->FileName(), pas);

    // A new file that cannot be made is no read-only file: the reason is given.
    const fs::path nowhere = m_dir.Path() / "no such folder" / "b.txt";
    m_manager->OnSaveDialog = [&](const QString&, int) {
        return std::optional<TSaveChoice>(TSaveChoice{nowhere.string(), 1, 0});
    };
    EXPECT_FALSE(m_manager->SaveAs(*form));
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_TRUE(boxes.texts[1].startsWith(QString::fromStdString("Cannot create file \"" + nowhere.string() + "\". ")))
        << boxes.texts[1].toStdString();
    EXPECT_EQ(form->FileName(), pas);
}

// A write that fails half-way (the file size limit) must leave the old file
// whole, on both write paths: the buffer's own save and a converted save.
TEST_F(DocumentManagerTest, FailedSaveKeepsTheOldFileAndTheChanges)
{
    for (int codePage : {0, 28}) {
        SCOPED_TRACE(codePage);
        const std::string old = "old content\n";
        const fs::path file = m_dir.Write("keep" + std::to_string(codePage) + ".txt", old);
        TChildForm* form = Open(file, codePage);
        ASSERT_NE(form, nullptr);
        form->MemoSource().Lines().Put(0, std::string(64 * 1024, 'x'));
        form->MemoSource().SetModified(true);

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        auto* previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        TBoxAnswerer boxes;
        const bool ok = m_manager->Save(*form);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        EXPECT_FALSE(ok);
        EXPECT_EQ(TTempDir::Read(file), old);
        EXPECT_TRUE(form->MemoSource().Modified());
        // No room for the file: the system's reason, not a read-only claim.
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0],
            QString::fromStdString("Cannot save file \"" + file.string() + "\". " + std::strerror(EFBIG)));
        form->MemoSource().SetModified(false);
        form->close();
    }
}

TEST_F(DocumentManagerTest, SaveFailureOtherThanProtectionNamesTheSystemsReason)
{
    // A full disk, a quota and an I/O error met while writing, injected into
    // the document's file system: each box names the reason, the document
    // stays modified and the old file whole.
    const fs::path file = m_dir.Write("full.txt", "old\n");
    TChildForm* form = Open(file);
    ASSERT_NE(form, nullptr);
    TFakeFileSystem files;
    files.AddFile(file, "old\n");
    form->MemoSource().SetFileSystem(&files);
    for (const int error : {ENOSPC, EDQUOT, EIO}) {
        SCOPED_TRACE(std::strerror(error));
        form->MemoSource().Lines().Put(0, "new");
        form->MemoSource().SetModified(true);
        files.FailNextWrite(TFileStep::Write, error);
        TBoxAnswerer boxes;
        EXPECT_FALSE(m_manager->Save(*form));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(boxes.texts[0],
            QString::fromStdString("Cannot save file \"" + file.string() + "\". " + std::strerror(error)));
        EXPECT_TRUE(form->MemoSource().Modified());
        EXPECT_EQ(files.Contents(file), "old\n");
    }
    form->MemoSource().SetModified(false);
    form->MemoSource().SetFileSystem(nullptr);
    form->close();
}

TEST_F(DocumentManagerTest, SaveIntoAWriteProtectedFolderSaysReadOnly)
{
    const std::string old = "old content\n";
    const fs::path file = m_dir.Write("locked/keep.txt", old);
    TChildForm* form = Open(file);
    ASSERT_NE(form, nullptr);
    form->MemoSource().Lines().Put(0, "changed");
    form->MemoSource().SetModified(true);
    ::chmod(file.parent_path().c_str(), 0500);
    bool ok = true;
    TBoxAnswerer boxes;
    {
        const THonouredPermissions honoured;
        ASSERT_TRUE(honoured.Active());
        ok = m_manager->Save(*form);
    }
    ::chmod(file.parent_path().c_str(), 0700);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TTempDir::Read(file), old);
    EXPECT_TRUE(form->MemoSource().Modified());
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], QString::fromStdString("\"" + file.string() + "\" is Read only file or it is locked."));
    form->MemoSource().SetModified(false);
    form->close();
}

// Another process appends to the file in place: the window asks and reloads.
// After our own save (which replaces the file by a rename) the next outside
// change is still noticed.
TEST_F(DocumentManagerTest, OutsideChangeIsNoticedBeforeAndAfterASave)
{
    const fs::path file = m_dir.Write("watched.txt", "one\n");
    TChildForm* form = Open(file);
    ASSERT_NE(form, nullptr);
    auto append = [&](const char* text) {
        QTest::qWait(20); // a later time stamp than the last write
        QProcess::execute(QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
                QStringLiteral("printf '%s\\n' \"$1\" >> \"$2\""),
                QStringLiteral("sh"),
                QString::fromLatin1(text),
                QString::fromStdString(file.string())});
    };
    {
        TBoxAnswerer boxes({QMessageBox::Yes});
        append("two");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return form->MemoSource().Lines().Count() >= 2 && form->MemoSource().Lines().GetRaw(1) == "two";
            },
            5000));
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].startsWith("Another application has updated file"));
    }
    {
        // Our own save asks nothing.
        TBoxAnswerer boxes;
        form->MemoSource().Lines().Put(0, "ONE");
        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->Save(*form));
        QTest::qWait(300);
        EXPECT_TRUE(boxes.texts.empty());
    }
    TBoxAnswerer boxes({QMessageBox::Yes});
    append("three");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return form->MemoSource().Lines().Count() >= 3 && form->MemoSource().Lines().GetRaw(2) == "three";
        },
        5000));
    EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "ONE");
    EXPECT_EQ(boxes.texts.size(), 1u);
}

// Closing the main window asks each modified document; Cancel keeps the
// program open, and Save All tries every document even after a failure.
TEST_F(DocumentManagerTest, ClosingTheProgramAsksAboutChangesAndSaveAllTriesEveryDocument)
{
    const fs::path first = m_dir.Write("first.txt", "1\n");
    const fs::path second = m_dir.Write("second.txt", "2\n");
    TChildForm* a = Open(first);
    TChildForm* b = Open(second);
    ASSERT_TRUE(a != nullptr && b != nullptr);
    a->MemoSource().Lines().Put(0, "one");
    a->MemoSource().SetModified(true);
    {
        TBoxAnswerer boxes({QMessageBox::Cancel});
        EXPECT_FALSE(m_main->close());
        EXPECT_TRUE(m_main->isVisible());
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].contains("first.txt"));
        EXPECT_EQ(m_manager->Forms().size(), 2u);
    }

    // The second document cannot be written: the first is still saved.
    b->MemoSource().Lines().Put(0, "two");
    b->MemoSource().SetModified(true);
    fs::remove(second);
    fs::create_directory(second);
    TBoxAnswerer boxes;
    EXPECT_FALSE(m_manager->SaveAll());
    EXPECT_EQ(TTempDir::Read(first), "one" + BufferLineEnd());
    EXPECT_FALSE(a->MemoSource().Modified());
    EXPECT_TRUE(b->MemoSource().Modified());
    // A folder in the way is no write protection: the box names the reason.
    const QString refused =
        QString::fromStdString("Cannot save file \"" + second.string() + "\". " + std::strerror(EISDIR));
    EXPECT_NE(std::find(boxes.texts.begin(), boxes.texts.end(), refused), boxes.texts.end());
}

// With the syntax definitions set, an opened file gets the definition its
// extension selects and the dialogs offer the definitions' file types.
TEST_F(DocumentManagerTest, OpenedFilesGetTheirSyntaxDefinition)
{
    UseShippedSyntaxDefinitions();
    TChildForm* form = Open(m_dir.Write("x.cpp", "int main() { return 0; }\n"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(DocumentSyntaxFile(*form), "C++.def");
    EXPECT_EQ(m_manager->OpenFilter().find("*.cpp") != std::string::npos, true);
    TChildForm* plain = Open(m_dir.Write("notes.unknown-ext", "plain\n"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(DocumentParser(*plain), nullptr);
}

// Save As under a new extension chooses the definition anew; caption and
// status bar follow the new name.
TEST_F(DocumentManagerTest, SaveAsChoosesTheSyntaxOfTheNewName)
{
    const TSyntaxContext context = UseShippedSyntaxDefinitions();
    TChildForm* form = Open(m_dir.Write("x.cpp", "int main() { return 0; }\n"));
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(DocumentSyntaxFile(*form), "C++.def");
    const QString cppSyntax = m_main->StatusText(TQuilletMainForm::kPanelSyntax);

    struct TCase {
        const char* name;
        std::string expectedDefinition; // empty: plain text
    };
    const TCase cases[] = {
        {"y.py", "Python.def"},
        {"y.PY", "Python.def"}, // same definition: kept as it is
        {"z.unknown-ext", ""}, // a new extension that selects nothing: plain text
        {"z.cpp", "C++.def"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path target = m_dir.Path() / c.name;
        m_manager->OnSaveDialog = [&](const QString&, int) {
            return std::optional<TSaveChoice>(TSaveChoice{target.string(), 1, 0});
        };
        form->MemoSource().SetModified(true);
        ASSERT_TRUE(m_manager->SaveAs(*form));
        EXPECT_EQ(DocumentSyntaxFile(*form), c.expectedDefinition);
        EXPECT_EQ(form->windowTitle(), QString::fromStdString(target.string()));
        const QString syntax = m_main->StatusText(TQuilletMainForm::kPanelSyntax);
        EXPECT_EQ(syntax.isEmpty(), c.expectedDefinition.empty());
        EXPECT_EQ(syntax == cppSyntax, c.expectedDefinition == "C++.def");
    }

    // An untitled document keeps its definition under a name that selects none.
    m_manager->New();
    TChildForm* untitled = m_manager->ActiveForm();
    ASSERT_NE(untitled, nullptr);
    ASSERT_TRUE(ZmenSyntaxParser(*untitled, "C++.def", context));
    const fs::path target = m_dir.Path() / "notes";
    m_manager->OnSaveDialog = [&](const QString&, int) {
        return std::optional<TSaveChoice>(TSaveChoice{target.string(), 1, 0});
    };
    untitled->MemoSource().SetModified(true);
    ASSERT_TRUE(m_manager->Save(*untitled));
    EXPECT_EQ(DocumentSyntaxFile(*untitled), "C++.def");
}

// The stored editor settings reach new and opened windows, and changed
// settings reach the open ones.
TEST_F(DocumentManagerTest, StoredEditorSettingsReachNewWindows)
{
    m_settings.WriteString("General", "TabStops", "5,9");
    m_settings.WriteBool("General", "AutoIndent", false);
    m_settings.WriteBool("General", "ShowLineNumbers", false);
    m_settings.WriteInteger("Display", "MarginPosition", 72);
    m_settings.WriteInteger("Color Scheme", "FontSize", 14);
    m_manager->New();
    TChildForm* created = m_manager->ActiveForm();
    ASSERT_NE(created, nullptr);
    created->MemoSource().SetModified(true); // stays when the file opens
    TChildForm* opened = Open(m_dir.Write("file.txt", "text\n"));
    ASSERT_NE(opened, nullptr);
    for (TChildForm* form : {created, opened}) {
        SCOPED_TRACE(form->windowTitle().toStdString());
        EXPECT_EQ(form->MemoSource().TabStopsText(), "5,9");
        EXPECT_EQ(form->MemoSource().Options() & soAutoIndent, 0u);
        // No stored line-end format: the platform's LF.
        EXPECT_EQ(form->MemoSource().OutFormat(), TOutFormat::ofUnix);
        for (TTarnMemo* view : {&form->Memo(), &form->Memo1()}) {
            EXPECT_FALSE(HasOption(view->Options(), moLineNumbers));
            EXPECT_EQ(view->MarginPos(), 72);
            EXPECT_EQ(view->EditorFont().pointSize(), 14);
        }
    }
    m_settings.WriteInteger("General", "OutFormat", 0);
    m_settings.WriteBool("General", "ShowLineNumbers", true);
    m_manager->ApplyEditorSettings();
    EXPECT_EQ(opened->MemoSource().OutFormat(), TOutFormat::ofWindows);
    EXPECT_TRUE(HasOption(opened->Memo().Options(), moLineNumbers));
}

} // namespace
} // namespace quillet

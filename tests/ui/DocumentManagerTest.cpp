// Opening, saving and reloading real files through the document manager, with
// the message boxes answered the way a user would.
#include "app/ui/DocumentManager.h"

#include "app/CodePages.h"
#include "app/ui/QuilletMainForm.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"

#include <QApplication>
#include <QMdiArea>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <deque>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace quillet {
namespace {

using test::TTempDir;
namespace fs = std::filesystem;

// Answers every message box that opens with the next scripted button and
// keeps the texts it saw.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || box == m_lastBox) {
                return;
            }
            m_lastBox = box;
            texts.push_back(box->text());
            captions.push_back(box->windowTitle());
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (!m_answers.empty()) {
                answer = m_answers.front();
                m_answers.pop_front();
            }
            QAbstractButton* button = box->button(answer);
            if (button == nullptr) {
                button = box->buttons().front();
            }
            button->click();
        });
        m_timer.start(10);
    }
    std::vector<QString> texts;
    std::vector<QString> captions;

private:
    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
    QMessageBox* m_lastBox = nullptr;
};

// Line end the buffer writes, so that fixtures round-trip byte for byte.
std::string BufferLineEnd()
{
    TMemoSource probe;
    probe.LoadFromText("a", false);
    return probe.SaveToText().substr(1);
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

    TTempDir m_dir;
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_manager = nullptr;
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
    TBoxAnswerer boxes;
    fs::create_directory(m_dir.Path() / "folder");
    EXPECT_EQ(Open(m_dir.Path() / "folder"), nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(
        boxes.texts[0], QString::fromStdString("Could not open file \"" + (m_dir.Path() / "folder").string() + "\"."));
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
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_EQ(
            boxes.texts[0], QString::fromStdString("\"" + file.string() + "\" is Read only file or it is locked."));
        form->MemoSource().SetModified(false);
        form->close();
    }
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
    const QString refused = QString::fromStdString("\"" + second.string() + "\" is Read only file or it is locked.");
    EXPECT_NE(std::find(boxes.texts.begin(), boxes.texts.end(), refused), boxes.texts.end());
}

// With the syntax definitions set, an opened file gets the definition its
// extension selects and the dialogs offer the definitions' file types.
TEST_F(DocumentManagerTest, OpenedFilesGetTheirSyntaxDefinition)
{
    TSchemeCatalog catalog{{test::DataPath("../..")}};
    catalog.LoadAll();
    TTextStyles styles;
    TSyntaxContext context;
    context.catalog = &catalog;
    context.styles = &styles;
    m_manager->SetSyntaxContext(context);
    TChildForm* form = Open(m_dir.Write("x.cpp", "int main() { return 0; }\n"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(DocumentSyntaxFile(*form), "C++.def");
    EXPECT_EQ(m_manager->OpenFilter().find("*.cpp") != std::string::npos, true);
    TChildForm* plain = Open(m_dir.Write("notes.unknown-ext", "plain\n"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(DocumentParser(*plain), nullptr);
}

} // namespace
} // namespace quillet

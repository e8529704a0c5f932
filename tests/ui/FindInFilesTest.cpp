// The find-in-files command on a real main window with its document manager:
// the dialog, the search over real folders and open documents, the result
// window's commands and the double-click back to the match.
#include "tools/ui/FindInFiles.h"

#include "app/ui/CommandActions.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/FindInFilesBindings.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "platform/fake/FakeClipboard.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"
#include "text/SearchOptions.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/ResultPage.h"
#include "tools/ui/ResultWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

class FindInFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLang("");
        SetGlobalSettings(std::make_unique<TSettingsStore>(fs::path{}, TSettingsForm::PerUser));
        GlobalSearchOptions() = TSearchOptions{};
        m_main = std::make_unique<TQuilletMainForm>();
        m_manager = new TDocumentManager(*m_main);
        m_manager->SetSettingsStore(&m_settings);
        m_main->SetDocumentOpener(m_manager);
        const TFindInFilesParts parts = BindFindInFiles(*m_main, *m_manager, &m_clipboard);
        m_results = parts.resultWindow;
        m_find = parts.findInFiles;
        m_find->OnPatternError = [this](const QString& message) {
            m_patternErrors.push_back(message);
        };
        m_main->resize(900, 700);
        m_main->show();
    }
    void TearDown() override
    {
        for (TChildForm* form : m_manager->Forms()) {
            form->MemoSource().SetModified(false);
        }
        m_main.reset();
        GlobalSearchOptions() = TSearchOptions{};
    }

    TChildForm* Open(const fs::path& file)
    {
        TOpenRequest request;
        request.fileName = file.string();
        EXPECT_TRUE(m_manager->CreateMDIChild(request));
        return m_manager->ActiveForm();
    }
    TFindInFilesRequest InDirectory(const fs::path& dir, std::string text, std::string masks = "*.*")
    {
        TFindInFilesRequest request;
        request.text = std::move(text);
        request.where = swDirectories;
        request.directory = dir.string() + "/";
        request.masks = std::move(masks);
        request.includeSubdirs = true;
        return request;
    }
    TResultPage& Page() { return m_results->Page(TResultWindow::kFindInFilesPage); }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Page().List().Count(); ++i) {
            out.push_back(Page().List().Line(i));
        }
        return out;
    }
    void DoubleClick(int row)
    {
        QApplication::processEvents(); // the panel lays its list out
        const QModelIndex index = Page().model()->index(row, 0);
        Page().scrollTo(index);
        const QRect rect = Page().visualRect(index);
        ASSERT_TRUE(Page().viewport()->rect().contains(rect.center()));
        // A click first: a double-click arriving as the very first event of a
        // newly shown view is not paired with a press.
        QTest::mouseClick(Page().viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(Page().viewport(), Qt::LeftButton, {}, rect.center());
    }
    TTextPoint Caret(TChildForm* form) { return form->MemoSource().GetCaretPoint(); }

    TSettingsStore m_settings{fs::path{}, TSettingsForm::PerUser};
    TFakeClipboard m_clipboard;
    std::unique_ptr<TQuilletMainForm> m_main;
    TDocumentManager* m_manager = nullptr;
    TResultWindow* m_results = nullptr;
    TFindInFiles* m_find = nullptr;
    std::vector<QString> m_patternErrors;
    test::TBoxAnswerer m_boxes; // a box nobody expected must not stop the test
};

TEST_F(FindInFilesTest, DialogRunsASearchOnARealFolder)
{
    TTempDir dir;
    dir.Write("u.pas", "x\ny\nif a = b then\n");
    dir.Write("sub/w.PAS", "b");
    dir.Write("other.txt", "b");
    Open(dir.Write("open.c", "int b;\n")); // the command needs an active text document
    m_main->UpdateCommands();
    ASSERT_TRUE(m_main->CommandActions().Action("SearchFindFiles")->isEnabled());

    m_find->OnExecDialog = [&](TFindInFilesForm& form) {
        EXPECT_TRUE(form.OpenFilesRadio()->isChecked()); // the first choice of a run
        EXPECT_FALSE(form.ProjectRadio()->isEnabled()); // no project open
        EXPECT_FALSE(form.DirectoryCombo()->isEnabled());
        form.TextToFindCombo()->setEditText("b");
        form.WholeWordsCheck()->setChecked(true);
        form.DirectoriesRadio()->setChecked(true);
        EXPECT_TRUE(form.DirectoryCombo()->isEnabled());
        EXPECT_TRUE(form.ClearResultCheck()->isChecked());
        form.DirectoryCombo()->setEditText("");
        form.FileMasksCombo()->setEditText("*.pas;*.PAS");
        EXPECT_FALSE(form.OkButton()->isEnabled()); // a directory search needs its directory
        form.DirectoryCombo()->setEditText(QString::fromStdString(dir.Path().string()));
        form.IncludeSubdirsCheck()->setChecked(true);
        EXPECT_TRUE(form.OkButton()->isEnabled());
        form.TextToFindCombo()->setEditText("");
        EXPECT_FALSE(form.OkButton()->isEnabled());
        form.TextToFindCombo()->setEditText("b");
        QTest::mouseClick(form.OkButton(), Qt::LeftButton);
        return form.result();
    };
    m_find->Execute();

    const std::string root = dir.Path().string();
    EXPECT_EQ(Lines(),
        (std::vector<std::string>{
            root + "/u.pas(3:8): if a = [(+b)]b[(-b)] then", root + "/sub/w.PAS(1:1): [(+b)]b[(-b)]"}));
    EXPECT_EQ(Page().List().Record(0).text, "7;2;" + root + "/u.pas");
    EXPECT_TRUE(m_results->isVisible());
    m_main->UpdateCommands();
    EXPECT_TRUE(m_main->CommandActions().Action("ViewResultWindow")->isChecked());

    // Histories and the stored path: directory and masks in one.
    EXPECT_EQ(GlobalSearchOptions().FileMask, root + "/*.pas;*.PAS");
    EXPECT_EQ(GlobalSearchOptions().Where, swDirectories);
    EXPECT_EQ(Settings().ReadString(kSearchHistorySection, kSearchFileMasksKey, ""), "*.pas;*.PAS\r\n");
    EXPECT_EQ(Settings().ReadString(kSearchHistorySection, kSearchDirsKey, ""), root + "\r\n");

    // The next dialog comes back with the stored choices.
    m_find->OnExecDialog = [&](TFindInFilesForm& form) {
        EXPECT_TRUE(form.DirectoriesRadio()->isChecked());
        EXPECT_EQ(form.DirectoryCombo()->currentText().toStdString(), root + "/");
        EXPECT_EQ(form.FileMasksCombo()->currentText(), "*.pas;*.PAS");
        // "Find text at cursor" is on: the word at the caret comes first.
        EXPECT_EQ(form.TextToFindCombo()->currentText(), "int");
        EXPECT_EQ(form.TextToFindCombo()->itemText(0), "b");
        EXPECT_TRUE(form.WholeWordsCheck()->isChecked());
        return int(QDialog::Rejected);
    };
    m_find->Execute();
}

TEST_F(FindInFilesTest, DialogOffersTheFilterMaskGroupsAndCleansTheDirectory)
{
    m_manager->SetFileTypeFilter("Pascal|*.pas;*.pp|C|*.c;*.h|All files|*");
    TTempDir dir;
    Open(dir.Write("a.txt", "text"));
    m_find->OnExecDialog = [&](TFindInFilesForm& form) {
        QStringList items;
        for (int i = 0; i < form.FileMasksCombo()->count(); ++i) {
            items << form.FileMasksCombo()->itemText(i);
        }
        EXPECT_TRUE(items.contains("*.pas;*.pp"));
        EXPECT_TRUE(items.contains("*.c;*.h"));
        return int(QDialog::Rejected);
    };
    m_find->Execute();
    EXPECT_EQ(TFindInFilesForm::CleanDirectoryText("\"/tmp//a\""), "/tmp/a/");
    EXPECT_EQ(TFindInFilesForm::CleanDirectoryText("/tmp/a/"), "/tmp/a/");
}

TEST_F(FindInFilesTest, DoubleClickLandsOnTheMatchInAnOpenedDocument)
{
    TTempDir dir;
    dir.Write("a.txt", "one\n\tneedle two\n");
    ASSERT_TRUE(m_find->Run(InDirectory(dir.Path(), "needle")));
    ASSERT_EQ(Page().List().Count(), 1u);
    EXPECT_TRUE(m_manager->Forms().empty());

    DoubleClick(0);
    TChildForm* form = m_manager->ActiveForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->FileName(), dir.Path() / "a.txt");
    EXPECT_EQ(Caret(form), (TTextPoint{9, 1})); // the tab reaches the first stop, column 9

    // A second double-click uses the open document instead of opening another.
    DoubleClick(0);
    EXPECT_EQ(m_manager->Forms().size(), 1u);
}

TEST_F(FindInFilesTest, OpenDocumentsAreSearchedOnceEachInTheirUnsavedText)
{
    TTempDir dir;
    TChildForm* first = Open(dir.Write("a.c", "saved text\n"));
    first->MemoSource().Lines().SetText("unsaved needle\n");
    Open(dir.Write("b.c", "needle in b\n"));
    dir.Write("c.c", "needle on disk\n");
    const std::string root = dir.Path().string();

    TFindInFilesRequest request;
    request.text = "needle";
    request.where = swOpenFiles;
    ASSERT_TRUE(m_find->Run(request));
    EXPECT_EQ(Lines(),
        (std::vector<std::string>{
            root + "/a.c(1:9): unsaved [(+b)]needle[(-b)]", root + "/b.c(1:1): [(+b)]needle[(-b)] in b"}));

    // A project with both open files among its members (one spelled another
    // way), a file differing only by case and a closed member.
    dir.Write("A.c", "NEEDLE upper\n");
    m_find->SetProjectMembers([&]() -> std::optional<std::vector<std::string>> {
        return std::vector<std::string>{root + "/./a.c", root + "/A.c", root + "/c.c", root + "/b.c"};
    });
    request.where = swProjectFiles;
    ASSERT_TRUE(m_find->Run(request));
    EXPECT_EQ(Lines(),
        (std::vector<std::string>{root + "/a.c(1:9): unsaved [(+b)]needle[(-b)]",
            root + "/b.c(1:1): [(+b)]needle[(-b)] in b",
            root + "/A.c(1:1): [(+b)]NEEDLE[(-b)] upper",
            root + "/c.c(1:1): [(+b)]needle[(-b)] on disk"}));
}

TEST_F(FindInFilesTest, CopyCommandsLeaveTheBoldMarkersOut)
{
    TTempDir dir;
    dir.Write("u.pas", "if a = b then\nb\n");
    ASSERT_TRUE(m_find->Run(InDirectory(dir.Path(), "b")));
    const std::string root = dir.Path().string();
    emit m_results->ContextMenu()->aboutToShow();
    for (QAction* action : m_results->ContextMenu()->actions()) {
        EXPECT_TRUE(action->isSeparator() || action->isEnabled()) << action->text().toStdString();
    }

    Page().setCurrentIndex(Page().model()->index(0, 0));
    m_results->CopySelectedLineToClipboard();
    EXPECT_EQ(m_clipboard.GetText(), root + "/u.pas(1:8): if a = b then");
    m_results->CopyContentToClipboard();
    EXPECT_EQ(m_clipboard.GetText(), root + "/u.pas(1:8): if a = b then\r\n" + root + "/u.pas(2:1): b");
    m_results->CopyContentIntoNewDocument();
    ASSERT_NE(m_manager->ActiveForm(), nullptr);
    EXPECT_EQ(m_manager->ActiveForm()->MemoSource().GetRawLine(1), root + "/u.pas(2:1): b");

    m_results->ClearVisiblePage();
    EXPECT_TRUE(Page().List().IsEmpty());
    emit m_results->ContextMenu()->aboutToShow();
    for (QAction* action : m_results->ContextMenu()->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->isEnabled()) << action->text().toStdString();
    }
}

TEST_F(FindInFilesTest, DoubleClickAfterTheDocumentClosedOrTheFileShrankLandsSafely)
{
    TTempDir dir;
    const fs::path file = dir.Write("a.txt", "1\n2\n3\n4 needle\n");
    TChildForm* form = Open(file);
    TFindInFilesRequest request;
    request.text = "needle";
    request.where = swOpenFiles;
    ASSERT_TRUE(m_find->Run(request));
    ASSERT_EQ(Page().List().Count(), 1u);

    form->close(); // the record's document is gone: the file is opened again
    QApplication::processEvents();
    ASSERT_TRUE(m_manager->Forms().empty());
    DoubleClick(0);
    ASSERT_NE(m_manager->ActiveForm(), nullptr);
    EXPECT_EQ(Caret(m_manager->ActiveForm()), (TTextPoint{2, 3}));

    m_manager->ActiveForm()->close();
    QApplication::processEvents();
    dir.Write("a.txt", "1\n"); // shrank since the search
    DoubleClick(0);
    ASSERT_NE(m_manager->ActiveForm(), nullptr);
    EXPECT_EQ(Caret(m_manager->ActiveForm()), (TTextPoint{1, 0}));
}

TEST_F(FindInFilesTest, CancelKeepsTheLinesFoundAndASecondStartIsRefused)
{
    TTempDir dir;
    std::string lines;
    for (int i = 0; i < 2000; ++i) {
        lines += "needle " + std::to_string(i) + "\n";
    }
    for (int f = 0; f < 150; ++f) {
        dir.Write("f" + std::to_string(f) + ".txt", lines);
    }
    int batches = 0;
    bool secondStart = true;
    m_find->OnBatch = [&] {
        if (++batches == 1) {
            secondStart = m_find->Run(InDirectory(dir.Path(), "needle"));
            ASSERT_NE(m_find->Progress(), nullptr);
            QTest::mouseClick(m_find->Progress()->CancelButton(), Qt::LeftButton);
        }
    };
    m_main->UpdateCommands();
    ASSERT_TRUE(m_find->Run(InDirectory(dir.Path(), "needle")));
    EXPECT_FALSE(secondStart);
    EXPECT_FALSE(m_find->IsRunning());
    EXPECT_EQ(m_find->Progress(), nullptr);
    const std::size_t kept = Page().List().Count();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 300000u); // far more than one batch, whatever the speed of the machine
    EXPECT_EQ(Page().List().Line(0), dir.Path().string() + "/f0.txt(1:1): [(+b)]needle[(-b)] 0");
}

TEST_F(FindInFilesTest, InvalidPatternGivesOneMessageAndSearchesNothing)
{
    TTempDir dir;
    dir.Write("a.txt", "+a\n");
    Page().Model().Append("old line");
    TFindInFilesRequest request = InDirectory(dir.Path(), "+a");
    request.regularExpr = true;
    EXPECT_FALSE(m_find->Run(request));
    ASSERT_EQ(m_patternErrors.size(), 1u);
    EXPECT_EQ(m_patternErrors[0], "+a is invalid mask at (1)");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"old line"})); // not even cleared
}

TEST_F(FindInFilesTest, ResultWindowCommandTogglesThePanel)
{
    QAction* toggle = m_main->CommandActions().Action("ViewResultWindow");
    ASSERT_NE(toggle, nullptr);
    m_main->UpdateCommands();
    EXPECT_FALSE(m_results->isVisible()); // hidden at start
    toggle->trigger();
    m_main->UpdateCommands();
    EXPECT_TRUE(m_results->isVisible());
    EXPECT_TRUE(toggle->isChecked());
    toggle->trigger();
    m_main->UpdateCommands();
    EXPECT_FALSE(toggle->isChecked());
}

} // namespace
} // namespace quillet

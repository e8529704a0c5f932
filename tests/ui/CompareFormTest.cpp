#include "compare/ui/CompareForm.h"

#include "compare/ui/CompareOptionsForm.h"
#include "compare/ui/CompareOverview.h"
#include "compare/ui/CompareProgressForm.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "support/BoxAnswerer.h"
#include "support/BufferText.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace quillet {
namespace {

using test::TBoxAnswerer;

constexpr int kAdded = kAddedLinesStyle;
constexpr int kDeleted = kDeletedLinesStyle;
constexpr int kModified = kModifiedLinesStyle;

class CompareFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLang("");
        SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
        m_context.Documents = [this] {
            std::vector<TChildForm*> forms;
            for (const auto& form : m_documents) {
                if (form) {
                    forms.push_back(form.get());
                }
            }
            return forms;
        };
        m_context.ActiveDocument = [] {
            return nullptr;
        };
        m_context.ChooseFile = [this](QWidget*, const std::string&) -> std::optional<TCompareFile> {
            if (m_files.empty()) {
                return std::nullopt;
            }
            TCompareFile file{m_files.front(), 0};
            m_files.erase(m_files.begin());
            return file;
        };
        m_context.NewDocument = [this](int codePage) {
            auto form = std::make_unique<TChildForm>();
            form->SetCodePage(codePage, QStringLiteral(" test"));
            m_documents.push_back(std::move(form));
            return m_documents.back().get();
        };
    }
    void TearDown() override
    {
        if (TCompareForm* form = TCompareForm::Instance()) {
            for (int side = 0; side < 2; ++side) {
                form->View(side).MemoSource().SetModified(false);
            }
            delete form;
        }
        for (auto& form : m_documents) {
            if (form) {
                form->MemoSource().SetModified(false);
            }
        }
        TCompareForm::SetMaxLines(TDiff::kMaxLines);
    }

    TChildForm& Document(std::string_view text, const QString& caption)
    {
        auto form = std::make_unique<TChildForm>();
        form->SetUntitledCaption(caption);
        form->MemoSource().LoadFromText(text, false);
        form->MemoSource().SetModified(false);
        m_documents.push_back(std::move(form));
        return *m_documents.back();
    }

    // Runs "Differences..." with the options dialog driven by `choose`,
    // which picks the sides; files chosen with "..." come from m_files.
    void Run(const std::function<void(TCompareOptionsForm&)>& choose)
    {
        QTimer::singleShot(0, [choose] {
            auto* dialog = qobject_cast<TCompareOptionsForm*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "the options dialog did not open";
            choose(*dialog);
            if (dialog->CompareButton()->isEnabled()) {
                dialog->CompareButton()->click();
            } else {
                dialog->reject();
            }
        });
        TCompareForm::SearchDifferences(m_context);
    }
    // Compares two files with the options.
    TCompareForm* CompareFiles(std::string_view left, std::string_view right, bool blanks = false, bool caseToo = false)
    {
        m_files = {m_dir.Write("left.c", left), m_dir.Write("right.c", right)};
        Run([&](TCompareOptionsForm& dialog) {
            dialog.ChooseFile(0);
            dialog.ChooseFile(1);
            dialog.IgnoreBlanksBox()->setChecked(blanks);
            dialog.IgnoreCaseBox()->setChecked(caseToo);
        });
        return TCompareForm::Instance();
    }

    static std::vector<std::string> RowTexts(TTarnMemo& view)
    {
        std::vector<std::string> rows;
        for (int i = 0; i < view.MemoSource().GetStrCount(); ++i) {
            rows.emplace_back(view.MemoSource().GetRawLine(i));
        }
        return rows;
    }
    static std::vector<int> Styles(TTarnMemo& view)
    {
        std::vector<int> styles;
        for (int i = 0; i < view.MemoSource().GetStrCount(); ++i) {
            styles.push_back(view.MemoSource().GetLineTextStyle(i));
        }
        return styles;
    }
    static std::vector<int> Numbers(TCompareForm& form, int side)
    {
        std::vector<int> numbers;
        for (int i = 0; i < form.View(side).MemoSource().GetStrCount(); ++i) {
            numbers.push_back(form.RowNumber(side, i));
        }
        return numbers;
    }

    test::TTempDir m_dir;
    TCompareContext m_context;
    std::vector<std::filesystem::path> m_files;
    std::vector<std::unique_ptr<TChildForm>> m_documents;
};

TEST_F(CompareFormTest, RowsStylesNumbersAndSummaryOfTwoFiles)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("int a;\nint b;\nint c;\nint d;\n", "int a;\nint X;\nint c;\nint e;\nint d;\n");
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_EQ(RowTexts(form->View(0)), (std::vector<std::string>{"int a;", "int b;", "int c;", "", "int d;"}));
    EXPECT_EQ(RowTexts(form->View(1)), (std::vector<std::string>{"int a;", "int X;", "int c;", "int e;", "int d;"}));
    EXPECT_EQ(Styles(form->View(0)), (std::vector<int>{0, kModified, 0, kAdded, 0}));
    EXPECT_EQ(Styles(form->View(1)), (std::vector<int>{0, kModified, 0, kAdded, 0}));
    // The filler row on the left has no number; the others count the lines.
    EXPECT_EQ(Numbers(*form, 0), (std::vector<int>{1, 2, 3, 0, 4}));
    EXPECT_EQ(Numbers(*form, 1), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(form->StatusPanel(6)->text(), QStringLiteral("Differences: 2 "));
    EXPECT_TRUE(form->View(0).MemoSource().GetImageBit(1, 2)); // "Modified Lines" image
    EXPECT_TRUE(form->View(1).MemoSource().GetImageBit(3, 0)); // "Added Lines" image
    EXPECT_TRUE(form->Overview()->isVisible());
}

TEST_F(CompareFormTest, SummaryNamesTheOptions)
{
    struct Case {
        bool blanks;
        bool caseToo;
        const char* summary;
    };
    const Case cases[] = {
        {false, true, "Differences: 1   (Case Ignored)"},
        {true, true, "Differences: 1   (Case Ignored, Blanks Ignored)"},
    };
    for (const Case& c : cases) {
        TBoxAnswerer boxes;
        TCompareForm* form = CompareFiles("A b\nkeep\n", "a B\nother\n", c.blanks, c.caseToo);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->StatusPanel(6)->text(), QString::fromLatin1(c.summary));
        delete form;
    }
}

TEST_F(CompareFormTest, WrongSidesAreRefusedWithTheirMessages)
{
    struct Case {
        const char* name;
        std::string left;
        const char* message;
    };
    const Case cases[] = {
        {"binary", std::string("text\x01more\n", 10), "It is binary file or not exists."},
        {"empty", "", "Could not compare with empty file."},
        {"identical", "same\n", "Compared files are identical."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBoxAnswerer boxes;
        EXPECT_EQ(CompareFiles(c.left, "same\n"), nullptr);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_TRUE(boxes.texts[0].contains(QString::fromLatin1(c.message))) << boxes.texts[0].toStdString();
    }
    // A file removed between choosing and comparing.
    TBoxAnswerer boxes;
    m_files = {m_dir.Write("gone.c", "x\n"), m_dir.Write("here.c", "y\n")};
    Run([&](TCompareOptionsForm& dialog) {
        dialog.ChooseFile(0);
        dialog.ChooseFile(1);
        std::filesystem::remove(m_dir.Path() / "gone.c");
    });
    EXPECT_EQ(TCompareForm::Instance(), nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("gone.c")));
}

TEST_F(CompareFormTest, BinaryTestReadsTheFirst500Bytes)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool binary;
    };
    const Case cases[] = {
        {"escape byte after the first 50 bytes", std::string(300, 'a') + "\x1b", true},
        {"control byte past the first 500 bytes", std::string(500, 'a') + "\x01", false},
        {"form feed", "page one\fpage two\n", false},
        {"NUL bytes", std::string("a\0b\n", 4), false},
        {"UTF-16 text with a byte-order mark", std::string("\xff\xfe\x10\x04\x0a\x00", 6), false},
        {"plain text", "int main();\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsMissingOrBinary(m_dir.Write("probe.bin", c.bytes)), c.binary);
    }
    EXPECT_TRUE(IsMissingOrBinary(m_dir.Path() / "missing.c"));
}

TEST_F(CompareFormTest, CrLfAgainstLfFilesAreEqual)
{
    TBoxAnswerer boxes;
    EXPECT_EQ(CompareFiles("a\r\nb\r\n", "a\nb\n"), nullptr);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], QStringLiteral("Compared files are identical."));
}

TEST_F(CompareFormTest, OptionsDialogGuardsItsSides)
{
    TChildForm& doc = Document("one\n", QStringLiteral("Untitled1*"));
    Document("two\n", QStringLiteral("Untitled2"));
    m_context.ActiveDocument = [&doc] {
        return &doc;
    };
    TCompareOptionsForm dialog(m_context);
    EXPECT_EQ(dialog.List(0)->currentIndex(), 1); // the active document
    EXPECT_EQ(dialog.List(0)->itemText(1), QStringLiteral("Untitled1"));
    EXPECT_EQ(dialog.List(1)->currentIndex(), 0); // "...other file"
    EXPECT_FALSE(dialog.FileButton(0)->isEnabled());
    EXPECT_TRUE(dialog.FileButton(1)->isEnabled());
    EXPECT_FALSE(dialog.CompareButton()->isEnabled()); // no file chosen yet
    dialog.List(1)->setCurrentIndex(1);
    EXPECT_FALSE(dialog.CompareButton()->isEnabled()); // a document against itself
    dialog.List(1)->setCurrentIndex(2);
    EXPECT_TRUE(dialog.CompareButton()->isEnabled());
}

TEST_F(CompareFormTest, NextAndPreviousWalkEveryBlock)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("a\nb\nc\nd\ne\nf\ng\n", "a\nB\nc\nd\nE1\nE2\nf\n");
    ASSERT_NE(form, nullptr);
    TTarnMemo& left = form->View(0);
    std::vector<int> visited;
    while (form->HasNextDifference()) {
        form->NextDifference();
        visited.push_back(left.MemoSource().GetCurLine());
    }
    // Blocks: b/B modified, e/E1 modified, E2 added, g deleted.
    EXPECT_EQ(visited, (std::vector<int>{1, 4, 5, 7}));
    EXPECT_EQ(form->View(1).MemoSource().GetCurLine(), 7); // the right view follows
    visited.clear();
    left.MemoSource().JumpTo(0, 5); // from the added row: the modified row above first
    while (form->HasPreviousDifference()) {
        form->PreviousDifference();
        visited.push_back(left.MemoSource().GetCurLine());
    }
    EXPECT_EQ(visited, (std::vector<int>{4, 1}));
    EXPECT_FALSE(form->Action("ComparePreviousDifference")->isEnabled());
}

TEST_F(CompareFormTest, CopyBlocksBothWaysAndMergeIntoTheSourceDocument)
{
    TBoxAnswerer boxes({QMessageBox::Yes});
    TChildForm& leftDoc = Document("keep\nold\ngone\nend\n", QStringLiteral("Untitled1"));
    TChildForm& rightDoc = Document("keep\nnew\nend\nadded\n", QStringLiteral("Untitled2"));
    Run([](TCompareOptionsForm& dialog) {
        dialog.List(0)->setCurrentIndex(1);
        dialog.List(1)->setCurrentIndex(2);
    });
    TCompareForm* form = TCompareForm::Instance();
    ASSERT_NE(form, nullptr);
    // Rows: keep | old~new | gone-filler | end | filler+added.
    EXPECT_EQ(Styles(form->View(0)), (std::vector<int>{0, kModified, kDeleted, 0, kAdded}));
    TTarnMemo& left = form->View(0);
    left.setFocus();
    // The deleted block copied to the left empties the left row: "gone" goes.
    left.MemoSource().JumpTo(0, 2);
    ASSERT_TRUE(form->CanCopyBlock(0));
    form->CopyBlock(0);
    // The modified block copied to the left takes "new".
    left.MemoSource().JumpTo(0, 1);
    form->CopyBlock(0);
    // The added block copied to the right replaces nothing on the right.
    left.MemoSource().JumpTo(0, 4);
    form->CopyBlock(1);
    EXPECT_EQ(RowTexts(form->View(1))[4], "");
    EXPECT_EQ(form->MergedLines(1), (std::vector<std::string>{"keep", "new", "end"}));
    // The filler rows stand for no line: the merge adds no blank lines.
    EXPECT_EQ(form->MergedLines(0), (std::vector<std::string>{"keep", "new", "end"}));
    ASSERT_TRUE(form->Action("CompareUseLeft")->isEnabled());
    form->Action("CompareUseLeft")->trigger();
    EXPECT_EQ(TCompareForm::Instance(), nullptr);
    EXPECT_EQ(test::JoinedLines(leftDoc.MemoSource()), "keep\nnew\nend");
    EXPECT_TRUE(leftDoc.MemoSource().Modified());
    // The merged view was marked unmodified; only the edited right one asks.
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(
        boxes.texts[0], QStringLiteral("Compared document \"Untitled2\" was changed. Continue and lose changes?"));
    EXPECT_EQ(test::JoinedLines(rightDoc.MemoSource()), "keep\nnew\nend\nadded");
}

TEST_F(CompareFormTest, MergedSideAsNewDocumentKeepsTypedFillers)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("a\nc\n", "a\nb\nc\n");
    ASSERT_NE(form, nullptr);
    TMemoSource& left = form->View(0).MemoSource();
    left.JumpTo(0, 1); // the filler row opposite "b"
    left.TypeText("typed");
    form->UseMergedAsNew(0);
    EXPECT_EQ(TCompareForm::Instance(), nullptr);
    ASSERT_EQ(m_documents.size(), 1u);
    EXPECT_EQ(test::JoinedLines(m_documents[0]->MemoSource()), "a\ntyped\nc");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(CompareFormTest, DifferencesOnlyNumbersRowsByTheirLines)
{
    TBoxAnswerer boxes;
    TChildForm& doc = Document("a\nb\nc\nd\n", QStringLiteral("Untitled1"));
    Document("a\nX\nc\nd\n", QStringLiteral("Untitled2"));
    Run([](TCompareOptionsForm& dialog) {
        dialog.List(0)->setCurrentIndex(1);
        dialog.List(1)->setCurrentIndex(2);
    });
    TCompareForm* form = TCompareForm::Instance();
    ASSERT_NE(form, nullptr);
    form->ToggleDifferencesOnly();
    EXPECT_TRUE(form->Action("CompareDifferencesOnly")->isChecked());
    EXPECT_EQ(RowTexts(form->View(0)), (std::vector<std::string>{"b"}));
    EXPECT_EQ(RowTexts(form->View(1)), (std::vector<std::string>{"X"}));
    EXPECT_EQ(Numbers(*form, 0), (std::vector<int>{2}));
    EXPECT_EQ(Numbers(*form, 1), (std::vector<int>{2}));
    // The views hold the differences alone: they cannot replace a document.
    EXPECT_FALSE(form->Action("CompareUseLeft")->isEnabled());
    form->UseMerged(0);
    EXPECT_EQ(test::JoinedLines(doc.MemoSource()), "a\nb\nc\nd");
    EXPECT_FALSE(form->Action("CompareCopyBlockRight")->isEnabled());
}

TEST_F(CompareFormTest, CompareChangedQuestionGuardsEditedViews)
{
    TBoxAnswerer boxes({QMessageBox::No, QMessageBox::Yes});
    TCompareForm* form = CompareFiles("a\nb\n", "a\nc\n");
    ASSERT_NE(form, nullptr);
    form->View(0).MemoSource().JumpTo(0, 0);
    form->View(0).MemoSource().TypeText("z");
    form->ToggleDifferencesOnly(); // No: nothing changes
    EXPECT_FALSE(form->DifferencesOnly());
    EXPECT_EQ(RowTexts(form->View(0))[0], "za");
    form->ToggleDifferencesOnly(); // Yes: rebuilt from the loaded lines
    EXPECT_TRUE(form->DifferencesOnly());
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[0],
        QStringLiteral("Compared document \"%1\" was changed. Continue and lose changes?")
            .arg(QString::fromStdString((m_dir.Path() / "left.c").string())));
    EXPECT_EQ(RowTexts(form->View(0)), (std::vector<std::string>{"b"}));
}

TEST_F(CompareFormTest, ClosedOrEditedSourceIsNotOverwritten)
{
    TBoxAnswerer boxes({QMessageBox::No});
    TChildForm& leftDoc = Document("a\nb\n", QStringLiteral("Untitled1"));
    Document("a\nc\n", QStringLiteral("Untitled2"));
    Run([](TCompareOptionsForm& dialog) {
        dialog.List(0)->setCurrentIndex(1);
        dialog.List(1)->setCurrentIndex(2);
    });
    TCompareForm* form = TCompareForm::Instance();
    ASSERT_NE(form, nullptr);
    // Edited after the comparison: the merge asks, and No leaves it alone.
    leftDoc.MemoSource().JumpTo(0, 0);
    leftDoc.MemoSource().TypeText("mine ");
    form->UseMerged(0);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("was changed after it was compared")));
    EXPECT_EQ(test::JoinedLines(leftDoc.MemoSource()), "mine a\nb");
    EXPECT_EQ(TCompareForm::Instance(), form);
    // Closed: the merge back is disabled and does nothing.
    leftDoc.MemoSource().SetModified(false);
    m_documents[0].reset();
    form->UpdateCommands();
    EXPECT_FALSE(form->Action("CompareUseLeft")->isEnabled());
    form->UseMerged(0);
    EXPECT_TRUE(form->Action("CompareUseRight")->isEnabled());
}

TEST_F(CompareFormTest, CancelledOrFailedComparisonNeverClaimsEqualFiles)
{
    // A shuffled copy keeps the engine busy long enough to cancel it.
    std::string left;
    for (int i = 0; i < 20000; ++i) {
        left += "line " + std::to_string(i) + "\n";
    }
    std::vector<std::string> lines;
    for (int i = 0; i < 20000; ++i) {
        lines.push_back("line " + std::to_string(i));
    }
    std::shuffle(lines.begin(), lines.end(), std::mt19937(3));
    std::string right;
    for (const std::string& line : lines) {
        right += line + "\n";
    }
    {
        TBoxAnswerer boxes;
        bool cancelled = false;
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [&] {
            auto* progress = qobject_cast<TCompareProgressForm*>(QApplication::activeModalWidget());
            if (progress != nullptr && !cancelled) {
                cancelled = true;
                progress->CancelButton()->click();
            }
        });
        cancel.start(20);
        EXPECT_EQ(CompareFiles(left, right), nullptr);
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front().toStdString();
    }
    {
        TBoxAnswerer boxes;
        TCompareForm::SetMaxLines(1);
        EXPECT_EQ(CompareFiles("a\nb\n", "a\nc\n"), nullptr);
        ASSERT_EQ(boxes.texts.size(), 1u);
        EXPECT_FALSE(boxes.texts[0].contains(QStringLiteral("identical")));
        EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("could not be compared")));
    }
}

TEST_F(CompareFormTest, OneWindowAtATimeAndRotation)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("a\n", "b\n");
    ASSERT_NE(form, nullptr);
    // A second "Differences..." opens no dialog while the window is shown.
    TCompareForm::SearchDifferences(m_context);
    EXPECT_EQ(TCompareForm::Instance(), form);
    EXPECT_FALSE(form->IsRotated());
    form->RotateView();
    EXPECT_TRUE(form->IsRotated());
    EXPECT_EQ(TCompareOverview::BitmapY(3'000'000, 4'000'000, 1080), 810); // 64-bit product
}

TEST_F(CompareFormTest, LanguageChangeTranslatesMenusHintsAndSummary)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("a\n", "b\n", false, true);
    ASSERT_NE(form, nullptr);
    auto* merge = form->findChild<QMenu*>(QStringLiteral("MenuMerge"));
    ASSERT_NE(merge, nullptr);
    QAction* next = form->Action("CompareNextDifference");
    Translator().SetLanguageFolders({std::filesystem::path(QUILLET_SOURCE_DIR) / "Languages"});
    ResetLang("Deutsch.lng");
    form->Retranslate();
    EXPECT_EQ(merge->title(), QString::fromUtf8("&Zusammenf\xC3\xBChren"));
    EXPECT_EQ(next->text(),
        QString::fromUtf8("&N\xC3\xA4"
                          "chster Unterschied"));
    EXPECT_EQ(next->statusTip(), QStringLiteral("Zum n\u00e4chsten Unterschied gehen"));
    EXPECT_EQ(form->StatusPanel(6)->text(), QStringLiteral("Unterschiede: 1   (Gro\u00df-/Kleinschreibung ignoriert)"));
    ResetLang("");
    form->Retranslate();
    Translator().SetLanguageFolders({});
    EXPECT_EQ(merge->title(), QStringLiteral("&Merge"));
    EXPECT_EQ(next->statusTip(), QStringLiteral("Go to next diffrence"));
    EXPECT_EQ(form->StatusPanel(6)->text(), QStringLiteral("Differences: 1   (Case Ignored)"));
}

TEST_F(CompareFormTest, MenuItemHintShowsInTheStatusBar)
{
    TBoxAnswerer boxes;
    TCompareForm* form = CompareFiles("a\n", "b\n");
    ASSERT_NE(form, nullptr);
    auto* view = form->findChild<QMenu*>(QStringLiteral("MenuView"));
    ASSERT_NE(view, nullptr);
    QAction* rotate = form->Action("CompareRotateView");
    view->popup(form->mapToGlobal(QPoint(20, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
    QTest::mouseMove(view, view->actionGeometry(rotate).center());
    QTRY_COMPARE(
        form->statusBar()->currentMessage(), QStringLiteral("Rotate View between horizontally and vertically split"));
    // The hint covers the panels, as the main window's does.
    EXPECT_FALSE(form->StatusPanel(6)->isVisible());
    view->close();
    form->statusBar()->clearMessage();
    EXPECT_TRUE(form->StatusPanel(6)->isVisible());
}

TEST(CompareOverview, RowsFillTheirShareOfTheStrip)
{
    TCompareOverview strip;
    strip.SetRows({QColor(), QColor(Qt::red), QColor()});
    const QImage& bitmap = strip.Bitmap();
    const int third = bitmap.height() / 3;
    EXPECT_EQ(bitmap.pixelColor(5, third + 1), QColor(Qt::red));
    EXPECT_EQ(bitmap.pixelColor(5, 2 * third - 2), QColor(Qt::red));
    EXPECT_NE(bitmap.pixelColor(5, third / 2), QColor(Qt::red));
    EXPECT_NE(bitmap.pixelColor(5, 2 * third + third / 2), QColor(Qt::red));
}

} // namespace
} // namespace quillet

// Drives the text document window: caption, split views in step, folding,
// bookmarks, brackets, the close question and outside changes.
#include "text/ui/ChildForm.h"

#include "app/ui/ChildDocumentWindow.h"
#include "support/TempDir.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QSplitter>
#include <QTest>

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace quillet {
namespace {

class ChildFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = new TChildForm();
        m_form->resize(500, 600);
        m_form->SetUntitledCaption(QStringLiteral("Untitled1"));
        m_form->show();
        m_form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_form));
        m_form->Memo().setFocus();
        m_form->Memo().MakeActive();
    }
    void TearDown() override
    {
        m_form->MemoSource().SetModified(false);
        delete m_form;
    }
    TMemoSource& Source() { return m_form->MemoSource(); }
    void Load(std::string_view text) { Source().LoadFromText(text); }
    static std::string Lines(int count, int width = 10)
    {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += "line " + std::to_string(i) + std::string(static_cast<std::size_t>(width), '.') + "\n";
        }
        return text;
    }

    TChildForm* m_form = nullptr;
};

TEST_F(ChildFormTest, CaptionAndStatusFollowTheModifiedState)
{
    Load("abc\n");
    Source().SetModified(false);
    std::vector<QString> captions;
    QObject::connect(m_form, &TChildForm::CaptionChanged, [&](const QString& c, const QString&) {
        captions.push_back(c);
    });
    QTest::keyClicks(&m_form->Memo(), "x");
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Untitled1*"));
    EXPECT_EQ(m_form->Status().state, QStringLiteral("Modified"));
    EXPECT_EQ(m_form->Status().position, QStringLiteral("1: 2"));
    EXPECT_EQ(m_form->Status().mode, QStringLiteral("Insert"));
    QTest::keyClick(&m_form->Memo(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(m_form->windowTitle(), QStringLiteral("Untitled1"));
    EXPECT_TRUE(m_form->Status().state.isEmpty());
    ASSERT_EQ(captions.size(), 2u);

    Source().SetReadOnly(true);
    EXPECT_EQ(m_form->Status().state, QStringLiteral("Read Only"));
}

TEST_F(ChildFormTest, SplitViewsScrollInStep)
{
    Load(Lines(500));
    m_form->ToggleSplit();
    ASSERT_TRUE(m_form->IsSplit());
    EXPECT_TRUE(m_form->Memo1().hasFocus());
    m_form->ToggleSynchronizedScrolling();
    ASSERT_TRUE(m_form->SynchronizedScrolling());

    m_form->Memo().ScrollRows(3);
    EXPECT_EQ(m_form->Memo().TopLine(), 3);
    EXPECT_EQ(m_form->Memo1().TopLine(), 3);

    // A caret move by keyboard in one view scrolls the other by as many rows.
    TTarnMemo& upper = m_form->Memo1();
    upper.setFocus();
    upper.MakeActive();
    const int before = m_form->Memo().TopLine();
    const int page = upper.PageRows();
    QTest::keyClick(&upper, Qt::Key_PageDown);
    const int scrolled = upper.TopLine() - 3;
    EXPECT_GT(scrolled, 0);
    EXPECT_LE(scrolled, page);
    EXPECT_EQ(m_form->Memo().TopLine(), before + scrolled);

    // Without synchronising they scroll alone.
    m_form->ToggleSynchronizedScrolling();
    m_form->Memo().ScrollRows(5);
    EXPECT_EQ(upper.TopLine(), 3 + scrolled);

    m_form->ToggleSplit();
    EXPECT_FALSE(m_form->IsSplit());
    EXPECT_TRUE(m_form->Memo().hasFocus());
}

TEST_F(ChildFormTest, RotateAndCloseSplitWhenAViewGetsTooSmall)
{
    Load(Lines(50));
    m_form->ToggleSplit();
    auto* splitter = m_form->findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    EXPECT_EQ(splitter->orientation(), Qt::Vertical);
    m_form->RotateView();
    EXPECT_EQ(splitter->orientation(), Qt::Horizontal);
    m_form->RotateView();
    EXPECT_EQ(splitter->orientation(), Qt::Vertical);

    // Drag the handle until the upper view is under 20 pixels.
    QSplitterHandle* handle = splitter->handle(1);
    ASSERT_NE(handle, nullptr);
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 1));
    QTest::mouseMove(handle, QPoint(5, -m_form->Memo1().height() + 5));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(5, -m_form->Memo1().height() + 5));
    EXPECT_FALSE(m_form->IsSplit());
}

TEST_F(ChildFormTest, CollapseAndExpandAll)
{
    Load(Lines(20));
    Source().SetSelection(TSelKind::selStream, 0, 5, 3, 9);
    ASSERT_TRUE(m_form->CanCollapse());
    m_form->CollapseLines();
    EXPECT_TRUE(m_form->CanExpandAll());
    EXPECT_TRUE(Source().GetRealLineVisible(5));
    EXPECT_EQ(Source().GetCollapseState(5), 0);
    for (int i = 6; i <= 9; ++i) {
        EXPECT_FALSE(Source().GetRealLineVisible(i)) << i;
    }
    EXPECT_TRUE(Source().GetRealLineVisible(10));
    // The view skips the hidden lines: line 10 is painted right under line 5.
    const int lh = m_form->Memo().LineHeight();
    EXPECT_EQ(m_form->Memo().TextToPixelPoint({0, 10})->y() - m_form->Memo().TextToPixelPoint({0, 5})->y(), lh);

    // Down from the fold header steps over the hidden lines.
    Source().JumpTo(0, 5);
    m_form->Memo().MakeActive();
    QTest::keyClick(&m_form->Memo(), Qt::Key_Down);
    EXPECT_EQ(Source().GetCurLine(), 10);
    QTest::keyClick(&m_form->Memo(), Qt::Key_Up);
    EXPECT_EQ(Source().GetCurLine(), 5);

    m_form->ExpandAll();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(Source().GetRealLineVisible(i)) << i;
        EXPECT_EQ(Source().GetCollapseState(i), 2) << i;
    }
    EXPECT_FALSE(HasOption(m_form->Memo().Options(), moHideInvisibleLines));
}

TEST_F(ChildFormTest, BookmarkSlotsAndMenuCaptions)
{
    Load(Lines(15) + "  " + std::string(30, 'a') + " & " + std::string(30, 'b') + "  \n");
    for (int line = 0; line < 10; ++line) {
        Source().JumpTo(0, line);
        m_form->ToggleBookmark();
    }
    for (int slot = 1; slot <= 10; ++slot) {
        EXPECT_TRUE(m_form->BookmarkSlotUsed(slot)) << slot;
    }
    TTextPoint p;
    ASSERT_TRUE(Source().FindBookMark(10, p)); // the tenth toggle used bookmark 0
    EXPECT_EQ(p.line, 9);
    // An eleventh line gets nothing.
    Source().JumpTo(0, 12);
    m_form->ToggleBookmark();
    EXPECT_EQ(Source().GetBookmarkFromRange(12, 12), 0);
    // Toggling on a bookmarked line frees its slot.
    Source().JumpTo(0, 3);
    m_form->ToggleBookmark();
    EXPECT_FALSE(m_form->BookmarkSlotUsed(4));

    // A long line: 50 characters, "&" doubled, then " ...".
    Source().JumpTo(0, 15);
    m_form->ToggleBookmark();
    const QString caption = m_form->BookmarkCaption(4);
    const QString expected = QStringLiteral("&4  ") + QString(30, QLatin1Char('a')) + QStringLiteral(" && ")
        + QString(17, QLatin1Char('b')) + QStringLiteral(" ...");
    EXPECT_EQ(caption, expected);

    m_form->ClearAllBookmarks();
    EXPECT_FALSE(m_form->AnyBookmarkUsed());
    EXPECT_TRUE(Source().Bookmarks().empty());
}

TEST_F(ChildFormTest, NumberedBookmarkToggleAndJump)
{
    Load(Lines(300));
    Source().JumpTo(0, 250);
    m_form->ToggleNumberedBookmark(3);
    EXPECT_TRUE(m_form->BookmarkSlotUsed(3));
    Source().JumpTo(0, 0);
    m_form->Memo().SetTopLine(0);
    m_form->GoToBookmark(3);
    EXPECT_EQ(Source().GetCurLine(), 250);
    // The line is centred.
    const int top = m_form->Memo().TopLine();
    EXPECT_NEAR(250 - top, m_form->Memo().PageRows() / 2, 1);
    m_form->ToggleNumberedBookmark(3);
    EXPECT_FALSE(m_form->BookmarkSlotUsed(3));
}

TEST_F(ChildFormTest, BracketsAreMatchedAndPaintedRedAndBold)
{
    Load("call(a,\n  b,\n  c,\n  d)\n");
    Source().JumpTo(4, 0);
    m_form->HighlightBrackets(m_form->Memo());
    const auto pair = m_form->BracketPair(m_form->Memo());
    EXPECT_EQ(pair[0], (TTextPoint{4, 0}));
    EXPECT_EQ(pair[1], (TTextPoint{3, 3}));
    // The other view did not report: it has no pair.
    EXPECT_EQ(m_form->BracketPair(m_form->Memo1())[0], (TTextPoint{-1, -1}));
    // Painted red.
    QImage image(m_form->Memo().viewport()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    m_form->Memo().PaintArea(painter, image.rect());
    const QPoint at = *m_form->Memo().TextToPixelPoint({3, 3});
    bool red = false;
    for (int x = at.x(); x < at.x() + m_form->Memo().CharWidth() && !red; ++x) {
        for (int y = at.y(); y < at.y() + m_form->Memo().LineHeight() && !red; ++y) {
            const QColor c = image.pixelColor(x, y);
            red = c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    }
    EXPECT_TRUE(red);
    Source().JumpTo(0, 1);
    m_form->HighlightBrackets(m_form->Memo());
    EXPECT_EQ(m_form->BracketPair(m_form->Memo())[0], (TTextPoint{-1, -1}));
}

TEST_F(ChildFormTest, CloseQuestionHonoursTheAnswer)
{
    Load("text\n");
    QTest::keyClicks(&m_form->Memo(), "x");
    QString asked;
    int answer = QMessageBox::Cancel;
    m_form->OnQuestion = [&](const QString& text, bool) {
        asked = text;
        return answer;
    };
    m_form->setAttribute(Qt::WA_DeleteOnClose, false);
    EXPECT_FALSE(m_form->close());
    EXPECT_EQ(asked, QStringLiteral("Save changes to \"Untitled1\"?"));
    EXPECT_TRUE(Source().Modified());

    // Yes with a failing save keeps the window open.
    answer = QMessageBox::Yes;
    m_form->OnSave = [](TChildForm&) {
        return false;
    };
    EXPECT_FALSE(m_form->close());

    answer = QMessageBox::No;
    EXPECT_TRUE(m_form->close());
}

// The main window asks the text window itself when the program closes; a
// "No" there is not asked again by the close that follows, but a later close
// (the program's close was cancelled elsewhere) asks afresh.
TEST(ChildDocumentWindowTest, ProgramCloseAsksTheWindowOnce)
{
    auto* window = new TChildDocumentWindow();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->SetUntitledCaption(QStringLiteral("Untitled2"));
    window->MemoSource().LoadFromText("abc\n");
    window->MemoSource().SetModified(true);
    std::vector<QString> asked;
    int answer = QMessageBox::Cancel;
    window->OnQuestion = [&](const QString& text, bool withCancel) {
        EXPECT_TRUE(withCancel);
        asked.push_back(text);
        return answer;
    };
    IDocumentWindow* document = dynamic_cast<IDocumentWindow*>(static_cast<QMdiSubWindow*>(window));
    ASSERT_NE(document, nullptr);
    EXPECT_FALSE(document->CloseQuery());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("Save changes to \"Untitled2\"?"));

    answer = QMessageBox::No;
    EXPECT_TRUE(document->CloseQuery());
    EXPECT_TRUE(window->close());
    EXPECT_EQ(asked.size(), 2u);

    window->show();
    QApplication::processEvents();
    // The other order: the window closed first, then the main window asks.
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(document->CloseQuery());
    EXPECT_EQ(asked.size(), 3u);

    window->show();
    QApplication::processEvents();
    answer = QMessageBox::Cancel;
    EXPECT_FALSE(window->close());
    EXPECT_EQ(asked.size(), 4u);
    EXPECT_TRUE(window->MemoSource().Modified());
    window->MemoSource().SetModified(false);
    EXPECT_TRUE(document->CloseQuery());
    EXPECT_EQ(asked.size(), 4u); // unmodified: nothing to ask
    delete window;
}

TEST_F(ChildFormTest, BackupNamesMarkTheExtension)
{
    EXPECT_EQ(Source().GetBackupName("/tmp/a/unit.pas"), std::filesystem::path("/tmp/a/unit.~pas"));
    EXPECT_EQ(Source().GetBackupName("/tmp/a/Makefile"), std::filesystem::path("/tmp/a/Makefile.~"));
}

TEST_F(ChildFormTest, OutsideChangeAsksOnceAndReloads)
{
    test::TTempDir dir;
    const std::filesystem::path file = dir.Path() / "doc.txt";
    std::ofstream(file) << "one\n";
    m_form->SetFileName(file);
    int questions = 0;
    int reloads = 0;
    m_form->OnQuestion = [&](const QString& text, bool) {
        ++questions;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Another application has updated file \"")));
        return int(QMessageBox::Yes);
    };
    m_form->OnReload = [&](TChildForm&) {
        ++reloads;
        return true;
    };
    EXPECT_FALSE(m_form->CheckFileChanged()); // unchanged
    std::ofstream(file) << "two\n";
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(5));
    EXPECT_TRUE(m_form->CheckFileChanged());
    EXPECT_FALSE(m_form->CheckFileChanged()); // the new time was remembered
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(reloads, 1);
    std::filesystem::remove(file);
    EXPECT_FALSE(m_form->CheckFileChanged()); // a vanished file is left alone
}

TEST_F(ChildFormTest, BreakpointCommandTogglesTheCaretLine)
{
    Load("a\nb\nc\n");
    Source().JumpTo(0, 2);
    m_form->ToggleBreakpoint();
    EXPECT_EQ(Source().GetLineTextStyle(2), kStyleBreakPoint);
    EXPECT_TRUE(Source().GetImageBit(2, m_form->Memo().GutterImageIndex("BreakPoint")));
    m_form->ToggleBreakpoint();
    EXPECT_EQ(Source().GetLineTextStyle(2), 0);
}

} // namespace
} // namespace quillet

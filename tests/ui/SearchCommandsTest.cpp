// The Search commands against a real document window: dialogs filled with key
// clicks, then the buffer, the found text, the caret and the stored histories
// checked; the replace confirmation answers; the message boxes themselves.
#include "text/ui/SearchCommands.h"

#include "SearchCommandsFixture.h"
#include "text/ui/FindForm.h"
#include "text/ui/ReplaceForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace quillet {
namespace {

class SearchCommandsTest : public test::SearchUiTest {
protected:
    // Opens Find (or Replace) through its command and fills the dialog.
    void FindWithDialog(const std::string& text, bool fromCursor = false, bool wholeWords = false, bool regExpr = false)
    {
        WhenDialogOpens<TFindForm>([=](TFindForm& form) {
            Type(form.TextToFindCombo(), text);
            (fromCursor ? form.FromCursorRadio() : form.EntireScopeRadio())->setChecked(true);
            form.WholeWordsCheck()->setChecked(wholeWords);
            form.RegularExprCheck()->setChecked(regExpr);
            QTest::mouseClick(form.OkButton(), Qt::LeftButton);
        });
        SearchFindExecute(m_form.get());
    }
    void ReplaceWithDialog(
        const std::string& text, const std::string& with, bool all, bool prompt, bool regExpr = false)
    {
        WhenDialogOpens<TReplaceForm>([=](TReplaceForm& form) {
            Type(form.TextToFindCombo(), text);
            Type(form.ReplaceWithCombo(), with);
            form.EntireScopeRadio()->setChecked(true);
            form.PromptOnReplaceCheck()->setChecked(prompt);
            form.RegularExprCheck()->setChecked(regExpr);
            QTest::mouseClick(all ? form.ReplaceAllButton() : form.OkButton(), Qt::LeftButton);
        });
        SearchReplaceExecute(m_form.get());
    }
    static void Type(QComboBox* combo, const std::string& text)
    {
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(combo->lineEdit(), QString::fromStdString(text));
    }
    TTextRect Found() { return Source().FoundRect(); }
};

TEST_F(SearchCommandsTest, FindStartsAtTheCaretAndFindNextMovesOn)
{
    Load("xx ab ab\nab");
    Source().JumpTo(3, 0); // right before the first "ab"
    FindWithDialog("ab", true);
    EXPECT_EQ(Caret(), (TTextPoint{5, 0}));
    EXPECT_EQ(Found().left, 3);
    EXPECT_EQ(Found().right, 5);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy cursor is gone again

    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Caret(), (TTextPoint{8, 0}));
    EXPECT_TRUE(RunSearchViewCommand(m_form.get(), TMemoCommand::KeyFindNext)); // the view's own key
    EXPECT_EQ(Caret(), (TTextPoint{2, 1}));
    EXPECT_TRUE(m_prompt.infos.empty());

    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Caret(), (TTextPoint{2, 1}));
    ASSERT_EQ(m_prompt.infos.size(), 1u);
    EXPECT_EQ(m_prompt.infos[0], "Search string \"ab\" not found.");
    EXPECT_EQ(History(kSearchItemsKey), "ab\r\n");
}

TEST_F(SearchCommandsTest, FindPreviousSearchesBackwardsOnceAndKeepsTheDirection)
{
    Load("ab ab ab");
    FindWithDialog("ab");
    EXPECT_EQ(Caret().col, 2);
    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Caret().col, 5);
    SearchFindPreviousExecute(m_form.get());
    EXPECT_EQ(Caret().col, 3); // backwards the caret stops at the match start
    SearchFindPreviousExecute(m_form.get());
    EXPECT_EQ(Caret().col, 0);
    EXPECT_EQ(Options().Direction, sdForward);
    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Caret().col, 2);
}

TEST_F(SearchCommandsTest, MessagesShowTheSearchTextWithAmpersandsDoubled)
{
    Load("text");
    FindWithDialog("a&b");
    ASSERT_EQ(m_prompt.infos.size(), 1u);
    EXPECT_EQ(m_prompt.infos[0], "Search string \"a&&b\" not found.");
}

TEST_F(SearchCommandsTest, WholeWordsIsSwitchedOffForATextWithADelimiter)
{
    Load("xa.by");
    FindWithDialog("a.b", false, true);
    EXPECT_EQ(Found().left, 1); // found inside a word: the condition was dropped
    EXPECT_FALSE(Options().WholeWordsOnly);
    TFindForm next(Source(), Options());
    EXPECT_FALSE(next.WholeWordsCheck()->isChecked());
}

TEST_F(SearchCommandsTest, InvalidPatternIsReportedAndChangesNothing)
{
    Load("aaa");
    Source().JumpTo(1, 0);
    FindWithDialog("+a", false, false, true);
    ASSERT_EQ(m_prompt.infos.size(), 1u);
    EXPECT_EQ(m_prompt.infos[0], "+a is invalid mask at (1)");
    EXPECT_EQ(Caret(), (TTextPoint{1, 0}));

    ReplaceWithDialog("a{", "b", true, false, true);
    EXPECT_EQ(Text(), "aaa");
    EXPECT_FALSE(Source().Modified());
    EXPECT_EQ(m_prompt.infos.size(), 2u);
}

TEST_F(SearchCommandsTest, ReplaceAllIsOneUndoStep)
{
    Load("aaa\nxa");
    ReplaceWithDialog("a", "b", true, false);
    EXPECT_EQ(Text(), "bbb\nxb");
    EXPECT_EQ(History(kSearchItemsKey), "a\r\n");
    EXPECT_EQ(History(kReplaceItemsKey), "b\r\n");
    EXPECT_TRUE(m_prompt.infos.empty());
    Source().Undo();
    EXPECT_EQ(Text(), "aaa\nxa");
}

TEST_F(SearchCommandsTest, OkReplacesOnceAndFindNextRepeatsTheReplace)
{
    Load("a a a");
    ReplaceWithDialog("a", "", false, false); // an empty replacement deletes
    EXPECT_EQ(Text(), " a a");
    EXPECT_EQ(Caret().col, 0);
    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Text(), "  a");
    EXPECT_EQ(Caret().col, 1);
}

TEST_F(SearchCommandsTest, ConfirmationAnswersDecideEachOccurrence)
{
    using A = TReplaceAnswer;
    struct Case {
        const char* name;
        std::vector<A> answers;
        const char* text;
        std::size_t questions;
        const char* afterOneUndo;
    };
    const Case cases[] = {
        {"No three times then Cancel", {A::No, A::No, A::No, A::Cancel}, "a a a a", 4, nullptr},
        {"Yes and No in turn", {A::Yes, A::No, A::Yes, A::Cancel}, "b a b a", 4, nullptr},
        {"All replaces the rest as one step", {A::No, A::All}, "a b b b", 2, "a a a a"},
        {"Yes to each until none is left", {A::Yes, A::Yes, A::Yes, A::Yes}, "b b b b", 4, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("a a a a");
        Options() = TSearchOptions{};
        m_prompt = {};
        m_prompt.answers.assign(c.answers.begin(), c.answers.end());
        ReplaceWithDialog("a", "b", true, true);
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(m_prompt.questions.size(), c.questions);
        EXPECT_EQ(m_prompt.questions.front(), "Replace this occurence of \"a\"?");
        EXPECT_TRUE(m_prompt.infos.empty());
        if (c.afterOneUndo != nullptr) {
            Source().Undo();
            EXPECT_EQ(Text(), c.afterOneUndo);
        }
    }
}

TEST_F(SearchCommandsTest, FindNextWithoutASearchTextAsksForOne)
{
    Load("one two");
    WhenDialogOpens<TFindForm>([](TFindForm& form) {
        Type(form.TextToFindCombo(), "two");
        QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    });
    SearchFindNextExecute(m_form.get());
    EXPECT_EQ(Caret().col, 7);
    EXPECT_TRUE(m_prompt.infos.empty());
}

TEST_F(SearchCommandsTest, OppositeBracketJumpsBetweenThePair)
{
    Load("f(a[b]c)");
    Source().JumpTo(1, 0);
    SearchOppositeBracketExecute(m_form.get());
    EXPECT_EQ(Caret(), (TTextPoint{7, 0}));
    SearchOppositeBracketExecute(m_form.get());
    EXPECT_EQ(Caret(), (TTextPoint{1, 0}));
}

TEST_F(SearchCommandsTest, EveryCommandNeedsATextWindow)
{
    const char* names[] = {"SearchFind",
        "SearchReplace",
        "SearchFindNext",
        "SearchFindPrevious",
        "SearchGoToLine",
        "SearchOppositeBracket"};
    EXPECT_EQ(SearchCommands().size(), std::size(names));
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const TSearchCommand* command = FindSearchCommand(name);
        ASSERT_NE(command, nullptr);
        EXPECT_FALSE(command->enabled(nullptr));
        EXPECT_TRUE(command->enabled(m_form.get()));
        command->execute(nullptr); // no window: nothing happens
    }
    EXPECT_EQ(FindSearchCommand("SearchFindFiles"), nullptr);
    EXPECT_FALSE(RunSearchViewCommand(m_form.get(), TMemoCommand::PromptedGotoLine));
}

// The real boxes, clicked by the test.
class SearchPromptBoxTest : public ::testing::Test {
protected:
    // Clicks the button named `button` (or presses Escape for "") on the next
    // message box and records what it showed.
    void Answer(const char* button)
    {
        const std::string name = button;
        QTimer::singleShot(0, [this, name] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                ADD_FAILURE() << "no message box";
                return;
            }
            m_title = box->windowTitle();
            m_text = box->text();
            m_icon = box->icon();
            for (QAbstractButton* b : box->buttons()) {
                m_buttons << b->text();
            }
            if (name.empty()) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else if (auto* b = box->findChild<QPushButton*>(QString::fromStdString(name))) {
                b->click();
            } else {
                box->button(QMessageBox::Ok)->click();
            }
        });
    }
    QString m_title;
    QString m_text;
    QMessageBox::Icon m_icon = QMessageBox::NoIcon;
    QStringList m_buttons;
};

TEST_F(SearchPromptBoxTest, ReplaceConfirmationButtons)
{
    struct Case {
        const char* button;
        TReplaceAnswer answer;
    };
    const Case cases[] = {
        {"bYes", TReplaceAnswer::Yes},
        {"bNo", TReplaceAnswer::No},
        {"bCancel", TReplaceAnswer::Cancel},
        {"bAll", TReplaceAnswer::All},
        {"", TReplaceAnswer::Cancel}, // Escape
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        m_buttons.clear();
        Answer(c.button);
        const TReplaceAnswer answer =
            TSearchPrompt::AskReplaceBox(nullptr, QStringLiteral("Replace this?"), TSearchMessages{});
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(m_title, QStringLiteral("Quillet 4.1"));
        EXPECT_EQ(m_icon, QMessageBox::Question);
        EXPECT_EQ(m_buttons.size(), 4);
        for (const char* caption : {"&Yes", "&No", "Cancel", "&All"}) {
            EXPECT_TRUE(m_buttons.contains(QString::fromLatin1(caption))) << caption;
        }
    }
}

TEST_F(SearchPromptBoxTest, BoxesShowTheSearchTextAsTyped)
{
    // The search hands over its texts with "&" doubled; a message box shows
    // text as it is, so the box shows the search text as the user typed it.
    const TSearchMessages messages;
    TSearchPrompt prompt(nullptr);
    prompt.SetSearchText("a&b", messages);

    Answer("ok");
    prompt.ShowInfo(TMemoSearch::FormatMessage(messages.notFound, "a&b"));
    EXPECT_EQ(m_text, QStringLiteral("Search string \"a&b\" not found."));
    EXPECT_EQ(m_title, QStringLiteral("Quillet 4.1"));
    EXPECT_EQ(m_icon, QMessageBox::Information);

    Answer("bNo");
    EXPECT_EQ(prompt.AskReplace(TMemoSearch::FormatMessage(messages.askReplace, "a&b"), messages), TReplaceAnswer::No);
    EXPECT_EQ(m_text, QStringLiteral("Replace this occurence of \"a&b\"?"));

    // Other texts are shown unchanged.
    Answer("ok");
    prompt.ShowError("x&&y is invalid mask at (1)");
    EXPECT_EQ(m_text, QStringLiteral("x&&y is invalid mask at (1)"));
    EXPECT_EQ(m_icon, QMessageBox::Critical);
}

} // namespace
} // namespace quillet

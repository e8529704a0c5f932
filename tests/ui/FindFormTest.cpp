// The "Find Text" dialog on a real document: what it opens with (shared
// options, history, text at the caret), what OK stores, and the OK button
// following the text.
#include "text/ui/FindForm.h"

#include "SearchCommandsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace quillet {
namespace {

class FindFormTest : public test::SearchUiTest {
protected:
    std::unique_ptr<TFindForm> Open()
    {
        auto form = std::make_unique<TFindForm>(Source(), Options());
        form->show();
        return form;
    }
};

TEST_F(FindFormTest, OpensWithSharedOptionsButAlwaysGlobalScope)
{
    Load("alpha beta\n");
    Source().SetOptions(Source().Options() & ~soFindTextAtCursor);
    SetHistory(kSearchItemsKey, "second\r\nfirst\r\n");
    Options().CaseSensitive = true;
    Options().RegularExpr = true;
    Options().Direction = sdBackward;
    Options().Scope = ssSelectedText;
    Options().Origin = soFromCursor;

    auto form = Open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Find Text"));
    EXPECT_EQ(form->TextToFindCombo()->currentText(), QStringLiteral("second"));
    EXPECT_EQ(form->TextToFindCombo()->count(), 2);
    EXPECT_TRUE(form->CaseSensitiveCheck()->isChecked());
    EXPECT_FALSE(form->WholeWordsCheck()->isChecked());
    EXPECT_TRUE(form->RegularExprCheck()->isChecked());
    EXPECT_TRUE(form->BackwardRadio()->isChecked());
    EXPECT_TRUE(form->GlobalRadio()->isChecked());
    EXPECT_TRUE(form->FromCursorRadio()->isChecked());
    EXPECT_TRUE(form->OkButton()->isEnabled());
}

TEST_F(FindFormTest, InitialTextFromTheCaretOrTheHistory)
{
    struct Case {
        const char* name;
        bool atCursor;
        bool select; // select from (1, 0) to (3, 1)
        const char* expected;
    };
    const Case cases[] = {
        {"selection gives its first line", true, true, "ord one"},
        {"no selection gives the word at the caret", true, false, "word"},
        {"without the option the last search", false, false, "recent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("word one\ntwo lines\n");
        SetHistory(kSearchItemsKey, "recent\r\nolder\r\n");
        const TStringsOptions base = Source().Options() & ~soFindTextAtCursor;
        Source().SetOptions(c.atCursor ? (base | soFindTextAtCursor) : base);
        Source().JumpTo(1, 0);
        if (c.select) {
            Source().SetSelection(TSelKind::selStream, 1, 0, 3, 1);
        }
        auto form = Open();
        EXPECT_EQ(form->TextToFindCombo()->currentText().toStdString(), c.expected);
        // The text is selected, so typing replaces it.
        EXPECT_EQ(form->TextToFindCombo()->lineEdit()->selectedText().toStdString(), c.expected);
    }
}

TEST_F(FindFormTest, OkStoresTheOptionsAndMovesTheTextToTheTopOfTheHistory)
{
    Load("x\n");
    SetHistory(kSearchItemsKey, "two\r\none\r\n");
    auto form = Open();
    QLineEdit* edit = form->TextToFindCombo()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "ONE");
    QTest::mouseClick(form->WholeWordsCheck(), Qt::LeftButton);
    QTest::mouseClick(form->BackwardRadio(), Qt::LeftButton);
    QTest::mouseClick(form->SelectedTextRadio(), Qt::LeftButton);
    QTest::mouseClick(form->FromCursorRadio(), Qt::LeftButton);
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);

    EXPECT_EQ(form->result(), QDialog::Accepted);
    // "one" differs only in case: it is replaced by the new spelling.
    EXPECT_EQ(History(kSearchItemsKey), "ONE\r\ntwo\r\n");
    EXPECT_EQ(Options().TextToFind, "ONE");
    EXPECT_FALSE(Options().CaseSensitive);
    EXPECT_TRUE(Options().WholeWordsOnly);
    EXPECT_EQ(Options().Direction, sdBackward);
    EXPECT_EQ(Options().Scope, ssSelectedText);
    EXPECT_EQ(Options().Origin, soFromCursor);
    EXPECT_TRUE(Options().ShowNotFound);
}

TEST_F(FindFormTest, CancelChangesNothing)
{
    Load("x\n");
    SetHistory(kSearchItemsKey, "one\r\n");
    auto form = Open();
    QTest::keyClicks(form->TextToFindCombo()->lineEdit(), "zzz");
    QTest::mouseClick(form->CaseSensitiveCheck(), Qt::LeftButton);
    QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(History(kSearchItemsKey), "one\r\n");
    EXPECT_EQ(Options().TextToFind, "");
    EXPECT_FALSE(Options().CaseSensitive);
    EXPECT_FALSE(Options().ShowNotFound);
}

TEST_F(FindFormTest, OkNeedsAText)
{
    Load("\n");
    auto form = Open();
    QLineEdit* edit = form->TextToFindCombo()->lineEdit();
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_FALSE(form->OkButton()->isEnabled());
    QTest::keyClick(edit, Qt::Key_Return); // Enter on an empty field does not close
    EXPECT_TRUE(form->isVisible());
    QTest::keyClicks(edit, "a");
    EXPECT_TRUE(form->OkButton()->isEnabled());
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(form->OkButton()->isEnabled());
    QTest::keyClicks(edit, "b");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_EQ(Options().TextToFind, "b");
}

} // namespace
} // namespace quillet

// The "Go to Line" dialog and command: digits only, OK following the field,
// a number too large for an integer refused in place, and the caret clamped
// to the document's lines.
#include "text/ui/GotoForm.h"

#include "SearchCommandsFixture.h"
#include "text/ui/SearchCommands.h"
#include "text/ui/TarnMemo.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace quillet {
namespace {

using GotoFormTest = test::SearchUiTest;

TEST_F(GotoFormTest, TakesDigitsOnlyAndNeedsOne)
{
    TGotoForm form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Go to Line"));
    QLineEdit* edit = form.LineNumberEdit();
    EXPECT_FALSE(form.OkButton()->isEnabled());
    QTest::keyClicks(edit, "1a2-3 ");
    EXPECT_EQ(edit->text(), QStringLiteral("123"));
    EXPECT_TRUE(form.OkButton()->isEnabled());
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_FALSE(form.OkButton()->isEnabled());
}

TEST_F(GotoFormTest, ANumberBeyondAnIntegerIsRefusedAndTheDialogStays)
{
    TGotoForm form;
    form.show();
    QTest::keyClicks(form.LineNumberEdit(), "99999999999");
    QTest::mouseClick(form.OkButton(), Qt::LeftButton);
    ASSERT_EQ(m_prompt.errors.size(), 1u);
    EXPECT_EQ(m_prompt.errors[0], "\"99999999999\" is not a valid integer value.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.LineNumberEdit()->selectedText(), QStringLiteral("99999999999"));

    QTest::keyClicks(form.LineNumberEdit(), "42"); // replaces the selected entry
    QTest::keyClick(form.LineNumberEdit(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.LineNumber(), 42);
}

TEST_F(GotoFormTest, CommandPutsTheCaretAtTheLineStartWithinTheDocument)
{
    struct Case {
        const char* typed;
        int line;
    };
    const Case cases[] = {{"0", 0}, {"1", 0}, {"3", 2}, {"5", 4}, {"6", 4}, {"2147483647", 4}};
    Load("a\nbb\ncc\nddd\neeee");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Source().JumpTo(2, 1);
        const std::string typed = c.typed;
        WhenDialogOpens<TGotoForm>([typed](TGotoForm& form) {
            QTest::keyClicks(form.LineNumberEdit(), typed.c_str());
            QTest::mouseClick(form.OkButton(), Qt::LeftButton);
        });
        SearchGoToLineExecute(m_form.get());
        EXPECT_EQ(Caret().line, c.line);
        EXPECT_EQ(Caret().col, 0);
    }

    // Cancel leaves the caret where it was.
    Source().JumpTo(1, 3);
    WhenDialogOpens<TGotoForm>([](TGotoForm& form) {
        QTest::keyClicks(form.LineNumberEdit(), "1");
        QTest::mouseClick(form.CancelButton(), Qt::LeftButton);
    });
    SearchGoToLineExecute(m_form.get());
    EXPECT_EQ(Caret().line, 3);
    EXPECT_EQ(Caret().col, 1);
}

TEST_F(GotoFormTest, AnEmptyDocumentStaysAtItsStart)
{
    Load("");
    GoToLineNumber(m_form->Memo(), 10);
    EXPECT_EQ(Caret().line, 0);
    EXPECT_EQ(Caret().col, 0);
}

} // namespace
} // namespace quillet

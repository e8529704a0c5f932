// The to-do dialogs on a real document opened through the main window: marks,
// edits and deletes rewrite the text, each undone by one Undo; the project's
// list goes into its "ToDo" section.
#include "tools/ui/ToDoForm.h"

#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "support/TempDir.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "tools/ProjectToDo.h"
#include "tools/ui/ProjectToDoForm.h"
#include "tools/ui/ToDoItemForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace quillet {
namespace {

const char* const kText = "program p;\n"
                          "\tx := 1; { TODO 3 -olead -cCore : check overflow } // note\n"
                          "{ DONE : finished }\n"
                          "{ todo 1 : first\n"
                          "  second }  { TODO 5 -oann : same line }\n"
                          "end.\n";

class ToDoFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_documents = new TDocumentManager(m_main);
        m_main.SetDocumentOpener(m_documents);
        m_main.show();
        TOpenRequest request;
        request.fileName = m_dir.Write("p.pas", kText).string();
        ASSERT_TRUE(m_documents->CreateMDIChild(request));
        m_document = m_documents->ActiveForm();
    }
    TMemoSource& Source() { return m_document->MemoSource(); }
    std::string Line(int k) { return std::string(Source().GetRawLine(k)); }

    test::TTempDir m_dir;
    TQuilletMainForm m_main;
    TDocumentManager* m_documents = nullptr;
    TChildForm* m_document = nullptr;
};

TEST_F(ToDoFormTest, ListShowsTheItemsOfTheDocument)
{
    TToDoForm form(&m_main, *m_document);
    QTreeWidget& list = form.List();
    ASSERT_EQ(list.topLevelItemCount(), 4);
    EXPECT_EQ(list.topLevelItem(0)->text(0), QStringLiteral("check overflow"));
    EXPECT_EQ(list.topLevelItem(0)->text(1), QStringLiteral("3"));
    EXPECT_EQ(list.topLevelItem(0)->text(2), QStringLiteral("lead"));
    EXPECT_EQ(list.topLevelItem(0)->text(3), QStringLiteral("Core"));
    EXPECT_EQ(list.topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(list.topLevelItem(2)->text(0), QStringLiteral("first   second  "));
    EXPECT_EQ(form.ToolTipOf(2), QStringLiteral("first\r\n  second \r\n")) << "a multi-line text is its own tip";
    EXPECT_EQ(form.ToolTipOf(1), QString()) << "a short caption fits its column";
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("!"));
    EXPECT_EQ(list.currentItem(), list.topLevelItem(0));
    EXPECT_TRUE(form.EditButton().isEnabled());
    EXPECT_TRUE(form.GoButton().isEnabled());
    EXPECT_LE(form.ProgressRepaints(), 2) << "a fast scan barely repaints its progress";

    // Go puts the caret on the "{" (its display column counts the tab) and closes.
    form.Go(0);
    EXPECT_EQ(Source().GetCurLine(), 1);
    EXPECT_GT(Source().GetCurChar(), 9);
    EXPECT_EQ(Source().ColToRaw(1, Source().GetCurChar()), 9);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(ToDoFormTest, MarkEditAndDeleteAreEachOneUndo)
{
    const std::string original = Source().SaveToText();
    TToDoForm form(&m_main, *m_document);

    // Space on the selected row, then a click on another row's box: each
    // comment is rewritten once.
    QTest::keyClick(&form.List(), Qt::Key_Space);
    EXPECT_EQ(Line(1), "\tx := 1; { DONE 3 -olead -cCore : check overflow } // note");
    form.SetDone(1, false);
    EXPECT_EQ(Line(2), "{ TODO : finished }");
    Source().Undo();
    EXPECT_EQ(Line(2), "{ DONE : finished }");
    Source().Undo();
    EXPECT_EQ(Source().SaveToText(), original);

    // Edit the multi-line item into one line: the next row (on its end line) follows.
    form.OnItemDialog = [](TToDoItemForm& dialog) {
        EXPECT_EQ(dialog.TextBox().toPlainText(), QStringLiteral("first\n  second "));
        EXPECT_EQ(dialog.OwnerBox().count(), 2) << "lead and ann";
        dialog.TextBox().setPlainText(QStringLiteral("one}"));
        dialog.OwnerBox().setCurrentText(QStringLiteral("bob:"));
        return true;
    };
    form.EditRow(2);
    EXPECT_EQ(Line(3), "{ todo 1 -obob : one }  { TODO 5 -oann : same line }");
    EXPECT_EQ(Line(4), "end.");
    form.SetDone(3, true);
    EXPECT_EQ(Line(3), "{ todo 1 -obob : one }  { DONE 5 -oann : same line }")
        << "the shifted row marks its own comment";
    Source().Undo();
    Source().Undo();
    EXPECT_EQ(Source().SaveToText(), original);
}

TEST_F(ToDoFormTest, DeleteJoinsTheTextAroundTheComment)
{
    const std::string original = Source().SaveToText();
    TToDoForm form(&m_main, *m_document);
    form.DeleteRow(0);
    EXPECT_EQ(Line(1), "\tx := 1;  // note");
    ASSERT_EQ(form.List().topLevelItemCount(), 3);
    EXPECT_EQ(form.List().currentItem(), form.List().topLevelItem(0));
    form.DeleteRow(1);
    EXPECT_EQ(Line(3), "  { TODO 5 -oann : same line }") << "the multi-line comment's lines are gone";
    form.SetDone(1, true);
    EXPECT_EQ(Line(3), "  { DONE 5 -oann : same line }");
    Source().Undo();
    Source().Undo();
    Source().Undo();
    EXPECT_EQ(Source().SaveToText(), original);
}

TEST_F(ToDoFormTest, ReadOnlyDocumentKeepsItsText)
{
    Source().SetReadOnly(true);
    const std::string original = Source().SaveToText();
    TToDoForm form(&m_main, *m_document);
    EXPECT_FALSE(form.EditButton().isEnabled());
    EXPECT_FALSE(form.DeleteButton().isEnabled());
    EXPECT_TRUE(form.GoButton().isEnabled());
    form.SetDone(0, true);
    EXPECT_EQ(form.List().topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(Source().SaveToText(), original);
}

TEST_F(ToDoFormTest, ItemDialogRules)
{
    TToDoItemForm dialog(&m_main);
    QPushButton* ok = dialog.Buttons().button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled()) << "no text yet";
    EXPECT_EQ(dialog.PriorityBox().count(), 6);
    QTest::keyClicks(&dialog.TextBox(), QStringLiteral("a}b"));
    EXPECT_EQ(dialog.TextBox().toPlainText(), QStringLiteral("ab")) << "a typed brace is dropped";
    EXPECT_TRUE(ok->isEnabled());
    dialog.SetTextLimit(200);
    dialog.TextBox().setPlainText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(dialog.TextBox().toPlainText().size(), 200);
}

TEST_F(ToDoFormTest, ProjectListKeepsItsChangesOnlyOnOk)
{
    std::vector<TProjectToDoItem> items = {{"old", "2", "lead", "UI", false}};
    TProjectToDoForm form(&m_main, items);
    form.OnItemDialog = [](TToDoItemForm& dialog) {
        dialog.TextBox().setPlainText(QString(250, QLatin1Char('y')) + QStringLiteral("}"));
        dialog.PriorityBox().setCurrentIndex(5);
        return true;
    };
    form.AddRow();
    ASSERT_EQ(form.List().topLevelItemCount(), 2);
    EXPECT_EQ(form.List().currentItem(), form.List().topLevelItem(1));
    form.List().topLevelItem(0)->setCheckState(0, Qt::Checked);
    const std::vector<TProjectToDoItem> result = form.Items();
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[1].text, std::string(200, 'y')) << "the project's items hold at most 200 characters";
    EXPECT_EQ(result[1].priority, "5");
    EXPECT_TRUE(result[0].done);
    form.DeleteRow(0);
    EXPECT_EQ(form.Items().size(), 1u);
    EXPECT_EQ(form.List().currentItem(), form.List().topLevelItem(0));
}

} // namespace
} // namespace quillet

// The Edit commands as a user reaches them: a main window wired as the program
// wires it (command registry, edit and clipboard-slot bindings, document
// manager sharing one clipboard), a real file opened through the document
// manager, and the commands triggered through their menu actions.
#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/EditCommandBindings.h"
#include "app/ui/QuilletMainForm.h"
#include "platform/fake/FakeClipboard.h"
#include "support/BufferText.h"
#include "support/TempDir.h"
#include "text/Encoder.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/ClipboardSlots.h"
#include "text/ui/EditCommands.h"

#include <QAction>
#include <QMdiArea>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillet {
namespace {

class MainWindowEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_documents = new TDocumentManager(m_main);
        m_main.SetDocumentOpener(m_documents);
        m_documents->SetClipboard(&m_clipboard);
        BindEditCommands(
            m_main.Commands(),
            [this] {
                return CurrentTextDocument(m_main.MdiArea());
            },
            m_slots);
        m_slots.OnSlotsChanged = [this] {
            ApplyClipboardHints(m_main.CommandActions(), m_slots);
        };
        SetEditMessageHandler([this](TChildForm*, const QString& text) {
            m_messages.push_back(text);
        });
        m_main.show();
    }
    void TearDown() override
    {
        SetEditMessageHandler({});
        for (TChildForm* form : m_documents->Forms()) {
            form->MemoSource().SetModified(false);
        }
    }

    // Opens `text` from a file of its own; the document becomes the active one.
    TMemoSource& Open(std::string_view text, bool readOnly = false)
    {
        TOpenRequest request;
        request.fileName = m_dir.Write("doc" + std::to_string(++m_files) + ".txt", text).string();
        request.readOnly = readOnly;
        EXPECT_TRUE(m_documents->CreateMDIChild(request));
        TChildForm* form = CurrentTextDocument(m_main.MdiArea());
        EXPECT_NE(form, nullptr);
        form->MemoSource().SetKeepTrailingBlanks(true);
        return form->MemoSource();
    }
    std::string Text(const TMemoSource& source) const { return test::JoinedLines(source); }
    // The command's menu action after an update pass, as a user would find it.
    QAction* Action(std::string_view name)
    {
        m_main.UpdateCommands();
        QAction* action = m_main.CommandActions().Action(name);
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    bool Enabled(std::string_view name)
    {
        QAction* action = Action(name);
        return action != nullptr && action->isEnabled();
    }
    // Triggers the action only when it is enabled, as a menu click does.
    void Choose(std::string_view name)
    {
        QAction* action = Action(name);
        ASSERT_NE(action, nullptr);
        if (action->isEnabled()) {
            action->trigger();
        }
    }

    TFakeClipboard m_clipboard;
    TClipboardSlots m_slots{&m_clipboard};
    TQuilletMainForm m_main;
    TDocumentManager* m_documents = nullptr;
    test::TTempDir m_dir;
    int m_files = 0;
    std::vector<QString> m_messages;
};

TEST_F(MainWindowEditTest, CommandsChangeTheOpenedFileAndOneUndoRestoresIt)
{
    struct Case {
        const char* command;
        TTextRect selection; // a stream selection: left, top, right, bottom
        const char* expected;
    };
    const Case cases[] = {
        // The first three lines up to the end of "cherry".
        {"EditSortAsc", {0, 0, 6, 2}, "Apple\nbanana\ncherry\n\tzeta two\nend"},
        {"EditSortDesc", {0, 0, 6, 2}, "cherry\nbanana\nApple\n\tzeta two\nend"},
        {"EditUpperCase", {0, 1, 6, 1}, "banana\nAPPLE\ncherry\n\tzeta two\nend"},
        {"EditTabsToSpaces", {0, 3, 9, 3}, "banana\nApple\ncherry\n        zeta two\nend"},
        {"EditEncodeMime", {0, 4, 3, 4}, "banana\nApple\ncherry\n\tzeta two\nZW5kDQo="},
        {"EditCrc32", {0, 4, 3, 4}, "banana\nApple\ncherry\n\tzeta two\nCrc32: 56AC7BBFend"},
    };
    const std::string original = "banana\nApple\ncherry\n\tzeta two\nend";
    TMemoSource& source = Open(original);
    source.SetSpacesInTab(8);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        // The caret first (moving it drops a selection), where the checksum goes.
        source.JumpTo(c.selection.left, c.selection.top);
        source.SetSelection(
            TSelKind::selStream, c.selection.left, c.selection.top, c.selection.right, c.selection.bottom);
        ASSERT_TRUE(Enabled(c.command));
        Choose(c.command);
        EXPECT_EQ(Text(source), c.expected);
        EXPECT_TRUE(source.Modified());
        ASSERT_TRUE(Enabled("EditUndo"));
        Choose("EditUndo");
        EXPECT_EQ(Text(source), original);
        EXPECT_FALSE(source.Modified()) << "more than one undo step";
    }
}

TEST_F(MainWindowEditTest, ReadOnlyDocumentOffersNoChangingCommand)
{
    const std::string original = "b\na\nc";
    TMemoSource& source = Open(original, true);
    ASSERT_TRUE(source.ReadOnly());
    source.SetSelection(TSelKind::selStream, 0, 0, 1, 2);
    m_clipboard.SetText("pasted");
    for (const char* name : {"EditSortAsc",
             "EditUpperCase",
             "EditTabsToSpaces",
             "EditAddIndents",
             "EditPaste",
             "EditInsertGUID",
             "EditEncodeMime",
             "ControlDelete"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Enabled(name));
        Choose(name);
        EXPECT_EQ(Text(source), original);
    }
    // Cut and Copy need only a selection; the buffer refuses the cut's delete.
    Choose("EditCut");
    EXPECT_EQ(Text(source), original);
    EXPECT_TRUE(Enabled("EditCopy"));
    EXPECT_FALSE(source.Modified());
}

TEST_F(MainWindowEditTest, ColumnarSelectionDisablesTheStreamOnlyCommands)
{
    const std::string original = "abc\ndef";
    TMemoSource& source = Open(original);
    source.SetSelection(TSelKind::selColumn, 0, 0, 1, 1);
    for (const char* name : {"MenuEncodeDecodeHash", "EditEncodeMime", "EditDecodeUU", "EditCrc32", "EditMD5"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Enabled(name));
        Choose(name);
        EXPECT_EQ(Text(source), original);
    }
    // Sort works on the columns and keeps the selection columnar.
    source.SetSelection(TSelKind::selColumn, 0, 0, 0, 1);
    ASSERT_TRUE(Enabled("EditSortDesc"));
    Choose("EditSortDesc");
    EXPECT_EQ(Text(source), "dbc\naef");
    EXPECT_EQ(source.SelectionKind(), TSelKind::selColumn);
}

TEST_F(MainWindowEditTest, RefusedDecodeShowsItsMessageAndLeavesTheDocument)
{
    const std::string original = "not base64: @@@";
    TMemoSource& source = Open(original);
    source.SetSelection(TSelKind::selStream, 0, 0, 15, 0);
    ASSERT_TRUE(Enabled("EditDecodeMime"));
    Choose("EditDecodeMime");
    EXPECT_EQ(Text(source), original);
    EXPECT_FALSE(source.Modified());
    EXPECT_FALSE(source.UndoAvailable());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].toStdString(), DecodeErrorText(TDecodeError::Base64BadCharacter));
}

TEST_F(MainWindowEditTest, ClipboardSlotsPasteThroughTheirCommands)
{
    TMemoSource& source = Open("x");
    for (const char* text : {"one", "two", "three"}) {
        m_clipboard.SetText(text);
    }
    EXPECT_EQ(Action("EditPaste2")->toolTip(), "two");
    source.JumpTo(1, 0);
    ASSERT_TRUE(Enabled("EditPaste3"));
    Choose("EditPaste3");
    EXPECT_EQ(Text(source), "xone");
    Choose("EditPasteAll");
    EXPECT_EQ(Text(source), "xonethreetwoone");
    Choose("EditDelete");
    EXPECT_FALSE(Enabled("EditPaste2"));
    EXPECT_FALSE(m_clipboard.HasText());
}

} // namespace
} // namespace quillet

// The four clipboard slots fed by clipboard changes, their paste commands on a
// real document window, Delete All Clipboards and the hints.
#include "text/ui/ClipboardSlots.h"

#include "platform/fake/FakeClipboard.h"
#include "platform/qt/QtClipboard.h"
#include "support/BufferText.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quillet {
namespace {

class ClipboardSlotsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = std::make_unique<TChildForm>();
        Source().SetClipboard(&m_clipboard);
        Source().SetKeepTrailingBlanks(true);
        m_slots.OnSlotsChanged = [this] {
            ++m_changes;
        };
    }
    void TearDown() override
    {
        Source().SetModified(false);
        m_form.reset();
    }
    TMemoSource& Source() { return m_form->MemoSource(); }
    std::string Text() { return test::JoinedLines(Source()); }
    void Load(std::string_view text)
    {
        Source().LoadFromText(text);
        Source().ClearUndoBuffer();
    }

    TFakeClipboard m_clipboard;
    TClipboardSlots m_slots{&m_clipboard};
    std::unique_ptr<TChildForm> m_form;
    int m_changes = 0;
};

TEST_F(ClipboardSlotsTest, NewClipboardTextsShiftTheSlots)
{
    m_clipboard.SetText("one");
    m_clipboard.SimulateForeignCopy("two"); // text copied by other programs counts too
    m_clipboard.SetText("three");
    m_clipboard.SetText("three");
    m_clipboard.Clear(); // no text: the slots stay
    EXPECT_EQ(m_slots.History().Slot(1), "three");
    EXPECT_EQ(m_slots.History().Slot(2), "two");
    EXPECT_EQ(m_slots.History().Slot(3), "one");
    EXPECT_TRUE(m_slots.History().IsSlotEmpty(4));
    EXPECT_EQ(m_changes, 3);

    Load("[]");
    Source().JumpTo(1, 0);
    m_clipboard.SetText("three");
    ExecuteClipboardSlotCommand(m_slots, "EditPasteAll", m_form.get());
    EXPECT_EQ(Text(), "[threetwoone]");
    Source().Undo();
    EXPECT_EQ(Text(), "[]");
}

TEST_F(ClipboardSlotsTest, PasteSlotReplacesTheSelectionWithoutTouchingTheClipboard)
{
    m_clipboard.SetText("line one\r\nline two");
    m_clipboard.SetText("newest");
    Load("keep OLD keep");
    Source().SetSelection(TSelKind::selStream, 5, 0, 8, 0);
    ASSERT_TRUE(ClipboardSlotCommandEnabled(m_slots, "EditPaste2", m_form.get()));
    ExecuteClipboardSlotCommand(m_slots, "EditPaste2", m_form.get());
    EXPECT_EQ(Text(), "keep line one\nline two keep");
    EXPECT_EQ(m_clipboard.GetText(), "newest");
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{8, 1}));
    Source().Undo();
    EXPECT_EQ(Text(), "keep OLD keep");
    EXPECT_FALSE(Source().UndoAvailable());
}

TEST_F(ClipboardSlotsTest, EnablingRules)
{
    Load("x");
    const auto enabled = [&](std::string_view name) {
        return ClipboardSlotCommandEnabled(m_slots, name, m_form.get());
    };
    EXPECT_FALSE(enabled("EditPaste2"));
    EXPECT_FALSE(enabled("EditDelete"));
    EXPECT_TRUE(enabled("EditPasteAll"));
    EXPECT_FALSE(ClipboardSlotCommandEnabled(m_slots, "EditPasteAll", nullptr));

    m_clipboard.SetText("a");
    m_clipboard.SetText("b");
    EXPECT_TRUE(enabled("EditPaste2"));
    EXPECT_FALSE(enabled("EditPaste3")) << "slot 3 is empty";
    EXPECT_TRUE(enabled("EditDelete"));

    Source().SetReadOnly(true);
    EXPECT_FALSE(enabled("EditPaste2"));
    EXPECT_FALSE(enabled("EditPasteAll"));
    ExecuteClipboardSlotCommand(m_slots, "EditPasteAll", m_form.get());
    ExecuteClipboardSlotCommand(m_slots, "EditPaste2", m_form.get());
    EXPECT_EQ(Text(), "x");
    EXPECT_FALSE(ExecuteClipboardSlotCommand(m_slots, "EditUndo", m_form.get())) << "not a slot command";
}

TEST_F(ClipboardSlotsTest, DeleteAllEmptiesClipboardSlotsAndHints)
{
    m_clipboard.SetText("a|b");
    m_clipboard.SetText(std::string(1000, 'x'));
    EXPECT_EQ(m_slots.Hint(2, "Paste Clipboard 2"), "alb|Paste Clipboard 2");
    const QString longHint = m_slots.Hint(1, "Paste Clipboard 1");
    EXPECT_TRUE(longHint.endsWith("...|Paste Clipboard 1")) << "a long slot shows a cut preview";
    EXPECT_EQ(m_slots.History().Slot(1).size(), 1000u) << "the slot keeps the whole text";

    const int before = m_changes;
    ExecuteClipboardSlotCommand(m_slots, "EditDelete", m_form.get());
    EXPECT_FALSE(m_clipboard.HasText());
    EXPECT_FALSE(m_slots.CanDeleteAll());
    EXPECT_EQ(m_changes, before + 1);
    for (int slot = 1; slot <= 4; ++slot) {
        const QString caption = QStringLiteral("Paste Clipboard %1").arg(slot);
        EXPECT_EQ(m_slots.Hint(slot, caption), "|" + caption);
    }
}

TEST(ClipboardSlotsQt, SystemClipboardChangesFillTheSlots)
{
    TQtClipboard clipboard;
    TClipboardSlots clipboardSlots(&clipboard);
    QApplication::clipboard()->setText(QStringLiteral("first"));
    QApplication::clipboard()->setText(QStringLiteral("second"));
    QTest::qWait(50);
    EXPECT_EQ(clipboardSlots.History().Slot(1), "second");
    EXPECT_EQ(clipboardSlots.History().Slot(2), "first");
}

} // namespace
} // namespace quillet

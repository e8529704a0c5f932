// Runs the Edit commands on a real document window and buffer: each change is
// one undo step that restores the text exactly, the enabling rules follow the
// selection, the read-only state and the highlighter, and refused input leaves
// the document alone.
#include "text/ui/EditCommands.h"

#include "app/CommandTable.h"
#include "app/ui/CommandActions.h"
#include "app/ui/EditCommandBindings.h"
#include "platform/fake/FakeClipboard.h"
#include "support/BufferText.h"
#include "syntax/SyntaxParser.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/ClipboardSlots.h"

#include <QAction>
#include <QWidget>

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quillet {
namespace {

class EditCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form = std::make_unique<TChildForm>();
        Source().SetClipboard(&m_clipboard);
        // Keep tabs and trailing blanks as loaded, so the texts compare exactly.
        Source().SetOptions(Source().Options() | soUseTabCharacter);
        Source().SetKeepTrailingBlanks(true);
        SetEditMessageHandler([this](TChildForm*, const QString& text) {
            m_messages.push_back(text);
        });
    }
    void TearDown() override
    {
        SetEditMessageHandler({});
        Source().SetSyntaxParser(nullptr);
        Source().SetModified(false);
        m_form.reset();
    }

    TMemoSource& Source() { return m_form->MemoSource(); }
    void Load(std::string_view text)
    {
        Source().LoadFromText(text);
        Source().ClearUndoBuffer();
    }
    std::string Text() { return test::JoinedLines(Source()); }
    bool Enabled(std::string_view name)
    {
        const TEditCommand* command = FindEditCommand(name);
        EXPECT_NE(command, nullptr) << name;
        return command != nullptr && command->enabled(m_form.get());
    }
    void Run(std::string_view name)
    {
        const TEditCommand* command = FindEditCommand(name);
        ASSERT_NE(command, nullptr) << name;
        command->execute(m_form.get());
    }
    // A highlighter whose root block comments lines with `marker`.
    void AttachCommentScheme(const std::string& marker)
    {
        m_parser = std::make_unique<TSyntaxParser>();
        TSyntaxScheme& scheme = m_parser->SyntaxScheme();
        ASSERT_FALSE(scheme.SyntaxBlocks.empty());
        TSyntaxBlock& root = scheme.SyntaxBlocks.front();
        root.UseComments = true;
        root.UseSingleLineComments = true;
        TLineToken token;
        token.LeftDelimiter = marker;
        root.SingleLineCommentDelimiters = {token};
        scheme.SchemeChanged();
        Source().SetSyntaxParser(m_parser.get());
    }

    TFakeClipboard m_clipboard;
    std::unique_ptr<TSyntaxParser> m_parser; // outlives the form's use of it
    std::unique_ptr<TChildForm> m_form;
    std::vector<QString> m_messages;
};

TEST_F(EditCommandsTest, EachCommandIsOneUndoStepThatRestoresTheText)
{
    struct Case {
        const char* command;
        std::string text;
        TSelKind kind;
        TTextRect selection; // left, top, right, bottom
        std::string expected;
        int spacesInTab = 8;
    };
    using K = TSelKind;
    const Case cases[] = {
        {"EditSortAsc", "c\nB\na", K::selStream, {0, 0, 1, 2}, "a\nB\nc"},
        {"EditSortDesc", "a\nB\nc\nz", K::selStream, {0, 0, 1, 2}, "c\nB\na\nz"},
        // Ends at column 0: the closing line break stays last, so the last
        // sorted line does not join the line after the selection.
        {"EditSortAsc", "c\nb\na\nz", K::selStream, {0, 0, 0, 3}, "a\nb\nc\nz"},
        // Partial first and last lines of a stream selection.
        {"EditSortAsc", "xxb\na\ncyy", K::selStream, {2, 0, 1, 2}, "xxa\nb\ncyy"},
        {"EditSortAsc", "cX\nbY\naZ", K::selColumn, {0, 0, 0, 2}, "aX\nbY\ncZ"},
        {"EditTabsToSpaces", "ab\tc", K::selStream, {0, 0, 9, 0}, "ab    c", 4},
        {"EditSpacesToTabs", "         x", K::selStream, {0, 0, 10, 0}, "\t\t x", 4},
        {"EditRemoveDiacritics", "caf\xE9 \xC9t\xE9", K::selStream, {0, 0, 8, 0}, "cafe Ete"},
        {"EditUpperCase", "one two", K::selStream, {0, 0, 3, 0}, "ONE two"},
        {"EditLowerCase", "ONE TWO", K::selStream, {4, 0, 7, 0}, "ONE two"},
        {"EditInvertCase", "aBc", K::selStream, {0, 0, 3, 0}, "AbC"},
        {"EditCapitalize", "hello WORLD", K::selStream, {0, 0, 11, 0}, "Hello World"},
        {"EditAddIndents", "a\nb", K::selStream, {0, 0, 1, 1}, "  a\n  b"},
        {"EditRemoveIndents", "    a\n    b", K::selStream, {0, 0, 5, 1}, "  a\n  b"},
        {"EditEncodeMime", "xabcx", K::selStream, {1, 0, 4, 0}, "xYWJjDQo=x"},
        {"EditEncodeQP", "a=b", K::selStream, {0, 0, 3, 0}, "a=3Db=0D=0A"},
        {"EditDecodeMime", "YWJjDQo=", K::selStream, {0, 0, 8, 0}, "abc\n"},
        {"EditDecodeQP", "a=3Db", K::selStream, {0, 0, 5, 0}, "a=b\n"},
        // Decoded NUL bytes reach the buffer intact.
        {"EditDecodeMime", "YQBi", K::selStream, {0, 0, 4, 0}, std::string("a\0b", 3)},
        // Checksums cover the CR LF after the selected line and go in at the caret.
        {"EditCrc32", "123456789", K::selStream, {0, 0, 9, 0}, "Crc32: 88794574123456789"},
        {"EditCrc16", "x", K::selStream, {0, 0, 1, 0}, "Crc16: 600Bx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " on " + c.text);
        Load(c.text);
        Source().SetBlockIndent(2);
        Source().SetSpacesInTab(c.spacesInTab);
        Source().SetSelection(c.kind, c.selection.left, c.selection.top, c.selection.right, c.selection.bottom);
        if (c.command == std::string("EditCrc32") || c.command == std::string("EditCrc16")) {
            Source().JumpTo(0, 0);
        }
        ASSERT_TRUE(Enabled(c.command));
        Run(c.command);
        EXPECT_EQ(Text(), c.expected);
        EXPECT_TRUE(Source().UndoAvailable());
        Source().Undo();
        EXPECT_EQ(Text(), c.text);
        EXPECT_FALSE(Source().UndoAvailable()) << "more than one undo step";
    }
}

TEST_F(EditCommandsTest, RewrittenLinesStaySelectedWithTheirKind)
{
    Load("c\nb\na\nz");
    Source().SetSelection(TSelKind::selStream, 0, 0, 0, 3);
    Run("EditSortAsc");
    EXPECT_EQ(Source().SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(Source().GetSelectedText(), "a\r\nb\r\nc\r\n");

    Load("cX\nbY\naZ");
    Source().SetSelection(TSelKind::selColumn, 0, 0, 0, 2);
    Run("EditSortDesc");
    EXPECT_EQ(Text(), "cX\nbY\naZ");
    EXPECT_EQ(Source().SelectionKind(), TSelKind::selColumn);
    EXPECT_EQ(Source().GetSelectionStrings(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(EditCommandsTest, CommentsUseTheHighlightersSingleLineMarker)
{
    Load("a\nb\nc");
    Source().SetSelection(TSelKind::selStream, 0, 0, 0, 2);
    EXPECT_FALSE(Enabled("EditCommentBlock")) << "no highlighter";
    Run("EditCommentBlock");
    EXPECT_EQ(Text(), "a\nb\nc");

    AttachCommentScheme("//");
    Source().SetSelection(TSelKind::selStream, 0, 0, 0, 2);
    ASSERT_TRUE(Enabled("EditCommentBlock"));
    Run("EditCommentBlock");
    EXPECT_EQ(Text(), "//a\n//b\nc") << "the line after a selection ending at column 0 stays as it is";
    Source().Undo();
    EXPECT_EQ(Text(), "a\nb\nc");

    Load("x = 1; // one\n//y");
    Source().SetSelection(TSelKind::selStream, 0, 0, 3, 1);
    Run("EditUncommentBlock");
    EXPECT_EQ(Text(), "x = 1;  one\ny");

    AttachCommentScheme("");
    Source().SetSelection(TSelKind::selStream, 0, 0, 3, 1);
    EXPECT_FALSE(Enabled("EditUncommentBlock")) << "a scheme without a marker";
}

TEST_F(EditCommandsTest, ReadOnlyDocumentRefusesEveryChange)
{
    AttachCommentScheme("#");
    Load("b\tb\na  \nc");
    Source().SetSelection(TSelKind::selStream, 0, 0, 1, 2);
    m_clipboard.SimulateForeignCopy("pasted");
    Source().SetReadOnly(true);
    for (const TEditCommand& command : EditCommands()) {
        SCOPED_TRACE(std::string(command.name));
        const bool readOnlyAllowed = command.name == "EditCut" || command.name == "EditCopy"
            || command.name == "EditSelectAll" || command.name == "MenuEncodeDecodeHash";
        if (!readOnlyAllowed) {
            EXPECT_FALSE(command.enabled(m_form.get()));
        }
        command.execute(m_form.get());
        EXPECT_EQ(Text(), "b\tb\na  \nc");
        Source().SetSelection(TSelKind::selStream, 0, 0, 1, 2);
    }
    EXPECT_FALSE(Source().Modified());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(EditCommandsTest, EnablingFollowsSelectionAndWindow)
{
    for (const TEditCommand& command : EditCommands()) {
        EXPECT_FALSE(command.enabled(nullptr)) << command.name;
        command.execute(nullptr); // no document: nothing happens
    }

    Load("abc\ndef");
    EXPECT_FALSE(Enabled("EditSortAsc"));
    EXPECT_FALSE(Enabled("EditCopy"));
    EXPECT_FALSE(Enabled("EditEncodeMime"));
    EXPECT_FALSE(Enabled("EditPaste")) << "the clipboard is empty";
    EXPECT_TRUE(Enabled("EditUpperCase")) << "works on the word at the caret";
    EXPECT_TRUE(Enabled("EditSelectAll"));
    EXPECT_TRUE(Enabled("BlockQuoteUpdate")) << "quick templates apply at the caret";

    Source().SetSelection(TSelKind::selColumn, 0, 0, 1, 1);
    EXPECT_TRUE(Enabled("EditSortAsc"));
    EXPECT_FALSE(Enabled("BlockQuoteUpdate")) << "quick templates need a stream selection";
    for (const char* name : {"EditEncodeMime", "EditDecodeUU", "EditCrc32", "EditMD5", "MenuEncodeDecodeHash"}) {
        EXPECT_FALSE(Enabled(name)) << name << " with a columnar selection";
    }
    Source().SetSelection(TSelKind::selStream, 0, 0, 1, 1);
    EXPECT_TRUE(Enabled("EditMD5"));

    m_clipboard.SimulateForeignCopy("x");
    EXPECT_TRUE(Enabled("EditPaste"));
    EXPECT_TRUE(Enabled("EditPaste1"));
}

TEST_F(EditCommandsTest, RefusedDecodeShowsTheMessageAndChangesNothing)
{
    Load("Y!Q=\nnext");
    Source().SetSelection(TSelKind::selStream, 0, 0, 4, 0);
    Run("EditDecodeMime");
    EXPECT_EQ(Text(), "Y!Q=\nnext");
    EXPECT_FALSE(Source().UndoAvailable());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_FALSE(m_messages.front().isEmpty());
}

TEST_F(EditCommandsTest, FiftyMegabyteSelectionEncodesSortsAndUndoes)
{
    std::string text;
    text.reserve(52u << 20);
    for (int i = 0; text.size() < (50u << 20); ++i) {
        text += "line " + std::to_string((static_cast<std::int64_t>(i) * 7919) % 1000003) + "\tof a large selection\n";
    }
    Load(text);
    const std::string original = Text();
    const int lines = Source().GetStrCount();
    Source().SelectAll();
    Run("EditEncodeMime");
    ASSERT_EQ(Source().GetStrCount(), 1);
    // The encoded selection: every line with CR LF, the last one too, in one
    // line of Base64. Each LF of the text stands for one CR LF.
    const std::size_t encoded = text.size() + static_cast<std::size_t>(lines);
    EXPECT_EQ(Source().GetRawLine(0).size(), (encoded + 2) / 3 * 4);
    Source().Undo();
    EXPECT_EQ(Text(), original);

    Source().SelectAll();
    Run("EditSortAsc");
    EXPECT_EQ(Source().GetStrCount(), lines);
    EXPECT_LE(CompareLinesForSort(Source().GetRawLine(0), Source().GetRawLine(1)), 0);
    Source().Undo();
    EXPECT_EQ(Text(), original);
    EXPECT_FALSE(Source().Modified());
}

TEST_F(EditCommandsTest, InsertCommandsPutTheirTextAtTheCaret)
{
    Load("ab");
    Source().JumpTo(1, 0);
    Run("EditInsertGUID");
    const std::string text = Text();
    ASSERT_EQ(text.size(), 44u);
    const std::string guid = text.substr(1, 42);
    EXPECT_EQ(guid.substr(0, 3), "['{");
    EXPECT_EQ(guid.substr(39), "}']");
    for (std::size_t i : {11u, 16u, 21u, 26u}) {
        EXPECT_EQ(guid[i], '-') << guid;
    }
    EXPECT_EQ(guid.find_first_not_of("0123456789ABCDEF-", 3), 39u) << guid;
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{43, 0}));
    Source().Undo();
    EXPECT_EQ(Text(), "ab");

    Run("EditInsertDate");
    EXPECT_EQ(Text().size(), 2 + InsertDateText().size());
    EXPECT_FALSE(InsertDateText().empty());
    EXPECT_FALSE(InsertTimeText().empty());
}

TEST_F(EditCommandsTest, ControlDeleteRemovesTheWordRightOfTheCaret)
{
    Load("one two");
    Source().JumpTo(0, 0);
    Run("ControlDelete");
    EXPECT_EQ(Text(), "two");
    Source().Undo();
    EXPECT_EQ(Text(), "one two");
}

TEST_F(EditCommandsTest, QuickTemplateWrapsTheSelectionOrPlacesTheCaret)
{
    Load("say word now");
    Source().SetSelection(TSelKind::selStream, 4, 0, 8, 0);
    ApplyQuickTemplate(m_form.get(), "<b>|</b>\r\n");
    EXPECT_EQ(Text(), "say <b>word</b> now");
    EXPECT_EQ(Source().GetSelectedText(), "<b>word</b>");
    Source().Undo();
    EXPECT_EQ(Text(), "say word now");

    Load("ab");
    Source().JumpTo(1, 0);
    ApplyQuickTemplate(m_form.get(), "<i>|</i>");
    EXPECT_EQ(Text(), "a<i></i>b");
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{4, 0}));

    // A "|" on a later template line keeps its own column there.
    Load("ab");
    Source().JumpTo(2, 0);
    ApplyQuickTemplate(m_form.get(), "{\r\n  |\r\n}");
    EXPECT_EQ(Text(), "ab{\n  \n}");
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{2, 1}));

    Load("x y");
    Source().SetSelection(TSelKind::selStream, 0, 0, 1, 0);
    ApplyQuickTemplate(m_form.get(), "[\t|]");
    EXPECT_EQ(Text(), "[\tx] y");
    EXPECT_EQ(Source().GetSelectedText(), "[\tx]") << "the selection's end counts the tab's width";

    Load("ab");
    Source().SetSelection(TSelKind::selColumn, 0, 0, 0, 0);
    EXPECT_FALSE(CanApplyQuickTemplate(m_form.get()));
}

TEST_F(EditCommandsTest, BoundByNameInTheCommandRegistry)
{
    TCommandRegistry registry;
    TClipboardSlots clipboardSlots(&m_clipboard);
    TChildForm* active = m_form.get();
    BindEditCommands(
        registry,
        [&active] {
            return active;
        },
        clipboardSlots);
    for (const char* name : {"EditUpperCase", "EditSortAsc", "EditMD5", "EditPaste1", "EditPaste4", "EditDelete"}) {
        EXPECT_TRUE(registry.IsBound(name)) << name;
    }

    Load("b\na\nz");
    Source().SetSelection(TSelKind::selStream, 0, 0, 0, 2);
    EXPECT_TRUE(registry.State("EditSortAsc").enabled);
    EXPECT_TRUE(registry.Execute("EditSortAsc"));
    EXPECT_EQ(Text(), "a\nb\nz");

    m_clipboard.SetText("one");
    m_clipboard.SetText("two");
    EXPECT_TRUE(registry.State("EditPaste2").enabled);
    active = nullptr;
    EXPECT_FALSE(registry.State("EditSortAsc").enabled);
    EXPECT_FALSE(registry.State("EditPaste2").enabled);

    // The paste commands show their slot in the tooltip and the caption in
    // the status bar.
    QWidget owner;
    TCommandActions actions(&owner, registry);
    m_clipboard.SetText("x|y");
    ApplyClipboardHints(actions, clipboardSlots);
    QAction* paste1 = actions.Action("EditPaste1");
    ASSERT_NE(paste1, nullptr);
    EXPECT_EQ(paste1->toolTip(), "xly");
    EXPECT_EQ(paste1->statusTip(), "Paste Clipboard 1");
    EXPECT_EQ(actions.Action("EditPaste3")->toolTip(), "one");
    EXPECT_EQ(actions.Action("EditPaste4")->toolTip(), "Paste Clipboard 4") << "an empty slot shows the caption";
}

} // namespace
} // namespace quillet

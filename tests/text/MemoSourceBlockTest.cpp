#include "platform/fake/FakeClipboard.h"
#include "support/BufferText.h"
#include "text/MemoSource.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::JoinedLines;

struct TBlockFixture : ::testing::Test {
    TFakeClipboard clipboard;
    TMemoSource s;
    TBlockFixture()
    {
        s.SetClipboard(&clipboard);
        s.SetKeepTrailingBlanks(true);
        s.SetDelimeters("/{}+-*():=,;><$.#[]^@&~|%'\"");
    }
};

using MemoSourceBlock = TBlockFixture;

TEST_F(MemoSourceBlock, SelectionStrings)
{
    struct Case {
        const char* name;
        TSelKind kind;
        TTextRect rect;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"columnar pads short lines", TSelKind::selColumn, {2, 0, 5, 2}, {"cdef", "c   ", "cdef"}},
        {"stream on one line", TSelKind::selStream, {1, 0, 3, 0}, {"bc"}},
        {"stream over lines", TSelKind::selStream, {4, 0, 2, 2}, {"efgh", "abc", "ab"}},
        {"whole line", TSelKind::selStream, {0, 1, 0, 2}, {"abc", ""}},
        {"beyond the end is clamped", TSelKind::selColumn, {0, 1, 1, 9}, {"ab", "ab"}},
        {"stream beyond the end is clamped", TSelKind::selStream, {0, 2, 0, 3}, {"abcdefgh"}},
    };
    s.LoadFromText("abcdefgh\nabc\nabcdefgh");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.SetSelection(c.kind, c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
        EXPECT_EQ(s.GetSelectionStrings(), c.lines);
    }
}

TEST_F(MemoSourceBlock, ColumnarCopyPastesAsColumnHereAndAsStreamFromElsewhere)
{
    s.LoadFromText("abcd\nefgh\nijkl");
    s.SetSelection(TSelKind::selColumn, 1, 0, 2, 1);
    s.CopyBlock();
    EXPECT_EQ(clipboard.GetText().value_or("(empty)"), "bc\r\nfg");
    EXPECT_TRUE(LastCopyWasColumnar());
    s.ClearSelection();
    s.JumpTo(4, 1);
    s.PasteBlock();
    EXPECT_EQ(JoinedLines(s), "abcd\nefghbc\nijklfg\n");
    EXPECT_EQ(s.SelectionKind(), TSelKind::selNone) << "without persistent blocks the paste is not left selected";
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "abcd\nefgh\nijkl");

    clipboard.SimulateForeignCopy("bc\r\nfg");
    s.JumpTo(1, 0);
    s.PasteBlock();
    EXPECT_EQ(JoinedLines(s), "abc\nfgbcd\nefgh\nijkl");
    EXPECT_FALSE(LastCopyWasColumnar());
}

TEST_F(MemoSourceBlock, ColumnarPasteSelectsTheBlock)
{
    s.LoadFromText("ab\ncd");
    s.JumpTo(1, 0);
    s.PasteBlockFromStrings({"XY", "ZW", "QQ"}, true);
    EXPECT_EQ(JoinedLines(s), "aXYb\ncZWd\n QQ\n");
    EXPECT_EQ(s.SelectionKind(), TSelKind::selColumn);
    EXPECT_EQ(s.GetSelectionRect(), (TTextRect{1, 0, 2, 2}));
}

TEST_F(MemoSourceBlock, WholeLineCopyPastesAsWholeLine)
{
    s.LoadFromText("one\ntwo\nthree");
    s.JumpTo(0, 1);
    s.MarkLine();
    s.CopyBlock();
    EXPECT_EQ(clipboard.GetText().value_or("(empty)"), "two\r\n");
    s.ClearSelection();
    s.JumpTo(0, 0);
    s.PasteBlock();
    EXPECT_EQ(JoinedLines(s), "two\none\ntwo\nthree");
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 1}));
}

TEST_F(MemoSourceBlock, StreamPasteOfSeveralLines)
{
    s.LoadFromText("head|tail");
    s.JumpTo(5, 0);
    s.PasteBlockFromStrings({"A", "BB", "C"}, false);
    EXPECT_EQ(JoinedLines(s), "head|A\nBB\nCtail");
    EXPECT_EQ(s.GetSelectionRect(), (TTextRect{5, 0, 1, 2}));
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{1, 2}));
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "head|tail");
}

// Leaving a line trims its trailing blanks; the trim is part of the undo
// history, so undoing a paste that left a blank-ended line restores the text.
TEST_F(MemoSourceBlock, UndoAfterTrimmedBlanksRestoresTheText)
{
    s.SetKeepTrailingBlanks(false);
    s.LoadFromText("keep OLD keep");
    s.SetSelection(TSelKind::selStream, 5, 0, 8, 0);
    clipboard.SetText("one\r\ntwo");
    s.PasteBlock();
    for (int i = 0; i < 100 && s.UndoAvailable(); ++i) {
        s.Undo();
    }
    EXPECT_EQ(JoinedLines(s), "keep OLD keep");
    while (s.RedoAvailable()) {
        s.Redo();
    }
    EXPECT_EQ(JoinedLines(s), "keep one\ntwo keep");
}

TEST_F(MemoSourceBlock, CopyAndCutWithoutSelection)
{
    s.LoadFromText("abc");
    s.SetOptions(s.Options() & ~soForceCutCopy);
    clipboard.SetText("keep");
    s.CopyBlock();
    s.CutBlock();
    EXPECT_EQ(clipboard.GetText().value_or("(empty)"), "keep");
    s.SetOptions(s.Options() | soForceCutCopy);
    s.CopyBlock();
    EXPECT_FALSE(clipboard.HasText());
}

TEST_F(MemoSourceBlock, DeleteBlockKinds)
{
    struct Case {
        const char* name;
        TSelKind kind;
        TTextRect rect;
        const char* result;
        TTextPoint caret;
    };
    const Case cases[] = {
        {"stream on one line", TSelKind::selStream, {1, 0, 3, 0}, "ad\nefgh\nijkl", {1, 0}},
        {"stream over lines", TSelKind::selStream, {2, 0, 1, 2}, "abjkl", {2, 0}},
        {"columnar", TSelKind::selColumn, {1, 0, 2, 2}, "ad\neh\nil", {1, 0}},
        {"whole lines", TSelKind::selStream, {0, 0, 0, 2}, "ijkl", {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.LoadFromText("abcd\nefgh\nijkl");
        s.SetSelection(c.kind, c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
        s.DeleteBlock();
        EXPECT_EQ(JoinedLines(s), c.result);
        EXPECT_EQ(s.GetCaretPoint(), c.caret);
        EXPECT_EQ(s.SelectionKind(), TSelKind::selNone);
        s.Undo();
        EXPECT_EQ(JoinedLines(s), "abcd\nefgh\nijkl") << "one undo step";
    }
}

TEST_F(MemoSourceBlock, LineTransformations)
{
    struct Case {
        const char* name;
        const char* text;
        std::function<void(TMemoSource&)> op;
        const char* result;
    };
    const Case cases[] = {
        {"toggle case",
            "aBc1",
            [](TMemoSource& m) {
                m.ToggleBlockCase();
            },
            "AbC1"},
        {"capitalize",
            "hello wORLD-x",
            [](TMemoSource& m) {
                m.CapitalizeBlock();
            },
            "Hello World-X"},
        {"upper",
            "abc",
            [](TMemoSource& m) {
                m.UpperCaseBlock();
            },
            "ABC"},
        {"lower",
            "AbC",
            [](TMemoSource& m) {
                m.LowerCaseBlock();
            },
            "abc"},
        {"quote",
            "a\nb",
            [](TMemoSource& m) {
                m.QuoteBlock();
            },
            ">a\n>b"},
        {"unindent by one blank",
            "  a\nb\n\tc",
            [](TMemoSource& m) {
                m.OutDentBlock();
            },
            " a\nb\nc"},
        {"indent skips empty lines",
            "a\n\nb",
            [](TMemoSource& m) {
                m.IndentBlock("\t");
            },
            "\ta\n\n\tb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.LoadFromText(c.text);
        s.SelectAll();
        c.op(s);
        EXPECT_EQ(JoinedLines(s), c.result);
        EXPECT_NE(s.SelectionKind(), TSelKind::selNone) << "the lines are selected again";
        s.Undo();
        EXPECT_EQ(JoinedLines(s), c.text) << "one undo step";
    }
}

TEST_F(MemoSourceBlock, TabOverSeveralLinesIndentsNonEmptyLines)
{
    s.LoadFromText("a\n\nb\nc");
    s.SetSelection(TSelKind::selStream, 0, 0, 0, 3);
    s.PressTab();
    EXPECT_EQ(JoinedLines(s), "\ta\n\n\tb\nc");
    EXPECT_EQ(s.SelectionKind(), TSelKind::selStream);
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "a\n\nb\nc");
}

TEST_F(MemoSourceBlock, ShiftArrowSelectsAndShrinksToNothing)
{
    s.LoadFromText("abcdef");
    s.JumpTo(2, 0);
    s.MarkRight();
    s.MarkRight();
    EXPECT_EQ(s.SelStart(), (TTextPoint{2, 0}));
    EXPECT_EQ(s.SelEnd(), (TTextPoint{4, 0}));
    s.MarkLeft();
    s.MarkLeft();
    EXPECT_EQ(s.SelectionKind(), TSelKind::selNone);
}

TEST_F(MemoSourceBlock, ArrowDropsSelectionUnlessPersistent)
{
    for (bool persistent : {false, true}) {
        SCOPED_TRACE(persistent);
        s.LoadFromText("abcdef\nxyz");
        s.SetOptions(persistent ? (s.Options() | soPersistentBlocks) : (s.Options() & ~soPersistentBlocks));
        s.SetSelection(TSelKind::selStream, 1, 0, 3, 0);
        s.JumpTo(3, 0);
        s.CursorRight();
        EXPECT_EQ(s.SelectionKind(), persistent ? TSelKind::selStream : TSelKind::selNone);
        s.SetSelection(TSelKind::selStream, 1, 0, 3, 0);
        s.TypeText("Q");
        EXPECT_EQ(JoinedLines(s).substr(0, 6), persistent ? "abcdQe" : "aQdef\n");
    }
}

TEST_F(MemoSourceBlock, MoveAndDuplicate)
{
    s.LoadFromText("abcdef");
    s.SetOptions(s.Options() | soPersistentBlocks);
    s.SetSelection(TSelKind::selStream, 0, 0, 2, 0);
    s.JumpTo(1, 0);
    EXPECT_FALSE(s.MoveBlock()) << "the caret inside the block refuses a move";
    s.JumpTo(6, 0);
    EXPECT_TRUE(s.MoveBlock());
    EXPECT_EQ(JoinedLines(s), "cdefab");
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "abcdef");
    s.SetSelection(TSelKind::selStream, 0, 0, 2, 0);
    s.JumpTo(2, 0);
    s.DuplicateBlock();
    EXPECT_EQ(JoinedLines(s), "ababcdef");
}

TEST_F(MemoSourceBlock, Words)
{
    s.LoadFromText("foo  bar(baz)");
    struct Case {
        int col;
        TWordSelectionType type;
        std::pair<int, int> bounds;
    };
    const Case cases[] = {
        {1, TWordSelectionType::wsWordOnly, {1, 3}},
        {3, TWordSelectionType::wsWordOnly, {6, 8}},
        {0, TWordSelectionType::wsWordWithSpace, {1, 4}},
        {0, TWordSelectionType::wsUntilNextWord, {1, 5}},
        {9, TWordSelectionType::wsUntilNextWord, {10, 13}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(s.WordBounds(c.col, 0, c.type), c.bounds) << c.col;
    }
    EXPECT_EQ(s.GetTextAt(6, 0), "bar");
    s.JumpTo(0, 0);
    s.JumpWordRight();
    EXPECT_EQ(s.GetCurChar(), 5);
    s.JumpWordRight();
    EXPECT_EQ(s.GetCurChar(), 9);
    s.JumpWordLeft();
    EXPECT_EQ(s.GetCurChar(), 5);
    s.DeleteWordRight();
    EXPECT_EQ(JoinedLines(s), "foo  baz)");
    s.JumpTo(0, 0);
    s.UpperCaseWord();
    EXPECT_EQ(JoinedLines(s), "FOO  baz)");
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 0}));
}

TEST_F(MemoSourceBlock, BracketMatching)
{
    s.LoadFromText("f(a(b)c)\nx{\n}<");
    struct Case {
        TTextPoint from;
        TTextPoint to;
    };
    const Case cases[] = {
        {{1, 0}, {7, 0}},
        {{7, 0}, {1, 0}},
        {{3, 0}, {5, 0}},
        {{1, 1}, {0, 2}},
        {{1, 2}, {1, 2}}, // no partner: the caret stays
        {{0, 0}, {0, 0}}, // not a bracket
    };
    for (const Case& c : cases) {
        s.JumpTo(c.from.col, c.from.line);
        s.FindNextBracket();
        EXPECT_EQ(s.GetCaretPoint(), c.to) << c.from.col << "," << c.from.line;
    }
}

TEST_F(MemoSourceBlock, EnterAutoIndents)
{
    struct Case {
        const char* name;
        const char* text;
        TTextPoint caret;
        TStringsOptions extra;
        const char* result;
        TTextPoint after;
    };
    const Case cases[] = {
        {"indent from the line", "    abc", {7, 0}, 0, "    abc\n    ", {4, 1}},
        {"inside leading blanks", "    abc", {2, 0}, 0, "  \n    abc", {2, 1}},
        {"optimal fill with tabs", "\t\t  x", {20, 0}, soOptimalFill, "\t\t  x\n\t\t  ", {19, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.SetOptions(kDefaultStringsOptions | c.extra);
        s.LoadFromText(c.text);
        s.JumpTo(c.caret.col, c.caret.line);
        s.PressEnter();
        EXPECT_EQ(JoinedLines(s), c.result);
        EXPECT_EQ(s.GetCaretPoint(), c.after);
    }
}

TEST_F(MemoSourceBlock, BackspaceUnindentsToPreviousLevel)
{
    s.SetOptions(kDefaultStringsOptions & ~soUseTabCharacter);
    s.LoadFromText("    foo bar\n        x");
    s.JumpTo(8, 1);
    s.DeleteCharLeft();
    EXPECT_EQ(s.GetRawLine(1), "    x");
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{4, 1}));
    s.JumpTo(1, 0);
    s.SetOptions(s.Options() & ~soBackUnindents);
    s.JumpTo(5, 0);
    s.DeleteCharLeft();
    EXPECT_EQ(s.GetRawLine(0), "    oo bar");
}

TEST_F(MemoSourceBlock, KeyEdits)
{
    struct Case {
        const char* name;
        const char* text;
        TTextPoint caret;
        TStringsOptions options;
        std::function<void(TMemoSource&)> key;
        const char* result;
        TTextPoint after;
        const char* afterUndo = nullptr; // when padding outlives the undo
    };
    const TStringsOptions base = kDefaultStringsOptions;
    const TStringsOptions spaces = kDefaultStringsOptions & ~soUseTabCharacter;
    const Case cases[] = {
        {"delete line",
            "a\nb\nc",
            {0, 1},
            base,
            [](TMemoSource& m) {
                m.DeleteLine();
            },
            "a\nc",
            {0, 1}},
        {"delete to line begin",
            "abcdef",
            {3, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteToLineBegin();
            },
            "def",
            {0, 0}},
        {"delete to line end",
            "abcdef",
            {3, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteToLineEnd();
            },
            "abc",
            {3, 0}},
        {"backspace at column 0 joins",
            "ab\ncd",
            {0, 1},
            base,
            [](TMemoSource& m) {
                m.DeleteCharLeft();
            },
            "abcd",
            {2, 0}},
        {"backspace over a tab",
            "a\tb",
            {9, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteCharLeft();
            },
            "ab",
            {1, 0}},
        {"backspace past the end only moves",
            "ab",
            {5, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteCharLeft();
            },
            "ab",
            {4, 0}},
        {"delete at line end joins",
            "ab\ncd",
            {2, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteCharRight();
            },
            "abcd",
            {2, 0}},
        {"delete past line end pads and joins",
            "ab\ncd",
            {4, 0},
            base,
            [](TMemoSource& m) {
                m.DeleteCharRight();
            },
            "ab  cd",
            {4, 0},
            "ab  \ncd"},
        {"tab inserts a tab character",
            "ab",
            {2, 0},
            base,
            [](TMemoSource& m) {
                m.PressTab();
            },
            "ab\t",
            {9, 0}},
        {"tab inserts spaces to the stop",
            "ab",
            {2, 0},
            spaces,
            [](TMemoSource& m) {
                m.PressTab();
            },
            "ab       ",
            {9, 0}},
        {"smart tab follows the line above",
            "if (x)  y\nz",
            {1, 1},
            spaces | soSmartTab,
            [](TMemoSource& m) {
                m.PressTab();
            },
            "if (x)  y\nz   ",
            {4, 1}},
        {"shift tab moves to the previous stop",
            "x",
            {12, 0},
            base,
            [](TMemoSource& m) {
                m.PressShiftTab();
            },
            "x",
            {9, 0}},
        {"cursor over a whole tab",
            "a\tb",
            {1, 0},
            base | soCursorOnTabs,
            [](TMemoSource& m) {
                m.CursorRight();
            },
            "a\tb",
            {9, 0}},
        {"limit EOL wraps right",
            "ab\ncd",
            {2, 0},
            base | soLimitEOL,
            [](TMemoSource& m) {
                m.CursorRight();
            },
            "ab\ncd",
            {0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.SetOptions(c.options);
        s.LoadFromText(c.text);
        s.JumpTo(c.caret.col, c.caret.line);
        c.key(s);
        EXPECT_EQ(JoinedLines(s), c.result);
        EXPECT_EQ(s.GetCaretPoint(), c.after);
        while (s.UndoAvailable()) {
            s.Undo();
        }
        EXPECT_EQ(JoinedLines(s), c.afterUndo ? c.afterUndo : c.text);
    }
}

TEST_F(MemoSourceBlock, ColumnarPasteCases)
{
    struct Case {
        const char* name;
        const char* text;
        TTextPoint caret;
        std::vector<std::string> lines;
        const char* result;
        TTextRect selected;
    };
    const Case cases[] = {
        {"grows the document at the bottom", "ab\ncd", {1, 1}, {"X", "Y"}, "ab\ncXd\n Y\n", {1, 1, 1, 2}},
        {"pads short lines", "a\nb\nc", {3, 0}, {"X", "Y"}, "a  X\nb  Y\nc", {3, 0, 3, 1}},
        {"splits a tab it lands in", "\tz\nq", {4, 0}, {"XX", "YY"}, "    XX\tz\nq   YY\n", {4, 0, 5, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.LoadFromText(c.text);
        s.JumpTo(c.caret.col, c.caret.line);
        s.PasteBlockFromStrings(c.lines, true);
        EXPECT_EQ(JoinedLines(s), c.result);
        EXPECT_EQ(s.SelectionKind(), TSelKind::selColumn);
        EXPECT_EQ(s.GetSelectionRect(), c.selected);
        EXPECT_EQ(s.GetSelectionStrings(), c.lines) << "the pasted block reads back as pasted";
        s.Undo();
        // Padding spaces outlive the undo; the text itself comes back.
        std::string back;
        for (int i = 0; i < s.GetStrCount(); ++i) {
            std::string line(s.GetRawLine(i));
            line.erase(line.find_last_not_of(' ') + 1);
            back += (i ? "\n" : "") + line;
        }
        EXPECT_EQ(back.substr(0, std::string(c.text).size()), c.text);
    }
}

} // namespace
} // namespace quillet

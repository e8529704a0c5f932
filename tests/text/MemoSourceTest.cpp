#include "text/MemoSource.h"

#include "support/BufferText.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillet {
namespace {

using test::JoinedLines;

// Records every change report.
struct TRecorder : IMemoSourceNotifier {
    std::vector<TChangeReport> reports;
    void SourceChanged(TMemoSource&, const TChangeReport& r) override { reports.push_back(r); }
};

TEST(MemoSource, StartsEmpty)
{
    TMemoSource s;
    EXPECT_EQ(s.GetStrCount(), 0);
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 0}));
    EXPECT_EQ(s.TabStopsText(), "9,17");
    EXPECT_EQ(s.BlockIndent(), 1);
    EXPECT_EQ(s.SpacesInTab(), 8);
    EXPECT_FALSE(s.Modified());
}

TEST(MemoSource, TypingAndUndoRedo)
{
    TMemoSource s;
    s.Insert("hello");
    s.Navigate(0, 5);
    s.BreakLine();
    s.Navigate(1, -5);
    s.Insert("world");
    EXPECT_EQ(JoinedLines(s), "hello\nworld");
    EXPECT_TRUE(s.Modified());
    while (s.UndoAvailable()) {
        s.Undo();
    }
    EXPECT_EQ(JoinedLines(s), "");
    EXPECT_FALSE(s.Modified());
    while (s.RedoAvailable()) {
        s.Redo();
    }
    EXPECT_EQ(JoinedLines(s), "hello\nworld");
}

TEST(MemoSource, InsertPadsBeyondLineEndAndUndoKeepsPadding)
{
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.LoadFromText("abcde");
    s.JumpTo(12, 0);
    s.Insert("X");
    EXPECT_EQ(s.GetRawLine(0), "abcde       X");
    s.Undo();
    EXPECT_EQ(s.GetRawLine(0), "abcde       ");
}

TEST(MemoSource, InsertInsideTabSplitsItAndOneUndoRestores)
{
    TMemoSource s;
    s.LoadFromText("a\tb");
    EXPECT_EQ(s.Lines().Get(0), "a        b");
    s.JumpTo(4, 0);
    s.Insert("XY");
    EXPECT_EQ(s.GetRawLine(0), "a   XY\tb");
    s.Undo();
    EXPECT_EQ(s.GetRawLine(0), "a\tb");
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{4, 0}));
    s.Redo();
    EXPECT_EQ(s.GetRawLine(0), "a   XY\tb");
}

TEST(MemoSource, DeleteInsideTabTurnsLeftPartIntoSpaces)
{
    TMemoSource s;
    s.LoadFromText("a\tb");
    s.JumpTo(4, 0);
    s.DeleteRight(1);
    EXPECT_EQ(s.GetRawLine(0), "a   b");
    s.Undo();
    EXPECT_EQ(s.GetRawLine(0), "a\tb");
}

TEST(MemoSource, DeletingOnlyCharacterLeavesNoLines)
{
    TMemoSource s;
    s.LoadFromText("x");
    s.DeleteRight(1);
    EXPECT_EQ(s.GetStrCount(), 0);
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "x");
}

TEST(MemoSource, WholesaleLoadRules)
{
    struct Case {
        const char* name;
        const char* text;
        bool keepBlanks;
        bool useTabs;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"trailing blanks removed", "a  \nb\t", false, true, {"a", "b"}},
        {"trailing blanks kept", "a  \nb", true, true, {"a  ", "b"}},
        {"tabs become fixed spaces", "\tx\ty", false, false, {"        x        y"}},
        {"CR only and mixed ends", "a\rb\r\nc\nd", false, true, {"a", "b", "c", "d"}},
        {"LF CR is two ends, CR at the end one", "a\n\rb\r\n\r", false, true, {"a", "", "b", ""}},
        {"final line break adds no line", "a\n", false, true, {"a"}},
        {"empty text", "", false, true, {}},
        {"empty lines kept", "\n\n", false, true, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource s;
        s.SetKeepTrailingBlanks(c.keepBlanks);
        s.SetOptions(c.useTabs ? kDefaultStringsOptions : (kDefaultStringsOptions & ~soUseTabCharacter));
        s.LoadFromText(c.text);
        ASSERT_EQ(s.GetStrCount(), static_cast<int>(c.lines.size()));
        for (int i = 0; i < s.GetStrCount(); ++i) {
            EXPECT_EQ(s.GetRawLine(i), c.lines[static_cast<std::size_t>(i)]);
        }
    }
}

TEST(MemoSource, AllByteValuesSurvive)
{
    std::string line;
    for (int c = 0; c < 256; ++c) {
        if (c != '\n' && c != '\r') {
            line.push_back(static_cast<char>(c));
        }
    }
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.LoadFromText(line + "\n");
    ASSERT_EQ(s.GetStrCount(), 1);
    EXPECT_EQ(s.GetRawLine(0), line);
    s.SetOutFormat(TOutFormat::ofUnix);
    EXPECT_EQ(s.SaveToText(), line + "\n");
}

TEST(MemoSource, TrackedPositionsFollowEdits)
{
    struct Case {
        const char* name;
        TTextPoint caret;
        std::function<void(TMemoSource&)> edit;
        TTextPoint before;
        TTextPoint after;
    };
    auto insertX = [](TMemoSource& s) {
        s.Insert("XX");
    };
    auto del2 = [](TMemoSource& s) {
        s.DeleteRight(2);
    };
    auto brk = [](TMemoSource& s) {
        s.BreakLine();
    };
    auto join = [](TMemoSource& s) {
        s.JoinLines();
    };
    const Case cases[] = {
        {"insert before moves right", {1, 0}, insertX, {3, 0}, {5, 0}},
        {"insert exactly at a position leaves it", {3, 0}, insertX, {3, 0}, {3, 0}},
        {"insert on another line", {1, 1}, insertX, {3, 0}, {3, 0}},
        {"delete before moves left", {0, 0}, del2, {4, 0}, {2, 0}},
        {"delete over a position clamps it", {1, 0}, del2, {2, 0}, {1, 0}},
        {"break moves the rest down", {2, 0}, brk, {4, 0}, {2, 1}},
        {"break moves later lines", {2, 0}, brk, {1, 1}, {1, 2}},
        {"join pulls next line up", {6, 0}, join, {2, 1}, {8, 0}},
        {"join moves later lines up", {6, 0}, join, {1, 2}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource s;
        s.SetKeepTrailingBlanks(true);
        s.LoadFromText("abcdef\nghijkl\nmnopqr");
        s.JumpTo(c.caret.col, c.caret.line);
        TPosition* p = s.CopyPosition(c.before);
        c.edit(s);
        EXPECT_EQ(p->Point(), c.after);
        EXPECT_EQ(s.GetCaretPoint(), c.caret) << "edit primitives never move the caret";
        s.FreePosition(p);
    }
}

TEST(MemoSource, SelectionGrowsOnlyForInsertsStrictlyInside)
{
    struct Case {
        const char* name;
        TSelKind kind;
        int insertCol;
        TTextPoint start;
        TTextPoint end;
    };
    const Case cases[] = {
        {"stream, inside", TSelKind::selStream, 3, {2, 0}, {7, 0}},
        {"stream, at end", TSelKind::selStream, 5, {2, 0}, {5, 0}},
        {"stream, at start", TSelKind::selStream, 2, {4, 0}, {7, 0}},
        {"columnar keeps coordinates", TSelKind::selColumn, 3, {2, 0}, {5, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource s;
        s.LoadFromText("abcdefgh\nabcdefgh");
        s.SetOptions(s.Options() | soPersistentBlocks);
        s.SetSelection(c.kind, 2, 0, 5, c.kind == TSelKind::selColumn ? 1 : 0);
        s.JumpTo(c.insertCol, 0);
        s.Insert("XX");
        EXPECT_EQ(s.SelStart(), c.start);
        EXPECT_EQ(s.SelEnd(), c.end);
    }
}

TEST(MemoSource, BreakAtColumnZeroMovesLineDecoration)
{
    TMemoSource s;
    s.LoadFromText("one\ntwo");
    s.JumpTo(0, 1);
    s.SetBookMark(3);
    s.SetImageBit(1, 0, true);
    s.SetLineTextStyle(1, 5);
    s.BreakLine();
    EXPECT_EQ(s.GetRawLine(2), "two");
    EXPECT_TRUE(s.GetImageBit(2, 0));
    EXPECT_FALSE(s.GetImageBit(1, 0));
    EXPECT_EQ(s.GetLineTextStyle(2), 5);
    TTextPoint p;
    ASSERT_TRUE(s.FindBookMark(3, p));
    EXPECT_EQ(p, (TTextPoint{0, 2}));
}

TEST(MemoSource, UndoGrouping)
{
    struct Case {
        const char* name;
        bool group;
        const char* afterOneUndo;
    };
    const Case cases[] = {
        {"grouped typing goes at once", true, ""},
        {"ungrouped typing goes one by one", false, "ab"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoSource s;
        s.SetOptions(c.group ? (s.Options() | soGroupUndo) : (s.Options() & ~soGroupUndo));
        for (char ch : std::string("abc")) {
            s.TypeText(std::string(1, ch));
        }
        EXPECT_EQ(JoinedLines(s), "abc");
        s.Undo();
        EXPECT_EQ(JoinedLines(s), c.afterOneUndo);
    }
}

TEST(MemoSource, AdjacentUndoBlocksUndoSeparately)
{
    TMemoSource s;
    s.SetOptions(s.Options() & ~soGroupUndo);
    s.LoadFromText("x");
    for (const char* t : {"A", "B"}) {
        s.BeginUpdate(5);
        s.BeginUndoBlock();
        s.Insert(t);
        s.Insert(t);
        s.EndUndoBlock();
        s.EndUpdate();
    }
    EXPECT_EQ(JoinedLines(s), "BBAAx");
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "AAx");
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "x");
    s.Redo();
    EXPECT_EQ(JoinedLines(s), "AAx");
}

TEST(MemoSource, CaretMoveAfterUndoClearsRedo)
{
    TMemoSource s;
    s.TypeText("ab");
    s.Undo();
    EXPECT_TRUE(s.RedoAvailable());
    s.LoadFromText("abc\ndef");
    s.TypeText("x");
    s.Undo();
    ASSERT_TRUE(s.RedoAvailable());
    s.CursorDown();
    EXPECT_FALSE(s.RedoAvailable());
}

TEST(MemoSource, ModifiedAcrossTheSaveMark)
{
    TMemoSource s;
    s.SetOptions(s.Options() & ~soGroupUndo);
    s.LoadFromText("text");
    EXPECT_FALSE(s.Modified());
    s.TypeText("a");
    s.TypeText("b");
    s.SetModified(false); // saved here
    EXPECT_FALSE(s.Modified());
    s.TypeText("c");
    EXPECT_TRUE(s.Modified());
    s.Undo(); // back at the save
    EXPECT_FALSE(s.Modified());
    s.Undo(); // one past the save
    EXPECT_TRUE(s.Modified());
    s.Redo(); // back at the saved text, but the mark is gone
    EXPECT_TRUE(s.Modified());
    s.SetModified(false);
    EXPECT_FALSE(s.Modified());
}

TEST(MemoSource, UndoLimitKeepsSlackAndNeverSplitsBlocks)
{
    TMemoSource s;
    s.SetUndoLimit(10);
    s.SetAllowUndo(true);
    for (int i = 0; i < 110; ++i) {
        s.Insert("x");
    }
    EXPECT_EQ(s.UndoList().Count(), 110u);
    s.Insert("x");
    EXPECT_EQ(s.UndoList().Count(), 111u);
    s.Insert("x");
    EXPECT_EQ(s.UndoList().Count(), 11u);
    // Undoing everything that is left cannot reach the loaded state.
    while (s.UndoAvailable()) {
        s.Undo();
    }
    EXPECT_TRUE(s.Modified());
}

TEST(MemoSource, ChangeReportsOncePerOutermostBracket)
{
    TMemoSource s;
    s.LoadFromText("abc\ndef\nghi");
    TRecorder rec;
    s.RegisterNotifier(&rec, true);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].flags, static_cast<std::uint32_t>(chAll));
    rec.reports.clear();
    s.BeginUpdate(5);
    s.JumpTo(1, 1);
    s.Insert("x");
    s.Insert("y");
    s.EndUpdate();
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_TRUE(rec.reports[0].flags & chTextChanged);
    EXPECT_TRUE(rec.reports[0].flags & chCaretMoved);
    EXPECT_TRUE(rec.reports[0].flags & chModified);
    EXPECT_EQ(rec.reports[0].firstLine, 0);
    EXPECT_EQ(rec.reports[0].lastLine, 1);
    rec.reports.clear();
    s.SetImageBit(2, 1, true);
    ASSERT_EQ(rec.reports.size(), 1u);
    EXPECT_EQ(rec.reports[0].flags, static_cast<std::uint32_t>(chSelection));
    s.UnregisterNotifier(&rec);
}

TEST(MemoSource, BookmarksToggleAndMove)
{
    TMemoSource s;
    s.LoadFromText("a\nb\nc");
    s.JumpTo(0, 0);
    s.ToggleBookMark(2);
    s.JumpTo(0, 2);
    s.ToggleBookMark(2); // sits on another line: moves here
    TTextPoint p;
    ASSERT_TRUE(s.FindBookMark(2, p));
    EXPECT_EQ(p.line, 2);
    s.ToggleBookMark(2); // on its own line: removed
    EXPECT_FALSE(s.FindBookMark(2, p));
    s.ToggleBookMarkKey(0);
    ASSERT_TRUE(s.FindBookMark(10, p));
}

TEST(MemoSource, FoldingHidesBodyAndMapsIndexes)
{
    TMemoSource s;
    s.LoadFromText("h\nb1\nb2\nafter");
    s.SetCollapseState(0, 1);
    s.SetLineVisible(1, false);
    s.SetLineVisible(2, false);
    EXPECT_TRUE(s.GetRealLineVisible(1)) << "first body line after an expanded header stays shown";
    s.SetCollapseState(0, 0);
    EXPECT_FALSE(s.GetRealLineVisible(1));
    EXPECT_FALSE(s.GetRealLineVisible(2));
    EXPECT_EQ(s.RealToVisibleIndex(3), 1);
    EXPECT_EQ(s.VisibleToRealIndex(1), 3);
    EXPECT_EQ(s.GetCollapseState(0), 0);
    s.JumpTo(0, 2); // a jump into folded text expands it
    EXPECT_EQ(s.GetCollapseState(0), 1);
    EXPECT_TRUE(s.GetRealLineVisible(2));
}

TEST(MemoSource, OptionExclusions)
{
    TMemoSource s;
    s.SetOptions(soSmartTab);
    s.SetOptions(s.Options() | soUseTabCharacter);
    EXPECT_FALSE(s.HasOption(soSmartTab));
    s.SetOptions(s.Options() | soSmartTab);
    EXPECT_FALSE(s.HasOption(soUseTabCharacter));
    s.SetSpacesInTab(11);
    EXPECT_EQ(s.SpacesInTab(), 8);
    s.SetBlockIndent(-2);
    EXPECT_EQ(s.BlockIndent(), 0);
    std::string error;
    EXPECT_FALSE(s.SetTabStops("4,2", &error));
    EXPECT_EQ(error, "Invalid Tab Rack");
    EXPECT_EQ(s.TabStopsText(), "9,17");
}

TEST(MemoSource, ReadOnlyRefusesEditsButCaretMoves)
{
    TMemoSource s;
    s.LoadFromText("abc\ndef");
    s.SetLineState(1, lsReadOnly, true);
    s.JumpTo(0, 1);
    EXPECT_FALSE(s.Insert("x"));
    s.DeleteRight(1);
    EXPECT_EQ(s.GetRawLine(1), "def");
    s.SetReadOnly(true);
    s.JumpTo(0, 0);
    EXPECT_FALSE(s.Insert("x"));
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 0}));
    EXPECT_EQ(JoinedLines(s), "abc\ndef");
}

// A highlighter whose state counts open "/*" comments, to check re-parsing.
class TCommentParser : public TSimpleParser {
public:
    int calls = 0;
    std::uint32_t ColorString(std::string_view text, std::uint32_t state, std::vector<std::uint8_t>& attrs) override
    {
        ++calls;
        attrs.assign(text.size(), state ? 2 : 0);
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text.substr(i, 2) == "/*") {
                state = 1;
            } else if (text.substr(i, 2) == "*/") {
                state = 0;
            }
        }
        return state;
    }
};

TEST(MemoSource, IncrementalParsing)
{
    TCommentParser parser;
    TMemoSource s;
    s.SetSyntaxParser(&parser);
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "line\n";
    }
    s.LoadFromText(text);
    s.ParseToString(10);
    EXPECT_EQ(parser.calls, 111) << "parses 100 lines past the requested one";
    parser.calls = 0;
    s.ParseToString(10);
    EXPECT_EQ(parser.calls, 0);
    // Opening a comment on line 5 changes the end state: later lines recolour.
    s.JumpTo(0, 5);
    s.Insert("/*");
    EXPECT_EQ(static_cast<unsigned char>(s.GetRawColorData(50)[0]), 2);
    parser.calls = 0;
    s.JumpTo(0, 7);
    s.Insert("x");
    s.ParseToString(20);
    EXPECT_EQ(parser.calls, 1) << "an edit that keeps the end state re-parses one line";
    s.SetSyntaxParser(nullptr);
}

// Regression: a highlighter freed while buffers held it left them a dangling
// pointer, used when the next highlighter was attached.
TEST(MemoSource, HighlighterDestroyedWhileAttachedDetachesFromEveryBuffer)
{
    TMemoSource first;
    TMemoSource second;
    auto gone = std::make_unique<TCommentParser>();
    {
        TMemoSource shortLived; // unregisters itself before the parser dies
        shortLived.SetSyntaxParser(gone.get());
    }
    for (TMemoSource* s : {&first, &second}) {
        s->LoadFromText("/* a\nb */ c");
        s->SetSyntaxParser(gone.get());
        EXPECT_EQ(static_cast<unsigned char>(s->GetRawColorData(1)[0]), 2);
    }
    gone.reset();
    TCommentParser next;
    for (TMemoSource* s : {&first, &second}) {
        EXPECT_EQ(s->SyntaxParser(), nullptr);
        EXPECT_EQ(static_cast<unsigned char>(s->GetRawColorData(1)[0]), 0) << "colours of the old highlighter dropped";
        s->SetSyntaxParser(&next);
        EXPECT_EQ(static_cast<unsigned char>(s->GetRawColorData(1)[0]), 2);
    }
    first.SetSyntaxParser(nullptr);
    second.SetSyntaxParser(nullptr);
}

// Style bytes every line gets when the whole document is coloured from the top.
std::vector<std::string> FullParse(TSimpleParser& parser, const TMemoSource& s)
{
    std::vector<std::string> out;
    std::uint32_t state = 0;
    std::vector<std::uint8_t> attrs;
    for (int line = 0; line < s.GetStrCount(); ++line) {
        state = parser.ColorString(s.GetRawLine(line), state, attrs);
        out.emplace_back(attrs.begin(), attrs.end());
    }
    return out;
}

void ExpectColoursOfFullParse(TSimpleParser& parser, TMemoSource& s)
{
    const std::vector<std::string> expected = FullParse(parser, s);
    for (int line = 0; line < s.GetStrCount(); ++line) {
        ASSERT_EQ(s.GetRawColorData(line), expected[static_cast<std::size_t>(line)]) << "line " << line;
    }
}

// The highlighter states are kept beside the lines only while a highlighter
// is attached, and follow the lines when lines are broken, joined, inserted
// and deleted around an open comment.
TEST(MemoSource, HighlighterStatesFollowEditsAndGoWithTheHighlighter)
{
    TMemoSource s;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += i % 50 == 10 ? "a /* b\n" : i % 50 == 30 ? "c */ d\n" : "int x;\n";
    }
    s.LoadFromText(text);
    for (int line = 0; line < s.GetStrCount(); ++line) {
        s.GetRawColorData(line);
    }
    EXPECT_FALSE(s.Store().HasStates()) << "plain text has no states to keep";

    TCommentParser parser;
    s.SetSyntaxParser(&parser);
    ExpectColoursOfFullParse(parser, s);
    EXPECT_TRUE(s.Store().HasStates());
    s.JumpTo(3, 20); // inside the first comment
    s.BreakLine();
    s.JumpTo(0, 100);
    s.InsertString("x */ y\n/* z\n");
    s.JumpTo(6, 200);
    s.JoinLines();
    s.JumpTo(0, 250);
    for (int i = 0; i < 30; ++i) {
        s.DeleteLine();
    }
    s.Lines().Insert(150, "/* q");
    s.Lines().Delete(320);
    ExpectColoursOfFullParse(parser, s);

    s.SetSyntaxParser(nullptr);
    EXPECT_FALSE(s.Store().HasStates());
}

// Colouring towards a far line in bounded steps gives exactly the colours of a
// full parse, also when the text changes between the steps and after the
// bytes of far lines were dropped; a screen line far past the coloured part is
// answered with its last known bytes until its start state is known.
TEST(MemoSource, ColouringInStepsMatchesAFullParse)
{
    TCommentParser parser;
    TMemoSource s;
    s.SetSyntaxParser(&parser);
    std::string text;
    for (int i = 0; i < 6000; ++i) {
        text += i % 97 == 3 ? "a /* b\n" : i % 89 == 5 ? "c */ d\n" : "int x;\n";
    }
    s.LoadFromText(text);
    const int last = s.GetStrCount() - 1;
    std::string bytes;
    EXPECT_FALSE(s.GetScreenColorData(last, bytes));
    EXPECT_EQ(bytes, std::string(s.GetRawLine(last).size(), '\0')) << "nothing known yet: plain";
    EXPECT_EQ(s.ParsedUpTo(), 0) << "a far screen line colours nothing at once";
    EXPECT_TRUE(s.GetScreenColorData(5, bytes)) << "lines near the coloured part are coloured at once";
    s.ParseStrings(4990, 5010); // coloured from a state that may be wrong
    const std::string stale = s.GetStoredColorData(5000);
    EXPECT_FALSE(s.GetScreenColorData(5000, bytes));
    EXPECT_EQ(bytes, stale) << "its last known colours";

    int steps = 0;
    while (!s.ColourTowards(last, 500)) {
        ++steps;
        if (steps == 3) {
            // An edit above the coloured part: colouring goes on from there.
            s.JumpTo(0, 700);
            s.Insert("/*");
        }
        if (steps == 6) {
            // An edit below it, on a line with stale stored bytes.
            s.JumpTo(0, 5000);
            s.Insert("*/ ");
        }
    }
    EXPECT_GT(steps, 6);
    EXPECT_TRUE(s.GetScreenColorData(last, bytes));
    EXPECT_FALSE(s.IsLineParsed(1000)) << "lines far above the target keep only their states";
    EXPECT_TRUE(s.IsLineParsed(last));
    ExpectColoursOfFullParse(parser, s);

    s.DropColorData(last - 10, last);
    EXPECT_FALSE(s.IsLineParsed(last - 11));
    EXPECT_TRUE(s.IsLineParsed(last - 10));
    ExpectColoursOfFullParse(parser, s);
    s.SetSyntaxParser(nullptr);
}

// Style bytes that are document data (kept for undo) are never dropped.
TEST(MemoSource, ColouringKeepsBytesThatAreDocumentData)
{
    class TStoredParser : public TCommentParser {
    public:
        bool StoreColorData() const override { return true; }
    };
    TStoredParser parser;
    TMemoSource s;
    s.SetSyntaxParser(&parser);
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "x /* y */\n";
    }
    s.LoadFromText(text);
    while (!s.ColourTowards(2999, 1000)) { }
    s.DropColorData(2990, 2999);
    EXPECT_TRUE(s.IsLineParsed(10));
    ExpectColoursOfFullParse(parser, s);
    s.SetSyntaxParser(nullptr);
}

// Reading the colours of every line, as paging through the document does,
// keeps the style bytes only of lines near a view once many lines gained
// them; the dropped lines give the colours of a full parse again when asked.
TEST(MemoSource, StyleBytesFarFromEveryViewAreDropped)
{
    class TView : public IMemoSourceNotifier {
    public:
        void SourceChanged(TMemoSource&, const TChangeReport&) override { }
        std::pair<int, int> LinesInView() const override { return {top, top + 39}; }
        int top = 0;
    };
    TCommentParser parser;
    TMemoSource s;
    TView view;
    s.RegisterNotifier(&view, false);
    s.SetSyntaxParser(&parser);
    std::string text;
    for (int i = 0; i < 60000; ++i) {
        text += i % 97 == 3 ? "a /* b\n" : i % 89 == 5 ? "c */ d\n" : "int x;\n";
    }
    s.LoadFromText(text);
    for (int line = 0; line < s.GetStrCount(); ++line) {
        view.top = std::max(0, line - 39);
        s.GetRawColorData(line);
    }
    int withBytes = 0;
    for (int line = 0; line < s.GetStrCount(); ++line) {
        withBytes += s.Store().Style(static_cast<std::size_t>(line)).empty() ? 0 : 1;
    }
    EXPECT_LE(withBytes, 20000 + 40 + 2 * 4 * 50) << "the bytes of one trim period and around the view";
    EXPECT_FALSE(s.IsLineParsed(100)) << "far above the view";
    EXPECT_TRUE(s.IsLineParsed(s.GetStrCount() - 1)) << "in the view";
    ExpectColoursOfFullParse(parser, s);
    s.UnregisterNotifier(&view);
    s.SetSyntaxParser(nullptr);
}

TEST(MemoSource, HotStrings)
{
    struct Case {
        const char* text;
        std::vector<std::pair<int, int>> runs;
    };
    const Case cases[] = {
        {"see www.example.com now", {{4, 19}}},
        {"HTTPS://secure.example/x?a=1", {{0, 28}}},
        {"http://a ftp://b gopher://c", {{0, 8}, {9, 16}, {17, 27}}},
        {"mail me: joe@host.org.", {{9, 22}}},
        {"not@ a@b x@y.z", {{9, 14}}},
        {"a@b@c.d plain", {}},
        {"mailto:x", {{0, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TMemoSource::FindHotStrings(c.text), c.runs);
    }
    TMemoSource s;
    s.SetHighlightUrls(true);
    s.LoadFromText("go www.x.org");
    std::string style = s.GetRawColorData(0);
    EXPECT_EQ(style[0], 0);
    EXPECT_EQ(style[3], 12);
}

TEST(MemoSource, TypingBelowTheLastLineAppendsLines)
{
    TMemoSource s;
    s.SetOptions(s.Options() | soBeyondFileEnd);
    s.LoadFromText("a");
    s.JumpTo(2, 3);
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{2, 3}));
    s.Insert("x");
    EXPECT_EQ(JoinedLines(s), "a\n\n\n  x");
    s.SetOptions(s.Options() & ~soBeyondFileEnd);
    s.JumpTo(0, 9);
    EXPECT_EQ(s.GetCurLine(), 3) << "without soBeyondFileEnd the caret stops on the last line";
}

TEST(MemoSource, InsertStringKeepsSelectionAndEndsAfterText)
{
    TMemoSource s;
    s.SetKeepTrailingBlanks(true);
    s.LoadFromText("head tail\nnext");
    s.SetOptions(s.Options() | soPersistentBlocks);
    s.SetSelection(TSelKind::selStream, 0, 1, 2, 1);
    s.JumpTo(5, 0);
    s.InsertString("one\ntwo ");
    EXPECT_EQ(JoinedLines(s), "head one\ntwo tail\nnext");
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{4, 1}));
    EXPECT_EQ(s.SelectionKind(), TSelKind::selStream);
    s.Undo();
    EXPECT_EQ(JoinedLines(s), "head tail\nnext");
}

TEST(MemoSource, LinesWritesAreNotUndoable)
{
    TMemoSource s;
    s.LoadFromText("a\nb\nc");
    s.TypeText("x");
    ASSERT_TRUE(s.UndoAvailable());
    TPosition* p = s.CopyPosition({1, 2});
    s.Lines().Delete(0);
    EXPECT_EQ(p->Point(), (TTextPoint{1, 1}));
    s.Lines().Insert(1, "new");
    s.Lines().Put(0, "B");
    EXPECT_EQ(JoinedLines(s), "B\nnew\nc");
    EXPECT_EQ(s.Lines().Get(1), "new");
    EXPECT_FALSE(s.UndoAvailable());
    EXPECT_TRUE(s.Modified());
    s.FreePosition(p);
}

TEST(MemoSource, SafeUpdateRestoresCaretAndSelection)
{
    TMemoSource s;
    s.LoadFromText("abc\ndef");
    s.SetSelection(TSelKind::selStream, 0, 0, 2, 0);
    s.BeginSafeUpdate(5);
    s.JumpTo(1, 1);
    s.Insert("x");
    s.ClearSelection();
    s.EndUpdate();
    EXPECT_EQ(s.GetCaretPoint(), (TTextPoint{0, 0}));
    EXPECT_EQ(s.SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(JoinedLines(s), "abc\ndxef");
}

TEST(MemoSource, HugeLineWithoutBreaks)
{
    std::string line(20u << 20, 'a');
    for (std::size_t i = 0; i < line.size(); i += 1000) {
        line[i] = '\t';
    }
    TMemoSource s;
    s.LoadFromText(line);
    ASSERT_EQ(s.GetStrCount(), 1);
    int width = s.LineLength(0);
    EXPECT_GT(width, static_cast<int>(line.size()));
    s.JumpTo(width / 2, 0);
    s.Insert("x");
    s.Undo();
    EXPECT_EQ(s.GetRawLine(0), line);
}

} // namespace
} // namespace quillet

#include "text/MemoSearch.h"

#include "support/BufferText.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillet {
namespace {

class TFakeSearchPrompt final : public ISearchPrompt {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInfo(const std::string& text) override { infos.push_back(text); }
    TReplaceAnswer AskReplace(const std::string& text, const TSearchMessages& messages) override
    {
        questions.push_back(text);
        EXPECT_EQ(messages.all, "&All");
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question";
            return TReplaceAnswer::Cancel;
        }
        const TReplaceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> errors;
    std::vector<std::string> infos;
    std::vector<std::string> questions;
    std::deque<TReplaceAnswer> answers;
};

class MemoSearchTest : public ::testing::Test {
protected:
    void Load(std::string_view text)
    {
        source.SetKeepTrailingBlanks(true);
        source.SetDelimeters("/{}+-*():=,;><$.#[]^@&~|%'\"");
        source.LoadFromText(text);
        search.SetPrompt(&prompt);
        options.ShowNotFound = true;
    }
    std::string Text() const { return test::JoinedLines(source); }
    TTextPoint Caret() const { return source.GetCaretPoint(); }

    TMemoSource source;
    TSearchOptions options;
    TMemoSearch search{source, options};
    TFakeSearchPrompt prompt;
};

TEST_F(MemoSearchTest, FindFromTheCaretThenFindNext)
{
    Load("xx ab ab\nab");
    options.TextToFind = "AB";
    options.Origin = soFromCursor;
    source.JumpTo(3, 0); // right before an occurrence
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{5, 0}));
    EXPECT_EQ(source.FoundRect(), (TTextRect{3, 0, 5, 0}));
    EXPECT_TRUE(source.FoundVisible());
    EXPECT_TRUE(search.FindNext());
    EXPECT_EQ(Caret(), (TTextPoint{8, 0}));
    EXPECT_TRUE(search.FindNext());
    EXPECT_EQ(Caret(), (TTextPoint{2, 1}));
    EXPECT_FALSE(search.FindNext());
    EXPECT_EQ(Caret(), (TTextPoint{2, 1}));
    EXPECT_EQ(prompt.infos, std::vector<std::string>{"Search string \"AB\" not found."});
    source.CursorLeft();
    EXPECT_FALSE(source.FoundVisible()); // the next change bracket clears the mark
}

TEST_F(MemoSearchTest, EntireScopeIgnoresTheCaretAndBackwardSkipsTrailingBlanks)
{
    Load("ab  \ncd ab  ");
    source.JumpTo(1, 1);
    options.Direction = sdBackward;
    options.TextToFind = "b ";
    EXPECT_FALSE(search.Find());
    options.TextToFind = "ab";
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{3, 1})); // backwards the caret goes to the start
    ASSERT_TRUE(search.FindNext());
    EXPECT_EQ(Caret(), (TTextPoint{0, 0}));
}

TEST_F(MemoSearchTest, SelectFoundTextOption)
{
    Load("one two");
    source.SetOptions(source.Options() | soSelectFoundText);
    options.TextToFind = "two";
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(source.GetSelectedText(), "two");
}

TEST_F(MemoSearchTest, WholeWordsSwitchedOffForTextWithDelimiters)
{
    Load("xa.by ab");
    options.WholeWordsOnly = true;
    options.TextToFind = "a.b";
    EXPECT_TRUE(search.Find());
    EXPECT_FALSE(options.WholeWordsOnly);

    options.WholeWordsOnly = true;
    options.TextToFind = "ab";
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{8, 0}));
}

TEST_F(MemoSearchTest, EmptyMatchesMoveOn)
{
    Load("ab\nc");
    options.RegularExpr = true;
    options.TextToFind = "x*";
    std::vector<TTextPoint> carets;
    ASSERT_TRUE(search.Find());
    carets.push_back(Caret());
    while (search.FindNext() && carets.size() < 10) {
        carets.push_back(Caret());
    }
    EXPECT_EQ(carets, (std::vector<TTextPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}));
}

TEST_F(MemoSearchTest, MessagesDoubleAmpersandsAndKeepPercentSigns)
{
    Load("text");
    options.TextToFind = "a&b%s%d";
    EXPECT_FALSE(search.Find());
    EXPECT_EQ(prompt.infos, std::vector<std::string>{"Search string \"a&&b%s%d\" not found."});
    options.TextToFind.clear();
    EXPECT_FALSE(search.Find());
    EXPECT_EQ(prompt.infos.back(), "Search string \"\" not found.");
}

TEST_F(MemoSearchTest, PatternErrorsAreReportedOnceAndChangeNothing)
{
    Load("+a");
    options.RegularExpr = true;
    options.TextToFind = "+a";
    EXPECT_FALSE(search.Find());
    EXPECT_EQ(prompt.infos, std::vector<std::string>{"+a is invalid mask at (1)"}); // no "not found" after it

    std::string seen;
    search.OnSearchException = [&](TMemoSearch&, const std::string& error, bool& handled) {
        seen = error;
        handled = true;
    };
    options.ReplaceAll = true;
    EXPECT_FALSE(search.Replace());
    EXPECT_EQ(seen, "+a is invalid mask at (1)");
    EXPECT_EQ(prompt.infos.size(), 1u);
    EXPECT_EQ(Text(), "+a");
    EXPECT_FALSE(source.Modified());
}

TEST_F(MemoSearchTest, SelectionScope)
{
    Load("ab ab ab ab");
    source.SetOptions(source.Options() | soPersistentBlocks);
    options.Scope = ssSelectedText;
    options.TextToFind = "ab";

    // No selection: the first search says so and searches anyway; repeats stop silently.
    EXPECT_TRUE(search.Find());
    EXPECT_EQ(prompt.errors, std::vector<std::string>{"Tried to search marked block but it is invalid."});
    EXPECT_FALSE(search.FindNext() && options.Scope == ssSelectedText);

    source.SetSelection(TSelKind::selStream, 2, 0, 8, 0); // " ab ab"
    options.Scope = ssSelectedText;
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{5, 0}));
    ASSERT_TRUE(search.FindNext());
    EXPECT_EQ(Caret(), (TTextPoint{8, 0}));
    EXPECT_FALSE(search.FindNext()); // the occurrence at 9 is outside

    prompt.errors.clear();
    options.Origin = soFromCursor;
    source.JumpTo(10, 0);
    EXPECT_FALSE(search.Find());
    EXPECT_EQ(prompt.errors,
        std::vector<std::string>{"Tried to search marked block from cursor but cursor is outside block."});
}

TEST_F(MemoSearchTest, ColumnarSelectionScopeTranslatesColumns)
{
    Load("ab ab\nxab ab\nab");
    source.SetOptions(source.Options() | soPersistentBlocks);
    source.SetSelection(TSelKind::selColumn, 1, 0, 4, 2); // columns 1..4 of every line
    options.Scope = ssSelectedText;
    options.TextToFind = "ab";
    std::vector<TTextPoint> carets;
    ASSERT_TRUE(search.Find());
    carets.push_back(Caret());
    while (search.FindNext() && carets.size() < 10) {
        carets.push_back(Caret());
    }
    EXPECT_EQ(carets, (std::vector<TTextPoint>{{5, 0}, {3, 1}}));

    options.Direction = sdBackward;
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{1, 1}));
}

TEST_F(MemoSearchTest, ReplaceAllIsOneUndoStep)
{
    Load("aaa\nxa");
    options.TextToFind = "a";
    options.ReplaceWith = "b";
    options.ReplaceAll = true;
    EXPECT_TRUE(search.Replace());
    EXPECT_EQ(search.ReplaceCount(), 4);
    EXPECT_EQ(Text(), "bbb\nxb");
    EXPECT_FALSE(source.FoundVisible());
    source.Undo();
    EXPECT_EQ(Text(), "aaa\nxa");
    EXPECT_FALSE(source.UndoAvailable());
}

TEST_F(MemoSearchTest, ReplaceWithNothingLeavesTheCaretAtEachOccurrence)
{
    Load("xaxa");
    options.TextToFind = "a";
    ASSERT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "xxa");
    EXPECT_EQ(Caret(), (TTextPoint{1, 0}));
    ASSERT_TRUE(search.FindNext()); // repeats the replace
    EXPECT_EQ(Text(), "xx");
    EXPECT_EQ(Caret(), (TTextPoint{2, 0}));
}

TEST_F(MemoSearchTest, ReplaceBackwardKeepsTheCaretBeforeEachReplacement)
{
    Load("ab ab ab");
    source.JumpTo(8, 0);
    options.Direction = sdBackward;
    options.Origin = soFromCursor;
    options.TextToFind = "ab";
    options.ReplaceWith = "xyz";
    ASSERT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "ab ab xyz");
    EXPECT_EQ(Caret(), (TTextPoint{6, 0}));
    options.ReplaceAll = true;
    ASSERT_TRUE(search.FindNext());
    EXPECT_EQ(Text(), "xyz xyz xyz");
}

TEST_F(MemoSearchTest, PromptAnswers)
{
    Load("a a a a a");
    options.TextToFind = "a";
    options.ReplaceWith = "b";
    options.PromptOnReplace = true;
    options.ReplaceAll = true;
    prompt.answers = {TReplaceAnswer::No, TReplaceAnswer::No, TReplaceAnswer::No, TReplaceAnswer::Cancel};
    EXPECT_FALSE(search.Replace());
    EXPECT_EQ(Text(), "a a a a a");
    EXPECT_EQ(prompt.questions.size(), 4u);
    EXPECT_EQ(prompt.questions.front(), "Replace this occurence of \"a\"?");

    // Yes replaces one; All replaces the rest as a single undo step.
    options.ReplaceAll = false;
    prompt.answers = {TReplaceAnswer::Yes};
    EXPECT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "b a a a a");
    prompt.answers = {TReplaceAnswer::No};
    EXPECT_TRUE(search.FindNext());
    prompt.answers = {TReplaceAnswer::All};
    EXPECT_TRUE(search.FindNext());
    EXPECT_EQ(Text(), "b a b b b");
    EXPECT_FALSE(options.PromptOnReplace);
    EXPECT_TRUE(options.ReplaceAll);
    source.Undo();
    EXPECT_EQ(Text(), "b a a a a");
}

TEST_F(MemoSearchTest, ReadOnlyDocumentsAndLinesAreNotChanged)
{
    Load("a\na\na");
    options.TextToFind = "a";
    options.ReplaceWith = "b";
    options.ReplaceAll = true;
    source.SetReadOnly(true);
    EXPECT_FALSE(search.Replace());
    EXPECT_EQ(Text(), "a\na\na");

    source.SetReadOnly(false);
    source.SetLineState(1, lsReadOnly, true);
    EXPECT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "b\na\nb");
    EXPECT_EQ(search.ReplaceCount(), 2);
}

// Patterns that match empty must not replace forever, and a new series must
// not skip a match sitting at its start.
TEST_F(MemoSearchTest, ReplaceAllWithEmptyMatchesStopsAtTheEnd)
{
    Load("ab\nc");
    options.RegularExpr = true;
    options.TextToFind = "x*";
    options.ReplaceWith = "-";
    options.ReplaceAll = true;
    EXPECT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "-a-b-\n-c-");

    Load("one\ntwo");
    options.TextToFind = "^";
    options.ReplaceWith = "// ";
    EXPECT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "// one\n// two");
}

TEST_F(MemoSearchTest, SearchesNulBytesAndTabs)
{
    Load(std::string("a\0b\n\tx", 6));
    options.TextToFind = std::string("\0b", 2);
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{3, 0}));
    options.TextToFind = "x";
    ASSERT_TRUE(search.Find());
    EXPECT_EQ(Caret(), (TTextPoint{10, 1})); // display columns: the tab reaches column 9
}

// A match that begins or ends inside a tab's span replaces the tab; the rest
// of the span stays as blanks.
TEST_F(MemoSearchTest, ReplaceAcrossTabSpans)
{
    source.SetOptions(source.Options() | soUseTabCharacter);
    Load("\tx\nab\tcd");
    options.ReplaceAll = true;
    options.TextToFind = "  x";
    options.ReplaceWith = "y";
    ASSERT_TRUE(search.Replace());
    options.TextToFind = "b   ";
    options.ReplaceWith = "Q";
    ASSERT_TRUE(search.Replace());
    EXPECT_EQ(Text(), "       y\naQ    cd");
    EXPECT_EQ(Caret(), (TTextPoint{2, 1}));
}

TEST_F(MemoSearchTest, SmartSearchOptionsAndSeriesRules)
{
    Load("alpha beta");
    source.JumpTo(7, 0);
    search.SmartSearchOptions();
    EXPECT_EQ(options.TextToFind, "beta");
    EXPECT_EQ(options.Scope, ssGlobal);
    source.JumpTo(5, 0);
    source.SetSelection(TSelKind::selStream, 0, 0, 5, 0);
    search.SmartSearchOptions();
    EXPECT_EQ(options.Scope, ssSelectedText);

    options.FirstSearch = true; // a series that never ran: Find Next waits for Find
    EXPECT_FALSE(search.FindNext());
}

} // namespace
} // namespace quillet

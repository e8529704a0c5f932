// Keys pressed through real key events on a freshly loaded plain document of
// 2,000,000 lines: each key leaves the document and the view exactly where
// they should be, with the caret on screen, and far jumps leave the lines in
// between untouched (nothing is coloured or allocated for them).
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QTest>

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

constexpr int kLines = 2'000'000;

// "L<n>" and words; every 1000th line is long enough to wrap several times
// and every 50th holds a URL.
std::string LineText(int line)
{
    std::string text = "L" + std::to_string(line);
    const int words = line % 1000 == 999 ? 80 : line % 9;
    for (int w = 0; w < words; ++w) {
        text += w % 3 == 0 ? " alpha" : w % 3 == 1 ? " beta" : " gamma";
    }
    if (line % 50 == 7) {
        text += " http://example.org/x";
    }
    return text;
}

const std::string& Document()
{
    static const std::string text = [] {
        std::string all;
        all.reserve(static_cast<std::size_t>(kLines) * 36);
        for (int line = 0; line < kLines; ++line) {
            all += LineText(line);
            all += '\n';
        }
        return all;
    }();
    return text;
}

class LargeDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TChildForm();
        form->resize(900, 500);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        Source().SetHighlightUrls(true);
        Source().LoadFromText(Document(), false);
        Memo().setFocus();
        Memo().MakeActive();
        Memo().viewport()->repaint();
        ASSERT_EQ(Source().GetStrCount(), kLines);
    }
    void TearDown() override
    {
        Source().SetModified(false);
        delete form;
    }

    TTarnMemo& Memo() { return form->Memo(); }
    TMemoSource& Source() { return form->MemoSource(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&Memo(), key, mods);
        Memo().viewport()->repaint();
    }

    // The caret is at (col, line) and its cell lies inside the viewport.
    void ExpectCaretShownAt(int col, int line)
    {
        EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{col, line}));
        const QRect caret = Memo().CaretRect();
        EXPECT_FALSE(caret.isEmpty()) << "caret off screen";
        EXPECT_TRUE(Memo().viewport()->rect().contains(caret)) << "caret cut by the viewport edge";
    }
    // Lines far from every screen shown so far were neither coloured nor given
    // per-line data.
    void ExpectUntouched(int line)
    {
        EXPECT_FALSE(Source().IsLineParsed(line)) << line;
        EXPECT_EQ(Source().Store().Rec(static_cast<std::size_t>(line)).Extra(), nullptr) << line;
    }

    TChildForm* form = nullptr;
};

TEST_F(LargeDocumentTest, CtrlEndCtrlHomeAndPageDownAtTheEnd)
{
    const int last = kLines - 1;
    const int lastLength = static_cast<int>(LineText(last).size());
    Key(Qt::Key_End, Qt::ControlModifier);
    ExpectCaretShownAt(lastLength, last);
    EXPECT_EQ(Memo().TopLine(), kLines - Memo().PageRows()) << "the last page is full";
    EXPECT_TRUE(Source().IsLineParsed(last));
    for (int line : {100, kLines / 2, last - 500}) {
        ExpectUntouched(line);
    }

    const int top = Memo().TopLine();
    Key(Qt::Key_PageDown);
    ExpectCaretShownAt(lastLength, last);
    EXPECT_EQ(Memo().TopLine(), top);

    Key(Qt::Key_Home, Qt::ControlModifier);
    ExpectCaretShownAt(0, 0);
    EXPECT_EQ(Memo().TopLine(), 0);
    ExpectUntouched(kLines / 2);
    EXPECT_FALSE(Source().Modified());
}

TEST_F(LargeDocumentTest, GoToAFarLineCentresIt)
{
    const int line = 1'499'999;
    Memo().CenteredJumpTo(0, line);
    Memo().viewport()->repaint();
    ExpectCaretShownAt(0, line);
    EXPECT_EQ(Memo().TopLine(), line - Memo().PageRows() / 2);
    EXPECT_EQ(Source().GetRawLine(line), LineText(line));
    ExpectUntouched(line - 10'000);
    ExpectUntouched(line + 10'000);
}

TEST_F(LargeDocumentTest, FirstEnterInTheMiddleSplitsOneLine)
{
    const int line = kLines / 2 + 3; // "L1000003 alpha beta gamma alpha"
    const std::string text = LineText(line);
    Memo().CenteredJumpTo(10, line);
    Key(Qt::Key_Return);
    EXPECT_EQ(Source().GetStrCount(), kLines + 1);
    EXPECT_EQ(Source().GetRawLine(line), text.substr(0, 10));
    EXPECT_EQ(Source().GetRawLine(line + 1), text.substr(10));
    EXPECT_EQ(Source().GetRawLine(line - 1), LineText(line - 1));
    EXPECT_EQ(Source().GetRawLine(line + 2), LineText(line + 1));
    EXPECT_EQ(Source().GetRawLine(kLines), LineText(kLines - 1));
    ExpectCaretShownAt(0, line + 1);
    EXPECT_TRUE(Source().Modified());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Source().GetStrCount(), kLines);
    EXPECT_EQ(Source().GetRawLine(line), text);
    ExpectCaretShownAt(10, line);
    ExpectUntouched(1000);
}

TEST_F(LargeDocumentTest, FirstTypedCharacterFarDownChangesOnlyItsLine)
{
    const int line = kLines - 20;
    Memo().CenteredJumpTo(2, line);
    QTest::keyClicks(&Memo(), "xy");
    Memo().viewport()->repaint();
    const std::string text = LineText(line);
    EXPECT_EQ(Source().GetRawLine(line), text.substr(0, 2) + "xy" + text.substr(2));
    EXPECT_EQ(Source().GetRawLine(line + 1), LineText(line + 1));
    EXPECT_EQ(Source().GetStrCount(), kLines);
    ExpectCaretShownAt(4, line);
    ExpectUntouched(kLines / 2);
}

TEST_F(LargeDocumentTest, WordWrapThenCtrlEndShowsTheLastRow)
{
    form->ToggleWordWrap();
    ASSERT_TRUE(Memo().WordWrap());
    // The last line is one of the long ones, wrapped over several rows.
    const int last = kLines - 1;
    ASSERT_EQ(last % 1000, 999);
    Key(Qt::Key_End, Qt::ControlModifier);
    ExpectCaretShownAt(static_cast<int>(LineText(last).size()), last);
    EXPECT_LT(Memo().TopLine(), last) << "rows of the lines above fill the page";
    ExpectUntouched(kLines / 2);

    Key(Qt::Key_Home, Qt::ControlModifier);
    ExpectCaretShownAt(0, 0);
    EXPECT_EQ(Memo().TopLine(), 0);
    EXPECT_EQ(Memo().TopSubRow(), 0);
}

} // namespace
} // namespace quillet

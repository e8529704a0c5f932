// Drives the real editor view with key and mouse events and checks the buffer
// and the painted geometry.
#include "text/ui/TarnMemo.h"

#include "platform/fake/FakeClipboard.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quillet {
namespace {

class TarnMemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_memo = std::make_unique<TTarnMemo>();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        m_memo->SetEditorFont(font);
        m_memo->resize(420, 300);
        m_memo->show();
        m_memo->activateWindow();
        m_memo->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_memo.get()));
        m_memo->MakeActive();
        m_memo->MemoSource().SetClipboard(&m_clipboard);
    }

    TMemoSource& Source() { return m_memo->MemoSource(); }
    std::string Line(int i) { return std::string(Source().GetRawLine(i)); }
    void Load(std::string_view text) { Source().LoadFromText(text); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(m_memo.get(), key, mods); }
    QWidget* Port() { return m_memo->viewport(); }
    // Viewport position of the middle of a character cell's left edge.
    QPoint At(int col, int line)
    {
        const auto p = m_memo->TextToPixelPoint({col, line});
        EXPECT_TRUE(p.has_value());
        return p.value_or(QPoint()) + QPoint(1, m_memo->LineHeight() / 2);
    }
    static std::string Plain(std::string text)
    {
        std::erase(text, '\r');
        return text;
    }
    QImage Render()
    {
        QImage image(m_memo->viewport()->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        m_memo->PaintArea(painter, image.rect());
        return image;
    }

    TFakeClipboard m_clipboard;
    std::unique_ptr<TTarnMemo> m_memo;
};

TEST_F(TarnMemoTest, EditorFontResolves)
{
    EXPECT_FALSE(QFontInfo(m_memo->EditorFont()).family().isEmpty());
    EXPECT_GT(m_memo->CharWidth(), 0);
}

TEST_F(TarnMemoTest, TypingEditsTheBuffer)
{
    Load("");
    QTest::keyClicks(m_memo.get(), "hello");
    EXPECT_EQ(Line(0), "hello");
    Key(Qt::Key_Return);
    QTest::keyClicks(m_memo.get(), "x");
    Key(Qt::Key_Backspace);
    QTest::keyClicks(m_memo.get(), "world");
    ASSERT_EQ(Source().GetStrCount(), 2);
    EXPECT_EQ(Line(1), "world");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_NE(Line(1), "world");
    Key(Qt::Key_Up);
    Key(Qt::Key_Home);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{0, 0}));
}

TEST_F(TarnMemoTest, PrefixKeysMarkABlockAndUnboundKeyEndsPrefix)
{
    Load("abcdef\nghijkl\n");
    Key(Qt::Key_Right);
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_B);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_K);
    ASSERT_EQ(Source().SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(Source().GetSelectedText().substr(0, 5), "bcdef");

    // Ctrl+K then X: no command runs and no "x" is typed.
    Key(Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(m_memo.get(), 'x');
    EXPECT_EQ(Line(0), "abcdef");
    EXPECT_EQ(Line(1), "ghijkl");
    QTest::keyClick(m_memo.get(), 'x'); // the prefix is over
    EXPECT_NE(Line(1), "ghijkl");
}

TEST_F(TarnMemoTest, KeyboardSelectionsOfBothKinds)
{
    Load("0123456789\n0123456789\n0123456789\n");
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Source().SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(Plain(Source().GetSelectedText()), "0123456789\n01");

    Key(Qt::Key_Home);
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    ASSERT_EQ(Source().SelectionKind(), TSelKind::selColumn);
    const auto lines = Source().GetSelectionStrings();
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& l : lines) {
        EXPECT_EQ(l, "123"); // columns 1 to 3, both ends included
    }
}

TEST_F(TarnMemoTest, MouseSelectionsOfBothKindsAndShiftClick)
{
    Load("alpha beta gamma\nsecond line here\nthird line text\n");
    QTest::mousePress(Port(), Qt::LeftButton, {}, At(2, 0));
    QTest::mouseMove(Port(), At(4, 1));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, At(4, 1));
    ASSERT_EQ(Source().SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(Plain(Source().GetSelectedText()), "pha beta gamma\nseco");

    // Shift+click extends the selection to the click.
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::ShiftModifier, At(6, 2));
    EXPECT_EQ(Source().SelEnd(), (TTextPoint{6, 2}));
    EXPECT_EQ(Source().SelStart(), (TTextPoint{2, 0}));

    // Alt-drag makes a columnar selection.
    QTest::mousePress(Port(), Qt::LeftButton, Qt::AltModifier, At(1, 0));
    QTest::mouseMove(Port(), At(4, 2));
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::AltModifier, At(4, 2));
    ASSERT_EQ(Source().SelectionKind(), TSelKind::selColumn);
    const auto lines = Source().GetSelectionStrings();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "lpha"); // columns 1 to 4, both ends included
    EXPECT_EQ(lines[2], "hird");
}

TEST_F(TarnMemoTest, SelectingBelowTheWindowKeepsScrolling)
{
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "row " + std::to_string(i) + "\n";
    }
    Load(text);
    QTest::mousePress(Port(), Qt::LeftButton, {}, At(1, 0));
    QTest::mouseMove(Port(), QPoint(40, Port()->height() + 30));
    const int firstTop = m_memo->TopLine();
    QTest::qWait(300); // the 30 ms timer keeps extending while the pointer stays outside
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(40, Port()->height() + 30));
    EXPECT_GT(m_memo->TopLine(), firstTop);
    EXPECT_EQ(Source().SelectionKind(), TSelKind::selStream);
    EXPECT_EQ(Source().SelStart(), (TTextPoint{1, 0}));
    EXPECT_GE(Source().GetCurLine(), m_memo->TopLine() + m_memo->PageRows() - 1);
}

TEST_F(TarnMemoTest, DoubleClickSelectsWordAndTripleClickTheLine)
{
    m_memo->SetOption(moTripleClick, true);
    Load("one two three\nnext\n");
    QTest::mouseDClick(Port(), Qt::LeftButton, {}, At(5, 0));
    EXPECT_EQ(Source().GetSelectedText(), "two");
    QTest::mouseClick(Port(), Qt::LeftButton, {}, At(5, 0));
    EXPECT_EQ(Source().GetSelectedText().substr(0, 13), "one two three");
}

TEST_F(TarnMemoTest, DragAndDropMovesCopiesAndIgnoresDropOnItself)
{
    Load("abc def\nxyz\n");
    Source().SetSelection(TSelKind::selStream, 0, 0, 3, 0); // "abc"
    ASSERT_EQ(Source().GetSelectedText(), "abc");

    // Released inside the selection: nothing changes, the selection goes.
    QTest::mousePress(Port(), Qt::LeftButton, {}, At(1, 0));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, At(1, 0));
    EXPECT_EQ(Line(0), "abc def");
    EXPECT_FALSE(Source().HasSelection());

    // Ctrl held at release copies.
    Source().SetSelection(TSelKind::selStream, 0, 0, 3, 0);
    QTest::mousePress(Port(), Qt::LeftButton, {}, At(1, 0));
    QTest::mouseMove(Port(), At(3, 1));
    QTest::mouseRelease(Port(), Qt::LeftButton, Qt::ControlModifier, At(3, 1));
    EXPECT_EQ(Line(0), "abc def");
    EXPECT_EQ(Line(1), "xyzabc");

    // Without Ctrl the text moves.
    Source().SetSelection(TSelKind::selStream, 4, 0, 7, 0); // "def"
    QTest::mousePress(Port(), Qt::LeftButton, {}, At(5, 0));
    QTest::mouseMove(Port(), At(0, 1));
    QTest::mouseRelease(Port(), Qt::LeftButton, {}, At(0, 1));
    EXPECT_EQ(Line(0), "abc"); // the buffer drops the trailing blank
    EXPECT_EQ(Line(1), "defxyzabc");
}

TEST_F(TarnMemoTest, WordWrapRowsAndNavigation)
{
    // Rows of 10 columns: wrap at the margin.
    m_memo->SetOption(moBreakWordAtMargin, true);
    m_memo->SetMarginPos(10);
    m_memo->SetWordWrap(true);
    Load("aaaa bbbb cccc\n0123456789abcdefghijXY\nend\n");
    const int lh = m_memo->LineHeight();

    // Line 0 shows as two rows, so line 1 starts on row 2 and line 2 on row 5.
    EXPECT_EQ(m_memo->TextToPixelPoint({0, 1})->y(), 2 * lh);
    EXPECT_EQ(m_memo->TextToPixelPoint({10, 0})->y(), lh); // "cccc" on the second row
    EXPECT_EQ(m_memo->TextToPixelPoint({0, 2})->y(), 5 * lh);
    EXPECT_EQ(m_memo->TextToPixelPoint({2, 0})->x(), m_memo->TextToPixelPoint({12, 0})->x());

    // Down moves by visual rows inside a line, keeping the x position.
    Source().JumpTo(2, 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{12, 0}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{2, 1}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{12, 1}));
    // End goes to the end of the visual row, Home to its start.
    Key(Qt::Key_End);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{19, 1}));
    Key(Qt::Key_Home);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{10, 1}));
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{10, 0}));

    // The caret is painted on its row.
    m_memo->setFocus();
    EXPECT_EQ(m_memo->CaretRect().top(), lh);
}

TEST_F(TarnMemoTest, LineNumberColumnGrowsWhenTheWindowShowsLineTen)
{
    m_memo->SetOptions(moLineNumbers | moDrawGutter);
    m_memo->SetGutterWidth(20);
    Load("1\n2\n3\n4\n5\n6\n7\n8\n9");
    ASSERT_GT(m_memo->PageRows(), 10);
    const int cw = m_memo->CharWidth();
    EXPECT_EQ(m_memo->Layout().lineNumWidth, 3 * cw); // two digits + 1
    m_memo->SetOption(moLimitLineNumbers, true);
    EXPECT_EQ(m_memo->Layout().lineNumWidth, 2 * cw);
    EXPECT_EQ(m_memo->Layout().textLeft, 20 + 2 * cw);
}

TEST_F(TarnMemoTest, MousePointAndPixelPointAgree)
{
    Load("\tab\tcd\nxy\n");
    for (TTextPoint p : {TTextPoint{0, 0}, TTextPoint{8, 0}, TTextPoint{9, 0}, TTextPoint{1, 1}}) {
        const QPoint px = *m_memo->TextToPixelPoint(p);
        EXPECT_EQ(m_memo->MouseToTextPoint(px + QPoint(1, 1)), p) << p.col << "," << p.line;
    }
}

TEST_F(TarnMemoTest, HorizontalRangeReachesTheLongestLine)
{
    m_memo->SetHorzMaxPos(100);
    Load(std::string(2000, 'x') + "\nshort\n");
    EXPECT_GE(m_memo->horizontalScrollBar()->maximum() + m_memo->VisibleColumns(), 2000);
    Source().JumpTo(1999, 0);
    m_memo->EnsureCaretVisible();
    EXPECT_TRUE(m_memo->TextToPixelPoint({1999, 0}).has_value());
    EXPECT_LT(m_memo->TextToPixelPoint({1999, 0})->x(), m_memo->viewport()->width());
}

TEST_F(TarnMemoTest, HotStringsOpenAsUrls)
{
    Source().SetHighlightUrls(true);
    Load("mail user@example.com now\nsee www.example.org here\n");
    std::vector<std::string> opened;
    m_memo->OnOpenUrl = [&](const std::string& url) {
        opened.push_back(url);
    };
    QTest::mouseClick(Port(), Qt::LeftButton, {}, At(8, 0));
    QTest::mouseClick(Port(), Qt::LeftButton, {}, At(7, 1));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], "mailto:user@example.com");
    EXPECT_EQ(opened[1], "http://www.example.org");
}

TEST_F(TarnMemoTest, BreakpointToggleSetsImageAndLineStyle)
{
    m_memo->SetGutterImages(TTarnMemo::StandardGutterImages(12));
    Load("one\ntwo\n");
    Source().JumpTo(0, 1);
    const int image = m_memo->GutterImageIndex("BreakPoint");
    m_memo->ToggleImageAndTextStyle("BreakPoint");
    EXPECT_TRUE(Source().GetImageBit(1, image));
    EXPECT_EQ(Source().GetLineTextStyle(1), kStyleBreakPoint);
    // The whole row is painted in the breakpoint background.
    const QImage shot = Render();
    const int y = m_memo->TextToPixelPoint({0, 1})->y() + 1;
    EXPECT_EQ(shot.pixelColor(m_memo->viewport()->width() - 5, y), ToQColor(m_memo->TextStyles()[13].color));
    m_memo->ToggleImageAndTextStyle("BreakPoint");
    EXPECT_FALSE(Source().GetImageBit(1, image));
    EXPECT_EQ(Source().GetLineTextStyle(1), 0);
    // Missing image: nothing happens.
    m_memo->SetGutterImages({});
    m_memo->ToggleImageAndTextStyle("BreakPoint");
    EXPECT_EQ(Source().GetLineTextStyle(1), 0);
}

TEST_F(TarnMemoTest, BadInputPaintsWithoutHanging)
{
    std::string all;
    for (int c = 0; c < 256; ++c) {
        if (c != '\n' && c != '\r') {
            all.push_back(static_cast<char>(c));
        }
    }
    const std::string text = std::string(10'000'000, 'q') + "\n" + std::string(100'000, '\t') + "x\n" + all + "\n";
    Load(text);
    m_memo->SetOption(moDrawSpecialSymbols, true);
    Render();
    Source().JumpTo(0, 1);
    Key(Qt::Key_End);
    Render();
    m_memo->SetWordWrap(true);
    Render();
    m_memo->SetUseMonoFont(false);
    Render();
    // A font that is not monospaced, measured glyph by glyph.
    QFont proportional(QStringLiteral("DejaVu Sans"));
    proportional.setPixelSize(13);
    m_memo->SetEditorFont(proportional);
    Source().JumpTo(5'000'000, 0);
    QTest::keyClicks(m_memo.get(), "ab");
    Render();
    m_memo->resize(1, 1);
    QApplication::processEvents();
    Render();
    Key(Qt::Key_Down);
    Key(Qt::Key_PageDown);
    Render();
    EXPECT_EQ(Source().GetRawLine(0).size(), 10'000'002u);
    EXPECT_EQ(Source().GetRawLine(0).substr(5'000'000, 3), "abq");
    EXPECT_EQ(Source().GetRawLine(2), all);
}

TEST_F(TarnMemoTest, SelectionIsPaintedInSelectionColours)
{
    Load("abcdefgh\nijkl\n");
    Source().SetSelection(TSelKind::selStream, 2, 0, 2, 1);
    const QImage shot = Render();
    const QColor selBack = ToQColor(m_memo->Colors().selBack);
    const QPoint inside = *m_memo->TextToPixelPoint({5, 0}) + QPoint(1, 1);
    const QPoint before = *m_memo->TextToPixelPoint({0, 0}) + QPoint(1, 1);
    const QPoint pastEnd(m_memo->viewport()->width() - 3, inside.y()); // stream runs to the edge
    EXPECT_EQ(shot.pixelColor(inside), selBack);
    EXPECT_NE(shot.pixelColor(before), selBack);
    EXPECT_EQ(shot.pixelColor(pastEnd), selBack);
    m_memo->SetOption(moSelectOnlyText, true);
    EXPECT_NE(Render().pixelColor(pastEnd), selBack);
}

// Records the regions the viewport is asked to paint.
class TPaintSpy : public QObject {
public:
    explicit TPaintSpy(QWidget* target)
        : m_target(target)
    {
        target->installEventFilter(this);
    }
    ~TPaintSpy() override { m_target->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return QObject::eventFilter(watched, event);
    }
    QRegion painted;

private:
    QWidget* m_target;
};

// An ordinary keystroke repaints the edited row (caret included), not the
// window; a new line repaints what moved below it.
TEST_F(TarnMemoTest, KeystrokeRepaintsOnlyTheEditedRow)
{
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "line " + std::to_string(i) + " (text)\n";
    }
    Load(text);
    Source().JumpTo(3, 5);
    m_memo->EnsureCaretVisible();
    QApplication::processEvents();
    TPaintSpy spy(Port());
    Key(Qt::Key_X);
    QApplication::sendPostedEvents(m_memo->window(), QEvent::UpdateRequest);
    QApplication::processEvents();
    const int rowTop = m_memo->TextToPixelPoint({0, 5})->y();
    EXPECT_EQ(Line(5), "linxe 5 (text)");
    EXPECT_FALSE(spy.painted.isEmpty());
    EXPECT_GE(spy.painted.boundingRect().top(), rowTop - 1);
    EXPECT_LE(spy.painted.boundingRect().bottom(), rowTop + m_memo->LineHeight());

    // With the current-line highlight, moving down repaints the two lines.
    TLineHighlight highlight;
    highlight.visible = true;
    m_memo->SetLineHighlight(highlight);
    QApplication::processEvents();
    spy.painted = QRegion();
    Key(Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_TRUE(spy.painted.contains(QPoint(m_memo->viewport()->width() - 2, rowTop + 1)));
    EXPECT_TRUE(spy.painted.contains(QPoint(m_memo->viewport()->width() - 2, rowTop + m_memo->LineHeight() + 1)));
    EXPECT_LT(spy.painted.boundingRect().height(), 3 * m_memo->LineHeight());

    spy.painted = QRegion();
    Key(Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_GE(spy.painted.boundingRect().bottom(), m_memo->viewport()->height() - m_memo->LineHeight());
}

// The owner's hooks: vertical scrolling, drawing over rows and gutter cells,
// annotations after the line end and the scroll hint text.
TEST_F(TarnMemoTest, OwnerHooksFireWhenTheViewDoesTheirPart)
{
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "row " + std::to_string(i) + "\n";
    }
    Load(text);
    m_memo->SetGutterImages(TTarnMemo::StandardGutterImages(12));
    m_memo->SetOption(moShowScrollHint, true);
    m_memo->SetOption(moLineNumbers, false); // the gutter shows images only

    std::vector<int> scrolled;
    m_memo->OnVerticalScroll = [&](TTarnMemo&, int rows) {
        scrolled.push_back(rows);
    };
    m_memo->ScrollRows(3);
    m_memo->SetLeftColumn(2); // horizontal only: not reported
    m_memo->ScrollRows(-1);
    EXPECT_EQ(scrolled, (std::vector<int>{3, -1}));

    std::vector<int> drawnRows;
    std::vector<int> gutterLines;
    m_memo->OnCustomDraw = [&](TTarnMemo&, QPainter& p, const QRect& row, int line, int) {
        drawnRows.push_back(line);
        if (line == 4) {
            p.fillRect(row, Qt::magenta);
        }
    };
    m_memo->OnDrawGutter = [&](TTarnMemo&, QPainter&, const QRect&, int line, bool& handled) {
        gutterLines.push_back(line);
        handled = line == 2; // the breakpoint image of line 2 is left out
    };
    m_memo->OnCustomString = [](TTarnMemo&, int line, QString& extra) {
        if (line == 3) {
            extra = QStringLiteral("NOTE NOTE NOTE");
        }
    };
    m_memo->SetLeftColumn(0);
    Source().SetImageBit(2, m_memo->GutterImageIndex("BreakPoint"), true);
    const QImage shot = Render();
    ASSERT_FALSE(drawnRows.empty());
    EXPECT_EQ(drawnRows.front(), m_memo->TopLine());
    EXPECT_EQ(drawnRows, gutterLines);
    const int y4 = m_memo->TextToPixelPoint({0, 4})->y() + m_memo->LineHeight() / 2;
    EXPECT_EQ(shot.pixelColor(m_memo->viewport()->width() - 3, y4), QColor(Qt::magenta));
    // Nothing of the breakpoint image in line 2's gutter cell.
    const int y2 = m_memo->TextToPixelPoint({0, 2})->y();
    const QColor gutter = ToQColor(m_memo->Colors().gutterBack);
    for (int x = 0; x < m_memo->Layout().gutterWidth - 2; ++x) {
        EXPECT_EQ(shot.pixelColor(x, y2 + m_memo->LineHeight() / 2), gutter) << x;
    }
    // The annotation is drawn after the text of line 3 only.
    auto inkRight = [&](const QImage& image, int line) {
        const int y = m_memo->TextToPixelPoint({0, line})->y();
        int last = -1;
        for (int x = m_memo->Layout().textLeft; x < image.width(); ++x) {
            for (int dy = 0; dy < m_memo->LineHeight(); ++dy) {
                if (image.pixelColor(x, y + dy) != ToQColor(m_memo->Colors().back)) {
                    last = x;
                }
            }
        }
        return last;
    };
    EXPECT_GT(inkRight(shot, 3), inkRight(shot, 5) + 10 * m_memo->CharWidth());

    std::vector<QString> hints;
    m_memo->OnHintPopup = [&](TTarnMemo&, QString& hint) {
        hints.push_back(hint);
        hint.clear();
    };
    QScrollBar* bar = m_memo->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(10);
    bar->setSliderDown(false);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back(), QStringLiteral("Line 11"));
}

// Gutter images from the left edge or from the right edge; a click reports
// the image under the pointer either way.
TEST_F(TarnMemoTest, GutterImagesAlignLeftOrRight)
{
    Load("one\ntwo\n");
    m_memo->SetOption(moLineNumbers, false);
    m_memo->SetGutterWidth(40);
    m_memo->SetGutterImages(TTarnMemo::StandardGutterImages(12));
    const int breakPoint = m_memo->GutterImageIndex("BreakPoint");
    Source().SetImageBit(1, breakPoint, true);
    Source().JumpTo(0, 1);
    Source().SetBookMark(3);
    const auto left = m_memo->GutterImagesOf(1);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], std::make_pair(breakPoint, 0));
    EXPECT_EQ(left[1].first, m_memo->GutterImageIndex("Bookmark3"));

    m_memo->SetGutterImagesAlign(TGutterImagesAlign::Right);
    const auto right = m_memo->GutterImagesOf(1);
    ASSERT_EQ(right.size(), 2u);
    const int size = right[0].second - right[1].second;
    EXPECT_GT(size, 0);
    EXPECT_EQ(right[0].second + size, m_memo->Layout().gutterWidth - 1);

    std::vector<int> clicked;
    m_memo->OnClickGutter = [&](TTarnMemo&, int line, int image, int) {
        EXPECT_EQ(line, 1);
        clicked.push_back(image);
    };
    const int y = m_memo->TextToPixelPoint({0, 1})->y() + m_memo->LineHeight() / 2;
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(right[0].second + 1, y));
    QTest::mouseClick(Port(), Qt::LeftButton, Qt::NoModifier, QPoint(2, y));
    EXPECT_EQ(clicked, (std::vector<int>{breakPoint, -1}));
}

// A hot string's underline runs under its own characters, whole, and nowhere else.
TEST_F(TarnMemoTest, HotStringUnderlineStaysUnderItsText)
{
    Source().SetHighlightUrls(true);
    Load("see www.example.org now\n");
    const QImage shot = Render();
    const QColor url = ToQColor(m_memo->TextStyles()[kStyleUrl].fontColor);
    const int left = m_memo->TextToPixelPoint({4, 0})->x();
    const int right = m_memo->TextToPixelPoint({19, 0})->x();
    const int top = m_memo->TextToPixelPoint({4, 0})->y();
    bool underlined = false;
    for (int y = top; y < top + m_memo->LineHeight() && !underlined; ++y) {
        bool whole = true;
        for (int x = left + 1; x < right - 1 && whole; ++x) {
            whole = shot.pixelColor(x, y) == url;
        }
        underlined = whole;
    }
    EXPECT_TRUE(underlined);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < m_memo->Layout().textLeft; ++x) {
            ASSERT_NE(shot.pixelColor(x, y), url) << x << "," << y;
        }
        for (int x = m_memo->TextToPixelPoint({21, 0})->x(); x < shot.width(); ++x) {
            ASSERT_NE(shot.pixelColor(x, y), url) << x << "," << y;
        }
    }
}

// Line-end and end-of-file symbols are drawn in the look of attribute byte 0.
TEST_F(TarnMemoTest, SpecialSymbolsTakeTheLookOfAttributeZero)
{
    Load("ab\ncd");
    std::vector<TMemoTextStyle> styles = m_memo->TextStyles();
    styles[0].fontColor = 0x0000FF; // pure red
    m_memo->SetTextStyles(styles);
    m_memo->SetOption(moColorSyntax, true);
    m_memo->SetOption(moDrawSpecialSymbols, true);
    const QImage shot = Render();
    for (int line = 0; line < 3; ++line) {
        // The end-of-file symbol stands on the row after the last line.
        const QPoint from = line < 2 ? At(2, line) : At(0, 1) + QPoint(0, m_memo->LineHeight());
        const int top = from.y() - m_memo->LineHeight() / 2;
        bool found = false;
        for (int y = top; y < top + m_memo->LineHeight() && !found; ++y) {
            for (int x = from.x() - 2; x < from.x() + 2 * m_memo->CharWidth() && !found; ++x) {
                const QColor c = shot.pixelColor(x, y); // thin glyphs are antialiased
                found = c.red() - c.green() > 60 && c.red() - c.blue() > 60;
            }
        }
        EXPECT_TRUE(found) << "no symbol in the colour of attribute 0 on row " << line;
    }
}

// The caret line's frame: lines above and below, or one line below.
TEST_F(TarnMemoTest, LineHighlightShapes)
{
    Load("alpha\nbeta\ngamma\n");
    Source().JumpTo(0, 1);
    TLineHighlight highlight;
    highlight.visible = true;
    highlight.brush = 0x00FFFF; // yellow
    highlight.pen = 0xFF0000; // blue
    m_memo->SetLineHighlight(highlight);
    const int x = m_memo->viewport()->width() - 4;
    const int top = m_memo->TextToPixelPoint({0, 1})->y();
    const int bottom = top + m_memo->LineHeight() - 1;
    QImage shot = Render();
    EXPECT_EQ(shot.pixelColor(x, top), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(x, bottom), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(x, top + m_memo->LineHeight() / 2), QColor(Qt::yellow));

    highlight.shape = TLineHighlightShape::SingleLine;
    m_memo->SetLineHighlight(highlight);
    shot = Render();
    EXPECT_EQ(shot.pixelColor(x, top), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(x, bottom), QColor(Qt::blue));
    // Other lines keep the view's background.
    EXPECT_EQ(shot.pixelColor(x, bottom + 3), ToQColor(m_memo->Colors().back));
}

TEST_F(TarnMemoTest, DefaultMenuOnlyWhenAskedAndEnabledByState)
{
    Load("alpha beta");
    QContextMenuEvent press(QContextMenuEvent::Mouse, At(2, 0), Port()->mapToGlobal(At(2, 0)));
    QApplication::sendEvent(Port(), &press);
    EXPECT_EQ(m_memo->findChild<QMenu*>(), nullptr) << "a view without its own menu shows none";

    m_memo->SetUseDefaultMenu(true);
    QApplication::sendEvent(Port(), &press);
    QMenu* shown = m_memo->findChild<QMenu*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    shown->hide();

    const auto enabled = [this] {
        std::string states;
        for (QAction* action : m_memo->PrepareDefaultMenu()->actions()) {
            if (!action->isSeparator()) {
                states += action->isEnabled() ? '1' : '0';
            }
        }
        return states; // Undo Cut Copy Paste Delete SelectAll
    };
    EXPECT_EQ(enabled(), "000001");
    Source().SetSelection(TSelKind::selStream, 0, 0, 5, 0);
    m_clipboard.SetText("x");
    EXPECT_EQ(enabled(), "011111");

    QMenu* menu = m_memo->PrepareDefaultMenu();
    menu->actions().at(2)->trigger(); // Cut
    EXPECT_EQ(Line(0), " beta");
    EXPECT_EQ(m_clipboard.GetText().value_or(""), "alpha");
    EXPECT_EQ(enabled(), "100101");

    Source().SetReadOnly(true);
    Source().SetSelection(TSelKind::selStream, 0, 0, 2, 0);
    EXPECT_EQ(enabled(), "001001");
}

} // namespace
} // namespace quillet

// Keys pressed through real key events on a large C++ document whose colours
// are still being worked out in idle time: the keys act at once, the document
// and the view end where they should, and once idle colouring is done every
// line carries exactly the colours of a full parse from the top.
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/SyntaxParser.h"
#include "syntax/TextStyles.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quillet {
namespace {

constexpr int kLines = 200000;

// C++ with block comments over two lines, strings with escapes, directives
// and numbers; one comment opened near the top closes only far down, so the
// states of most lines depend on it.
std::string GeneratedCpp()
{
    const char* const templates[] = {
        "#include <vector>",
        "#define LIMIT_%d (1 << %d) /* bit */",
        "// Function number %d: returns the sum.",
        "static inline int Sum%d(const std::vector<int>& v, int start = %d)",
        "{",
        "    for (int i = 0; i < %d; ++i) { start += v[i] * 0x%XU + %d.5e-3f; }",
        "    const char* message = \"value \\\"%d\\\" is\\tout of range\\n\";",
        "    /* A block comment that",
        "       runs over two lines: %d */",
        "    return start;",
        "}",
        "",
    };
    std::string text;
    char buffer[256];
    for (int line = 0; line < kLines; ++line) {
        const char* pattern = templates[line % std::size(templates)];
        if (line == 30) {
            pattern = "/* opened here, closed far below";
        } else if (line == kLines / 2) {
            pattern = "   closed: */ int after = %d;";
        }
        std::snprintf(buffer, sizeof buffer, pattern, line, line % 31, line % 7);
        text += buffer;
        if (line + 1 < kLines) {
            text += '\n';
        }
    }
    return text;
}

class LazyColouringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalog.LoadAll();
        context.catalog = &catalog;
        context.styles = &styles;
        form = new TChildForm();
        form->resize(800, 400);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
        form->Memo().SetOption(moColorSyntax, true);
        form->MemoSource().LoadFromText(GeneratedCpp());
        ASSERT_TRUE(ZmenSyntaxParser(*form, "C++.def", context));
        Memo().setFocus();
        Memo().viewport()->repaint();
    }
    void TearDown() override
    {
        form->MemoSource().SetModified(false);
        delete form;
    }

    TTarnMemo& Memo() { return form->Memo(); }
    TMemoSource& Source() { return form->MemoSource(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&Memo(), key, mods); }
    void Type(const char* text) { QTest::keyClicks(&Memo(), text); }

    // Paints, and checks that a far jump left colouring to idle time instead
    // of colouring every line before the screen at once.
    void ExpectColouringPending()
    {
        Memo().viewport()->repaint();
        EXPECT_TRUE(Memo().ColouringPending());
        EXPECT_LT(Source().ParsedUpTo(), Source().GetCurLine() - 1000);
        EXPECT_FALSE(Source().IsLineParsed(Source().GetCurLine())) << "no guessed colours are stored";
    }
    void WaitForIdleColouring()
    {
        for (int round = 0; round < 100000; ++round) {
            QCoreApplication::processEvents();
            if (!Memo().ColouringPending()) {
                Memo().viewport()->repaint();
                if (!Memo().ColouringPending()) {
                    return;
                }
            }
        }
        FAIL() << "idle colouring never finished";
    }
    void ExpectCaretLineShown()
    {
        const int line = Source().GetCurLine();
        EXPECT_LE(Memo().TopLine(), line);
        EXPECT_GT(Memo().TopLine() + Memo().PageRows(), line);
    }
    // Every line's style bytes against colouring the whole text from the top.
    void ExpectColoursOfFullParse()
    {
        TSyntaxParser* parser = DocumentParser(*form);
        ASSERT_NE(parser, nullptr);
        std::uint32_t state = 0;
        std::vector<std::uint8_t> attrs;
        for (int line = 0; line < Source().GetStrCount(); ++line) {
            state = parser->ColorString(Source().GetRawLine(line), state, attrs);
            const std::string expected(attrs.begin(), attrs.end());
            ASSERT_EQ(Source().GetRawColorData(line), expected) << "line " << line;
        }
    }

    TSchemeCatalog catalog{{test::DataPath("../..")}};
    TTextStyles styles;
    TSyntaxContext context;
    TChildForm* form = nullptr;
};

TEST_F(LazyColouringTest, TypingAtTheEndRightAfterCtrlEnd)
{
    const int last = Source().GetStrCount() - 1;
    const std::string lastLine(Source().GetRawLine(last));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{static_cast<int>(lastLine.size()), last}));
    ExpectColouringPending();
    ExpectCaretLineShown();
    Type("x;");
    Key(Qt::Key_Return);
    Type("/* tail");
    EXPECT_EQ(Source().GetStrCount(), last + 2);
    EXPECT_EQ(Source().GetRawLine(last), lastLine + "x;");
    EXPECT_TRUE(Source().GetRawLine(last + 1).ends_with("/* tail")) << "after the indentation";
    ExpectCaretLineShown();
    WaitForIdleColouring();
    ExpectColoursOfFullParse();
}

TEST_F(LazyColouringTest, PageDownAtTheEndThenCtrlHomeAndAnEditThatChangesStates)
{
    Key(Qt::Key_End, Qt::ControlModifier);
    ExpectColouringPending();
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Source().GetCurLine(), Source().GetStrCount() - 1);
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{0, 0}));
    EXPECT_EQ(Memo().TopLine(), 0);
    // Closing the far comment at the top turns the states of the lines below around.
    Type("/* */ */");
    EXPECT_EQ(Source().GetRawLine(0), "/* */ */#include <vector>");
    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    EXPECT_GT(Source().GetCurLine(), 0);
    ExpectCaretLineShown();
    Key(Qt::Key_End, Qt::ControlModifier);
    WaitForIdleColouring();
    ExpectColoursOfFullParse();
}

TEST_F(LazyColouringTest, GoToAFarLineThenEnter)
{
    Memo().OnPromptLineNumber = [](TTarnMemo&) {
        return std::optional<int>(150001);
    };
    Memo().PromptedGotoLine();
    EXPECT_EQ(Source().GetCaretPoint(), (TTextPoint{0, 150000}));
    ExpectColouringPending();
    ExpectCaretLineShown();
    const std::string line(Source().GetRawLine(150000));
    Key(Qt::Key_Return);
    Type("*/");
    EXPECT_EQ(Source().GetStrCount(), kLines + 1);
    EXPECT_EQ(Source().GetCurLine(), 150001);
    EXPECT_NE(Source().GetRawLine(150001).find("*/" + line), std::string::npos);
    WaitForIdleColouring();
    ExpectColoursOfFullParse();
}

TEST_F(LazyColouringTest, WordWrapThenCtrlEnd)
{
    Memo().SetWordWrap(true);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Source().GetCurLine(), kLines - 1);
    ExpectColouringPending();
    Type("y");
    EXPECT_EQ(Source().GetRawLine(kLines - 1).back(), 'y');
    WaitForIdleColouring();
    ExpectColoursOfFullParse();
}

} // namespace
} // namespace quillet

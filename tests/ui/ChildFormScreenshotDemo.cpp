// Not a test of its own: with QUILLET_EDITOR_DEMO set to a number of seconds it
// shows a split text document window (line numbers, bookmarks, a breakpoint, a
// columnar selection, special symbols, word wrap in the upper view and a folded
// range) on the real display for scripts/screenshots-editor.sh, then closes it.
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QTest>

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

TEST(ChildFormScreenshotDemo, ShowsADocumentWindow)
{
    const char* seconds = std::getenv("QUILLET_EDITOR_DEMO");
    if (seconds == nullptr) {
        GTEST_SKIP() << "set QUILLET_EDITOR_DEMO to show the window";
    }
    QMainWindow window;
    auto* area = new QMdiArea(&window);
    window.setCentralWidget(area);
    window.resize(1200, 860);
    auto* form = new TChildForm();
    area->addSubWindow(form);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->SetUntitledCaption(QStringLiteral("/home/user/src/demo.c"));
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(13);
    std::string text;
    text += "/* Demo document: bookmarks, a breakpoint and a folded range. */\n";
    text += "#include <stdio.h>\n\n";
    text += "static int count_words(const char *text)\n{\n\tint n = 0, in = 0;\n";
    text += "\tfor (; *text; ++text) {\n\t\tif (*text == ' ' || *text == '\\t') {\n\t\t\tin = 0;\n";
    text += "\t\t} else if (!in) {\n\t\t\tin = 1;\n\t\t\t++n;\n\t\t}\n\t}\n\treturn n;\n}\n\n";
    text +=
        "int main(void)\n{\n\tconst char *line = \"a fairly long line of text that the upper view wraps at its right "
        "edge, word by word, so that nothing is lost and every word stays readable\";\n";
    text += "\tprintf(\"%d\\n\", count_words(line));   \n\treturn 0;\n}\n";
    for (int i = 0; i < 40; ++i) {
        text += "// filler line " + std::to_string(i) + " see www.example.org\n";
    }
    TMemoSource& source = form->MemoSource();
    source.SetHighlightUrls(true);
    source.LoadFromText(text);
    for (TTarnMemo* view : {&form->Memo(), &form->Memo1()}) {
        view->SetEditorFont(font);
        view->SetOptions(kDefaultMemoOptions | moDrawSpecialSymbols);
    }
    window.show();
    form->showMaximized();
    QApplication::processEvents();

    // Bookmarks 1 and 2, a breakpoint, a folded range, a columnar selection.
    source.JumpTo(0, 3);
    form->ToggleBookmark();
    source.JumpTo(0, 18);
    form->ToggleBookmark();
    source.JumpTo(0, 20);
    form->ToggleBreakpoint();
    source.SetSelection(TSelKind::selStream, 0, 6, 0, 14);
    form->CollapseLines();
    form->ToggleSplit();
    form->Memo1().SetWordWrap(true);
    form->Memo1().SetOption(moBreakWordAtMargin, true);
    form->Memo1().SetMarginPos(70);
    source.JumpTo(12, 28);
    source.SetSelection(TSelKind::selColumn, 3, 24, 12, 28);
    form->Memo().setFocus();
    form->Memo().MakeActive();
    form->Memo1().SetTopLine(17);
    form->Memo().SetTopLine(0);
    QTest::qWait(std::atoi(seconds) * 1000);
    EXPECT_TRUE(form->IsSplit());
}

} // namespace
} // namespace quillet

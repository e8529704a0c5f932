// How long keys hold input on a freshly opened 100 MB C++ document coloured by
// the shipped C++ definition, in a text document window painted off screen.
// The document is the 20 MB C++ sample five times over.
//
// Cold figures are single shots on a fresh window (new document, definition
// attached, first screen painted), each repeated on a new window: the key
// event and the repaint it asks for, which is what the user waits for. After
// the shot, the colouring left to idle time runs to its end, and the counters
// show the longest single slice of it (input waits at most that long), the
// whole idle colouring time and the resident memory then.
//   BM_ColdCtrlEnd          Ctrl+End
//   BM_ColdCtrlHome         Ctrl+Home right after Ctrl+End
//   BM_ColdPageDownAtEnd    Page Down right after Ctrl+End
//   BM_ColdGotoLine         the go-to-line jump to line 3,000,000 (or the last)
//   BM_ColdEnterMiddle      the first Enter in the middle of the document
//   BM_ColdTypeMiddle       the first typed character there
//   BM_ColdWordWrapCtrlEnd  word wrap on, then Ctrl+End
// Warm figures repeat a key once everything is coloured:
//   BM_WarmCtrlEndCtrlHome  Ctrl+End and Ctrl+Home in turn
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace quillet {
namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "ColouredDocumentBench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::filesystem::path RepositoryRoot()
{
    return std::filesystem::path(__FILE__).parent_path().parent_path();
}

// The 20 MB C++ sample of SyntaxParserBench, five times.
const std::string& Text()
{
    static std::string text;
    if (!text.empty()) {
        return text;
    }
    const char* const templates[] = {
        "#include <vector>",
        "#define LIMIT_%d (1 << %d) /* bit %d */",
        "// Function number %d: returns the sum of its inputs.",
        "template <typename T> static inline T Sum%d(const std::vector<T>& values, T start = T(%d))",
        "{",
        "    for (std::size_t i = 0; i < values.size(); ++i) {",
        "        start += values[i] * 0x%XU + %d.5e-3f; // scale",
        "        if (start > %dLL && values[i] != 'x') { continue; }",
        "    }",
        "    const char* message = \"value \\\"%d\\\" is\\tout of range\\n\";",
        "    /* A block comment that",
        "       runs over two lines: %d */",
        "    return start == nullptr ? static_cast<T>(%d) : start;",
        "}",
        "",
    };
    std::string sample;
    char buffer[256];
    for (int n = 0; sample.size() < 20u * 1024u * 1024u; ++n) {
        for (const char* line : templates) {
            const int length = std::snprintf(buffer, sizeof buffer, line, n, n % 31, n % 7);
            sample.append(buffer, static_cast<std::size_t>(length));
            sample += '\n';
        }
    }
    text.reserve(sample.size() * 5);
    for (int i = 0; i < 5; ++i) {
        text += sample;
    }
    return text;
}

double ResidentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A text document window with the document loaded, the C++ definition attached
// and its first screen painted, as right after opening the file.
struct TWindow {
    TWindow()
    {
        App();
        catalog.LoadAll();
        context.catalog = &catalog;
        context.styles = &styles;
        form = std::make_unique<TChildForm>();
        form->resize(1280, 900);
        form->Memo().SetOption(moColorSyntax, true);
        form->MemoSource().LoadFromText(Text());
        form->MemoSource().ClearUndoBuffer();
        form->MemoSource().SetModified(false);
        if (!ZmenSyntaxParser(*form, "C++.def", context)) {
            std::fprintf(stderr, "cannot attach C++.def\n");
            std::exit(1);
        }
        form->show();
        form->Memo().setFocus();
        form->Memo().MakeActive();
        QApplication::processEvents();
        form->Memo().viewport()->repaint();
    }
    ~TWindow() { form->MemoSource().SetModified(false); }

    TTarnMemo& Memo() { return form->Memo(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(&Memo(), &press);
    }
    // The paint the key asked for.
    void Repaint() { QApplication::sendPostedEvents(form.get(), QEvent::UpdateRequest); }

    // Runs the event loop until idle colouring is done; returns the longest
    // single pass of the loop in milliseconds and adds the whole time.
    double FinishColouring(double& totalSeconds)
    {
        QElapsedTimer whole;
        whole.start();
        double longest = 0;
        for (;;) {
            QElapsedTimer pass;
            pass.start();
            QApplication::processEvents();
            longest = std::max(longest, static_cast<double>(pass.nsecsElapsed()) / 1e6);
            if (!Memo().ColouringPending()) {
                Memo().viewport()->repaint();
                if (!Memo().ColouringPending()) {
                    break;
                }
            }
        }
        totalSeconds += static_cast<double>(whole.nsecsElapsed()) / 1e9;
        return longest;
    }

    TSchemeCatalog catalog{{RepositoryRoot()}};
    TTextStyles styles;
    TSyntaxContext context;
    std::unique_ptr<TChildForm> form;
};

// One cold shot per iteration: prepare (untimed) on a fresh window, then the
// timed key and its repaint, then idle colouring to the end (untimed).
template <typename Prepare, typename Shot> void Cold(benchmark::State& state, Prepare prepare, Shot shot)
{
    double longestSlice = 0;
    double idleSeconds = 0;
    double resident = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<TWindow>();
        prepare(*window);
        state.ResumeTiming();
        shot(*window);
        window->Repaint();
        state.PauseTiming();
        longestSlice = std::max(longestSlice, window->FinishColouring(idleSeconds));
        resident = std::max(resident, ResidentMiB());
        window.reset();
        state.ResumeTiming();
    }
    state.counters["longest_slice_ms"] = longestSlice;
    state.counters["idle_colour_s"] = idleSeconds / static_cast<double>(state.iterations());
    state.counters["resident_MiB"] = resident;
    state.counters["file_MiB"] = static_cast<double>(Text().size()) / (1024.0 * 1024.0);
}

void Nothing(TWindow&) { }

void BM_ColdCtrlEnd(benchmark::State& state)
{
    Cold(state, Nothing, [](TWindow& w) {
        w.Key(Qt::Key_End, Qt::ControlModifier);
    });
}

void BM_ColdCtrlHome(benchmark::State& state)
{
    Cold(
        state,
        [](TWindow& w) {
            w.Key(Qt::Key_End, Qt::ControlModifier);
            w.Repaint();
        },
        [](TWindow& w) {
            w.Key(Qt::Key_Home, Qt::ControlModifier);
        });
}

void BM_ColdPageDownAtEnd(benchmark::State& state)
{
    Cold(
        state,
        [](TWindow& w) {
            w.Key(Qt::Key_End, Qt::ControlModifier);
            w.Repaint();
        },
        [](TWindow& w) {
            w.Key(Qt::Key_PageDown);
        });
}

void BM_ColdGotoLine(benchmark::State& state)
{
    Cold(
        state,
        [](TWindow& w) {
            w.Memo().OnPromptLineNumber = [](TTarnMemo& memo) {
                return std::optional<int>(std::min(3'000'000, memo.MemoSource().GetStrCount()));
            };
        },
        [](TWindow& w) {
            w.Memo().PromptedGotoLine();
        });
}

void JumpToMiddle(TWindow& w)
{
    const int line = w.form->MemoSource().GetStrCount() / 2;
    w.Memo().CenteredJumpTo(4, line);
    w.Repaint();
}

void BM_ColdEnterMiddle(benchmark::State& state)
{
    Cold(state, JumpToMiddle, [](TWindow& w) {
        w.Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    });
}

void BM_ColdTypeMiddle(benchmark::State& state)
{
    Cold(state, JumpToMiddle, [](TWindow& w) {
        w.Key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    });
}

void BM_ColdWordWrapCtrlEnd(benchmark::State& state)
{
    Cold(state, Nothing, [](TWindow& w) {
        w.Memo().SetWordWrap(true);
        w.Key(Qt::Key_End, Qt::ControlModifier);
    });
}

void BM_WarmCtrlEndCtrlHome(benchmark::State& state)
{
    TWindow w;
    w.Key(Qt::Key_End, Qt::ControlModifier);
    w.Repaint();
    double idle = 0;
    w.FinishColouring(idle);
    bool home = true;
    for (auto _ : state) {
        w.Key(home ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier);
        w.Repaint();
        home = !home;
    }
    state.counters["resident_MiB"] = ResidentMiB();
}

#define COLD(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
COLD(BM_ColdCtrlEnd);
COLD(BM_ColdCtrlHome);
COLD(BM_ColdPageDownAtEnd);
COLD(BM_ColdGotoLine);
COLD(BM_ColdEnterMiddle);
COLD(BM_ColdTypeMiddle);
COLD(BM_ColdWordWrapCtrlEnd);
BENCHMARK(BM_WarmCtrlEndCtrlHome)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillet

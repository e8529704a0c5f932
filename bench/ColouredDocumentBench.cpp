// How long keys hold input on a freshly opened 100 MB C++ document coloured by
// the shipped C++ definition, in a text document window painted off screen.
// The document is the 20 MB C++ sample five times over, written once to a
// temporary file that every window loads, as opening the file does.
//
// Cold figures are single shots on a fresh window (file loaded, definition
// attached, first screen painted), each repeated on a new window: the key
// event and the repaint it asks for, which is what the user waits for. After
// the shot, the colouring left to idle time runs to its end, and the counters
// show the longest single slice of it (input waits at most that long), the
// whole idle colouring time, and the peak resident memory of the process from
// loading the file to the end of idle colouring (peak_MiB, beside file_MiB).
//   BM_ColdCtrlEnd          Ctrl+End
//   BM_ColdCtrlHome         Ctrl+Home right after Ctrl+End
//   BM_ColdPageDownAtEnd    Page Down right after Ctrl+End
//   BM_ColdGotoLine         the go-to-line jump to line 3,000,000 (or the last)
//   BM_ColdEnterMiddle      the first Enter in the middle of the document
//   BM_ColdTypeMiddle       the first typed character there
//   BM_ColdWordWrapCtrlEnd  word wrap on, then Ctrl+End
//   BM_ColdScrollWhole      Ctrl+End after jumping through the whole document
//                           screen by screen (peak memory of colouring it all)
//   BM_ColdReplaceAll       Replace All of "the" and its undo (replace_s, undo_s)
// Warm figures repeat a key once everything is coloured:
//   BM_WarmCtrlEndCtrlHome  Ctrl+End and Ctrl+Home in turn
//   BM_WarmEnterMiddle      Enter in the middle, then its undo
//   BM_WarmTypeMiddle       a typed character in the middle, then its undo
#include "GeneratedCpp.h"
#include "OffscreenApp.h"
#include "SourceTree.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/MemoSearch.h"
#include "text/MemoSource.h"
#include "text/SearchOptions.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace quillet {
namespace {

// The 20 MB C++ sample five times, in a temporary file removed at exit.
struct TSampleFile {
    TSampleFile()
    {
        char name[] = "/tmp/quillet-coloured-XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0) {
            std::perror("mkstemp");
            std::exit(1);
        }
        ::close(fd);
        path = name;
        const std::string sample = bench::GeneratedCppText();
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 5; ++i) {
            out << sample;
        }
        size = sample.size() * 5;
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    ~TSampleFile() { std::filesystem::remove(path); }

    std::filesystem::path path;
    std::size_t size = 0;
};

const TSampleFile& Sample()
{
    static const TSampleFile sample;
    return sample;
}

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM").
double StatusMiB(std::string_view field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':') {
            return std::strtod(line.c_str() + field.size() + 1, nullptr) / 1024.0;
        }
    }
    return 0;
}

// Frees what the previous window left in the allocator and starts the peak
// resident figure (VmHWM) afresh from what the process holds now.
void ResetPeakResident()
{
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A text document window with the document loaded, the C++ definition attached
// and its first screen painted, as right after opening the file.
struct TWindow {
    TWindow()
    {
        OffscreenApp();
        catalog.LoadAll();
        context.catalog = &catalog;
        context.styles = &styles;
        context.OnError = [](const QString& message) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        };
        form = std::make_unique<TChildForm>();
        form->resize(1280, 900);
        form->Memo().SetOption(moColorSyntax, true);
        if (!form->MemoSource().LoadFromFile(Sample().path)) {
            std::fprintf(stderr, "cannot load %s\n", Sample().path.c_str());
            std::exit(1);
        }
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

    TSchemeCatalog catalog{{bench::SourceRoot()}};
    TTextStyles styles;
    TSyntaxContext context;
    std::unique_ptr<TChildForm> form;
};

void Counters(benchmark::State& state, double peak)
{
    state.counters["peak_MiB"] = peak;
    state.counters["file_MiB"] = static_cast<double>(Sample().size) / (1024.0 * 1024.0);
}

// One cold shot per iteration: prepare (untimed) on a fresh window, then the
// timed key and its repaint, then idle colouring to the end (untimed).
template <typename Prepare, typename Shot> void Cold(benchmark::State& state, Prepare prepare, Shot shot)
{
    double longestSlice = 0;
    double idleSeconds = 0;
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakResident();
        auto window = std::make_unique<TWindow>();
        prepare(*window);
        state.ResumeTiming();
        shot(*window);
        window->Repaint();
        state.PauseTiming();
        longestSlice = std::max(longestSlice, window->FinishColouring(idleSeconds));
        peak = std::max(peak, StatusMiB("VmHWM"));
        window.reset();
        state.ResumeTiming();
    }
    state.counters["longest_slice_ms"] = longestSlice;
    state.counters["idle_colour_s"] = idleSeconds / static_cast<double>(state.iterations());
    Counters(state, peak);
}

void Nothing(TWindow&) { }

// A key press as a prepare or shot step.
auto Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {})
{
    return [=](TWindow& w) {
        w.Key(key, mods, text);
    };
}

void CtrlEnd(TWindow& w)
{
    w.Key(Qt::Key_End, Qt::ControlModifier);
    w.Repaint();
}

void JumpToMiddle(TWindow& w)
{
    const int line = w.form->MemoSource().GetStrCount() / 2;
    w.Memo().CenteredJumpTo(4, line);
    w.Repaint();
}

const QString kEnter = QStringLiteral("\r");
const QString kX = QStringLiteral("x");

void BM_ColdCtrlEnd(benchmark::State& state)
{
    Cold(state, Nothing, Press(Qt::Key_End, Qt::ControlModifier));
}

void BM_ColdCtrlHome(benchmark::State& state)
{
    Cold(state, CtrlEnd, Press(Qt::Key_Home, Qt::ControlModifier));
}

void BM_ColdPageDownAtEnd(benchmark::State& state)
{
    Cold(state, CtrlEnd, Press(Qt::Key_PageDown));
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

void BM_ColdEnterMiddle(benchmark::State& state)
{
    Cold(state, JumpToMiddle, Press(Qt::Key_Return, Qt::NoModifier, kEnter));
}

void BM_ColdTypeMiddle(benchmark::State& state)
{
    Cold(state, JumpToMiddle, Press(Qt::Key_X, Qt::NoModifier, kX));
}

void BM_ColdWordWrapCtrlEnd(benchmark::State& state)
{
    Cold(state, Nothing, [](TWindow& w) {
        w.Memo().SetWordWrap(true);
        w.Key(Qt::Key_End, Qt::ControlModifier);
    });
}

// Jumps through the whole document in steps short enough that each screen is
// coloured at once when painted, so that every line gains its style bytes on
// the way; the figure to watch is peak_MiB.
void BM_ColdScrollWhole(benchmark::State& state)
{
    Cold(
        state,
        [](TWindow& w) {
            const int last = w.form->MemoSource().GetStrCount() - 1;
            for (int line = 0; line < last; line += 900) {
                w.Memo().CenteredJumpTo(0, line);
                w.Repaint();
            }
        },
        Press(Qt::Key_End, Qt::ControlModifier));
}

// Replace All of the word "the" (whole words, case-sensitive) on a fresh
// window, then its one undo, each timed on its own (replace_s, undo_s); the
// peak resident memory covers the load, both and the repaint after each.
void BM_ColdReplaceAll(benchmark::State& state)
{
    double replaceSeconds = 0;
    double undoSeconds = 0;
    double peak = 0;
    int replacements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ResetPeakResident();
        auto window = std::make_unique<TWindow>();
        TMemoSource& source = window->form->MemoSource();
        TSearchOptions options;
        options.TextToFind = "the";
        options.ReplaceWith = "a";
        options.CaseSensitive = true;
        options.WholeWordsOnly = true;
        options.ReplaceAll = true;
        TMemoSearch search(source, options);
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        search.Replace();
        window->Repaint();
        replaceSeconds += static_cast<double>(timer.nsecsElapsed()) / 1e9;
        timer.restart();
        source.Undo();
        window->Repaint();
        undoSeconds += static_cast<double>(timer.nsecsElapsed()) / 1e9;
        state.PauseTiming();
        replacements = search.ReplaceCount();
        peak = std::max(peak, StatusMiB("VmHWM"));
        window.reset();
        state.ResumeTiming();
    }
    state.counters["replacements"] = replacements;
    state.counters["replace_s"] = replaceSeconds / static_cast<double>(state.iterations());
    state.counters["undo_s"] = undoSeconds / static_cast<double>(state.iterations());
    Counters(state, peak);
}

// A window with everything coloured and the caret where prepare put it.
template <typename Prepare>
void Warm(benchmark::State& state, Prepare prepare, const std::vector<std::function<void(TWindow&)>>& keys)
{
    ResetPeakResident();
    TWindow w;
    prepare(w);
    double idle = 0;
    w.FinishColouring(idle);
    std::size_t next = 0;
    for (auto _ : state) {
        keys[next](w);
        w.Repaint();
        next = (next + 1) % keys.size();
    }
    Counters(state, StatusMiB("VmHWM"));
}

void BM_WarmCtrlEndCtrlHome(benchmark::State& state)
{
    Warm(state, CtrlEnd, {Press(Qt::Key_Home, Qt::ControlModifier), Press(Qt::Key_End, Qt::ControlModifier)});
}

void Undo(TWindow& w)
{
    w.form->MemoSource().Undo();
}

void BM_WarmEnterMiddle(benchmark::State& state)
{
    Warm(state, JumpToMiddle, {Press(Qt::Key_Return, Qt::NoModifier, kEnter), Undo});
}

void BM_WarmTypeMiddle(benchmark::State& state)
{
    Warm(state, JumpToMiddle, {Press(Qt::Key_X, Qt::NoModifier, kX), Undo});
}

#define COLD(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)
COLD(BM_ColdCtrlEnd);
COLD(BM_ColdCtrlHome);
COLD(BM_ColdPageDownAtEnd);
COLD(BM_ColdGotoLine);
COLD(BM_ColdEnterMiddle);
COLD(BM_ColdTypeMiddle);
COLD(BM_ColdWordWrapCtrlEnd);
BENCHMARK(BM_ColdScrollWhole)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ColdReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_WarmCtrlEndCtrlHome)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmEnterMiddle)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WarmTypeMiddle)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillet

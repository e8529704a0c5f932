// Keys on a large plain document in a text document window, as a user meets
// them: each cold figure is one key on a freshly loaded document (load and
// preparation untimed), from the key event to the painted screen. The warm
// figures repeat the same key on one document, as the older benchmarks did.
//
// Documents: arg 0 is 100 MB of generated text (about 3.6 million lines),
// arg 1 is 2,000,000 lines of the same text.
#include "OffscreenApp.h"
#include "text/MemoOptions.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace quillet {
namespace {

// Lines of words with some indentation (spaces or tabs) and now and then a
// URL, 28 bytes long on average; the same text for every run.
std::string Generate(std::size_t maxBytes, std::size_t maxLines)
{
    static const char* const kWords[] = {
        "int", "value", "return", "for", "while", "x", "counter", "{", "}", "(a, b);", "// note"};
    std::string text;
    text.reserve(std::min(maxBytes, maxLines * 40) + 64);
    std::uint32_t seed = 7;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    for (std::size_t line = 0; line < maxLines && text.size() < maxBytes; ++line) {
        const std::size_t start = text.size();
        const std::uint32_t indent = next(4);
        if (next(3) == 0) {
            text.append(indent, '\t');
        } else {
            text.append(indent * 4, ' ');
        }
        if (line % 50 == 7) {
            text += "see http://example.org/page ";
        }
        const std::size_t length = next(50);
        while (text.size() - start < length) {
            text += kWords[next(11)];
            text += ' ';
        }
        text += '\n';
    }
    return text;
}

const std::string& Document(int which)
{
    static const std::string big = Generate(100u << 20, SIZE_MAX);
    static const std::string lines = Generate(SIZE_MAX, 2'000'000);
    return which == 0 ? big : lines;
}

// A shown document window with the default editor settings, holding one
// freshly loaded document.
struct TWindow {
    explicit TWindow(int which)
    {
        OffscreenApp();
        form = std::make_unique<TChildForm>();
        form->ApplySettings(TMemoViewSettings{});
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        form->Memo().SetEditorFont(font);
        form->MemoSource().LoadFromText(Document(which), false);
        form->resize(1280, 900);
        form->show();
        form->Memo().setFocus();
        form->Memo().MakeActive();
        QApplication::processEvents();
        Painted();
    }
    TTarnMemo& Memo() { return form->Memo(); }
    TMemoSource& Source() { return form->MemoSource(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&Memo(), &press);
    }
    // Paints what the view asked for, now.
    void Painted() { Memo().viewport()->repaint(); }

    std::unique_ptr<TChildForm> form;
};

// One key case: prepare (untimed) puts the window where the key is pressed,
// press is the timed part, reset (untimed, warm runs only) goes back.
struct TKeyCase {
    std::function<void(TWindow&)> prepare;
    std::function<void(TWindow&)> press;
    std::function<void(TWindow&)> reset;
};

int MiddleLine(TWindow& w)
{
    return w.Source().GetStrCount() / 2;
}

// Line 3,000,000 of the big document; the 2 M line one goes to 1,500,000.
int FarLine(TWindow& w)
{
    return w.Source().GetStrCount() > 3'000'000 ? 2'999'999 : 1'499'999;
}

void Nothing(TWindow&) { }

const TKeyCase kCtrlEnd{Nothing,
    [](TWindow& w) {
        w.Key(Qt::Key_End, Qt::ControlModifier);
        w.Painted();
    },
    [](TWindow& w) {
        w.Key(Qt::Key_Home, Qt::ControlModifier);
        w.Painted();
    }};

const TKeyCase kCtrlHome{[](TWindow& w) {
                             w.Key(Qt::Key_End, Qt::ControlModifier);
                             w.Painted();
                         },
    [](TWindow& w) {
        w.Key(Qt::Key_Home, Qt::ControlModifier);
        w.Painted();
    },
    [](TWindow& w) {
        w.Key(Qt::Key_End, Qt::ControlModifier);
        w.Painted();
    }};

const TKeyCase kPageDownAtEnd{[](TWindow& w) {
                                  w.Key(Qt::Key_End, Qt::ControlModifier);
                                  w.Key(Qt::Key_PageUp);
                                  w.Key(Qt::Key_PageUp);
                                  w.Painted();
                              },
    [](TWindow& w) {
        w.Key(Qt::Key_PageDown);
        w.Painted();
    },
    [](TWindow& w) {
        w.Key(Qt::Key_PageUp);
        w.Painted();
    }};

const TKeyCase kGotoLine{Nothing,
    [](TWindow& w) {
        w.Memo().CenteredJumpTo(0, FarLine(w));
        w.Painted();
    },
    [](TWindow& w) {
        w.Memo().CenteredJumpTo(0, 0);
        w.Painted();
    }};

void ToMiddle(TWindow& w)
{
    w.Memo().CenteredJumpTo(5, MiddleLine(w));
    w.Painted();
}

void UndoKey(TWindow& w)
{
    w.Key(Qt::Key_Z, Qt::ControlModifier);
    w.Painted();
}

const TKeyCase kEnter{ToMiddle,
    [](TWindow& w) {
        w.Key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        w.Painted();
    },
    UndoKey};

const TKeyCase kTypeChar{ToMiddle,
    [](TWindow& w) {
        w.Key(Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
        w.Painted();
    },
    UndoKey};

const TKeyCase kWrapThenCtrlEnd{Nothing,
    [](TWindow& w) {
        w.form->ToggleWordWrap();
        w.Key(Qt::Key_End, Qt::ControlModifier);
        w.Painted();
    },
    [](TWindow& w) {
        w.form->ToggleWordWrap();
        w.Key(Qt::Key_Home, Qt::ControlModifier);
        w.Painted();
    }};

void Cold(benchmark::State& state, const TKeyCase& keys)
{
    const int which = static_cast<int>(state.range(0));
    Document(which);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<TWindow>(which);
        keys.prepare(*w);
        state.ResumeTiming();
        keys.press(*w);
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}

void Warm(benchmark::State& state, const TKeyCase& keys)
{
    const int which = static_cast<int>(state.range(0));
    static std::unique_ptr<TWindow> windows[2];
    if (!windows[which]) {
        windows[which] = std::make_unique<TWindow>(which);
    }
    TWindow& w = *windows[which];
    keys.prepare(w);
    keys.press(w);
    keys.reset(w);
    for (auto _ : state) {
        keys.press(w);
        state.PauseTiming();
        keys.reset(w);
        state.ResumeTiming();
    }
    keys.reset(w);
}

#define QUILLET_KEY_BENCH(name, keys)                                                                                  \
    void BM_Cold##name(benchmark::State& state)                                                                        \
    {                                                                                                                  \
        Cold(state, keys);                                                                                             \
    }                                                                                                                  \
    BENCHMARK(BM_Cold##name)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);                            \
    void BM_Warm##name(benchmark::State& state)                                                                        \
    {                                                                                                                  \
        Warm(state, keys);                                                                                             \
    }                                                                                                                  \
    BENCHMARK(BM_Warm##name)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

QUILLET_KEY_BENCH(CtrlEnd, kCtrlEnd)
QUILLET_KEY_BENCH(CtrlHome, kCtrlHome)
QUILLET_KEY_BENCH(PageDownAtEnd, kPageDownAtEnd)
QUILLET_KEY_BENCH(GotoLine, kGotoLine)
QUILLET_KEY_BENCH(FirstEnter, kEnter)
QUILLET_KEY_BENCH(FirstTypedChar, kTypeChar)
QUILLET_KEY_BENCH(WrapThenCtrlEnd, kWrapThenCtrlEnd)

} // namespace
} // namespace quillet

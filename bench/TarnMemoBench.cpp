// Painting and typing costs of the editor view on a large document, rendered
// off screen into a QImage. A screen is 60 rows of 200 columns.
#include "OffscreenApp.h"
#include "text/MemoSource.h"
#include "text/SimpleParser.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <string>

namespace quillet {
namespace {

// Colours words by their first letter and digits as numbers, so every line has
// several runs of different styles.
class TWordParser : public TSimpleParser {
public:
    std::uint32_t ColorString(std::string_view text, std::uint32_t state, std::vector<std::uint8_t>& attrs) override
    {
        attrs.assign(text.size(), 0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            attrs[i] = c >= '0' && c <= '9' ? 4 : c >= 'a' && c <= 'm' ? 6 : c == '"' ? 1 : c == '/' ? 2 : 3;
        }
        return state;
    }
    std::optional<TFontSpec> GetFont(std::uint8_t attr) const override
    {
        TFontSpec f;
        f.name = "DejaVu Sans Mono";
        f.bold = attr == 6;
        f.italic = attr == 2;
        f.color = attr == 4 ? 0x008000 : attr == 6 ? 0xFF0000 : attr == 1 ? 0x000080 : 0;
        return f;
    }
};

std::string Document(int lines)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 120);
    const std::string body = "    value = compute(alpha, 12345, \"string literal\") + other_name; // comment text ";
    for (int i = 0; i < lines; ++i) {
        text += body;
        text += std::to_string(i);
        text += " tail words to fill the row well past two hundred columns of text in the view ok\n";
    }
    return text;
}

struct TFixture {
    explicit TFixture(int lines, bool parser)
    {
        OffscreenApp();
        memo = std::make_unique<TTarnMemo>();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        memo->SetEditorFont(font);
        memo->MemoSource().LoadFromText(Document(lines));
        if (parser) {
            memo->MemoSource().SetSyntaxParser(&wordParser);
        }
        // Size the viewport to 60 rows of 200 columns.
        memo->resize(200, 200);
        memo->show();
        QApplication::processEvents();
        const QSize frame = memo->size() - memo->viewport()->size();
        memo->resize(memo->Layout().textLeft + 200 * memo->CharWidth() + frame.width() + 40,
            60 * memo->LineHeight() + frame.height() + 20);
        memo->show();
        QApplication::processEvents();
        memo->MakeActive();
        image = QImage(memo->viewport()->size(), QImage::Format_RGB32);
    }
    void Paint()
    {
        QPainter painter(&image);
        memo->PaintArea(painter, image.rect());
    }
    // Paints once, then colours in idle time what that paint found missing,
    // so that the next paint shows every line in its colours.
    void PaintColoured()
    {
        Paint();
        while (memo->ColouringPending()) {
            QApplication::processEvents();
        }
    }

    TWordParser wordParser;
    std::unique_ptr<TTarnMemo> memo;
    QImage image;
};

constexpr int kLines = 2'000'000;

TFixture& Big()
{
    static TFixture* fixture = new TFixture(kLines, true);
    return *fixture;
}

// Arg: 0 top, 1 middle, 2 end. The lines up to the place are coloured first
// (the buffer's job, done in idle time); the loop measures painting itself.
void BM_PaintScreen(benchmark::State& state)
{
    TFixture& f = Big();
    const int line = state.range(0) == 0 ? 0 : state.range(0) == 1 ? kLines / 2 : kLines - 60;
    f.memo->SetTopLine(line);
    f.PaintColoured();
    for (auto _ : state) {
        f.Paint();
        benchmark::DoNotOptimize(f.image.constBits());
    }
    state.counters["rows"] = f.memo->PageRows();
    state.counters["columns"] = f.memo->VisibleColumns();
}
BENCHMARK(BM_PaintScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// One typed character in the middle of the document, then the whole screen
// painted: an upper bound for a key press.
void BM_KeystrokeRepaint(benchmark::State& state)
{
    TFixture& f = Big();
    f.memo->MemoSource().JumpTo(20, kLines / 2 + 30);
    f.memo->EnsureCaretVisible();
    f.PaintColoured();
    bool type = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress,
            type ? Qt::Key_X : Qt::Key_Backspace,
            Qt::NoModifier,
            type ? QStringLiteral("x") : QString());
        QApplication::sendEvent(f.memo.get(), &press);
        f.Paint();
        type = !type;
    }
}
BENCHMARK(BM_KeystrokeRepaint)->Unit(benchmark::kMillisecond);

// What one key press really costs: the key event, then the paint the view
// asked for, through the widget's own update machinery (the region the view
// invalidated, painted into the backing store). The counter shows how many
// pixel rows were painted per key.
class TPaintRecorder : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(event)->rect();
            paintedRows += r.height();
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
    std::int64_t paintedRows = 0;
    std::int64_t paints = 0;
};

// Types "x" and Backspace in turn in the middle of the document, each key
// followed by the repaint Qt makes of what the view invalidated.
void TypeWithRealRepaint(benchmark::State& state, TTarnMemo& memo)
{
    memo.setFocus();
    memo.MakeActive();
    memo.MemoSource().JumpTo(20, kLines / 2 + 30);
    memo.EnsureCaretVisible();
    QApplication::processEvents();
    TPaintRecorder recorder;
    memo.viewport()->installEventFilter(&recorder);
    bool type = true;
    std::int64_t keys = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress,
            type ? Qt::Key_X : Qt::Key_Backspace,
            Qt::NoModifier,
            type ? QStringLiteral("x") : QString());
        QApplication::sendEvent(&memo, &press);
        QApplication::sendPostedEvents(memo.window(), QEvent::UpdateRequest);
        type = !type;
        ++keys;
    }
    memo.viewport()->removeEventFilter(&recorder);
    state.counters["paintedPixelRows"] = keys > 0 ? static_cast<double>(recorder.paintedRows) / keys : 0;
    state.counters["paintsPerKey"] = keys > 0 ? static_cast<double>(recorder.paints) / keys : 0;
    state.counters["rowHeight"] = memo.LineHeight();
}

void BM_KeystrokeRealRepaint(benchmark::State& state)
{
    TypeWithRealRepaint(state, *Big().memo);
}
BENCHMARK(BM_KeystrokeRealRepaint)->Unit(benchmark::kMillisecond);

// The same key press in a text document window (both views registered, status
// report, bracket matching), as the program has it.
void BM_DocumentWindowKeystroke(benchmark::State& state)
{
    OffscreenApp();
    static TChildForm* form = [] {
        auto* f = new TChildForm();
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(12);
        f->Memo().SetEditorFont(font);
        f->MemoSource().LoadFromText(Document(kLines));
        f->resize(1700, 900);
        f->show();
        QApplication::processEvents();
        return f;
    }();
    TypeWithRealRepaint(state, form->Memo());
}
BENCHMARK(BM_DocumentWindowKeystroke)->Unit(benchmark::kMillisecond);

// Word wrap on and a jump to the end: the cost follows what is displayed, so
// it stays flat from 20,000 to 2,000,000 lines.
void BM_WordWrapJumpToEnd(benchmark::State& state)
{
    TFixture f(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        f.memo->SetWordWrap(true);
        f.memo->MemoSource().JumpToFileEnd();
        f.memo->EnsureCaretVisible();
        f.Paint();
        state.PauseTiming();
        f.memo->SetWordWrap(false);
        f.memo->MemoSource().JumpToFileBegin();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WordWrapJumpToEnd)->Arg(20'000)->Arg(200'000)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillet

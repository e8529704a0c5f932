// To-do lists on a large document.
//
//   BM_ScanDocument      the scan of a 100,000-line document holding 3,000
//                        to-do comments (single- and three-line, lower-case
//                        keywords), as the To-Do List window runs it
//   BM_UnclosedKeywords  20,000 keywords that never close: each line is read
//                        once for a "}", not once per open keyword
//   BM_OpenToDoWindow    the "To-Do List" window built and shown on that
//                        document (offscreen), progress repaints counted
#include "OffscreenApp.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "tools/ToDoDocument.h"
#include "tools/ui/ToDoForm.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace quillet;

std::string LargeDocument()
{
    std::string text;
    int items = 0;
    for (int line = 0; line < 100'000;) {
        if (line % 33 == 0 && items < 3000) {
            if (items % 3 == 2) {
                text += "    { todo 2 -oann -cCore : first line\n      second line\n      third line }\n";
                line += 3;
            } else {
                text += "    x := f(y); { todo " + std::to_string(items % 5 + 1) + " -olead : item "
                    + std::to_string(items) + " } // note\n";
                ++line;
            }
            ++items;
        } else {
            text += "    result := compute(value, " + std::to_string(line) + "); { plain comment }\n";
            ++line;
        }
    }
    return text;
}

TMemoSource& Document()
{
    static TMemoSource source;
    static bool loaded = false;
    if (!loaded) {
        source.LoadFromText(LargeDocument(), false);
        loaded = true;
    }
    return source;
}

void BM_ScanDocument(benchmark::State& state)
{
    TMemoSource& source = Document();
    std::size_t found = 0;
    for (auto _ : state) {
        found = ScanToDoItems(ToDoLinesOf(source)).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["items"] = static_cast<double>(found);
    state.counters["lines"] = source.GetStrCount();
}
BENCHMARK(BM_ScanDocument)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_UnclosedKeywords(benchmark::State& state)
{
    std::vector<std::string> lines(20'000, "{ TODO : never closed");
    lines.insert(lines.end(), 20'000, "some code without braces");
    const TToDoLines view{static_cast<int>(lines.size()), [&lines](int k) {
                              return std::string_view(lines[static_cast<std::size_t>(k)]);
                          }};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScanToDoItems(view).size());
    }
}
BENCHMARK(BM_UnclosedKeywords)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_OpenToDoWindow(benchmark::State& state)
{
    OffscreenApp();
    TChildForm document;
    document.MemoSource().LoadFromText(LargeDocument(), false);
    int repaints = 0;
    int rows = 0;
    for (auto _ : state) {
        TToDoForm form(nullptr, document);
        form.show();
        QApplication::processEvents();
        repaints = form.ProgressRepaints();
        rows = static_cast<int>(form.Rows().size());
    }
    state.counters["rows"] = rows;
    state.counters["progressRepaints"] = repaints;
}
BENCHMARK(BM_OpenToDoWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Iterations(1);

} // namespace

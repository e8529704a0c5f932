// Line-rewriting Edit commands on large selections, through the same step the
// commands use (ReplaceSelectionWithLines): Sort over 1 million selected
// lines with its undo, Tabs to Spaces over 1 million lines at several sizes
// (to show it is linear), and Delete of a 50 MB selection. Inputs are
// generated here.
#include "text/EditTransform.h"
#include "text/MemoSource.h"
#include "text/ui/EditCommands.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <string>

namespace {

using quillet::TMemoSource;
using quillet::TSelKind;

// `lines` lines of 8 to 60 characters, about one in three indented by a tab.
std::string MakeLines(int lines, unsigned seed = 11)
{
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(static_cast<std::size_t>(lines) * 40);
    for (int i = 0; i < lines; ++i) {
        if (rng() % 3 == 0) {
            out += '\t';
        }
        const int len = 8 + static_cast<int>(rng() % 53);
        for (int k = 0; k < len; ++k) {
            const unsigned r = rng() % 40;
            out += r < 26 ? static_cast<char>('a' + r) : (r < 32 ? ' ' : static_cast<char>('A' + r - 32));
        }
        out += '\n';
    }
    return out;
}

// A document with every line selected as a stream that ends at column 0 of the
// line after the last one, the way a user selects whole lines.
std::unique_ptr<TMemoSource> MakeSelectedDocument(const std::string& text, int lines)
{
    auto source = std::make_unique<TMemoSource>();
    source->LoadFromText(text);
    source->SetSelection(TSelKind::selStream, 0, 0, 0, lines);
    return source;
}

void Sort(TMemoSource& source)
{
    quillet::ReplaceSelectionWithLines(source, [](quillet::TLines& lines, bool closingBreak) {
        quillet::SortLines(lines, quillet::TSortOrder::Ascending, closingBreak);
    });
}

// Phase 0 times the command, phase 1 its undo; route 1 runs the block edits
// line by line through the editing primitives, for comparison.
void BM_Sort1MLines(benchmark::State& state)
{
    constexpr int kLines = 1'000'000;
    static const std::string text = MakeLines(kLines);
    for (auto _ : state) {
        state.PauseTiming();
        auto source = MakeSelectedDocument(text, kLines);
        source->SetSplicedBlockEdits(state.range(1) == 0);
        if (state.range(0) == 0) {
            state.ResumeTiming();
            Sort(*source);
            state.PauseTiming();
        } else {
            Sort(*source);
            state.ResumeTiming();
            source->Undo();
            state.PauseTiming();
        }
        state.counters["lines"] = source->GetStrCount();
        source.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Sort1MLines)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"phase", "route"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_TabsToSpaces(benchmark::State& state)
{
    const int lines = static_cast<int>(state.range(0));
    const std::string text = MakeLines(lines, 5);
    for (auto _ : state) {
        state.PauseTiming();
        auto source = MakeSelectedDocument(text, lines);
        state.ResumeTiming();
        quillet::ReplaceSelectionWithLines(*source, [](quillet::TLines& l, bool) {
            quillet::TabsToSpaces(l, 4);
        });
        state.PauseTiming();
        source.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TabsToSpaces)
    ->Arg(250'000)
    ->Arg(500'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Complexity(benchmark::oN);

// Deletes a selection of about 50 MB that starts and ends inside lines.
void BM_Delete50MBSelection(benchmark::State& state)
{
    constexpr int kLines = 1'400'000; // about 36 bytes a line
    static const std::string text = MakeLines(kLines, 3);
    for (auto _ : state) {
        state.PauseTiming();
        auto source = std::make_unique<TMemoSource>();
        source->LoadFromText(text);
        source->SetSelection(TSelKind::selStream, 3, 0, 5, kLines - 1);
        source->SetSplicedBlockEdits(state.range(0) == 0);
        state.ResumeTiming();
        source->DeleteBlock();
        state.PauseTiming();
        state.counters["lines"] = source->GetStrCount();
        source.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Delete50MBSelection)->Arg(0)->Arg(1)->ArgName("route")->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

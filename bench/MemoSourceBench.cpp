// Text buffer benchmarks: loading a 100 MB file, single edits in the middle of
// large documents, a 1M-line paste with its undo and redo, and column
// conversions over a long line full of tabs. Inputs are generated here.
//
// QUILLET_BENCH_LOAD_FILE names an existing file to load instead of the
// generated one (bench/compare/load.sh uses it to time the same file as vim).
#include "text/MemoSource.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

namespace {

using quillet::TMemoSource;

// Mixed line lengths (0-120), some tabs: about 3 million lines in 100 MB.
std::string MakeText(std::size_t bytes, unsigned seed = 7)
{
    std::mt19937 rng(seed);
    std::string out;
    out.reserve(bytes + 256);
    const char* words[] = {"int", "value", "return", "for", "while", "x", "counter", "{", "}", "(a, b);", "// note"};
    while (out.size() < bytes) {
        int indent = static_cast<int>(rng() % 4);
        if (rng() % 3 == 0) {
            out.append(static_cast<std::size_t>(indent), '\t');
        } else {
            out.append(static_cast<std::size_t>(indent) * 4, ' ');
        }
        int len = static_cast<int>(rng() % 60);
        int written = 0;
        while (written < len) {
            const char* w = words[rng() % 11];
            out += w;
            out += ' ';
            written += static_cast<int>(std::strlen(w)) + 1;
        }
        out += '\n';
    }
    return out;
}

std::size_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0;
    std::size_t resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

struct TLoadFile {
    std::filesystem::path path;
    bool generated = false;
    TLoadFile()
    {
        if (const char* given = std::getenv("QUILLET_BENCH_LOAD_FILE")) {
            path = given;
            return;
        }
        path = std::filesystem::temp_directory_path() / ("quillet-bench-load-" + std::to_string(getpid()) + ".txt");
        std::string text = MakeText(100u << 20);
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
        generated = true;
    }
    ~TLoadFile()
    {
        if (generated) {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    }
};

void BM_LoadFile(benchmark::State& state)
{
    static TLoadFile file;
    std::size_t size = std::filesystem::file_size(file.path);
    double rssRatio = 0;
    int lines = 0;
    for (auto _ : state) {
        std::size_t before = ResidentBytes();
        auto source = std::make_unique<TMemoSource>();
        bool ok = state.range(0) ? source->QuickLoadFromFile(file.path).ok : source->LoadFromFile(file.path).ok;
        if (!ok) {
            state.SkipWithError("load failed");
            break;
        }
        std::size_t after = ResidentBytes();
        rssRatio = static_cast<double>(after - before) / static_cast<double>(size);
        lines = source->GetStrCount();
        benchmark::DoNotOptimize(source.get());
        state.PauseTiming();
        source.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
    state.counters["lines"] = lines;
    state.counters["rss_per_file_byte"] = rssRatio;
}
BENCHMARK(BM_LoadFile)->Arg(0)->Arg(1)->ArgName("quick")->Unit(benchmark::kMillisecond)->Iterations(5);

std::unique_ptr<TMemoSource> MakeDocument(int lines)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(lines) * 40);
    std::string body = MakeText(static_cast<std::size_t>(lines) * 40, 3);
    auto source = std::make_unique<TMemoSource>();
    source->SetKeepTrailingBlanks(true);
    source->LoadFromText(body);
    return source;
}

void BM_InsertCharInMiddle(benchmark::State& state)
{
    auto source = MakeDocument(static_cast<int>(state.range(0)));
    int middle = source->GetStrCount() / 2;
    source->JumpTo(0, middle);
    // Each round inserts one character and deletes it again, so the line keeps
    // its length and the figure shows the cost of one edit, not of a growing line.
    for (auto _ : state) {
        source->Insert("x");
        source->DeleteRight(1);
    }
    state.counters["lines"] = source->GetStrCount();
}
BENCHMARK(BM_InsertCharInMiddle)->Arg(10'000)->Arg(1'000'000)->Arg(2'000'000);

void BM_BreakLineInMiddle(benchmark::State& state)
{
    auto source = MakeDocument(static_cast<int>(state.range(0)));
    int middle = source->GetStrCount() / 2;
    source->JumpTo(2, middle);
    for (auto _ : state) {
        source->BreakLine();
    }
}
BENCHMARK(BM_BreakLineInMiddle)->Arg(10'000)->Arg(1'000'000)->Arg(2'000'000);

std::vector<std::string> PasteLines()
{
    std::vector<std::string> lines;
    std::string text = MakeText(40u << 20, 11);
    std::size_t start = 0;
    while (lines.size() < 1'000'000 && start < text.size()) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Times one phase (0 paste, 1 undo, 2 redo) of pasting 1M lines.
void BM_Paste1MLines(benchmark::State& state)
{
    static const std::vector<std::string> lines = PasteLines();
    for (auto _ : state) {
        state.PauseTiming();
        auto source = MakeDocument(1000);
        source->JumpTo(3, 500);
        if (state.range(0) == 0) {
            state.ResumeTiming();
            source->PasteBlockFromStrings(lines, false);
            state.PauseTiming();
        } else {
            source->PasteBlockFromStrings(lines, false);
            if (state.range(0) == 1) {
                state.ResumeTiming();
                source->Undo();
                state.PauseTiming();
            } else {
                source->Undo();
                state.ResumeTiming();
                source->Redo();
                state.PauseTiming();
            }
        }
        state.counters["lines"] = source->GetStrCount();
        source.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Paste1MLines)->Arg(0)->Arg(1)->Arg(2)->ArgName("phase")->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ColumnConversions(benchmark::State& state)
{
    std::string line;
    while (line.size() < static_cast<std::size_t>(state.range(0))) {
        line += "ab\tc\t\t";
    }
    quillet::TTabStops stops;
    int width = quillet::tabs::DisplayLength(line, stops);
    for (auto _ : state) {
        int raw = quillet::tabs::ColToRaw(line, width - 1, stops);
        int col = quillet::tabs::RawToCol(line, raw, stops);
        benchmark::DoNotOptimize(col);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0) * 2);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ColumnConversions)->Arg(256 << 10)->Arg(1 << 20)->Arg(4 << 20)->Complexity(benchmark::oN);

} // namespace

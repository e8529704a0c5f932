// How long a freshly opened 100 MB C++ document takes to show its first
// coloured screen. The document is read the way the document manager reads it
// (LoadTextDocument, then the buffer's LoadFromText), the shipped C++
// definition is attached, and then the 60 lines of one screen fetch their style
// bytes through the buffer, which is the path the view paints from.
//
// Figures, each timed on its own:
//   BM_LoadDocument        reading and splitting the file into the buffer
//   BM_LoadDefinition      reading and compiling the C++ definition alone
//   BM_AttachDefinition    loading the definition and attaching it
//   BM_FirstScreen         the first 60 lines coloured right after attaching
//   BM_ScreenAtEnd         the last 60 lines right after attaching: every line
//                          before them must be coloured first, because a line's
//                          start state is the previous line's end state
//   BM_ScreenAtEndAgain    the last 60 lines once everything is coloured
// The input goes to the temporary folder and is removed at the end.
#include "PlainModeMain.h"
#include "SourceTree.h"
#include "core/DocumentFile.h"
#include "syntax/SyntaxParser.h"
#include "text/MemoSource.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace quillet;

constexpr int kScreenLines = 60;
constexpr std::size_t kFileSize = 100u * 1024u * 1024u;

// Writes about 100 MB of C++ (comments, directives, strings with escapes,
// numbers, keywords) into the temporary folder once per run.
const std::filesystem::path& InputFile()
{
    static std::filesystem::path file;
    if (!file.empty()) {
        return file;
    }
    file = std::filesystem::temp_directory_path() / ("quillet-first-screen-" + std::to_string(::getpid()) + ".cpp");
    std::ofstream out(file, std::ios::binary);
    const char* const templates[] = {
        "#include <vector>\n",
        "#define LIMIT_%d (1 << %d) /* bit %d */\n",
        "// Function number %d: returns the sum of its inputs.\n",
        "template <typename T> static inline T Sum%d(const std::vector<T>& values, T start = T(%d))\n",
        "{\n",
        "    for (std::size_t i = 0; i < values.size(); ++i) {\n",
        "        start += values[i] * 0x%XU + %d.5e-3f; // scale\n",
        "        if (start > %dLL && values[i] != 'x') { continue; }\n",
        "    }\n",
        "    const char* message = \"value \\\"%d\\\" is\\tout of range\\n\";\n",
        "    /* A block comment that\n",
        "       runs over two lines: %d */\n",
        "    return start == nullptr ? static_cast<T>(%d) : start;\n",
        "}\n",
        "\n",
    };
    std::size_t size = 0;
    char buffer[256];
    for (int n = 0; size < kFileSize; ++n) {
        for (const char* line : templates) {
            const int length = std::snprintf(buffer, sizeof buffer, line, n, n % 31, n % 7);
            out.write(buffer, length);
            size += static_cast<std::size_t>(length);
        }
    }
    return file;
}

struct TRemoveInput {
    ~TRemoveInput()
    {
        std::error_code error;
        std::filesystem::remove(InputFile(), error);
    }
};

// The document as the document manager loads it.
std::unique_ptr<TMemoSource> LoadDocument()
{
    const TDocumentLoad load = LoadTextDocument(InputFile(), 0, true);
    if (!load.result) {
        std::fprintf(stderr, "cannot read %s\n", InputFile().string().c_str());
        std::exit(1);
    }
    auto source = std::make_unique<TMemoSource>();
    source->LoadFromText(load.text, false);
    source->ClearUndoBuffer();
    source->SetModified(false);
    return source;
}

std::unique_ptr<TSyntaxParser> CppParser()
{
    auto parser = std::make_unique<TSyntaxParser>();
    if (!parser->LoadFromFile(bench::CppDefinition()).ok) {
        std::fprintf(stderr, "cannot load %s\n", bench::CppDefinition().string().c_str());
        std::exit(1);
    }
    return parser;
}

// The shared document, loaded once: loading 100 MB takes seconds.
TMemoSource& Document()
{
    static std::unique_ptr<TMemoSource> source = LoadDocument();
    return *source;
}

std::size_t FetchScreen(TMemoSource& source, int first)
{
    std::size_t bytes = 0;
    for (int line = first; line < first + kScreenLines; ++line) {
        bytes += source.GetRawColorData(line).size();
    }
    return bytes;
}

void BM_LoadDocument(benchmark::State& state)
{
    InputFile();
    for (auto _ : state) {
        std::unique_ptr<TMemoSource> source = LoadDocument();
        benchmark::DoNotOptimize(source->GetStrCount());
        state.PauseTiming();
        source.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(InputFile())));
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_LoadDefinition(benchmark::State& state)
{
    for (auto _ : state) {
        std::unique_ptr<TSyntaxParser> parser = CppParser();
        benchmark::DoNotOptimize(parser.get());
    }
}
BENCHMARK(BM_LoadDefinition)->Unit(benchmark::kMillisecond)->Iterations(20);

// Loading the definition and attaching it: the buffer forgets every line's
// colouring, one pass over the line records.
void BM_AttachDefinition(benchmark::State& state)
{
    TMemoSource& source = Document();
    for (auto _ : state) {
        std::unique_ptr<TSyntaxParser> parser = CppParser();
        source.SetSyntaxParser(parser.get());
        state.PauseTiming();
        source.SetSyntaxParser(nullptr);
        parser.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = source.GetStrCount();
}
BENCHMARK(BM_AttachDefinition)->Unit(benchmark::kMillisecond)->Iterations(5);

// Colours one screen starting at first (a negative value counts from the end)
// after a fresh attach; with warm set, the whole document is coloured first.
void ScreenAfterAttach(benchmark::State& state, int first, bool warm)
{
    TMemoSource& source = Document();
    if (first < 0) {
        first += source.GetStrCount();
    }
    std::unique_ptr<TSyntaxParser> parser = CppParser();
    std::size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        source.SetSyntaxParser(nullptr);
        source.SetSyntaxParser(parser.get());
        if (warm) {
            FetchScreen(source, first);
        }
        state.ResumeTiming();
        bytes += FetchScreen(source, first);
    }
    state.counters["parsed lines"] = source.ParsedUpTo();
    source.SetSyntaxParser(nullptr);
    benchmark::DoNotOptimize(bytes);
}

void BM_FirstScreen(benchmark::State& state)
{
    ScreenAfterAttach(state, 0, false);
}
BENCHMARK(BM_FirstScreen)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ScreenAtEnd(benchmark::State& state)
{
    ScreenAfterAttach(state, -kScreenLines, false);
}
BENCHMARK(BM_ScreenAtEnd)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ScreenAtEndAgain(benchmark::State& state)
{
    ScreenAfterAttach(state, -kScreenLines, true);
}
BENCHMARK(BM_ScreenAtEndAgain)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    TRemoveInput removeInput;
    return RunBenchmarks(argc, argv);
}

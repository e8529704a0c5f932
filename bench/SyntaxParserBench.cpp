// Colouring speed of the highlighter on C++: every line of a generated 20 MB
// file, each from the previous line's end state, the way the text buffer
// drives it. With QUILLET_HIGHLIGHT_FILE set, BM_ColorFile colours that file.
//
// Plain modes for bench/compare/highlight.sh, which times us beside other
// highlighters on one file:
//   quillet_bench_syntaxparserbench --generate FILE   writes the generated C++
//   quillet_bench_syntaxparserbench --run FILE        loads the C++ definition,
//       reads FILE and colours every line, writing nothing but a summary to
//       standard error
//   quillet_bench_syntaxparserbench --attrs FILE      colours FILE the same way
//       and writes each line's attribute bytes and its 4-byte end state to
//       standard output, to compare the colours of two builds byte for byte
#include "GeneratedCpp.h"
#include "PlainModeMain.h"
#include "SourceTree.h"
#include "TextLines.h"
#include "syntax/SyntaxParser.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace quillet;

// A parser with the shipped C++ definition.
TSyntaxParser& CppParser()
{
    static TSyntaxParser parser;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        const TDefResult result = parser.LoadFromFile(bench::CppDefinition());
        if (!result.ok) {
            std::fprintf(stderr, "cannot load %s\n", bench::CppDefinition().string().c_str());
            std::exit(1);
        }
    }
    return parser;
}

const std::string& GeneratedCpp()
{
    static const std::string text = bench::GeneratedCppText();
    return text;
}

std::size_t ColorAll(TSyntaxParser& parser, const std::vector<std::string_view>& lines)
{
    std::vector<std::uint8_t> attrs;
    std::uint32_t state = 0;
    std::size_t bytes = 0;
    for (const std::string_view line : lines) {
        state = parser.ColorString(line, state, attrs);
        bytes += line.size() + 1;
    }
    benchmark::DoNotOptimize(state);
    return bytes;
}

void BM_ColorGeneratedCpp(benchmark::State& state)
{
    TSyntaxParser& parser = CppParser();
    const std::vector<std::string_view> lines = bench::SplitLines(GeneratedCpp());
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes += ColorAll(parser, lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ColorGeneratedCpp)->Unit(benchmark::kMillisecond);

void BM_ColorFile(benchmark::State& state)
{
    const char* file = std::getenv("QUILLET_HIGHLIGHT_FILE");
    if (file == nullptr) {
        state.SkipWithError("QUILLET_HIGHLIGHT_FILE not set");
        return;
    }
    const std::optional<std::string> text = bench::ReadWholeFile(file);
    if (!text) {
        state.SkipWithError("cannot read QUILLET_HIGHLIGHT_FILE");
        return;
    }
    const std::vector<std::string_view> lines = bench::SplitLines(*text);
    TSyntaxParser& parser = CppParser();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes += ColorAll(parser, lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ColorFile)->Unit(benchmark::kMillisecond);

int PlainMode(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
        std::ofstream out(argv[2], std::ios::binary);
        out << GeneratedCpp();
        return out ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
        const std::optional<std::string> text = bench::ReadWholeFile(argv[2]);
        if (!text) {
            std::perror(argv[2]);
            return 1;
        }
        const std::vector<std::string_view> lines = bench::SplitLines(*text);
        const std::size_t bytes = ColorAll(CppParser(), lines);
        std::fprintf(stderr, "coloured %zu lines, %zu bytes\n", lines.size(), bytes);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--attrs") == 0) {
        TSyntaxParser& parser = CppParser();
        std::vector<std::uint8_t> attrs;
        std::uint32_t state = 0;
        const std::optional<std::string> text = bench::ReadWholeFile(argv[2]);
        if (!text) {
            std::perror(argv[2]);
            return 1;
        }
        for (const std::string_view line : bench::SplitLines(*text)) {
            state = parser.ColorString(line, state, attrs);
            std::fwrite(attrs.data(), 1, attrs.size(), stdout);
            std::fwrite(&state, sizeof state, 1, stdout);
        }
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: see the top of bench/SyntaxParserBench.cpp\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    return BenchmarkOrPlainMode(argc, argv, PlainMode);
}

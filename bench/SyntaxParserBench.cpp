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
#include "syntax/SyntaxParser.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace quillet;

std::filesystem::path CppDefinition()
{
    if (const char* path = std::getenv("QUILLET_SYNTAX_DEF")) {
        return path;
    }
    return std::filesystem::path(__FILE__).parent_path().parent_path() / "Syntax Definitions" / "C++.def";
}

// A parser with the shipped C++ definition.
TSyntaxParser& CppParser()
{
    static TSyntaxParser parser;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        const TDefResult result = parser.LoadFromFile(CppDefinition());
        if (!result.ok) {
            std::fprintf(stderr, "cannot load %s\n", CppDefinition().string().c_str());
            std::exit(1);
        }
    }
    return parser;
}

// About 20 MB of C++ in the usual mix: comments, directives, strings with
// escapes, numbers in several notations, keywords and punctuation.
const std::vector<std::string>& GeneratedCpp()
{
    static std::vector<std::string> lines;
    if (!lines.empty()) {
        return lines;
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
    std::size_t size = 0;
    char buffer[256];
    for (int n = 0; size < 20u * 1024u * 1024u; ++n) {
        for (const char* line : templates) {
            std::snprintf(buffer, sizeof buffer, line, n, n % 31, n % 7);
            lines.emplace_back(buffer);
            size += lines.back().size() + 1;
        }
    }
    return lines;
}

std::size_t ColorAll(TSyntaxParser& parser, const std::vector<std::string>& lines)
{
    std::vector<std::uint8_t> attrs;
    std::uint32_t state = 0;
    std::size_t bytes = 0;
    for (const std::string& line : lines) {
        state = parser.ColorString(line, state, attrs);
        bytes += line.size() + 1;
    }
    benchmark::DoNotOptimize(state);
    return bytes;
}

void BM_ColorGeneratedCpp(benchmark::State& state)
{
    TSyntaxParser& parser = CppParser();
    const std::vector<std::string>& lines = GeneratedCpp();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes += ColorAll(parser, lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ColorGeneratedCpp)->Unit(benchmark::kMillisecond);

std::vector<std::string> ReadLines(const char* file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start && text[end - 1] == '\r') {
            lines.push_back(text.substr(start, end - 1 - start));
        } else {
            lines.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

void BM_ColorFile(benchmark::State& state)
{
    const char* file = std::getenv("QUILLET_HIGHLIGHT_FILE");
    if (file == nullptr) {
        state.SkipWithError("QUILLET_HIGHLIGHT_FILE not set");
        return;
    }
    const std::vector<std::string> lines = ReadLines(file);
    TSyntaxParser& parser = CppParser();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes += ColorAll(parser, lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ColorFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
        std::ofstream out(argv[2], std::ios::binary);
        for (const std::string& line : GeneratedCpp()) {
            out << line << '\n';
        }
        return out ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
        const std::vector<std::string> lines = ReadLines(argv[2]);
        const std::size_t bytes = ColorAll(CppParser(), lines);
        std::fprintf(stderr, "coloured %zu lines, %zu bytes\n", lines.size(), bytes);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

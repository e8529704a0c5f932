// Colouring speed of the highlighter on C++: every line of a generated 20 MB
// file, each from the previous line's end state, the way the text buffer
// drives it. With QUILLET_HIGHLIGHT_FILE set, BM_ColorFile colours that file
// instead (bench/compare/highlight.sh uses it beside other highlighters).
#include "syntax/SyntaxParser.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
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

void BM_ColorFile(benchmark::State& state)
{
    const char* file = std::getenv("QUILLET_HIGHLIGHT_FILE");
    if (file == nullptr) {
        state.SkipWithError("QUILLET_HIGHLIGHT_FILE not set");
        return;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    TSyntaxParser& parser = CppParser();
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes += ColorAll(parser, lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_ColorFile)->Unit(benchmark::kMillisecond);

} // namespace

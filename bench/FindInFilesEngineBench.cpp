// Find in files: the engine over a directory tree. Plain modes for
// bench/compare/findfiles.sh:
//   --write-tree DIR MEGABYTES SEED   a seeded tree of text files
//   --search MODE TEXT DIR MASKS      prints "file:line" of every matching line
//                                     (MODE: literal, nocase, pattern,
//                                     nocase-pattern)
// Without a mode, the Google Benchmark cases run on a generated tree.
#include "PlainModeMain.h"
#include "text/TextMatch.h"
#include "tools/FileSearcher.h"
#include "tools/SearchFileList.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace quillet {
namespace {

namespace fs = std::filesystem;

const char* const kWords[] = {"the",
    "int",
    "value",
    "return",
    "struct",
    "static",
    "const",
    "char",
    "void",
    "if",
    "else",
    "for",
    "while",
    "size_t",
    "buffer",
    "length",
    "index",
    "count",
    "result",
    "error"};

// Lines of C-like text; about one line in 400 holds "needle" in some case.
std::string GenerateFile(std::mt19937& random, std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 200);
    while (text.size() < bytes) {
        const int indent = static_cast<int>(random() % 3);
        text.append(static_cast<std::size_t>(indent), '\t');
        const int words = 3 + static_cast<int>(random() % 9);
        for (int w = 0; w < words; ++w) {
            if (random() % 3200 == 0) {
                text += (random() % 2) ? "needle" : "NeedLE";
            } else {
                text += kWords[random() % std::size(kWords)];
            }
            text += (random() % 7 == 0) ? "(" : " ";
        }
        text += (random() % 5 == 0) ? ";\n" : "\n";
    }
    return text;
}

bool WriteTree(const fs::path& dir, std::size_t megabytes, unsigned seed)
{
    std::mt19937 random(seed);
    std::size_t written = 0;
    int index = 0;
    const char* const extensions[] = {".c", ".h", ".txt", ".cpp"};
    while (written < (megabytes << 20)) {
        const fs::path sub = dir / ("d" + std::to_string(index % 37)) / ("s" + std::to_string(index % 5));
        fs::create_directories(sub);
        const std::size_t size = 2000 + random() % 120000;
        const std::string text = GenerateFile(random, size);
        std::ofstream out(sub / ("f" + std::to_string(index) + extensions[index % 4]), std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) {
            return false;
        }
        written += text.size();
        ++index;
    }
    return true;
}

// "literal" (or anything else), "nocase", "pattern" or "nocase-pattern".
TMatchFlags FlagsFor(std::string_view mode)
{
    return {!mode.starts_with("nocase"), false, mode.ends_with("pattern")};
}

int Search(std::string_view mode, const char* text, const char* dir, const char* masks)
{
    TFileSearcher searcher(text, FlagsFor(mode), MakeDelimiters(""));
    if (!searcher.IsValid()) {
        std::fprintf(stderr, "%s\n", searcher.ErrorMessage().c_str());
        return 2;
    }
    std::string out;
    for (const TSearchFile& file : SearchFiles(dir, masks, true)) {
        std::size_t lastLine = static_cast<std::size_t>(-1);
        searcher.SearchFile(file.fileName, [&](const TFileMatch& match) {
            if (match.line != lastLine) {
                lastLine = match.line;
                out += file.fileName;
                out += ':';
                out += std::to_string(match.line + 1);
                out += '\n';
                if (out.size() > (1u << 20)) {
                    std::fwrite(out.data(), 1, out.size(), stdout);
                    out.clear();
                }
            }
            return true;
        });
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int PlainMode(int argc, char** argv)
{
    const std::string_view mode = argv[1];
    if (mode == "--write-tree" && argc >= 5) {
        return WriteTree(argv[2], std::stoul(argv[3]), static_cast<unsigned>(std::stoul(argv[4]))) ? 0 : 1;
    }
    if (mode == "--search" && argc >= 6) {
        return Search(argv[2], argv[3], argv[4], argv[5]);
    }
    std::fprintf(stderr, "usage: see the top of bench/FindInFilesBench.cpp\n");
    return 2;
}

// A 20 MB tree, searched for a literal, ignoring case and with a pattern.
const fs::path& BenchTree()
{
    static const fs::path dir = [] {
        fs::path path = fs::temp_directory_path() / "quillet-findfiles-bench";
        if (!fs::exists(path)) {
            WriteTree(path, 20, 7);
        }
        return path;
    }();
    return dir;
}

void BM_SearchTree(benchmark::State& state, const char* mode, const char* text)
{
    TFileSearcher searcher(text, FlagsFor(mode), MakeDelimiters(""));
    for (auto _ : state) {
        std::size_t matches = 0;
        for (const TSearchFile& file : SearchFiles(BenchTree(), "*", true)) {
            searcher.SearchFile(file.fileName, [&](const TFileMatch&) {
                ++matches;
                return true;
            });
        }
        benchmark::DoNotOptimize(matches);
    }
}
BENCHMARK_CAPTURE(BM_SearchTree, literal, "literal", "needle")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTree, nocase, "nocase", "needle")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchTree, pattern, "pattern", "ne+dle")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillet

int main(int argc, char** argv)
{
    return BenchmarkOrPlainMode(argc, argv, quillet::PlainMode);
}

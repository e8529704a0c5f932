// Throughput of the search engine: counting every match of a literal (with and
// without case) and of a pattern over many lines, and replace-all over a whole
// buffer with its undo.
//
// Besides the Google Benchmark cases, the program has plain modes for
// bench/compare/grep.sh, which times it beside GNU grep on one file:
//   quillet_bench_regexprbench --write-input FILE [MEGABYTES]
//   quillet_bench_regexprbench --count literal|nocase|pattern TEXT FILE
//   quillet_bench_regexprbench --replace-all WORD WITH FILE
//   quillet_bench_regexprbench --find literal|nocase|pattern TEXT FILE forward|backward
// --count prints the number of matches (as grep -o ... | wc -l would);
// --replace-all opens the file as a document and prints the replacements, the
// seconds of replacing and undoing, whether the undo restored the text and the
// peak resident memory in MiB;
// --find loads the file into a text buffer and runs one Find over the whole
// document (forwards from its start, backwards from its end), then the same
// search four more times: it prints the match line (or -1), the seconds of
// the first search on the freshly loaded buffer and the best of the repeats.
#include "PlainModeMain.h"
#include "TextLines.h"
#include "text/MemoSearch.h"
#include "text/MemoSource.h"
#include "text/TextMatch.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quillet {
namespace {

// Prose-like lines with a frequent short word ("the": about one per 100
// bytes, a million in 100 MB), a rarer literal in mixed case and runs of "ab"
// ending in "c".
std::string GenerateText(std::size_t bytes)
{
    std::mt19937 rng(1234);
    static const char* const kWords[] = {"quick",
        "brown",
        "fox",
        "jumps",
        "over",
        "lazy",
        "dog",
        "abab",
        "ababc",
        "cab",
        "needle",
        "Needle",
        "value",
        "index",
        "buffer",
        "search",
        "replace",
        "line",
        "count",
        "x",
        "y",
        "return",
        "while",
        "other"};
    std::string text;
    text.reserve(bytes + 256);
    while (text.size() < bytes) {
        const int words = 4 + static_cast<int>(rng() % 10);
        for (int w = 0; w < words; ++w) {
            text += rng() % 16 == 0 ? "the" : kWords[rng() % std::size(kWords)];
            text += ' ';
        }
        text.back() = '\n';
    }
    return text;
}

// Non-overlapping matches in one line, as grep -o reports them.
std::size_t CountInLine(TTextMatcher& matcher, std::string_view line)
{
    std::size_t count = 0;
    std::size_t from = 0;
    while (std::optional<TLineMatch> match = matcher.FindForward(line, from)) {
        ++count;
        from = match->position + std::max<std::size_t>(match->length, 1);
    }
    return count;
}

std::size_t CountMatches(TTextMatcher& matcher, const std::vector<std::string_view>& lines)
{
    std::size_t count = 0;
    for (std::string_view line : lines) {
        count += CountInLine(matcher, line);
    }
    return count;
}

// The same over a whole text, split into lines on the way.
std::size_t CountMatches(TTextMatcher& matcher, std::string_view text)
{
    std::size_t count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const void* nl = std::memchr(text.data() + start, '\n', text.size() - start);
        const std::size_t end = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text.data()) : text.size();
        count += CountInLine(matcher, text.substr(start, end - start));
        start = end + 1;
    }
    return count;
}

// A read-only mapping of a whole file, as grep reads it.
class TMappedFile {
public:
    explicit TMappedFile(const char* name)
    {
        const int fd = ::open(name, O_RDONLY | O_CLOEXEC);
        struct stat st { };
        if (fd < 0 || ::fstat(fd, &st) != 0) {
            if (fd >= 0) {
                ::close(fd);
            }
            return;
        }
        m_size = static_cast<std::size_t>(st.st_size);
        m_ok = true;
        if (m_size > 0) {
            void* data = ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0);
            m_ok = data != MAP_FAILED;
            m_data = m_ok ? static_cast<const char*>(data) : nullptr;
        }
        ::close(fd);
    }
    ~TMappedFile()
    {
        if (m_data != nullptr) {
            ::munmap(const_cast<char*>(m_data), m_size);
        }
    }
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;
    bool Ok() const { return m_ok; }
    std::string_view Text() const { return {m_data, m_data ? m_size : 0}; }

private:
    const char* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_ok = false;
};

TMatchFlags FlagsFor(std::string_view mode)
{
    if (mode == "nocase") {
        return {false, false, false};
    }
    if (mode == "pattern") {
        return {true, false, true};
    }
    return {true, false, false};
}

const std::string& BenchText()
{
    static const std::string text = GenerateText(10u << 20);
    return text;
}

void CountBench(benchmark::State& state, const char* mode, const char* find)
{
    const std::vector<std::string_view> lines = bench::SplitLines(BenchText());
    TTextMatcher matcher(find, FlagsFor(mode), MakeDelimiters(""));
    std::size_t count = 0;
    for (auto _ : state) {
        count = CountMatches(matcher, lines);
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * BenchText().size()));
}

void BM_CountLiteral(benchmark::State& state)
{
    CountBench(state, "literal", "needle");
}
void BM_CountLiteralIgnoringCase(benchmark::State& state)
{
    CountBench(state, "nocase", "needle");
}
void BM_CountPattern(benchmark::State& state)
{
    CountBench(state, "pattern", "{ab}+c");
}
BENCHMARK(BM_CountLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountLiteralIgnoringCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountPattern)->Unit(benchmark::kMillisecond);

struct TReplaceOutcome {
    int replacements = 0;
    double replaceSeconds = 0;
    double undoSeconds = 0;
    bool restored = false;
};

// Replace-all of word by with over the whole document, timed, then its one undo.
TReplaceOutcome ReplaceAllIn(TMemoSource& source, const std::string& word, const std::string& with)
{
    TSearchOptions options;
    options.TextToFind = word;
    options.ReplaceWith = with;
    options.CaseSensitive = true;
    options.WholeWordsOnly = true;
    options.ReplaceAll = true;
    TMemoSearch search(source, options);
    using TClock = std::chrono::steady_clock;
    const auto t0 = TClock::now();
    search.Replace();
    const auto t1 = TClock::now();
    source.Undo();
    const auto t2 = TClock::now();
    TReplaceOutcome outcome;
    outcome.replacements = search.ReplaceCount();
    outcome.replaceSeconds = std::chrono::duration<double>(t1 - t0).count();
    outcome.undoSeconds = std::chrono::duration<double>(t2 - t1).count();
    return outcome;
}

TReplaceOutcome ReplaceAllInBuffer(const std::string& text, const std::string& word, const std::string& with)
{
    TMemoSource source;
    source.SetKeepTrailingBlanks(true);
    source.LoadFromText(text);
    const std::string before = source.Lines().GetText();
    TReplaceOutcome outcome = ReplaceAllIn(source, word, with);
    outcome.restored = source.Lines().GetText() == before && !source.UndoAvailable();
    return outcome;
}

// FNV-1a over the lines and their ends, without building the whole text.
std::uint64_t LinesFingerprint(const TMemoSource& source)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (int line = 0; line < source.GetStrCount(); ++line) {
        for (const char c : source.GetRawLine(line)) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        hash = (hash ^ '\n') * 1099511628211ull;
    }
    return hash;
}

// The peak resident memory of this process so far, in MiB.
double PeakResidentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0;
}

// Replace-all of the frequent word at 10 and 100 MB: the time per replacement
// must stay flat (linear in the document), and one undo restores everything.
void BM_ReplaceAll(benchmark::State& state)
{
    const std::string text = GenerateText(static_cast<std::size_t>(state.range(0)) << 20);
    TReplaceOutcome outcome;
    for (auto _ : state) {
        outcome = ReplaceAllInBuffer(text, "the", "a");
        if (!outcome.restored) {
            state.SkipWithError("one undo did not restore the text");
            break;
        }
    }
    state.counters["replacements"] = outcome.replacements;
    state.counters["us_per_replacement"] = outcome.replaceSeconds * 1e6 / std::max(outcome.replacements, 1);
    state.counters["undo_s"] = outcome.undoSeconds;
}
BENCHMARK(BM_ReplaceAll)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

bool ReadFile(const char* name, std::string& text)
{
    std::FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return false;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    text.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
    const bool ok = std::fread(text.data(), 1, text.size(), file) == text.size();
    std::fclose(file);
    return ok;
}

int PlainMode(int argc, char** argv)
{
    const std::string_view mode = argv[1];
    if (mode == "--write-input" && argc >= 3) {
        const std::size_t megabytes = argc >= 4 ? std::stoul(argv[3]) : 100;
        std::ofstream out(argv[2], std::ios::binary);
        const std::string text = GenerateText(megabytes << 20);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return out ? 0 : 1;
    }
    if (mode == "--count" && argc >= 5) {
        const TMappedFile file(argv[4]);
        TTextMatcher matcher(argv[3], FlagsFor(argv[2]), MakeDelimiters(""));
        if (!file.Ok() || !matcher.IsValid()) {
            std::fprintf(stderr, "%s\n", file.Ok() ? matcher.ErrorMessage().c_str() : "cannot read the file");
            return 2;
        }
        std::printf("%zu\n", CountMatches(matcher, file.Text()));
        return 0;
    }
    if (mode == "--replace-all" && argc >= 5) {
        // The file opened as the program opens it, so that the peak memory
        // is that of the document, the replacements and their undo.
        TMemoSource source;
        source.SetKeepTrailingBlanks(true);
        if (!source.LoadFromFile(argv[4])) {
            std::fprintf(stderr, "cannot read the file\n");
            return 2;
        }
        const std::uint64_t before = LinesFingerprint(source);
        TReplaceOutcome outcome = ReplaceAllIn(source, argv[2], argv[3]);
        outcome.restored = LinesFingerprint(source) == before && !source.UndoAvailable();
        std::printf("%d %.3f %.3f %s %.0f\n",
            outcome.replacements,
            outcome.replaceSeconds,
            outcome.undoSeconds,
            outcome.restored ? "restored" : "NOT-RESTORED",
            PeakResidentMiB());
        return outcome.restored ? 0 : 1;
    }
    std::string text;
    if (mode == "--find" && argc >= 6 && ReadFile(argv[4], text)) {
        TMemoSource source;
        source.SetKeepTrailingBlanks(true);
        source.LoadFromText(text);
        text.clear();
        text.shrink_to_fit();
        const TMatchFlags flags = FlagsFor(argv[2]);
        TSearchOptions options;
        options.TextToFind = argv[3];
        options.CaseSensitive = flags.caseSensitive;
        options.RegularExpr = flags.regularExpr;
        options.Origin = soEntireScope;
        options.Direction = std::string_view(argv[5]) == "backward" ? sdBackward : sdForward;
        TMemoSearch search(source, options);
        using TClock = std::chrono::steady_clock;
        double first = 0;
        double best = 0;
        int line = -1;
        for (int run = 0; run < 5; ++run) {
            source.JumpTo(0, 0);
            const auto t0 = TClock::now();
            const bool found = search.Find();
            const double seconds = std::chrono::duration<double>(TClock::now() - t0).count();
            line = found ? source.GetCurLine() : -1;
            if (run == 0) {
                first = seconds;
            } else if (run == 1 || seconds < best) {
                best = seconds;
            }
        }
        std::printf("%d %.3f %.3f\n", line, first, best);
        return 0;
    }
    std::fprintf(stderr, "usage: see the top of bench/RegExprBench.cpp\n");
    return 2;
}

} // namespace
} // namespace quillet

int main(int argc, char** argv)
{
    return BenchmarkOrPlainMode(argc, argv, quillet::PlainMode);
}

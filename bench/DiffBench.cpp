// The line difference engine. Plain modes for bench/compare/diff.sh:
//   --write-pair DIR LINES EDITS SEED   DIR/a.txt of LINES generated source
//                                       lines and DIR/b.txt, a copy with EDITS
//                                       scattered edits (lines changed,
//                                       deleted and inserted)
//   --write-shuffled DIR LINES SEED     DIR/a.txt of distinct lines and
//                                       DIR/b.txt, the same lines shuffled
//   --diff A B                          reads both files, numbers their lines
//                                       and runs the engine; prints the number
//                                       of change records and of lines marked
//                                       (adds + deletes + 2 x modifies)
//   --progress A B                      the same with progress: one line
//                                       "tick MS VALUE" per report, then
//                                       "done MS"
//   --cancel A B MS                     another thread asks to cancel after MS
//                                       ms; the run sees the request when it
//                                       lets events run (every 10 ms, as the
//                                       compare window does); prints
//                                       "returned|finished LATENCY_MS"
// The modes that compare use a second thread where the engine may (reading
// the second file, sub-problems of the search); QUILLET_DIFF_THREADS=1 keeps
// them to one.
// Without a mode, the Google Benchmark cases run on generated pairs.
#include "PlainModeMain.h"
#include "compare/Diff.h"
#include "compare/LineIdentities.h"
#include "compare/SecondThread.h"
#include "platform/HugePages.h"

#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {
namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

const char* const kWords[] = {"auto",
    "line",
    "offset",
    "node",
    "next",
    "size",
    "begin",
    "end",
    "first",
    "last",
    "width",
    "height",
    "left",
    "right",
    "top",
    "bottom"};

// A line of C-like text; now and then a brace or an empty line, so that the
// text repeats some lines as source files do.
std::string SourceLine(std::mt19937& random)
{
    const unsigned kind = random() % 20;
    if (kind == 0) {
        return "";
    }
    if (kind == 1) {
        return "    }";
    }
    std::string line(static_cast<std::size_t>(4 * (1 + random() % 3)), ' ');
    const int words = 2 + static_cast<int>(random() % 7);
    for (int w = 0; w < words; ++w) {
        line += kWords[random() % std::size(kWords)];
        line += (random() % 5 == 0) ? "_" + std::to_string(random() % 1000) + " " : " ";
    }
    line += ';';
    return line;
}

bool WriteLines(const std::filesystem::path& file, const std::vector<std::string>& lines)
{
    std::ofstream out(file, std::ios::binary);
    for (const std::string& line : lines) {
        out << line << '\n';
    }
    return static_cast<bool>(out);
}

std::vector<std::string> GeneratedLines(std::mt19937& random, std::size_t count)
{
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        lines.push_back(SourceLine(random));
    }
    return lines;
}

// A copy with `edits` edits at random places: a third change a line, a
// third delete one to three lines, a third insert one to three new lines.
std::vector<std::string> EditedCopy(std::mt19937& random, std::vector<std::string> lines, std::size_t edits)
{
    for (std::size_t e = 0; e < edits && !lines.empty(); ++e) {
        const std::size_t at = random() % lines.size();
        const std::size_t span = 1 + random() % 3;
        switch (random() % 3) {
        case 0:
            lines[at] += " // changed";
            break;
        case 1:
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at),
                lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), at + span)));
            break;
        default:
            for (std::size_t i = 0; i < span; ++i) {
                lines.insert(
                    lines.begin() + static_cast<std::ptrdiff_t>(at), "    inserted(" + std::to_string(e) + ");");
            }
            break;
        }
    }
    return lines;
}

std::vector<std::string> DistinctLines(std::mt19937& random, std::size_t count)
{
    std::vector<std::string> lines = GeneratedLines(random, count);
    for (std::size_t i = 0; i < count; ++i) {
        lines[i] += " // " + std::to_string(i);
    }
    return lines;
}

// Appends the lines of text split at LF, a last line without LF counted too.
// Sixteen bytes are tested at a time and each line feed found from the mask,
// so that short lines cost no call each.
template <typename TLines> void SplitAtLineFeeds(std::string_view text, TLines& lines)
{
    lines.reserve(lines.size() + text.size() / 32);
    const char* const base = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    for (; at + 16 <= size; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + at));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))); mask != 0;
             mask &= mask - 1) {
            const std::size_t end = at + static_cast<std::size_t>(std::countr_zero(mask));
            lines.emplace_back(base + start, end - start);
            start = end + 1;
        }
    }
#endif
    for (; at < size; ++at) {
        if (base[at] == '\n') {
            lines.emplace_back(base + start, at - start);
            start = at + 1;
        }
    }
    if (start < size) {
        lines.emplace_back(base + start, size - start);
    }
}

struct TFree {
    void operator()(char* bytes) const { std::free(bytes); }
};

// An uncleared buffer of at least `size` bytes, aligned to 2 MB and at least
// 8 MB long so that AskForHugePages asks for huge pages over all of it: a
// file or a line list of megabytes then costs a few page faults instead of
// one per 4 KB. Only the pages written are backed by memory. Null when memory
// ran out.
char* LargeBuffer(std::size_t size)
{
    constexpr std::size_t kHugePage = 2 * 1024 * 1024;
    const std::size_t rounded = std::max<std::size_t>(4, (size + kHugePage - 1) / kHugePage) * kHugePage;
    auto* buffer = static_cast<char*>(std::aligned_alloc(kHugePage, rounded));
    if (buffer != nullptr) {
        AskForHugePages(buffer, rounded);
    }
    return buffer;
}

// Vectors of many elements in LargeBuffer's memory.
template <typename T> struct TLargeAllocator {
    using value_type = T;
    TLargeAllocator() = default;
    template <typename U> TLargeAllocator(const TLargeAllocator<U>&) // NOLINT: converting like std::allocator
    {
    }
    T* allocate(std::size_t n)
    {
        char* bytes = LargeBuffer(n * sizeof(T));
        if (bytes == nullptr) {
            throw std::bad_alloc();
        }
        return reinterpret_cast<T*>(bytes);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    friend bool operator==(const TLargeAllocator&, const TLargeAllocator&) { return true; }
};

// A file's bytes and its lines as GNU diff sees them: split at LF, a last
// line without LF counted too. The bytes come with one read into a buffer
// that is not cleared first.
struct TFileLines {
    std::unique_ptr<char, TFree> bytes;
    std::vector<std::string_view, TLargeAllocator<std::string_view>> lines;
};

TFileLines ReadLines(const char* file)
{
    TFileLines read;
    const int fd = open(file, O_RDONLY | O_CLOEXEC);
    struct stat info { };
    if (fd < 0 || fstat(fd, &info) != 0) {
        if (fd >= 0) {
            close(fd);
        }
        return read;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    read.bytes.reset(LargeBuffer(size));
    if (!read.bytes) {
        close(fd);
        return read;
    }
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, read.bytes.get() + got, size - got);
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    SplitAtLineFeeds(std::string_view(read.bytes.get(), got), read.lines);
    return read;
}

long MarkedLines(const TDiff& diff)
{
    long marked = 0;
    for (const TChangeRec& change : diff.ChangeList()) {
        marked += change.Kind == TChangeKind::Modify ? 2L * change.Range : change.Range;
    }
    return marked;
}

bool Run(TDiff& diff, const TLineIdentities& ids)
{
    // An empty side still needs an array: Execute takes a null one as absent.
    static const std::int32_t none = 0;
    return diff.Execute(ids.left.empty() ? &none : ids.left.data(),
        ids.right.empty() ? &none : ids.right.data(),
        static_cast<std::int32_t>(ids.left.size()),
        static_cast<std::int32_t>(ids.right.size()));
}

TLineIdentities ReadPair(const char* a, const char* b)
{
    TFileLines left;
    TFileLines right;
    if (SecondThreadAllowed()) {
        std::thread reader([&] {
            right = ReadLines(b);
        });
        left = ReadLines(a);
        reader.join();
    } else {
        left = ReadLines(a);
        right = ReadLines(b);
    }
    return NumberLines(left.lines, right.lines, false, false);
}

int DiffFiles(const char* a, const char* b)
{
    const TClock::time_point start = TClock::now();
    const TLineIdentities ids = ReadPair(a, b);
    const double numbered = MillisecondsSince(start);
    TDiff diff;
    const bool ok = Run(diff, ids);
    if (std::getenv("QUILLET_DIFF_PHASES") != nullptr) {
        std::fprintf(
            stderr, "read and numbered %.1f ms, compared %.1f ms\n", numbered, MillisecondsSince(start) - numbered);
    }
    if (!ok) {
        std::fprintf(stderr, "the comparison failed\n");
        return 1;
    }
    std::printf("%d %ld\n", diff.ChangeCount(), MarkedLines(diff));
    return 0;
}

int Progress(const char* a, const char* b)
{
    const TLineIdentities ids = ReadPair(a, b);
    TDiff diff;
    TClock::time_point start = TClock::now();
    diff.OnProgress = [&](TDiff&, int value) {
        std::printf("tick %.0f %d\n", MillisecondsSince(start), value);
    };
    start = TClock::now();
    const bool ok = Run(diff, ids);
    std::printf("done %.0f\n", MillisecondsSince(start));
    return ok ? 0 : 1;
}

int CancelLatency(const char* a, const char* b, int afterMs)
{
    const TLineIdentities ids = ReadPair(a, b);
    TDiff diff;
    std::atomic<bool> requested{false};
    TClock::time_point requestedAt;
    TClock::time_point lastPump = TClock::now();
    diff.OnStep = [&] {
        // Events run every 10 ms; a pending Cancel click is seen only then.
        if (TClock::now() - lastPump < std::chrono::milliseconds(10)) {
            return;
        }
        lastPump = TClock::now();
        if (requested.load(std::memory_order_acquire)) {
            diff.Cancel();
        }
    };
    std::thread clicker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        requestedAt = TClock::now();
        requested.store(true, std::memory_order_release);
    });
    const bool finished = Run(diff, ids);
    const TClock::time_point returned = TClock::now();
    clicker.join();
    const double latency = std::chrono::duration<double, std::milli>(returned - requestedAt).count();
    std::printf("%s %.2f\n", finished ? "finished" : "returned", latency);
    return 0;
}

int WritePair(const char* dir, std::size_t lines, std::size_t edits, unsigned seed)
{
    std::mt19937 random(seed);
    const std::vector<std::string> left = GeneratedLines(random, lines);
    const std::filesystem::path folder(dir);
    std::filesystem::create_directories(folder);
    return WriteLines(folder / "a.txt", left) && WriteLines(folder / "b.txt", EditedCopy(random, left, edits)) ? 0 : 1;
}

int WriteShuffled(const char* dir, std::size_t lines, unsigned seed)
{
    std::mt19937 random(seed);
    const std::vector<std::string> left = DistinctLines(random, lines);
    std::vector<std::string> right = left;
    std::shuffle(right.begin(), right.end(), random);
    const std::filesystem::path folder(dir);
    std::filesystem::create_directories(folder);
    return WriteLines(folder / "a.txt", left) && WriteLines(folder / "b.txt", right) ? 0 : 1;
}

void BM_DiffScatteredEdits(benchmark::State& state)
{
    std::mt19937 random(7);
    const std::vector<std::string> left = GeneratedLines(random, static_cast<std::size_t>(state.range(0)));
    const std::vector<std::string> right = EditedCopy(random, left, static_cast<std::size_t>(state.range(1)));
    const TLineIdentities ids = NumberLines(left, right, false, false);
    TDiff diff;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Run(diff, ids));
    }
    state.counters["changes"] = diff.ChangeCount();
}
BENCHMARK(BM_DiffScatteredEdits)->Args({200'000, 3'000})->Unit(benchmark::kMillisecond);

void BM_NumberLines(benchmark::State& state)
{
    std::mt19937 random(7);
    const std::vector<std::string> left = GeneratedLines(random, 200'000);
    const std::vector<std::string> right = EditedCopy(random, left, 3'000);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumberLines(left, right, state.range(0) != 0, state.range(0) != 0));
    }
}
BENCHMARK(BM_NumberLines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DiffShuffled(benchmark::State& state)
{
    std::mt19937 random(7);
    const std::vector<std::string> left = DistinctLines(random, static_cast<std::size_t>(state.range(0)));
    std::vector<std::string> right = left;
    std::shuffle(right.begin(), right.end(), random);
    const TLineIdentities ids = NumberLines(left, right, false, false);
    TDiff diff;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Run(diff, ids));
    }
}
BENCHMARK(BM_DiffShuffled)->Arg(5'000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillet

namespace {

int PlainMode(int argc, char** argv)
{
    using namespace quillet;
    if (const char* threads = std::getenv("QUILLET_DIFF_THREADS");
        threads != nullptr && std::strcmp(threads, "1") == 0) {
        AllowSecondThread(false);
    }
    const auto is = [&](const char* mode, int args) {
        return argc == 2 + args && std::strcmp(argv[1], mode) == 0;
    };
    if (is("--write-pair", 4)) {
        return WritePair(argv[2],
            std::strtoul(argv[3], nullptr, 10),
            std::strtoul(argv[4], nullptr, 10),
            static_cast<unsigned>(std::strtoul(argv[5], nullptr, 10)));
    }
    if (is("--write-shuffled", 3)) {
        return WriteShuffled(
            argv[2], std::strtoul(argv[3], nullptr, 10), static_cast<unsigned>(std::strtoul(argv[4], nullptr, 10)));
    }
    if (is("--diff", 2)) {
        return DiffFiles(argv[2], argv[3]);
    }
    if (is("--progress", 2)) {
        return Progress(argv[2], argv[3]);
    }
    if (is("--cancel", 3)) {
        return CancelLatency(argv[2], argv[3], std::atoi(argv[4]));
    }
    std::fprintf(stderr, "usage: see the top of bench/DiffBench.cpp\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    return BenchmarkOrPlainMode(argc, argv, PlainMode);
}

// Throughput of the encoders, checksums and line transforms of the Edit menu.
//
// Besides the Google Benchmark cases, the program has a plain mode for
// bench/compare/base64_md5.sh, which times it beside coreutils on one file:
//   quillet_bench_encodersbench --run base64|md5|crc32 FILE
// reads FILE and writes the result to standard output like the tool would.
#include "PlainModeMain.h"
#include "text/Checksum.h"
#include "text/EditTransform.h"
#include "text/Encoder.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace quillet {
namespace {

std::string RandomBytes(std::size_t size)
{
    std::mt19937_64 rng(42);
    std::string s(size, '\0');
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint64_t v = rng();
        std::memcpy(s.data() + i, &v, 8);
    }
    return s;
}

// Source-like lines: indentation, words of mixed case, some tabs.
TLines RandomLines(std::size_t count)
{
    std::mt19937 rng(7);
    static const char* const kWords[] = {"return",
        "Value",
        "index",
        "if",
        "else",
        "TMemoSource",
        "count",
        "0x1F",
        "while",
        "std::string",
        "line",
        "Buffer",
        "x",
        "// note",
        "{",
        "}"};
    TLines lines(count);
    for (std::string& line : lines) {
        line.assign(rng() % 3, '\t');
        line.append((rng() % 3) * 4, ' ');
        const int words = 1 + static_cast<int>(rng() % 8);
        for (int w = 0; w < words; ++w) {
            line += kWords[rng() % std::size(kWords)];
            line += (rng() % 5 == 0) ? '\t' : ' ';
        }
    }
    return lines;
}

constexpr std::size_t kMiB = 1024 * 1024;

void BM_Base64Encode(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Base64Encode(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Base64Encode)->Arg(kMiB)->Arg(16 * kMiB);

void BM_Base64Decode(benchmark::State& state)
{
    const std::string text = Base64Encode(RandomBytes(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Base64Decode(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Base64Decode)->Arg(16 * kMiB);

void BM_Md5(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Md5(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Md5)->Arg(16 * kMiB);

void BM_Crc32(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crc32(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc32)->Arg(16 * kMiB);

void BM_Crc16(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crc16(data));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Crc16)->Arg(16 * kMiB);

void BM_QuotedPrintable(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(QuotedPrintableDecode(QuotedPrintableEncode(data)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_QuotedPrintable)->Arg(16 * kMiB);

void BM_UuEncodeDecode(benchmark::State& state)
{
    const std::string data = RandomBytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(UuDecode(UuEncode(data)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_UuEncodeDecode)->Arg(16 * kMiB);

// Sorting one million selected lines must stay well under a second.
void BM_SortLines(benchmark::State& state)
{
    const TLines lines = RandomLines(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TLines copy = lines;
        state.ResumeTiming();
        SortLines(copy, TSortOrder::Ascending, false);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_SortLines)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Tab conversions must be linear in the number of lines: the complexity fit
// over 125 thousand to 1 million lines reports it.
void BM_TabsToSpaces(benchmark::State& state)
{
    const TLines lines = RandomLines(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TLines copy = lines;
        state.ResumeTiming();
        TabsToSpaces(copy, 4);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TabsToSpaces)
    ->RangeMultiplier(2)
    ->Range(125000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_SpacesToTabs(benchmark::State& state)
{
    const TLines lines = RandomLines(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        TLines copy = lines;
        state.ResumeTiming();
        SpacesToTabs(copy, 4);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SpacesToTabs)
    ->RangeMultiplier(2)
    ->Range(125000, 1000000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

// Streams the file through the engine in blocks (a multiple of 3 bytes, so
// Base64 output joins up), as the command-line tools do.
int RunOnFile(const char* op, const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "cannot read %s: %s\n", path, std::strerror(errno));
        return 2;
    }
    const bool base64 = std::strcmp(op, "base64") == 0;
    const bool md5 = std::strcmp(op, "md5") == 0;
    const bool crc32 = std::strcmp(op, "crc32") == 0;
    if (!base64 && !md5 && !crc32) {
        std::fclose(file);
        std::fprintf(stderr, "unknown operation %s\n", op);
        return 2;
    }
    static char buffer[3 << 16];
    TMd5 md5Sum;
    TCrc32 crc32Sum;
    std::size_t n = 0;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        const std::string_view block(buffer, n);
        if (base64) {
            const std::string text = Base64Encode(block);
            ok = ok && std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
        } else if (md5) {
            md5Sum.Update(block);
        } else {
            crc32Sum.Update(block);
        }
    }
    ok = ok && std::ferror(file) == 0;
    std::fclose(file);
    if (md5) {
        static constexpr char kHex[] = "0123456789abcdef";
        for (std::uint8_t b : md5Sum.Finish()) {
            std::printf("%c%c", kHex[b >> 4], kHex[b & 15]);
        }
        std::printf("  %s\n", path);
    } else if (crc32) {
        std::printf("%u\n", static_cast<unsigned>(crc32Sum.Value()));
    }
    return ok ? 0 : 1;
}

int PlainMode(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--run") == 0) {
        return RunOnFile(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: see the top of bench/EncodersBench.cpp\n");
    return 2;
}

} // namespace
} // namespace quillet

int main(int argc, char** argv)
{
    return BenchmarkOrPlainMode(argc, argv, quillet::PlainMode);
}

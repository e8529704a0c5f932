// Charset conversion speed on 100 MB inputs, beside the system's iconv(3) on
// the same bytes. Inputs are generated here, or read from the folder named by
// QUILLET_CHARSET_BENCH_DIR (bench/compare/charsets.sh hands the same files to
// the iconv program). Every run converts the whole input once.
//
// Run as `quillet_bench_charsetbench --convert FROM TO FILE` (FROM and TO
// one of utf8, 1250, ucs2le) it converts one file to standard output as a
// whole process, the way the iconv program is timed beside it.
#include "PlainModeMain.h"
#include "core/CharsetConversion.h"
#include "core/CodePages.h"
#include "core/DocumentFile.h"
#include "text/MemoSource.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace quillet;
namespace fs = std::filesystem;

constexpr std::size_t kInputSize = 100u << 20;

// Czech program text: mostly ASCII with accented letters Windows-1250 holds.
std::string MakeUtf8Text(std::size_t size)
{
    static const char* const kLines[] = {
        "    // Přidá řádek do seznamu a vrátí jeho číslo (žluťoučký kůň úpěl ďábelské ódy)\n",
        "    int count = items.size(); if (count > 0) { return items[count - 1].value; }\n",
        "    std::string název = \"Příliš žluťoučký kůň\"; // čeština, slovenčina: ľúbostná báseň\n",
        "    for (std::size_t i = 0; i < n; ++i) { total += weights[i] * values[i]; }\n",
    };
    std::string out;
    out.reserve(size + 128);
    for (std::size_t i = 0; out.size() < size; ++i) {
        out += kLines[i % 4];
    }
    return out;
}

std::string ReadAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The three inputs: UTF-8, Windows-1250 and UCS-2LE forms of one text.
struct TInputs {
    std::string utf8;
    std::string cp1250;
    std::string ucs2le;
};

const TInputs& Inputs()
{
    static const TInputs inputs = [] {
        TInputs in;
        if (const char* dir = std::getenv("QUILLET_CHARSET_BENCH_DIR")) {
            in.utf8 = ReadAll(fs::path(dir) / "utf8.txt");
            in.cp1250 = ReadAll(fs::path(dir) / "cp1250.txt");
            in.ucs2le = ReadAll(fs::path(dir) / "ucs2le.txt");
        } else {
            in.utf8 = MakeUtf8Text(kInputSize);
            in.cp1250 = CharsetConversion(in.utf8, kCpUtf8, kCpWindows1250);
            in.ucs2le = CharsetConversion(in.utf8, kCpUtf8, kCpUcs2LE);
        }
        SetSystemCodePage(kCpWindows1250);
        return in;
    }();
    return inputs;
}

// outFactor: output bytes per input byte at most, so that the buffer is not
// zero-filled far beyond what the conversion writes.
std::size_t IconvConvert(
    const char* from, const char* to, const std::string& in, std::string& out, std::size_t outFactor)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return 0;
    }
    out.resize(in.size() * outFactor + 16);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return out.size() - outLeft;
}

void Report(benchmark::State& state, std::size_t bytes)
{
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Ours_Utf8To1250(benchmark::State& state)
{
    const std::string& in = Inputs().utf8;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CharsetConversion(in, kCpUtf8, kCpWindows1250));
    }
    Report(state, in.size());
}

void BM_Iconv_Utf8To1250(benchmark::State& state)
{
    const std::string& in = Inputs().utf8;
    std::string out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(IconvConvert("UTF-8", "WINDOWS-1250", in, out, 1));
    }
    Report(state, in.size());
}

void BM_Ours_1250ToUtf8(benchmark::State& state)
{
    const std::string& in = Inputs().cp1250;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CharsetConversion(in, kCpWindows1250, kCpUtf8));
    }
    Report(state, in.size());
}

void BM_Iconv_1250ToUtf8(benchmark::State& state)
{
    const std::string& in = Inputs().cp1250;
    std::string out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(IconvConvert("WINDOWS-1250", "UTF-8", in, out, 3));
    }
    Report(state, in.size());
}

void BM_Ours_Ucs2LEToSystem(benchmark::State& state)
{
    const std::string& in = Inputs().ucs2le;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CharsetConversion(in, kCpUcs2LE, GetSystemCodePage()));
    }
    Report(state, in.size());
}

void BM_Iconv_Ucs2LEToSystem(benchmark::State& state)
{
    const std::string& in = Inputs().ucs2le;
    std::string out;
    for (auto _ : state) {
        benchmark::DoNotOptimize(IconvConvert("UCS-2LE", "WINDOWS-1250", in, out, 1));
    }
    Report(state, in.size());
}

// Opening a UTF-8 file end to end: probe, read and convert into the system
// code page.
void BM_Ours_OpenUtf8File(benchmark::State& state)
{
    const std::string& in = Inputs().utf8;
    const fs::path file = fs::temp_directory_path() / ("quillet-charset-bench-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << in;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadTextDocument(file, GetCPIndex(kCpUtf8)));
    }
    fs::remove(file);
    Report(state, in.size());
}

// The same, handing the text to a fresh text buffer as the document window
// does.
void BM_Ours_OpenUtf8FileIntoBuffer(benchmark::State& state)
{
    const std::string& in = Inputs().utf8;
    const fs::path file = fs::temp_directory_path() / ("quillet-charset-bench-" + std::to_string(::getpid()) + ".txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << in;
    }
    for (auto _ : state) {
        const TDocumentLoad load = LoadTextDocument(file, GetCPIndex(kCpUtf8));
        TMemoSource buffer;
        buffer.LoadFromText(load.text);
        benchmark::DoNotOptimize(buffer);
    }
    fs::remove(file);
    Report(state, in.size());
}

} // namespace

int CodePageNamed(const std::string& name)
{
    if (name == "utf8") {
        return kCpUtf8;
    }
    if (name == "ucs2le") {
        return kCpUcs2LE;
    }
    return kCpWindows1250;
}

// One conversion as a whole process: read the file, convert, write stdout.
int ConvertMode(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: --convert utf8|1250|ucs2le utf8|1250|ucs2le FILE\n");
        return 2;
    }
    // Mapped, as the iconv program reads its input.
    const int fd = ::open(argv[4], O_RDONLY | O_CLOEXEC);
    struct stat st { };
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        return 1;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    void* data = size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
    ::close(fd);
    if (data == MAP_FAILED) {
        return 1;
    }
    const std::string out = CharsetConversion(
        std::string_view(static_cast<const char*>(data), size), CodePageNamed(argv[2]), CodePageNamed(argv[3]));
    return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}

BENCHMARK(BM_Ours_Utf8To1250)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Iconv_Utf8To1250)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ours_1250ToUtf8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Iconv_1250ToUtf8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ours_Ucs2LEToSystem)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Iconv_Ucs2LEToSystem)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ours_OpenUtf8File)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ours_OpenUtf8FileIntoBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--convert") {
        return ConvertMode(argc, argv);
    }
    return RunBenchmarks(argc, argv);
}

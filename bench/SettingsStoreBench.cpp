// Settings store: writing and reading 10,000 keys through the file.
#include "core/SettingsStore.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace quillet;

constexpr int kKeys = 10000;

std::filesystem::path BenchFile()
{
    return std::filesystem::temp_directory_path() / ("quillet-settings-bench-" + std::to_string(::getpid()) + ".ini");
}

std::string Section(int i)
{
    return "Section" + std::to_string(i / 100);
}

void FillStore(const std::filesystem::path& file)
{
    TSettingsStore store(file, TSettingsForm::PerUser);
    TSettingsBatch batch(store);
    for (int i = 0; i < kKeys; ++i) {
        store.WriteString(Section(i), "Key" + std::to_string(i), "value number " + std::to_string(i));
    }
}

// 10,000 writes in one batch, saved once through a temporary file.
void BM_WriteBatched(benchmark::State& state)
{
    const auto file = BenchFile();
    for (auto _ : state) {
        std::filesystem::remove(file);
        FillStore(file);
    }
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_WriteBatched)->Unit(benchmark::kMillisecond);

// Loading the 10,000-key file and reading every key.
void BM_LoadAndReadAll(benchmark::State& state)
{
    const auto file = BenchFile();
    FillStore(file);
    for (auto _ : state) {
        TSettingsStore store(file, TSettingsForm::PerUser);
        std::int64_t total = 0;
        for (int i = 0; i < kKeys; ++i) {
            total += static_cast<std::int64_t>(store.ReadString(Section(i), "Key" + std::to_string(i), "").size());
        }
        benchmark::DoNotOptimize(total);
    }
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * kKeys);
}
BENCHMARK(BM_LoadAndReadAll)->Unit(benchmark::kMillisecond);

// Single writes outside a batch: each one is a full, fsync'ed save.
void BM_UnbatchedWrite(benchmark::State& state)
{
    const auto file = BenchFile();
    FillStore(file);
    TSettingsStore store(file, TSettingsForm::PerUser);
    int i = 0;
    for (auto _ : state) {
        store.WriteInteger("Counters", "Value", i++);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_UnbatchedWrite)->Unit(benchmark::kMillisecond);

} // namespace

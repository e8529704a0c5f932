// main() of a benchmark program that also has plain modes for the
// bench/compare scripts: a first argument starting with "--" that is no
// Google Benchmark flag selects the program's own mode.
#pragma once

#include <benchmark/benchmark.h>
#include <cstring>

// Runs the registered benchmarks with Google Benchmark's own flags; an
// argument it does not know fails the run.
inline int RunBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

inline int BenchmarkOrPlainMode(int argc, char** argv, int (*plainMode)(int, char**))
{
    if (argc >= 2 && std::strncmp(argv[1], "--", 2) == 0 && std::strncmp(argv[1], "--benchmark", 11) != 0) {
        return plainMode(argc, argv);
    }
    return RunBenchmarks(argc, argv);
}

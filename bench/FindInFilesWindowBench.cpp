// The result window taking many matches, for bench/compare/findfiles.sh:
//   --window-pauses DIR   searches DIR for "needle" into a result window and
//                         prints the number of lines, the longest pause of the
//                         event loop in wall and in CPU time (ms) and how much
//                         memory grew (MiB)
#include "tools/ui/FindInFiles.h"
#include "tools/ui/ResultPage.h"
#include "tools/ui/ResultWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace quillet {
namespace {

constexpr int kSettleMs = 300;

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

int WindowPauses(int argc, char** argv, const char* dir)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QWidget main;
    main.resize(900, 600);
    TResultWindow results(&main);
    TFindInFiles find(results, &main, TFindInFilesHost{});
    main.show();
    // The panel is shown and painted once first, as it is in a running
    // program, so that loading the fonts is not counted as a pause.
    results.show();
    results.Page(TResultWindow::kFindInFilesPage).Model().Append("warm-up line");
    QApplication::processEvents();
    results.Page(TResultWindow::kFindInFilesPage).Model().Clear();
    QApplication::processEvents();
    const long before = ResidentKilobytes();
    // A timer that should fire every 5 ms: the longest gap between its ticks
    // (and from the start to the first one) is the longest time the event
    // loop did not run; the same in CPU time of the thread, which a busy
    // machine does not inflate.
    const auto threadCpuMs = [] {
        timespec cpu{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        return static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6;
    };
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    double lastCpu = 0;
    double longestCpu = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > longest && std::getenv("QUILLET_PAUSE_TRACE") != nullptr) {
            std::fprintf(stderr,
                "gap %lld ms at %lld ms, %zu lines\n",
                static_cast<long long>(now - last),
                static_cast<long long>(now),
                results.Page(TResultWindow::kFindInFilesPage).List().Count());
        }
        longest = std::max(longest, now - last);
        last = now;
        const double cpuMs = threadCpuMs();
        longestCpu = std::max(longestCpu, cpuMs - lastCpu);
        lastCpu = cpuMs;
    });
    clock.start();
    lastCpu = threadCpuMs();
    tick.start(5);
    TFindInFilesRequest request;
    request.text = "needle";
    request.where = swDirectories;
    request.directory = std::string(dir) + "/";
    request.masks = "*";
    request.includeSubdirs = true;
    // The loop runs on a while after the search, so that the view's layout
    // and painting of the last rows are measured too.
    QTimer::singleShot(0, [&] {
        find.Run(request);
        QTimer::singleShot(kSettleMs, &app, &QApplication::quit);
    });
    QApplication::exec();
    const long after = ResidentKilobytes();
    std::printf("%zu %lld %.0f %.1f\n",
        results.Page(TResultWindow::kFindInFilesPage).List().Count(),
        static_cast<long long>(longest),
        longestCpu,
        static_cast<double>(after - before) / 1024.0);
    return 0;
}

} // namespace
} // namespace quillet

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--window-pauses") == 0) {
        return quillet::WindowPauses(argc, argv, argv[2]);
    }
    std::fprintf(stderr, "usage: see the top of bench/FindInFilesWindowBench.cpp\n");
    return 2;
}

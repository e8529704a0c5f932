// Opening a project of 200 entries, 40 of them open: 2,000-line C files that
// the shipped C definition colours, in a main window on the offscreen
// platform. Each iteration closes the project (untimed) and opens it again.
#include "OffscreenApp.h"
#include "SourceTree.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/QuilletMainForm.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"

#include <QApplication>

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace quillet;
namespace fs = std::filesystem;

fs::path MakeProject(const fs::path& folder)
{
    fs::create_directories(folder / "src");
    std::string body;
    for (int line = 0; line < 2000; ++line) {
        body += "static int f" + std::to_string(line) + "(int x) { return x * " + std::to_string(line)
            + "; } /* comment */\n";
    }
    std::string project = "[General]\nSignature=Quillet project file\nFilesCount=200\nActiveFile=1\n";
    for (int i = 1; i <= 200; ++i) {
        const std::string name = "src/file" + std::to_string(i) + ".c";
        std::ofstream(folder / name, std::ios::binary) << body;
        project += "[File" + std::to_string(i) + "]\nName=" + name + "\nOpen=" + (i % 5 == 1 ? "1" : "0")
            + "\nType=0\nCodePage=windows-1252\n";
    }
    std::ofstream(folder / "bench.qpr", std::ios::binary) << project;
    return folder / "bench.qpr";
}

void BM_OpenProject(benchmark::State& state)
{
    OffscreenApp();
    const fs::path folder = fs::temp_directory_path() / ("quillet-project-bench-" + std::to_string(::getpid()));
    const fs::path project = MakeProject(folder);
    TSchemeCatalog catalog({bench::SourceRoot()});
    catalog.LoadAll();
    TTextStyles styles;
    TQuilletMainForm main;
    auto* documents = new TDocumentManager(main);
    main.SetDocumentOpener(documents);
    TSyntaxContext context;
    context.catalog = &catalog;
    context.styles = &styles;
    documents->SetSyntaxContext(context);
    auto* projects = new TProjectManager(main, *documents, nullptr);
    documents->OnOpenProject = [projects](const std::string& file) {
        return projects->OpenProject(file);
    };
    main.show();
    std::size_t opened = 0;
    for (auto _ : state) {
        TOpenRequest request;
        request.fileName = project.string();
        documents->CreateMDIChild(request);
        QApplication::processEvents();
        state.PauseTiming();
        opened = documents->Forms().size();
        projects->CloseProject();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["documents"] = static_cast<double>(opened);
    fs::remove_all(folder);
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)->Iterations(1);

} // namespace

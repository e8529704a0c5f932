// How fast the options dialog opens and applies, with 20 highlighted
// 5,000-line C++ documents open (offscreen platform).
//   BM_OptionsFirstPaint  from the command to the dialog's first paint, on a
//                         second opening (the first one is made before timing)
//   BM_OptionsOkRepaint   from OK until every visible view has repainted
// Targets: first paint under 300 ms, OK to repaint under 500 ms.
// Each reports the median of 5 repetitions.
#include "OffscreenApp.h"
#include "SourceTree.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/OptionsCatalogPage.h"
#include "app/ui/OptionsForm.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QMdiArea>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

namespace {

using namespace quillet;

// Notes the widgets that received a paint event.
class TPaintWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted.insert(watched);
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                painted.insert(widget->window());
            }
        }
        return false;
    }
    std::set<QObject*> painted;
};

struct TFixture {
    TFixture()
    {
        OffscreenApp();
        const std::filesystem::path root = bench::SourceRoot();
        catalog = std::make_unique<TSchemeCatalog>(std::vector<std::filesystem::path>{root});
        catalog->LoadAll();
        main = std::make_unique<TQuilletMainForm>();
        documents = new TDocumentManager(*main);
        documents->SetSettingsStore(&store);
        main->SetDocumentOpener(documents);
        TSyntaxContext syntax;
        syntax.catalog = catalog.get();
        syntax.styles = &styles;
        syntax.OnError = [](const QString& message) {
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        };
        documents->SetSyntaxContext(syntax);
        main->resize(1200, 800);
        main->show();
        std::string text;
        for (int i = 0; i < 5000; ++i) {
            text += "static int value" + std::to_string(i) + " = " + std::to_string(i * 7)
                + "; /* comment */ // \"text\"\n";
        }
        for (int i = 0; i < 20; ++i) {
            documents->New();
            TChildForm* form = documents->ActiveForm();
            form->MemoSource().LoadFromText(text);
            ZmenSyntaxParser(*form, "C++.def", syntax);
            form->MemoSource().SetModified(false);
        }
        main->MdiArea()->tileSubWindows();
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
        }
        context.mainForm = main.get();
        context.store = &store;
        context.catalog = catalog.get();
        context.textStyles = &styles;
        context.documents = documents;
        context.dataFolders = {root};
        TOptionsForm warm(context, TOptionsPage::Display, main.get());
        warm.show();
        QApplication::processEvents();
    }
    TSettingsStore store{std::filesystem::path{}, TSettingsForm::PerUser};
    TTextStyles styles;
    std::unique_ptr<TSchemeCatalog> catalog;
    std::unique_ptr<TQuilletMainForm> main;
    TDocumentManager* documents = nullptr;
    TOptionsContext context;
};

TFixture& Fixture()
{
    static TFixture fixture;
    return fixture;
}

void BM_OptionsFirstPaint(benchmark::State& state)
{
    TFixture& f = Fixture();
    for (auto _ : state) {
        TPaintWatch watch;
        QElapsedTimer timer;
        timer.start();
        QApplication::instance()->installEventFilter(&watch);
        TOptionsForm form(f.context, TOptionsPage::Environment, f.main.get());
        form.show();
        while (watch.painted.count(&form) == 0 && timer.elapsed() < 10000) {
            QApplication::processEvents();
        }
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        QApplication::instance()->removeEventFilter(&watch);
    }
}
BENCHMARK(BM_OptionsFirstPaint)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_OptionsOkRepaint(benchmark::State& state)
{
    TFixture& f = Fixture();
    int margin = 70;
    for (auto _ : state) {
        TOptionsForm form(f.context, TOptionsPage::Display, f.main.get());
        form.show();
        QApplication::processEvents();
        auto* page = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Display));
        qobject_cast<QLineEdit*>(page->Control("MarginPosition"))->setText(QString::number(++margin));
        TPaintWatch watch;
        std::vector<TTarnMemo*> visible;
        for (TChildForm* document : f.documents->Forms()) {
            for (TTarnMemo* view : {&document->Memo(), &document->Memo1()}) {
                if (view->isVisible() && !view->visibleRegion().isEmpty()) {
                    visible.push_back(view);
                }
            }
        }
        QApplication::instance()->installEventFilter(&watch);
        QElapsedTimer timer;
        timer.start();
        form.ApplyChanges();
        form.accept();
        const auto allPainted = [&] {
            for (TTarnMemo* view : visible) {
                if (watch.painted.count(view) == 0) {
                    return false;
                }
            }
            return true;
        };
        while (!allPainted() && timer.elapsed() < 10000) {
            QApplication::processEvents();
        }
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        QApplication::instance()->removeEventFilter(&watch);
        state.counters["views"] = static_cast<double>(visible.size());
    }
}
BENCHMARK(BM_OptionsOkRepaint)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

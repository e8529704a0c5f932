// The compare window, single shots for bench/compare/diff.sh:
//   --open A B          loads both files as the window's sides (read, decoded
//                       and split as a document's buffer does), compares them,
//                       builds the rows and shows the window; prints the
//                       milliseconds until both views have painted and the
//                       number of differences
//   --cancel A B MS     compares the pair and presses the progress window's
//                       Cancel MS ms after the start; prints the milliseconds
//                       from the press being due until the comparison returned
//                       and whether it was cancelled
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "compare/ui/CompareForm.h"
#include "compare/ui/CompareProgressForm.h"
#include "core/SettingsStore.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace quillet {
namespace {

// Counts paint events of the views' viewports.
class TPaintWatch : public QObject {
public:
    int painted = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++painted;
        }
        return QObject::eventFilter(watched, event);
    }
};

TCompareSide LoadSide(const char* file)
{
    TCompareChoice choice;
    choice.file = TCompareFile{file, 0};
    TSideLoad load = LoadCompareSide(choice);
    if (!load.ok) {
        std::fprintf(stderr, "%s: %s\n", file, load.error.toLocal8Bit().constData());
        std::exit(1);
    }
    return std::move(load.side);
}

TCompareContext Context()
{
    TCompareContext context;
    context.viewSettings.fontName = "DejaVu Sans Mono";
    context.viewSettings.fontSize = 10;
    return context;
}

int Open(const char* a, const char* b)
{
    QElapsedTimer clock;
    clock.start();
    auto* form = new TCompareForm(Context(), LoadSide(a), LoadSide(b));
    if (form->Compare(false, false) != TCompareOutcome::Differences) {
        std::fprintf(stderr, "the files do not differ or could not be compared\n");
        return 1;
    }
    TPaintWatch left;
    TPaintWatch right;
    form->View(0).viewport()->installEventFilter(&left);
    form->View(1).viewport()->installEventFilter(&right);
    form->show();
    while (left.painted == 0 || right.painted == 0) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::printf("%lld %d\n", static_cast<long long>(clock.elapsed()), form->Diff().ChangeCount());
    delete form;
    return 0;
}

int Cancel(const char* a, const char* b, int afterMs)
{
    auto* form = new TCompareForm(Context(), LoadSide(a), LoadSide(b));
    QElapsedTimer clock;
    QTimer press;
    press.setSingleShot(true);
    // Never before it is due: the latency counts from the due time, and
    // includes waiting for the comparison to let events run.
    press.setTimerType(Qt::PreciseTimer);
    QObject::connect(&press, &QTimer::timeout, [form] {
        if (form->ProgressForm() != nullptr) {
            form->ProgressForm()->CancelButton()->click();
        }
    });
    clock.start();
    press.start(afterMs);
    const TCompareOutcome outcome = form->Compare(false, false);
    const qint64 returned = clock.elapsed();
    std::printf("%lld %s\n",
        static_cast<long long>(returned - afterMs),
        outcome == TCompareOutcome::Cancelled ? "cancelled" : "finished");
    delete form;
    return 0;
}

} // namespace
} // namespace quillet

int main(int argc, char** argv)
{
    using namespace quillet;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
    if (argc == 4 && std::strcmp(argv[1], "--open") == 0) {
        return Open(argv[2], argv[3]);
    }
    if (argc == 5 && std::strcmp(argv[1], "--cancel") == 0) {
        return Cancel(argv[2], argv[3], std::atoi(argv[4]));
    }
    std::fprintf(stderr, "usage: see the top of bench/CompareWindowBench.cpp\n");
    return 2;
}

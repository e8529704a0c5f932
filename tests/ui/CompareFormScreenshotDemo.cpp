// Not a test of its own: with QUILLET_COMPARE_DEMO set to a folder it shows
// the compare window on two versions of a real source file (added, deleted
// and modified blocks) on the real display and takes screenshots of the
// whole screen with `import` for scripts/screenshots-compare.sh: normal,
// differences only, and rotated.
#include "compare/ui/CompareForm.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quillet {
namespace {

std::vector<std::string> FileLines(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void Shoot(const std::filesystem::path& folder, const char* name)
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QTest::qWait(50);
    }
    QProcess::execute(QStringLiteral("import"),
        {QStringLiteral("-window"), QStringLiteral("root"), QString::fromStdString((folder / name).string())});
}

TEST(CompareFormScreenshotDemo, ShowsTheDifferencesViewer)
{
    const char* folder = std::getenv("QUILLET_COMPARE_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_COMPARE_DEMO to a folder for the screenshots";
    }
    ResetLang("");
    SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
    // The left side is a real source file; the right one is its edited copy.
    const std::filesystem::path source = std::filesystem::path(QUILLET_SOURCE_DIR) / "src/compare/CompareRows.cpp";
    TCompareSide left;
    left.displayName = QString::fromStdString(source.string());
    left.lines = FileLines(source);
    TCompareSide right;
    right.displayName = QStringLiteral("/home/user/work/CompareRows.cpp");
    right.lines = left.lines;
    right.lines.erase(right.lines.begin() + 10, right.lines.begin() + 13); // deleted block
    right.lines[20] += " // checked";
    right.lines[21] = "    // both lists are read-only here";
    right.lines.insert(right.lines.begin() + 30, {"    // a new comment block", "    // over two lines"});
    right.lines[45] = "        rows.reserve(changes.size());";

    TCompareContext context;
    context.viewSettings.fontName = "DejaVu Sans Mono";
    context.viewSettings.fontSize = 10;
    auto* form = new TCompareForm(context, std::move(left), std::move(right));
    ASSERT_EQ(form->Compare(false, false), TCompareOutcome::Differences);
    form->resize(1180, 820);
    form->move(40, 30);
    form->show();
    form->View(1).setFocus();
    form->NextDifference();
    form->NextDifference();
    const std::filesystem::path out(folder);
    Shoot(out, "compare-normal.png");
    form->ToggleDifferencesOnly();
    Shoot(out, "compare-differences-only.png");
    form->ToggleDifferencesOnly();
    form->RotateView();
    Shoot(out, "compare-rotated.png");
    form->View(0).MemoSource().SetModified(false);
    form->View(1).MemoSource().SetModified(false);
    delete form;
}

} // namespace
} // namespace quillet

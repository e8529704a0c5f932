// Not a test of its own: with QUILLET_SYNTAX_SHOTS set to a folder it shows
// the C++, HTML and Python samples coloured by the shipped definitions, in the
// "Default" and "Twilight" presets, and saves each window as a PNG there for
// scripts/screenshots-syntax.sh. QUILLET_SYNTAX_SAMPLES (blank-separated file
// names under tests/data/syntax/samples) chooses other samples.
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace quillet {
namespace {

TEST(SyntaxScreenshots, SavesColouredSamples)
{
    const char* folder = std::getenv("QUILLET_SYNTAX_SHOTS");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_SYNTAX_SHOTS to a folder to save the screenshots";
    }
    QDir().mkpath(QString::fromLocal8Bit(folder));
    TSchemeCatalog catalog({test::DataPath("../..")});
    catalog.LoadAll();
    TTextStyles styles;
    styles.SetEditorFont({"DejaVu Sans Mono", 10, 1});
    TSyntaxContext context{&catalog, &styles, {}, {}, {}};

    std::vector<std::string> samples = {"sample.cpp", "sample.html", "sample.py"};
    if (const char* chosen = std::getenv("QUILLET_SYNTAX_SAMPLES")) {
        samples.clear();
        std::istringstream names(chosen);
        for (std::string name; names >> name;) {
            samples.push_back(name);
        }
    }
    for (const std::string& sampleName : samples) {
        const char* sample = sampleName.c_str();
        std::ifstream in(test::DataPath("syntax/samples/" + sampleName), std::ios::binary);
        ASSERT_TRUE(in) << sampleName;
        std::stringstream text;
        text << in.rdbuf();
        for (int preset : {0, 3}) {
            styles.ApplyPreset(preset);
            TChildForm form;
            form.resize(900, 700);
            form.SetUntitledCaption(QString::fromLatin1(sample));
            form.MemoSource().SetHighlightUrls(true);
            form.MemoSource().LoadFromText(text.str());
            form.SetFileName(std::filesystem::path("/nonexistent") / sample);
            for (TTarnMemo* view : {&form.Memo(), &form.Memo1()}) {
                QFont font(QStringLiteral("DejaVu Sans Mono"));
                font.setPointSize(10);
                view->SetEditorFont(font);
                view->SetOption(moColorSyntax, true);
            }
            ApplyTextStyles(form, styles);
            ASSERT_TRUE(ChooseSyntax(form, context)) << sample;
            form.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
            QApplication::processEvents();
            const QString name = QStringLiteral("%1/syntax-%2-%3.png")
                                     .arg(QString::fromLocal8Bit(folder),
                                         QString::fromLatin1(sample).mid(7).replace(QLatin1Char('.'), QLatin1Char('-')),
                                         QString::fromLatin1(ColorPresetName(preset).data()).toLower());
            EXPECT_TRUE(form.grab().save(name)) << name.toStdString();
            form.MemoSource().SetModified(false);
        }
    }
}

} // namespace
} // namespace quillet

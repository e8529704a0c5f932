#include "app/ui/CustomizeToolbarsForm.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/OptionsForm.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

// The palette of a dark desktop theme.
QPalette DarkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 30), text(220, 220, 220);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(38, 79, 120));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return p;
}

// Not a test of its own: with QUILLET_OPTIONS_DEMO set to a folder it shows
// every page of the options dialog and both pages of Customize Toolbars and
// saves a screenshot of the screen for each (run under Xvfb with a window
// manager). QUILLET_DEMO_FONT sets the point size, QUILLET_DEMO_DARK=1 a dark
// palette; QUILLET_DEMO_PREFIX begins the file names.
TEST(OptionsScreenshots, SavesEveryPage)
{
    const char* folder = std::getenv("QUILLET_OPTIONS_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_OPTIONS_DEMO to a folder for the screenshots";
    }
    const QString prefix =
        QString::fromLocal8Bit(std::getenv("QUILLET_DEMO_PREFIX") ? std::getenv("QUILLET_DEMO_PREFIX") : "");
    if (const char* size = std::getenv("QUILLET_DEMO_FONT")) {
        QFont font = QApplication::font();
        font.setPointSize(std::atoi(size));
        QApplication::setFont(font);
    }
    if (const char* dark = std::getenv("QUILLET_DEMO_DARK"); dark != nullptr && *dark == '1') {
        QApplication::setPalette(DarkPalette());
    }
    test::TTempDir dir;
    TSettingsStore store(dir.Path() / "Quillet.ini", TSettingsForm::PerUser);
    TSchemeCatalog catalog({test::DataPath("../..")});
    catalog.LoadAll();
    TTextStyles styles;
    TQuilletMainForm main;
    main.resize(1000, 700);
    main.show();
    const auto shoot = [&](const QString& name) {
        QTest::qWait(400);
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QString::fromLocal8Bit(folder) + "/" + prefix + name + ".png");
    };
    TOptionsContext context;
    context.store = &store;
    context.catalog = &catalog;
    context.textStyles = &styles;
    context.dataFolders = {test::DataPath("../..")};
    {
        TOptionsForm form(context, TOptionsPage::Environment, &main);
        form.show();
        const char* names[] = {
            "environment", "code-editor", "display", "colors", "hex", "syntax", "associations", "user-actions"};
        for (int i = 0; i < kOptionsPageCount; ++i) {
            form.ShowPage(static_cast<TOptionsPage>(i));
            shoot(QStringLiteral("options-") + names[i]);
        }
    }
    TCustomizeToolbarsForm customize(main.MainToolbars(), store, &main);
    customize.show();
    customize.ChooseRow(1);
    shoot(QStringLiteral("customize-toolbars"));
    customize.Pages()->setCurrentIndex(1);
    shoot(QStringLiteral("customize-commands"));
}

} // namespace
} // namespace quillet

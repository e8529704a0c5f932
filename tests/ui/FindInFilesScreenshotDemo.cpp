// Not a test of its own: with QUILLET_FINDFILES_DEMO set to a folder, it shows
// the "Find in Files" dialog over the main window, then the result window
// holding matches from several files (in the normal and a dark palette) with
// its context menu, and saves a picture of the whole screen of each into that
// folder. Run it under Xvfb with QT_QPA_PLATFORM=xcb (scripts/screenshots-findfiles.sh).
#include "app/ui/DocumentManager.h"
#include "app/ui/FindInFilesBindings.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/FindInFiles.h"
#include "tools/ui/ResultPage.h"
#include "tools/ui/ResultWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <gtest/gtest.h>

namespace quillet {
namespace {

void SaveScreen(const QString& file)
{
    QTest::qWait(600);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    EXPECT_TRUE(shot.save(file));
}

QPalette DarkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(220, 220, 220));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
    p.setColor(QPalette::Text, QColor(220, 220, 220));
    p.setColor(QPalette::Button, QColor(60, 60, 64));
    p.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    p.setColor(QPalette::Highlight, QColor(38, 79, 120));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

TEST(FindInFilesScreenshotDemo, ShowsTheDialogAndTheResultWindow)
{
    const char* folder = std::getenv("QUILLET_FINDFILES_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_FINDFILES_DEMO to a folder for the pictures";
    }
    const QString out = QString::fromLocal8Bit(folder);
    SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
    test::TTempDir dir;
    const auto main_c = dir.Write("src/main.c",
        "#include \"buffer.h\"\n\nint main(void)\n{\n\tstruct buffer *buffer = buffer_new(64);\n"
        "\tbuffer_append(buffer, \"hello\");\n\treturn buffer_free(buffer);\n}\n");
    dir.Write("src/buffer.h",
        "struct buffer;\nstruct buffer *buffer_new(int size);\nvoid buffer_append(struct buffer *buffer, const char "
        "*text);\n"
        "int buffer_free(struct buffer *buffer);\n");
    dir.Write("src/buffer.c",
        "#include \"buffer.h\"\n\nstruct buffer {\n\tint size;\n\tchar *data;\n};\n\n"
        "struct buffer *buffer_new(int size)\n{\n\treturn 0; /* a buffer of size bytes */\n}\n");
    dir.Write("README.txt", "The buffer library keeps text in a growing buffer.\n");

    TQuilletMainForm main;
    auto* manager = new TDocumentManager(main);
    main.SetDocumentOpener(manager);
    TSettingsStore settings{std::filesystem::path{}, TSettingsForm::PerUser};
    manager->SetSettingsStore(&settings);
    manager->SetFileTypeFilter("C and C++ files|*.c;*.h;*.cpp|Text files|*.txt|All files|*");
    const TFindInFilesParts parts = BindFindInFiles(main, *manager, nullptr);
    main.resize(1100, 780);
    main.move(20, 20);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    TOpenRequest request;
    request.fileName = main_c.string();
    ASSERT_TRUE(manager->CreateMDIChild(request));
    main.MdiArea()->currentSubWindow()->showMaximized();

    parts.findInFiles->OnExecDialog = [&](TFindInFilesForm& form) {
        form.TextToFindCombo()->setEditText("buffer");
        form.DirectoriesRadio()->setChecked(true);
        form.DirectoryCombo()->setEditText(QString::fromStdString(dir.Path().string()));
        form.FileMasksCombo()->setEditText("*.c;*.h;*.txt");
        form.IncludeSubdirsCheck()->setChecked(true);
        form.show();
        form.move(260, 180);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        SaveScreen(out + QStringLiteral("/findfiles-dialog.png"));
        form.OpenFilesRadio()->setChecked(true);
        SaveScreen(out + QStringLiteral("/findfiles-dialog-open-files.png"));
        form.DirectoriesRadio()->setChecked(true);
        form.accept();
        return form.result();
    };
    parts.findInFiles->Execute();
    TResultPage& page = parts.resultWindow->Page(TResultWindow::kFindInFilesPage);
    EXPECT_GT(page.List().Count(), 10u);
    page.setCurrentIndex(page.model()->index(2, 0));
    SaveScreen(out + QStringLiteral("/findfiles-results.png"));

    QTimer::singleShot(700, [&] {
        SaveScreen(out + QStringLiteral("/findfiles-context-menu.png"));
        parts.resultWindow->ContextMenu()->close();
    });
    const QRect item = page.visualRect(page.model()->index(3, 0));
    parts.resultWindow->ContextMenu()->exec(page.viewport()->mapToGlobal(item.center()));

    QApplication::setPalette(DarkPalette());
    SaveScreen(out + QStringLiteral("/findfiles-results-dark.png"));
    QApplication::setPalette(QApplication::style()->standardPalette());
    for (TChildForm* form : manager->Forms()) {
        form->MemoSource().SetModified(false);
    }
}

} // namespace
} // namespace quillet

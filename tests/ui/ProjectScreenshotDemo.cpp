// Not a test of its own: with QUILLET_PROJECTS_DEMO set to a folder, it opens
// a project of a few source files in the main window, saves a picture of the
// whole screen with the panel's "Project" page and one with its "Files" page,
// then one of the "To-Do List" window over a document with items of several
// priorities and a done one. Run it under Xvfb with QT_QPA_PLATFORM=xcb.
#include "app/ui/DocumentManager.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/ProjectTreePanel.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/StateCommandBindings.h"
#include "core/SettingsStore.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/ToDoForm.h"

#include <QApplication>
#include <QMdiArea>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include <cstdlib>
#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;

void SaveScreen(const QString& file)
{
    QTest::qWait(700);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    EXPECT_TRUE(shot.save(file));
}

TEST(ProjectScreenshotDemo, ShowsThePanelPagesAndTheToDoList)
{
    const char* folder = std::getenv("QUILLET_PROJECTS_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_PROJECTS_DEMO to a folder for the pictures";
    }
    const QString out = QString::fromLocal8Bit(folder);
    test::TTempDir dir;
    const fs::path root = dir.Path() / "calc";
    dir.Write("calc/src/main.c",
        "#include \"calc.h\"\n\n"
        "int main(int argc, char** argv)\n{\n"
        "    /* { TODO 1 -olead -cCore : parse the command line } */\n"
        "    /* { TODO 3 -oann -cUI : colour the output\n"
        "       and keep it readable on dark terminals } */\n"
        "    /* { DONE 2 -olead : read numbers from stdin } */\n"
        "    /* { TODO 5 : a manual page } */\n"
        "    return run(argc, argv);\n}\n");
    dir.Write("calc/src/calc.h", "#pragma once\n\nint run(int argc, char** argv);\n");
    dir.Write("calc/src/calc.c", "#include \"calc.h\"\n\nint run(int argc, char** argv)\n{\n    return argc > 1;\n}\n");
    dir.Write("calc/tools/plot.py",
        "import sys\n\n\ndef plot(values):\n    # { TODO 2 -cUI : axis labels }\n    print(values)\n");
    dir.Write("calc/README.txt", "A small calculator.\n");
    const fs::path project = dir.Write("calc/calc.qpr",
        "[General]\nSignature=Quillet project file\nFilesCount=5\nActiveFile=1\n"
        "[File1]\nName=src/main.c\nOpen=1\nType=0\n"
        "[File2]\nName=src/calc.h\nOpen=1\nType=0\n"
        "[File3]\nName=src/calc.c\nOpen=0\nType=0\n"
        "[File4]\nName=tools/plot.py\nOpen=1\nType=0\n"
        "[File5]\nName=README.txt\nOpen=0\nType=0\n");

    TSettingsStore store{fs::path{}, TSettingsForm::PerUser};
    TSchemeCatalog catalog(std::vector<fs::path>{test::DataPath("../..")});
    catalog.LoadAll();
    TTextStyles styles;
    TQuilletMainForm main;
    auto* documents = new TDocumentManager(main);
    main.SetDocumentOpener(documents);
    TSyntaxContext context;
    context.catalog = &catalog;
    context.styles = &styles;
    documents->SetSyntaxContext(context);
    auto* state = new TStateCommands(main, *documents, store);
    auto* projects = new TProjectManager(main, *documents, &state->Recent());
    BindProjectCommands(main, *documents, *projects);
    ConnectProjects(*documents, *state, *projects);
    main.resize(1180, 780);
    main.move(20, 20);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    TOpenRequest request;
    request.fileName = project.string();
    ASSERT_TRUE(documents->CreateMDIChild(request));
    projects->Panel().resize(260, projects->Panel().height());
    main.resizeDocks({&projects->Panel()}, {260}, Qt::Horizontal);
    main.MdiArea()->tileSubWindows();
    SaveScreen(out + QStringLiteral("/project-panel.png"));

    projects->Panel().Pages().setCurrentIndex(1);
    projects->Panel().BrowseTo(QString::fromStdString((root / "src").string()));
    SaveScreen(out + QStringLiteral("/project-files-page.png"));

    projects->Panel().Pages().setCurrentIndex(0);
    for (TChildForm* form : documents->Forms()) {
        if (form->FileName().filename() == "main.c") {
            main.MdiArea()->setActiveSubWindow(form);
            form->showMaximized();
            TToDoForm todo(&main, *form);
            todo.show();
            todo.move(main.geometry().center() - QPoint(todo.width() / 2, todo.height() / 2));
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&todo));
            SaveScreen(out + QStringLiteral("/todo-list.png"));
            todo.close();
        }
    }
    for (TChildForm* form : documents->Forms()) {
        form->MemoSource().SetModified(false);
    }
    projects->Project()->SetModified(false);
}

} // namespace
} // namespace quillet

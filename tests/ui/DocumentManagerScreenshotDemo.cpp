// Not a test of its own: with QUILLET_DOCUMENTS_DEMO set to a folder, it shows
// the main window with two documents opened from disk, then the open dialog
// with its code page list and hex check box, and saves a picture of the whole
// screen of each into that folder. Run it under Xvfb with QT_QPA_PLATFORM=xcb.
#include "app/ui/DocumentManager.h"
#include "app/ui/OpenDialog.h"
#include "app/ui/QuilletMainForm.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QScreen>
#include <QTest>

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

TEST(DocumentManagerScreenshotDemo, ShowsTwoDocumentsAndTheOpenDialog)
{
    const char* folder = std::getenv("QUILLET_DOCUMENTS_DEMO");
    if (folder == nullptr) {
        GTEST_SKIP() << "set QUILLET_DOCUMENTS_DEMO to a folder for the pictures";
    }
    const QString out = QString::fromLocal8Bit(folder);
    test::TTempDir dir;
    const auto first = dir.Write("greeting.c",
        "#include <stdio.h>\n\nint main(void)\n{\n\tputs(\"Caf\xC3\xA9 cr\xC3\xA8me\");\n\treturn 0;\n}\n");
    const auto second = dir.Write("notes-1250.txt",
        "Gr\xF6\xDF"
        "e \xFC"
        "ber \xC4rger\nsecond line\n");

    TQuilletMainForm main;
    auto* manager = new TDocumentManager(main);
    main.SetDocumentOpener(manager);
    main.resize(1100, 700);
    main.move(20, 20);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    TOpenRequest request;
    request.fileName = first.string();
    request.codePageIndex = 28;
    ASSERT_TRUE(manager->CreateMDIChild(request));
    request.fileName = second.string();
    request.codePageIndex = 14;
    ASSERT_TRUE(manager->CreateMDIChild(request));
    main.MdiArea()->tileSubWindows();
    SaveScreen(out + QStringLiteral("/main-two-documents.png"));

    TOpenDialog dialog(&main, TOpenDialog::TMode::Open, manager->OpenFilter(), 28);
    dialog.setDirectory(QString::fromStdString(dir.Path().string()));
    dialog.resize(820, 520);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    SaveScreen(out + QStringLiteral("/open-dialog.png"));
    dialog.HexBox()->setChecked(true);
    SaveScreen(out + QStringLiteral("/open-dialog-hex.png"));
    dialog.close();
    for (TChildForm* form : manager->Forms()) {
        form->MemoSource().SetModified(false);
    }
}

} // namespace
} // namespace quillet

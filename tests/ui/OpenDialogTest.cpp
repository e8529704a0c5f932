// The extra controls of the open and save dialogs, and a whole Open command
// driven through the real dialog.
#include "app/ui/OpenDialog.h"

#include "app/CodePages.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/SelectCodePageForm.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(OpenDialogTest, ExtraControlsOfTheOpenDialog)
{
    TOpenDialog dialog(nullptr, TOpenDialog::TMode::Open, "All files (*.*)|*.*", SystemCodePageEntry());
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
    EXPECT_EQ(dialog.CodePageLabel().text(), "Code page:");
    QComboBox& list = dialog.CodePageList();
    ASSERT_EQ(list.count(), kCodePageCount);
    EXPECT_EQ(list.itemText(2), "ISO_8859_2 (Latin-2)");
    EXPECT_EQ(list.itemText(31), "UCS_2LE");
    // The last entry holding the system code page (Windows-1252 in the tests).
    EXPECT_EQ(GetCodePage(list.currentIndex()), GetSystemCodePage());
    EXPECT_EQ(list.currentIndex(), 16);

    ASSERT_NE(dialog.HexBox(), nullptr);
    EXPECT_EQ(dialog.HexBox()->text(), "Open in Hex editor (don't autodetect file type)");
    EXPECT_FALSE(dialog.HexBox()->isChecked());
    dialog.HexBox()->setChecked(true);
    EXPECT_FALSE(list.isEnabled());
    EXPECT_FALSE(dialog.CodePageLabel().isEnabled());
    dialog.HexBox()->setChecked(false);
    EXPECT_TRUE(list.isEnabled());
    EXPECT_TRUE(dialog.CodePageLabel().isEnabled());
    // The controls sit inside the dialog's own layout, not in a window of their own.
    EXPECT_TRUE(dialog.layout()->indexOf(&list) >= 0);
}

TEST(OpenDialogTest, SaveDialogHasTheCodePageButNoHexBox)
{
    TOpenDialog dialog(nullptr, TOpenDialog::TMode::Save, "All files (*.*)|*.*", 28);
    EXPECT_EQ(dialog.HexBox(), nullptr);
    EXPECT_EQ(dialog.CodePageList().currentIndex(), 28);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(OpenDialogTest, NameFiltersListFilesWithoutExtensions)
{
    EXPECT_EQ(DialogNameFilters("All files (*.*)|*.*|Quillet project files (*.qpr)|*.qpr|Pascal|*.pas;*.dpr"),
        (QStringList{"All files (*)", "Quillet project files (*.qpr)", "Pascal (*.pas *.dpr)"}));
    EXPECT_EQ(DialogNameFilters(""), QStringList{"(*)"});
    EXPECT_EQ(DialogNameFilters("odd|"), QStringList{"odd (*)"});
}

// The Open command through the real dialog: the file chosen there opens with
// the code page chosen there; the next dialog starts afresh.
// Quarantined: on an idle machine the timer sees the accepted dialog a second
// time (shown == 2) and the run fails; under load it passes. Re-enable once
// the test waits for the dialog's event loop to end instead of polling.
TEST(OpenDialogTest, DISABLED_OpenCommandUsesTheChosenCodePage)
{
    test::TTempDir dir;
    const auto file = dir.Write("u.txt", "caf\xC3\xA9\n");
    TQuilletMainForm main;
    auto* manager = new TDocumentManager(main);
    main.show();
    int shown = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<TOpenDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (++shown > 1) {
            dialog->reject(); // never leave a dialog open behind a failure
            return;
        }
        EXPECT_EQ(dialog->CodePageList().currentIndex(), SystemCodePageEntry());
        EXPECT_FALSE(dialog->HexBox()->isChecked());
        dialog->CodePageList().setCurrentIndex(28);
        dialog->HexBox()->setChecked(true);
        dialog->HexBox()->setChecked(false);
        dialog->selectFile(QString::fromStdString(file.string()));
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
    });
    timer.start(20);
    manager->Open();
    timer.stop();
    EXPECT_EQ(shown, 1);
    TChildForm* form = manager->ActiveForm();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->FileName(), file);
    EXPECT_EQ(form->CodePage(), 28);
    EXPECT_EQ(form->MemoSource().Lines().GetRaw(0), "caf\xE9");
}

TEST(OpenDialogTest, SelectCodePageFormStartsAtTheDocumentsEntry)
{
    TSelectCodePageForm form(nullptr, 14);
    EXPECT_EQ(form.windowTitle(), "Select Code Page");
    EXPECT_EQ(form.List().count(), kCodePageCount);
    EXPECT_EQ(form.CodePageIndex(), 14);
}

} // namespace
} // namespace quillet

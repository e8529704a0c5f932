// The extra controls of the open and save dialogs, and a whole Open command
// driven through the real dialog.
#include "app/ui/OpenDialog.h"

#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/SelectCodePageForm.h"
#include "core/CodePages.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
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

// Drives the first TOpenDialog that is shown, once: the Show event is caught
// by an application-wide filter, and the work runs from the dialog's own event
// loop (a zero timer queued at the Show), so the dialog is complete and modal
// when it is touched. The filter removes itself at once, so no later event can
// reach the dialog a second time.
class TOpenDialogDriver : public QObject {
public:
    explicit TOpenDialogDriver(std::function<void(TOpenDialog&)> drive)
        : m_drive(std::move(drive))
    {
        qApp->installEventFilter(this);
    }
    ~TOpenDialogDriver() override { qApp->removeEventFilter(this); }

    int shown = 0;
    int finished = 0;
    int result = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = event->type() == QEvent::Show ? qobject_cast<TOpenDialog*>(watched) : nullptr;
        if (dialog != nullptr) {
            ++shown;
            qApp->removeEventFilter(this);
            QObject::connect(dialog, &QDialog::finished, this, [this](int code) {
                ++finished;
                result = code;
            });
            QPointer<TOpenDialog> guard(dialog);
            QTimer::singleShot(0, dialog, [this, guard] {
                if (guard) {
                    m_drive(*guard);
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(TOpenDialog&)> m_drive;
};

// The Open command through the real dialog: the file chosen there opens with
// the code page chosen there; the next dialog starts afresh.
TEST(OpenDialogTest, OpenCommandUsesTheChosenCodePage)
{
    test::TTempDir dir;
    const auto file = dir.Write("u.txt", "caf\xC3\xA9\n");
    TQuilletMainForm main;
    auto* manager = new TDocumentManager(main);
    main.show();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // The second round cancels: nothing more opens.
        const bool accept = round == 0;
        TOpenDialogDriver driver([&](TOpenDialog& dialog) {
            // Fresh controls in every dialog.
            EXPECT_EQ(dialog.CodePageList().currentIndex(), SystemCodePageEntry());
            EXPECT_FALSE(dialog.HexBox()->isChecked());
            if (!accept) {
                dialog.reject();
                return;
            }
            dialog.setDirectory(QString::fromStdString(dir.Path().string()));
            auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (name == nullptr) {
                ADD_FAILURE() << "no file name box";
                dialog.reject();
                return;
            }
            name->setText(QStringLiteral("u.txt"));
            dialog.CodePageList().setCurrentIndex(28);
            // accept() is what the dialog's Open button and Enter call.
            QMetaObject::invokeMethod(&dialog, "accept", Qt::DirectConnection);
            if (dialog.isVisible()) {
                ADD_FAILURE() << "the dialog refused the file";
                dialog.reject(); // never leave a dialog open behind a failure
            }
        });
        // A dialog left open by a fault would block the test for good.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<TOpenDialog*>(QApplication::activeModalWidget()); dialog != nullptr) {
                ADD_FAILURE() << "the dialog was still open after 30 s";
                dialog->reject();
            }
        });
        watchdog.start(30000);
        manager->Open();
        EXPECT_EQ(driver.shown, 1);
        EXPECT_EQ(driver.finished, 1);
        EXPECT_EQ(driver.result, accept ? QDialog::Accepted : QDialog::Rejected);
    }
    ASSERT_EQ(manager->Forms().size(), 1u);
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

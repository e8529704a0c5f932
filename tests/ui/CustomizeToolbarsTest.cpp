#include "app/ui/CustomizeToolbarsForm.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TBoxAnswerer;
using test::TTempDir;

// The program's store is a file of the test for the whole case, so a second
// main window reads what the first one stored, as at the next start.
class CustomizeToolbarsTest : public ::testing::Test {
protected:
    CustomizeToolbarsTest() { SetGlobalSettings(std::make_unique<TSettingsStore>(File(), TSettingsForm::PerUser)); }
    ~CustomizeToolbarsTest() override
    {
        SetGlobalSettings(std::make_unique<TSettingsStore>("", TSettingsForm::PerUser));
    }
    std::filesystem::path File() const { return m_dir.Path() / "Quillet.ini"; }

    // Chooses an available entry by command name ("" for the separator).
    static void ChooseAvailable(TCustomizeToolbarsForm& form, const QString& command)
    {
        for (int i = 0; i < form.Available()->count(); ++i) {
            if (form.Available()->item(i)->data(Qt::UserRole).toString() == command) {
                form.Available()->setCurrentRow(i);
                return;
            }
        }
        ADD_FAILURE() << command.toStdString();
    }
    static int RowOf(TCustomizeToolbarsForm& form, const QString& caption)
    {
        for (int i = 0; i < form.ToolbarList()->count(); ++i) {
            if (form.ToolbarList()->item(i)->text() == caption) {
                return i;
            }
        }
        return -1;
    }
    static QStringList Names(QToolBar* bar)
    {
        QStringList names;
        for (QAction* action : bar->actions()) {
            names << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        return names;
    }

    TTempDir m_dir;
};

TEST_F(CustomizeToolbarsTest, UserToolbarWithTwoMd5ButtonsSurvivesARestart)
{
    QString userName;
    {
        TQuilletMainForm main;
        TCustomizeToolbarsForm form(main.MainToolbars(), Settings());
        form.OnAskName = [](const QString&, const QString&) {
            return std::optional<QString>(QStringLiteral("My = [bar]\\"));
        };
        form.NewButton()->click();
        QToolBar* bar = form.Chosen();
        ASSERT_NE(bar, nullptr);
        EXPECT_TRUE(main.MainToolbars().IsUserToolbar(bar));
        EXPECT_EQ(bar->windowTitle(), "My = [bar]\\");
        userName = bar->objectName();
        EXPECT_EQ(userName, "UserToolbar1");
        EXPECT_EQ(form.Heading()->text(), "Customize Toolbars: My = [bar]\\");
        EXPECT_TRUE(form.DeleteButton()->isEnabled());
        ChooseAvailable(form, "EditMD5");
        form.AddButton()->click();
        form.AddButton()->click();
        ChooseAvailable(form, "");
        form.AddButton()->click();
        ChooseAvailable(form, "FileExit");
        form.AddButton()->click();
        EXPECT_TRUE(form.ApplyButton()->isEnabled());
        form.ApplyButton()->click();
        EXPECT_FALSE(form.ApplyButton()->isEnabled());
        ASSERT_EQ(bar->actions().size(), 4);
        EXPECT_NE(bar->actions()[0], bar->actions()[1]);
        EXPECT_EQ(Names(bar)[0], Names(bar)[1]);
        bar->actions()[1]->trigger(); // a copy runs its command without failing
    }
    TQuilletMainForm main;
    QToolBar* bar = main.MainToolbars().Find(userName);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "My = [bar]\\");
    EXPECT_EQ(Names(bar).size(), 4);
    EXPECT_EQ(Names(bar)[2], "-");
    EXPECT_NE(main.findChild<QAction*>("TTBXToggle_" + userName + "ToolbarToggles"), nullptr);
    auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->toolTip(), "More Buttons");
}

TEST_F(CustomizeToolbarsTest, NameMessagesRenameDeleteAndReset)
{
    TQuilletMainForm main;
    TCustomizeToolbarsForm form(main.MainToolbars(), Settings());
    std::optional<QString> answer = QStringLiteral("tools");
    form.OnAskName = [&answer](const QString&, const QString&) {
        return answer;
    };
    {
        TBoxAnswerer answerer;
        form.NewButton()->click();
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Cannot create toolbar. Toolbar \"tools\" already exists.");
    }
    answer = std::nullopt; // Cancel
    const int before = form.ToolbarList()->count();
    form.NewButton()->click();
    EXPECT_EQ(form.ToolbarList()->count(), before);
    answer = QStringLiteral("Mine");
    form.NewButton()->click();
    ASSERT_EQ(form.ToolbarList()->count(), before + 1);
    QToolBar* mine = form.Chosen();
    answer = QStringLiteral("Edit");
    {
        TBoxAnswerer answerer;
        form.RenameButton()->click();
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Cannot rename toolbar. Toolbar \"Edit\" already exists.");
    }
    answer = QStringLiteral("Ours");
    form.RenameButton()->click();
    EXPECT_EQ(mine->windowTitle(), "Ours");
    EXPECT_TRUE(form.ApplyButton()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(Settings().ReadString("Position\\" + mine->objectName().toStdString(), "Caption", ""), "Ours");
    {
        TBoxAnswerer answerer({QMessageBox::Yes});
        form.DeleteButton()->click();
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Do you really want to delete toolbar \"Ours\"?");
    }
    EXPECT_EQ(form.ToolbarList()->count(), before);
    EXPECT_TRUE(StoredToolbarNames(Settings()).empty() || RowOf(form, "Ours") < 0);
    EXPECT_FALSE(Settings().SectionExists("Position\\UserToolbar1"));

    // A standard toolbar emptied, applied and reset to its design contents.
    form.ChooseRow(RowOf(form, "Edit"));
    QToolBar* edit = form.Chosen();
    const QStringList design = Names(edit);
    EXPECT_FALSE(form.DeleteButton()->isEnabled());
    while (form.Current()->count() > 1) {
        form.Current()->setCurrentRow(0);
        form.RemoveButton()->click();
    }
    form.ApplyButton()->click();
    EXPECT_EQ(edit->actions().size(), 1);
    form.ResetButton()->click();
    EXPECT_TRUE(form.ApplyButton()->isEnabled());
    EXPECT_FALSE(form.ResetButton()->isEnabled());
    form.ApplyButton()->click();
    EXPECT_EQ(Names(edit), design);
}

// Unapplied changes: Cancel keeps the dialog open and the toolbar chosen, No
// discards them, Yes applies them first.
TEST_F(CustomizeToolbarsTest, PendingChangesQuestion)
{
    TQuilletMainForm main;
    TCustomizeToolbarsForm form(main.MainToolbars(), Settings());
    form.show();
    form.ChooseRow(RowOf(form, "Edit"));
    QToolBar* edit = form.Chosen();
    const int editActions = static_cast<int>(edit->actions().size());
    ChooseAvailable(form, "FileExit");
    form.AddButton()->click();
    {
        TBoxAnswerer answerer({QMessageBox::Cancel});
        form.CloseButton()->click();
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Toolbar \"Edit\" was changed. Do you want to save it now?");
        EXPECT_TRUE(form.isVisible());
    }
    {
        TBoxAnswerer answerer({QMessageBox::Cancel});
        EXPECT_FALSE(form.ChooseRow(RowOf(form, "Search")));
        EXPECT_EQ(form.Chosen(), edit);
    }
    {
        TBoxAnswerer answerer({QMessageBox::Yes});
        EXPECT_TRUE(form.ChooseRow(RowOf(form, "Search")));
    }
    EXPECT_EQ(edit->actions().size(), editActions + 1);
    ChooseAvailable(form, "FileExit");
    form.AddButton()->click();
    QToolBar* search = form.Chosen();
    const auto searchActions = search->actions().size();
    TBoxAnswerer answerer({QMessageBox::No});
    form.CloseButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(search->actions().size(), searchActions);
}

} // namespace
} // namespace quillet

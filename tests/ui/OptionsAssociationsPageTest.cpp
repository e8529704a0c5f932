#include "app/ui/OptionsAssociationsPage.h"

#include "app/MimeAppsAssociations.h"
#include "app/ui/OptionsForm.h"
#include "core/SettingsStore.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TBoxAnswerer;
using test::TTempDir;

class OptionsAssociationsPageTest : public ::testing::Test {
protected:
    OptionsAssociationsPageTest()
    {
        m_catalog.LoadAll();
        m_entry = m_dir.Write("data/applications/norvane-quillet.desktop", "[Desktop Entry]\n");
    }
    TOptionsContext Context()
    {
        TOptionsContext context;
        context.store = &m_store;
        context.catalog = &m_catalog;
        context.associations = &m_associations;
        context.desktopEntry = m_entry;
        return context;
    }
    TOptionsAssociationsPage* OpenPage(TOptionsForm& form)
    {
        form.ShowPage(TOptionsPage::FileAssociations);
        return static_cast<TOptionsAssociationsPage*>(form.Page(TOptionsPage::FileAssociations));
    }
    std::filesystem::path List() const { return m_dir.Path() / "config" / "mimeapps.list"; }

    TTempDir m_dir;
    TSettingsStore m_store{std::filesystem::path{}, TSettingsForm::PerUser};
    TSchemeCatalog m_catalog{{test::DataPath("../..")}};
    std::filesystem::path m_entry;
    TMimeAppsAssociations m_associations{List(), std::string(kDesktopId), m_store};
};

// Checking a row and later clearing it, each with OK, gives back the file as
// it was; the next opening shows the row checked exactly while it is ours.
TEST_F(OptionsAssociationsPageTest, AssociateAndReleaseThroughTheDialog)
{
    const std::string original = "[Default Applications]\ntext/x-csrc=other.desktop;\n";
    m_dir.Write("config/mimeapps.list", original);
    {
        TOptionsForm form(Context());
        TOptionsAssociationsPage* page = OpenPage(form);
        ASSERT_FALSE(page->IsReadOnly());
        QTreeWidgetItem* row = page->Row("c");
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->text(0), "C");
        EXPECT_EQ(row->text(2), "text/x-csrc");
        EXPECT_EQ(row->checkState(0), Qt::Unchecked);
        row->setCheckState(0, Qt::Checked);
        ASSERT_TRUE(form.ApplyChanges());
    }
    EXPECT_TRUE(m_associations.IsOurs("text/x-csrc"));
    {
        TOptionsForm form(Context());
        TOptionsAssociationsPage* page = OpenPage(form);
        EXPECT_EQ(page->Row("c")->checkState(0), Qt::Checked);
        EXPECT_EQ(page->Row("h") != nullptr && page->Row("h")->text(2) != "text/x-csrc" ? page->Row("h")->checkState(0)
                                                                                        : Qt::Unchecked,
            Qt::Unchecked);
        page->Row("c")->setCheckState(0, Qt::Unchecked);
        ASSERT_TRUE(form.ApplyChanges());
    }
    EXPECT_EQ(TTempDir::Read(List()), original);
}

// "Other" takes "*.c"-style masks; an extension the desktop has no type for
// is refused before anything is stored; a recorded extension always has a
// row, so it can be released.
TEST_F(OptionsAssociationsPageTest, OtherExtensions)
{
    TOptionsForm form(Context());
    TOptionsAssociationsPage* page = OpenPage(form);
    page->Other()->setText("*.zzqqxx");
    {
        TBoxAnswerer answerer;
        EXPECT_FALSE(form.ApplyChanges());
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_TRUE(answerer.texts[0].contains("*.zzqqxx"));
    }
    EXPECT_FALSE(std::filesystem::exists(List()));
    page->Other()->setText("abc");
    {
        TBoxAnswerer answerer;
        EXPECT_FALSE(form.ApplyChanges());
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Must be insert a semicolon of extensions.");
    }
    page->Other()->setText("*.tex;");
    ASSERT_TRUE(form.ApplyChanges());
    EXPECT_TRUE(m_associations.IsOurs(TOptionsAssociationsPage::MimeTypeOf("tex").toStdString()));
    ASSERT_NE(page->Row("tex"), nullptr);
    EXPECT_EQ(page->Row("tex")->checkState(0), Qt::Checked);

    TOptionsForm again(Context());
    EXPECT_NE(OpenPage(again)->Row("tex"), nullptr);
}

TEST_F(OptionsAssociationsPageTest, ReadOnlyWithoutAnInstalledEntryAndAFailedWriteIsShown)
{
    TOptionsContext context = Context();
    context.desktopEntry.clear();
    {
        TOptionsForm form(context);
        TOptionsAssociationsPage* page = OpenPage(form);
        EXPECT_TRUE(page->IsReadOnly());
        EXPECT_FALSE(page->Other()->isEnabled());
        EXPECT_NE(page->findChild<QWidget*>("AssocReadOnly"), nullptr);
        EXPECT_TRUE(form.ApplyChanges());
    }
    m_dir.Write("blocked", "a file where the config folder should be");
    TMimeAppsAssociations blocked(m_dir.Path() / "blocked" / "mimeapps.list", std::string(kDesktopId), m_store);
    context = Context();
    context.associations = &blocked;
    TOptionsForm form(context);
    TOptionsAssociationsPage* page = OpenPage(form);
    page->Row("c")->setCheckState(0, Qt::Checked);
    TBoxAnswerer answerer;
    EXPECT_FALSE(form.ApplyChanges());
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_TRUE(answerer.texts[0].contains("mimeapps.list")) << answerer.texts[0].toStdString();
}

} // namespace
} // namespace quillet

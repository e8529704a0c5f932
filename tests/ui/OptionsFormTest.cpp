#include "app/ui/OptionsForm.h"

#include "app/UserActionSettings.h"
#include "app/ui/CommandActions.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/HexSettingsTarget.h"
#include "app/ui/OptionsCatalogPage.h"
#include "app/ui/OptionsColorsPage.h"
#include "app/ui/OptionsControls.h"
#include "app/ui/OptionsSyntaxPage.h"
#include "app/ui/OptionsUserActionsPage.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/UserActionCommands.h"
#include "core/SettingsStore.h"
#include "support/BoxAnswerer.h"
#include "support/TempDir.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TBoxAnswerer;
using test::TTempDir;

// A binary document window as the options dialog sees it.
class TFakeBinaryWindow : public QMdiSubWindow, public IHexSettingsTarget {
public:
    void ApplyHexOptions(const THexOptions& options) override
    {
        applied = options;
        ++calls;
    }
    THexOptions applied;
    int calls = 0;
};

template <typename T> T* Find(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

class OptionsFormTest : public ::testing::Test {
protected:
    OptionsFormTest()
    {
        m_file = m_dir.Path() / "Quillet.ini";
        m_store = std::make_unique<TSettingsStore>(m_file, TSettingsForm::PerUser);
        m_catalog.LoadAll();
    }
    TOptionsContext Context()
    {
        TOptionsContext context;
        context.store = m_store.get();
        context.catalog = &m_catalog;
        context.textStyles = &m_styles;
        context.dataFolders = {test::DataPath("../..")};
        return context;
    }
    // The store as another run of the program sees it.
    void Restart() { m_store = std::make_unique<TSettingsStore>(m_file, TSettingsForm::PerUser); }

    TTempDir m_dir;
    fs::path m_file;
    std::unique_ptr<TSettingsStore> m_store;
    TSchemeCatalog m_catalog{{test::DataPath("../..")}};
    TTextStyles m_styles;
};

TEST_F(OptionsFormTest, TreeTitleAndPagesBuiltOnlyWhenShown)
{
    TOptionsForm form(Context());
    EXPECT_EQ(form.CurrentPage(), TOptionsPage::Environment);
    EXPECT_EQ(form.Title()->text(), "Environment");
    EXPECT_EQ(form.Tree()->topLevelItemCount(), 6);
    EXPECT_EQ(form.Tree()->topLevelItem(1)->childCount(), 2); // Display, Colors and Font
    EXPECT_NE(form.Page(TOptionsPage::Environment), nullptr);
    EXPECT_EQ(form.Page(TOptionsPage::UserActions), nullptr);
    form.Tree()->setCurrentItem(form.Tree()->topLevelItem(1)->child(1));
    EXPECT_EQ(form.CurrentPage(), TOptionsPage::ColorsAndFont);
    EXPECT_EQ(form.Title()->text(), "Colors and Font");

    TOptionsForm associations(Context(), TOptionsPage::FileAssociations);
    EXPECT_EQ(associations.Title()->text(), "File Associations");
}

// A failed check shows its message, switches to the page, resets the field
// and stores nothing at all.
TEST_F(OptionsFormTest, ValidationFailureLeavesTheStoreByteIdentical)
{
    m_store->WriteString("General", "TabStops", "4,8");
    m_store->WriteString("User Actions", "Action1Command", "make");
    ASSERT_TRUE(m_store->Flush());
    const std::string before = TTempDir::Read(m_file);

    TOptionsForm form(Context());
    form.ShowPage(TOptionsPage::UserActions);
    form.ShowPage(TOptionsPage::CodeEditor);
    auto* page = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::CodeEditor));
    auto* tabStops = qobject_cast<QLineEdit*>(page->Control("TabStops"));
    EXPECT_EQ(tabStops->text(), "4,8");
    tabStops->setText("9,9");
    form.ShowPage(TOptionsPage::Environment);
    {
        TBoxAnswerer answerer;
        EXPECT_FALSE(form.ApplyChanges());
        ASSERT_EQ(answerer.texts.size(), 1u);
        EXPECT_EQ(answerer.texts[0], "Must be insert a comma separated increasing sequence of integers.");
        EXPECT_EQ(answerer.captions[0], "Quillet 4.1");
    }
    EXPECT_EQ(form.CurrentPage(), TOptionsPage::CodeEditor);
    EXPECT_EQ(tabStops->text(), "9,17");
    EXPECT_EQ(TTempDir::Read(m_file), before);

    qobject_cast<QLineEdit*>(page->Control("BlockIndent"))->setText("abc");
    TBoxAnswerer answerer;
    EXPECT_FALSE(form.ApplyChanges());
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(answerer.texts[0], "\"abc\" is not a valid integer value.");
    EXPECT_EQ(TTempDir::Read(m_file), before);
}

// A page the user never opened stores nothing, so OK cannot wipe sections.
TEST_F(OptionsFormTest, PagesNeverShownStoreNothing)
{
    m_store->WriteString("Syntax Definition", "C++.def", "*.cc");
    m_store->WriteString("User Actions", "Action3Caption", "Build");
    m_store->WriteString("HexEditor", "LineSize", "32");
    ASSERT_TRUE(m_store->Flush());
    TOptionsForm form(Context());
    ASSERT_TRUE(form.ApplyChanges());
    Restart();
    EXPECT_EQ(m_store->ReadSection("Syntax Definition"), std::vector<std::string>{"C++.def"});
    EXPECT_EQ(m_store->ReadString("User Actions", "Action3Caption", ""), "Build");
    EXPECT_FALSE(m_store->SectionExists("Display"));
    EXPECT_EQ(m_store->ReadString("Global", "OnStartup", "none"), "1");
}

// One change on every page, stored with OK, is what the next run's dialog
// shows.
TEST_F(OptionsFormTest, EveryPageRoundTripsThroughARestart)
{
    {
        TOptionsForm form(Context());
        for (int i = 0; i < kOptionsPageCount; ++i) {
            form.ShowPage(static_cast<TOptionsPage>(i));
        }
        auto* env = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Environment));
        qobject_cast<QCheckBox*>(env->Control("MultipleInstance"))->setChecked(true);
        Find<QRadioButton>(env, "OptTabsBottom")->setChecked(true);
        qobject_cast<QComboBox*>(env->Control("OnStartup"))->setCurrentIndex(3);
        auto* editor = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::CodeEditor));
        qobject_cast<QCheckBox*>(editor->Control("LimitEOL"))->setChecked(true); // "Cursor beyond EOL"
        qobject_cast<QLineEdit*>(editor->Control("TabStops"))->setText("4");
        qobject_cast<QComboBox*>(editor->Control("OutFormat"))->setCurrentIndex(0);
        auto* display = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Display));
        qobject_cast<QLineEdit*>(display->Control("GutterWidth"))->setText("33");
        qobject_cast<QComboBox*>(display->Control("GutterStyle"))->setCurrentIndex(7);
        auto* margin = qobject_cast<TColorBox*>(display->Control("MarginColor"));
        margin->OnPick = [](std::uint32_t& color) {
            color = 1u | (2u << 8) | (3u << 16); // RGB(1,2,3)
            return true;
        };
        margin->PickButton()->click();
        EXPECT_EQ(margin->Combo()->currentText(), "$00030201");
        auto* colors = static_cast<TOptionsColorsPage*>(form.Page(TOptionsPage::ColorsAndFont));
        colors->StyleList()->setCurrentRow(3);
        colors->Foreground()->SetColor(0x0000FF);
        Find<QLineEdit>(colors, "FontSize")->setText("13");
        auto* hex = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::HexEditor));
        qobject_cast<QComboBox*>(hex->Control("LineSize"))->setCurrentIndex(2);
        auto* syntax = static_cast<TOptionsSyntaxPage*>(form.Page(TOptionsPage::SyntaxDefinition));
        ASSERT_GT(syntax->Definitions()->topLevelItemCount(), 1);
        syntax->Definitions()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        syntax->Definitions()->topLevelItem(1)->setText(1, "*.one;*.two");
        syntax->DefaultDefinition()->setCurrentIndex(2);
        auto* actions = static_cast<TOptionsUserActionsPage*>(form.Page(TOptionsPage::UserActions));
        actions->List()->setCurrentItem(actions->List()->topLevelItem(13));
        actions->CommandBox()->setText("/usr/bin/make");
        actions->CommandBox()->textEdited("/usr/bin/make");
        actions->CaptionBox()->setFocus();
        actions->CommandBox()->setFocus();
        actions->CaptionBox()->setFocus(); // focus leaves the command box: the caption follows it
        form.OkButton()->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    Restart();
    EXPECT_EQ(m_store->ReadString("General", "LimitEOL", ""), "0");
    EXPECT_EQ(m_store->ReadString("Display", "MarginColor", ""), "197121");
    EXPECT_EQ(m_store->ReadString("Display", "GutterStyle", ""), "7");
    EXPECT_EQ(m_store->ReadString("HexEditor", "LineSize", ""), "64");
    EXPECT_EQ(m_store->ReadString("Global", "DocumentTabsPos", ""), "0");
    const TUserActionList stored = ReadUserActions(*m_store);
    EXPECT_EQ(stored[13].command, "/usr/bin/make");
    EXPECT_EQ(m_store->ReadSection("User Actions").size(), 140u);

    TSchemeCatalog reloaded{{test::DataPath("../..")}};
    reloaded.Load(*m_store);
    m_catalog = reloaded;
    TTextStyles styles;
    styles.ReadSettings(*m_store);
    m_styles = styles;
    TOptionsForm form(Context());
    for (int i = 0; i < kOptionsPageCount; ++i) {
        form.ShowPage(static_cast<TOptionsPage>(i));
    }
    auto* env = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Environment));
    EXPECT_TRUE(qobject_cast<QCheckBox*>(env->Control("MultipleInstance"))->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(env, "OptTabsBottom")->isChecked());
    EXPECT_EQ(qobject_cast<QComboBox*>(env->Control("OnStartup"))->currentIndex(), 3);
    auto* editor = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::CodeEditor));
    EXPECT_TRUE(qobject_cast<QCheckBox*>(editor->Control("LimitEOL"))->isChecked());
    EXPECT_EQ(qobject_cast<QLineEdit*>(editor->Control("TabStops"))->text(), "4");
    EXPECT_EQ(qobject_cast<QComboBox*>(editor->Control("OutFormat"))->currentIndex(), 0);
    auto* display = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Display));
    EXPECT_EQ(qobject_cast<QLineEdit*>(display->Control("GutterWidth"))->text(), "33");
    EXPECT_EQ(qobject_cast<TColorBox*>(display->Control("MarginColor"))->Combo()->currentText(), "$00030201");
    auto* colors = static_cast<TOptionsColorsPage*>(form.Page(TOptionsPage::ColorsAndFont));
    colors->StyleList()->setCurrentRow(3);
    EXPECT_EQ(colors->Foreground()->Color(), 0x0000FFu);
    EXPECT_EQ(Find<QLineEdit>(colors, "FontSize")->text(), "13");
    auto* hex = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::HexEditor));
    EXPECT_EQ(qobject_cast<QComboBox*>(hex->Control("LineSize"))->currentText(), "64");
    auto* syntax = static_cast<TOptionsSyntaxPage*>(form.Page(TOptionsPage::SyntaxDefinition));
    EXPECT_EQ(syntax->Definitions()->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(syntax->Definitions()->topLevelItem(1)->text(1), "*.one;*.two");
    EXPECT_EQ(syntax->DefaultDefinition()->currentIndex(), 2);
    auto* actions = static_cast<TOptionsUserActionsPage*>(form.Page(TOptionsPage::UserActions));
    EXPECT_EQ(actions->Actions()[13].command, "/usr/bin/make");
    EXPECT_EQ(actions->List()->topLevelItem(13)->text(1), actions->Actions()[13].caption.c_str());
}

TEST_F(OptionsFormTest, ApplyStoresAndCancelAfterwardsStoresNothingMore)
{
    TOptionsForm form(Context(), TOptionsPage::CodeEditor);
    auto* editor = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::CodeEditor));
    auto* indent = qobject_cast<QLineEdit*>(editor->Control("BlockIndent"));
    indent->setText("4");
    form.ApplyButton()->click();
    EXPECT_TRUE(form.isVisible() || form.result() != QDialog::Accepted);
    indent->setText("6");
    form.CancelButton()->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    Restart();
    EXPECT_EQ(m_store->ReadString("General", "BlockIndent", ""), "4");
}

// OK reaches both views of every open text window and every binary window,
// and the main window's tab bar and Esc.
TEST_F(OptionsFormTest, OkAppliesToEveryOpenDocument)
{
    TQuilletMainForm main;
    auto* documents = new TDocumentManager(main);
    documents->SetSettingsStore(m_store.get());
    main.SetDocumentOpener(documents);
    main.show();
    documents->New();
    documents->New();
    auto* binary = new TFakeBinaryWindow;
    main.AddMdiChild(binary);
    ASSERT_EQ(documents->Forms().size(), 2u);

    TOptionsContext context = Context();
    context.mainForm = &main;
    context.documents = documents;
    TOptionsForm form(context, TOptionsPage::Display);
    auto* display = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Display));
    qobject_cast<QLineEdit*>(display->Control("MarginPosition"))->setText("66");
    form.ShowPage(TOptionsPage::HexEditor);
    auto* hex = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::HexEditor));
    qobject_cast<QComboBox*>(hex->Control("OffsetDisplay"))->setCurrentIndex(2);
    form.ShowPage(TOptionsPage::Environment);
    auto* env = static_cast<TOptionsCatalogPage*>(form.Page(TOptionsPage::Environment));
    qobject_cast<QCheckBox*>(env->Control("UseESCtoExit"))->setChecked(true);
    form.OkButton()->click();

    for (TChildForm* document : documents->Forms()) {
        EXPECT_EQ(document->Memo().MarginPos(), 66);
        EXPECT_EQ(document->Memo1().MarginPos(), 66);
    }
    EXPECT_EQ(binary->calls, 1);
    EXPECT_EQ(binary->applied.offsetDisplay, 2);
    EXPECT_TRUE(main.Options().useEscToExit);
    for (TChildForm* document : documents->Forms()) {
        document->MemoSource().SetModified(false);
    }
}

// Captions stored on the User Actions page reach the main window's commands,
// and a language change keeps them.
TEST_F(OptionsFormTest, StoredUserActionCaptionsReachTheMainWindow)
{
    TQuilletMainForm main;
    TOptionsContext context = Context();
    context.mainForm = &main;
    context.onUserActionsChanged = BindUserActionCaptions(main, *m_store);
    QAction* first = main.CommandActions().Action("ToolsUserAction1");
    QAction* third = main.CommandActions().Action("ToolsUserAction3");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(first->text(), "User Action 1");

    TOptionsForm form(context, TOptionsPage::UserActions);
    auto* actions = static_cast<TOptionsUserActionsPage*>(form.Page(TOptionsPage::UserActions));
    actions->List()->setCurrentItem(actions->List()->topLevelItem(0));
    actions->CaptionBox()->setText("Compile");
    actions->CaptionBox()->textEdited("Compile");
    form.OkButton()->click();
    EXPECT_EQ(first->text(), "Compile");
    EXPECT_EQ(first->statusTip(), "Compile");
    EXPECT_EQ(third->text(), "User Action 3");
    EXPECT_EQ(third->toolTip(), "User Action 3");
    main.UpdateLanguage("");
    EXPECT_EQ(first->text(), "Compile");
    EXPECT_EQ(third->text(), "User Action 3");
}

} // namespace
} // namespace quillet

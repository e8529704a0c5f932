#include "app/ToolbarCustomization.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using test::TTempDir;

bool IsCommand(std::string_view name)
{
    return name == "FileNew" || name == "FileExit" || name == "ToolsMD5" || name.rfind("Cmd", 0) == 0;
}

TEST(ToolbarCustomization, StoredLayoutRebuildsIdenticallyAfterARestart)
{
    TTempDir dir;
    const auto file = dir.Path() / "Quillet.ini";
    const std::vector<TToolbarItem> design = DesignItemsOf("StandardBar");
    ASSERT_FALSE(design.empty());
    ASSERT_EQ(design.front().command, "FileNew");
    const std::vector<TToolbarItem> items{design.front(), TToolbarItem{}, TToolbarItem{"FileExit", false, 0}};
    {
        TSettingsStore store(file, TSettingsForm::PerUser);
        ASSERT_TRUE(SaveToolbarButtons(store, "StandardBar", "File", items));
    }
    TSettingsStore store(file, TSettingsForm::PerUser);
    EXPECT_EQ(ReadToolbarButtonIdentities(store, "StandardBar"),
        (std::vector<std::string>{"tbFileNew", "TTBXSeparatorItem:NewItem", "TBXItem_FileExit"}));
    EXPECT_EQ(RestoreToolbarItems(store, "StandardBar", design, IsCommand), items);
    EXPECT_EQ(StoredCaption(store, "StandardBar", ""), "File");
    const std::string text = TTempDir::Read(file);
    EXPECT_NE(text.find("[Position\\StandardBar\\Buttons]\nButton00=tbFileNew\nButton01=TTBXSeparatorItem:NewItem\n"
                        "Button02=TBXItem_FileExit\n"),
        std::string::npos)
        << text;
}

// Keys are read in numeric order, so a toolbar of more than 100 items keeps
// its order; a command added twice stays two buttons.
TEST(ToolbarCustomization, LongToolbarsKeepTheirOrder)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    std::vector<TToolbarItem> items;
    for (int i = 0; i < 120; ++i) {
        items.push_back(TToolbarItem{"Cmd" + std::to_string(i), false, 0});
    }
    items.push_back(TToolbarItem{"ToolsMD5", false, 0});
    items.push_back(TToolbarItem{"ToolsMD5", false, 0});
    ASSERT_TRUE(SaveToolbarButtons(store, "UserToolbar1", "Mine", items));
    EXPECT_EQ(RestoreToolbarItems(store, "UserToolbar1", {}, IsCommand), items);
    EXPECT_EQ(ReadToolbarButtonIdentities(store, "UserToolbar1")[100], "TBXItem_Cmd100");
}

TEST(ToolbarCustomization, HandEditedSectionsAreReadSafely)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    store.WriteString("Position\\EditBar\\Buttons", "Button05", "TBXItem_NoSuchCommand");
    store.WriteString("Position\\EditBar\\Buttons", "Button2", "tbSep1");
    store.WriteString("Position\\EditBar\\Buttons", "Button1", "TBXItem_FileNew");
    store.WriteString("Position\\EditBar\\Buttons", "Junk", "TBXItem_FileExit");
    store.WriteString("Position\\EditBar\\Buttons", "Button-3", "TBXItem_FileExit");
    store.WriteString("Position\\EditBar\\Buttons", "Button0", "tbEditUndo");
    const std::vector<TToolbarItem> design = DesignItemsOf("EditBar");
    const std::vector<TToolbarItem> restored = RestoreToolbarItems(store, "EditBar", design, IsCommand);
    ASSERT_EQ(restored.size(), 3u);
    EXPECT_EQ(restored[0].command, "EditUndo");
    EXPECT_TRUE(restored[0].design);
    EXPECT_EQ(restored[1].command, "FileNew");
    EXPECT_TRUE(restored[2].IsSeparator());
    EXPECT_TRUE(restored[2].design);
}

TEST(ToolbarCustomization, ToolbarNamesBelowPositionInBothForms)
{
    for (TSettingsForm form : {TSettingsForm::PerUser, TSettingsForm::ProgramIni}) {
        TSettingsStore store({}, form);
        store.WriteString("Position\\Layout", "Toolbars", "x");
        SaveToolbarButtons(store, "UserToolbar2", "Mine", {TToolbarItem{"FileNew", false, 0}});
        SaveToolbarButtons(store, "EditBar", "Edit", {});
        EXPECT_EQ(StoredToolbarNames(store), (std::vector<std::string>{"Layout", "UserToolbar2", "EditBar"}));
        ASSERT_TRUE(DeleteTBRegEntries(store, "UserToolbar2"));
        EXPECT_EQ(StoredToolbarNames(store), (std::vector<std::string>{"Layout", "EditBar"}));
        EXPECT_TRUE(ReadToolbarButtonIdentities(store, "UserToolbar2").empty());
    }
    EXPECT_EQ(NewUserToolbarName({"StandardBar", "usertoolbar1", "UserToolbar3"}), "UserToolbar2");
    EXPECT_TRUE(IsUserToolbarName("UserToolbar12"));
    EXPECT_FALSE(IsUserToolbarName("ToolsBar"));
}

} // namespace
} // namespace quillet

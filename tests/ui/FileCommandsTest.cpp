// Enabling rules of the file commands as the documents change.
#include "app/ui/FileCommands.h"

#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "support/TempDir.h"
#include "text/ui/ChildForm.h"

#include <gtest/gtest.h>
#include <map>

namespace quillet {
namespace {

TEST(FileCommandsTest, EnablingFollowsTheActiveDocument)
{
    TQuilletMainForm main;
    auto* manager = new TDocumentManager(main);
    main.show();
    std::map<std::string, TFileCommand> commands;
    for (TFileCommand& command : FileCommands(*manager)) {
        commands[command.name] = command;
    }
    auto enabled = [&](const char* name) {
        return commands.at(name).update();
    };
    // Names that are enabled, in the order FileNew, FileOpen, FileClose,
    // FileCloseAll, FileSave, FileSaveAs, FileSaveAll, FileRevert, FileReopenCP.
    auto states = [&] {
        std::string s;
        for (const char* name : {"FileNew",
                 "FileOpen",
                 "FileClose",
                 "FileCloseAll",
                 "FileSave",
                 "FileSaveAs",
                 "FileSaveAll",
                 "FileRevert",
                 "FileReopenCP"}) {
            s += enabled(name) ? '1' : '0';
        }
        return s;
    };
    EXPECT_EQ(states(), "110000000");

    manager->New(); // untitled, unmodified
    EXPECT_EQ(states(), "111001000");
    TChildForm* untitled = manager->ActiveForm();
    untitled->MemoSource().SetModified(true);
    EXPECT_EQ(states(), "111011000"); // no Reload without a file name

    test::TTempDir dir;
    TOpenRequest request;
    request.fileName = dir.Write("a.txt", "a\n").string();
    ASSERT_TRUE(manager->CreateMDIChild(request));
    EXPECT_EQ(states(), "111101101"); // a modified document among two
    manager->ActiveForm()->MemoSource().SetModified(true);
    EXPECT_EQ(states(), "111111111");

    EXPECT_FALSE(commands.at("ViewReadOnly").checked());
    commands.at("ViewReadOnly").execute();
    EXPECT_TRUE(commands.at("ViewReadOnly").checked());
    EXPECT_TRUE(manager->ActiveForm()->MemoSource().ReadOnly());

    for (TChildForm* form : manager->Forms()) {
        form->MemoSource().SetModified(false);
    }
}

} // namespace
} // namespace quillet

#include "syntax/SchemeCatalog.h"

#include "core/SettingsStore.h"
#include "support/TempDir.h"
#include "syntax/SyntaxScheme.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

class SchemeCatalogTest : public ::testing::Test {
protected:
    SchemeCatalogTest()
    {
        user = dir.Path() / "user";
        program = dir.Path() / "program";
        Define(program, "Text.def", "Plain", {"Text files|*.txt;*.log"});
        Define(program, "Make.def", "Make", {"Makefiles|*.mk;Makefile"});
        Define(program, "Cpp.def", "C++", {"C++ headers|*.hpp;*.h", "C++ files|*.cpp,*.cc"});
        Define(user, "Cpp.def", "My C++", {"C++ files|*.cpp;*.cxx"});
        Define(program, "Other.def", "Other", {"Logs|*.log;*.t?t;*.c*"});
        dir.Write("program/Syntax Definitions/Broken.def", "object TPersHolder\n  P.Name = 'x\n");
    }

    void Define(const std::filesystem::path& folder,
        const std::string& file,
        const std::string& name,
        std::vector<std::string> extensions)
    {
        TSyntaxScheme scheme;
        scheme.Name = name;
        for (std::string& e : extensions) {
            scheme.Extensions.push_back(std::move(e)); // kept in the given order
        }
        std::filesystem::create_directories(folder / "Syntax Definitions");
        ASSERT_TRUE(scheme.SaveToFile(folder / "Syntax Definitions" / file).ok);
    }

    std::vector<std::string> Names(const TSchemeCatalog& catalog) const
    {
        std::vector<std::string> names;
        for (const TSchemeEntry& e : catalog.Entries()) {
            names.push_back(e.Name);
        }
        return names;
    }

    test::TTempDir dir;
    std::filesystem::path user;
    std::filesystem::path program;
};

TEST_F(SchemeCatalogTest, SettingsListTheDefinitionsInKeyOrder)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    store.WriteString("Syntax Definition", "Text.def", "*.txt;*.TEXT");
    store.WriteString("Syntax Definition", "Missing.def", "*.zz");
    store.WriteString("Syntax Definition", "Broken.def", "*.b");
    store.WriteString("Syntax Definition", "Cpp.def", "*.cpp *.h");
    store.WriteString("Syntax Definition", "<default>", "Cpp.def");
    TSchemeCatalog catalog({user, program});
    catalog.Load(store);

    // Missing and unreadable definitions are left out; the per-user folder wins.
    EXPECT_EQ(Names(catalog), (std::vector<std::string>{"Plain", "My C++"}));
    EXPECT_EQ(catalog.Entries()[1].Path, user / "Syntax Definitions" / "Cpp.def");
    ASSERT_NE(catalog.Default(), nullptr);
    EXPECT_EQ(catalog.Default()->Name, "My C++");
    EXPECT_EQ(catalog.FindByName("my c++"), &catalog.Entries()[1]);
    EXPECT_EQ(catalog.FileFilter(), "Text files|*.txt;*.log|C++ files|*.cpp;*.cxx");

    // The settings' masks decide, not the definition's own.
    EXPECT_EQ(catalog.ForFile("/a/b.text"), &catalog.Entries()[0]);
    EXPECT_EQ(catalog.ForFile("/a/b.log"), nullptr);
    EXPECT_EQ(catalog.ForFile("x.H"), &catalog.Entries()[1]);

    // A default that is not one of the keys is no default.
    store.WriteString("Syntax Definition", "<default>", "Make.def");
    catalog.Load(store);
    EXPECT_EQ(catalog.Default(), nullptr);

    store.EraseSection("Syntax Definition");
    store.WriteString("Syntax Definition", "<default>", "");
    catalog.Load(store);
    EXPECT_TRUE(catalog.Entries().empty());
    EXPECT_EQ(catalog.FileFilter(), "");
}

TEST_F(SchemeCatalogTest, WithoutSettingsEveryDefinitionFoundIsOffered)
{
    TSettingsStore store({}, TSettingsForm::PerUser);
    TSchemeCatalog catalog({user, program});
    catalog.Load(store);
    EXPECT_EQ(Names(catalog), (std::vector<std::string>{"My C++", "Make", "Other", "Plain"}));
    EXPECT_EQ(catalog.Default(), nullptr);
    EXPECT_EQ(catalog.Entries()[0].Masks, "*.cpp;*.cxx");
}

TEST_F(SchemeCatalogTest, DefinitionForAFile)
{
    TSchemeCatalog catalog({program});
    catalog.LoadAll(); // Cpp, Make, Other, Text
    struct Case {
        const char* file;
        const char* name; // nullptr: plain text
    };
    const Case cases[] = {
        {"notes.TXT", "Plain"}, // extension in capitals
        {"dir.d/x.Cc", "C++"}, // "," separates masks too
        {"a.h", "C++"},
        {"a.log", "Other"}, // first definition in order wins: Other comes before Text
        {"a.tet", nullptr}, // masks are text, not patterns
        {"a.c", nullptr},
        {"Makefile", "Make"}, // a mask without wildcards names a whole file
        {"src/makefile", "Make"},
        {"README", nullptr},
        {".hpp", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const TSchemeEntry* entry = catalog.ForFile(c.file);
        if (c.name == nullptr) {
            EXPECT_EQ(entry, nullptr);
        } else {
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->Name, c.name);
        }
    }
}

TEST_F(SchemeCatalogTest, DefinitionNamesCannotLeaveTheFolder)
{
    dir.Write("program/secret.def", "");
    TSchemeCatalog catalog({program});
    EXPECT_TRUE(catalog.FindDefinition("../secret.def").empty());
    EXPECT_TRUE(catalog.FindDefinition((program / "Syntax Definitions" / "Text.def").string()).empty());
    EXPECT_TRUE(catalog.FindDefinition("").empty());
    EXPECT_FALSE(catalog.FindDefinition("Text.def").empty());
}

TEST(SchemeCatalogShipped, EveryShippedDefinitionIsOffered)
{
    TSchemeCatalog catalog({test::DataPath("../..")});
    catalog.LoadAll();
    EXPECT_GE(catalog.Entries().size(), 26u);
    ASSERT_NE(catalog.ForFile("main.cpp"), nullptr);
    EXPECT_EQ(catalog.ForFile("main.cpp")->FileName, "C++.def");
    ASSERT_NE(catalog.ForFile("x.py"), nullptr);
    EXPECT_EQ(catalog.ForFile("x.py")->FileName, "Python.def");
    EXPECT_NE(catalog.FileFilter().find("|*."), std::string::npos);
}

} // namespace
} // namespace quillet

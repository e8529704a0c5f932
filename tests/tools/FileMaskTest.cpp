#include "tools/FileMask.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(FileMask, MatchesNames)
{
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    };
    const Case cases[] = {
        {"unit.pas", "*.pas", true},
        {"UNIT.PAS", "*.pas", true},
        {"unit.pas.bak", "*.pas", false},
        {"unit.pas", "*", true},
        {"Makefile", "*.*", true},
        {"a.b.c", "*.*", true},
        {".hidden", "*", true},
        {"Makefile", "*.mk", false},
        {"a1.c", "a?.c", true},
        {"a12.c", "a?.c", false},
        {"readme", "read*.*", true},
        {"abcabd", "*ab?", true},
        {"x", "", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", "*a*a*a*a*a*a*a*a*b", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.mask);
        EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.matches);
    }
}

TEST(FileMask, SplitsListsAndDropsEmptyEntries)
{
    EXPECT_EQ(SplitFileMasks("*.pas; *.PAS ;;*.inc"), (std::vector<std::string>{"*.pas", "*.PAS", "*.inc"}));
    EXPECT_TRUE(SplitFileMasks(";;").empty());
    EXPECT_TRUE(SplitFileMasks("").empty());
    EXPECT_FALSE(MatchesAnyFileMask("a.c", SplitFileMasks(";;")));
}

} // namespace
} // namespace quillet

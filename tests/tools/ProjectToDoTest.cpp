#include "tools/ProjectToDo.h"

#include "core/IniDocument.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ProjectToDo, SectionRoundTripKeepsLineBreaksOnOneFileLine)
{
    TIniDocument ini = TIniDocument::Parse("[General]\nSignature=Quillet project file\n");
    const std::vector<TProjectToDoItem> items = {
        {"two\r\nlines", "1", "lead", "UI", true},
        {"lone\nLF and lone\rCR", "", "", "", false},
        {"it's 'quoted'", "5", "o", "c", false},
    };
    WriteProjectToDo(ini, items);
    const std::string text = ini.Serialize();
    EXPECT_NE(text.find("text1='two'#$D#$A'lines'"), std::string::npos) << text;
    EXPECT_NE(text.find("text2='lone'#$D#$A'LF and lone'#$D#$A'CR'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("state1=1"), std::string::npos);

    const std::vector<TProjectToDoItem> read = ReadProjectToDo(TIniDocument::Parse(text));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], items[0]);
    EXPECT_EQ(read[1].text, "lone\r\nLF and lone\r\nCR");
    EXPECT_EQ(read[2], items[2]);

    WriteProjectToDo(ini, {});
    EXPECT_FALSE(ini.HasKeys("ToDo"));
    EXPECT_EQ(ini.Serialize().find("ToDo"), std::string::npos) << "an emptied list leaves no section";
}

TEST(ProjectToDo, DamagedSectionsReadWhatTheyHold)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t count;
    };
    const Case cases[] = {
        {"no section", "[General]\n", 0},
        {"count far too large", "[ToDo]\ncount=99999999\ntext1='a'\n", 2},
        {"negative count", "[ToDo]\ncount=-3\ntext1='a'\n", 0},
        {"count missing", "[ToDo]\ntext1='a'\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadProjectToDo(TIniDocument::Parse(c.text)).size(), c.count);
    }
    const auto items = ReadProjectToDo(TIniDocument::Parse("[ToDo]\ncount=1\ntext1=plain\nstate1=yes\n"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "plain");
    EXPECT_FALSE(items[0].done) << "only 1 counts as done";
}

} // namespace
} // namespace quillet

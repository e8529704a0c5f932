#include "syntax/KeywordTable.h"

#include <gtest/gtest.h>
#include <string>

namespace quillet {
namespace {

TEST(KeywordTable, FindsEveryWordWithItsFirstSetAndNothingElse)
{
    TKeywordTable table;
    EXPECT_EQ(table.Find("int"), -1);
    // Enough words to make the table grow several times; words that share
    // their length and both ends with others, and prefixes of each other.
    std::vector<std::string> words = {
        "a", "ab", "abc", "abcd", "abdc", "int", "unsigned_long_long", "unsigned_lonG_long"};
    for (int i = 0; i < 300; ++i) {
        words.push_back("w" + std::to_string(i) + "_x");
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        table.Insert(words[i], static_cast<int>(i % 7));
    }
    table.Insert("int", 6); // already in set 5: the first set stays
    ASSERT_EQ(table.Size(), words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        SCOPED_TRACE(words[i]);
        EXPECT_EQ(table.Find(words[i]), static_cast<int>(i % 7));
    }
    for (const char* absent : {"", "b", "abcde", "in", "Int", "unsigned_long_lonG", "w300_x", "w1_", "w1_xx"}) {
        SCOPED_TRACE(absent);
        EXPECT_EQ(table.Find(absent), -1);
    }
}

} // namespace
} // namespace quillet

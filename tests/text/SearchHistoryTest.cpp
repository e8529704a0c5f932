#include "text/SearchOptions.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace quillet {
namespace {

using TStore = std::map<std::pair<std::string, std::string>, std::string>;

TEST(SearchHistory, NewEntriesGoOnTopWithoutCaseDuplicates)
{
    std::vector<std::string> items{"alpha", "Beta", "gamma"};
    AddToHistory(items, "BETA");
    EXPECT_EQ(items, (std::vector<std::string>{"BETA", "alpha", "gamma"}));
    AddToHistory(items, "");
    AddToHistory(items, "two\nlines");
    EXPECT_EQ(items, (std::vector<std::string>{"BETA", "alpha", "gamma"}));
}

TEST(SearchHistory, StoredAsLinesOfOneValue)
{
    TStore store;
    const TWriteSetting write = [&](std::string_view section, std::string_view key, std::string_view value) {
        store[{std::string(section), std::string(key)}] = std::string(value);
    };
    const TReadSetting read = [&](std::string_view section, std::string_view key) {
        auto it = store.find({std::string(section), std::string(key)});
        return it == store.end() ? std::string() : it->second;
    };
    const std::vector<std::string> items{"a&b", "%s %d", "x"};
    SaveHistory(write, kSearchItemsKey, items);
    EXPECT_EQ((store[{"Search History", "SearchItems"}]), "a&b\r\n%s %d\r\nx\r\n");
    EXPECT_EQ(LoadHistory(read, kSearchItemsKey), items);
    EXPECT_TRUE(LoadHistory(read, kReplaceItemsKey).empty());
    // Values written by hand or by another line-end convention read the same.
    EXPECT_EQ(SplitHistory("a\nb\r\rc"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(SearchHistory, OptionDefaults)
{
    const TSearchOptions options;
    EXPECT_FALSE(options.CaseSensitive);
    EXPECT_EQ(options.Direction, sdForward);
    EXPECT_EQ(options.Scope, ssGlobal);
    EXPECT_EQ(options.Origin, soEntireScope);
    EXPECT_EQ(options.Where, swDirectories);
    EXPECT_EQ(&GlobalSearchOptions(), &GlobalSearchOptions());
}

} // namespace
} // namespace quillet

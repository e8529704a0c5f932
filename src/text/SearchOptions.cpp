#include "text/SearchOptions.h"

#include "core/CharCase.h"

#include <algorithm>

namespace quillet {

TSearchOptions& GlobalSearchOptions()
{
    static TSearchOptions options;
    return options;
}

std::vector<std::string> SplitHistory(std::string_view value)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < value.size()) {
        std::size_t end = value.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        if (end > start) {
            items.emplace_back(value.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

std::string JoinHistory(const std::vector<std::string>& items)
{
    std::string value;
    for (const std::string& item : items) {
        value += item;
        value += "\r\n";
    }
    return value;
}

std::vector<std::string> LoadHistory(const TReadSetting& read, std::string_view key)
{
    return SplitHistory(read(kSearchHistorySection, key));
}

void SaveHistory(const TWriteSetting& write, std::string_view key, const std::vector<std::string>& items)
{
    write(kSearchHistorySection, key, JoinHistory(items));
}

void AddToHistory(std::vector<std::string>& items, std::string_view text)
{
    if (text.empty() || text.find_first_of("\r\n") != std::string_view::npos) {
        return;
    }
    std::erase_if(items, [&](const std::string& item) {
        return CompareTextIgnoreCase(item, text) == 0;
    });
    items.insert(items.begin(), std::string(text));
}

} // namespace quillet

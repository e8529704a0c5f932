#include "tools/ProjectToDo.h"

#include "core/IniDocument.h"

#include <algorithm>
#include <charconv>

namespace quillet {

namespace {

constexpr std::string_view kSection = "ToDo";
constexpr std::string_view kLineBreak = "'#$D#$A'";

std::string Read(const TIniDocument& ini, const std::string& key)
{
    const std::string* value = ini.Find(kSection, key);
    return value != nullptr ? *value : std::string();
}

} // namespace

std::string QuoteProjectValue(std::string_view value)
{
    std::string out = "'";
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' || value[i] == '\n') {
            if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
                ++i;
            }
            out += kLineBreak;
        } else {
            out += value[i];
        }
    }
    return out + "'";
}

std::string UnquoteProjectValue(std::string_view stored)
{
    if (stored.size() < 2 || stored.front() != '\'' || stored.back() != '\'') {
        return std::string(stored);
    }
    stored = stored.substr(1, stored.size() - 2);
    std::string out;
    out.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size();) {
        if (stored.substr(i, kLineBreak.size()) == kLineBreak) {
            out += "\r\n";
            i += kLineBreak.size();
        } else {
            out += stored[i++];
        }
    }
    return out;
}

std::vector<TProjectToDoItem> ReadProjectToDo(const TIniDocument& project)
{
    int count = 0;
    const std::string countText = Read(project, "count");
    std::from_chars(countText.data(), countText.data() + countText.size(), count);
    // Every item has at least one key: more items than keys cannot be real.
    const int keys = static_cast<int>(project.Keys(kSection).size());
    count = std::min(std::max(count, 0), keys);
    std::vector<TProjectToDoItem> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        TProjectToDoItem item;
        item.text = UnquoteProjectValue(Read(project, "text" + n));
        item.priority = Read(project, "priority" + n);
        item.owner = Read(project, "owner" + n);
        item.category = Read(project, "category" + n);
        item.done = Read(project, "state" + n) == "1";
        items.push_back(std::move(item));
    }
    return items;
}

void WriteProjectToDo(TIniDocument& project, const std::vector<TProjectToDoItem>& items)
{
    project.EraseSection(kSection);
    if (items.empty()) {
        return;
    }
    project.Set(kSection, "count", std::to_string(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        project.Set(kSection, "text" + n, QuoteProjectValue(items[i].text));
        project.Set(kSection, "priority" + n, items[i].priority);
        project.Set(kSection, "owner" + n, items[i].owner);
        project.Set(kSection, "category" + n, items[i].category);
        project.Set(kSection, "state" + n, items[i].done ? "1" : "0");
    }
}

} // namespace quillet

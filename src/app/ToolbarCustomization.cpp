#include "app/ToolbarCustomization.h"

#include "app/CommandTable.h"
#include "core/IniDocument.h"
#include "core/SettingsStore.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace quillet {

namespace {

constexpr std::string_view kDesignPrefix = "tb";
constexpr std::string_view kDesignSeparatorPrefix = "tbSep";
constexpr std::string_view kPoolPrefix = "TBXItem_";
constexpr std::string_view kAddedSeparator = "TTBXSeparatorItem:NewItem";
constexpr std::string_view kUserPrefix = "UserToolbar";

std::string Section(std::string_view name)
{
    return "Position\\" + std::string(name);
}

std::string ButtonsSection(std::string_view name)
{
    return Section(name) + "\\Buttons";
}

std::optional<int> TrailingNumber(std::string_view text, std::string_view prefix)
{
    if (text.size() <= prefix.size()
        || TIniDocument::Lower(text.substr(0, prefix.size())) != TIniDocument::Lower(prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(prefix.size());
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::vector<TToolbarItem> DesignItems(const TToolbarLayout& layout)
{
    std::vector<TToolbarItem> items;
    int separators = 0;
    for (std::string_view entry : layout.items) {
        TToolbarItem item;
        item.design = true;
        if (LayoutItemKind(entry) == TLayoutItemKind::Separator) {
            item.designSeparator = ++separators;
        } else if (LayoutItemKind(entry) == TLayoutItemKind::Command) {
            item.command = std::string(LayoutItemName(entry));
        } else {
            continue;
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<TToolbarItem> DesignItemsOf(std::string_view toolbarName)
{
    for (const TToolbarLayout& layout : ToolbarLayouts()) {
        if (layout.name == toolbarName) {
            return DesignItems(layout);
        }
    }
    return {};
}

std::string StoredIdentity(const TToolbarItem& item)
{
    if (item.IsSeparator()) {
        return item.design ? std::string(kDesignSeparatorPrefix) + std::to_string(item.designSeparator)
                           : std::string(kAddedSeparator);
    }
    return std::string(item.design ? kDesignPrefix : kPoolPrefix) + item.command;
}

std::optional<TToolbarItem> ItemFromIdentity(std::string_view identity,
    const std::vector<TToolbarItem>& design,
    const std::function<bool(std::string_view command)>& isCommand)
{
    for (const TToolbarItem& item : design) {
        if (StoredIdentity(item) == identity) {
            return item;
        }
    }
    if (identity == kAddedSeparator) {
        return TToolbarItem{};
    }
    // A copy of a pool command; also a design name of another layout, which
    // can only have come from a hand edit and still names a command.
    for (std::string_view prefix : {kPoolPrefix, kDesignPrefix}) {
        if (identity.size() > prefix.size() && identity.substr(0, prefix.size()) == prefix) {
            const std::string_view command = identity.substr(prefix.size());
            if (isCommand && isCommand(command)) {
                return TToolbarItem{std::string(command), false, 0};
            }
        }
    }
    return std::nullopt;
}

bool SaveToolbarButtons(
    TSettingsStore& store, std::string_view name, std::string_view caption, const std::vector<TToolbarItem>& items)
{
    TSettingsBatch batch(store);
    bool ok = store.WriteString(Section(name), "Caption", caption);
    store.EraseSection(ButtonsSection(name));
    for (std::size_t i = 0; i < items.size(); ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "Button%.2zu", i);
        ok = store.WriteString(ButtonsSection(name), key, StoredIdentity(items[i])) && ok;
    }
    return ok;
}

std::vector<std::string> ReadToolbarButtonIdentities(TSettingsStore& store, std::string_view name)
{
    std::vector<std::pair<int, std::string>> numbered;
    for (const std::string& key : store.ReadSection(ButtonsSection(name))) {
        if (const std::optional<int> number = TrailingNumber(key, "Button")) {
            numbered.emplace_back(*number, store.ReadString(ButtonsSection(name), key, ""));
        }
    }
    std::stable_sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) {
        return a.first < b.first;
    });
    std::vector<std::string> identities;
    for (auto& [number, identity] : numbered) {
        identities.push_back(std::move(identity));
    }
    return identities;
}

bool HasStoredButtons(TSettingsStore& store, std::string_view name)
{
    return store.SectionExists(ButtonsSection(name));
}

std::vector<TToolbarItem> RestoreToolbarItems(TSettingsStore& store,
    std::string_view name,
    const std::vector<TToolbarItem>& design,
    const std::function<bool(std::string_view command)>& isCommand)
{
    std::vector<TToolbarItem> items;
    for (const std::string& identity : ReadToolbarButtonIdentities(store, name)) {
        if (std::optional<TToolbarItem> item = ItemFromIdentity(identity, design, isCommand)) {
            items.push_back(std::move(*item));
        }
    }
    return items;
}

std::vector<std::string> StoredToolbarNames(TSettingsStore& store)
{
    return store.ReadSubsections("Position");
}

std::string StoredCaption(TSettingsStore& store, std::string_view name, std::string_view defaultCaption)
{
    return store.ReadString(Section(name), "Caption", defaultCaption);
}

bool DeleteTBRegEntries(TSettingsStore& store, std::string_view name)
{
    TSettingsBatch batch(store);
    const bool buttons = store.EraseSection(ButtonsSection(name));
    return store.EraseSection(Section(name)) && buttons;
}

std::string NewUserToolbarName(const std::vector<std::string>& existingNames)
{
    for (int n = 1;; ++n) {
        std::string name = std::string(kUserPrefix) + std::to_string(n);
        const bool used = std::any_of(existingNames.begin(), existingNames.end(), [&name](const std::string& other) {
            return TIniDocument::Lower(other) == TIniDocument::Lower(name);
        });
        if (!used) {
            return name;
        }
    }
}

bool IsUserToolbarName(std::string_view name)
{
    return TrailingNumber(name, kUserPrefix).has_value();
}

} // namespace quillet

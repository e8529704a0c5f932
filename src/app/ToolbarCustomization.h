#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSettingsStore;
struct TToolbarLayout;

// One item of a customizable toolbar: a command button or a separator.
// design marks the items of the toolbar's standard layout, which the store
// names by element name ("tb" + command, "tbSep" + the separator's number);
// other buttons are copies of pool commands ("TBXItem_" + command) and other
// separators "TTBXSeparatorItem:NewItem".
struct TToolbarItem {
    std::string command; // empty for a separator
    bool design = false;
    int designSeparator = 0; // 1.. for the standard layout's separators
    bool IsSeparator() const { return command.empty(); }
    bool operator==(const TToolbarItem&) const = default;
};

// The standard layout's items of a toolbar.
std::vector<TToolbarItem> DesignItems(const TToolbarLayout& layout);
// The items of a standard toolbar's layout found by its name; empty for
// user toolbars.
std::vector<TToolbarItem> DesignItemsOf(std::string_view toolbarName);

std::string StoredIdentity(const TToolbarItem& item);
// The item a stored identity stands for; nullopt for an identity that names
// no design item of the toolbar and no command (isCommand tells).
std::optional<TToolbarItem> ItemFromIdentity(std::string_view identity,
    const std::vector<TToolbarItem>& design,
    const std::function<bool(std::string_view command)>& isCommand);

// Store layout below "Position": section "Position\<name>" key "Caption",
// section "Position\<name>\Buttons" keys "Button00", "Button01"...
bool SaveToolbarButtons(
    TSettingsStore& store, std::string_view name, std::string_view caption, const std::vector<TToolbarItem>& items);
// The stored identities in the numeric order of their keys (Button100 after
// Button99); keys that are not "Button" + digits are ignored.
std::vector<std::string> ReadToolbarButtonIdentities(TSettingsStore& store, std::string_view name);
// Whether a "Buttons" section exists for the toolbar.
bool HasStoredButtons(TSettingsStore& store, std::string_view name);
std::vector<TToolbarItem> RestoreToolbarItems(TSettingsStore& store,
    std::string_view name,
    const std::vector<TToolbarItem>& design,
    const std::function<bool(std::string_view command)>& isCommand);
// The toolbar names found below "Position".
std::vector<std::string> StoredToolbarNames(TSettingsStore& store);
std::string StoredCaption(TSettingsStore& store, std::string_view name, std::string_view defaultCaption);
// Erases a toolbar's "Buttons" section and its own section.
bool DeleteTBRegEntries(TSettingsStore& store, std::string_view name);

// An internal name for a new user toolbar that no existing toolbar uses:
// "UserToolbar1", "UserToolbar2"... The typed name is only its caption, so
// no text the user types can reach a section name.
std::string NewUserToolbarName(const std::vector<std::string>& existingNames);
// True for names NewUserToolbarName gives.
bool IsUserToolbarName(std::string_view name);

} // namespace quillet

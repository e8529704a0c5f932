#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum TSearchDirection { sdForward, sdBackward };
enum TSearchScope { ssGlobal, ssSelectedText };
enum TSearchOrigin { soFromCursor, soEntireScope };
enum TSearchWhere { swProjectFiles, swOpenFiles, swDirectories, swOther };

// The search switches and texts shared by every document, so the last search
// carries over between documents; find in files uses the last three fields.
struct TSearchOptions {
    bool CaseSensitive = false;
    bool WholeWordsOnly = false;
    bool RegularExpr = false;
    TSearchDirection Direction = sdForward;
    TSearchScope Scope = ssGlobal;
    TSearchOrigin Origin = soEntireScope;
    bool PromptOnReplace = false;
    std::string TextToFind;
    std::string ReplaceWith;
    bool FirstSearch = false; // the next search starts a series (Origin applies)
    bool InReplace = false; // the series replaces; Find Next repeats the replace
    bool ReplaceAll = false;
    bool ShowNotFound = false; // report "not found" with a message
    TSearchWhere Where = swDirectories;
    std::string FileMask;
    bool IncludeSubDirs = false;
};

// The one instance of the process.
TSearchOptions& GlobalSearchOptions();

// Search history: the remembered entries of the search input fields, kept in
// the settings store as one value per field with the entries as lines, most
// recent first.
inline constexpr std::string_view kSearchHistorySection = "Search History";
inline constexpr std::string_view kSearchItemsKey = "SearchItems";
inline constexpr std::string_view kReplaceItemsKey = "ReplaceItems";
inline constexpr std::string_view kSearchDirsKey = "SearchDirs";
inline constexpr std::string_view kSearchFileMasksKey = "SearchFileMasks";

// Accessors of the settings store, so this engine does not depend on how the
// store is implemented. A read of a missing key returns an empty string.
using TReadSetting = std::function<std::string(std::string_view section, std::string_view key)>;
using TWriteSetting = std::function<void(std::string_view section, std::string_view key, std::string_view value)>;

// Entries of a stored value: lines split at CR LF, CR or LF; empty lines are dropped.
std::vector<std::string> SplitHistory(std::string_view value);
// Entries joined with CR LF after each one.
std::string JoinHistory(const std::vector<std::string>& items);
std::vector<std::string> LoadHistory(const TReadSetting& read, std::string_view key);
void SaveHistory(const TWriteSetting& write, std::string_view key, const std::vector<std::string>& items);
// Moves `text` to the top: an entry equal to it, ignoring case, is removed
// first. Empty text and text with line breaks (which a stored value could not
// keep as one entry) leave the list unchanged.
void AddToHistory(std::vector<std::string>& items, std::string_view text);

} // namespace quillet

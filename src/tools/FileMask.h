#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// File name masks of the find-in-files walk: "*" stands for any run of
// characters, "?" for one character, everything else for itself compared
// without regard to case (by the system code page's rules). As on the desktop
// the program came from, a mask ending in ".*" also matches a name without a
// dot ("*.*" matches every name).
bool MatchesFileMask(std::string_view name, std::string_view mask);

// The masks of a ";"-separated list with blanks around each one trimmed;
// empty entries (";;") are dropped.
std::vector<std::string> SplitFileMasks(std::string_view masks);

// True when the name matches at least one of the masks.
bool MatchesAnyFileMask(std::string_view name, const std::vector<std::string>& masks);

} // namespace quillet

#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Line identities for TDiff: two lines get the same number exactly when their
// texts are equal after the options (blanks and tabs removed, lower-cased in
// the system code page). Lines are told apart by their text, not by a hash,
// so no checksum collision can make two different lines count as equal.
struct TLineIdentities {
    std::vector<std::int32_t> left;
    std::vector<std::int32_t> right;
};

TLineIdentities NumberLines(
    std::span<const std::string> left, std::span<const std::string> right, bool ignoreCase, bool ignoreBlanks);
// The same for lines that are views (into a file's bytes, for example).
TLineIdentities NumberLines(std::span<const std::string_view> left,
    std::span<const std::string_view> right,
    bool ignoreCase,
    bool ignoreBlanks);

// The text a line is compared by under the options.
std::string NormalizedLine(std::string_view line, bool ignoreCase, bool ignoreBlanks);

} // namespace quillet

#include "compare/LineIdentities.h"

#include "core/CharCase.h"

#include <string_view>
#include <unordered_map>

namespace quillet {

std::string NormalizedLine(std::string_view line, bool ignoreCase, bool ignoreBlanks)
{
    std::string kept;
    kept.reserve(line.size());
    for (const char c : line) {
        if (ignoreBlanks && (c == ' ' || c == '\t')) {
            continue;
        }
        kept.push_back(ignoreCase ? static_cast<char>(LowerChar(static_cast<unsigned char>(c))) : c);
    }
    return kept;
}

TLineIdentities NumberLines(
    std::span<const std::string> left, std::span<const std::string> right, bool ignoreCase, bool ignoreBlanks)
{
    const bool normalize = ignoreCase || ignoreBlanks;
    // Normalised copies live here so that the map can key on views of them.
    std::vector<std::string> normalized;
    if (normalize) {
        normalized.reserve(left.size() + right.size());
        for (const std::string& line : left) {
            normalized.push_back(NormalizedLine(line, ignoreCase, ignoreBlanks));
        }
        for (const std::string& line : right) {
            normalized.push_back(NormalizedLine(line, ignoreCase, ignoreBlanks));
        }
    }
    std::unordered_map<std::string_view, std::int32_t> ids;
    ids.reserve(left.size() + right.size());
    TLineIdentities result;
    result.left.reserve(left.size());
    result.right.reserve(right.size());
    std::size_t index = 0;
    const auto identify = [&](const std::string& line) {
        const std::string_view key = normalize ? std::string_view(normalized[index]) : std::string_view(line);
        ++index;
        return ids.try_emplace(key, static_cast<std::int32_t>(ids.size())).first->second;
    };
    for (const std::string& line : left) {
        result.left.push_back(identify(line));
    }
    for (const std::string& line : right) {
        result.right.push_back(identify(line));
    }
    return result;
}

} // namespace quillet

#include "tools/FileMask.h"

#include "core/CharCase.h"

namespace quillet {

namespace {

bool SameChar(char a, char b)
{
    return a == b || UpperChar(static_cast<unsigned char>(a)) == UpperChar(static_cast<unsigned char>(b));
}

// Wildcard match with one back-track point per "*": linear in practice and
// never worse than name x mask steps, whatever the input.
bool WildcardMatch(std::string_view name, std::string_view mask)
{
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == '?' || SameChar(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') {
        ++m;
    }
    return m == mask.size();
}

} // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask)
{
    if (WildcardMatch(name, mask)) {
        return true;
    }
    if (mask.size() >= 2 && mask.substr(mask.size() - 2) == ".*" && name.find('.') == std::string_view::npos) {
        return WildcardMatch(name, mask.substr(0, mask.size() - 2));
    }
    return false;
}

std::vector<std::string> SplitFileMasks(std::string_view masks)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= masks.size()) {
        std::size_t end = masks.find(';', start);
        if (end == std::string_view::npos) {
            end = masks.size();
        }
        std::string_view item = masks.substr(start, end - start);
        while (!item.empty() && (item.front() == ' ' || item.front() == '\t')) {
            item.remove_prefix(1);
        }
        while (!item.empty() && (item.back() == ' ' || item.back() == '\t')) {
            item.remove_suffix(1);
        }
        if (!item.empty()) {
            out.emplace_back(item);
        }
        start = end + 1;
    }
    return out;
}

bool MatchesAnyFileMask(std::string_view name, const std::vector<std::string>& masks)
{
    for (const std::string& mask : masks) {
        if (MatchesFileMask(name, mask)) {
            return true;
        }
    }
    return false;
}

} // namespace quillet

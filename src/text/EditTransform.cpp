// Line rewriting for the Edit commands: sort, tab conversions, comments, and
// the text of quick templates.
#include "text/EditTransform.h"

#include "core/CharCase.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace quillet {

namespace {

// The lines a transformation works on: all of them, or all but an empty
// closing piece.
std::size_t WorkingCount(const TLines& lines, bool closingBreak)
{
    if (closingBreak && lines.size() > 1 && lines.back().empty()) {
        return lines.size() - 1;
    }
    return lines.size();
}

void StripOneTrailingBreak(std::string_view& text)
{
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n') || text.ends_with('\r')) {
        text.remove_suffix(1);
    }
}

} // namespace

int ClampSpacesInTab(int spacesInTab)
{
    return spacesInTab <= 0 || spacesInTab > 10 ? 8 : spacesInTab;
}

int CompareLinesForSort(std::string_view a, std::string_view b)
{
    return CompareTextIgnoreCase(a, b);
}

void SortLines(TLines& lines, TSortOrder order, bool closingBreak)
{
    // Sorting a million lines calls the comparison some twenty million times,
    // so every line is folded once into a key (the same byte-wise lower-case
    // form CompareTextIgnoreCase compares) and the keys are compared with
    // memcmp. The original position breaks ties, which keeps equal lines in
    // order. The first sixteen key bytes, packed big-endian and zero-padded
    // into two integers, settle most comparisons without touching the key
    // text (indentation alone often fills the first eight).
    const std::size_t count = WorkingCount(lines, closingBreak);
    std::array<unsigned char, 256> fold{};
    for (int c = 0; c < 256; ++c) {
        fold[static_cast<std::size_t>(c)] = LowerChar(static_cast<unsigned char>(c));
    }
    struct TKey {
        std::uint64_t prefix[2];
        std::size_t offset;
        std::size_t length;
        std::size_t index;
    };
    std::vector<TKey> keys(count);
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        keys[i] = {{0, 0}, total, lines[i].size(), i};
        total += lines[i].size();
    }
    std::string folded(total, '\0');
    for (std::size_t i = 0; i < count; ++i) {
        char* out = folded.data() + keys[i].offset;
        for (unsigned char c : lines[i]) {
            *out++ = static_cast<char>(fold[c]);
        }
        for (std::size_t half = 0; half < 2; ++half) {
            std::uint64_t prefix = 0;
            for (std::size_t k = half * 8; k < half * 8 + 8; ++k) {
                const unsigned char c = k < keys[i].length ? static_cast<unsigned char>(folded[keys[i].offset + k]) : 0;
                prefix = prefix << 8 | c;
            }
            keys[i].prefix[half] = prefix;
        }
    }
    const char* base = folded.data();
    std::sort(keys.begin(), keys.end(), [base](const TKey& a, const TKey& b) {
        if (a.prefix[0] != b.prefix[0]) {
            return a.prefix[0] < b.prefix[0];
        }
        if (a.prefix[1] != b.prefix[1]) {
            return a.prefix[1] < b.prefix[1];
        }
        const int r = std::memcmp(base + a.offset, base + b.offset, std::min(a.length, b.length));
        if (r != 0) {
            return r < 0;
        }
        if (a.length != b.length) {
            return a.length < b.length;
        }
        return a.index < b.index;
    });
    if (order == TSortOrder::Descending) {
        std::reverse(keys.begin(), keys.end());
    }
    TLines sorted;
    sorted.reserve(lines.size());
    for (const TKey& key : keys) {
        sorted.push_back(std::move(lines[key.index]));
    }
    for (std::size_t i = count; i < lines.size(); ++i) {
        sorted.push_back(std::move(lines[i]));
    }
    lines.swap(sorted);
}

void TabsToSpaces(TLines& lines, int spacesInTab)
{
    const std::size_t n = static_cast<std::size_t>(ClampSpacesInTab(spacesInTab));
    for (std::string& line : lines) {
        const auto tabs = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t'));
        if (tabs == 0) {
            continue;
        }
        std::string out;
        out.reserve(line.size() + tabs * (n - 1));
        for (char c : line) {
            if (c == '\t') {
                out.append(n, ' ');
            } else {
                out += c;
            }
        }
        line = std::move(out);
    }
}

void SpacesToTabs(TLines& lines, int spacesInTab)
{
    const std::size_t n = static_cast<std::size_t>(ClampSpacesInTab(spacesInTab));
    const std::string run(n, ' ');
    for (std::string& line : lines) {
        if (line.find(run) == std::string::npos) {
            continue;
        }
        // Replacing the leftmost run never creates a new one, so one pass over
        // each maximal run of spaces gives the same result as repeating.
        std::string out;
        out.reserve(line.size());
        std::size_t i = 0;
        while (i < line.size()) {
            if (line[i] != ' ') {
                out += line[i++];
                continue;
            }
            std::size_t k = 0;
            while (i + k < line.size() && line[i + k] == ' ') {
                ++k;
            }
            out.append(k / n, '\t');
            out.append(k % n, ' ');
            i += k;
        }
        line = std::move(out);
    }
}

void CommentLines(TLines& lines, std::string_view marker, bool closingBreak)
{
    if (marker.empty()) {
        return;
    }
    const std::size_t count = WorkingCount(lines, closingBreak);
    for (std::size_t i = 0; i < count; ++i) {
        lines[i].insert(0, marker);
    }
}

void UncommentLines(TLines& lines, std::string_view marker)
{
    if (marker.empty()) {
        return;
    }
    for (std::string& line : lines) {
        const std::size_t at = line.find(marker);
        if (at != std::string::npos) {
            line.erase(at, marker.size());
        }
    }
}

TLines SplitTextLines(std::string_view text)
{
    TLines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLinesCrLf(const TLines& lines)
{
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            out += "\r\n";
        }
        out += lines[i];
    }
    return out;
}

TQuickTemplateResult ApplyQuickTemplate(std::string_view templateText, std::string_view selectedText)
{
    StripOneTrailingBreak(templateText);
    StripOneTrailingBreak(selectedText);
    TQuickTemplateResult result;
    const std::size_t bar = templateText.find('|');
    if (bar == std::string_view::npos) {
        result.text.reserve(selectedText.size() + templateText.size());
        result.text.append(selectedText).append(templateText);
    } else {
        result.hasBar = true;
        const TLines before = SplitTextLines(templateText.substr(0, bar));
        result.barLine = before.size() - 1;
        result.barColumn = before.back().size();
        result.text.reserve(templateText.size() - 1 + selectedText.size());
        result.text.append(templateText.substr(0, bar)).append(selectedText).append(templateText.substr(bar + 1));
    }
    const TLines resultLines = SplitTextLines(result.text);
    result.lineCount = resultLines.size();
    result.lastLineLength = resultLines.back().size();
    return result;
}

} // namespace quillet

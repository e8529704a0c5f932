// Lines of a text for the benchmarks that walk a document line by line.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::bench {

// The lines of a text, without their LF or CR LF ends; views into text.
inline std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::size_t stop = end > start && text[end - 1] == '\r' ? end - 1 : end;
        lines.push_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

// A whole file read with one read of its size, or nothing when it cannot be
// opened or read.
inline std::optional<std::string> ReadWholeFile(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            text.emplace(static_cast<std::size_t>(size), '\0');
            if (std::fread(text->data(), 1, text->size(), file) != text->size()) {
                text.reset();
            }
        }
    }
    std::fclose(file);
    return text;
}

} // namespace quillet::bench

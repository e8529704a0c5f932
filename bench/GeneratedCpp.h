// The generated C++ sample that the colouring benchmarks and
// bench/compare/highlight.sh share: about 20 MB in the usual mix of comments,
// directives, strings with escapes, numbers in several notations, keywords and
// punctuation, with a block comment over two lines.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace quillet::bench {

// LF line ends, a line end after every line; at least minBytes long.
inline std::string GeneratedCppText(std::size_t minBytes = 20u * 1024u * 1024u)
{
    const char* const templates[] = {
        "#include <vector>",
        "#define LIMIT_%d (1 << %d) /* bit %d */",
        "// Function number %d: returns the sum of its inputs.",
        "template <typename T> static inline T Sum%d(const std::vector<T>& values, T start = T(%d))",
        "{",
        "    for (std::size_t i = 0; i < values.size(); ++i) {",
        "        start += values[i] * 0x%XU + %d.5e-3f; // scale",
        "        if (start > %dLL && values[i] != 'x') { continue; }",
        "    }",
        "    const char* message = \"value \\\"%d\\\" is\\tout of range\\n\";",
        "    /* A block comment that",
        "       runs over two lines: %d */",
        "    return start == nullptr ? static_cast<T>(%d) : start;",
        "}",
        "",
    };
    std::string text;
    char buffer[256];
    for (int n = 0; text.size() < minBytes; ++n) {
        for (const char* line : templates) {
            const int length = std::snprintf(buffer, sizeof buffer, line, n, n % 31, n % 7);
            text.append(buffer, static_cast<std::size_t>(length));
            text += '\n';
        }
    }
    return text;
}

} // namespace quillet::bench

#include "text/LineScan.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {
namespace {

struct TLine {
    std::string text;
    bool hasTab = false;
    bool operator==(const TLine&) const = default;
};

std::vector<TLine> Scanned(std::string_view text)
{
    std::vector<TLine> out;
    ScanLines(text.data(), text.size(), [&](const char* b, const char* e, bool hasTab) {
        out.push_back({std::string(b, e), hasTab});
    });
    return out;
}

// The same split one byte at a time.
std::vector<TLine> Reference(std::string_view text)
{
    std::vector<TLine> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            const std::string line(text.substr(start, i - start));
            out.push_back({line, line.find('\t') != std::string::npos});
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < text.size()) {
        const std::string line(text.substr(start));
        out.push_back({line, line.find('\t') != std::string::npos});
    }
    return out;
}

TEST(LineScan, BreaksAndTabsOfSmallTexts)
{
    struct TCase {
        const char* text;
        std::vector<TLine> lines;
    };
    const TCase cases[] = {
        {"", {}},
        {"\n", {{"", false}}},
        {"a\r\nb", {{"a", false}, {"b", false}}},
        {"a\r\rb\n\n", {{"a", false}, {"", false}, {"b", false}, {"", false}}},
        {"\ta\n\r\nb\t", {{"\ta", true}, {"", false}, {"b\t", true}}},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Scanned(c.text), c.lines) << c.text;
    }
}

// Breaks, CR LF pairs and tabs at every offset in and across the 64-byte
// blocks the scan takes at once.
TEST(LineScan, RandomTextsSplitAsByteByByte)
{
    std::mt19937 rng(5);
    const char alphabet[] = {'a', 'b', '\n', '\r', '\t', ' '};
    for (int round = 0; round < 2000; ++round) {
        std::string text(rng() % 400, 'x');
        const unsigned spread = 6 + rng() % 60;
        for (char& c : text) {
            const unsigned pick = rng() % spread;
            c = pick < sizeof alphabet ? alphabet[pick] : 'x';
        }
        ASSERT_EQ(Scanned(text), Reference(text)) << "round " << round;
    }
}

} // namespace
} // namespace quillet

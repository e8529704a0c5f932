#include "compare/LineIdentities.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

// Many lines of lengths around the hash's eight-byte words, from few letters
// so that texts repeat and differ in single bytes: two lines share a number
// exactly when their normalised texts are equal, and numbers follow the order
// in which texts are first seen, left side first.
TEST(LineIdentities, NumbersFollowTheNormalisedTextsOfManyLines)
{
    std::mt19937 random(20261211);
    const auto randomLines = [&](std::size_t count) {
        std::vector<std::string> lines(count);
        for (std::string& line : lines) {
            line.resize(random() % 20);
            for (char& c : line) {
                c = "aAb \t"[random() % 5];
            }
        }
        return lines;
    };
    const std::vector<std::string> left = randomLines(3000);
    const std::vector<std::string> right = randomLines(3000);
    for (const bool ignore : {false, true}) {
        SCOPED_TRACE(ignore ? "ignoring case and blanks" : "exact");
        const TLineIdentities ids = NumberLines(left, right, ignore, ignore);
        ASSERT_EQ(ids.left.size(), left.size());
        ASSERT_EQ(ids.right.size(), right.size());
        std::map<std::string, std::int32_t> seen;
        const auto expect = [&](const std::string& line, std::int32_t id) {
            const auto [at, added] =
                seen.emplace(NormalizedLine(line, ignore, ignore), static_cast<std::int32_t>(seen.size()));
            EXPECT_EQ(id, at->second) << '"' << line << '"' << (added ? " (first seen)" : "");
        };
        for (std::size_t i = 0; i < left.size(); ++i) {
            expect(left[i], ids.left[i]);
        }
        for (std::size_t i = 0; i < right.size(); ++i) {
            expect(right[i], ids.right[i]);
        }
    }
}

} // namespace
} // namespace quillet

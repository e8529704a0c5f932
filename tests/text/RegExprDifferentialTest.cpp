// Compares TRegExpr with a direct transcription of the dialect's definition:
// a recursive backtracking matcher that tries each start position in turn and
// takes "*" and "+" greedily, giving repetitions back one by one. It is
// exponential and only fit for the short random inputs used here.
#include "text/RegExpr.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

unsigned char Fold(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

struct TRefNode {
    enum Kind { Char, Any, Set, LineStart, LineEnd, Group } kind = Char;
    char quant = 0; // 0, '*' or '+'
    unsigned char ch = 0;
    std::vector<std::pair<unsigned char, unsigned char>> ranges; // Set
    bool negate = false;
    std::vector<TRefNode> children; // Group
};

// Parses the subset of the syntax the generator below produces.
class TRefParser {
public:
    explicit TRefParser(const std::string& p)
        : m_p(p)
    {
    }
    std::vector<TRefNode> Sequence()
    {
        std::vector<TRefNode> seq;
        while (m_i < m_p.size() && m_p[m_i] != '}') {
            const char c = m_p[m_i++];
            if (c == '*' || c == '+') {
                seq.back().quant = c;
                continue;
            }
            TRefNode node;
            if (c == '.') {
                node.kind = TRefNode::Any;
            } else if (c == '^') {
                node.kind = TRefNode::LineStart;
            } else if (c == '$') {
                node.kind = TRefNode::LineEnd;
            } else if (c == '\\') {
                node.ch = static_cast<unsigned char>(m_p[m_i++]);
            } else if (c == '{') {
                node.kind = TRefNode::Group;
                node.children = Sequence();
                ++m_i; // '}'
            } else if (c == '[') {
                node.kind = TRefNode::Set;
                if (m_p[m_i] == '^') {
                    node.negate = true;
                    ++m_i;
                }
                while (m_p[m_i] != ']') {
                    const auto from = static_cast<unsigned char>(m_p[m_i++]);
                    auto to = from;
                    if (m_p[m_i] == '-' && m_p[m_i + 1] != ']') {
                        to = static_cast<unsigned char>(m_p[m_i + 1]);
                        m_i += 2;
                    }
                    node.ranges.emplace_back(from, to);
                }
                ++m_i;
            } else {
                node.ch = static_cast<unsigned char>(c);
            }
            seq.push_back(std::move(node));
        }
        return seq;
    }

private:
    const std::string& m_p;
    std::size_t m_i = 0;
};

class TRefMatcher {
public:
    using TCont = std::function<bool(std::size_t)>;

    TRefMatcher(const std::string& pattern, bool caseSensitive)
        : m_caseSensitive(caseSensitive)
    {
        TRefParser parser(pattern);
        m_seq = parser.Sequence();
    }

    std::optional<TLineMatch> FindForward(const std::string& line, std::size_t from)
    {
        for (std::size_t start = from; start <= line.size(); ++start) {
            if (auto match = MatchAt(line, start)) {
                return match;
            }
        }
        return std::nullopt;
    }

    std::optional<TLineMatch> FindBackward(const std::string& line, std::size_t before)
    {
        for (std::size_t start = std::min(before, line.size() + 1); start-- > 0;) {
            if (auto match = MatchAt(line, start)) {
                return match;
            }
        }
        return std::nullopt;
    }

private:
    std::optional<TLineMatch> MatchAt(const std::string& line, std::size_t start)
    {
        m_line = line;
        std::size_t end = 0;
        if (Seq(m_seq, 0, start, [&](std::size_t p) {
                end = p;
                return true;
            })) {
            return TLineMatch{start, end - start};
        }
        return std::nullopt;
    }

    bool Same(unsigned char a, unsigned char b) const { return m_caseSensitive ? a == b : Fold(a) == Fold(b); }

    bool CharMatches(const TRefNode& node, unsigned char t) const
    {
        switch (node.kind) {
        case TRefNode::Any:
            return true;
        case TRefNode::Char:
            return Same(node.ch, t);
        case TRefNode::Set: {
            bool in = false;
            for (auto [from, to] : node.ranges) {
                for (int m = from; m <= to; ++m) {
                    in = in || Same(static_cast<unsigned char>(m), t);
                }
            }
            return in != node.negate;
        }
        default:
            return false;
        }
    }

    bool One(const TRefNode& node, std::size_t pos, const TCont& k)
    {
        switch (node.kind) {
        case TRefNode::LineStart:
            return pos == 0 && k(pos);
        case TRefNode::LineEnd:
            return pos == m_line.size() && k(pos);
        case TRefNode::Group:
            return Seq(node.children, 0, pos, k);
        default:
            return pos < m_line.size() && CharMatches(node, static_cast<unsigned char>(m_line[pos])) && k(pos + 1);
        }
    }

    // Greedy: one more iteration first, then the rest. An iteration that
    // consumed nothing ends the repetition.
    bool Star(const TRefNode& node, std::size_t pos, const TCont& k)
    {
        return One(node, pos, [&](std::size_t p) {
            return p == pos ? k(p) : Star(node, p, k);
        }) || k(pos);
    }

    bool Seq(const std::vector<TRefNode>& seq, std::size_t i, std::size_t pos, const TCont& k)
    {
        if (i == seq.size()) {
            return k(pos);
        }
        const TRefNode& node = seq[i];
        TCont rest = [&](std::size_t p) {
            return Seq(seq, i + 1, p, k);
        };
        if (node.quant == '*') {
            return Star(node, pos, rest);
        }
        if (node.quant == '+') {
            return One(node, pos, [&](std::size_t p) {
                return p == pos ? rest(p) : Star(node, p, rest);
            });
        }
        return One(node, pos, rest);
    }

    bool m_caseSensitive;
    std::vector<TRefNode> m_seq;
    std::string m_line;
};

// Random valid patterns over a small alphabet, so that matches are frequent.
std::string RandomPattern(std::mt19937& rng, int depth)
{
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    static const char* const kAtoms[] = {"a", "b", "A", "c", ".", "[ab]", "[^a]", "[a-b]", "[B-c]", "\\."};
    std::string p;
    const int count = 1 + pick(4);
    bool anchored = false;
    for (int i = 0; i < count; ++i) {
        const int kind = pick(10);
        if (kind == 0 && !anchored) {
            p += pick(2) ? "^" : "$";
            anchored = true;
            continue;
        }
        anchored = false;
        if (kind <= 2 && depth < 3) {
            p += "{" + RandomPattern(rng, depth + 1) + "}";
        } else {
            p += kAtoms[pick(10)];
        }
        const int quant = pick(3);
        if (quant == 1) {
            p += "*";
        } else if (quant == 2) {
            p += "+";
        }
    }
    return p;
}

TEST(RegExprDifferential, SameMatchesAsPlainBacktracking)
{
    std::mt19937 rng(20261210);
    const char alphabet[] = {'a', 'b', 'A', 'B', 'c', '.'};
    for (int round = 0; round < 4000; ++round) {
        const std::string pattern = RandomPattern(rng, 0);
        const bool caseSensitive = rng() % 2 == 0;
        TRegExpr re(pattern, caseSensitive);
        ASSERT_TRUE(re.IsValid()) << re.ErrorMessage();
        TRefMatcher ref(pattern, caseSensitive);
        for (int text = 0; text < 8; ++text) {
            std::string line;
            const int length = static_cast<int>(rng() % 9);
            for (int i = 0; i < length; ++i) {
                line += alphabet[rng() % sizeof(alphabet)];
            }
            const std::size_t from = rng() % (line.size() + 1);
            ASSERT_EQ(re.FindForward(line, from), ref.FindForward(line, from))
                << "pattern " << pattern << (caseSensitive ? " (case)" : "") << " line '" << line << "' from " << from;
            ASSERT_EQ(re.FindBackward(line, from + 1), ref.FindBackward(line, from + 1))
                << "pattern " << pattern << (caseSensitive ? " (case)" : "") << " line '" << line << "' before "
                << from + 1;
        }
    }
}

// Patterns rich in literal runs, inside and around groups, so that the
// extracted literals are long and often prefixes.
std::string LiteralPattern(std::mt19937& rng, int depth)
{
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    static const char* const kAtoms[] = {"a", "b", "ab", "ba", "c", "A", ".", "[ab]", "\\.", "^", "$"};
    std::string p;
    const int count = 1 + pick(5);
    for (int i = 0; i < count; ++i) {
        const int kind = pick(8);
        std::string atom;
        if (kind == 0 && depth < 3) {
            atom = "{" + LiteralPattern(rng, depth + 1) + "}";
        } else {
            atom = kAtoms[pick(11)];
        }
        p += atom;
        const bool anchor = atom == "^" || atom == "$";
        const int quant = pick(5);
        if (!anchor && quant == 1) {
            p += "*";
        } else if (!anchor && quant == 2) {
            p += "+";
        }
    }
    return p;
}

// The literal pre-filter only skips starts that cannot match: with it and
// without it every search gives the same result.
TEST(RegExprDifferential, LiteralFilterChangesNoMatch)
{
    std::mt19937 rng(1812);
    const char alphabet[] = {'a', 'b', 'A', 'B', 'c', '.'};
    for (int round = 0; round < 6000; ++round) {
        const std::string pattern = round % 2 == 0 ? LiteralPattern(rng, 0) : RandomPattern(rng, 0);
        const bool caseSensitive = rng() % 2 == 0;
        TRegExpr filtered(pattern, caseSensitive);
        if (!filtered.IsValid()) {
            continue; // a quantifier after an anchor
        }
        TRegExpr plain(pattern, caseSensitive);
        plain.SetLiteralFilter(false);
        for (int text = 0; text < 8; ++text) {
            std::string line;
            const int length = static_cast<int>(rng() % 24);
            for (int i = 0; i < length; ++i) {
                line += alphabet[rng() % sizeof(alphabet)];
            }
            const std::size_t from = rng() % (line.size() + 1);
            ASSERT_EQ(filtered.FindForward(line, from), plain.FindForward(line, from))
                << "pattern " << pattern << (caseSensitive ? " (case)" : "") << " line '" << line << "' from " << from;
            ASSERT_EQ(filtered.FindBackward(line, from + 1), plain.FindBackward(line, from + 1))
                << "pattern " << pattern << (caseSensitive ? " (case)" : "") << " line '" << line << "' before "
                << from + 1;
        }
    }
}

TEST(RegExpr, ExtractsRequiredAndPrefixLiterals)
{
    struct Case {
        const char* pattern;
        bool caseSensitive;
        const char* required;
        const char* prefix;
    };
    const Case cases[] = {
        {"needle", true, "needle", "needle"},
        {"{ab}+c", true, "abc", "ab"},
        {"[a-z]+_t\\(", true, "_t(", ""},
        {"st[a-z]*c [cv]", true, "st", "st"},
        {"ne+dle", true, "edle", "ne"},
        {"Ab", false, "AB", "AB"},
        {"a[bB]", false, "AB", "AB"},
        {"a[bB]", true, "a", "a"},
        {"x*", true, "", ""},
        {"a*bc", true, "bc", ""},
        {"^abc$", true, "abc", ""},
        {"{ab}*cd", true, "cd", ""},
        {"{a{bc}+}+d", true, "abc", "abc"},
        {"{x.y}+z", true, "x", "x"},
        {"a.bcd", true, "bcd", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        const TRegExpr re(c.pattern, c.caseSensitive);
        ASSERT_TRUE(re.IsValid());
        EXPECT_EQ(re.RequiredLiteral().Needle(), c.required);
        EXPECT_EQ(re.PrefixLiteral().Needle(), c.prefix);
    }
}

TEST(RegExpr, ExtractsRequiredRunsOfSmallSets)
{
    struct Case {
        const char* pattern;
        bool caseSensitive;
        std::vector<std::string> runs; // the members of each set, "|" between sets
    };
    const Case cases[] = {
        {"st[a-z]*c [cv]", true, {"s|t", "c| |cv"}},
        {"st[a-z]*c [cv]", false, {"Ss|Tt", "Cc| |CVcv"}},
        {"a[bc]+d", true, {"a|bc", "bc|d"}},
        {"x{ab}y", true, {"x|a|b|y"}},
        {"x{ab}*y.z^q", true, {}},
        {"[0-7][0-7]", true, {"01234567|01234567"}},
        {"[0-9]x", true, {}},
        {"[^a]b", true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        const TRegExpr re(c.pattern, c.caseSensitive);
        ASSERT_TRUE(re.IsValid());
        std::vector<std::string> runs;
        for (const TRegExpr::TSetRun& run : re.RequiredSetRuns()) {
            std::string text;
            for (const std::bitset<256>& set : run) {
                text += text.empty() ? "" : "|";
                for (int ch = 0; ch < 256; ++ch) {
                    if (set[static_cast<std::size_t>(ch)]) {
                        text += static_cast<char>(ch);
                    }
                }
            }
            runs.push_back(text);
        }
        EXPECT_EQ(runs, c.runs);
    }
}

// A line that holds the longest required run but lacks another one is ruled
// out before the machine starts; a line with all of them is still matched.
TEST(RegExpr, EveryRequiredRunRulesOutALine)
{
    TRegExpr re("st[a-z]*c [cv]", true);
    ASSERT_TRUE(re.IsValid());
    const std::string without = "struct const stack stop stuck static";
    EXPECT_EQ(re.FindForward(without, 0), std::nullopt);
    EXPECT_EQ(re.StepsOfLastSearch(), 0u);
    EXPECT_EQ(re.FindBackward(without, without.size() + 1), std::nullopt);
    EXPECT_EQ(re.StepsOfLastSearch(), 0u);
    const std::string with = "struct static void";
    EXPECT_EQ(re.FindForward(with, 0), (TLineMatch{7, 8}));
    EXPECT_EQ(re.FindForward(with, 8), std::nullopt);
}

} // namespace
} // namespace quillet

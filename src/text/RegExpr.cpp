// Parsing and compiling of the dialect into the program that RegExprMatch.cpp runs.
#include "text/RegExpr.h"

#include "core/Translations.h"

#include <algorithm>
#include <string_view>

namespace quillet {

namespace {

enum class TItemKind : std::uint8_t { Atom, LineStart, LineEnd, GroupOpen, GroupClose };
enum class TQuant : std::uint8_t { None, Star, Plus };

// One element of the parsed pattern in pattern order. Groups are an open and a
// close item pointing at each other, so neither parsing nor compiling recurses
// however deeply the pattern nests.
struct TItem {
    TItemKind kind;
    TQuant quant = TQuant::None;
    std::uint32_t set = 0; // atoms: index into the set list
    std::size_t partner = 0; // groups: index of the matching open or close item
};

unsigned char Fold(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Characters a backslash makes literal inside a set; before any other
// character the backslash is a member itself.
bool IsSetEscapable(char c)
{
    return std::string_view("$*+.[]^{}-").find(c) != std::string_view::npos;
}

// Reads the set that starts with '[' at i. Returns the index behind its ']',
// or 0 with errorPosition set (1-based) when the set is malformed.
std::size_t ParseSet(
    std::string_view pattern, std::size_t i, std::bitset<256>& members, bool& negate, int& errorPosition)
{
    const std::size_t size = pattern.size();
    std::size_t q = i + 1;
    negate = false;
    if (q < size && pattern[q] == '^') {
        negate = true;
        ++q;
    }
    if (q >= size) {
        errorPosition = static_cast<int>(i) + 1;
        return 0;
    }
    if (pattern[q] == ']' || pattern[q] == '-') {
        errorPosition = static_cast<int>(q) + 1;
        return 0;
    }
    auto readMember = [&](std::size_t& at) {
        if (pattern[at] == '\\' && at + 1 < size && IsSetEscapable(pattern[at + 1])) {
            at += 2;
            return static_cast<unsigned char>(pattern[at - 1]);
        }
        ++at;
        return static_cast<unsigned char>(pattern[at - 1]);
    };
    while (q < size && pattern[q] != ']') {
        const unsigned char from = readMember(q);
        if (q + 1 < size && pattern[q] == '-' && pattern[q + 1] != ']') {
            ++q;
            const unsigned char to = readMember(q);
            for (int m = from; m <= to; ++m) {
                members.set(static_cast<std::size_t>(m));
            }
        } else {
            members.set(from);
        }
    }
    if (q >= size) {
        errorPosition = static_cast<int>(i) + 1;
        return 0;
    }
    return q + 1;
}

// Parses the pattern into items, adding each atom's set through addSet (which
// returns the set's index). Returns 0, or the 1-based position of the error.
template <typename AddSet> int ParseItems(std::string_view pattern, std::vector<TItem>& items, AddSet&& addSet)
{
    // What came before the current character decides whether a quantifier may follow.
    enum class TPrev { Start, Repeatable, Anchor, Quantifier, GroupOpen };
    TPrev prev = TPrev::Start;
    std::vector<std::size_t> openGroups; // item indexes of "{" not yet closed
    std::vector<int> openPositions; // their 1-based pattern positions
    const std::size_t size = pattern.size();

    auto addAtom = [&](const std::bitset<256>& members, bool negate = false) {
        items.push_back({TItemKind::Atom, TQuant::None, addSet(members, negate), 0});
        prev = TPrev::Repeatable;
    };
    auto addChar = [&](char c) {
        std::bitset<256> members;
        members.set(static_cast<unsigned char>(c));
        addAtom(members);
    };

    std::size_t i = 0;
    while (i < size) {
        const char c = pattern[i];
        const int position = static_cast<int>(i) + 1;
        switch (c) {
        case '*':
        case '+': {
            if (prev != TPrev::Repeatable) {
                return position;
            }
            TItem& last = items.back();
            last.quant = c == '*' ? TQuant::Star : TQuant::Plus;
            if (last.kind == TItemKind::GroupClose) {
                items[last.partner].quant = last.quant;
            }
            prev = TPrev::Quantifier;
            ++i;
            break;
        }
        case '\\':
            if (i + 1 >= size) {
                return position;
            }
            addChar(pattern[i + 1]);
            i += 2;
            break;
        case '.': {
            std::bitset<256> members;
            members.set();
            addAtom(members);
            ++i;
            break;
        }
        case '^':
        case '$':
            items.push_back({c == '^' ? TItemKind::LineStart : TItemKind::LineEnd});
            prev = TPrev::Anchor;
            ++i;
            break;
        case '{':
            openGroups.push_back(items.size());
            openPositions.push_back(position);
            items.push_back({TItemKind::GroupOpen});
            prev = TPrev::GroupOpen;
            ++i;
            break;
        case '}': {
            ++i;
            if (openGroups.empty()) {
                addChar('}');
                break;
            }
            const std::size_t open = openGroups.back();
            openGroups.pop_back();
            openPositions.pop_back();
            items[open].partner = items.size();
            items.push_back({TItemKind::GroupClose, TQuant::None, 0, open});
            prev = TPrev::Repeatable;
            break;
        }
        case '[': {
            std::bitset<256> members;
            bool negate = false;
            int errorPosition = 0;
            const std::size_t next = ParseSet(pattern, i, members, negate, errorPosition);
            if (next == 0) {
                return errorPosition;
            }
            addAtom(members, negate);
            i = next;
            break;
        }
        default:
            addChar(c);
            ++i;
            break;
        }
    }
    return openGroups.empty() ? 0 : openPositions.back();
}

// Shortest possible match, to skip start positions too near the line end.
std::size_t MinimumLength(const std::vector<TItem>& items)
{
    std::vector<std::size_t> sums{0};
    for (const TItem& item : items) {
        if (item.kind == TItemKind::Atom) {
            sums.back() += item.quant == TQuant::Star ? 0 : 1;
        } else if (item.kind == TItemKind::GroupOpen) {
            sums.push_back(0);
        } else if (item.kind == TItemKind::GroupClose) {
            const std::size_t body = sums.back();
            sums.pop_back();
            sums.back() += item.quant == TQuant::Star ? 0 : body;
        }
    }
    return sums.back();
}

// Literals every match of a piece of the pattern holds.
struct TLiterals {
    std::string prefix; // every match starts with it
    std::string longest; // every match contains it
    std::vector<std::string> runs; // every match contains each of them
    bool whole = true; // the piece matches exactly `prefix` and nothing else
};

// Group nesting beyond this is treated as opaque, so the walk stays shallow.
constexpr int kLiteralDepth = 32;

// Walks the items [begin, end) in pattern order. `literalOf` gives the byte
// an atom's set stands for when it holds exactly one (folded) character, or
// -1. A group without a quantifier is transparent; a "+" group contributes
// what one repetition holds; "*" items and anything that is not a single
// character end the current run.
template <typename LiteralOf>
TLiterals FindLiterals(
    const std::vector<TItem>& items, std::size_t begin, std::size_t end, LiteralOf&& literalOf, int depth)
{
    TLiterals out;
    std::string run;
    bool atStart = true;
    auto endRun = [&] {
        if (atStart) {
            out.prefix = run;
            atStart = false;
        }
        if (run.size() > out.longest.size()) {
            out.longest = run;
        }
        if (!run.empty()) {
            out.runs.push_back(run);
        }
        run.clear();
    };
    for (std::size_t i = begin; i < end; ++i) {
        const TItem& item = items[i];
        switch (item.kind) {
        case TItemKind::Atom: {
            const int c = literalOf(item.set);
            if (c < 0 || item.quant == TQuant::Star) {
                out.whole = false;
                endRun();
            } else if (item.quant == TQuant::None) {
                run.push_back(static_cast<char>(c));
            } else {
                // x+: the last repetition is followed by what comes next.
                out.whole = false;
                run.push_back(static_cast<char>(c));
                endRun();
                run.push_back(static_cast<char>(c));
            }
            break;
        }
        case TItemKind::LineStart:
        case TItemKind::LineEnd:
            out.whole = false;
            endRun();
            break;
        case TItemKind::GroupOpen:
            if (item.quant == TQuant::None) {
                break; // {abc} is abc
            }
            out.whole = false;
            if (item.quant == TQuant::Plus && depth < kLiteralDepth) {
                const TLiterals body = FindLiterals(items, i + 1, item.partner, literalOf, depth + 1);
                run += body.prefix;
                endRun();
                if (body.longest.size() > out.longest.size()) {
                    out.longest = body.longest;
                }
                out.runs.insert(out.runs.end(), body.runs.begin(), body.runs.end());
                if (body.whole) {
                    run = body.prefix; // the last repetition, followed by what comes next
                }
            } else {
                endRun();
            }
            i = item.partner;
            break;
        case TItemKind::GroupClose:
            break; // the end of a transparent group
        }
    }
    const bool whole = out.whole;
    endRun();
    out.whole = whole;
    return out;
}

// Sequences of small sets every match holds in a row: runs of atoms without
// "*" whose sets have at most kMaxRunSetMembers characters, through groups
// without a quantifier; "x+" gives x and starts the next run with x again.
// Runs of fewer than two sets are left out.
constexpr std::size_t kMaxRunSetMembers = 8;
constexpr std::size_t kMaxSetRuns = 4;

std::vector<std::vector<std::uint32_t>> FindSetRuns(
    const std::vector<TItem>& items, const std::vector<std::bitset<256>>& sets)
{
    std::vector<std::vector<std::uint32_t>> runs;
    std::vector<std::uint32_t> run;
    auto endRun = [&] {
        if (run.size() >= 2 && runs.size() < kMaxSetRuns) {
            runs.push_back(run);
        }
        run.clear();
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TItem& item = items[i];
        if (item.kind == TItemKind::Atom) {
            const std::size_t members = sets[item.set].count();
            if (item.quant == TQuant::Star || members == 0 || members > kMaxRunSetMembers) {
                endRun();
            } else {
                run.push_back(item.set);
                if (item.quant == TQuant::Plus) {
                    endRun();
                    run.push_back(item.set);
                }
            }
        } else if (item.kind == TItemKind::GroupOpen && item.quant != TQuant::None) {
            endRun();
            i = item.partner;
        } else if (item.kind == TItemKind::LineStart || item.kind == TItemKind::LineEnd) {
            endRun();
        }
    }
    endRun();
    return runs;
}

} // namespace

void TRegExpr::SetError(int position)
{
    m_valid = false;
    m_errorPosition = position;
    m_error = LangFormat("InvalidMask", "%s is invalid mask at (%d)", {m_pattern, position});
    m_program.clear();
    m_sets.clear();
}

std::uint32_t TRegExpr::AddSet(const std::bitset<256>& members, bool negate)
{
    // The stored table answers "does text character t match", with a-z folded
    // onto A-Z on both sides when the search ignores case; a negated set is
    // complemented after folding, so [^a] rejects A as well.
    std::bitset<256> table;
    if (m_caseSensitive) {
        table = members;
    } else {
        std::bitset<256> folded;
        for (int c = 0; c < 256; ++c) {
            if (members[c]) {
                folded.set(Fold(static_cast<unsigned char>(c)));
            }
        }
        for (int t = 0; t < 256; ++t) {
            table[t] = folded[Fold(static_cast<unsigned char>(t))];
        }
    }
    if (negate) {
        table.flip();
    }
    m_sets.push_back(table);
    return static_cast<std::uint32_t>(m_sets.size() - 1);
}

bool TRegExpr::Compile(std::string_view pattern, bool caseSensitive)
{
    m_pattern = std::string(pattern);
    m_caseSensitive = caseSensitive;
    m_error.clear();
    m_errorPosition = 0;
    m_valid = false;
    m_canMatchEmpty = false;
    m_program.clear();
    m_sets.clear();
    m_firstChars.reset();
    m_hasLeadingRun = false;
    m_minLength = 0;
    m_required = {};
    m_alsoRequired.clear();
    m_setRuns.clear();
    m_prefix = {};
    m_memoIndex.clear();
    m_memoCount = 0;

    std::vector<TItem> items;
    const int errorPosition = ParseItems(pattern, items, [this](const std::bitset<256>& members, bool negate) {
        return AddSet(members, negate);
    });
    if (errorPosition != 0) {
        SetError(errorPosition);
        return false;
    }
    m_minLength = MinimumLength(items);
    // A pattern that opens with x* or x+ over one set: see m_leadingRun.
    m_hasLeadingRun = !items.empty() && items[0].kind == TItemKind::Atom && items[0].quant != TQuant::None;
    m_leadingRun = m_hasLeadingRun ? m_sets[items[0].set] : std::bitset<256>();
    {
        // Literals are compared folded the way the sets were built.
        unsigned char fold[256];
        for (int c = 0; c < 256; ++c) {
            fold[c] = m_caseSensitive ? static_cast<unsigned char>(c) : Fold(static_cast<unsigned char>(c));
        }
        const auto literalOf = [&](std::uint32_t set) {
            const std::bitset<256>& table = m_sets[set];
            if (table.none()) {
                return -1;
            }
            std::size_t first = 0;
            while (!table[first]) {
                ++first;
            }
            const unsigned char c = fold[first];
            for (int t = 0; t < 256; ++t) {
                if (table[static_cast<std::size_t>(t)] != (fold[t] == c)) {
                    return -1;
                }
            }
            return static_cast<int>(c);
        };
        const TLiterals literals = FindLiterals(items, 0, items.size(), literalOf, 0);
        m_required = TLiteralFinder(literals.longest, fold);
        m_prefix = TLiteralFinder(literals.prefix, fold);
        for (const std::string& run : literals.runs) {
            const bool known = literals.longest.find(run) != std::string::npos
                || std::any_of(m_alsoRequired.begin(), m_alsoRequired.end(), [&](const TLiteralFinder& other) {
                       return other.Needle().find(run) != std::string::npos;
                   });
            if (!known && m_alsoRequired.size() < kMaxAlsoRequired) {
                m_alsoRequired.emplace_back(run, fold);
            }
        }
    }

    for (const std::vector<std::uint32_t>& run : FindSetRuns(items, m_sets)) {
        std::vector<std::bitset<256>>& tables = m_setRuns.emplace_back();
        for (std::uint32_t set : run) {
            tables.push_back(m_sets[set]);
        }
    }

    // Compile in one pass. x* over a single character becomes StarSet, which
    // gives its repetitions back without a stack entry per character.
    //   {body}*  ->  L: Split(L+1, exit); body; Jump L; exit:
    //   {body}+  ->  L: body; Split(L, exit); exit:
    std::vector<std::uint32_t> groupStarts;
    for (std::size_t index = 0; index < items.size(); ++index) {
        TItem item = items[index];
        // A repeated group around one plain atom ({a}*, {.}+) repeats like the
        // atom itself, which needs no stack entry per repetition.
        if (item.kind == TItemKind::GroupOpen && item.quant != TQuant::None && index + 2 < items.size()
            && items[index + 1].kind == TItemKind::Atom && items[index + 1].quant == TQuant::None
            && items[index + 2].kind == TItemKind::GroupClose) {
            item = items[index + 1];
            item.quant = items[index].quant;
            index += 2;
        }
        const auto pc = static_cast<std::uint32_t>(m_program.size());
        switch (item.kind) {
        case TItemKind::Atom:
            if (item.quant == TQuant::Star) {
                m_program.push_back({TOp::StarSet, item.set, 0});
            } else {
                m_program.push_back({TOp::Set, item.set, 0});
                if (item.quant == TQuant::Plus) {
                    m_program.push_back({TOp::StarSet, item.set, 0});
                }
            }
            break;
        case TItemKind::LineStart:
            m_program.push_back({TOp::LineStart});
            break;
        case TItemKind::LineEnd:
            m_program.push_back({TOp::LineEnd});
            break;
        case TItemKind::GroupOpen:
            groupStarts.push_back(pc);
            if (item.quant == TQuant::Star) {
                m_program.push_back({TOp::Split, pc + 1, 0});
            }
            break;
        case TItemKind::GroupClose: {
            const std::uint32_t start = groupStarts.back();
            groupStarts.pop_back();
            if (item.quant == TQuant::Star) {
                m_program.push_back({TOp::Jump, start, 0});
                m_program[start].arg2 = pc + 1;
            } else if (item.quant == TQuant::Plus) {
                m_program.push_back({TOp::Split, start, pc + 1});
            }
            break;
        }
        }
    }
    m_program.push_back({TOp::Match});
    ComputeFirstChars();
    ComputeMemoPoints();
    m_valid = true;
    return true;
}

void TRegExpr::ComputeMemoPoints()
{
    m_memoIndex.assign(m_program.size(), kNoMemo);
    auto mark = [&](std::uint32_t pc) {
        if (m_memoIndex[pc] == kNoMemo) {
            m_memoIndex[pc] = m_memoCount++;
        }
    };
    mark(0);
    for (std::uint32_t pc = 0; pc < m_program.size(); ++pc) {
        const TInstr& in = m_program[pc];
        if (in.op == TOp::StarSet) {
            mark(pc);
        } else if (in.op == TOp::Split) {
            mark(in.arg);
            mark(in.arg2);
        } else if (in.op == TOp::Jump) {
            mark(in.arg);
        }
    }
}

void TRegExpr::ComputeFirstChars()
{
    // Walk everything reachable from the start without consuming a character.
    std::vector<bool> seen(m_program.size(), false);
    std::vector<std::uint32_t> pending{0};
    while (!pending.empty()) {
        const std::uint32_t pc = pending.back();
        pending.pop_back();
        if (seen[pc]) {
            continue;
        }
        seen[pc] = true;
        const TInstr& in = m_program[pc];
        switch (in.op) {
        case TOp::Set:
            m_firstChars |= m_sets[in.arg];
            break;
        case TOp::StarSet:
            m_firstChars |= m_sets[in.arg];
            pending.push_back(pc + 1);
            break;
        case TOp::LineStart:
        case TOp::LineEnd:
            pending.push_back(pc + 1);
            break;
        case TOp::Split:
            pending.push_back(in.arg);
            pending.push_back(in.arg2);
            break;
        case TOp::Jump:
            pending.push_back(in.arg);
            break;
        case TOp::Match:
            m_canMatchEmpty = true;
            break;
        }
    }
}

} // namespace quillet

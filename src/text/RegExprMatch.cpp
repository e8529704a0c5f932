// The matching machine of TRegExpr: depth-first backtracking over the compiled
// program with an explicit stack and a visited set of (instruction, position)
// states. Whether the rest of the program matches from a state depends only on
// that state, so a state that was entered once and failed fails again. States
// are remembered at the join points of the program (every loop passes one), so
// each of them runs at most once per search and a line costs at most program
// size x line length steps whatever the pattern nests. Entering a state that
// is still in progress means a repetition came back without consuming
// anything; that path fails and the repetition ends, as the dialect requires.
#include "text/RegExpr.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// Up to this many states (32 MB of bits) the visited set is a bit array.
constexpr std::uint64_t kDenseLimit = std::uint64_t{1} << 28;

} // namespace

void TRegExpr::BeginSearch(std::size_t lineLength)
{
    const std::uint64_t states = static_cast<std::uint64_t>(m_memoCount) * (lineLength + 1);
    m_dense = states <= kDenseLimit;
    m_steps = 0;
    m_touched.clear();
    if (m_dense) {
        const std::size_t words = static_cast<std::size_t>((states + 63) / 64);
        if (m_visitedBits.size() < words) {
            m_visitedBits.resize(words, 0);
        }
    }
}

void TRegExpr::EndSearch()
{
    if (m_dense) {
        if (m_touched.size() > m_visitedBits.size()) {
            std::fill(m_visitedBits.begin(), m_visitedBits.end(), 0);
        } else {
            for (std::uint64_t index : m_touched) {
                m_visitedBits[index >> 6] = 0;
            }
        }
    } else {
        m_visitedSparse.clear();
    }
    m_touched.clear();
    m_stack.clear();
}

bool TRegExpr::Visit(std::uint32_t pc, std::size_t pos)
{
    ++m_steps;
    const std::uint32_t memo = m_memoIndex[pc];
    if (memo == kNoMemo) {
        return true;
    }
    const std::uint64_t index = static_cast<std::uint64_t>(pos) * m_memoCount + memo;
    if (!m_dense) {
        return m_visitedSparse.insert(index).second;
    }
    std::uint64_t& word = m_visitedBits[index >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (index & 63);
    if (word & bit) {
        return false;
    }
    // The log of touched words only pays while it is smaller than the bit
    // array; past that, EndSearch clears the whole array instead.
    if (word == 0 && m_touched.size() <= m_visitedBits.size()) {
        m_touched.push_back(index);
    }
    word |= bit;
    return true;
}

bool TRegExpr::MayStartAt(std::string_view line, std::size_t pos) const
{
    if (line.size() < pos || line.size() - pos < m_minLength) {
        return false;
    }
    if (m_canMatchEmpty) {
        return true;
    }
    return pos < line.size() && m_firstChars[static_cast<unsigned char>(line[pos])];
}

std::optional<std::size_t> TRegExpr::Run(std::string_view line, std::size_t start)
{
    const std::size_t length = line.size();
    m_stack.clear();
    m_stack.push_back({0, start, kNoRange});
    while (!m_stack.empty()) {
        const TJob job = m_stack.back();
        m_stack.pop_back();
        std::uint32_t pc = job.pc;
        std::size_t pos = job.pos;
        if (job.low != kNoRange && pos > job.low) {
            // A greedy run gives back one more character after this try fails.
            m_stack.push_back({pc, pos - 1, job.low});
        }
        while (Visit(pc, pos)) {
            const TInstr& in = m_program[pc];
            bool failed = false;
            switch (in.op) {
            case TOp::Set:
                if (pos < length && m_sets[in.arg][static_cast<unsigned char>(line[pos])]) {
                    ++pc;
                    ++pos;
                } else {
                    failed = true;
                }
                break;
            case TOp::StarSet: {
                // Take the longest run; a position whose run state was already
                // entered ends it, because that earlier run tried every longer
                // give-back point.
                const std::bitset<256>& set = m_sets[in.arg];
                std::size_t end = pos;
                while (end < length && set[static_cast<unsigned char>(line[end])] && Visit(pc, end + 1)) {
                    ++end;
                }
                if (end > pos) {
                    m_stack.push_back({pc + 1, end - 1, pos});
                }
                ++pc;
                pos = end;
                break;
            }
            case TOp::LineStart:
                failed = pos != 0;
                ++pc;
                break;
            case TOp::LineEnd:
                failed = pos != length;
                ++pc;
                break;
            case TOp::Split:
                m_stack.push_back({in.arg2, pos, kNoRange});
                pc = in.arg;
                break;
            case TOp::Jump:
                pc = in.arg;
                break;
            case TOp::Match:
                return pos;
            }
            if (failed) {
                break;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> TRegExpr::MatchAt(std::string_view line, std::size_t start)
{
    if (!m_valid || start > line.size()) {
        return std::nullopt;
    }
    BeginSearch(line.size());
    std::optional<std::size_t> end = Run(line, start);
    EndSearch();
    return end;
}

bool TRegExpr::RuledOut(std::string_view line, std::size_t from) const
{
    if (!m_literalFilter || m_required.Empty()) {
        return false;
    }
    if (m_required.Find(line, from) == TLiteralFinder::npos) {
        return true;
    }
    return std::any_of(m_alsoRequired.begin(), m_alsoRequired.end(), [&](const TLiteralFinder& literal) {
        return literal.Find(line, from) == TLiteralFinder::npos;
    });
}

std::optional<TLineMatch> TRegExpr::FindForward(std::string_view line, std::size_t from)
{
    // A match starting at or after `from` holds the required literal there too.
    if (!m_valid || from > line.size() || RuledOut(line, from)) {
        return std::nullopt;
    }
    BeginSearch(line.size());
    std::optional<TLineMatch> found;
    if (m_literalFilter && !m_prefix.Empty()) {
        // Every match starts with the prefix: only its places are tried.
        for (std::size_t pos = m_prefix.Find(line, from); pos != TLiteralFinder::npos;
             pos = m_prefix.Find(line, pos + 1)) {
            if (line.size() - pos < m_minLength) {
                break;
            }
            if (std::optional<std::size_t> end = Run(line, pos)) {
                found = TLineMatch{pos, *end - pos};
                break;
            }
        }
        EndSearch();
        return found;
    }
    const bool singleFirst = !m_canMatchEmpty && m_firstChars.count() == 1;
    unsigned char first = 0;
    if (singleFirst) {
        while (!m_firstChars[first]) {
            ++first;
        }
    }
    std::size_t pos = from;
    while (pos <= line.size()) {
        if (singleFirst) {
            if (pos >= line.size()) {
                break;
            }
            const void* hit = std::memchr(line.data() + pos, first, line.size() - pos);
            if (hit == nullptr) {
                break;
            }
            pos = static_cast<std::size_t>(static_cast<const char*>(hit) - line.data());
            if (line.size() - pos < m_minLength) {
                break;
            }
        } else if (!MayStartAt(line, pos)) {
            ++pos;
            continue;
        }
        if (std::optional<std::size_t> end = Run(line, pos)) {
            found = TLineMatch{pos, *end - pos};
            break;
        }
        if (m_literalFilter && m_hasLeadingRun && pos < line.size()
            && m_leadingRun[static_cast<unsigned char>(line[pos])]) {
            // Every start up to the end of the run fails, the one just after
            // its last character included.
            while (pos < line.size() && m_leadingRun[static_cast<unsigned char>(line[pos])]) {
                ++pos;
            }
        }
        ++pos;
    }
    EndSearch();
    return found;
}

std::optional<TLineMatch> TRegExpr::FindBackward(std::string_view line, std::size_t before)
{
    if (!m_valid || RuledOut(line, 0)) {
        return std::nullopt;
    }
    const bool prefixed = m_literalFilter && !m_prefix.Empty();
    BeginSearch(line.size());
    std::optional<TLineMatch> found;
    std::size_t pos = std::min(before, line.size() + 1);
    while (pos > 0) {
        --pos;
        if (MayStartAt(line, pos) && (!prefixed || m_prefix.MatchesAt(line, pos))) {
            if (std::optional<std::size_t> end = Run(line, pos)) {
                found = TLineMatch{pos, *end - pos};
                break;
            }
        }
    }
    EndSearch();
    return found;
}

} // namespace quillet

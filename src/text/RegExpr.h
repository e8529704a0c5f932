#pragma once

#include "text/LiteralFinder.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quillet {

// A match inside one line: byte position and length.
struct TLineMatch {
    std::size_t position = 0;
    std::size_t length = 0;

    bool operator==(const TLineMatch&) const = default;
};

// The editor's own regular-expression dialect, matched against one line at a time.
//
// Syntax: "." any character; "[set]" and "[^set]" with ranges a-b; "\c" the
// character c; "^" and "$" the line start and end (zero width); "{...}" a group;
// "*" and "+" greedy repetition of the preceding character, set, "." or group.
// Parentheses, "?" and "|" are ordinary characters. Without case sensitivity
// a-z are compared as A-Z on both sides; no other letters are folded.
//
// Matching gives the result of plain leftmost, greedy backtracking (repetitions
// are given back one by one when the rest fails), but runs as a backtracking
// machine over a compiled program that remembers which (instruction, position)
// states have already failed, so a line costs at most program size x line
// length steps. The machine keeps its own stack; nothing recurses per character.
// A repeated group that matches empty stops repeating instead of looping.
//
// Compiling also extracts literals from the pattern: the longest run of
// characters every match contains, and the characters every match starts
// with. A line without the first (or without one of the other runs every
// match contains) is ruled out by a fast scan, and only the places where the
// second occurs are tried as starts.
//
// An instance keeps scratch memory between calls: use one per thread.
class TRegExpr {
public:
    TRegExpr() = default;
    TRegExpr(std::string_view pattern, bool caseSensitive) { Compile(pattern, caseSensitive); }

    // Compiles `pattern`; false on a syntax error, which ErrorMessage() and
    // ErrorPosition() then describe. A failed compile matches nothing.
    bool Compile(std::string_view pattern, bool caseSensitive);

    bool IsValid() const { return m_valid; }
    const std::string& Pattern() const { return m_pattern; }
    // The translated "<pattern> is invalid mask at (<position>)" (key
    // "InvalidMask"), empty when valid.
    const std::string& ErrorMessage() const { return m_error; }
    // 1-based position of the offending pattern character, 0 when valid.
    int ErrorPosition() const { return m_errorPosition; }
    // True when the pattern can match without consuming a character.
    bool CanMatchEmpty() const { return m_canMatchEmpty; }
    // Bytes every match contains (a-z folded to A-Z without case
    // sensitivity); empty when the pattern gives none.
    const TLiteralFinder& RequiredLiteral() const { return m_required; }
    // Shorter runs every match contains too, outside the required literal.
    const std::vector<TLiteralFinder>& OtherRequiredLiterals() const { return m_alsoRequired; }
    // Runs of small character sets every match contains, such as "c", " ",
    // "[cv]" of "st[a-z]*c [cv]": each set answers which text characters
    // match at its place (with a-z and A-Z alike without case sensitivity).
    using TSetRun = std::vector<std::bitset<256>>;
    const std::vector<TSetRun>& RequiredSetRuns() const { return m_setRuns; }
    // The bytes every match starts with; empty when the pattern gives none.
    const TLiteralFinder& PrefixLiteral() const { return m_prefix; }
    // Switches the use of both literals off and on, to compare the results.
    void SetLiteralFilter(bool on) { m_literalFilter = on; }

    // End of the match that starts exactly at `start`, if the pattern matches there.
    std::optional<std::size_t> MatchAt(std::string_view line, std::size_t start);
    // The match with the leftmost start in from..line.size().
    std::optional<TLineMatch> FindForward(std::string_view line, std::size_t from);
    // The match with the rightmost start below `before` (line.size() + 1 means
    // every start, the line end included).
    std::optional<TLineMatch> FindBackward(std::string_view line, std::size_t before);

    // Machine steps (states entered or tried) of the last MatchAt, FindForward
    // or FindBackward, and the number of compiled instructions: the search
    // stays within a small multiple of ProgramSize() x (line length + 1).
    std::uint64_t StepsOfLastSearch() const { return m_steps; }
    std::size_t ProgramSize() const { return m_program.size(); }

private:
    enum class TOp : std::uint8_t {
        Set, // one character of m_sets[arg]
        StarSet, // greedy run of m_sets[arg], then next instruction
        LineStart,
        LineEnd,
        Split, // try `arg` first, then `arg2`
        Jump, // continue at `arg`
        Match
    };
    struct TInstr {
        TOp op;
        std::uint32_t arg = 0; // set index or jump target
        std::uint32_t arg2 = 0; // second target of a Split
    };
    struct TJob {
        std::uint32_t pc;
        std::size_t pos;
        std::size_t low; // give-back job: lowest position still to try; else kNoRange
    };
    static constexpr std::size_t kNoRange = static_cast<std::size_t>(-1);

    void SetError(int position);
    std::uint32_t AddSet(const std::bitset<256>& members, bool negate);
    void ComputeFirstChars();
    bool RuledOut(std::string_view line, std::size_t from) const;
    void ComputeMemoPoints();

    // Runs the machine for one start; returns the match end.
    std::optional<std::size_t> Run(std::string_view line, std::size_t start);
    bool Visit(std::uint32_t pc, std::size_t pos); // false when already visited
    void BeginSearch(std::size_t lineLength);
    void EndSearch();
    bool MayStartAt(std::string_view line, std::size_t pos) const;

    std::string m_pattern;
    std::string m_error;
    int m_errorPosition = 0;
    bool m_valid = false;
    bool m_caseSensitive = false;
    bool m_canMatchEmpty = false;
    std::vector<TInstr> m_program;
    std::vector<std::bitset<256>> m_sets; // already case-folded when insensitive
    std::bitset<256> m_firstChars; // characters a non-empty match can start with
    std::size_t m_minLength = 0; // no match is shorter
    // The set of a leading x* or x+. When a start at p fails and line[p] is
    // in it, a start at p + 1 fails too: its every try is one the start at p
    // made with one repetition more. So the forward search skips the run.
    std::bitset<256> m_leadingRun;
    bool m_hasLeadingRun = false;
    TLiteralFinder m_required;
    // Other runs every match contains that are not part of m_required; the
    // longest may be common where a shorter one is rare. At most
    // kMaxAlsoRequired are kept.
    std::vector<TLiteralFinder> m_alsoRequired;
    static constexpr std::size_t kMaxAlsoRequired = 4;
    TLiteralFinder m_prefix;
    std::vector<TSetRun> m_setRuns;
    bool m_literalFilter = true;
    // Only states at join points (loop heads, jump targets, character runs)
    // are remembered; straight runs of instructions between them cannot be
    // reached twice without passing one. Index into the visited set, or kNoMemo.
    std::vector<std::uint32_t> m_memoIndex;
    std::uint32_t m_memoCount = 0;
    std::uint64_t m_steps = 0; // Visit calls since BeginSearch
    static constexpr std::uint32_t kNoMemo = static_cast<std::uint32_t>(-1);

    // Failed (or in-progress) states of the current search. Dense bit array
    // when join points x (line length + 1) is modest, a hash set otherwise;
    // m_touched lists set bits so clearing costs no more than the search did.
    std::vector<std::uint64_t> m_visitedBits;
    std::vector<std::uint64_t> m_touched;
    std::unordered_set<std::uint64_t> m_visitedSparse;
    bool m_dense = true;
    std::vector<TJob> m_stack;
};

} // namespace quillet

#pragma once

#include "syntax/KeywordTable.h"
#include "syntax/SyntaxBlock.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillet {

// Active items of one token list of a block, in list order. Items with an
// empty delimiter or one of 256 characters or more are left out: they could
// match without advancing.
struct TCompiledTokens {
    std::vector<std::string> left;
    std::vector<std::string> right; // empty for line-token lists
    std::vector<std::uint8_t> attr; // FontID byte of each item (255: none)
    std::vector<int> position; // position of the item in its collection

    std::size_t Size() const { return left.size(); }
};

struct TCompiledKeywords {
    std::unordered_set<std::string> words; // lower-cased unless the block is case-sensitive
    std::uint8_t attr = 255;
};

// A way into a child block: its left delimiter and the entry code
// (part-of-block 0x20000 + case-sensitive 0x10000 + block index * 256 +
// delimiter index).
struct TBlockEntry {
    std::string delimiter;
    std::uint32_t code = 0;
};

// The delimiters that opened a block, kept by their index in BlockDelimiters.
struct TCompiledDelimiters {
    std::string right;
    bool partOfBlock = false;
};

// One block as the highlighter uses it: a copy of the block's settings plus
// the lists built from it by InitScheme.
struct TCompiledBlock {
    bool valid = false; // false for blocks the tree cannot reach (bad ID, cycle)
    TSyntaxBlock block;
    std::uint8_t text = 255; // FIText byte
    std::uint8_t intNum = 255; // FIIntNum byte
    std::uint8_t floatNum = 255; // FIFloatNum byte
    std::uint8_t hexNum = 255; // FIHexNum byte
    std::uint8_t directive = 255; // FIDirective byte
    std::uint8_t symbol = 255; // FISymbol byte
    std::uint8_t identifier = 255; // FIIdentifier byte
    TCompiledTokens singleLineComments;
    TCompiledTokens multiLineComments;
    TCompiledTokens fullLineComments;
    TCompiledTokens singleLineStrings;
    TCompiledTokens multiLineStrings;
    TCompiledTokens numPrefixes;
    TCompiledTokens numSuffixes;
    TCompiledTokens numPairs; // every item, whatever UseToken
    TCompiledTokens identPrefixes;
    TCompiledTokens identSuffixes;
    TCompiledTokens identPairs; // every item, whatever UseToken
    std::vector<TCompiledKeywords> keywords;
    std::vector<TBlockEntry> innerEntries; // delimiters that are part of the child
    std::vector<TBlockEntry> outerEntries; // delimiters that stay with this block
    std::vector<TCompiledDelimiters> delimiters; // by index in BlockDelimiters, at most 64
    // First characters (both cases unless case-sensitive) of the active
    // comment delimiters, string delimiters, number prefixes and number
    // suffixes: a character outside them cannot start such a token, which
    // spares the comparisons.
    TCharSet commentStart;
    TCharSet stringStart;
    TCharSet numPrefixStart;
    TCharSet numSuffixStart;
    // Every keyword with the index of the first active set holding it.
    TKeywordTable keywordIndex;
    TCharSet keywordFirst; // first characters of those keywords
    std::bitset<65> keywordLengths; // their lengths; 64 stands for 64 and more
};

} // namespace quillet

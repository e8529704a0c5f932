#pragma once

#include "syntax/CharSet.h"

#include <string>
#include <vector>

namespace quillet {

// Token items of a syntax block. Field names are the stored property names of
// the definition file. In every list the order matters: the highlighter tries
// items in list order and the first that matches wins.
struct TToken {
    int FontID = -1; // attribute of the token; -1 none, else 0..255
    bool UseToken = true; // inactive items are kept but never compiled

    bool operator==(const TToken&) const = default;
};

struct TLineToken : TToken {
    std::string LeftDelimiter;

    bool operator==(const TLineToken&) const = default;
};

struct TBlockToken : TLineToken {
    std::string RightDelimiter;

    bool operator==(const TBlockToken&) const = default;
};

struct TKeywordSet : TToken {
    std::string Name;
    // Comma text: items separated by commas or blanks; an item holding a blank,
    // comma or double quote is enclosed in double quotes with inner quotes doubled.
    std::string Keywords;

    bool operator==(const TKeywordSet&) const = default;
};

// How a child block is entered from its parent and left again.
struct TDelimiters {
    std::string LeftDelimiter;
    std::string RightDelimiter;
    bool DelimitersArePartOfBlock = false; // delimiters take the child's colours
    bool UseToken = true;

    bool operator==(const TDelimiters&) const = default;
};

using TLineTokenList = std::vector<TLineToken>;
using TBlockTokenList = std::vector<TBlockToken>;
using TKeywordSetList = std::vector<TKeywordSet>;
using TDelimitersList = std::vector<TDelimiters>;

// One lexical block of a definition: its rules and the attributes (FontIDs)
// they produce. Block 0 of a scheme is the root; every other block names its
// enclosing block in ParentID.
struct TSyntaxBlock {
    std::string Name;
    int ID = -1; // unique 0..255; -1 none
    int ParentID = -1; // ID of the enclosing block; -1 only for the root
    bool CaseSensitive = false;
    bool UseMetaSymbol = false;
    bool UseMetaToWrapLines = true; // stored only when UseMetaSymbol
    char MetaSymbol = '\0'; // stored only when UseMetaSymbol
    int FIText = -1;
    int FIIntNum = -1;
    int FIFloatNum = -1;
    int FIHexNum = -1;
    int FIDirective = -1;
    int FISymbol = -1;
    int FIIdentifier = -1;
    bool UseSymbols = false;
    bool UseLineDirectives = false;
    bool UseComments = false;
    bool UseSingleLineComments = false;
    bool UseMultiLineComments = false;
    bool UseFullLineComments = false;
    bool UseStrings = false;
    bool UseSingleLineStrings = false;
    bool UseMultiLineStrings = false;
    bool UseNumbers = false;
    bool UsePrefixedNumbers = false;
    bool UseSuffixedNumbers = false;
    bool UseMultipleNumSuffixes = false; // stored only when UseSuffixedNumbers
    bool UsePrefixedSuffixedNumbers = false;
    bool UsePSNumComposition = false; // stored only when UsePrefixedSuffixedNumbers
    bool UseIdentifiers = false;
    bool UsePrefixedIdentifiers = false;
    bool UseSuffixedIdentifiers = false;
    bool UsePrefixedSuffixedIdentifiers = false;
    bool UseKeywords = false;
    TDelimitersList BlockDelimiters;
    std::string LineDirectivePrefix;
    TLineTokenList SingleLineCommentDelimiters;
    TBlockTokenList MultiLineCommentDelimiters;
    TLineTokenList FullLineCommentDelimiters;
    TBlockTokenList SingleLineStringDelimiters;
    TBlockTokenList MultiLineStringDelimiters;
    TLineTokenList NumPrefixes;
    TLineTokenList NumSuffixes;
    TBlockTokenList NumPrefixesSuffixes;
    TLineTokenList IdentPrefixes;
    TLineTokenList IdentSuffixes;
    TBlockTokenList IdentPrefixesSuffixes;
    TKeywordSetList KeywordSets;
    TCharSet FirstIdentChars = DefaultFirstIdentChars();
    TCharSet OtherIdentChars = DefaultOtherIdentChars();

    bool operator==(const TSyntaxBlock&) const = default;
};

using TSyntaxBlockList = std::vector<TSyntaxBlock>;

// Splits keyword comma text into items: separators are commas and blanks,
// double-quoted items may hold both; blanks around items are dropped, and an
// empty item between two commas is an empty keyword.
std::vector<std::string> SplitKeywords(std::string_view commaText);
// The reverse: items joined by commas, quoted where needed.
std::string JoinKeywords(const std::vector<std::string>& keywords);

} // namespace quillet

#pragma once

#include "syntax/SyntaxParser.h"

#include <string>
#include <vector>

namespace quillet::test {

// Attribute numbers of the C-like fixture scheme.
enum : int {
    kText = 0,
    kComment = 1,
    kString = 2,
    kKeyword = 3,
    kInt = 4,
    kFloat = 5,
    kHex = 6,
    kDirective = 7,
    kSymbol = 8,
    kIdent = 9
};

inline TLineToken Line(int fontId, std::string left)
{
    TLineToken token;
    token.FontID = fontId;
    token.LeftDelimiter = std::move(left);
    return token;
}

inline TBlockToken Pair(int fontId, std::string left, std::string right)
{
    TBlockToken token;
    token.FontID = fontId;
    token.LeftDelimiter = std::move(left);
    token.RightDelimiter = std::move(right);
    return token;
}

// A C-like root block: // and /* */ comments, "..." strings with backslash
// escapes, '''...''' multi-line strings, # directives, $ hex prefix, keywords.
inline TSyntaxBlock CLikeRoot()
{
    TSyntaxBlock b;
    b.Name = "Default";
    b.ID = 0;
    b.FIText = kText;
    b.FIIntNum = kInt;
    b.FIFloatNum = kFloat;
    b.FIHexNum = kHex;
    b.FIDirective = kDirective;
    b.FISymbol = kSymbol;
    b.FIIdentifier = kIdent;
    b.UseMetaSymbol = true;
    b.MetaSymbol = '\\';
    b.UseSymbols = b.UseLineDirectives = b.UseComments = b.UseSingleLineComments = b.UseMultiLineComments = true;
    b.UseStrings = b.UseSingleLineStrings = b.UseMultiLineStrings = true;
    b.UseNumbers = b.UsePrefixedNumbers = true;
    b.UseIdentifiers = b.UseKeywords = true;
    b.LineDirectivePrefix = "#";
    b.SingleLineCommentDelimiters = {Line(kComment, "//")};
    b.MultiLineCommentDelimiters = {Pair(kComment, "/*", "*/")};
    b.SingleLineStringDelimiters = {Pair(kString, "\"", "\"")};
    b.MultiLineStringDelimiters = {Pair(kString, "'''", "'''")};
    b.NumPrefixes = {Line(-1, "$")};
    TKeywordSet words;
    words.FontID = kKeyword;
    words.Name = "Reserved";
    words.Keywords = "if,while,Begin";
    b.KeywordSets = {words};
    return b;
}

inline void AddAttributes(TSyntaxScheme& scheme, int count)
{
    for (int i = 0; i < count; ++i) {
        scheme.FontTable.Add();
    }
}

// Attribute bytes as one character each: 0-9, A-Z for 10-35, "~" for 255.
inline std::string AttrText(const std::vector<std::uint8_t>& attrs)
{
    std::string text;
    for (std::uint8_t a : attrs) {
        text += a < 10 ? static_cast<char>('0' + a) : a < 36 ? static_cast<char>('A' + a - 10) : a == 255 ? '~' : '?';
    }
    return text;
}

struct TColoredLines {
    std::vector<std::string> attrs;
    std::vector<std::uint32_t> startStates;
    std::vector<std::uint32_t> endStates;
};

// Colours lines in document order, each from the previous line's end state.
inline TColoredLines ColorLines(TSyntaxParser& parser, const std::vector<std::string>& lines)
{
    TColoredLines out;
    std::uint32_t state = 0;
    std::vector<std::uint8_t> attrs;
    for (const std::string& line : lines) {
        out.startStates.push_back(state);
        state = parser.ColorString(line, state, attrs);
        out.attrs.push_back(AttrText(attrs));
        out.endStates.push_back(state);
    }
    return out;
}

inline std::uint32_t LexState(std::uint32_t state)
{
    return (state >> 8) & 0xFF;
}

} // namespace quillet::test

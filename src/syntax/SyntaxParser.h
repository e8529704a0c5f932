#pragma once

#include "syntax/AttrItem.h"
#include "syntax/SyntaxScheme.h"
#include "text/SimpleParser.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The highlighter of one document: colours a line at a time from the lexical
// state at the line's start and returns the state at its end. The state packs
// the interned block stack (bits 24-31), the opening delimiter's part-of-block
// flag (23), the block's case sensitivity (22), the delimiter index (16-21),
// the state (8-15: 0 normal, 1 multi-line comment, 2 single-line string, 3
// multi-line string, 4 line directive) and the item that opened it (0-7).
class TSyntaxParser : public TSimpleParser {
public:
    TSyntaxParser();
    TSyntaxParser(const TSyntaxParser&) = delete;
    TSyntaxParser& operator=(const TSyntaxParser&) = delete;

    // The owned definition. After changing it in place call SchemeChanged on it.
    TSyntaxScheme& SyntaxScheme() { return m_scheme; }
    const TSyntaxScheme& SyntaxScheme() const { return m_scheme; }
    // Copies scheme into the owned one and recompiles.
    void SetSyntaxScheme(const TSyntaxScheme& scheme);
    // Loads a definition file into the owned scheme (unchanged on failure).
    TDefResult LoadFromFile(const std::filesystem::path& file);

    const TDefAttrItem& DefaultAttr() const { return m_defaultAttr; }
    void SetDefaultFont(const TDefFont& font);
    void SetDefaultBackColor(TColor color);
    bool UseGlobalOptions() const { return m_scheme.m_useGlobalOptions; }
    void SetUseGlobalOptions(bool use);

    // Compiles the scheme, selects the root stack and resolves attributes.
    void InitParser();
    // Resolves attributes again and tells the notifiers, unless inside
    // BeginUpdate/EndUpdate (the outermost EndUpdate then does it).
    void ParserChanged();
    void BeginUpdate();
    void EndUpdate();

    std::optional<TFontSpec> GetFont(std::uint8_t attr) const override;
    std::optional<TColor> GetBackColor(std::uint8_t attr) const override;
    std::uint32_t ColorString(
        std::string_view text, std::uint32_t startState, std::vector<std::uint8_t>& attrs) override;

protected:
    // Token readers of the normal state; each returns whether it took a token
    // at the position (and then advanced past it).
    bool ParseComment();
    bool ParseLineDirective();
    bool ParseString();
    bool ParseIntNumber();
    bool ParseFloatNumber();
    bool ParsePSNumber();
    bool ParseIdentifiers();

private:
    enum TTokenKind {
        tkText = 0,
        tkSingleLineComment = 1,
        tkMultiLineComment = 2,
        tkDirective = 3,
        tkFullLineComment = 4,
        tkSingleLineString = 5,
        tkMultiLineString = 6,
        tkInteger = 7,
        tkFloat = 8,
        tkHex = 9,
        tkIdentifier = 10,
        tkKeyword = 11,
        tkSymbol = 12,
    };
    enum TLexState { lsNormal = 0, lsComment = 1, lsString = 2, lsMultiLineString = 3, lsDirective = 4 };

    void SelectStack(int index);
    void SetFromCode(std::uint32_t code);
    bool Push(std::uint32_t code);
    void Pop();
    bool FindBlockEnd();
    bool BlockTransitions();
    void GetToken();
    void ReadDelimited(const TCompiledTokens& list, int kind);
    std::uint8_t TokenAttr() const;

    // The small tests of the token readers stay in this header so that both
    // source files of the parser inline them.
    bool MatchAt(std::size_t pos, std::string_view delimiter, bool caseSensitive) const
    {
        if (pos > m_end || m_end - pos < delimiter.size()) {
            return false;
        }
        const char* at = m_text.data() + pos;
        if (delimiter.empty()) {
            return true;
        }
        if (caseSensitive) {
            return at[0] == delimiter[0] && std::memcmp(at, delimiter.data(), delimiter.size()) == 0;
        }
        for (std::size_t i = 0; i < delimiter.size(); ++i) {
            if (AsciiLower(at[i]) != AsciiLower(delimiter[i])) {
                return false;
            }
        }
        return true;
    }
    bool MatchHere(std::string_view delimiter) const { return MatchAt(m_pos, delimiter, m_cb->block.CaseSensitive); }
    std::size_t Find(std::string_view delimiter) const;
    bool IsFirst(std::size_t pos) const { return pos < m_end && InSet(m_cb->block.FirstIdentChars, m_text[pos]); }
    bool IsOther(std::size_t pos) const { return pos < m_end && InSet(m_cb->block.OtherIdentChars, m_text[pos]); }
    bool Digit(std::size_t pos) const { return pos < m_end && m_text[pos] >= '0' && m_text[pos] <= '9'; }
    bool HexDigit(std::size_t pos) const
    {
        if (pos >= m_end) {
            return false;
        }
        const char c = m_text[pos];
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    }
    static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
    bool ParseNumPrefix();
    bool ParseNumSuffix();
    bool ReadIdentifier();
    bool IsKeyword(std::size_t from);

    TSyntaxScheme m_scheme;
    TDefAttrItem m_defaultAttr;
    int m_updateCount = 0;
    bool m_changedInUpdate = false;

    // Working state of one ColorString run.
    std::string_view m_text;
    std::size_t m_end = 0; // end of the coloured part (first NUL or the text's end)
    int m_stackIndex = 0;
    const TCompiledBlock* m_cb = nullptr;
    int m_blockIndex = 0;
    int m_delimIndex = 0;
    bool m_partOfBlock = false;
    bool m_caseSensitive = false;
    int m_state = 0;
    int m_itemIndex = 0;
    int m_tokenKind = 0;
    std::size_t m_pos = 0;
    bool m_directiveAllowed = true;
    bool m_fullLineAllowed = true;
    bool m_directiveSeen = false;
    bool m_pendingReset = false;
    bool m_endSeen = false;
    std::string m_keyBuffer;
};

} // namespace quillet

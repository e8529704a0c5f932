// The token readers of TSyntaxParser: what one token is in each lexical state.
#include "core/CharCase.h"
#include "syntax/SyntaxParser.h"

namespace quillet {

namespace {

bool IsAsciiPunctuation(unsigned char c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 127);
}

} // namespace

void TSyntaxParser::ReadDelimited(const TCompiledTokens& list, int kind)
{
    m_tokenKind = kind;
    const std::string& right = list.right[static_cast<std::size_t>(m_itemIndex)];
    const TSyntaxBlock& b = m_cb->block;
    const bool identStart = InSet(b.FirstIdentChars, right[0]);
    for (;;) {
        const std::size_t at = Find(right);
        const std::size_t after = at + right.size();
        if (at == std::string_view::npos || (identStart && (IsOther(after) || (at > 0 && IsOther(at - 1))))) {
            m_pos = m_end;
            if (m_state == lsString) {
                const bool wraps =
                    b.UseMetaSymbol && b.UseMetaToWrapLines && m_end > 0 && m_text[m_end - 1] == b.MetaSymbol;
                if (!wraps) {
                    m_pendingReset = true;
                }
            }
            return;
        }
        if (m_state != lsComment && b.UseMetaSymbol && at > m_pos && m_text[at - 1] == b.MetaSymbol) {
            std::size_t run = 0;
            while (at - run > m_pos && m_text[at - run - 1] == b.MetaSymbol) {
                ++run;
            }
            if (run % 2 == 1) {
                // Escaped: the string goes on after the delimiter's first character.
                // At the line's end a multi-line string stays open into the
                // next line; a single-line string ends with its line.
                m_pos = at + 1;
                if (m_pos >= m_end) {
                    if (m_state != lsMultiLineString) {
                        m_state = lsNormal;
                    }
                    return;
                }
                continue;
            }
        }
        m_pos = after;
        if (m_state == lsComment) {
            m_state = m_directiveSeen && m_pos < m_end ? lsDirective : lsNormal;
        } else {
            m_state = lsNormal;
        }
        return;
    }
}

void TSyntaxParser::GetToken()
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    switch (m_state) {
    case lsComment:
        if (m_itemIndex < static_cast<int>(cb.multiLineComments.Size())) {
            ReadDelimited(cb.multiLineComments, tkMultiLineComment);
            return;
        }
        m_state = lsNormal; // stale state: read the text as normal
        break;
    case lsString:
        if (m_itemIndex < static_cast<int>(cb.singleLineStrings.Size())) {
            ReadDelimited(cb.singleLineStrings, tkSingleLineString);
            return;
        }
        m_state = lsNormal;
        break;
    case lsMultiLineString:
        if (m_itemIndex < static_cast<int>(cb.multiLineStrings.Size())) {
            ReadDelimited(cb.multiLineStrings, tkMultiLineString);
            return;
        }
        m_state = lsNormal;
        break;
    case lsDirective: {
        if (b.UseComments && ParseComment()) {
            return;
        }
        m_tokenKind = tkDirective;
        ++m_pos;
        // Nothing but a comment can interrupt a directive, so take the run up
        // to the next character that may start one.
        while (m_pos < m_end && !(b.UseComments && InSet(cb.commentStart, m_text[m_pos]))) {
            ++m_pos;
        }
        if (m_pos >= m_end) {
            const bool wraps = b.UseMetaSymbol && b.UseMetaToWrapLines && m_text[m_end - 1] == b.MetaSymbol;
            if (!wraps) {
                m_state = lsNormal;
            }
        }
        return;
    }
    default:
        m_state = lsNormal;
        break;
    }

    const unsigned char c = static_cast<unsigned char>(m_text[m_pos]);
    if (c >= 1 && c <= 32) {
        while (m_pos < m_end && static_cast<unsigned char>(m_text[m_pos]) >= 1
            && static_cast<unsigned char>(m_text[m_pos]) <= 32) {
            ++m_pos;
        }
        m_tokenKind = tkText;
        return;
    }
    const TCharSet& symbols = m_scheme.m_symbols;
    if (symbols.test(c)) {
        while (m_pos < m_end && InSet(symbols, m_text[m_pos])) {
            ++m_pos;
        }
        m_tokenKind = tkSymbol;
        return;
    }
    if (b.UseComments && ParseComment()) {
        return;
    }
    if (b.UseStrings && ParseString()) {
        return;
    }
    if (b.UseNumbers) {
        if (ParsePSNumber() || ParseFloatNumber()) {
            return;
        }
    } else if (ParseIntNumber()) {
        return;
    }
    if (b.UseLineDirectives && m_directiveAllowed && ParseLineDirective()) {
        return;
    }
    if (ParseIdentifiers()) {
        return;
    }
    ++m_pos;
    if (IsAsciiPunctuation(c)) {
        m_tokenKind = tkSymbol;
    }
}

bool TSyntaxParser::ParseComment()
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    if (!cb.commentStart.test(static_cast<unsigned char>(m_text[m_pos]))) {
        return false;
    }
    auto counts = [this, &b](const std::string& left) {
        return MatchHere(left) && !(InSet(b.FirstIdentChars, left[0]) && IsOther(m_pos + left.size()));
    };
    if (b.UseMultiLineComments) {
        for (std::size_t i = 0; i < cb.multiLineComments.Size(); ++i) {
            if (counts(cb.multiLineComments.left[i])) {
                m_tokenKind = tkMultiLineComment;
                m_state = lsComment;
                m_itemIndex = static_cast<int>(i);
                m_pos += cb.multiLineComments.left[i].size();
                return true;
            }
        }
    }
    if (b.UseFullLineComments && m_fullLineAllowed) {
        for (std::size_t i = 0; i < cb.fullLineComments.Size(); ++i) {
            if (counts(cb.fullLineComments.left[i])) {
                m_tokenKind = tkFullLineComment;
                m_itemIndex = static_cast<int>(i);
                m_pos = m_end;
                return true;
            }
        }
    }
    if (b.UseSingleLineComments) {
        for (std::size_t i = 0; i < cb.singleLineComments.Size(); ++i) {
            if (counts(cb.singleLineComments.left[i])) {
                m_tokenKind = tkSingleLineComment;
                m_state = lsNormal;
                m_itemIndex = static_cast<int>(i);
                m_pos = m_end;
                return true;
            }
        }
    }
    return false;
}

bool TSyntaxParser::ParseLineDirective()
{
    const std::string& prefix = m_cb->block.LineDirectivePrefix;
    if (prefix.empty() || !MatchHere(prefix)) {
        return false;
    }
    m_pos += prefix.size();
    m_directiveSeen = true;
    m_tokenKind = tkDirective;
    if (m_pos < m_end) {
        m_state = lsDirective;
    }
    return true;
}

bool TSyntaxParser::ParseString()
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    if (!cb.stringStart.test(static_cast<unsigned char>(m_text[m_pos]))) {
        return false;
    }
    if (b.UseMultiLineStrings) {
        for (std::size_t i = 0; i < cb.multiLineStrings.Size(); ++i) {
            const std::string& left = cb.multiLineStrings.left[i];
            if (MatchHere(left) && !(InSet(b.FirstIdentChars, left[0]) && IsOther(m_pos + left.size()))) {
                m_tokenKind = tkMultiLineString;
                m_state = lsMultiLineString;
                m_itemIndex = static_cast<int>(i);
                m_pos += left.size();
                return true;
            }
        }
    }
    if (b.UseSingleLineStrings) {
        for (std::size_t i = 0; i < cb.singleLineStrings.Size(); ++i) {
            const std::string& left = cb.singleLineStrings.left[i];
            if (!MatchHere(left)) {
                continue;
            }
            if (InSet(b.FirstIdentChars, left[0]) && InSet(b.OtherIdentChars, left.back())
                && IsOther(m_pos + left.size())) {
                continue;
            }
            m_tokenKind = tkSingleLineString;
            m_itemIndex = static_cast<int>(i);
            m_pos += left.size();
            if (m_pos < m_end) {
                m_state = lsString;
            }
            return true;
        }
    }
    return false;
}

bool TSyntaxParser::ParseIntNumber()
{
    if (!Digit(m_pos)) {
        return false;
    }
    while (Digit(m_pos)) {
        ++m_pos;
    }
    m_tokenKind = tkInteger;
    return true;
}

bool TSyntaxParser::ParseFloatNumber()
{
    if (!ParseIntNumber()) {
        return false;
    }
    if (m_pos < m_end && m_text[m_pos] == '.') {
        ++m_pos;
        while (Digit(m_pos)) {
            ++m_pos;
        }
        m_tokenKind = tkFloat;
    }
    if (m_pos < m_end && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
        const std::size_t atE = m_pos;
        ++m_pos;
        if (m_pos < m_end && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) {
            ++m_pos;
        }
        if (Digit(m_pos)) {
            while (Digit(m_pos)) {
                ++m_pos;
            }
            m_tokenKind = tkFloat;
        } else {
            m_pos = atE;
        }
    }
    return true;
}

bool TSyntaxParser::ParseNumPrefix()
{
    if (m_pos >= m_end || !m_cb->numPrefixStart.test(static_cast<unsigned char>(m_text[m_pos]))) {
        return false;
    }
    for (const std::string& prefix : m_cb->numPrefixes.left) {
        if (!MatchHere(prefix)) {
            continue;
        }
        m_pos += prefix.size();
        if (Digit(m_pos)) {
            ParseFloatNumber();
            if (m_tokenKind == tkInteger && HexDigit(m_pos)) {
                while (HexDigit(m_pos)) {
                    ++m_pos;
                }
                m_tokenKind = tkHex;
            }
        } else if (HexDigit(m_pos)) {
            while (HexDigit(m_pos)) {
                ++m_pos;
            }
            m_tokenKind = tkHex;
        } else {
            m_tokenKind = tkSymbol;
        }
        return true;
    }
    return false;
}

bool TSyntaxParser::ParseNumSuffix()
{
    if (m_pos >= m_end || !m_cb->numSuffixStart.test(static_cast<unsigned char>(m_text[m_pos]))) {
        return false;
    }
    for (const std::string& suffix : m_cb->numSuffixes.left) {
        if (MatchHere(suffix)) {
            m_pos += suffix.size();
            return true;
        }
    }
    return false;
}

bool TSyntaxParser::ParsePSNumber()
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    const std::size_t saved = m_pos;
    if (b.UsePrefixedSuffixedNumbers && !b.UsePSNumComposition) {
        for (std::size_t i = 0; i < cb.numPairs.Size(); ++i) {
            m_pos = saved;
            if (!MatchHere(cb.numPairs.left[i])) {
                continue;
            }
            m_pos += cb.numPairs.left[i].size();
            const std::size_t digits = m_pos;
            while (HexDigit(m_pos)) {
                ++m_pos;
            }
            if (m_pos > digits && MatchHere(cb.numPairs.right[i])) {
                m_pos += cb.numPairs.right[i].size();
                m_tokenKind = tkHex;
                m_itemIndex = static_cast<int>(i);
                return true;
            }
        }
        m_pos = saved;
    }
    if (b.UsePrefixedSuffixedNumbers && b.UsePSNumComposition) {
        if (ParseNumPrefix()) {
            if (ParseNumSuffix() && b.UseMultipleNumSuffixes) {
                while (ParseNumSuffix()) { }
            }
            return true;
        }
    } else if (b.UsePrefixedNumbers && ParseNumPrefix()) {
        return true;
    }
    if (b.UseSuffixedNumbers && Digit(m_pos)) {
        ParseFloatNumber();
        if (ParseNumSuffix()) {
            if (b.UseMultipleNumSuffixes) {
                while (ParseNumSuffix()) { }
            }
            return true;
        }
    }
    m_pos = saved;
    return false;
}

bool TSyntaxParser::ReadIdentifier()
{
    if (!IsFirst(m_pos)) {
        return false;
    }
    ++m_pos;
    while (IsOther(m_pos)) {
        ++m_pos;
    }
    return true;
}

bool TSyntaxParser::ParseIdentifiers()
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    const std::size_t saved = m_pos;
    bool found = false;
    bool paired = false;
    if (b.UsePrefixedSuffixedIdentifiers) {
        for (std::size_t i = 0; i < cb.identPairs.Size() && !found; ++i) {
            m_pos = saved;
            if (!MatchHere(cb.identPairs.left[i])) {
                continue;
            }
            m_pos += cb.identPairs.left[i].size();
            if (ReadIdentifier() && MatchHere(cb.identPairs.right[i])) {
                m_pos += cb.identPairs.right[i].size();
                m_itemIndex = static_cast<int>(i);
                found = paired = true;
            }
        }
        if (!found) {
            m_pos = saved;
        }
    }
    if (!found && b.UsePrefixedIdentifiers) {
        for (std::size_t i = 0; i < cb.identPrefixes.Size(); ++i) {
            if (!MatchHere(cb.identPrefixes.left[i])) {
                continue;
            }
            m_pos += cb.identPrefixes.left[i].size();
            if (ReadIdentifier()) {
                m_itemIndex = static_cast<int>(i);
                found = true;
                break;
            }
            m_tokenKind = tkSymbol;
        }
    }
    if (!found) {
        found = ReadIdentifier();
    }
    if (found && !paired && b.UseSuffixedIdentifiers) {
        for (std::size_t i = 0; i < cb.identSuffixes.Size(); ++i) {
            if (MatchHere(cb.identSuffixes.left[i])) {
                m_pos += cb.identSuffixes.left[i].size();
                m_itemIndex = static_cast<int>(i);
                break;
            }
        }
    }
    if (!found) {
        m_pos = saved;
        return false;
    }
    m_tokenKind = b.UseKeywords && IsKeyword(saved) ? tkKeyword : tkIdentifier;
    return true;
}

bool TSyntaxParser::IsKeyword(std::size_t from)
{
    const TCompiledBlock& cb = *m_cb;
    if (cb.keywords.empty()) {
        return false;
    }
    const std::size_t length = m_pos - from;
    unsigned char first = static_cast<unsigned char>(m_text[from]);
    if (!cb.block.CaseSensitive) {
        first = LowerChar(first);
    }
    if (!cb.keywordFirst.test(first) || !cb.keywordLengths.test(std::min<std::size_t>(length, 64))) {
        return false;
    }
    std::string_view token = m_text.substr(from, length);
    if (!cb.block.CaseSensitive) {
        m_keyBuffer.assign(token);
        for (char& c : m_keyBuffer) {
            c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));
        }
        token = m_keyBuffer;
    }
    const int set = cb.keywordIndex.Find(token);
    if (set < 0) {
        return false;
    }
    m_itemIndex = set;
    return true;
}

} // namespace quillet

#include "syntax/SyntaxParser.h"

#include "app/CharCase.h"

#include <cstring>

namespace quillet {

namespace {

// Block transitions at one position can chain (a block entered whose child
// starts at the same place); the stack limit ends such chains, and this bound
// makes sure nothing else can keep the position from moving.
constexpr int kMaxPassesPerPosition = 2 * TSyntaxScheme::kMaxStacks;

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

inline char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsAsciiPunctuation(unsigned char c)
{
    return (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 94) || c == 96 || (c >= 123 && c <= 127);
}

} // namespace

TSyntaxParser::TSyntaxParser()
{
    m_scheme.m_parser = this;
    m_defaultAttr.Font.Name = "Courier New";
    m_defaultAttr.Font.SetPointSize(10);
    m_defaultAttr.BackColor = clWindow;
    InitParser();
}

void TSyntaxParser::SetSyntaxScheme(const TSyntaxScheme& scheme)
{
    if (&scheme == &m_scheme) {
        return;
    }
    m_scheme.ClearContents();
    m_scheme.Assign(scheme);
}

TDefResult TSyntaxParser::LoadFromFile(const std::filesystem::path& file)
{
    return m_scheme.LoadFromFile(file);
}

void TSyntaxParser::SetDefaultFont(const TDefFont& font)
{
    m_defaultAttr.Font = font;
    ParserChanged();
}

void TSyntaxParser::SetDefaultBackColor(TColor color)
{
    m_defaultAttr.BackColor = color;
    ParserChanged();
}

void TSyntaxParser::SetUseGlobalOptions(bool use)
{
    if (m_scheme.m_useGlobalOptions != use) {
        m_scheme.m_useGlobalOptions = use;
        ParserChanged();
    }
}

void TSyntaxParser::InitParser()
{
    m_scheme.InitScheme();
    SelectStack(0);
    m_state = lsNormal;
    m_itemIndex = 0;
    m_tokenKind = tkText;
    ParserChanged();
}

void TSyntaxParser::ParserChanged()
{
    if (m_updateCount > 0) {
        m_changedInUpdate = true;
        return;
    }
    m_scheme.CreateAttrIDHash(m_defaultAttr);
    NotifyChanged();
}

void TSyntaxParser::BeginUpdate()
{
    ++m_updateCount;
}

void TSyntaxParser::EndUpdate()
{
    if (m_updateCount > 0 && --m_updateCount == 0 && m_changedInUpdate) {
        m_changedInUpdate = false;
        ParserChanged();
    }
}

std::optional<TFontSpec> TSyntaxParser::GetFont(std::uint8_t attr) const
{
    return m_scheme.ResolvedAttr(attr).font;
}

std::optional<TColor> TSyntaxParser::GetBackColor(std::uint8_t attr) const
{
    return m_scheme.ResolvedAttr(attr).back;
}

void TSyntaxParser::SelectStack(int index)
{
    const auto& stacks = m_scheme.m_stacks;
    const auto& blocks = m_scheme.m_compiled;
    if (index < 0 || index >= static_cast<int>(stacks.size())) {
        index = 0;
    }
    const TBlockInfo& info = stacks[static_cast<std::size_t>(index)];
    m_stackIndex = index;
    m_blockIndex = info.BlockIndex >= 0 && info.BlockIndex < static_cast<int>(blocks.size()) ? info.BlockIndex : 0;
    m_cb = blocks.empty() ? nullptr : &blocks[static_cast<std::size_t>(m_blockIndex)];
    m_delimIndex = info.DelimiterIndex;
    m_state = lsNormal;
    m_caseSensitive = m_cb != nullptr && m_cb->block.CaseSensitive;
    m_partOfBlock = false;
    if (m_cb != nullptr && m_blockIndex != 0 && m_delimIndex >= 0
        && m_delimIndex < static_cast<int>(m_cb->delimiters.size())) {
        m_partOfBlock = m_cb->delimiters[static_cast<std::size_t>(m_delimIndex)].partOfBlock;
    }
}

void TSyntaxParser::SetFromCode(std::uint32_t code)
{
    m_partOfBlock = (code & 0x20000u) != 0;
    m_caseSensitive = (code & 0x10000u) != 0;
    m_delimIndex = static_cast<int>(code & 0xFFu);
}

bool TSyntaxParser::Push(std::uint32_t code)
{
    const int block = static_cast<int>((code >> 8) & 0xFFu);
    const int delimiter = static_cast<int>(code & 0xFFu);
    const int index = m_scheme.PushStack(m_stackIndex, block, delimiter);
    if (index < 0) {
        return false; // nesting deeper than a line state can name: stay where we are
    }
    SelectStack(index);
    SetFromCode(code);
    return true;
}

void TSyntaxParser::Pop()
{
    SelectStack(m_scheme.PopStack(m_stackIndex));
}

bool TSyntaxParser::MatchAt(std::size_t pos, std::string_view delimiter, bool caseSensitive) const
{
    if (pos > m_end || m_end - pos < delimiter.size()) {
        return false;
    }
    const char* at = m_text.data() + pos;
    if (delimiter.empty()) {
        return true;
    }
    if (caseSensitive) {
        if (at[0] != delimiter[0]) {
            return false;
        }
        return std::memcmp(at, delimiter.data(), delimiter.size()) == 0;
    }
    for (std::size_t i = 0; i < delimiter.size(); ++i) {
        if (AsciiLower(at[i]) != AsciiLower(delimiter[i])) {
            return false;
        }
    }
    return true;
}

std::size_t TSyntaxParser::Find(std::string_view delimiter) const
{
    const std::string_view rest = m_text.substr(m_pos, m_end - m_pos);
    if (m_cb->block.CaseSensitive) {
        const std::size_t at = rest.find(delimiter);
        return at == std::string_view::npos ? at : m_pos + at;
    }
    for (std::size_t at = m_pos; at + delimiter.size() <= m_end; ++at) {
        if (MatchAt(at, delimiter, false)) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool TSyntaxParser::IsFirst(std::size_t pos) const
{
    return pos < m_end && InSet(m_cb->block.FirstIdentChars, m_text[pos]);
}

bool TSyntaxParser::IsOther(std::size_t pos) const
{
    return pos < m_end && InSet(m_cb->block.OtherIdentChars, m_text[pos]);
}

bool TSyntaxParser::HexDigit(std::size_t pos) const
{
    if (pos >= m_end) {
        return false;
    }
    const char c = m_text[pos];
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool TSyntaxParser::FindBlockEnd()
{
    if (m_blockIndex == 0 || m_delimIndex < 0 || m_delimIndex >= static_cast<int>(m_cb->delimiters.size())) {
        return false;
    }
    const std::string& right = m_cb->delimiters[static_cast<std::size_t>(m_delimIndex)].right;
    if (right.empty()) {
        return false;
    }
    const bool identStart = InSet(m_cb->block.FirstIdentChars, right[0]);
    if (m_partOfBlock) {
        // The delimiter was read as this block's text and ends here.
        if (m_pos < right.size()) {
            return false;
        }
        const std::size_t start = m_pos - right.size();
        if (!MatchAt(start, right, m_cb->block.CaseSensitive)) {
            return false;
        }
        if (identStart && start > 0 && IsOther(start - 1)) {
            return false;
        }
    } else {
        // The delimiter starts here and is read as the parent's text.
        if (!MatchAt(m_pos, right, m_scheme.m_compiled[0].block.CaseSensitive)) {
            return false;
        }
        if (identStart && IsOther(m_pos + right.size())) {
            return false;
        }
    }
    Pop();
    return true;
}

bool TSyntaxParser::BlockTransitions()
{
    if (!m_endSeen && m_blockIndex != 0) {
        m_endSeen = FindBlockEnd();
    }
    const TCompiledBlock* block = m_cb;
    const TCharSet& first = block->block.FirstIdentChars;
    const TCharSet& other = block->block.OtherIdentChars;
    bool enteredOuter = false;
    bool endedAtOnce = false;
    bool entered = false;
    for (const TBlockEntry& entry : block->outerEntries) {
        const std::string& left = entry.delimiter;
        if (m_pos < left.size()) {
            continue;
        }
        const std::size_t start = m_pos - left.size();
        if (!MatchAt(start, left, block->block.CaseSensitive)) {
            continue;
        }
        if (InSet(first, left[0]) && start > 0 && InSet(other, m_text[start - 1])) {
            continue;
        }
        if (Push(entry.code)) {
            enteredOuter = entered = true;
            endedAtOnce = FindBlockEnd();
        }
        break;
    }
    for (const TBlockEntry& entry : block->innerEntries) {
        const std::string& left = entry.delimiter;
        if (!MatchAt(m_pos, left, m_caseSensitive)) {
            continue;
        }
        const std::size_t after = m_pos + left.size();
        if (InSet(first, left[0]) && after < m_end && InSet(other, m_text[after])) {
            continue;
        }
        if (Push(entry.code)) {
            entered = true;
        }
        break;
    }
    bool again = false;
    if (enteredOuter) {
        again = !endedAtOnce;
    } else if (!entered && !m_endSeen && m_blockIndex != 0) {
        again = FindBlockEnd();
    }
    m_endSeen = again;
    return again;
}

std::uint8_t TSyntaxParser::TokenAttr() const
{
    const TCompiledBlock& cb = *m_cb;
    const TSyntaxBlock& b = cb.block;
    auto item = [this](const TCompiledTokens& list) -> std::uint8_t {
        return m_itemIndex >= 0 && m_itemIndex < static_cast<int>(list.Size())
            ? list.attr[static_cast<std::size_t>(m_itemIndex)]
            : std::uint8_t{255};
    };
    std::uint8_t attr = cb.text;
    switch (m_tokenKind) {
    case tkSingleLineComment:
        attr = item(cb.singleLineComments);
        break;
    case tkMultiLineComment:
        attr = item(cb.multiLineComments);
        break;
    case tkDirective:
        attr = b.UseLineDirectives ? cb.directive : cb.text;
        break;
    case tkFullLineComment:
        attr = item(cb.fullLineComments);
        break;
    case tkSingleLineString:
        attr = item(cb.singleLineStrings);
        break;
    case tkMultiLineString:
        attr = item(cb.multiLineStrings);
        break;
    case tkInteger:
        attr = b.UseNumbers ? cb.intNum : cb.text;
        break;
    case tkFloat:
        attr = b.UseNumbers ? cb.floatNum : cb.text;
        break;
    case tkHex:
        attr = b.UseNumbers ? cb.hexNum : cb.text;
        break;
    case tkIdentifier:
        attr = b.UseIdentifiers ? cb.identifier : cb.text;
        break;
    case tkKeyword:
        attr = m_itemIndex >= 0 && m_itemIndex < static_cast<int>(cb.keywords.size())
            ? cb.keywords[static_cast<std::size_t>(m_itemIndex)].attr
            : std::uint8_t{255};
        break;
    case tkSymbol:
        attr = b.UseSymbols ? cb.symbol : cb.text;
        break;
    default:
        break;
    }
    return attr == 255 ? cb.text : attr;
}

std::uint32_t TSyntaxParser::ColorString(
    std::string_view text, std::uint32_t startState, std::vector<std::uint8_t>& attrs)
{
    attrs.assign(text.size(), 0);
    if (m_scheme.m_compiled.empty()) {
        return startState;
    }
    m_text = text;
    const void* nul = std::memchr(text.data(), 0, text.size());
    m_end = nul == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());

    SelectStack(static_cast<int>(startState >> 24));
    m_partOfBlock = (startState & (1u << 23)) != 0;
    m_caseSensitive = (startState & (1u << 22)) != 0;
    m_delimIndex = static_cast<int>((startState >> 16) & 0x3Fu);
    m_state = static_cast<int>((startState >> 8) & 0xFFu);
    if (m_state > lsDirective) {
        m_state = lsNormal;
    }
    m_itemIndex = static_cast<int>(startState & 0xFFu);
    m_directiveAllowed = true;
    m_fullLineAllowed = true;
    m_directiveSeen = false;
    m_pendingReset = false;
    m_endSeen = false;
    m_pos = 0;

    for (;;) {
        if (m_pos < m_end) {
            m_tokenKind = tkText;
        }
        if (m_state == lsNormal && m_blockIndex == 0 && m_cb->outerEntries.empty() && m_cb->innerEntries.empty()) {
            m_endSeen = false; // nothing to enter or leave here
        } else if (m_state == lsNormal) {
            int passes = 0;
            while (BlockTransitions() && ++passes < kMaxPassesPerPosition) {
                if (m_pos < m_end) {
                    m_tokenKind = tkText;
                }
            }
        }
        if (m_pendingReset) {
            m_pendingReset = false;
            m_state = lsNormal;
        }
        if (m_pos >= m_end) {
            break;
        }
        const std::size_t tokenStart = m_pos;
        GetToken();
        if (m_pos <= tokenStart || m_pos > m_end) {
            // A rule that did not advance: its character is plain text.
            m_pos = tokenStart + 1;
            m_tokenKind = tkText;
        }
        m_directiveAllowed = m_directiveAllowed && m_tokenKind <= tkDirective;
        m_fullLineAllowed = m_fullLineAllowed && m_tokenKind == tkText;
        std::memset(attrs.data() + tokenStart, TokenAttr(), m_pos - tokenStart);
    }
    if (m_end < text.size()) {
        std::memset(attrs.data() + m_end, m_cb->text, text.size() - m_end);
    }
    // Fields that mean nothing in the current situation are written as 0, so
    // that equal situations give equal states and recolouring stops early.
    const bool inRoot = m_blockIndex == 0;
    const bool itemUsed = m_state == lsComment || m_state == lsString || m_state == lsMultiLineString;
    return (static_cast<std::uint32_t>(m_stackIndex & 0xFF) << 24) | (m_partOfBlock && !inRoot ? 1u << 23 : 0u)
        | (m_caseSensitive ? 1u << 22 : 0u) | (inRoot ? 0u : static_cast<std::uint32_t>(m_delimIndex & 0x3F) << 16)
        | (static_cast<std::uint32_t>(m_state & 0xFF) << 8)
        | (itemUsed ? static_cast<std::uint32_t>(m_itemIndex & 0xFF) : 0u);
}

void TSyntaxParser::ReadDelimited(const TCompiledTokens& list, int kind)
{
    m_tokenKind = kind;
    const std::string& right = list.right[static_cast<std::size_t>(m_itemIndex)];
    const TSyntaxBlock& b = m_cb->block;
    const bool identStart = InSet(b.FirstIdentChars, right[0]);
    const std::size_t tokenStart = m_pos;
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
                m_pos = at + 1;
                if (m_pos >= m_end) {
                    m_state = lsNormal;
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
        (void)tokenStart;
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
    m_keyBuffer.assign(m_text.substr(from, length));
    if (!cb.block.CaseSensitive) {
        for (char& c : m_keyBuffer) {
            c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));
        }
    }
    const auto found = cb.keywordIndex.find(m_keyBuffer);
    if (found == cb.keywordIndex.end()) {
        return false;
    }
    m_itemIndex = found->second;
    return true;
}

} // namespace quillet

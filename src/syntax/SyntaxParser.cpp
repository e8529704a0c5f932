#include "syntax/SyntaxParser.h"

#include "core/CharCase.h"
#include "syntax/HighlighterState.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// Block transitions at one position can chain (a block entered whose child
// starts at the same place); the stack limit ends such chains, and this bound
// makes sure nothing else can keep the position from moving.
constexpr int kMaxPassesPerPosition = 2 * TSyntaxScheme::kMaxStacks;

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
    // Every byte is written below (each token fills its own), so only the
    // size is set here, not a zero fill.
    attrs.resize(text.size());
    if (m_scheme.m_compiled.empty()) {
        std::fill(attrs.begin(), attrs.end(), std::uint8_t{0});
        return startState;
    }
    m_text = text;
    const void* nul = std::memchr(text.data(), 0, text.size());
    m_end = nul == nullptr ? text.size() : static_cast<std::size_t>(static_cast<const char*>(nul) - text.data());

    const THighlighterState start = THighlighterState::Unpack(startState);
    SelectStack(start.stack);
    m_partOfBlock = start.partOfBlock;
    m_caseSensitive = start.caseSensitive;
    m_delimIndex = start.delimIndex;
    m_state = start.state > lsDirective ? lsNormal : start.state;
    m_itemIndex = start.item;
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
    THighlighterState end;
    end.stack = m_stackIndex;
    end.partOfBlock = m_partOfBlock && !inRoot;
    end.caseSensitive = m_caseSensitive;
    end.delimIndex = inRoot ? 0 : m_delimIndex;
    end.state = m_state;
    end.item = itemUsed ? m_itemIndex : 0;
    return end.Pack();
}

} // namespace quillet

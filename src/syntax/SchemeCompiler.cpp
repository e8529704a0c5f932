// InitScheme: turns the persistent blocks into the lists the highlighter walks.
#include "core/CharCase.h"
#include "syntax/SyntaxParser.h"
#include "syntax/SyntaxScheme.h"

#include <cctype>
#include <map>
#include <utility>

namespace quillet {

namespace {

// Longest delimiter the highlighter compares; longer ones are dropped.
constexpr std::size_t kMaxDelimiter = 255;
// Item indexes travel in 8 bits of the line state.
constexpr std::size_t kMaxItems = 256;

std::uint8_t AttrByte(int fontId)
{
    return static_cast<std::uint8_t>(fontId & 0xFF);
}

bool UsableDelimiter(const std::string& d)
{
    return !d.empty() && d.size() <= kMaxDelimiter;
}

void AddLine(TCompiledTokens& out, const TLineTokenList& list)
{
    for (std::size_t i = 0; i < list.size() && out.Size() < kMaxItems; ++i) {
        const TLineToken& t = list[i];
        if (t.UseToken && UsableDelimiter(t.LeftDelimiter)) {
            out.left.push_back(t.LeftDelimiter);
            out.right.emplace_back();
            out.attr.push_back(AttrByte(t.FontID));
            out.position.push_back(static_cast<int>(i));
        }
    }
}

// Token pairs the highlighter searches for a closing delimiter: both sides must
// be usable, or a token could end without advancing.
void AddDelimited(TCompiledTokens& out, const TBlockTokenList& list)
{
    for (std::size_t i = 0; i < list.size() && out.Size() < kMaxItems; ++i) {
        const TBlockToken& t = list[i];
        if (t.UseToken && UsableDelimiter(t.LeftDelimiter) && UsableDelimiter(t.RightDelimiter)) {
            out.left.push_back(t.LeftDelimiter);
            out.right.push_back(t.RightDelimiter);
            out.attr.push_back(AttrByte(t.FontID));
            out.position.push_back(static_cast<int>(i));
        }
    }
}

// Number and identifier pairs: every item, active or not; the run between the
// delimiters must be non-empty, so empty delimiters cannot stall.
void AddPairs(TCompiledTokens& out, const TBlockTokenList& list)
{
    for (std::size_t i = 0; i < list.size() && out.Size() < kMaxItems; ++i) {
        const TBlockToken& t = list[i];
        if (t.LeftDelimiter.size() <= kMaxDelimiter && t.RightDelimiter.size() <= kMaxDelimiter) {
            out.left.push_back(t.LeftDelimiter);
            out.right.push_back(t.RightDelimiter);
            out.attr.push_back(AttrByte(t.FontID));
            out.position.push_back(static_cast<int>(i));
        }
    }
}

void RemoveFromSymbols(TCharSet& symbols, std::string_view text)
{
    for (char c : text) {
        symbols.reset(static_cast<unsigned char>(c));
    }
}

void RemoveLine(TCharSet& symbols, const TLineTokenList& list)
{
    for (const TLineToken& t : list) {
        if (t.UseToken) {
            RemoveFromSymbols(symbols, t.LeftDelimiter);
        }
    }
}

void RemoveBlock(TCharSet& symbols, const TBlockTokenList& list, bool activeOnly = true)
{
    for (const TBlockToken& t : list) {
        if (t.UseToken || !activeOnly) {
            RemoveFromSymbols(symbols, t.LeftDelimiter);
            RemoveFromSymbols(symbols, t.RightDelimiter);
        }
    }
}

TCharSet AsciiPunctuation()
{
    TCharSet set;
    for (int c = 33; c <= 47; ++c) {
        set.set(c);
    }
    for (int c = 58; c <= 64; ++c) {
        set.set(c);
    }
    for (int c = 91; c <= 94; ++c) {
        set.set(c);
    }
    set.set(96);
    for (int c = 123; c <= 127; ++c) {
        set.set(c);
    }
    return set;
}

// Marks the blocks the tree can reach: a usable, unique ID and a parent chain
// that arrives at the root without a cycle. Others are never entered, so a
// broken definition cannot make a block re-enter itself forever.
void MarkReachable(const std::vector<TSyntaxBlock>& blocks, std::vector<TCompiledBlock>& compiled)
{
    const std::size_t count = compiled.size();
    std::map<int, std::size_t> indexOfId;
    for (std::size_t i = 0; i < count; ++i) {
        const int id = blocks[i].ID;
        if (id >= 0 && id <= 255 && indexOfId.find(id) == indexOfId.end()) {
            indexOfId[id] = i;
        }
    }
    auto reachesRoot = [&](std::size_t i) {
        std::size_t at = i;
        for (std::size_t steps = 0; steps <= count; ++steps) {
            if (at == 0) {
                return true;
            }
            const TSyntaxBlock& block = blocks[at];
            auto found = indexOfId.find(block.ParentID);
            if (found == indexOfId.end() || found->second == at) {
                return false;
            }
            at = found->second;
        }
        return false;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const int id = blocks[i].ID;
        const bool uniqueId = id >= 0 && id <= 255 && indexOfId[id] == i;
        compiled[i].valid = i == 0 || (uniqueId && reachesRoot(i));
    }
}

// The tables of one block; cb.block holds the block's definition.
void CompileBlock(TCompiledBlock& cb)
{
    const TSyntaxBlock& b = cb.block;
    // The attribute byte of each token kind, from the block's font id for it.
    using TKindByte = std::pair<std::uint8_t TCompiledBlock::*, int TSyntaxBlock::*>;
    static constexpr TKindByte kKindBytes[] = {
        {&TCompiledBlock::text, &TSyntaxBlock::FIText},
        {&TCompiledBlock::intNum, &TSyntaxBlock::FIIntNum},
        {&TCompiledBlock::floatNum, &TSyntaxBlock::FIFloatNum},
        {&TCompiledBlock::hexNum, &TSyntaxBlock::FIHexNum},
        {&TCompiledBlock::directive, &TSyntaxBlock::FIDirective},
        {&TCompiledBlock::symbol, &TSyntaxBlock::FISymbol},
        {&TCompiledBlock::identifier, &TSyntaxBlock::FIIdentifier},
    };
    for (const auto& [byte, fontId] : kKindBytes) {
        cb.*byte = AttrByte(b.*fontId);
    }
    AddLine(cb.singleLineComments, b.SingleLineCommentDelimiters);
    AddDelimited(cb.multiLineComments, b.MultiLineCommentDelimiters);
    AddLine(cb.fullLineComments, b.FullLineCommentDelimiters);
    AddDelimited(cb.singleLineStrings, b.SingleLineStringDelimiters);
    AddDelimited(cb.multiLineStrings, b.MultiLineStringDelimiters);
    AddLine(cb.numPrefixes, b.NumPrefixes);
    AddLine(cb.numSuffixes, b.NumSuffixes);
    AddPairs(cb.numPairs, b.NumPrefixesSuffixes);
    AddLine(cb.identPrefixes, b.IdentPrefixes);
    AddLine(cb.identSuffixes, b.IdentSuffixes);
    AddPairs(cb.identPairs, b.IdentPrefixesSuffixes);
    auto addStarts = [&b](TCharSet& starts, const TCompiledTokens& list) {
        for (const std::string& left : list.left) {
            const unsigned char first = static_cast<unsigned char>(left[0]);
            starts.set(first);
            if (!b.CaseSensitive && first < 128) {
                starts.set(static_cast<unsigned char>(std::tolower(first)));
                starts.set(static_cast<unsigned char>(std::toupper(first)));
            }
        }
    };
    addStarts(cb.commentStart, cb.multiLineComments);
    addStarts(cb.commentStart, cb.fullLineComments);
    addStarts(cb.commentStart, cb.singleLineComments);
    addStarts(cb.stringStart, cb.multiLineStrings);
    addStarts(cb.stringStart, cb.singleLineStrings);
    addStarts(cb.numPrefixStart, cb.numPrefixes);
    addStarts(cb.numSuffixStart, cb.numSuffixes);
    if (cb.block.LineDirectivePrefix.size() > kMaxDelimiter) {
        cb.block.LineDirectivePrefix.clear();
    }
    for (const TKeywordSet& set : b.KeywordSets) {
        if (!set.UseToken || cb.keywords.size() >= kMaxItems) {
            continue;
        }
        TCompiledKeywords words;
        words.attr = AttrByte(set.FontID);
        const std::string text = b.CaseSensitive ? set.Keywords : LowerText(set.Keywords);
        for (std::string& word : SplitKeywords(text)) {
            if (!word.empty()) {
                words.words.insert(std::move(word));
            }
        }
        for (const std::string& word : words.words) {
            cb.keywordIndex.Insert(word, static_cast<int>(cb.keywords.size()));
            cb.keywordFirst.set(static_cast<unsigned char>(word[0]));
            cb.keywordLengths.set(std::min<std::size_t>(word.size(), 64));
        }
        cb.keywords.push_back(std::move(words));
    }
    const std::size_t delimiters = std::min<std::size_t>(b.BlockDelimiters.size(), TSyntaxScheme::kMaxBlockDelimiters);
    for (std::size_t d = 0; d < delimiters; ++d) {
        const TDelimiters& delimiter = b.BlockDelimiters[d];
        TCompiledDelimiters compiled;
        if (delimiter.RightDelimiter.size() <= kMaxDelimiter) {
            compiled.right = delimiter.RightDelimiter;
        }
        compiled.partOfBlock = delimiter.DelimitersArePartOfBlock;
        cb.delimiters.push_back(std::move(compiled));
    }
}

// Ways into each block's children, in block order then delimiter order.
void AddChildEntries(std::vector<TCompiledBlock>& compiled)
{
    const std::size_t count = compiled.size();
    for (std::size_t i = 0; i < count; ++i) {
        TCompiledBlock& parent = compiled[i];
        if (!parent.valid || parent.block.ID < 0 || parent.block.ID > 255) {
            continue;
        }
        for (std::size_t c = 1; c < count; ++c) {
            const TCompiledBlock& child = compiled[c];
            if (c == i || !child.valid || child.block.ParentID != parent.block.ID) {
                continue;
            }
            for (std::size_t d = 0; d < child.delimiters.size(); ++d) {
                const TDelimiters& delimiter = child.block.BlockDelimiters[d];
                if (!delimiter.UseToken || !UsableDelimiter(delimiter.LeftDelimiter)
                    || delimiter.RightDelimiter.size() > kMaxDelimiter) {
                    continue;
                }
                TBlockEntry entry;
                entry.delimiter = delimiter.LeftDelimiter;
                entry.code = (delimiter.DelimitersArePartOfBlock ? 0x20000u : 0u)
                    + (child.block.CaseSensitive ? 0x10000u : 0u) + static_cast<std::uint32_t>(c) * 256u
                    + static_cast<std::uint32_t>(d);
                (delimiter.DelimitersArePartOfBlock ? parent.innerEntries : parent.outerEntries)
                    .push_back(std::move(entry));
            }
        }
    }
}

// Punctuation that no rule of any block uses can be taken in runs.
TCharSet FreeSymbols(const std::vector<TSyntaxBlock>& blocks)
{
    TCharSet symbols = AsciiPunctuation();
    for (const TSyntaxBlock& b : blocks) {
        symbols &= ~b.FirstIdentChars;
        symbols &= ~b.OtherIdentChars;
        if (b.UseMetaSymbol) {
            symbols.reset(static_cast<unsigned char>(b.MetaSymbol));
        }
        for (const TDelimiters& d : b.BlockDelimiters) {
            if (d.UseToken) {
                RemoveFromSymbols(symbols, d.LeftDelimiter);
                RemoveFromSymbols(symbols, d.RightDelimiter);
            }
        }
        if (b.UseComments) {
            if (b.UseSingleLineComments) {
                RemoveLine(symbols, b.SingleLineCommentDelimiters);
            }
            if (b.UseMultiLineComments) {
                RemoveBlock(symbols, b.MultiLineCommentDelimiters);
            }
            if (b.UseFullLineComments) {
                RemoveLine(symbols, b.FullLineCommentDelimiters);
            }
        }
        if (b.UseStrings) {
            if (b.UseSingleLineStrings) {
                RemoveBlock(symbols, b.SingleLineStringDelimiters);
            }
            if (b.UseMultiLineStrings) {
                RemoveBlock(symbols, b.MultiLineStringDelimiters);
            }
        }
        if (b.UseNumbers) {
            if (b.UsePrefixedNumbers) {
                RemoveLine(symbols, b.NumPrefixes);
            }
            if (b.UseSuffixedNumbers) {
                RemoveLine(symbols, b.NumSuffixes);
            }
            if (b.UsePrefixedSuffixedNumbers) {
                RemoveBlock(symbols, b.NumPrefixesSuffixes);
            }
        }
        if (b.UsePrefixedIdentifiers) {
            RemoveLine(symbols, b.IdentPrefixes);
        }
        if (b.UseSuffixedIdentifiers) {
            RemoveLine(symbols, b.IdentSuffixes);
        }
        if (b.UsePrefixedSuffixedIdentifiers) {
            RemoveBlock(symbols, b.IdentPrefixesSuffixes);
        }
        if (b.UseLineDirectives) {
            RemoveFromSymbols(symbols, b.LineDirectivePrefix);
        }
    }
    return symbols;
}

} // namespace

void TSyntaxScheme::InitScheme()
{
    UpdateSchemeVersion();
    ResetStacks();

    const std::size_t count = std::min<std::size_t>(SyntaxBlocks.size(), kMaxBlocks);
    m_compiled.assign(count, TCompiledBlock{});
    MarkReachable(SyntaxBlocks, m_compiled);
    for (std::size_t i = 0; i < count; ++i) {
        m_compiled[i].block = SyntaxBlocks[i];
        CompileBlock(m_compiled[i]);
    }
    AddChildEntries(m_compiled);
    m_symbols = FreeSymbols(SyntaxBlocks);
}

} // namespace quillet

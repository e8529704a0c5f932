#pragma once

#include "syntax/AttrItem.h"
#include "syntax/CharSet.h"
#include "syntax/CompiledBlock.h"
#include "syntax/SyntaxBlock.h"
#include "text/SimpleParser.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSyntaxParser;

// Outcome of reading or writing a definition file. diagnostics holds every
// message as "file:line: message": skipped properties when ok, and the reason
// for the failure when not.
struct TDefResult {
    bool ok = true;
    std::vector<std::string> diagnostics;
};

// One entry of an interned block stack: the top block (index in SyntaxBlocks),
// the index of the delimiter that opened it (-1 for the root) and the entry of
// the stack below it (-1 for the root).
struct TBlockInfo {
    int BlockIndex = 0;
    int DelimiterIndex = -1;
    int Next = -1;
};

// An attribute resolved to what a view draws with.
struct TResolvedAttr {
    TFontSpec font;
    TColor back = clWindow;
};

// A syntax definition: a tree of lexical blocks with their rules and a table of
// display attributes. The persistent part is the public fields; the rest is
// rebuilt by InitScheme and never stored.
class TSyntaxScheme {
public:
    static constexpr int kMaxBlocks = 256; // block index fits in a byte
    static constexpr int kMaxStacks = 256; // stack index fits in a byte
    static constexpr int kMaxBlockDelimiters = 64; // delimiter index fits in 6 bits

    TSyntaxScheme();
    ~TSyntaxScheme();
    TSyntaxScheme(const TSyntaxScheme&) = delete;
    TSyntaxScheme& operator=(const TSyntaxScheme&) = delete;

    std::string Name;
    std::string Comment;
    std::vector<std::string> Extensions; // sorted ignoring case, no duplicates
    TSyntaxBlockList SyntaxBlocks; // item 0 is the root block
    TFontList FontTable;
    int SyntaxVersion = 1;

    // Inserts an entry at its sorted place; an entry equal (ignoring case) to
    // one present is ignored.
    void AddExtension(std::string entry);

    // Reads a definition; on failure this scheme is left unchanged.
    TDefResult LoadFromFile(const std::filesystem::path& file);
    TDefResult LoadFromText(std::string_view text, const std::string& fileName);
    // Writes through a temporary file in the same folder that then replaces the
    // target, so a failed save leaves the old file as it was.
    TDefResult SaveToFile(const std::filesystem::path& file) const;
    // The exact text SaveToFile writes.
    std::string SaveToText() const;

    // Copies every persistent property of source, then SchemeChanged.
    void Assign(const TSyntaxScheme& source);
    // Clears Name, blocks and attributes and sets the version to 1; Comment and
    // Extensions stay.
    void ClearContents();
    // Recompiles: through the owning parser when there is one.
    void SchemeChanged();
    // Upgrades definitions older than version 3 (flat block lists without IDs).
    void UpdateSchemeVersion();
    // Lowest ID in 0..255 no block uses; -1 when every ID is taken.
    int GetUniqueBlockID() const;
    // Compiles the blocks for the highlighter and resets the block stacks.
    void InitScheme();
    // Whether the persistent parts are equal.
    bool SameContents(const TSyntaxScheme& other) const;

    // Run-time state.
    TSyntaxParser* Parser() const { return m_parser; }
    bool UseGlobalOptions() const { return m_useGlobalOptions; }
    const std::vector<TCompiledBlock>& CompiledBlocks() const { return m_compiled; }
    const TCharSet& SymbolSet() const { return m_symbols; }
    const std::vector<TBlockInfo>& BlockStacks() const { return m_stacks; }
    // The stack current + (block, delimiter): found among the interned stacks or
    // appended. -1 when the list is full (the block is then not entered).
    int PushStack(int current, int block, int delimiter);
    // The stack below current; the root when there is none.
    int PopStack(int current) const;

    // Resolves every attribute against the default one (fonts inherited from
    // enclosing blocks) into the 256-entry table read by ResolvedAttr.
    void CreateAttrIDHash(const TDefAttrItem& defaultAttr);
    const TResolvedAttr& ResolvedAttr(std::uint8_t attr) const;

private:
    friend class TSyntaxParser;
    void ResetStacks();
    void CopyContents(const TSyntaxScheme& source);

    TSyntaxParser* m_parser = nullptr;
    bool m_useGlobalOptions = false;
    std::vector<TCompiledBlock> m_compiled;
    TCharSet m_symbols;
    std::vector<TBlockInfo> m_stacks;
    std::array<int, 256> m_attrTable{}; // index into m_resolved
    std::vector<TResolvedAttr> m_resolved; // [0] whitespace, [1] URL, then FontTable items
};

} // namespace quillet

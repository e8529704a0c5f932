#include "syntax/SyntaxScheme.h"

#include "core/CharCase.h"
#include "platform/posix/PosixFileSystem.h"
#include "syntax/DefReader.h"
#include "syntax/DefWriter.h"
#include "syntax/SyntaxParser.h"

#include <algorithm>
#include <bitset>
#include <iterator>

namespace quillet {

namespace {

TSyntaxBlock DefaultBlock()
{
    TSyntaxBlock block;
    block.Name = "Default";
    block.ID = 0;
    return block;
}

// Definition files are small; anything past this is not one.
constexpr std::size_t kMaxDefinitionFileSize = 32u * 1024u * 1024u;

TFontSpec FontSpecOf(const TDefFont& font)
{
    TFontSpec result;
    result.name = font.Name;
    result.size = font.PointSize();
    result.bold = (font.Style & fsBold) != 0;
    result.italic = (font.Style & fsItalic) != 0;
    result.underline = (font.Style & fsUnderline) != 0;
    result.strikeOut = (font.Style & fsStrikeOut) != 0;
    result.color = font.Color;
    return result;
}

} // namespace

TSyntaxScheme::TSyntaxScheme()
{
    SyntaxBlocks.push_back(DefaultBlock());
    m_attrTable.fill(0);
    m_resolved.resize(2);
    ResetStacks();
}

TSyntaxScheme::~TSyntaxScheme() = default;

void TSyntaxScheme::AddExtension(std::string entry)
{
    auto less = [](const std::string& a, const std::string& b) {
        return CompareTextIgnoreCase(a, b) < 0;
    };
    auto at = std::lower_bound(Extensions.begin(), Extensions.end(), entry, less);
    if (at != Extensions.end() && CompareTextIgnoreCase(*at, entry) == 0) {
        return;
    }
    Extensions.insert(at, std::move(entry));
}

TDefResult TSyntaxScheme::LoadFromFile(const std::filesystem::path& file)
{
    const std::string fileName = file.string();
    // One byte past the limit tells a file that is too large from one that fits.
    const TFileRead read = SystemFileSystem().ReadFile(file, kMaxDefinitionFileSize + 1);
    if (!read.status) {
        const bool opening =
            read.status.kind == TFileErrorKind::NotFound || read.status.kind == TFileErrorKind::Permission;
        return {
            false, {fileName + (opening ? ":0: cannot open file: " : ":0: cannot read file: ") + read.status.reason}};
    }
    if (read.bytes.size() > kMaxDefinitionFileSize) {
        return {false, {fileName + ":0: file too large for a syntax definition"}};
    }
    return LoadFromText(read.bytes, fileName);
}

TDefResult TSyntaxScheme::LoadFromText(std::string_view text, const std::string& fileName)
{
    TSyntaxScheme loaded;
    TDefResult result = ReadDefinition(text, fileName, loaded);
    if (result.ok) {
        ClearContents();
        Assign(loaded);
    }
    return result;
}

TDefResult TSyntaxScheme::SaveToFile(const std::filesystem::path& file) const
{
    return WriteFileReplacing(file, SaveToText());
}

std::string TSyntaxScheme::SaveToText() const
{
    return WriteDefinition(*this);
}

void TSyntaxScheme::CopyContents(const TSyntaxScheme& source)
{
    SyntaxVersion = source.SyntaxVersion;
    Name = source.Name;
    Comment = source.Comment;
    FontTable = source.FontTable;
    SyntaxBlocks = source.SyntaxBlocks;
    Extensions = source.Extensions;
}

void TSyntaxScheme::Assign(const TSyntaxScheme& source)
{
    if (&source != this) {
        CopyContents(source);
    }
    SchemeChanged();
}

void TSyntaxScheme::ClearContents()
{
    Name.clear();
    SyntaxVersion = 1;
    SyntaxBlocks.clear();
    FontTable.Items.clear();
}

void TSyntaxScheme::SchemeChanged()
{
    if (m_parser != nullptr) {
        m_parser->InitParser();
    } else {
        InitScheme();
    }
}

int TSyntaxScheme::GetUniqueBlockID() const
{
    std::bitset<256> used;
    for (const TSyntaxBlock& block : SyntaxBlocks) {
        if (block.ID >= 0 && block.ID <= 255) {
            used.set(static_cast<std::size_t>(block.ID));
        }
    }
    for (int id = 0; id < 256; ++id) {
        if (!used.test(static_cast<std::size_t>(id))) {
            return id;
        }
    }
    return -1;
}

void TSyntaxScheme::UpdateSchemeVersion()
{
    if (SyntaxVersion < 2 && !SyntaxBlocks.empty()) {
        for (TSyntaxBlock& block : SyntaxBlocks) {
            if (block.ID == -1) {
                block.ID = GetUniqueBlockID();
            }
        }
        const int rootID = SyntaxBlocks.front().ID;
        for (std::size_t i = 0; i < SyntaxBlocks.size(); ++i) {
            SyntaxBlocks[i].ParentID = i == 0 ? -1 : rootID;
        }
        for (const TSyntaxBlock& block : SyntaxBlocks) {
            auto claim = [&](int fontId) {
                if (TAttrItem* attr = FontTable.GetItemByID(fontId)) {
                    attr->BlockID = block.ID;
                }
            };
            for (int fontId : {block.FIText,
                     block.FIIntNum,
                     block.FIFloatNum,
                     block.FIHexNum,
                     block.FIDirective,
                     block.FISymbol,
                     block.FIIdentifier}) {
                claim(fontId);
            }
            for (const auto* list : {&block.SingleLineCommentDelimiters,
                     &block.FullLineCommentDelimiters,
                     &block.NumPrefixes,
                     &block.NumSuffixes,
                     &block.IdentPrefixes,
                     &block.IdentSuffixes}) {
                for (const TLineToken& token : *list) {
                    claim(token.FontID);
                }
            }
            for (const auto* list : {&block.MultiLineCommentDelimiters,
                     &block.SingleLineStringDelimiters,
                     &block.MultiLineStringDelimiters,
                     &block.NumPrefixesSuffixes,
                     &block.IdentPrefixesSuffixes}) {
                for (const TBlockToken& token : *list) {
                    claim(token.FontID);
                }
            }
            for (const TKeywordSet& set : block.KeywordSets) {
                claim(set.FontID);
            }
        }
    }
    SyntaxVersion = 3;
}

bool TSyntaxScheme::SameContents(const TSyntaxScheme& other) const
{
    return Name == other.Name && Comment == other.Comment && Extensions == other.Extensions
        && SyntaxBlocks == other.SyntaxBlocks && FontTable == other.FontTable && SyntaxVersion == other.SyntaxVersion;
}

void TSyntaxScheme::ResetStacks()
{
    m_stacks.assign(1, TBlockInfo{});
}

int TSyntaxScheme::PushStack(int current, int block, int delimiter)
{
    // Stacks are only ever made here, so each chain exists once and "same chain
    // below" is the same entry index below.
    for (std::size_t i = 1; i < m_stacks.size(); ++i) {
        const TBlockInfo& info = m_stacks[i];
        if (info.Next == current && info.BlockIndex == block && info.DelimiterIndex == delimiter) {
            return static_cast<int>(i);
        }
    }
    if (static_cast<int>(m_stacks.size()) >= kMaxStacks) {
        return -1;
    }
    m_stacks.push_back(TBlockInfo{block, delimiter, current});
    return static_cast<int>(m_stacks.size()) - 1;
}

int TSyntaxScheme::PopStack(int current) const
{
    if (current <= 0 || current >= static_cast<int>(m_stacks.size())) {
        return 0;
    }
    const int next = m_stacks[static_cast<std::size_t>(current)].Next;
    return next < 0 ? 0 : next;
}

void TSyntaxScheme::CreateAttrIDHash(const TDefAttrItem& defaultAttr)
{
    m_attrTable.fill(0);
    m_resolved.clear();

    TResolvedAttr whitespace;
    whitespace.font = FontSpecOf(defaultAttr.Font);
    whitespace.font.bold = whitespace.font.italic = whitespace.font.underline = whitespace.font.strikeOut = false;
    whitespace.back = defaultAttr.BackColor;
    TResolvedAttr url = whitespace;
    url.font.underline = true;
    url.font.color = 0xFF0000; // blue
    m_resolved.push_back(whitespace);
    m_resolved.push_back(url);
    m_attrTable[12] = 1;

    auto blockById = [&](int id) -> const TSyntaxBlock* {
        for (const TSyntaxBlock& block : SyntaxBlocks) {
            if (block.ID == id) {
                return &block;
            }
        }
        return nullptr;
    };
    // The text attribute of the nearest block, from blockId outwards, that
    // passes the test; nullptr if none does.
    auto nearestText = [&](int blockId, auto test) -> const TAttrItem* {
        const TSyntaxBlock* block = blockById(blockId);
        for (int steps = 0; block != nullptr && steps < kMaxBlocks; ++steps) {
            const TAttrItem* text = FontTable.GetItemByID(block->FIText);
            if (text != nullptr && test(*text)) {
                return text;
            }
            if (block->ParentID < 0 || block->ParentID == block->ID) {
                break;
            }
            block = blockById(block->ParentID);
        }
        return nullptr;
    };

    for (const TAttrItem& item : FontTable.Items) {
        if (item.FontID < 0 || item.FontID > 255) {
            continue;
        }
        TResolvedAttr resolved;
        resolved.font = FontSpecOf(item.Font);
        const TDefFont* face = &item.Font;
        if (item.UseDefFont) {
            const TAttrItem* from = nearestText(item.BlockID, [](const TAttrItem& a) {
                return !a.UseDefFont;
            });
            face = from != nullptr ? &from->Font : &defaultAttr.Font;
        }
        resolved.font.name = face->Name;
        resolved.font.size = face->PointSize();
        resolved.back = item.BackColor;
        if (item.UseDefBack) {
            const TAttrItem* from = nearestText(item.BlockID, [](const TAttrItem& a) {
                return !a.UseDefBack;
            });
            resolved.back = from != nullptr ? from->BackColor : defaultAttr.BackColor;
        }
        m_attrTable[static_cast<std::size_t>(item.FontID)] = static_cast<int>(m_resolved.size());
        m_resolved.push_back(resolved);
    }
}

const TResolvedAttr& TSyntaxScheme::ResolvedAttr(std::uint8_t attr) const
{
    const int index = m_attrTable[attr];
    if (index < 0 || index >= static_cast<int>(m_resolved.size())) {
        return m_resolved.front();
    }
    return m_resolved[static_cast<std::size_t>(index)];
}

} // namespace quillet

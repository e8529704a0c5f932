#pragma once

#include "syntax/SyntaxBlock.h"

#include <span>

namespace quillet {

// How a property of a syntax block is stored in a definition file.
enum class TDefFieldKind : std::uint8_t {
    String, // written when not empty
    Id, // an identifier -1..255, written when not -1
    Flag, // written when true, or always (see TDefField::always)
    Char, // a one-character string
    CharSet, // written when it differs from its default
    LineList, // a collection of line tokens
    BlockList, // a collection of block tokens
    Delimiters, // the block delimiters collection
    KeywordSets, // the keyword sets collection
};

// One property of a syntax block: its name in the file, its kind, the field
// it fills (the pointer matching the kind is set), and when the writer puts it
// out. The reader accepts every property whatever the guard says.
struct TDefField {
    const char* name;
    TDefFieldKind kind;
    std::string TSyntaxBlock::*text = nullptr;
    int TSyntaxBlock::*id = nullptr;
    bool TSyntaxBlock::*flag = nullptr;
    char TSyntaxBlock::*symbol = nullptr;
    TCharSet TSyntaxBlock::*charSet = nullptr;
    TLineTokenList TSyntaxBlock::*lines = nullptr;
    TBlockTokenList TSyntaxBlock::*blocks = nullptr;
    bool TSyntaxBlock::*writtenIf = nullptr; // written only while this flag is set
    bool always = false; // a flag written as True or False
    TCharSet (*defaultSet)() = nullptr; // CharSet: the value that is not written
};

// Every property of a syntax block, in the order the writer puts them out.
std::span<const TDefField> SyntaxBlockFields();

} // namespace quillet

#include "syntax/DefFields.h"

namespace quillet {

namespace {

using K = TDefFieldKind;
using B = TSyntaxBlock;

constexpr TDefField Flag(const char* name, bool B::*field)
{
    return {.name = name, .kind = K::Flag, .flag = field};
}
constexpr TDefField GuardedFlag(const char* name, bool B::*field, bool B::*guard)
{
    return {.name = name, .kind = K::Flag, .flag = field, .writtenIf = guard, .always = true};
}
constexpr TDefField Id(const char* name, int B::*field)
{
    return {.name = name, .kind = K::Id, .id = field};
}
constexpr TDefField Lines(const char* name, TLineTokenList B::*field, bool B::*guard)
{
    return {.name = name, .kind = K::LineList, .lines = field, .writtenIf = guard};
}
constexpr TDefField Blocks(const char* name, TBlockTokenList B::*field, bool B::*guard)
{
    return {.name = name, .kind = K::BlockList, .blocks = field, .writtenIf = guard};
}

const TDefField kSyntaxBlockFields[] = {
    {.name = "Name", .kind = K::String, .text = &B::Name},
    Id("ID", &B::ID),
    Id("ParentID", &B::ParentID),
    Flag("CaseSensitive", &B::CaseSensitive),
    Flag("UseMetaSymbol", &B::UseMetaSymbol),
    GuardedFlag("UseMetaToWrapLines", &B::UseMetaToWrapLines, &B::UseMetaSymbol),
    {.name = "MetaSymbol", .kind = K::Char, .symbol = &B::MetaSymbol, .writtenIf = &B::UseMetaSymbol},
    Id("FIText", &B::FIText),
    Id("FIIntNum", &B::FIIntNum),
    Id("FIFloatNum", &B::FIFloatNum),
    Id("FIHexNum", &B::FIHexNum),
    Id("FIDirective", &B::FIDirective),
    Id("FISymbol", &B::FISymbol),
    Id("FIIdentifier", &B::FIIdentifier),
    Flag("UseSymbols", &B::UseSymbols),
    Flag("UseLineDirectives", &B::UseLineDirectives),
    Flag("UseComments", &B::UseComments),
    Flag("UseSingleLineComments", &B::UseSingleLineComments),
    Flag("UseMultiLineComments", &B::UseMultiLineComments),
    Flag("UseFullLineComments", &B::UseFullLineComments),
    Flag("UseStrings", &B::UseStrings),
    Flag("UseSingleLineStrings", &B::UseSingleLineStrings),
    Flag("UseMultiLineStrings", &B::UseMultiLineStrings),
    Flag("UseNumbers", &B::UseNumbers),
    Flag("UsePrefixedNumbers", &B::UsePrefixedNumbers),
    Flag("UseSuffixedNumbers", &B::UseSuffixedNumbers),
    GuardedFlag("UseMultipleNumSuffixes", &B::UseMultipleNumSuffixes, &B::UseSuffixedNumbers),
    Flag("UsePrefixedSuffixedNumbers", &B::UsePrefixedSuffixedNumbers),
    GuardedFlag("UsePSNumComposition", &B::UsePSNumComposition, &B::UsePrefixedSuffixedNumbers),
    Flag("UseIdentifiers", &B::UseIdentifiers),
    Flag("UsePrefixedIdentifiers", &B::UsePrefixedIdentifiers),
    Flag("UseSuffixedIdentifiers", &B::UseSuffixedIdentifiers),
    Flag("UsePrefixedSuffixedIdentifiers", &B::UsePrefixedSuffixedIdentifiers),
    Flag("UseKeywords", &B::UseKeywords),
    {.name = "BlockDelimiters", .kind = K::Delimiters},
    {.name = "LineDirectivePrefix",
        .kind = K::String,
        .text = &B::LineDirectivePrefix,
        .writtenIf = &B::UseLineDirectives},
    Lines("SingleLineCommentDelimiters", &B::SingleLineCommentDelimiters, &B::UseSingleLineComments),
    Blocks("MultiLineCommentDelimiters", &B::MultiLineCommentDelimiters, &B::UseMultiLineComments),
    Lines("FullLineCommentDelimiters", &B::FullLineCommentDelimiters, &B::UseFullLineComments),
    Blocks("SingleLineStringDelimiters", &B::SingleLineStringDelimiters, &B::UseSingleLineStrings),
    Blocks("MultiLineStringDelimiters", &B::MultiLineStringDelimiters, &B::UseMultiLineStrings),
    Lines("NumPrefixes", &B::NumPrefixes, &B::UsePrefixedNumbers),
    Lines("NumSuffixes", &B::NumSuffixes, &B::UseSuffixedNumbers),
    Blocks("NumPrefixesSuffixes", &B::NumPrefixesSuffixes, &B::UsePrefixedSuffixedNumbers),
    Lines("IdentPrefixes", &B::IdentPrefixes, &B::UsePrefixedIdentifiers),
    Lines("IdentSuffixes", &B::IdentSuffixes, &B::UseSuffixedIdentifiers),
    Blocks("IdentPrefixesSuffixes", &B::IdentPrefixesSuffixes, &B::UsePrefixedSuffixedIdentifiers),
    {.name = "KeywordSets", .kind = K::KeywordSets, .writtenIf = &B::UseKeywords},
    {.name = "FirstIdentChars",
        .kind = K::CharSet,
        .charSet = &B::FirstIdentChars,
        .defaultSet = &DefaultFirstIdentChars},
    {.name = "OtherIdentChars",
        .kind = K::CharSet,
        .charSet = &B::OtherIdentChars,
        .defaultSet = &DefaultOtherIdentChars},
};

} // namespace

std::span<const TDefField> SyntaxBlockFields()
{
    return kSyntaxBlockFields;
}

} // namespace quillet

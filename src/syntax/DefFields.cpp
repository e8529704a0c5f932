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

using AK = TAttrFieldKind;
using A = TAttrItem;
using F = TDefFont;

const TAttrField kFontTableFields[] = {
    {.name = "FontID", .kind = AK::Id, .write = TAttrFieldWrite::UnlessDefault, .number = {.item = &A::FontID}},
    {.name = "GlobalAttrID",
        .kind = AK::String,
        .write = TAttrFieldWrite::UnlessDefault,
        .text = {.item = &A::GlobalAttrID}},
    {.name = "BlockID", .kind = AK::Id, .write = TAttrFieldWrite::UnlessDefault, .number = {.item = &A::BlockID}},
    {.name = "Font.Charset", .kind = AK::Charset, .number = {.font = &F::Charset}},
    {.name = "Font.Color", .kind = AK::Color, .color = {.font = &F::Color}},
    {.name = "Font.Height", .kind = AK::Int, .number = {.font = &F::Height}},
    {.name = "Font.Size", .kind = AK::PointSize, .write = TAttrFieldWrite::Never, .number = {.font = &F::Height}},
    {.name = "Font.Name", .kind = AK::String, .text = {.font = &F::Name}},
    {.name = "Font.Pitch", .kind = AK::Pitch, .write = TAttrFieldWrite::UnlessDefault, .pitch = {.font = &F::Pitch}},
    {.name = "Font.Style", .kind = AK::Style, .style = {.font = &F::Style}},
    {.name = "BackColor", .kind = AK::Color, .write = TAttrFieldWrite::UnlessDefault, .color = {.item = &A::BackColor}},
    {.name = "UseDefFont", .kind = AK::Flag, .write = TAttrFieldWrite::UnlessDefault, .flag = {.item = &A::UseDefFont}},
    {.name = "UseDefBack", .kind = AK::Flag, .write = TAttrFieldWrite::UnlessDefault, .flag = {.item = &A::UseDefBack}},
};

const std::pair<TFontPitch, const char*> kPitchNames[] = {
    {TFontPitch::fpDefault, "fpDefault"},
    {TFontPitch::fpVariable, "fpVariable"},
    {TFontPitch::fpFixed, "fpFixed"},
};

const std::pair<std::uint8_t, const char*> kStyleNames[] = {
    {fsBold, "fsBold"},
    {fsItalic, "fsItalic"},
    {fsUnderline, "fsUnderline"},
    {fsStrikeOut, "fsStrikeOut"},
};

} // namespace

std::span<const TDefField> SyntaxBlockFields()
{
    return kSyntaxBlockFields;
}

bool TAttrField::IsDefault(const TAttrItem& a) const
{
    static const TAttrItem fresh;
    switch (kind) {
    case AK::Id:
    case AK::Int:
    case AK::Charset:
    case AK::PointSize:
        return number.Of(a) == number.Of(fresh);
    case AK::String:
        return text.Of(a) == text.Of(fresh);
    case AK::Color:
        return color.Of(a) == color.Of(fresh);
    case AK::Flag:
        return flag.Of(a) == flag.Of(fresh);
    case AK::Pitch:
        return pitch.Of(a) == pitch.Of(fresh);
    case AK::Style:
        return style.Of(a) == style.Of(fresh);
    }
    return true;
}

bool TAttrField::IsWritten(const TAttrItem& a) const
{
    switch (write) {
    case TAttrFieldWrite::Always:
        return true;
    case TAttrFieldWrite::UnlessDefault:
        return !IsDefault(a);
    case TAttrFieldWrite::Never:
        return false;
    }
    return false;
}

std::span<const TAttrField> FontTableFields()
{
    return kFontTableFields;
}

std::span<const std::pair<TFontPitch, const char*>> PitchNames()
{
    return kPitchNames;
}

std::span<const std::pair<std::uint8_t, const char*>> StyleNames()
{
    return kStyleNames;
}

} // namespace quillet

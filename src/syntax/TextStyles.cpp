#include "syntax/TextStyles.h"

#include "core/SettingsStore.h"
#include "syntax/SyntaxParser.h"

#include <array>

namespace quillet {

namespace {

constexpr std::array<std::string_view, kTextStylesCount> kStyleNames = {
    "Whitespace",
    "String",
    "Comment",
    "Identifier",
    "Integer",
    "Float",
    "Reserved words",
    "Delimiters",
    "Defines",
    "Assembler",
    "Html tags",
    "Html params",
    "Url",
    "BreakPoint",
    "Error line",
    "Marked Block",
    "Search Match",
    "Emphasis",
    "System Variable",
    "Script Whitespace",
    "Script Delimiters",
    "Script Comment",
    "Script String",
    "Script Number",
    "Script ResWord",
    "Plain Text",
    "Added Lines",
    "Deleted Lines",
    "Modified Lines",
};

constexpr std::string_view kSection = "Color Scheme";

std::string Key(int index, std::string_view what)
{
    return std::to_string(index) + " " + std::string(what);
}

void SetFontStyleBits(TFontSpec& font, std::uint8_t bits)
{
    font.bold = (bits & fsBold) != 0;
    font.italic = (bits & fsItalic) != 0;
    font.underline = (bits & fsUnderline) != 0;
    font.strikeOut = false;
}

// The background an attribute shows for a style: a style that follows the
// view's background shows the view's, which is the Plain Text style's.
TColor StyleBackground(const TTextStyles& styles, const TTextStyle& style)
{
    return style.UseMemoColor ? styles[kTextStylePlainText].Color : style.Color;
}

void SetDefFontStyle(TDefFont& font, const TFontSpec& from)
{
    font.Color = from.color;
    font.Style = static_cast<std::uint8_t>((from.bold ? fsBold : 0) | (from.italic ? fsItalic : 0)
        | (from.underline ? fsUnderline : 0) | (from.strikeOut ? fsStrikeOut : 0));
}

void SetDefFontFace(TDefFont& font, const TEditorFont& editor)
{
    font.Name = editor.Name;
    font.SetPointSize(editor.Size);
    font.Charset = editor.Charset;
}

} // namespace

std::string_view TextStyleName(int index)
{
    return index >= 0 && index < kTextStylesCount ? kStyleNames[static_cast<std::size_t>(index)] : std::string_view{};
}

std::string FontStyleLetters(const TFontSpec& font)
{
    std::string letters;
    if (font.bold) {
        letters += 'B';
    }
    if (font.italic) {
        letters += 'I';
    }
    if (font.underline) {
        letters += 'U';
    }
    return letters;
}

void SetFontStyleLetters(TFontSpec& font, std::string_view letters)
{
    auto has = [&](char c) {
        return letters.find(c) != std::string_view::npos
            || letters.find(static_cast<char>(c + 32)) != std::string_view::npos;
    };
    font.bold = has('B');
    font.italic = has('I');
    font.underline = has('U');
}

TTextStyles::TTextStyles()
{
    m_styles.resize(kTextStylesCount);
    for (int i = 0; i < kTextStylesCount; ++i) {
        m_styles[static_cast<std::size_t>(i)].Name = std::string(kStyleNames[static_cast<std::size_t>(i)]);
    }
    ApplyPreset(0);
    m_changed = false;
}

int TTextStyles::IndexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TTextStyle* TTextStyles::At(int index)
{
    return index >= 0 && index < Count() ? &m_styles[static_cast<std::size_t>(index)] : nullptr;
}

void TTextStyles::Changed()
{
    if (m_updateCount > 0) {
        m_changed = true;
        return;
    }
    m_changed = false;
    if (OnChanged) {
        OnChanged();
    }
}

void TTextStyles::SetColor(int index, TColor color)
{
    if (TTextStyle* s = At(index)) {
        s->Color = color;
        s->UseMemoColor = false;
        Changed();
    }
}

void TTextStyles::SetFont(int index, const TFontSpec& font)
{
    if (TTextStyle* s = At(index)) {
        s->Font = font;
        s->UseMemoFont = false;
        Changed();
    }
}

void TTextStyles::SetUpdateMemoColors(int index, TMemoColors update)
{
    if (TTextStyle* s = At(index)) {
        s->UpdateMemoColors = update;
        if (update != TMemoColors::mcNone) {
            s->UseMemoColor = false;
            s->UseMemoFont = false;
        }
        Changed();
    }
}

bool TTextStyles::SetUseMemoColor(int index, bool on)
{
    TTextStyle* s = At(index);
    if (s == nullptr || (on && s->UpdateMemoColors != TMemoColors::mcNone)) {
        return false;
    }
    if (on) {
        s->Color = m_viewBack;
    }
    s->UseMemoColor = on;
    Changed();
    return true;
}

bool TTextStyles::SetUseMemoFont(int index, bool on)
{
    TTextStyle* s = At(index);
    if (s == nullptr || (on && s->UpdateMemoColors != TMemoColors::mcNone)) {
        return false;
    }
    if (on) {
        s->Font = m_viewFont;
    }
    s->UseMemoFont = on;
    Changed();
    return true;
}

void TTextStyles::SetUpperCase(int index, bool on)
{
    if (TTextStyle* s = At(index)) {
        s->UpperCase = on;
        Changed();
    }
}

void TTextStyles::ApplyPreset(int preset)
{
    if (preset < 0 || preset >= kColorPresetCount) {
        preset = 0;
    }
    BeginParserUpdate();
    m_preset = preset;
    for (int i = 0; i < Count(); ++i) {
        const TPresetStyle& p = ColorPresetStyle(preset, i);
        TTextStyle& s = m_styles[static_cast<std::size_t>(i)];
        s.Font.color = p.fore;
        SetFontStyleBits(s.Font, p.fontStyle);
        s.Color = p.back;
        s.UpdateMemoColors = p.update;
        s.UseMemoColor = p.useMemoColor;
        s.UseMemoFont = false;
    }
    Changed();
    EndParserUpdate();
}

void TTextStyles::BeginParserUpdate()
{
    ++m_updateCount;
}

void TTextStyles::EndParserUpdate()
{
    if (m_updateCount == 0) {
        return;
    }
    if (--m_updateCount == 0 && m_changed) {
        Changed();
    }
}

void TTextStyles::ReadSettings(TSettingsStore& store)
{
    BeginParserUpdate();
    for (int i = 0; i < Count(); ++i) {
        const TPresetStyle& p = ColorPresetStyle(0, i);
        TTextStyle& s = m_styles[static_cast<std::size_t>(i)];
        s.Color = static_cast<TColor>(store.ReadInteger(kSection, Key(i, "Color"), static_cast<std::int32_t>(p.back)));
        s.Font.color =
            static_cast<TColor>(store.ReadInteger(kSection, Key(i, "FontColor"), static_cast<std::int32_t>(p.fore)));
        TFontSpec defaultStyle;
        SetFontStyleBits(defaultStyle, p.fontStyle);
        SetFontStyleLetters(s.Font, store.ReadString(kSection, Key(i, "FontStyle"), FontStyleLetters(defaultStyle)));
        s.UpdateMemoColors = p.update;
        // A style that sets the view's own colours never follows the view.
        const bool fixed = p.update != TMemoColors::mcNone;
        s.UseMemoFont = !fixed && store.ReadBool(kSection, Key(i, "Foreground"), false);
        s.UseMemoColor = !fixed && store.ReadBool(kSection, Key(i, "Background"), p.useMemoColor);
    }
    m_preset = store.ReadIntegerInRange(kSection, "SpeedColorSetting", 0, 0, kColorPresetCount - 1);
    m_editorFont.Name = store.ReadString(kSection, "FontName", "Courier New");
    m_editorFont.Size = store.ReadIntegerInRange(kSection, "FontSize", 10, 1, 200);
    m_editorFont.Charset = store.ReadIntegerInRange(kSection, "FontCharset", 1, 0, 255);
    if (m_editorFont.Name.empty()) {
        m_editorFont.Name = "Courier New";
    }
    Changed();
    EndParserUpdate();
}

bool TTextStyles::WriteSettings(TSettingsStore& store) const
{
    TSettingsBatch batch(store);
    bool ok = true;
    for (int i = 0; i < Count(); ++i) {
        const TTextStyle& s = m_styles[static_cast<std::size_t>(i)];
        ok = store.WriteInteger(kSection, Key(i, "Color"), static_cast<std::int32_t>(s.Color)) && ok;
        ok = store.WriteInteger(kSection, Key(i, "FontColor"), static_cast<std::int32_t>(s.Font.color)) && ok;
        ok = store.WriteString(kSection, Key(i, "FontStyle"), FontStyleLetters(s.Font)) && ok;
        ok = store.WriteBool(kSection, Key(i, "Foreground"), s.UseMemoFont) && ok;
        ok = store.WriteBool(kSection, Key(i, "Background"), s.UseMemoColor) && ok;
    }
    ok = store.WriteInteger(kSection, "SpeedColorSetting", m_preset) && ok;
    ok = store.WriteString(kSection, "FontName", m_editorFont.Name) && ok;
    ok = store.WriteInteger(kSection, "FontSize", m_editorFont.Size) && ok;
    ok = store.WriteInteger(kSection, "FontCharset", m_editorFont.Charset) && ok;
    return ok;
}

void UpdateSyntaxParser(TSyntaxParser& parser, const TTextStyles& styles, const TEditorFont& font)
{
    const TTextStyle& plain = styles[kTextStylePlainText];
    parser.BeginUpdate();
    TDefFont defaultFont = parser.DefaultAttr().Font;
    SetDefFontFace(defaultFont, font);
    SetDefFontStyle(defaultFont, plain.Font);
    parser.SetDefaultFont(defaultFont);
    parser.SetDefaultBackColor(plain.Color);

    TSyntaxScheme& scheme = parser.SyntaxScheme();
    // URLs found in the text carry attribute byte 12. Unless the definition
    // has its own attribute 12, give them one that shows the "Url" style on
    // the Plain Text background, so the overlay follows the colour preset.
    if (scheme.FontTable.GetItemByID(kTextStyleUrl) == nullptr) {
        TAttrItem url;
        url.FontID = kTextStyleUrl;
        url.GlobalAttrID = std::string(TextStyleName(kTextStyleUrl));
        url.Font.Style = fsUnderline;
        url.Font.Color = styles[kTextStyleUrl].Font.color;
        scheme.FontTable.Items.push_back(url);
    }
    for (TAttrItem& item : scheme.FontTable.Items) {
        const int index = styles.IndexOf(item.GlobalAttrID);
        if (index >= 0) {
            const TTextStyle& style = styles[index];
            SetDefFontStyle(item.Font, style.Font);
            item.BackColor = StyleBackground(styles, style);
        }
        if (item.UseDefBack) {
            item.BackColor = plain.Color;
        }
        SetDefFontFace(item.Font, font);
    }
    scheme.SchemeChanged();
    parser.EndUpdate();
}

} // namespace quillet

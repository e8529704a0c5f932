#pragma once

#include "syntax/ColorPresets.h"
#include "text/SimpleParser.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSettingsStore;
class TSyntaxParser;

// One named text style: foreground and emphasis in Font, background in Color.
struct TTextStyle {
    std::string Name;
    TColor Color = clWindow;
    TFontSpec Font;
    TMemoColors UpdateMemoColors = TMemoColors::mcNone;
    bool UseMemoColor = true; // background follows the view's background
    bool UseMemoFont = true; // font follows the view's font
    bool UpperCase = false;

    bool operator==(const TTextStyle&) const = default;
};

// Positions of the styles with a fixed role.
inline constexpr int kTextStyleWhitespace = 0;
inline constexpr int kTextStyleUrl = 12;
inline constexpr int kTextStyleMarkedBlock = 15;
inline constexpr int kTextStyleSearchMatch = 16;
inline constexpr int kTextStylePlainText = 25;

// Name of the style at position index (0..28); empty outside.
std::string_view TextStyleName(int index);

// The editor font kept with the styles.
struct TEditorFont {
    std::string Name = "Courier New";
    int Size = 10; // points
    int Charset = 1;
    bool operator==(const TEditorFont&) const = default;
};

// The program's table of 29 text styles, always in the fixed order: a style's
// position is the attribute byte of views without a highlighter. Changes made
// through the setters keep the table's rules; inside BeginParserUpdate /
// EndParserUpdate they are reported once, by the outermost EndParserUpdate.
class TTextStyles {
public:
    TTextStyles(); // the "Default" preset

    int Count() const { return static_cast<int>(m_styles.size()); }
    const TTextStyle& operator[](int index) const { return m_styles[static_cast<std::size_t>(index)]; }
    const std::vector<TTextStyle>& Items() const { return m_styles; }
    // Position of the first style named exactly name (case-sensitive); -1 if none.
    int IndexOf(std::string_view name) const;

    // The view's font and background: what UseMemoFont / UseMemoColor copy.
    void SetViewFont(const TFontSpec& font) { m_viewFont = font; }
    void SetViewBackground(TColor color) { m_viewBack = color; }

    // Setting a background stops it following the view's.
    void SetColor(int index, TColor color);
    // Any font change stops the font following the view's.
    void SetFont(int index, const TFontSpec& font);
    void SetUpdateMemoColors(int index, TMemoColors update);
    // Refused (false) for a style that sets the view's own colours; switching
    // on copies the view's background / font into the style.
    bool SetUseMemoColor(int index, bool on);
    bool SetUseMemoFont(int index, bool on);
    void SetUpperCase(int index, bool on);

    // Applies a colour preset (0..3; any other value means 0) in one bracket.
    void ApplyPreset(int preset);

    void BeginParserUpdate();
    void EndParserUpdate();
    // Called at the end of the outermost bracket when something changed, or at
    // once for a change made outside any bracket.
    std::function<void()> OnChanged;

    // "Color Scheme" keys of the settings store; missing keys give the
    // "Default" preset's values. Reads also the editor font and the preset.
    void ReadSettings(TSettingsStore& store);
    bool WriteSettings(TSettingsStore& store) const;
    const TEditorFont& EditorFont() const { return m_editorFont; }
    void SetEditorFont(const TEditorFont& font) { m_editorFont = font; }
    int Preset() const { return m_preset; }

private:
    TTextStyle* At(int index);
    void Changed();

    std::vector<TTextStyle> m_styles;
    TFontSpec m_viewFont;
    TColor m_viewBack = clWindow;
    TEditorFont m_editorFont;
    int m_preset = 0;
    int m_updateCount = 0;
    bool m_changed = false;
};

// InitTextStyles: the preset applied to styles.
inline void InitTextStyles(TTextStyles& styles, int preset)
{
    styles.ApplyPreset(preset);
}

// Font style letters of the settings: "B", "I", "U" in that order.
std::string FontStyleLetters(const TFontSpec& font);
void SetFontStyleLetters(TFontSpec& font, std::string_view letters);

// Gives a highlighter's attributes the program's style colours: the default
// attribute and every attribute whose GlobalAttrID names a style exactly take
// that style's colours, and every attribute takes the editor font's face, size
// and character set. The scheme is then recompiled.
void UpdateSyntaxParser(TSyntaxParser& parser, const TTextStyles& styles, const TEditorFont& font);

} // namespace quillet

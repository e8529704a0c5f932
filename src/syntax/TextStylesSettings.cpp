#include "syntax/TextStylesSettings.h"

#include "core/SettingsStore.h"
#include "syntax/ColorPresets.h"
#include "text/MemoOptions.h"

#include <cstdint>

namespace quillet {

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kDisplay = "Display";
constexpr std::string_view kColorScheme = "Color Scheme";
constexpr int kMaxPenStyle = 6; // solid .. inside frame

TColor ReadColor(TSettingsStore& store, std::string_view key, TColor def)
{
    return static_cast<TColor>(store.ReadInteger(kDisplay, key, static_cast<std::int32_t>(def)));
}

} // namespace

void ReadTextStylesViewSettings(TSettingsStore& store, TMemoViewSettings& s)
{
    s.useSyntaxHighlight = store.ReadBool(kGeneral, "UseSyntaxHighlight", true);
    s.highlightUrls = store.ReadBool(kGeneral, "HighlightURLs", true);
    s.drawSpecialSymbols = store.ReadBool(kGeneral, "DrawSpecialSymbols", false);

    s.visibleLineSeparator = store.ReadBool(kDisplay, "VisibleLineSeparator", false);
    s.wrappedLineSeparator = store.ReadBool(kDisplay, "WrappedLineSeparator", false);
    s.lineSeparatorStyle = store.ReadIntegerInRange(kDisplay, "LineSeparatorStyle", 0, 0, kMaxPenStyle);
    s.lineSeparatorColor = ReadColor(store, "LineSeparatorColor", clGrayText);
    s.lineHighlightVisible = store.ReadBool(kDisplay, "LineHighlightVisible", false);
    s.lineHighlightStyle = store.ReadIntegerInRange(kDisplay, "LineHighlightStyle", 0, 0, kMaxPenStyle);
    s.lineHighlightColor = ReadColor(store, "LineHighlightColor", clWhite);
    s.lineHighlightLineColor = ReadColor(store, "LineHighlightLineColor", clBlack);

    s.fontName = store.ReadString(kColorScheme, "FontName", "Courier New");
    if (s.fontName.empty()) {
        s.fontName = "Courier New";
    }
    s.fontSize = store.ReadIntegerInRange(kColorScheme, "FontSize", 10, 1, 200);
    s.fontCharset = store.ReadIntegerInRange(kColorScheme, "FontCharset", 1, 0, 255);
}

bool WriteTextStylesViewSettings(TSettingsStore& store, const TMemoViewSettings& s)
{
    TSettingsBatch batch(store);
    bool ok = store.WriteBool(kGeneral, "UseSyntaxHighlight", s.useSyntaxHighlight);
    ok = store.WriteBool(kGeneral, "HighlightURLs", s.highlightUrls) && ok;
    ok = store.WriteBool(kGeneral, "DrawSpecialSymbols", s.drawSpecialSymbols) && ok;
    ok = store.WriteBool(kDisplay, "VisibleLineSeparator", s.visibleLineSeparator) && ok;
    ok = store.WriteBool(kDisplay, "WrappedLineSeparator", s.wrappedLineSeparator) && ok;
    ok = store.WriteInteger(kDisplay, "LineSeparatorStyle", s.lineSeparatorStyle) && ok;
    ok = store.WriteInteger(kDisplay, "LineSeparatorColor", static_cast<std::int32_t>(s.lineSeparatorColor)) && ok;
    ok = store.WriteBool(kDisplay, "LineHighlightVisible", s.lineHighlightVisible) && ok;
    ok = store.WriteInteger(kDisplay, "LineHighlightStyle", s.lineHighlightStyle) && ok;
    ok = store.WriteInteger(kDisplay, "LineHighlightColor", static_cast<std::int32_t>(s.lineHighlightColor)) && ok;
    ok = store.WriteInteger(kDisplay, "LineHighlightLineColor", static_cast<std::int32_t>(s.lineHighlightLineColor))
        && ok;
    ok = store.WriteString(kColorScheme, "FontName", s.fontName) && ok;
    ok = store.WriteInteger(kColorScheme, "FontSize", s.fontSize) && ok;
    ok = store.WriteInteger(kColorScheme, "FontCharset", s.fontCharset) && ok;
    return ok;
}

} // namespace quillet

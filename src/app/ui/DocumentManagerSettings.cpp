// The editor settings a text document window is created with.
#include "app/ui/DocumentManagerSettings.h"

#include "app/OptionsCatalog.h"
#include "core/SettingsStore.h"
#include "syntax/TextStylesSettings.h"

#include <cstdint>
#include <string_view>

namespace quillet {

namespace {

constexpr std::string_view kDisplay = "Display";
constexpr std::string_view kGeneral = "General";
constexpr int kMaxPenStyle = 6; // solid .. inside frame
constexpr int kMaxBrushStyle = 7; // solid .. diagonal cross

std::uint32_t ReadColor(TSettingsStore& store, std::string_view key, std::uint32_t def)
{
    return static_cast<std::uint32_t>(store.ReadInteger(kDisplay, key, static_cast<std::int32_t>(def)));
}

} // namespace

TMemoViewSettings NactiMemoProperty(TSettingsStore& store)
{
    TMemoViewSettings s;
    s.visibleMargin = store.ReadBool(kDisplay, "VisibleMargin", s.visibleMargin);
    s.marginStyle = store.ReadIntegerInRange(kDisplay, "MarginStyle", s.marginStyle, 0, kMaxPenStyle);
    s.marginColor = ReadColor(store, "MarginColor", s.marginColor);
    s.marginPosition = store.ReadIntegerInRange(kDisplay, "MarginPosition", s.marginPosition, 1, kMaxMarginPosition);
    s.visibleGutter = store.ReadBool(kDisplay, "VisibleGutter", s.visibleGutter);
    s.gutterStyle = store.ReadIntegerInRange(kDisplay, "GutterStyle", s.gutterStyle, 0, kMaxBrushStyle);
    s.gutterColor = ReadColor(store, "GutterColor", s.gutterColor);
    s.gutterLineColor = ReadColor(store, "GutterLineColor", s.gutterLineColor);
    s.gutterWidth = store.ReadIntegerInRange(kDisplay, "GutterWidth", s.gutterWidth, 0, kMaxGutterWidth);

    s.autoIndent = store.ReadBool(kGeneral, "AutoIndent", s.autoIndent);
    s.smartTab = store.ReadBool(kGeneral, "SmartTab", s.smartTab);
    s.useTabChar = store.ReadBool(kGeneral, "UseTabChar", s.useTabChar);
    s.cursorOnTabs = store.ReadBool(kGeneral, "CursorOnTabs", s.cursorOnTabs);
    s.backUnindent = store.ReadBool(kGeneral, "BackUnindent", s.backUnindent);
    s.groupUndo = store.ReadBool(kGeneral, "GroupUndo", s.groupUndo);
    s.cursorEof = store.ReadBool(kGeneral, "CursorEOF", s.cursorEof);
    s.limitEol = store.ReadBool(kGeneral, "LimitEOL", s.limitEol);
    s.createBackup = store.ReadBool(kGeneral, "CreateBackup", s.createBackup);
    s.keepTrailingBlank = store.ReadBool(kGeneral, "KeepTrailingBlank", s.keepTrailingBlank);
    s.persistentBlock = store.ReadBool(kGeneral, "PersistentBlock", s.persistentBlock);
    s.overwriteBlock = store.ReadBool(kGeneral, "OverwriteBlock", s.overwriteBlock);
    s.findTextAtCursor = store.ReadBool(kGeneral, "FindTextAtCursor", s.findTextAtCursor);
    s.cutCopyEnabled = store.ReadBool(kGeneral, "CutCopyEnabled", s.cutCopyEnabled);
    s.tabStops = SanitizeTabStops(store.ReadString(kGeneral, "TabStops", s.tabStops));
    s.blockIndent = store.ReadIntegerInRange(kGeneral, "BlockIndent", s.blockIndent, 0, kMaxBlockIndent);
    s.spacesInTab = store.ReadIntegerInRange(kGeneral, "SpacesInTab", s.spacesInTab, 1, kMaxTabSize);
    s.outFormat = store.ReadIntegerInRange(kGeneral, "OutFormat", kDefaultOutFormat, 0, 2);
    s.showLineNumbers = store.ReadBool(kGeneral, "ShowLineNumbers", s.showLineNumbers);
    s.showLineNumbersOnGutter = store.ReadBool(kGeneral, "ShowLineNumbOnGutter", s.showLineNumbersOnGutter);
    s.selectEol = store.ReadBool(kGeneral, "SelectEOL", s.selectEol);
    s.doubleClickLine = store.ReadBool(kGeneral, "DoubleClickLine", s.doubleClickLine);
    s.tripleClickLine = store.ReadBool(kGeneral, "TripleClickLine", s.tripleClickLine);
    s.disableDragging = store.ReadBool(kGeneral, "DisableDragging", s.disableDragging);
    s.wordWrap = store.ReadBool(kGeneral, "WordWrap", s.wordWrap);
    s.wrapAtMargin = store.ReadBool(kGeneral, "WrapAtMargin", s.wrapAtMargin);

    // Syntax colouring, URLs, special symbols, separators, the current-line
    // highlight and the editor font belong to the text styles.
    ReadTextStylesViewSettings(store, s);
    return s;
}

} // namespace quillet

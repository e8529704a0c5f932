#include "app/OptionsCatalog.h"

#include "core/SettingsStore.h"
#include "syntax/DefNames.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

namespace quillet {

namespace {

using K = TOptionKind;
using P = TOptionsPage;

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Colours are stored as signed decimal text of their 32 bits.
constexpr TOptionDef kDefs[] = {
    // Environment
    {P::Environment,
        "Global",
        "OnStartup",
        K::Choice,
        "1",
        0,
        3,
        "On startup",
        "",
        "Do nothing|Create new document|Create new binary document|Open last document / project"},
    {P::Environment, "Global", "Language", K::Language, "", 0, 0, "Language"},
    {P::Environment, "Global", "DocumentTabs", K::Bool, "1", 0, 1, "View Document tabs", "Document tabs"},
    {P::Environment, "Global", "DocumentTabsPos", K::TopBottom, "1", 0, 1, "Position", "Document tabs"},
    {P::Environment, "Global", "Hide1Tabs", K::Bool, "0", 0, 1, "Hide Document tabs for 1 file", "Document tabs"},
    {P::Environment, "Global", "MultipleInstance", K::Bool, "0", 0, 1, "Allow multiple instance", "Options"},
    {P::Environment, "Global", "DontOpenMultiple", K::Bool, "1", 0, 1, "Don't open document multiply", "Options"},
    {P::Environment, "Global", "MinimizeToSysTray", K::Bool, "0", 0, 1, "Minimize to system tray", "Options"},
    {P::Environment, "Global", "UseESCtoExit", K::Bool, "0", 0, 1, "Use ESC to exit", "Options"},
    {P::Environment, "General", "CreateBackup", K::Bool, "0", 0, 1, "Create backup file", "Options"},
    // Code Editor
    {P::CodeEditor, "General", "AutoIndent", K::Bool, "1", 0, 1, "Auto indent mode", "Editor options"},
    {P::CodeEditor, "General", "SmartTab", K::Bool, "0", 0, 1, "Smart tab", "Editor options"},
    {P::CodeEditor, "General", "UseTabChar", K::Bool, "1", 0, 1, "Use tab character", "Editor options"},
    {P::CodeEditor, "General", "CursorOnTabs", K::Bool, "1", 0, 1, "Cursor on tabs", "Editor options"},
    {P::CodeEditor, "General", "BackUnindent", K::Bool, "1", 0, 1, "Backspace unindents", "Editor options"},
    {P::CodeEditor, "General", "GroupUndo", K::Bool, "1", 0, 1, "Group undo", "Editor options"},
    {P::CodeEditor, "General", "CursorEOF", K::Bool, "0", 0, 1, "Cursor beyond EOF", "Editor options"},
    {P::CodeEditor, "General", "LimitEOL", K::InvertedBool, "1", 0, 1, "Cursor beyond EOL", "Editor options"},
    {P::CodeEditor, "General", "KeepTrailingBlank", K::Bool, "1", 0, 1, "Keep trailing blanks", "Editor options"},
    {P::CodeEditor, "General", "PersistentBlock", K::Bool, "0", 0, 1, "Persistent blocks", "Editor options"},
    {P::CodeEditor, "General", "OverwriteBlock", K::Bool, "1", 0, 1, "Overwrite blocks", "Editor options"},
    {P::CodeEditor, "General", "FindTextAtCursor", K::Bool, "1", 0, 1, "Find text at cursor", "Editor options"},
    {P::CodeEditor, "General", "CutCopyEnabled", K::Bool, "1", 0, 1, "Force cut and copy enabled", "Editor options"},
    {P::CodeEditor, "General", "ShowLineNumbers", K::Bool, "1", 0, 1, "Show line numbers", "Display options"},
    {P::CodeEditor,
        "General",
        "ShowLineNumbOnGutter",
        K::Bool,
        "1",
        0,
        1,
        "Show line numbers on gutter",
        "Display options"},
    {P::CodeEditor, "General", "SelectEOL", K::Bool, "0", 0, 1, "Selection beyond EOL", "Display options"},
    {P::CodeEditor, "General", "DoubleClickLine", K::NoControl, "0", 0, 1},
    {P::CodeEditor, "General", "TripleClickLine", K::Bool, "0", 0, 1, "Triple click line", "Display options"},
    {P::CodeEditor, "General", "UseSyntaxHighlight", K::Bool, "1", 0, 1, "Use syntax highlight", "Display options"},
    {P::CodeEditor, "General", "HighlightURLs", K::Bool, "1", 0, 1, "Highlight URLs", "Display options"},
    {P::CodeEditor, "General", "DisableDragging", K::Bool, "0", 0, 1, "Disable dragging", "Display options"},
    {P::CodeEditor, "General", "DrawSpecialSymbols", K::Bool, "0", 0, 1, "Draw special symbols", "Display options"},
    {P::CodeEditor, "General", "WordWrap", K::Bool, "0", 0, 1, "Word wrap", "Display options"},
    {P::CodeEditor, "General", "WrapAtMargin", K::Bool, "0", 0, 1, "Wrap at margin", "Display options"},
    {P::CodeEditor, "General", "TabStops", K::Number, "9,17", 1, kMaxTabStop, "Tab stops", "Tabs and indent"},
    {P::CodeEditor, "General", "BlockIndent", K::Number, "1", 0, kMaxBlockIndent, "Block indent", "Tabs and indent"},
    {P::CodeEditor, "General", "SpacesInTab", K::Number, "8", 1, kMaxTabSize, "Tab size", "Tabs and indent"},
    {P::CodeEditor,
        "General",
        "OutFormat",
        K::Choice,
        "2",
        0,
        2,
        "Output format",
        "Tabs and indent",
        "Windows|Mac|Unix"},
    // Display
    {P::Display, "Display", "VisibleMargin", K::Bool, "1", 0, 1, "Visible right margin", "Right margin"},
    {P::Display, "Display", "MarginStyle", K::PenStyle, "0", 0, 6, "Style", "Right margin"},
    {P::Display, "Display", "MarginColor", K::Color, "-2147483631", kIntMin, kIntMax, "Color", "Right margin"},
    {P::Display, "Display", "MarginPosition", K::Number, "80", 2, kMaxMarginPosition, "Position", "Right margin"},
    {P::Display, "Display", "VisibleGutter", K::Bool, "1", 0, 1, "Visible gutter", "Gutter"},
    {P::Display, "Display", "GutterStyle", K::BrushStyle, "0", 0, 7, "Style", "Gutter"},
    {P::Display, "Display", "GutterColor", K::Color, "-2147483633", kIntMin, kIntMax, "Color", "Gutter"},
    {P::Display, "Display", "GutterLineColor", K::Color, "8421504", kIntMin, kIntMax, "Line color", "Gutter"},
    {P::Display, "Display", "GutterWidth", K::Number, "20", 5, kMaxGutterWidth, "Width", "Gutter"},
    {P::Display, "Display", "VisibleLineSeparator", K::Bool, "0", 0, 1, "Visible line separator", "Line separator"},
    {P::Display, "Display", "WrappedLineSeparator", K::Bool, "0", 0, 1, "Wrapped line separator", "Line separator"},
    {P::Display, "Display", "LineSeparatorStyle", K::PenStyle, "0", 0, 6, "Style", "Line separator"},
    {P::Display, "Display", "LineSeparatorColor", K::Color, "-2147483631", kIntMin, kIntMax, "Color", "Line separator"},
    {P::Display, "Display", "LineHighlightVisible", K::Bool, "0", 0, 1, "Visible line highlight", "Line highlight"},
    {P::Display, "Display", "LineHighlightStyle", K::PenStyle, "0", 0, 6, "Line style", "Line highlight"},
    {P::Display, "Display", "LineHighlightColor", K::Color, "16777215", kIntMin, kIntMax, "Color", "Line highlight"},
    {P::Display, "Display", "LineHighlightLineColor", K::Color, "0", kIntMin, kIntMax, "Line color", "Line highlight"},
    // Hex Editor
    {P::HexEditor, "HexEditor", "ColumnWidth", K::ValueChoice, "2", 1, 4, "Column width", "Layout", "1|2|4"},
    {P::HexEditor, "HexEditor", "LineSize", K::ValueChoice, "16", 16, 64, "Line size", "Layout", "16|32|64"},
    {P::HexEditor,
        "HexEditor",
        "OffsetDisplay",
        K::Choice,
        "0",
        0,
        3,
        "Offset display",
        "Layout",
        "Hex|Dec|Octal|None"},
    {P::HexEditor, "HexEditor", "Background", K::Color, "-2147483643", kIntMin, kIntMax, "Background", "Colors"},
    {P::HexEditor,
        "HexEditor",
        "ChangedBackground",
        K::Color,
        "-2147483624",
        kIntMin,
        kIntMax,
        "Changed background",
        "Colors"},
    {P::HexEditor, "HexEditor", "ChangedText", K::Color, "128", kIntMin, kIntMax, "Changed text", "Colors"},
    {P::HexEditor, "HexEditor", "CursorFrame", K::Color, "8388608", kIntMin, kIntMax, "Cursor frame", "Colors"},
    {P::HexEditor, "HexEditor", "EvenColumn", K::Color, "8388608", kIntMin, kIntMax, "Even column", "Colors"},
    {P::HexEditor, "HexEditor", "OddColumn", K::Color, "16711680", kIntMin, kIntMax, "Odd column", "Colors"},
    {P::HexEditor, "HexEditor", "Offset", K::Color, "0", kIntMin, kIntMax, "Offset color", "Colors"},
    {P::HexEditor, "HexEditor", "HexDrawSpecialSymbols", K::Bool, "1", 0, 1, "Draw special symbols", "Layout"},
};

constexpr std::array<std::uint32_t, 16> kNamedColorValues{0x000000,
    0x000080,
    0x008000,
    0x008080,
    0x800000,
    0x800080,
    0x808000,
    0x808080,
    0xC0C0C0,
    0x0000FF,
    0x00FF00,
    0x00FFFF,
    0xFF0000,
    0xFF00FF,
    0xFFFF00,
    0xFFFFFF};
constexpr std::uint32_t kSystemColorCount = 25; // clScrollBar .. clInfoBk

std::vector<TNamedColor> BuildNamedColors()
{
    std::vector<TNamedColor> colors;
    for (std::uint32_t value : kNamedColorValues) {
        colors.push_back({ColorToIdent(value).value_or(""), value});
    }
    for (std::uint32_t n = 0; n < kSystemColorCount; ++n) {
        const std::uint32_t value = 0x80000000u + n;
        colors.push_back({ColorToIdent(value).value_or(""), value});
    }
    return colors;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// "Value must be greater or equal than %d." for a number below the minimum,
// its upper twin for one above the maximum; "NotInteger" for no number.
std::optional<TOptionsFailure> CheckNumber(std::string_view text,
    std::int32_t low,
    std::int32_t high,
    bool lowMessageIsNotInteger,
    TOptionsField field,
    TOptionsPage page,
    std::string resetTo)
{
    std::int32_t value = 0;
    const bool isNumber = ParseOptionInteger(text, value);
    if (isNumber && value >= low && value <= high) {
        return std::nullopt;
    }
    TOptionsFailure failure{field, page, "", "", "", std::move(resetTo)};
    if (isNumber && value > high) {
        failure.messageKey = "MustBeLess";
        failure.messageDefault = "Value must be less or equal than %d.";
        failure.argument = std::to_string(high);
    } else if (!isNumber || lowMessageIsNotInteger) {
        failure.messageKey = "NotInteger";
        failure.messageDefault = "\"%s\" is not a valid integer value.";
        failure.argument = std::string(text);
    } else {
        failure.messageKey = "MustBeGreater";
        failure.messageDefault = "Value must be greater or equal than %d.";
        failure.argument = std::to_string(low);
    }
    return failure;
}

} // namespace

std::span<const TOptionDef> OptionDefs()
{
    return kDefs;
}

const TOptionDef* FindOptionDef(std::string_view section, std::string_view key)
{
    for (const TOptionDef& def : kDefs) {
        if (def.section == section && def.key == key) {
            return &def;
        }
    }
    return nullptr;
}

std::vector<std::string> OptionChoices(const TOptionDef& def)
{
    std::vector<std::string> entries;
    std::string_view rest = def.choices;
    while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        entries.emplace_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
    }
    return entries;
}

std::int32_t DefaultInteger(const TOptionDef& def)
{
    std::int32_t value = 0;
    return ParseOptionInteger(def.defaultValue, value) ? value : 0;
}

std::int32_t ReadOptionInteger(TSettingsStore& store, const TOptionDef& def)
{
    if (def.kind == TOptionKind::Color) {
        return store.ReadInteger(def.section, def.key, DefaultInteger(def));
    }
    if (def.kind == TOptionKind::ValueChoice) {
        // Only the listed values are usable; anything else is the default.
        const std::int32_t value = store.ReadInteger(def.section, def.key, DefaultInteger(def));
        for (const std::string& entry : OptionChoices(def)) {
            if (entry == std::to_string(value)) {
                return value;
            }
        }
        return DefaultInteger(def);
    }
    return store.ReadIntegerInRange(def.section, def.key, DefaultInteger(def), def.minimum, def.maximum);
}

bool ReadOptionBool(TSettingsStore& store, const TOptionDef& def)
{
    return store.ReadBool(def.section, def.key, def.defaultValue == "1");
}

bool ParseOptionInteger(std::string_view text, std::int32_t& value)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::optional<std::vector<int>> ParseTabStopList(std::string_view text)
{
    std::vector<int> stops;
    while (true) {
        const std::size_t comma = text.find(',');
        std::int32_t stop = 0;
        if (!ParseOptionInteger(text.substr(0, comma), stop) || stop < 1 || stop > kMaxTabStop
            || (!stops.empty() && stop <= stops.back())) {
            return std::nullopt;
        }
        stops.push_back(stop);
        if (comma == std::string_view::npos) {
            return stops;
        }
        text.remove_prefix(comma + 1);
    }
}

std::string SanitizeTabStops(std::string_view text)
{
    return ParseTabStopList(text) ? std::string(text) : std::string("9,17");
}

std::optional<std::vector<std::string>> ParseAssociationMasks(std::string_view text)
{
    std::vector<std::string> extensions;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(";,");
        const std::string_view item = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (item.empty()) {
            continue;
        }
        if (item.size() < 3 || item.substr(0, 2) != "*.") {
            return std::nullopt;
        }
        std::string extension;
        for (char c : item.substr(2)) {
            const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (!letterOrDigit && c != '_' && c != '+' && c != '-') {
                return std::nullopt;
            }
            extension += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
        extensions.push_back(std::move(extension));
    }
    return extensions;
}

std::optional<TOptionsFailure> ValidateOptions(const TOptionsInput& input)
{
    if (auto failure =
            CheckNumber(input.blockIndent, 0, kMaxBlockIndent, true, TOptionsField::BlockIndent, P::CodeEditor, "1")) {
        return failure;
    }
    if (!ParseTabStopList(input.tabStops)) {
        return TOptionsFailure{TOptionsField::TabStops,
            P::CodeEditor,
            "NotSequence",
            "Must be insert a comma separated increasing sequence of integers.",
            "",
            "9,17"};
    }
    if (auto failure = CheckNumber(input.tabSize, 1, kMaxTabSize, false, TOptionsField::TabSize, P::CodeEditor, "1")) {
        return failure;
    }
    if (input.marginEnabled) {
        if (auto failure = CheckNumber(
                input.marginPosition, 2, kMaxMarginPosition, false, TOptionsField::MarginPosition, P::Display, "80")) {
            return failure;
        }
    }
    if (input.gutterEnabled) {
        if (auto failure = CheckNumber(
                input.gutterWidth, 5, kMaxGutterWidth, false, TOptionsField::GutterWidth, P::Display, "20")) {
            return failure;
        }
    }
    if (auto failure = CheckNumber(
            input.fontSize, kMinFontSize, kMaxFontSize, true, TOptionsField::FontSize, P::ColorsAndFont, "10")) {
        return failure;
    }
    if (!ParseAssociationMasks(input.otherMasks)) {
        return TOptionsFailure{TOptionsField::OtherMasks,
            P::FileAssociations,
            "NotSemicolon",
            "Must be insert a semicolon of extensions.",
            "",
            ""};
    }
    return std::nullopt;
}

std::span<const TNamedColor> NamedColors()
{
    static const std::vector<TNamedColor> colors = BuildNamedColors();
    return colors;
}

std::string ColorToText(std::uint32_t color)
{
    for (const TNamedColor& named : NamedColors()) {
        if (named.value == color) {
            return std::string(named.name);
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
    return text;
}

std::optional<std::uint32_t> ColorFromText(std::string_view text)
{
    text = Trim(text);
    for (const TNamedColor& named : NamedColors()) {
        if (named.name == text) {
            return named.value;
        }
    }
    if (text.size() < 2 || text.size() > 9 || text.front() != '$') {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string ColorToStored(std::uint32_t color)
{
    return std::to_string(static_cast<std::int32_t>(color));
}

THexOptions ReadHexOptions(TSettingsStore& store)
{
    const auto integer = [&store](std::string_view key) {
        return ReadOptionInteger(store, *FindOptionDef("HexEditor", key));
    };
    const auto color = [&integer](std::string_view key) {
        return static_cast<std::uint32_t>(integer(key));
    };
    THexOptions options;
    options.columnWidth = integer("ColumnWidth");
    options.lineSize = integer("LineSize");
    options.offsetDisplay = integer("OffsetDisplay");
    options.background = color("Background");
    options.changedBackground = color("ChangedBackground");
    options.changedText = color("ChangedText");
    options.cursorFrame = color("CursorFrame");
    options.evenColumn = color("EvenColumn");
    options.oddColumn = color("OddColumn");
    options.offset = color("Offset");
    options.drawSpecialSymbols = ReadOptionBool(store, *FindOptionDef("HexEditor", "HexDrawSpecialSymbols"));
    options.createBackup = store.ReadBool("General", "CreateBackup", false);
    options.findTextAtCursor = store.ReadBool("General", "FindTextAtCursor", true);
    options.useSyntaxHighlight = store.ReadBool("General", "UseSyntaxHighlight", true);
    return options;
}

} // namespace quillet

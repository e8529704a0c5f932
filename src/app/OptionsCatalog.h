#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TSettingsStore;

// Pages of the options dialog, in the order of its tree.
enum class TOptionsPage {
    Environment,
    CodeEditor,
    Display,
    ColorsAndFont,
    HexEditor,
    SyntaxDefinition,
    FileAssociations,
    UserActions,
};
inline constexpr int kOptionsPageCount = 8;

// How a setting is kept and which control edits it.
enum class TOptionKind {
    Bool, // check box
    InvertedBool, // check box; checked stores false
    NoControl, // no control; the value read is written back unchanged
    TopBottom, // radio buttons "Top" (true) and "Bottom" (false)
    Number, // text box holding an integer, validated on OK
    Choice, // drop-down list; the entry's position is stored
    ValueChoice, // drop-down list; the entry's own text is stored
    Color, // colour list with "Select custom Color"
    PenStyle, // "0" to "6" drawn as line samples
    BrushStyle, // "0" to "7" drawn as pattern samples
    Language, // "English (built in)" and the language files
};

// One setting with its key, default (as stored text), range, control and the
// group box it sits in on its page (empty: no group). Captions and group
// names are the English texts; the dialog translates them.
struct TOptionDef {
    TOptionsPage page;
    std::string_view section;
    std::string_view key;
    TOptionKind kind;
    std::string_view defaultValue;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::string_view caption = {};
    std::string_view group = {};
    std::string_view choices = {}; // Choice and ValueChoice: entries separated by "|"
};

// Every setting that has a control (or is written back) on the pages
// Environment, Code Editor, Display and Hex Editor, in page order.
std::span<const TOptionDef> OptionDefs();
const TOptionDef* FindOptionDef(std::string_view section, std::string_view key);
// The entries of a Choice or ValueChoice definition.
std::vector<std::string> OptionChoices(const TOptionDef& def);

// Reads a setting by its definition: integers outside the definition's range
// are clamped into it, values that are not numbers give the default. Colours
// are returned as their stored 32-bit pattern.
std::int32_t ReadOptionInteger(TSettingsStore& store, const TOptionDef& def);
bool ReadOptionBool(TSettingsStore& store, const TOptionDef& def);
std::int32_t DefaultInteger(const TOptionDef& def);

// ---- validation of the dialog's typed fields -------------------------------

// The typed fields that OK and Apply check, in the order they are checked.
enum class TOptionsField { BlockIndent, TabStops, TabSize, MarginPosition, GutterWidth, FontSize, OtherMasks };

struct TOptionsInput {
    std::string blockIndent;
    std::string tabStops;
    std::string tabSize;
    std::string marginPosition;
    bool marginEnabled = true;
    std::string gutterWidth;
    bool gutterEnabled = true;
    std::string fontSize;
    std::string otherMasks;
};

// The first failed check: the message (translation key, English format and
// its one argument), the page the field is on and what the field is reset to
// (resetTo is empty for a field that keeps its text).
struct TOptionsFailure {
    TOptionsField field;
    TOptionsPage page;
    std::string messageKey;
    std::string messageDefault;
    std::string argument; // "%s" or "%d" of the message; empty when it has none
    std::string resetTo;
};

// Checks the fields in order and returns the first failure; nullopt when all
// are valid. Numbers have upper bounds as well as lower ones, so no stored
// value can make a document fail to open.
std::optional<TOptionsFailure> ValidateOptions(const TOptionsInput& input);

// Limits the checks use (also the read clamps of the same settings).
inline constexpr int kMaxBlockIndent = 64;
inline constexpr int kMaxTabStop = 1000;
inline constexpr int kMaxTabSize = 100;
inline constexpr int kMaxMarginPosition = 1000;
inline constexpr int kMaxGutterWidth = 500;
inline constexpr int kMinFontSize = 1;
inline constexpr int kMaxFontSize = 200;

// A decimal integer with an optional sign and surrounding blanks.
bool ParseOptionInteger(std::string_view text, std::int32_t& value);
// A comma-separated, strictly increasing list of integers from 1 to
// kMaxTabStop; nullopt when the text is not one.
std::optional<std::vector<int>> ParseTabStopList(std::string_view text);
// The tab stops to use for stored text: the text when valid, else "9,17".
std::string SanitizeTabStops(std::string_view text);

// The extensions (without "*.", lower case) of an "Other" field such as
// "*.abc;*.de": ";" and "," separate items, items are trimmed and lower-cased,
// empty items are skipped. nullopt when an item is shorter than three
// characters, does not begin with "*." or holds other characters than
// letters, digits, "_", "+" and "-".
std::optional<std::vector<std::string>> ParseAssociationMasks(std::string_view text);

// ---- colours ---------------------------------------------------------------

// The sixteen named colours and the system colours, as the colour lists show
// them: the name and the stored value.
struct TNamedColor {
    std::string_view name;
    std::uint32_t value;
};
std::span<const TNamedColor> NamedColors();
// The list text of a colour: its name, or "$" and eight hexadecimal digits.
std::string ColorToText(std::uint32_t color);
// The inverse of ColorToText; nullopt for text that is neither.
std::optional<std::uint32_t> ColorFromText(std::string_view text);
// The stored form of a colour: signed decimal text of its 32 bits.
std::string ColorToStored(std::uint32_t color);

// ---- hex editor settings ---------------------------------------------------

// What binary document windows take from the store: the "HexEditor" section
// and the keys they share with the text editor. Values are clamped on read.
struct THexOptions {
    int columnWidth = 2; // 1, 2 or 4
    int lineSize = 16; // 16, 32 or 64
    int offsetDisplay = 0; // 0 hex, 1 dec, 2 octal, 3 none
    std::uint32_t background = 0x80000005;
    std::uint32_t changedBackground = 0x80000018;
    std::uint32_t changedText = 128;
    std::uint32_t cursorFrame = 0x800000;
    std::uint32_t evenColumn = 0x800000;
    std::uint32_t oddColumn = 0xFF0000;
    std::uint32_t offset = 0;
    bool drawSpecialSymbols = true;
    bool createBackup = false;
    bool findTextAtCursor = true;
    bool useSyntaxHighlight = true;
    bool operator==(const THexOptions&) const = default;
};
THexOptions ReadHexOptions(TSettingsStore& store);

} // namespace quillet

#pragma once

#include "text/Colors.h"

#include <cstdint>
#include <string>

namespace quillet {

// Display options of one editor view, bit 0 first. The numeric values are
// stored in settings and exchanged with the main window, so they never move.
enum TMemoOption : std::uint32_t {
    moDrawMargin = 1u << 0,
    moDrawGutter = 1u << 1,
    moThumbTracking = 1u << 2,
    moDblClickLine = 1u << 3,
    moColorSyntax = 1u << 4,
    moLineNumbers = 1u << 5,
    moOverwriteCaret = 1u << 6,
    moLeftIndent = 1u << 7,
    moDisableDrag = 1u << 8,
    moSelectOnlyText = 1u << 9,
    moLineNumbersOnGutter = 1u << 10,
    moNotePadCursorStyle = 1u << 11,
    moBreakWordAtMargin = 1u << 12,
    moDrawSpecialSymbols = 1u << 13,
    moDisableRightClickMove = 1u << 14,
    moColoredLineStyle = 1u << 15,
    moDisableInvertedSel = 1u << 16,
    moHideInvisibleLines = 1u << 17,
    moDrawLineBookmarks = 1u << 18,
    moShowScrollHint = 1u << 19,
    moUseReadOnlyColor = 1u << 20,
    moExtendedSel = 1u << 21,
    moCenterOnBookmark = 1u << 22,
    moTripleClick = 1u << 23,
    moLimitLineNumbers = 1u << 24,
};

using TMemoOptions = std::uint32_t;

// What a new view starts with: margin, gutter, thumb tracking, colour syntax,
// line numbers (in the gutter), overwrite caret and line bookmarks.
inline constexpr TMemoOptions kDefaultMemoOptions = moDrawMargin | moDrawGutter | moThumbTracking | moColorSyntax
    | moLineNumbers | moOverwriteCaret | moLineNumbersOnGutter | moDrawLineBookmarks;
static_assert(kDefaultMemoOptions == 263287);

inline constexpr bool HasOption(TMemoOptions options, TMemoOption flag)
{
    return (options & flag) != 0;
}
inline constexpr TMemoOptions WithOption(TMemoOptions options, TMemoOption flag, bool on)
{
    return on ? (options | flag) : (options & ~static_cast<TMemoOptions>(flag));
}

// Horizontal placement of line numbers and gutter images.
enum class TLineNumAlign { Left, Right };

// The editor settings the main window reads from the "Display", "General" and
// "Color Scheme" sections and applies to every view; defaults are the values
// used when a key is missing. Colours are 0x00BBGGRR or system colours (0x80nn).
struct TMemoViewSettings {
    // "Display"
    bool visibleMargin = true;
    int marginStyle = 0;
    std::uint32_t marginColor = clGrayText;
    int marginPosition = 80;
    bool visibleGutter = true;
    int gutterStyle = 0;
    std::uint32_t gutterColor = clBtnFace;
    std::uint32_t gutterLineColor = clGray;
    int gutterWidth = 20;
    bool visibleLineSeparator = false;
    bool wrappedLineSeparator = false;
    int lineSeparatorStyle = 0;
    std::uint32_t lineSeparatorColor = clGrayText;
    bool lineHighlightVisible = false;
    int lineHighlightStyle = 0;
    std::uint32_t lineHighlightColor = 0xFFFFFF;
    std::uint32_t lineHighlightLineColor = 0;
    // "General", view side
    bool showLineNumbers = true;
    bool showLineNumbersOnGutter = true;
    bool selectEol = false;
    bool doubleClickLine = false;
    bool tripleClickLine = false;
    bool useSyntaxHighlight = true;
    bool disableDragging = false;
    bool drawSpecialSymbols = false;
    bool wordWrap = false;
    bool wrapAtMargin = false;
    // "General", buffer side (handed on to the buffer by the document window)
    bool autoIndent = true;
    bool smartTab = false;
    bool useTabChar = true;
    bool cursorOnTabs = true;
    bool backUnindent = true;
    bool groupUndo = true;
    bool cursorEof = false;
    bool limitEol = true;
    bool createBackup = false;
    bool keepTrailingBlank = true;
    bool persistentBlock = false;
    bool overwriteBlock = true;
    bool findTextAtCursor = true;
    bool cutCopyEnabled = true;
    bool highlightUrls = true;
    std::string tabStops = "9,17";
    int blockIndent = 1;
    int spacesInTab = 8;
    int outFormat = 0;
    // "Color Scheme"
    int fontCharset = 1;
    std::string fontName = "Courier New";
    int fontSize = 10;
};

// The view options that follow from the settings, starting from `base` (the
// view's default set) and setting or clearing each flag a setting controls.
TMemoOptions ApplyViewSettings(TMemoOptions base, const TMemoViewSettings& settings);

} // namespace quillet

#pragma once

#include "text/SimpleParser.h"

#include <QColor>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A colour of the engines (0x00BBGGRR, or 0x800000nn for system colour n) as a
// QColor from the application palette; clNone gives an invalid QColor.
QColor ToQColor(TColor color);

// 8-bit text of the buffer (system code page) for display, and typed text back
// to 8 bits; characters the code page cannot hold become '?'.
QString FromSystemText(std::string_view text);
QChar SystemChar(unsigned char byte);
std::string ToSystemText(const QString& text);

// Well-known positions in the view's style list.
inline constexpr int kStylePlainWhitespace = 0;
inline constexpr int kStyleUrl = 12;
inline constexpr int kStyleBreakPoint = 13;
inline constexpr int kStyleErrorLine = 14;
inline constexpr int kStyleMarkedBlock = 15;
inline constexpr int kStyleSearchMatch = 16;
inline constexpr int kStylePlainText = 25;
inline constexpr int kTextStyleCount = 29;

// One text style of a view: foreground and emphasis, and a background that may
// follow the view's own background.
struct TMemoTextStyle {
    std::string name;
    TColor fontColor = 0;
    TColor color = clWindow; // background
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool useMemoColor = true; // background follows the view's background
    bool useMemoFont = true;
};

// The 29 styles a view starts with (the "Default" colour set); the text styles
// owner replaces them through TTarnMemo::SetTextStyles.
std::vector<TMemoTextStyle> DefaultTextStyles();

// Built-in symbols of blanks: an unset symbol (0) or the document window's 255
// for spaces draws a centred dot.
struct TSpecialSymbols {
    unsigned char spaceChar = 255;
    unsigned char tabChar = 187;
    std::string eolString = "\xB6";
    std::string eofString = "_";
};

// How the caret line's frame is drawn over its fill: a line above and one
// below the row, or one line below it.
enum class TLineHighlightShape { DoubleLine, SingleLine };

struct TLineHighlight {
    bool visible = false;
    TColor brush = 0xFFFFFF;
    TColor pen = 0;
    int penStyle = 0; // see PenStyleOf
    TLineHighlightShape shape = TLineHighlightShape::DoubleLine;
};

struct TLineSeparator {
    bool betweenLines = false;
    bool betweenWrappedRows = false;
    TColor color = clGrayText;
    int penStyle = 0; // see PenStyleOf
};

// A stored pen style (0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot,
// 5 none, 6 inside frame, drawn solid); unknown values draw solid.
Qt::PenStyle PenStyleOf(int style);

// Resolved look of one attribute byte: the font to draw with and its colours
// (an invalid background means "the row's background").
struct TResolvedStyle {
    QFont font;
    QColor foreground;
    QColor background;
    bool upperCase = false;
    bool cellAligned = false; // every glyph advances exactly one cell of the view font
    // Glyphs of the 256 byte values in this font, for drawing runs cell by cell
    // without shaping (valid once prepared).
    QRawFont rawFont;
    std::array<quint32, 256> glyphs{};
};

// Fills rawFont and glyphs of a resolved style from its font.
void PrepareGlyphs(TResolvedStyle& style);

} // namespace quillet

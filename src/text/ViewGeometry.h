#pragma once

#include "text/MemoOptions.h"
#include "text/TabStops.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

// Measurements of the view's plain font; the widget implements it on its font
// metrics, tests with fixed numbers. All values in pixels.
class IFontMeasure {
public:
    virtual ~IFontMeasure() = default;
    virtual int AverageCharWidth() const = 0;
    virtual int LineHeight() const = 0;
    // Advance of one 8-bit character in the plain font (used only when the view
    // measures text, i.e. without UseMonoFont).
    virtual int CharWidth(unsigned char c) const = 0;
};

// Horizontal layout of the strip left of the text, in pixels from the view's
// left edge.
struct TGutterLayout {
    int gutterWidth = 0; // 0 when the gutter is hidden
    int lineNumLeft = 0; // where line numbers are drawn
    int lineNumWidth = 0; // 0 when line numbers are off
    bool numbersInGutter = false;
    int foldCellLeft = 0;
    int foldCellWidth = 0; // one line height while folding is active, else 0
    int textLeft = 0; // first pixel of the text area
};

struct TGutterInput {
    TMemoOptions options = kDefaultMemoOptions;
    int gutterWidth = 32;
    int gutterLineIndent = 0;
    int leftIndent = 0;
    int avgCharWidth = 8;
    int lineHeight = 16;
    std::size_t lineCount = 1;
    std::size_t lastShowableLine = 1; // 1-based number of the last line the window could show
    int digitsOverride = -1; // >= 1 replaces the computed digit count
    int imageWidth = 0; // room for gutter images left of numbers drawn in the gutter
};

int DecimalDigits(std::size_t n);
TGutterLayout ComputeGutterLayout(const TGutterInput& in);

// Column and pixel positions inside one line. Columns are display columns
// (tabs expanded by the tab stops); pixels are counted from the line's start.
// With a monospaced font every column is one average character cell and the
// mapping is arithmetic over columns; otherwise each character is measured and
// a tab spans its columns in average cells. Positions past the line's end
// continue in average cells.
class TLineGeometry {
public:
    TLineGeometry(const IFontMeasure& font, const TTabStops& tabs, bool monospaced)
        : m_font(font)
        , m_tabs(tabs)
        , m_mono(monospaced)
    {
    }

    bool Monospaced() const { return m_mono; }
    const TTabStops& Tabs() const { return m_tabs; }
    const IFontMeasure& Font() const { return m_font; }

    // Display column where character `pos` starts (pos may exceed the text).
    std::int64_t ColumnOfPosition(std::string_view text, std::size_t pos) const;
    // Display column reached after characters from..to-1 when `from` starts at `column`.
    std::int64_t ColumnsOver(std::string_view text, std::size_t from, std::size_t to, std::int64_t column) const;
    // Character index at a display column; a column inside a tab gives the tab.
    // Columns past the end give text.size() + the excess.
    std::size_t PositionOfColumn(std::string_view text, std::int64_t column) const;
    // Pixel x where a display column starts.
    std::int64_t PixelOfColumn(std::string_view text, std::int64_t column) const;
    // Column boundary nearest to pixel x (x < 0 gives 0). With
    // `clampToText` the result stops at the end of the text.
    std::int64_t ColumnOfPixel(std::string_view text, std::int64_t x, bool clampToText = false) const;
    // Width in pixels of character `pos` when it starts at display column `column`.
    int CharAdvance(std::string_view text, std::size_t pos, std::int64_t column) const;
    // Columns character `pos` occupies when it starts at `column` (tabs > 1).
    std::int64_t CharColumns(std::string_view text, std::size_t pos, std::int64_t column) const;

private:
    const IFontMeasure& m_font;
    const TTabStops& m_tabs;
    bool m_mono;
};

} // namespace quillet

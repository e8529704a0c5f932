// Painting of the editor view: gutter, line numbers, fold marks, then the text
// row by row in runs of equal style.
#include "core/CharCase.h"
#include "text/ui/TarnMemo.h"

#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdio>

namespace quillet {

namespace {

// A run of byte values as the characters of the system code page.
QString Shown(const QString& bytes)
{
    QString out(bytes.size(), QChar());
    for (qsizetype k = 0; k < bytes.size(); ++k) {
        out[k] = SystemChar(static_cast<unsigned char>(bytes[k].unicode() & 0xFF));
    }
    return out;
}

QColor Mix(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

} // namespace

void TTarnMemo::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    QRect rect = event->rect();
    if (m_useMonoFont) {
        // Whole character cells, so runs are never cut through a glyph.
        const int cw = std::max(1, m_charWidth);
        const int left = m_layout.textLeft + ((rect.left() - m_layout.textLeft) / cw - 1) * cw;
        rect.setLeft(std::max(0, std::min(rect.left(), left)));
        rect.setRight(rect.right() + cw);
    }
    PaintArea(painter, rect);
}

// One paint pass over the view. The values every row needs are fixed when the
// pass starts; each row is then painted in steps: background, text runs, the
// row end, the row's decorations, its gutter cells and its fold cell.
class TTarnMemoPainter {
public:
    TTarnMemoPainter(TTarnMemo& memo, QPainter& p, const QRect& clip);
    void Paint();

private:
    // How a run of characters is shown.
    enum class TRunKind { None, Plain, Selected, Found };
    // Run attributes besides style bytes: no run collected yet, a tab or a
    // shown space just ended the run, and the attribute with which the owner's
    // colour hook asks to choose the font itself.
    static constexpr int kNoRunAttr = -2;
    static constexpr int kAfterBlankAttr = -3;
    static constexpr int kOwnerStyleAttr = -1;
    // Shown spaces and the owner's text behind the line end.
    static constexpr TColor kFaintTextColor = clGrayText;

    // One row being painted; x and col end where the text ended.
    struct TRowPaint {
        TTarnMemo::TRow row;
        int line = 0;
        int y = 0;
        QRect rect;
        std::string_view text;
        const TMemoTextStyle* styleOfLine = nullptr;
        std::int64_t originX = 0;
        std::pair<int, int> sel{0, 0};
        std::int64_t x = 0;
        std::int64_t col = 0;
    };
    struct TRun {
        QString text;
        int attr = kNoRunAttr;
        TRunKind kind = TRunKind::None;
        std::int64_t x = 0;
    };

    void UsePen(const QColor& colour);
    void ForgetPen() { m_pen = QColor(); }
    void PaintColumnBackgrounds();
    void PaintEndOfFileRow(const QRect& rowRect, bool& eofDrawn);
    void PaintRow(int line, int sub, int y);
    void PaintRowBackground(const TRowPaint& row);
    void PaintTextRuns(TRowPaint& row);
    void PaintBlank(const TRowPaint& row, unsigned char c, TRunKind kind, int advance);
    void FlushRun(const TRowPaint& row, TRun& run);
    void PaintGlyphs(const TRowPaint& row, const TRun& run, const TResolvedStyle& style, bool own, const QColor& fg);
    void PaintRowEnd(const TRowPaint& row);
    void PaintRowDecorations(const TRowPaint& row);
    void PaintGutterCells(const TRowPaint& row);
    void PaintLineNumber(const TRowPaint& row);
    void PaintFoldCell(const TRowPaint& row);
    void PaintOverlays();
    bool InFound(int line, std::int64_t col) const;

    TTarnMemo& m;
    QPainter& p;
    const QRect m_clip;
    const int m_width;
    const int m_height;
    const int m_lh;
    const int m_cw;
    const int m_textLeft;
    const int m_count;
    const bool m_focused;
    const int m_ascent;
    QColor m_viewBack;
    const QColor m_viewText;
    const QColor m_selText;
    const QColor m_selBack;
    const QColor m_matchText;
    const QColor m_matchBack;
    const QColor m_lineNumColour;
    const bool m_showSelection;
    const TSelKind m_selKind;
    const TTextPoint m_s0;
    const TTextPoint m_s1;
    const bool m_foundShown;
    const TTextRect m_found;
    const bool m_symbols;
    const int m_caretLine;
    const TLineGeometry m_geometry;
    const bool m_drawGutter;
    QColor m_pen; // pen changes cost; runs of one colour share the pen
};

TTarnMemoPainter::TTarnMemoPainter(TTarnMemo& memo, QPainter& painter, const QRect& clip)
    : m(memo)
    , p(painter)
    , m_clip(clip)
    , m_width(memo.viewport()->width())
    , m_height(memo.viewport()->height())
    , m_lh(std::max(1, memo.m_lineHeight))
    , m_cw(std::max(1, memo.m_charWidth))
    , m_textLeft(memo.m_layout.textLeft)
    , m_count(memo.m_source->GetStrCount())
    , m_focused(memo.hasFocus())
    , m_ascent(memo.m_measure.Ascent())
    , m_viewBack(ToQColor(memo.m_colors.back))
    , m_viewText(ToQColor(memo.m_colors.text))
    , m_selText(ToQColor(memo.m_colors.selText))
    , m_selBack(ToQColor(memo.m_colors.selBack))
    , m_matchText(ToQColor(memo.m_colors.match))
    , m_matchBack(ToQColor(memo.m_colors.matchBack))
    , m_lineNumColour(ToQColor(memo.m_colors.lineNum))
    , m_showSelection(!(memo.m_hideSelection && !m_focused) && memo.m_source->SelectionKind() != TSelKind::selNone)
    , m_selKind(memo.m_source->SelectionKind())
    , m_s0(std::min(memo.m_source->SelStart(), memo.m_source->SelEnd()))
    , m_s1(std::max(memo.m_source->SelStart(), memo.m_source->SelEnd()))
    , m_foundShown(memo.m_source->FoundVisible())
    , m_found(memo.m_source->FoundRect())
    , m_symbols(HasOption(memo.m_options, moDrawSpecialSymbols))
    , m_caretLine(memo.m_source->GetCurLine())
    , m_geometry(memo.Geometry())
    , m_drawGutter(memo.m_layout.gutterWidth > 0)
{
    if (!memo.isEnabled()) {
        m_viewBack = ToQColor(memo.m_colors.disabled);
    } else if (memo.m_source->ReadOnly() && HasOption(memo.m_options, moUseReadOnlyColor)) {
        m_viewBack = ToQColor(memo.m_colors.readOnly);
    }
}

void TTarnMemoPainter::UsePen(const QColor& colour)
{
    if (colour != m_pen || !m_pen.isValid()) {
        m_pen = colour;
        p.setPen(colour);
    }
}

void TTarnMemoPainter::Paint()
{
    p.setClipRect(m_clip);
    // Glyphs of every plain run are collected per font and colour and drawn
    // together after the row backgrounds: a handful of draw calls per paint
    // instead of one per run.
    for (TTarnMemo::TGlyphBatch& batch : m.m_glyphBatches) {
        batch.glyphs.resize(0);
        batch.positions.resize(0);
    }
    PaintColumnBackgrounds();

    int line = m.m_topLine;
    int sub = m.m_topSub;
    bool done = m_count == 0;
    const int firstRow = std::max(0, m_clip.top() / m_lh);
    const int lastRow = std::min(m_height / m_lh + 1, m_clip.bottom() / m_lh + 1);
    // Step to the first row the clip needs.
    for (int r = 0; r < firstRow && !done; ++r) {
        if (m.StepRows(line, sub, 1) == 0) {
            done = true;
        }
    }
    int y = firstRow * m_lh;
    bool eofDrawn = false;
    for (int r = firstRow; r <= lastRow; ++r, y += m_lh) {
        if (done) {
            PaintEndOfFileRow(QRect(m_textLeft, y, std::max(0, m_width - m_textLeft), m_lh), eofDrawn);
            continue;
        }
        PaintRow(line, sub, y);
        if (m.StepRows(line, sub, 1) == 0) {
            done = true;
        }
    }

    for (TTarnMemo::TGlyphBatch& batch : m.m_glyphBatches) {
        if (!batch.glyphs.isEmpty()) {
            ForgetPen(); // DrawBatch sets its own pen
            m.DrawBatch(p, batch, false, false);
        }
    }
    PaintOverlays();
}

void TTarnMemoPainter::PaintColumnBackgrounds()
{
    const TGutterLayout& layout = m.m_layout;
    if (m_drawGutter && m_clip.left() < layout.gutterWidth) {
        p.fillRect(QRect(0, 0, layout.gutterWidth, m_height), ToQColor(m.m_colors.gutterBack));
    }
    if (layout.lineNumWidth > 0 && !layout.numbersInGutter) {
        p.fillRect(QRect(layout.lineNumLeft, 0, layout.lineNumWidth, m_height), ToQColor(m.m_colors.lineNumBack));
    }
    if (m_textLeft > layout.gutterWidth) {
        const int from = layout.gutterWidth + (layout.numbersInGutter ? 0 : layout.lineNumWidth);
        if (m_textLeft > from) {
            p.fillRect(QRect(from, 0, m_textLeft - from, m_height), m_viewBack);
        }
    }
}

void TTarnMemoPainter::PaintEndOfFileRow(const QRect& rowRect, bool& eofDrawn)
{
    p.fillRect(rowRect, m_viewBack);
    if (m_symbols && !eofDrawn && m_count > 0) {
        // The end-of-file symbol stands on the row after the last line.
        eofDrawn = true;
        const TResolvedStyle& symbol = m.StyleFor(0); // symbols take attribute byte 0
        p.setFont(symbol.font);
        UsePen(symbol.foreground.isValid() ? symbol.foreground : m_viewText);
        p.drawText(m_textLeft - m.m_leftCol * m_cw, rowRect.y() + m_ascent, FromSystemText(m.m_symbols.eofString));
    }
}

void TTarnMemoPainter::PaintRow(int line, int sub, int y)
{
    TRowPaint row;
    row.row = m.RowAt(line, sub);
    row.line = line;
    row.y = y;
    row.rect = QRect(m_textLeft, y, std::max(0, m_width - m_textLeft), m_lh);
    row.text = m.m_source->GetRawLine(line);
    const int lineStyle = m.m_source->GetLineTextStyle(line);
    if (lineStyle > 0 && lineStyle < static_cast<int>(m.m_styles.size())) {
        row.styleOfLine = &m.m_styles[static_cast<std::size_t>(lineStyle)];
    }
    PaintRowBackground(row);
    PaintTextRuns(row);
    if (row.row.lastOfLine) {
        PaintRowEnd(row);
    }
    PaintRowDecorations(row);
    if (row.row.sub == 0) {
        PaintGutterCells(row);
    }
}

void TTarnMemoPainter::PaintRowBackground(const TRowPaint& row)
{
    QColor back = m_viewBack;
    if (row.styleOfLine != nullptr) {
        back = ToQColor(row.styleOfLine->color);
    } else if (m.m_lineHighlight.visible && row.line == m_caretLine) {
        back = ToQColor(m.m_lineHighlight.brush);
    }
    p.fillRect(row.rect, back);
}

bool TTarnMemoPainter::InFound(int line, std::int64_t col) const
{
    if (!m_foundShown || line < m_found.top || line > m_found.bottom) {
        return false;
    }
    if (line == m_found.top && col < m_found.left) {
        return false;
    }
    return !(line == m_found.bottom && col >= m_found.right);
}

void TTarnMemoPainter::PaintTextRuns(TRowPaint& row)
{
    const std::string_view text = row.text;
    const TLineGeometry& geometry = m_geometry;
    const std::int64_t rowStartCol = geometry.ColumnOfPosition(text, row.row.rawStart);
    row.originX =
        m.m_wordWrap ? geometry.PixelOfColumn(text, rowStartCol) : static_cast<std::int64_t>(m.m_leftCol) * m_cw;
    const int firstVisibleCol = m.m_wordWrap ? 0 : m.m_leftCol;
    const std::int64_t lastVisibleX = row.originX + (m_width - m_textLeft);
    std::string styles;
    if (row.row.rawEnd > row.row.rawStart && !m.m_source->GetScreenColorData(row.line, styles)) {
        m.RequestColouring(row.line);
    }
    if (m_showSelection) {
        row.sel = m.m_source->SelectionBounds(row.line);
    }

    std::size_t i = row.row.rawStart;
    std::int64_t col = rowStartCol;
    std::int64_t x = geometry.PixelOfColumn(text, col);
    if (m.m_useMonoFont && !m.m_wordWrap && firstVisibleCol > col) {
        // Straight to the first character in view (a tab cut by the left
        // edge is drawn from its start).
        const std::size_t first = std::min(geometry.PositionOfColumn(text, firstVisibleCol), row.row.rawEnd);
        if (first > i) {
            col = geometry.ColumnsOver(text, i, first, col);
            i = first;
            x = geometry.PixelOfColumn(text, col);
        }
    }
    // Skip what lies left of the window.
    while (i < row.row.rawEnd && !m.m_wordWrap && col + geometry.CharColumns(text, i, col) <= firstVisibleCol) {
        x += geometry.CharAdvance(text, i, col);
        col += geometry.CharColumns(text, i, col);
        ++i;
    }
    TRun run;
    run.x = x;
    while (i < row.row.rawEnd) {
        if (x - row.originX > lastVisibleX - row.originX + m_cw) {
            break;
        }
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::int64_t span = geometry.CharColumns(text, i, col);
        const int advance = geometry.CharAdvance(text, i, col);
        int attr = i < styles.size() ? static_cast<unsigned char>(styles[i]) : 0;
        if (m.OnGetColorStyle) {
            m.OnGetColorStyle(m, row.line, static_cast<int>(i), attr);
        }
        const bool selected = col >= row.sel.first && col < row.sel.second;
        const TRunKind kind = selected ? TRunKind::Selected
            : InFound(row.line, col)   ? TRunKind::Found
                                       : TRunKind::Plain;
        if (c == '\t' || attr != run.attr || kind != run.kind) {
            FlushRun(row, run);
            run.attr = attr;
            run.kind = kind;
            run.x = x;
        }
        if (c == '\t' || (c == ' ' && m_symbols)) {
            row.x = x;
            if (c == ' ') {
                FlushRun(row, run);
            }
            PaintBlank(row, c, kind, advance);
            run.attr = kAfterBlankAttr; // start a fresh run after the blank
            run.x = x + advance;
        } else {
            const TResolvedStyle* st = attr >= 0 ? &m.StyleFor(attr) : nullptr;
            // The run keeps byte values; they become characters of the
            // system code page when drawn.
            const unsigned char shown = st != nullptr && st->upperCase ? UpperChar(c) : c;
            run.text.append(QChar(static_cast<char16_t>(shown)));
        }
        x += advance;
        col += span;
        ++i;
    }
    FlushRun(row, run);
    row.x = x;
    row.col = col;
}

void TTarnMemoPainter::PaintBlank(const TRowPaint& row, unsigned char c, TRunKind kind, int advance)
{
    const int px = m_textLeft + static_cast<int>(row.x - row.originX);
    const int y = row.y;
    if (c == '\t') {
        // A tab is blank across its span, in the selection colours when selected.
        if (kind == TRunKind::Selected || kind == TRunKind::Found) {
            p.fillRect(QRect(px, y, advance, m_lh), kind == TRunKind::Selected ? m_selBack : m_matchBack);
        }
        if (m_symbols) {
            p.setFont(m.m_font);
            UsePen(kind == TRunKind::Selected ? m_selText : m_viewText);
            const QString sym = FromSystemText(std::string(1, static_cast<char>(m.m_symbols.tabChar)));
            p.drawText(px + (advance - m_cw) / 2, y + m_ascent, sym);
        }
        return;
    }
    // A shown space: its symbol in the faint colour.
    const QColor back = kind == TRunKind::Selected ? m_selBack : kind == TRunKind::Found ? m_matchBack : QColor();
    if (back.isValid()) {
        p.fillRect(QRect(px, y, advance, m_lh), back);
    }
    p.setFont(m.m_font);
    UsePen(kind == TRunKind::Selected ? m_selText : ToQColor(kFaintTextColor));
    const unsigned char sym = m.m_symbols.spaceChar;
    const QString glyph =
        sym == 0 || sym == 255 ? QString(QChar(0x00B7)) : FromSystemText(std::string(1, static_cast<char>(sym)));
    p.drawText(px, y + m_ascent, glyph);
}

void TTarnMemoPainter::FlushRun(const TRowPaint& row, TRun& run)
{
    if (run.text.isEmpty()) {
        return;
    }
    std::optional<TResolvedStyle> custom;
    const TResolvedStyle* chosen = nullptr;
    if (run.attr == kOwnerStyleAttr && m.OnGetFontFromStyle) {
        custom.emplace();
        custom->font = m.m_font;
        custom->foreground = m_viewText;
        m.OnGetFontFromStyle(m, -1, *custom);
        if (m.m_useMonoFont) {
            PrepareGlyphs(*custom);
        }
        chosen = &*custom;
    } else {
        chosen = &m.StyleFor(run.attr < 0 ? 0 : run.attr);
    }
    const TResolvedStyle& style = *chosen;
    QColor fg = style.foreground.isValid() ? style.foreground : m_viewText;
    QColor bg = style.background;
    if (row.styleOfLine != nullptr && HasOption(m.m_options, moColoredLineStyle)) {
        fg = ToQColor(row.styleOfLine->fontColor);
        bg = QColor();
    }
    if (run.kind == TRunKind::Selected) {
        if (HasOption(m.m_options, moDisableInvertedSel) || fg == m_viewText) {
            fg = m_selText;
        } else {
            fg = Mix(fg, m_selText);
        }
        bg = m_selBack;
    } else if (run.kind == TRunKind::Found) {
        fg = m_matchText;
        bg = m_matchBack;
    }
    const int px = m_textLeft + static_cast<int>(run.x - row.originX);
    const int runWidth = m.m_useMonoFont ? static_cast<int>(run.text.size()) * m_cw
                                         : QFontMetrics(style.font).horizontalAdvance(Shown(run.text));
    if (bg.isValid()) {
        p.fillRect(QRect(px, row.y, runWidth, m_lh), bg);
    }
    PaintGlyphs(row, run, style, custom.has_value(), fg);
    run.text.clear();
}

void TTarnMemoPainter::PaintGlyphs(
    const TRowPaint& row, const TRun& run, const TResolvedStyle& style, bool own, const QColor& fg)
{
    const int px = m_textLeft + static_cast<int>(run.x - row.originX);
    const int baseline = row.y + m_ascent;
    if (m.m_useMonoFont && style.rawFont.isValid()) {
        // One glyph per cell, placed by us: no shaping, and bold or odd
        // glyphs never shift the columns.
        TTarnMemo::TGlyphBatch& oneRun = m.m_oneRun;
        const bool decorated = style.font.underline() || style.font.strikeOut();
        TTarnMemo::TGlyphBatch& batch = own || decorated ? oneRun : m.BatchFor(style.rawFont, fg);
        if (&batch == &oneRun) {
            oneRun.font = &style.rawFont;
            oneRun.colour = fg;
        }
        batch.glyphs.reserve(batch.glyphs.size() + run.text.size());
        batch.positions.reserve(batch.positions.size() + run.text.size());
        for (qsizetype k = 0; k < run.text.size(); ++k) {
            const char16_t u = run.text[k].unicode();
            batch.glyphs.append(style.glyphs[u < 256 ? u : '?']);
            batch.positions.append(QPointF(static_cast<qreal>(px + k * m_cw), static_cast<qreal>(baseline)));
        }
        if (&batch == &oneRun) {
            // Underline and strike-out span the whole run, so such runs are
            // drawn on their own, at once.
            m.DrawBatch(p, oneRun, style.font.underline(), style.font.strikeOut());
        }
    } else if (m.m_useMonoFont) {
        p.setFont(style.font);
        UsePen(fg);
        for (qsizetype k = 0; k < run.text.size(); ++k) {
            p.drawText(px + static_cast<int>(k) * m_cw, baseline, Shown(run.text.mid(k, 1)));
        }
    } else {
        p.setFont(style.font);
        UsePen(fg);
        p.drawText(px, baseline, Shown(run.text));
    }
}

void TTarnMemoPainter::PaintRowEnd(const TRowPaint& row)
{
    // The selection beyond the text, the line-end symbol and the owner's text.
    const int y = row.y;
    const std::int64_t endX = m_textLeft + (row.x - row.originX);
    const bool selectedToEdge = m_showSelection && m_selKind == TSelKind::selStream && row.line >= m_s0.line
        && row.line < m_s1.line && !HasOption(m.m_options, moSelectOnlyText);
    if (selectedToEdge) {
        p.fillRect(QRect(static_cast<int>(std::max<std::int64_t>(endX, m_textLeft)), y, m_width, m_lh), m_selBack);
    } else if (m_showSelection && m_selKind == TSelKind::selColumn && row.sel.second > row.col) {
        // Columnar selection (or stream past the line's end) beyond the text.
        const std::int64_t from = std::max<std::int64_t>(row.col, row.sel.first);
        const std::int64_t x0 = row.x + (from - row.col) * m_cw;
        const std::int64_t x1 = row.x + (row.sel.second - row.col) * m_cw;
        p.fillRect(
            QRect(m_textLeft + static_cast<int>(x0 - row.originX), y, static_cast<int>(x1 - x0), m_lh), m_selBack);
    }
    std::int64_t afterX = endX;
    if (m_symbols) {
        const TResolvedStyle& symbol = m.StyleFor(0); // symbols take attribute byte 0
        p.setFont(symbol.font);
        UsePen(symbol.foreground.isValid() ? symbol.foreground : m_viewText);
        const QString eol = FromSystemText(m.m_symbols.eolString);
        p.drawText(static_cast<int>(endX), y + m_ascent, eol);
        afterX += QFontMetrics(symbol.font).horizontalAdvance(eol);
    }
    if (m.OnCustomString) {
        QString extra;
        m.OnCustomString(m, row.line, extra);
        if (!extra.isEmpty()) {
            p.setFont(m.m_font);
            UsePen(ToQColor(kFaintTextColor));
            p.drawText(static_cast<int>(afterX) + m_cw, y + m_ascent, extra);
        }
    }
}

void TTarnMemoPainter::PaintRowDecorations(const TRowPaint& row)
{
    // Line bookmarks, separators, the current line's frame, the owner's drawing.
    const int y = row.y;
    const int lh = m_lh;
    if (HasOption(m.m_options, moDrawLineBookmarks) && row.row.sub == 0
        && m.m_source->GetBookmarkFromRange(row.line, row.line) != 0) {
        p.fillRect(QRect(m_textLeft, y + lh - 2, m_width - m_textLeft, 2), ToQColor(m.m_colors.lineBookmark));
    }
    const auto& separator = m.m_lineSeparator;
    if ((separator.betweenLines && row.row.lastOfLine) || (separator.betweenWrappedRows && !row.row.lastOfLine)) {
        p.setPen(QPen(ToQColor(separator.color), 1, PenStyleOf(separator.penStyle)));
        ForgetPen();
        p.drawLine(m_textLeft, y + lh - 1, m_width, y + lh - 1);
    }
    const auto& highlight = m.m_lineHighlight;
    if (highlight.visible && row.line == m_caretLine && row.styleOfLine == nullptr) {
        p.setPen(QPen(ToQColor(highlight.pen), 1, PenStyleOf(highlight.penStyle)));
        ForgetPen();
        if (highlight.shape == TLineHighlightShape::DoubleLine) {
            p.drawLine(m_textLeft, y, m_width, y);
        }
        p.drawLine(m_textLeft, y + lh - 1, m_width, y + lh - 1);
    }
    if (m.OnCustomDraw) {
        // The owner draws over the finished row, text included.
        for (TTarnMemo::TGlyphBatch& batch : m.m_glyphBatches) {
            m.DrawBatch(p, batch, false, false);
        }
        p.save();
        m.OnCustomDraw(m, p, row.rect, row.line, row.row.sub);
        p.restore();
        ForgetPen();
    }
}

void TTarnMemoPainter::PaintGutterCells(const TRowPaint& row)
{
    const int gutterWidth = m.m_layout.gutterWidth;
    if (m_drawGutter) {
        bool handled = false;
        if (m.OnDrawGutter) {
            m.OnDrawGutter(m, p, QRect(0, row.y, gutterWidth - 1, m_lh), row.line, handled);
            ForgetPen(); // the handler may have changed the pen
        }
        if (!handled) {
            const int imageSize = std::min({m_lh, 16, std::max(1, gutterWidth - 1)});
            for (const auto& [index, left] : m.GutterImagesOf(row.line)) {
                p.drawPixmap(QRect(left, row.y + (m_lh - imageSize) / 2, imageSize, imageSize),
                    m.m_gutterImages[static_cast<std::size_t>(index)].glyph);
            }
        }
    }
    if (m.m_layout.lineNumWidth > 0) {
        PaintLineNumber(row);
    }
    if (m.m_layout.foldCellWidth > 0) {
        PaintFoldCell(row);
    }
}

void TTarnMemoPainter::PaintLineNumber(const TRowPaint& row)
{
    const TGutterLayout& layout = m.m_layout;
    const QRect numRect(layout.lineNumLeft, row.y, layout.lineNumWidth - (layout.numbersInGutter ? 0 : m_cw / 2), m_lh);
    if (m.m_useMonoFont && m.m_plainGlyphs.rawFont.isValid()) {
        // Digits in whole cells, collected with the text's glyphs.
        char digits[16];
        const int n = std::snprintf(digits, sizeof digits, "%d", row.line + 1);
        const int left = m.m_lineNumAlign == TLineNumAlign::Right ? numRect.right() + 1 - n * m_cw : numRect.left();
        TTarnMemo::TGlyphBatch& batch = m.BatchFor(m.m_plainGlyphs.rawFont, m_lineNumColour);
        for (int k = 0; k < n; ++k) {
            batch.glyphs.append(m.m_plainGlyphs.glyphs[static_cast<unsigned char>(digits[k])]);
            batch.positions.append(QPointF(left + k * m_cw, row.y + m_ascent));
        }
        return;
    }
    p.setFont(m.m_font);
    UsePen(m_lineNumColour);
    p.drawText(numRect,
        (m.m_lineNumAlign == TLineNumAlign::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
        QString::number(row.line + 1));
}

void TTarnMemoPainter::PaintFoldCell(const TRowPaint& row)
{
    // A box with a minus on an expanded fold header, with a plus on a collapsed one.
    const int state = m.m_source->GetCollapseState(row.line);
    const TGutterLayout& layout = m.m_layout;
    const QRect cell(layout.foldCellLeft, row.y, layout.foldCellWidth, m_lh);
    p.fillRect(cell, m_viewBack);
    if (state != csCollapsed && state != csExpanded) {
        return;
    }
    const int box = std::max(5, std::min(m_lh, layout.foldCellWidth) - 6) | 1;
    const QRect r(cell.center().x() - box / 2, cell.center().y() - box / 2, box, box);
    UsePen(ToQColor(m.m_colors.gutterLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
    if (state == csCollapsed) {
        p.drawLine(r.center().x(), r.top() + 2, r.center().x(), r.bottom() - 2);
    }
}

void TTarnMemoPainter::PaintOverlays()
{
    // The gutter's edge, the right margin and the caret, over everything else.
    if (m_drawGutter) {
        UsePen(ToQColor(m.m_colors.gutterLine));
        p.drawLine(m.m_layout.gutterWidth - 1, 0, m.m_layout.gutterWidth - 1, m_height);
    }
    if (HasOption(m.m_options, moDrawMargin) && (!m.m_wordWrap || HasOption(m.m_options, moBreakWordAtMargin))) {
        const int mx = m_textLeft + (m.m_marginPos - (m.m_wordWrap ? 0 : m.m_leftCol)) * m_cw;
        if (mx >= m_textLeft && mx < m_width) {
            p.setPen(QPen(ToQColor(m.m_colors.margin), 1, PenStyleOf(m.m_marginPenStyle)));
            ForgetPen();
            p.drawLine(mx, 0, mx, m_height);
        }
    }
    if (m.m_caretOn && m_focused) {
        const QRect caret = m.CaretRect();
        if (!caret.isEmpty()) {
            p.fillRect(caret, m_viewText);
        }
    }
}

void TTarnMemo::PaintArea(QPainter& p, const QRect& clip)
{
    TTarnMemoPainter(*this, p, clip).Paint();
}

QRect TTarnMemo::CaretRect() const
{
    auto* self = const_cast<TTarnMemo*>(this);
    const int line = m_source->GetCurLine();
    const int col = m_source->GetCurChar();
    const auto pos = self->TextToPixelPoint({col, line});
    if (!pos) {
        return {};
    }
    if (m_hideCaret) {
        return QRect(pos->x(), pos->y(), 1, 1);
    }
    int w = 2;
    if (TMemoSource::GetOverwrite() && HasOption(m_options, moOverwriteCaret)) {
        const std::string_view text = m_source->GetRawLine(line);
        const std::size_t raw = static_cast<std::size_t>(std::max(0, m_source->ColToRaw(line, col)));
        const TLineGeometry geometry = Geometry();
        w = raw < text.size() ? geometry.CharAdvance(text, raw, col) : m_charWidth;
    }
    return QRect(pos->x(), pos->y(), std::max(1, w), m_lineHeight);
}

std::optional<QPoint> TTarnMemo::TextToPixelPoint(TTextPoint point) const
{
    auto* self = const_cast<TTarnMemo*>(this);
    int line = point.line;
    if (line < 0) {
        return std::nullopt;
    }
    const std::string_view text = m_source->GetRawLine(line);
    const TLineGeometry geometry = Geometry();
    int sub = 0;
    std::int64_t originX = static_cast<std::int64_t>(m_leftCol) * m_charWidth;
    if (m_wordWrap && line < m_source->GetStrCount()) {
        const auto& breaks =
            self->m_wrap.Breaks(static_cast<std::size_t>(line), text, geometry, [this](unsigned char c) {
                return m_source->IsDelimiter(c);
            });
        const int raw = m_source->ColToRaw(line, point.col);
        sub = static_cast<int>(TWrapTable::RowOfPosition(breaks, static_cast<std::size_t>(std::max(0, raw))));
        const std::size_t start = TWrapTable::RowStart(breaks, static_cast<std::size_t>(sub));
        originX = geometry.PixelOfColumn(text, geometry.ColumnOfPosition(text, start));
    }
    const auto rows = self->RowsFromTop(line, sub, PageRows() + 1);
    if (!rows) {
        return std::nullopt;
    }
    const std::int64_t x = geometry.PixelOfColumn(text, point.col) - originX;
    return QPoint(
        m_layout.textLeft + static_cast<int>(std::clamp<std::int64_t>(x, -100000, 1000000)), *rows * m_lineHeight);
}

} // namespace quillet

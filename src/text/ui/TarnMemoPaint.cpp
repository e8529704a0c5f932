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

QFont WithEmphasis(QFont font, bool bold, bool italic, bool underline)
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
}

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

TTarnMemo::TGlyphBatch& TTarnMemo::BatchFor(const QRawFont& font, const QColor& colour)
{
    for (TGlyphBatch& batch : m_glyphBatches) {
        if (batch.font == &font && batch.colour == colour) {
            return batch;
        }
    }
    // Styles are resolved again after a change; batches of fonts no longer in
    // use are dropped once there are many of them.
    if (m_glyphBatches.size() >= 64) {
        m_glyphBatches.erase(std::remove_if(m_glyphBatches.begin(),
                                 m_glyphBatches.end(),
                                 [](const TGlyphBatch& batch) {
                                     return batch.glyphs.isEmpty();
                                 }),
            m_glyphBatches.end());
    }
    TGlyphBatch& batch = m_glyphBatches.emplace_back();
    batch.font = &font;
    batch.colour = colour;
    return batch;
}

void TTarnMemo::DrawBatch(QPainter& p, TGlyphBatch& batch, bool underline, bool strikeOut)
{
    if (batch.glyphs.isEmpty() || batch.font == nullptr) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(*batch.font);
    run.setRawData(batch.glyphs.constData(), batch.positions.constData(), static_cast<int>(batch.glyphs.size()));
    p.setPen(batch.colour);
    p.drawGlyphRun(QPointF(0, 0), run);
    if (underline || strikeOut) {
        // Decorations of one run on one row, drawn by us across its cells.
        const qreal left = batch.positions.front().x();
        const qreal right = batch.positions.back().x() + std::max(1, m_charWidth);
        const qreal baseline = batch.positions.front().y();
        const qreal thickness = std::max<qreal>(1, batch.font->lineThickness());
        if (underline) {
            const qreal y = baseline + std::max<qreal>(1, batch.font->underlinePosition());
            p.fillRect(QRectF(left, y, right - left, thickness), batch.colour);
        }
        if (strikeOut) {
            const qreal y = baseline - batch.font->xHeight() / 2;
            p.fillRect(QRectF(left, y, right - left, thickness), batch.colour);
        }
    }
    batch.glyphs.resize(0);
    batch.positions.resize(0);
}

const TResolvedStyle& TTarnMemo::StyleFor(int attr)
{
    attr &= 0xFF;
    std::optional<TResolvedStyle>& slot = m_resolved[static_cast<std::size_t>(attr)];
    if (slot) {
        return *slot;
    }
    TResolvedStyle r;
    r.font = m_font;
    r.foreground = ToQColor(m_colors.text);
    const bool colour = HasOption(m_options, moColorSyntax);
    TSimpleParser* parser = m_source->SyntaxParser();
    const bool url = attr == kStyleUrl && m_source->HighlightUrls();
    if (colour && parser != nullptr) {
        if (const auto font = parser->GetFont(static_cast<std::uint8_t>(attr))) {
            // Face and size stay the view's so cell geometry holds for every style.
            r.font = WithEmphasis(m_font, font->bold, font->italic, font->underline);
            r.font.setStrikeOut(font->strikeOut);
            r.foreground = ToQColor(font->color);
        }
        if (const auto back = parser->GetBackColor(static_cast<std::uint8_t>(attr))) {
            if (*back != clNone && *back != 0xFFFFFFFFu) {
                r.background = ToQColor(*back);
            }
        }
    } else if ((colour || url) && attr < static_cast<int>(m_styles.size())) {
        const TMemoTextStyle& s = m_styles[static_cast<std::size_t>(attr)];
        r.font = WithEmphasis(m_font, s.bold, s.italic, s.underline);
        r.foreground = ToQColor(s.fontColor);
        if (!s.useMemoColor) {
            r.background = ToQColor(s.color);
        }
    }
    if (url && !(colour && parser != nullptr) && !r.font.underline()) {
        r.font.setUnderline(true);
    }
    {
        // Whole runs may be drawn at once when this font keeps every glyph in
        // the view's cell width.
        const QFontMetrics fm(r.font);
        r.cellAligned = fm.horizontalAdvance(QLatin1Char('x')) == m_charWidth
            && fm.horizontalAdvance(QLatin1Char('W')) == m_charWidth
            && fm.horizontalAdvance(QLatin1Char('i')) == m_charWidth
            && fm.horizontalAdvance(QStringLiteral("xWi")) == 3 * m_charWidth;
    }
    if (m_useMonoFont) {
        PrepareGlyphs(r);
    }
    slot = r;
    return *slot;
}

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

void TTarnMemo::PaintArea(QPainter& p, const QRect& clip)
{
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int lh = std::max(1, m_lineHeight);
    const int cw = std::max(1, m_charWidth);
    const int textLeft = m_layout.textLeft;
    const int count = m_source->GetStrCount();
    const bool enabled = isEnabled();
    const bool focused = hasFocus();
    const bool readOnly = m_source->ReadOnly();
    const int ascent = m_measure.Ascent();

    QColor viewBack = ToQColor(m_colors.back);
    if (!enabled) {
        viewBack = ToQColor(m_colors.disabled);
    } else if (readOnly && HasOption(m_options, moUseReadOnlyColor)) {
        viewBack = ToQColor(m_colors.readOnly);
    }
    const QColor viewText = ToQColor(m_colors.text);
    const QColor selText = ToQColor(m_colors.selText);
    const QColor selBack = ToQColor(m_colors.selBack);
    const QColor matchText = ToQColor(m_colors.match);
    const QColor matchBack = ToQColor(m_colors.matchBack);
    const bool showSelection = !(m_hideSelection && !focused) && m_source->SelectionKind() != TSelKind::selNone;
    const TSelKind selKind = m_source->SelectionKind();
    const TTextPoint s0 = std::min(m_source->SelStart(), m_source->SelEnd());
    const TTextPoint s1 = std::max(m_source->SelStart(), m_source->SelEnd());
    const bool foundShown = m_source->FoundVisible();
    const TTextRect found = m_source->FoundRect();
    const bool symbols = HasOption(m_options, moDrawSpecialSymbols);
    const int caretLine = m_source->GetCurLine();
    const TLineGeometry geometry = Geometry();
    const QColor lineNumColour = ToQColor(m_colors.lineNum);

    p.setClipRect(clip);
    // Pen changes cost; runs of one colour share the pen.
    QColor currentPen;
    auto usePen = [&](const QColor& colour) {
        if (colour != currentPen || !currentPen.isValid()) {
            currentPen = colour;
            p.setPen(colour);
        }
    };
    // Glyphs of every plain run are collected per font and colour and drawn
    // together after the row backgrounds: a handful of draw calls per paint
    // instead of one per run.
    for (TGlyphBatch& batch : m_glyphBatches) {
        batch.glyphs.resize(0);
        batch.positions.resize(0);
    }
    TGlyphBatch& oneRun = m_oneRun;

    // Gutter and number column background.
    const bool drawGutter = m_layout.gutterWidth > 0;
    if (drawGutter && clip.left() < m_layout.gutterWidth) {
        p.fillRect(QRect(0, 0, m_layout.gutterWidth, height), ToQColor(m_colors.gutterBack));
    }
    if (m_layout.lineNumWidth > 0 && !m_layout.numbersInGutter) {
        p.fillRect(QRect(m_layout.lineNumLeft, 0, m_layout.lineNumWidth, height), ToQColor(m_colors.lineNumBack));
    }
    if (textLeft > m_layout.gutterWidth) {
        const int from = m_layout.gutterWidth + (m_layout.numbersInGutter ? 0 : m_layout.lineNumWidth);
        if (textLeft > from) {
            p.fillRect(QRect(from, 0, textLeft - from, height), viewBack);
        }
    }

    int line = m_topLine;
    int sub = m_topSub;
    bool done = count == 0;
    int y = 0;
    const int firstRow = std::max(0, clip.top() / lh);
    const int lastRow = std::min(height / lh + 1, clip.bottom() / lh + 1);
    // Step to the first row the clip needs.
    for (int r = 0; r < firstRow && !done; ++r) {
        if (StepRows(line, sub, 1) == 0) {
            done = true;
        }
    }
    y = firstRow * lh;
    bool eofDrawn = false;
    for (int r = firstRow; r <= lastRow; ++r, y += lh) {
        const QRect rowRect(textLeft, y, std::max(0, width - textLeft), lh);
        if (done) {
            p.fillRect(rowRect, viewBack);
            if (symbols && !eofDrawn && count > 0) {
                // The end-of-file symbol stands on the row after the last line.
                eofDrawn = true;
                const TResolvedStyle& symbol = StyleFor(0); // symbols take attribute byte 0
                p.setFont(symbol.font);
                usePen(symbol.foreground.isValid() ? symbol.foreground : viewText);
                p.drawText(textLeft - m_leftCol * cw, y + ascent, FromSystemText(m_symbols.eofString));
            }
            continue;
        }
        const TRow row = RowAt(line, sub);
        const std::string_view text = m_source->GetRawLine(line);
        const int lineStyle = m_source->GetLineTextStyle(line);
        const TMemoTextStyle* styleOfLine = lineStyle > 0 && lineStyle < static_cast<int>(m_styles.size())
            ? &m_styles[static_cast<std::size_t>(lineStyle)]
            : nullptr;

        // 1. Row background.
        QColor rowBack = viewBack;
        if (styleOfLine != nullptr) {
            rowBack = ToQColor(styleOfLine->color);
        } else if (m_lineHighlight.visible && line == caretLine) {
            rowBack = ToQColor(m_lineHighlight.brush);
        }
        p.fillRect(rowRect, rowBack);

        // 2. Text in runs of equal look.
        const std::int64_t rowStartCol = geometry.ColumnOfPosition(text, row.rawStart);
        const std::int64_t originX =
            m_wordWrap ? geometry.PixelOfColumn(text, rowStartCol) : static_cast<std::int64_t>(m_leftCol) * cw;
        const int firstVisibleCol = m_wordWrap ? 0 : m_leftCol;
        const std::int64_t lastVisibleX = originX + (width - textLeft);
        std::string styles;
        if (row.rawEnd > row.rawStart) {
            styles = m_source->GetRawColorData(line);
        }
        std::pair<int, int> sel{0, 0};
        if (showSelection) {
            sel = m_source->SelectionBounds(line);
        }
        auto inFound = [&](std::int64_t col) {
            if (!foundShown || line < found.top || line > found.bottom) {
                return false;
            }
            if (line == found.top && col < found.left) {
                return false;
            }
            if (line == found.bottom && col >= found.right) {
                return false;
            }
            return true;
        };

        std::size_t i = row.rawStart;
        std::int64_t col = rowStartCol;
        std::int64_t x = geometry.PixelOfColumn(text, col);
        if (m_useMonoFont && !m_wordWrap && firstVisibleCol > col) {
            // Straight to the first character in view (a tab cut by the left
            // edge is drawn from its start).
            const std::size_t first = std::min(geometry.PositionOfColumn(text, firstVisibleCol), row.rawEnd);
            if (first > i) {
                col = geometry.ColumnsOver(text, i, first, col);
                i = first;
                x = geometry.PixelOfColumn(text, col);
            }
        }
        // Skip what lies left of the window.
        while (i < row.rawEnd && !m_wordWrap && col + geometry.CharColumns(text, i, col) <= firstVisibleCol) {
            x += geometry.CharAdvance(text, i, col);
            col += geometry.CharColumns(text, i, col);
            ++i;
        }
        QString run;
        int runAttr = -2;
        int runKind = -1; // 0 plain, 1 selected, 2 found
        std::int64_t runX = x;
        auto flush = [&]() {
            if (run.isEmpty()) {
                return;
            }
            std::optional<TResolvedStyle> custom;
            const TResolvedStyle* chosen = nullptr;
            if (runAttr == -1 && OnGetFontFromStyle) {
                custom.emplace();
                custom->font = m_font;
                custom->foreground = viewText;
                OnGetFontFromStyle(*this, -1, *custom);
                if (m_useMonoFont) {
                    PrepareGlyphs(*custom);
                }
                chosen = &*custom;
            } else {
                chosen = &StyleFor(runAttr < 0 ? 0 : runAttr);
            }
            const TResolvedStyle& style = *chosen;
            QColor fg = style.foreground.isValid() ? style.foreground : viewText;
            QColor bg = style.background;
            if (styleOfLine != nullptr && HasOption(m_options, moColoredLineStyle)) {
                fg = ToQColor(styleOfLine->fontColor);
                bg = QColor();
            }
            if (runKind == 1) {
                if (HasOption(m_options, moDisableInvertedSel) || fg == viewText) {
                    fg = selText;
                } else {
                    fg = Mix(fg, selText);
                }
                bg = selBack;
            } else if (runKind == 2) {
                fg = matchText;
                bg = matchBack;
            }
            const int px = textLeft + static_cast<int>(runX - originX);
            const int runWidth = m_useMonoFont ? static_cast<int>(run.size()) * cw
                                               : QFontMetrics(style.font).horizontalAdvance(Shown(run));
            if (bg.isValid()) {
                p.fillRect(QRect(px, y, runWidth, lh), bg);
            }
            if (m_useMonoFont && style.rawFont.isValid()) {
                // One glyph per cell, placed by us: no shaping, and bold or odd
                // glyphs never shift the columns.
                const bool decorated = style.font.underline() || style.font.strikeOut();
                TGlyphBatch& batch = custom.has_value() || decorated ? oneRun : BatchFor(style.rawFont, fg);
                if (&batch == &oneRun) {
                    oneRun.font = &style.rawFont;
                    oneRun.colour = fg;
                }
                batch.glyphs.reserve(batch.glyphs.size() + run.size());
                batch.positions.reserve(batch.positions.size() + run.size());
                for (qsizetype k = 0; k < run.size(); ++k) {
                    const char16_t u = run[k].unicode();
                    batch.glyphs.append(style.glyphs[u < 256 ? u : '?']);
                    batch.positions.append(QPointF(static_cast<qreal>(px + k * cw), static_cast<qreal>(y + ascent)));
                }
                if (&batch == &oneRun) {
                    // Underline and strike-out span the whole run, so such
                    // runs are drawn on their own, at once.
                    DrawBatch(p, oneRun, style.font.underline(), style.font.strikeOut());
                }
            } else if (m_useMonoFont) {
                p.setFont(style.font);
                usePen(fg);
                for (qsizetype k = 0; k < run.size(); ++k) {
                    p.drawText(px + static_cast<int>(k) * cw, y + ascent, Shown(run.mid(k, 1)));
                }
            } else {
                p.setFont(style.font);
                usePen(fg);
                p.drawText(px, y + ascent, Shown(run));
            }
            run.clear();
        };
        while (i < row.rawEnd) {
            if (x - originX > lastVisibleX - originX + cw) {
                break;
            }
            const unsigned char c = static_cast<unsigned char>(text[i]);
            const std::int64_t span = geometry.CharColumns(text, i, col);
            const int advance = geometry.CharAdvance(text, i, col);
            int attr = i < styles.size() ? static_cast<unsigned char>(styles[i]) : 0;
            if (OnGetColorStyle) {
                OnGetColorStyle(*this, line, static_cast<int>(i), attr);
            }
            const bool selected = col >= sel.first && col < sel.second;
            const int kind = selected ? 1 : inFound(col) ? 2 : 0;
            if (c == '\t' || attr != runAttr || kind != runKind) {
                flush();
                runAttr = attr;
                runKind = kind;
                runX = x;
            }
            if (c == '\t') {
                // A tab is blank across its span, in the selection colours when selected.
                const int px = textLeft + static_cast<int>(x - originX);
                if (kind != 0) {
                    p.fillRect(QRect(px, y, advance, lh), kind == 1 ? selBack : matchBack);
                }
                if (symbols) {
                    p.setFont(m_font);
                    usePen(kind == 1 ? selText : viewText);
                    const QString sym = FromSystemText(std::string(1, static_cast<char>(m_symbols.tabChar)));
                    p.drawText(px + (advance - cw) / 2, y + ascent, sym);
                }
                runAttr = -3; // start a fresh run after the tab
                runX = x + advance;
            } else if (c == ' ' && symbols) {
                flush();
                runX = x;
                const QColor back = kind == 1 ? selBack : kind == 2 ? matchBack : QColor();
                const int px = textLeft + static_cast<int>(x - originX);
                if (back.isValid()) {
                    p.fillRect(QRect(px, y, advance, lh), back);
                }
                p.setFont(m_font);
                usePen(kind == 1 ? selText : ToQColor(0x80000011));
                const unsigned char sym = m_symbols.spaceChar;
                const QString glyph = sym == 0 || sym == 255 ? QString(QChar(0x00B7))
                                                             : FromSystemText(std::string(1, static_cast<char>(sym)));
                p.drawText(px, y + ascent, glyph);
                runAttr = -3;
                runX = x + advance;
            } else {
                const TResolvedStyle* st = attr >= 0 ? &StyleFor(attr) : nullptr;
                // The run keeps byte values; they become characters of the
                // system code page when drawn.
                const unsigned char shown = st != nullptr && st->upperCase ? UpperChar(c) : c;
                run.append(QChar(static_cast<char16_t>(shown)));
            }
            x += advance;
            col += span;
            ++i;
        }
        flush();

        // 3 and 4. End of the row: line-end symbol, selection beyond the text.
        const std::int64_t endX = textLeft + (x - originX);
        if (row.lastOfLine) {
            const bool selectedToEdge = showSelection && selKind == TSelKind::selStream && line >= s0.line
                && line < s1.line && !HasOption(m_options, moSelectOnlyText);
            if (selectedToEdge) {
                p.fillRect(QRect(static_cast<int>(std::max<std::int64_t>(endX, textLeft)), y, width, lh), selBack);
            } else if (showSelection && selKind == TSelKind::selColumn && sel.second > col) {
                // Columnar selection (or stream past the line's end) beyond the text.
                const std::int64_t from = std::max<std::int64_t>(col, sel.first);
                const std::int64_t x0 = x + (from - col) * cw;
                const std::int64_t x1 = x + (sel.second - col) * cw;
                p.fillRect(QRect(textLeft + static_cast<int>(x0 - originX), y, static_cast<int>(x1 - x0), lh), selBack);
            }
            std::int64_t afterX = endX;
            if (symbols) {
                const TResolvedStyle& symbol = StyleFor(0); // symbols take attribute byte 0
                p.setFont(symbol.font);
                usePen(symbol.foreground.isValid() ? symbol.foreground : viewText);
                const QString eol = FromSystemText(m_symbols.eolString);
                p.drawText(static_cast<int>(endX), y + ascent, eol);
                afterX += QFontMetrics(symbol.font).horizontalAdvance(eol);
            }
            if (OnCustomString) {
                QString extra;
                OnCustomString(*this, line, extra);
                if (!extra.isEmpty()) {
                    p.setFont(m_font);
                    usePen(ToQColor(0x80000011));
                    p.drawText(static_cast<int>(afterX) + cw, y + ascent, extra);
                }
            }
        }

        // 5. Line bookmarks, separators.
        if (HasOption(m_options, moDrawLineBookmarks) && row.sub == 0
            && m_source->GetBookmarkFromRange(line, line) != 0) {
            p.fillRect(QRect(textLeft, y + lh - 2, width - textLeft, 2), ToQColor(m_colors.lineBookmark));
        }
        if ((m_lineSeparator.betweenLines && row.lastOfLine)
            || (m_lineSeparator.betweenWrappedRows && !row.lastOfLine)) {
            p.setPen(QPen(ToQColor(m_lineSeparator.color), 1, PenStyleOf(m_lineSeparator.penStyle)));
            currentPen = QColor();
            p.drawLine(textLeft, y + lh - 1, width, y + lh - 1);
        }
        if (m_lineHighlight.visible && line == caretLine && styleOfLine == nullptr) {
            p.setPen(QPen(ToQColor(m_lineHighlight.pen), 1, PenStyleOf(m_lineHighlight.penStyle)));
            currentPen = QColor();
            if (m_lineHighlight.shape == TLineHighlightShape::DoubleLine) {
                p.drawLine(textLeft, y, width, y);
            }
            p.drawLine(textLeft, y + lh - 1, width, y + lh - 1);
        }
        if (OnCustomDraw) {
            // The owner draws over the finished row, text included.
            for (TGlyphBatch& batch : m_glyphBatches) {
                DrawBatch(p, batch, false, false);
            }
            p.save();
            OnCustomDraw(*this, p, rowRect, line, row.sub);
            p.restore();
            currentPen = QColor();
        }

        // Gutter cells of this row.
        if (drawGutter && row.sub == 0) {
            bool handled = false;
            if (OnDrawGutter) {
                OnDrawGutter(*this, p, QRect(0, y, m_layout.gutterWidth - 1, lh), line, handled);
                currentPen = QColor(); // the handler may have changed the pen
            }
            if (!handled) {
                const int imageSize = std::min({lh, 16, std::max(1, m_layout.gutterWidth - 1)});
                for (const auto& [index, left] : GutterImagesOf(line)) {
                    p.drawPixmap(QRect(left, y + (lh - imageSize) / 2, imageSize, imageSize),
                        m_gutterImages[static_cast<std::size_t>(index)].glyph);
                }
            }
        }
        if (m_layout.lineNumWidth > 0 && row.sub == 0) {
            const QRect numRect(
                m_layout.lineNumLeft, y, m_layout.lineNumWidth - (m_layout.numbersInGutter ? 0 : cw / 2), lh);
            if (m_useMonoFont && m_plainGlyphs.rawFont.isValid()) {
                // Digits in whole cells, collected with the text's glyphs.
                char digits[16];
                const int n = std::snprintf(digits, sizeof digits, "%d", line + 1);
                const int left = m_lineNumAlign == TLineNumAlign::Right ? numRect.right() + 1 - n * cw : numRect.left();
                TGlyphBatch& batch = BatchFor(m_plainGlyphs.rawFont, lineNumColour);
                for (int k = 0; k < n; ++k) {
                    batch.glyphs.append(m_plainGlyphs.glyphs[static_cast<unsigned char>(digits[k])]);
                    batch.positions.append(QPointF(left + k * cw, y + ascent));
                }
            } else {
                p.setFont(m_font);
                usePen(lineNumColour);
                p.drawText(numRect,
                    (m_lineNumAlign == TLineNumAlign::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                    QString::number(line + 1));
            }
        }
        if (m_layout.foldCellWidth > 0 && row.sub == 0) {
            const int state = m_source->GetCollapseState(line);
            const QRect cell(m_layout.foldCellLeft, y, m_layout.foldCellWidth, lh);
            p.fillRect(cell, viewBack);
            if (state == 0 || state == 1) {
                const int box = std::max(5, std::min(lh, m_layout.foldCellWidth) - 6) | 1;
                const QRect r(cell.center().x() - box / 2, cell.center().y() - box / 2, box, box);
                usePen(ToQColor(m_colors.gutterLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r);
                p.drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
                if (state == 0) {
                    p.drawLine(r.center().x(), r.top() + 2, r.center().x(), r.bottom() - 2);
                }
            }
        }

        if (StepRows(line, sub, 1) == 0) {
            done = true;
        }
    }

    for (TGlyphBatch& batch : m_glyphBatches) {
        if (!batch.glyphs.isEmpty()) {
            currentPen = QColor(); // DrawBatch sets its own pen
            DrawBatch(p, batch, false, false);
        }
    }

    if (drawGutter) {
        usePen(ToQColor(m_colors.gutterLine));
        p.drawLine(m_layout.gutterWidth - 1, 0, m_layout.gutterWidth - 1, height);
    }
    if (HasOption(m_options, moDrawMargin) && (!m_wordWrap || HasOption(m_options, moBreakWordAtMargin))) {
        const int mx = textLeft + (m_marginPos - (m_wordWrap ? 0 : m_leftCol)) * cw;
        if (mx >= textLeft && mx < width) {
            p.setPen(QPen(ToQColor(m_colors.margin), 1, PenStyleOf(m_marginPenStyle)));
            currentPen = QColor();
            p.drawLine(mx, 0, mx, height);
        }
    }

    // Caret.
    if (m_caretOn && focused) {
        const QRect caret = CaretRect();
        if (!caret.isEmpty()) {
            p.fillRect(caret, viewText);
        }
    }
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

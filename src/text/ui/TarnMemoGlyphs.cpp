// Styles and glyphs of the editor view: each attribute byte resolved to a font
// and colours once, and glyphs collected per font and colour for one draw call.
#include "text/ui/TarnMemo.h"

#include <QGlyphRun>
#include <QPainter>

#include <algorithm>

namespace quillet {

namespace {

QFont WithEmphasis(QFont font, bool bold, bool italic, bool underline)
{
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    return font;
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

} // namespace quillet

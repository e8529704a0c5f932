// Painting of the hex editor's cell grid.
#include "hex/ui/HexEditor.h"
#include "text/ui/MemoStyles.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace quillet {

namespace {

QColor Complement(const QColor& color)
{
    return QColor(255 - color.red(), 255 - color.green(), 255 - color.blue());
}

} // namespace

QColor THexEditor::RoleColor(THexColorRole role) const
{
    switch (role) {
    case THexColorRole::Background:
        return m_colors.background;
    case THexColorRole::Font:
        return m_colors.font;
    case THexColorRole::Offset:
        return m_colors.offset;
    case THexColorRole::OddColumn:
        return m_colors.oddColumn;
    case THexColorRole::EvenColumn:
        return m_colors.evenColumn;
    case THexColorRole::OddComplement:
        return Complement(m_colors.oddColumn);
    case THexColorRole::EvenComplement:
        return Complement(m_colors.evenColumn);
    case THexColorRole::ChangedText:
        return m_colors.changedText;
    case THexColorRole::ChangedBackground:
        return m_colors.changedBackground;
    case THexColorRole::PositionText:
        return m_colors.positionText;
    case THexColorRole::PositionBackground:
        return m_colors.positionBackground;
    }
    return m_colors.font;
}

void THexEditor::PaintCell(QPainter& painter, const THexCell& cell, const QRect& rect)
{
    const THexCellLook look = m_document.CellLook(cell);
    painter.fillRect(rect, RoleColor(look.backColor));
    painter.setPen(RoleColor(look.textColor));
    if (look.marker) {
        painter.setFont(m_markerFont);
        painter.drawText(rect, Qt::AlignCenter, QString::fromLatin1(look.text.data(), 1));
        painter.setFont(m_font);
        return;
    }
    if (look.text.find_first_not_of(' ') == std::string::npos) {
        return;
    }
    // Character cells show the byte as the system code page reads it.
    const QString text = m_document.Grid().IsCharCol(cell.col)
        ? QString(SystemChar(static_cast<unsigned char>(look.text[0])))
        : QString::fromLatin1(look.text.data(), static_cast<qsizetype>(look.text.size()));
    painter.drawText(rect.left(), rect.top() + 1 + m_ascent, text);
}

void THexEditor::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setFont(m_font);
    const QRect dirty = event->rect();
    painter.fillRect(dirty, m_colors.background);
    const std::int64_t top = TopRow();
    const std::int64_t rows = m_document.RowCount();
    const int visible = VisibleRows() + 1;
    const int scrollX = horizontalScrollBar()->value();
    const std::int64_t cols = m_document.Grid().ColCount();
    for (int i = 0; i < visible && top + i < rows; ++i) {
        const int y = i * m_rowHeight;
        if (y > dirty.bottom() || y + m_rowHeight < dirty.top()) {
            continue;
        }
        for (std::int64_t c = 0; c < cols; ++c) {
            const int x = m_colX[static_cast<std::size_t>(c)] - scrollX;
            const int w = m_colX[static_cast<std::size_t>(c) + 1] - m_colX[static_cast<std::size_t>(c)];
            if (x > dirty.right() || x + w < dirty.left()) {
                continue;
            }
            PaintCell(painter, {c, top + i}, QRect(x, y, w, m_rowHeight));
        }
    }
    if (!hasFocus()) {
        return;
    }
    const THexCell cursor = m_document.Cursor();
    if (cursor.row < top || cursor.row >= top + visible) {
        return;
    }
    // The caret inverts what lies under it: the colour is CursorFrame with
    // its bits inverted, so it shows as CursorFrame on a light background.
    const QRect cell = CellRect(cursor);
    const QRect caret(cell.left(), cell.top() + 1, m_document.GetIsInsertMode() ? 2 : m_charWidth, m_rowHeight - 2);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(caret, Complement(m_colors.cursorFrame));
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_document.GetDataSize() > 0) {
        const THexGrid& grid = m_document.Grid();
        const QRect twin = CellRect({grid.TwinCol(cursor.col), cursor.row});
        painter.setPen(m_colors.cursorFrame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(twin.left(), twin.top(), m_charWidth - 1, m_rowHeight - 1);
    }
}

} // namespace quillet

#pragma once

#include "hex/HexDocument.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>

#include <vector>

namespace quillet {

// The colour set of a hex editor; the complements of the two group colours
// are derived when painting.
struct THexColors {
    QColor background;
    QColor positionBackground{0, 128, 0};
    QColor positionText{255, 255, 255};
    QColor changedBackground;
    QColor changedText{128, 0, 0};
    QColor cursorFrame{0, 0, 128};
    QColor offset{0, 0, 0};
    QColor oddColumn{0, 0, 255};
    QColor evenColumn{0, 0, 128};
    QColor font{0, 0, 0};
};

// The hex editor control: paints its document's cell grid (offsets, marker
// digits, nibble groups and characters) on a scroll area, keeps a caret on
// the cursor cell with a frame on its twin, and turns keys and mouse input
// into the document's operations. Rows are scrolled in whole rows; documents
// with more rows than a scroll bar can count scroll in steps of several rows.
class THexEditor : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit THexEditor(QWidget* parent = nullptr);
    ~THexEditor() override;

    THexDocument& Document() { return m_document; }
    const THexDocument& Document() const { return m_document; }

    void SetColors(const THexColors& colors);
    const THexColors& Colors() const { return m_colors; }
    void SetCellFont(const QFont& font);
    const QFont& CellFont() const { return m_font; }

    // Cell under a viewport point (column clamped to the grid), and the
    // rectangle of a cell in viewport coordinates.
    THexCell CellAt(const QPoint& point) const;
    QRect CellRect(const THexCell& cell) const;
    std::int64_t TopRow() const;
    int VisibleRows() const;
    void ScrollToRow(std::int64_t row);
    void EnsureCursorVisible();
    int CharWidth() const { return m_charWidth; }
    int RowHeight() const { return m_rowHeight; }

signals:
    // Posted: runs after the current input event, once for the changes before it.
    void StateChanged();
    // A click in the marker column on a row.
    void MarkerColumnClicked(qint64 row);
    // An edit could not be written (the system's reason).
    void WriteFailed(const QString& reason);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Relayout();
    void UpdateScrollBars();
    void PostStateChanged();
    void PaintCell(QPainter& painter, const THexCell& cell, const QRect& rect);
    QColor RoleColor(THexColorRole role) const;
    std::int64_t RowScale() const;

    THexDocument m_document;
    THexColors m_colors;
    QFont m_font;
    QFont m_markerFont;
    int m_charWidth = 8;
    int m_rowHeight = 16;
    int m_ascent = 12;
    std::vector<int> m_colX; // left edge of each column; one more entry for the right edge
    std::int64_t m_rowsLaidOut = -1;
    bool m_statePosted = false;
    bool m_shiftDown = false;
};

} // namespace quillet

#include "hex/ui/HexEditor.h"

#include "text/ui/MemoStyles.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace quillet {

namespace {

THexKey KeyOf(int key)
{
    switch (key) {
    case Qt::Key_Insert:
        return THexKey::Insert;
    case Qt::Key_Backspace:
        return THexKey::Backspace;
    case Qt::Key_Delete:
        return THexKey::Delete;
    case Qt::Key_Left:
        return THexKey::Left;
    case Qt::Key_Right:
        return THexKey::Right;
    case Qt::Key_Up:
        return THexKey::Up;
    case Qt::Key_Down:
        return THexKey::Down;
    case Qt::Key_PageUp:
        return THexKey::PageUp;
    case Qt::Key_PageDown:
        return THexKey::PageDown;
    case Qt::Key_Home:
        return THexKey::Home;
    case Qt::Key_End:
        return THexKey::End;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return THexKey::Tab;
    case Qt::Key_T:
        return THexKey::T;
    case Qt::Key_Shift:
        return THexKey::Shift;
    default:
        return THexKey::Other;
    }
}

unsigned ModifiersOf(Qt::KeyboardModifiers modifiers)
{
    unsigned result = hmNone;
    if (modifiers & Qt::ShiftModifier) {
        result |= hmShift;
    }
    if (modifiers & Qt::ControlModifier) {
        result |= hmCtrl;
    }
    if (modifiers & Qt::AltModifier) {
        result |= hmAlt;
    }
    return result;
}

} // namespace

THexEditor::THexEditor(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_colors.background = palette().color(QPalette::Base);
    m_colors.changedBackground = palette().color(QPalette::ToolTipBase);
    m_colors.font = palette().color(QPalette::Text);
    m_colors.offset = palette().color(QPalette::Text);
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(16);
    SetCellFont(font);
    m_document.OnRepaint = [this] {
        if (m_document.RowCount() != m_rowsLaidOut) {
            Relayout();
        }
        viewport()->update();
    };
    m_document.OnStateChanged = [this] {
        PostStateChanged();
    };
    m_document.OnError = [this](const std::string& reason) {
        emit WriteFailed(QString::fromStdString(reason));
    };
    // The control starts as an empty document.
    m_document.CreateEmptyFile({});
}

THexEditor::~THexEditor()
{
    m_document.OnRepaint = nullptr;
    m_document.OnStateChanged = nullptr;
    m_document.OnError = nullptr;
}

void THexEditor::PostStateChanged()
{
    if (m_statePosted) {
        return;
    }
    m_statePosted = true;
    QTimer::singleShot(0, this, [this] {
        m_statePosted = false;
        emit StateChanged();
    });
}

void THexEditor::SetColors(const THexColors& colors)
{
    m_colors = colors;
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, colors.background);
    viewport()->setPalette(p);
    viewport()->update();
}

void THexEditor::SetCellFont(const QFont& font)
{
    m_font = font;
    const QFontMetrics metrics(font);
    m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('w')));
    m_rowHeight = metrics.boundingRect(QStringLiteral("yY")).height() + 2;
    m_rowHeight = std::max(m_rowHeight, metrics.height());
    m_ascent = metrics.ascent();
    m_markerFont = QFont(QStringLiteral("Arial"));
    m_markerFont.setStyleHint(QFont::SansSerif);
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    m_markerFont.setPointSize(std::max(1, static_cast<int>(points * 0.75 + 0.5)));
    Relayout();
}

void THexEditor::Relayout()
{
    const THexGrid& grid = m_document.Grid();
    const std::int64_t rows = m_document.RowCount();
    const std::int64_t cols = grid.ColCount();
    m_colX.assign(static_cast<std::size_t>(cols + 1), 0);
    int x = 0;
    for (std::int64_t c = 0; c < cols; ++c) {
        m_colX[static_cast<std::size_t>(c)] = x;
        x += grid.ColWidth(c, rows) * m_charWidth;
    }
    m_colX.back() = x;
    m_rowsLaidOut = rows;
    UpdateScrollBars();
    viewport()->update();
}

std::int64_t THexEditor::RowScale() const
{
    constexpr std::int64_t kMaxSteps = INT_MAX / 2;
    const std::int64_t rows = m_document.RowCount();
    return rows > kMaxSteps ? (rows + kMaxSteps - 1) / kMaxSteps : 1;
}

int THexEditor::VisibleRows() const
{
    return std::max(1, viewport()->height() / m_rowHeight);
}

std::int64_t THexEditor::TopRow() const
{
    return std::min<std::int64_t>(
        static_cast<std::int64_t>(verticalScrollBar()->value()) * RowScale(), m_document.RowCount() - 1);
}

void THexEditor::UpdateScrollBars()
{
    const std::int64_t scale = RowScale();
    const std::int64_t rows = m_document.RowCount();
    const std::int64_t steps = std::max<std::int64_t>(0, (rows - VisibleRows() + scale - 1) / scale);
    verticalScrollBar()->setRange(0, static_cast<int>(steps));
    verticalScrollBar()->setPageStep(std::max<int>(1, static_cast<int>(VisibleRows() / scale)));
    verticalScrollBar()->setSingleStep(1);
    const int width = m_colX.empty() ? 0 : m_colX.back();
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(m_charWidth);
}

void THexEditor::ScrollToRow(std::int64_t row)
{
    const std::int64_t scale = RowScale();
    verticalScrollBar()->setValue(static_cast<int>(std::max<std::int64_t>(0, row) / scale));
}

void THexEditor::EnsureCursorVisible()
{
    const THexCell cursor = m_document.Cursor();
    const std::int64_t top = TopRow();
    const int visible = VisibleRows();
    if (cursor.row < top) {
        ScrollToRow(cursor.row);
    } else if (cursor.row >= top + visible) {
        ScrollToRow(cursor.row - visible + 1);
    }
    if (static_cast<std::size_t>(cursor.col) + 1 < m_colX.size()) {
        const int left = m_colX[static_cast<std::size_t>(cursor.col)];
        const int right = m_colX[static_cast<std::size_t>(cursor.col) + 1];
        QScrollBar* bar = horizontalScrollBar();
        if (left < bar->value()) {
            bar->setValue(left);
        } else if (right > bar->value() + viewport()->width()) {
            bar->setValue(right - viewport()->width());
        }
    }
}

THexCell THexEditor::CellAt(const QPoint& point) const
{
    const int x = point.x() + horizontalScrollBar()->value();
    auto it = std::upper_bound(m_colX.begin(), m_colX.end() - 1, x);
    const std::int64_t col = std::max<std::int64_t>(0, (it - m_colX.begin()) - 1);
    const std::int64_t row = TopRow() + std::max(0, point.y()) / m_rowHeight - (point.y() < 0 ? 1 : 0);
    return {std::min<std::int64_t>(col, m_document.Grid().ColCount() - 1),
        std::clamp<std::int64_t>(row, 0, m_document.RowCount() - 1)};
}

QRect THexEditor::CellRect(const THexCell& cell) const
{
    if (cell.col < 0 || static_cast<std::size_t>(cell.col) + 1 >= m_colX.size()) {
        return {};
    }
    const int x = m_colX[static_cast<std::size_t>(cell.col)] - horizontalScrollBar()->value();
    const int width = m_colX[static_cast<std::size_t>(cell.col) + 1] - m_colX[static_cast<std::size_t>(cell.col)];
    const std::int64_t y = (cell.row - TopRow()) * m_rowHeight;
    return QRect(x, static_cast<int>(std::clamp<std::int64_t>(y, -m_rowHeight, INT_MAX / 2)), width, m_rowHeight);
}

// ---- input ---------------------------------------------------------------------------

bool THexEditor::event(QEvent* event)
{
    // Tab and Shift+Tab move between the fields instead of the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void THexEditor::keyPressEvent(QKeyEvent* event)
{
    const THexKey key = KeyOf(event->key());
    const unsigned modifiers = ModifiersOf(event->modifiers());
    m_document.SetViewRows(TopRow(), VisibleRows());
    if (key == THexKey::Shift) {
        m_shiftDown = true;
    }
    if (key != THexKey::Other && (key != THexKey::T || (modifiers & hmCtrl) != 0)) {
        const std::int64_t top = m_document.TopRow();
        m_document.KeyDown(key, modifiers);
        if (m_document.TopRow() != top) {
            ScrollToRow(m_document.TopRow());
        }
        EnsureCursorVisible();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && (modifiers & hmCtrl) == 0 && text.at(0).unicode() >= 32) {
        const std::string bytes = ToSystemText(text.left(1));
        if (!bytes.empty()) {
            m_document.TypeChar(static_cast<std::uint8_t>(bytes[0]));
            EnsureCursorVisible();
        }
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void THexEditor::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift) {
        m_shiftDown = false;
        m_document.KeyUp(THexKey::Shift);
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void THexEditor::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const THexCell cell = CellAt(event->position().toPoint());
    if (cell.col == 1) {
        emit MarkerColumnClicked(cell.row);
        return;
    }
    m_document.MouseDown(cell, false);
    EnsureCursorVisible();
}

void THexEditor::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const THexCell cell = CellAt(event->position().toPoint());
        if (cell.col == 1) {
            emit MarkerColumnClicked(cell.row);
            return;
        }
        m_document.MouseDown(cell, true);
    }
}

void THexEditor::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    const THexCell cell = CellAt(point);
    viewport()->setCursor(cell.col <= 1 ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (event->buttons() & Qt::LeftButton) {
        m_document.MouseMove(cell);
        EnsureCursorVisible();
    }
}

void THexEditor::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_document.MouseUp();
        if (m_shiftDown) {
            m_document.KeyDown(THexKey::Shift, hmShift);
        }
    }
}

void THexEditor::focusInEvent(QFocusEvent* event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void THexEditor::focusOutEvent(QFocusEvent* event)
{
    m_document.FocusLost();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void THexEditor::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void THexEditor::scrollContentsBy(int, int)
{
    viewport()->update();
}

} // namespace quillet

// Mouse of the editor view: caret placement, selecting with auto-scroll,
// multiple clicks, dragging the selection, gutter and fold-mark clicks, hot strings.
#include "core/Translations.h"
#include "text/ui/TarnMemo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QStyleHints>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <cctype>

namespace quillet {

namespace {

int ShiftBits(Qt::KeyboardModifiers m)
{
    int shift = 0;
    if (m & Qt::ShiftModifier) {
        shift |= ssShift;
    }
    if (m & Qt::AltModifier) {
        shift |= ssAlt;
    }
    if (m & Qt::ControlModifier) {
        shift |= ssCtrl;
    }
    return shift;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

TTextPoint TTarnMemo::MouseToTextPoint(QPoint pos) const
{
    auto* self = const_cast<TTarnMemo*>(this);
    const int count = m_source->GetStrCount();
    const int lh = std::max(1, m_lineHeight);
    int rowIndex = pos.y() < 0 ? -1 - (-pos.y() - 1) / lh : pos.y() / lh;
    int line = m_topLine;
    int sub = m_topSub;
    const int moved = self->StepRows(line, sub, rowIndex);
    const bool belowLast = rowIndex > 0 && moved < rowIndex;
    if (count == 0) {
        return {0, 0};
    }
    if (belowLast && m_source->HasOption(soBeyondFileEnd)) {
        line = std::min(count - 1 + (rowIndex - moved), INT32_MAX - 1);
        sub = 0;
    }
    const std::string_view text = m_source->GetRawLine(line);
    const TLineGeometry geometry = Geometry();
    std::int64_t originX = static_cast<std::int64_t>(m_leftCol) * m_charWidth;
    std::int64_t startCol = 0;
    bool lastOfLine = true;
    std::size_t rawEnd = text.size();
    if (m_wordWrap && line < count) {
        const TRow row = self->RowAt(line, sub);
        startCol = geometry.ColumnOfPosition(text, row.rawStart);
        originX = geometry.PixelOfColumn(text, startCol);
        lastOfLine = row.lastOfLine;
        rawEnd = row.rawEnd;
    }
    std::int64_t x = pos.x() - m_layout.textLeft;
    if (m_wordWrap) {
        x = std::max<std::int64_t>(0, x); // clamped to the text area
    }
    const bool limitEol = m_source->HasOption(soLimitEOL);
    std::int64_t col = geometry.ColumnOfPixel(text, originX + x, limitEol);
    col = std::max(col, startCol);
    if (!lastOfLine && rawEnd > 0) {
        col = std::min(col, geometry.ColumnOfPosition(text, rawEnd - 1));
    }
    if (belowLast && !m_source->HasOption(soBeyondFileEnd)) {
        // Below the last line: its end.
        col = std::max(col, static_cast<std::int64_t>(0));
    }
    return {static_cast<int>(std::min<std::int64_t>(col, INT32_MAX - 1)), line};
}

int TTarnMemo::GutterImageAt(int line, int x) const
{
    const int imageSize = std::min({m_lineHeight, 16, std::max(1, m_layout.gutterWidth - 1)});
    for (const auto& [index, left] : GutterImagesOf(line)) {
        if (x >= left && x < left + imageSize) {
            return index;
        }
    }
    return -1;
}

bool TTarnMemo::HotStringAt(TTextPoint point, std::string& url) const
{
    if (!m_source->HighlightUrls() || point.line < 0 || point.line >= m_source->GetStrCount()) {
        return false;
    }
    const std::string_view text = m_source->GetRawLine(point.line);
    const int raw = m_source->ColToRaw(point.line, point.col);
    for (const auto& [start, end] : TMemoSource::FindHotStrings(text)) {
        if (raw >= start && raw < end) {
            url = std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
            return true;
        }
    }
    return false;
}

void TTarnMemo::OpenUrl(const std::string& hotString)
{
    std::string url = hotString;
    if (StartsWithNoCase(url, "www.")) {
        url = "http://" + url; // a bare host name is a web address
    } else if (url.find('@') != std::string::npos && !StartsWithNoCase(url, "mailto:")
        && url.find("://") == std::string::npos) {
        url = "mailto:" + url;
    }
    bool handled = false;
    if (OnJumpToUrl) {
        OnJumpToUrl(*this, url, handled);
    }
    if (handled) {
        return;
    }
    if (OnOpenUrl) {
        OnOpenUrl(url);
        return;
    }
    // Through the desktop's URL handler: the text never reaches a shell.
    QDesktopServices::openUrl(QUrl(FromSystemText(url), QUrl::TolerantMode));
}

void TTarnMemo::mousePressEvent(QMouseEvent* event)
{
    const bool wasFocused = hasFocus();
    setFocus(Qt::MouseFocusReason);
    m_source->SetActiveNotifier(this);
    const QPoint pos = event->position().toPoint();
    m_lastMousePos = pos;
    m_lastModifiers = event->modifiers();
    m_pressModifiers = event->modifiers();
    m_dragMoved = false;
    m_pressInGutter = pos.x() < m_layout.foldCellLeft || (m_layout.foldCellWidth == 0 && pos.x() < m_layout.textLeft);
    m_pressInFoldCell = m_layout.foldCellWidth > 0 && pos.x() >= m_layout.foldCellLeft
        && pos.x() < m_layout.foldCellLeft + m_layout.foldCellWidth;
    if (event->button() == Qt::LeftButton && !wasFocused) {
        m_source->ClearSelection();
    }
    if (m_pressInGutter || m_pressInFoldCell) {
        return; // acted on at release
    }
    const bool left = event->button() == Qt::LeftButton;
    const bool right = event->button() == Qt::RightButton;
    if (!left && !(right && !HasOption(m_options, moDisableRightClickMove))) {
        return;
    }
    const TTextPoint point = MouseToTextPoint(pos);
    if (right) {
        if (!m_source->IsPosInBlock(point.col, point.line)) {
            m_source->BeginUpdate(1);
            m_source->JumpTo(point.col, point.line);
            m_source->EndUpdate();
        }
        return;
    }

    // A click shortly after a double click: triple click selects the line.
    if (m_dblClickTime.isValid() && HasOption(m_options, moTripleClick) && !HasOption(m_options, moDblClickLine)
        && m_dblClickTime.elapsed() < QApplication::doubleClickInterval()
        && (pos - m_dblClickPos).manhattanLength() <= QApplication::styleHints()->startDragDistance()) {
        m_dblClickTime.invalidate();
        m_source->BeginUpdate(1);
        m_source->JumpTo(0, point.line);
        m_source->MarkLine();
        m_source->EndUpdate();
        m_dragState = TDragState::MultiClick;
        return;
    }

    const bool inSelection = m_source->HasSelection() && m_source->IsPosInBlock(point.col, point.line);
    if (inSelection && !HasOption(m_options, moDisableDrag) && !m_source->ReadOnly()
        && !(event->modifiers() & Qt::ShiftModifier)) {
        m_dragState = TDragState::DraggingText;
    } else {
        m_dragState = TDragState::Selecting;
        if (event->modifiers() & Qt::ShiftModifier) {
            // Extend from the previous caret to the click.
            const TSelKind kind = (event->modifiers() & Qt::AltModifier) ? TSelKind::selColumn : TSelKind::selStream;
            m_source->UnivMark(kind, [&] {
                m_source->JumpTo(point.col, point.line);
            });
        } else {
            m_source->BeginUpdate(1);
            m_source->ClearSelection();
            m_source->JumpTo(point.col, point.line);
            m_source->EndUpdate();
        }
    }
    m_selectTimer.start();
}

void TTarnMemo::ExtendMouseSelection(QPoint pos, Qt::KeyboardModifiers modifiers)
{
    const QRect area = viewport()->rect();
    // Outside the window the view scrolls toward the pointer.
    if (pos.y() < 0) {
        ScrollRows(-1);
    } else if (pos.y() >= area.height()) {
        ScrollRows(1);
    }
    if (!m_wordWrap) {
        if (pos.x() < m_layout.textLeft && m_leftCol > 0) {
            SetLeftColumn(m_leftCol - 1);
        } else if (pos.x() >= area.width()) {
            SetLeftColumn(m_leftCol + 1);
        }
    }
    QPoint clamped(std::clamp(pos.x(), m_layout.textLeft, std::max(m_layout.textLeft, area.width() - 1)),
        std::clamp(pos.y(), 0, std::max(0, area.height() - 1)));
    const TTextPoint point = MouseToTextPoint(clamped);
    if (m_dragState == TDragState::Selecting) {
        if (point == m_source->GetCaretPoint()) {
            return;
        }
        // Alt chooses a columnar selection (held at the press or now).
        const bool alt = ((modifiers | m_pressModifiers) & Qt::AltModifier) != 0;
        const TSelKind kind = alt ? TSelKind::selColumn : TSelKind::selStream;
        m_source->UnivMark(kind, [&] {
            m_source->JumpTo(point.col, point.line);
        });
    } else if (m_dragState == TDragState::DraggingText) {
        if (point != m_source->GetCaretPoint()) {
            m_dragMoved = true;
            // The caret follows the pointer; the selection stays (a caret move
            // keeps the block only while blocks are persistent).
            const TStringsOptions options = m_source->Options();
            m_source->SetOptions(options | soPersistentBlocks);
            m_source->BeginUpdate(1);
            m_source->JumpTo(point.col, point.line);
            m_source->EndUpdate();
            m_source->SetOptions(options);
        }
        const bool overSelection = m_source->IsPosInBlock(point.col, point.line);
        viewport()->setCursor(overSelection ? Qt::ForbiddenCursor : Qt::DragMoveCursor);
    }
}

void TTarnMemo::OnSelectTimer()
{
    if (!(QApplication::mouseButtons() & Qt::LeftButton) && m_dragState != TDragState::Selecting
        && m_dragState != TDragState::DraggingText) {
        m_selectTimer.stop();
        return;
    }
    const QPoint pos = m_lastMousePos;
    // Only outside the window does the timer keep scrolling on its own.
    if (!viewport()->rect().contains(pos)) {
        ExtendMouseSelection(pos, m_lastModifiers);
    }
}

void TTarnMemo::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    m_lastMousePos = pos;
    m_lastModifiers = event->modifiers();
    if ((event->buttons() & Qt::LeftButton)
        && (m_dragState == TDragState::Selecting || m_dragState == TDragState::DraggingText)) {
        ExtendMouseSelection(pos, event->modifiers());
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (pos.x() < m_layout.textLeft) {
            viewport()->setCursor(Qt::ArrowCursor);
            return;
        }
        std::string url;
        const bool hot = HotStringAt(MouseToTextPoint(pos), url);
        viewport()->setCursor(hot ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
}

void TTarnMemo::mouseReleaseEvent(QMouseEvent* event)
{
    m_selectTimer.stop();
    const QPoint pos = event->position().toPoint();
    const TDragState state = m_dragState;
    m_dragState = TDragState::Idle;
    viewport()->setCursor(Qt::IBeamCursor);

    if (m_pressInGutter || m_pressInFoldCell) {
        const bool fold = m_pressInFoldCell;
        m_pressInGutter = false;
        m_pressInFoldCell = false;
        const TTextPoint point = MouseToTextPoint(QPoint(m_layout.textLeft, pos.y()));
        if (point.line >= m_source->GetStrCount()) {
            return;
        }
        if (fold) {
            const int state = m_source->GetCollapseState(point.line);
            if (state == csCollapsed || state == csExpanded) {
                const int newState = state == csExpanded ? csCollapsed : csExpanded;
                if (OnCollapseStateChanging && !OnCollapseStateChanging(*this, point.line, newState)) {
                    return;
                }
                m_source->SetCollapseState(point.line, newState);
                if (OnCollapseStateChanged) {
                    OnCollapseStateChanged(*this, point.line);
                }
            }
            return;
        }
        if (OnClickGutter) {
            int shift = ShiftBits(event->modifiers());
            shift |= event->button() == Qt::LeftButton ? 8 : event->button() == Qt::RightButton ? 16 : 32;
            OnClickGutter(*this, point.line, GutterImageAt(point.line, pos.x()), shift);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (state == TDragState::Selecting) {
        const TTextPoint caret = m_source->GetCaretPoint();
        if (m_source->SelectionKind() != TSelKind::selNone && caret != m_source->SelStart()
            && caret != m_source->SelEnd()) {
            m_source->ClearSelection();
        }
        if (!m_source->HasSelection()) {
            std::string url;
            if (HotStringAt(MouseToTextPoint(pos), url)) {
                OpenUrl(url);
            }
        }
        return;
    }
    if (state == TDragState::DraggingText) {
        const TTextPoint drop = m_source->GetCaretPoint();
        if (!m_dragMoved || m_source->IsPosInBlock(drop.col, drop.line)) {
            // Dropped onto itself: nothing moves, the selection goes.
            m_source->BeginUpdate(1);
            m_source->ClearSelection();
            const TTextPoint p = MouseToTextPoint(pos);
            m_source->JumpTo(p.col, p.line);
            m_source->EndUpdate();
            return;
        }
        MoveBlockToPosEx(!(event->modifiers() & Qt::ControlModifier));
    }
}

bool TTarnMemo::MoveBlockToPosEx(bool move)
{
    if (m_source->ReadOnly() || !m_source->HasSelection()) {
        return false;
    }
    const TTextPoint drop = m_source->GetCaretPoint();
    if (m_source->IsPosInBlock(drop.col, drop.line)) {
        return false;
    }
    return move ? m_source->MoveBlock() : m_source->CopyBlockToPos();
}

void TTarnMemo::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || pos.x() < m_layout.textLeft) {
        mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const TTextPoint point = MouseToTextPoint(pos);
    m_source->BeginUpdate(1);
    m_source->JumpTo(point.col, point.line);
    if (HasOption(m_options, moDblClickLine)) {
        m_source->MarkLine();
    } else {
        m_source->MarkWordWithType(m_wordSelectionType);
    }
    m_source->EndUpdate();
    m_dblClickTime.start();
    m_dblClickPos = pos;
    m_dragState = TDragState::MultiClick;
}

void TTarnMemo::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 40; // three rows per notch
    if (steps != 0) {
        ScrollRows(-steps);
    }
    const int hsteps = event->angleDelta().x() / 40;
    if (hsteps != 0 && !m_wordWrap) {
        SetLeftColumn(m_leftCol - hsteps);
    }
    event->accept();
}

void TTarnMemo::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu != nullptr) {
        m_popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    if (m_useDefaultMenu) {
        PrepareDefaultMenu()->popup(event->globalPos());
        event->accept();
        return;
    }
    event->ignore();
}

QMenu* TTarnMemo::PrepareDefaultMenu()
{
    struct TEntry {
        const char* key;
        const char* caption;
        TMemoCommand command;
    };
    static const TEntry kEntries[] = {
        {"MemoMenuUndo", "&Undo", TMemoCommand::Undo},
        {nullptr, nullptr, TMemoCommand::Undo},
        {"MemoMenuCut", "Cu&t", TMemoCommand::CutToClipboard},
        {"MemoMenuCopy", "&Copy", TMemoCommand::CopyToClipboard},
        {"MemoMenuPaste", "&Paste", TMemoCommand::PasteFromClipboard},
        {"MemoMenuDelete", "&Delete", TMemoCommand::DeleteBlock},
        {nullptr, nullptr, TMemoCommand::Undo},
        {"MemoMenuSelectAll", "Select &All", TMemoCommand::SelectAll},
    };
    if (m_defaultMenu == nullptr) {
        m_defaultMenu = new QMenu(this);
    }
    m_defaultMenu->clear();
    const TMemoSource& source = *m_source;
    const bool writable = !source.ReadOnly();
    const bool selected = source.HasSelection();
    for (const TEntry& entry : kEntries) {
        if (entry.key == nullptr) {
            m_defaultMenu->addSeparator();
            continue;
        }
        QAction* action = m_defaultMenu->addAction(QString::fromStdString(LangStr(entry.key, entry.caption)));
        const TMemoCommand command = entry.command;
        switch (command) {
        case TMemoCommand::Undo:
            action->setEnabled(writable && source.UndoAvailable());
            break;
        case TMemoCommand::CutToClipboard:
        case TMemoCommand::DeleteBlock:
            action->setEnabled(writable && selected);
            break;
        case TMemoCommand::CopyToClipboard:
            action->setEnabled(selected);
            break;
        case TMemoCommand::PasteFromClipboard:
            action->setEnabled(writable && source.CanPaste());
            break;
        default:
            break;
        }
        connect(action, &QAction::triggered, this, [this, command] {
            ExecuteCommand(command);
        });
    }
    return m_defaultMenu;
}

} // namespace quillet

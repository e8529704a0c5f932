// Keyboard of the editor view: key events through the key mapping to view and
// buffer operations.
#include "core/Translations.h"
#include "text/ui/TarnMemo.h"

#include <QInputDialog>
#include <QKeyEvent>
#include <QUuid>

#include <algorithm>

namespace quillet {

namespace {

// The mapping's key code of a Qt key, or 0 for keys the mapping never binds
// (modifier keys among them, so they cannot end a prefix).
int MemoKeyOf(int key, Qt::KeyboardModifiers modifiers)
{
    switch (key) {
    case Qt::Key_Backspace:
        return mkBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return mkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return mkEnter;
    case Qt::Key_Escape:
        return mkEscape;
    case Qt::Key_Insert:
        return mkInsert;
    case Qt::Key_Delete:
        return mkDelete;
    case Qt::Key_Home:
        return mkHome;
    case Qt::Key_End:
        return mkEnd;
    case Qt::Key_PageUp:
        return mkPageUp;
    case Qt::Key_PageDown:
        return mkPageDown;
    case Qt::Key_Left:
        return mkLeft;
    case Qt::Key_Up:
        return mkUp;
    case Qt::Key_Right:
        return mkRight;
    case Qt::Key_Down:
        return mkDown;
    case Qt::Key_BracketLeft:
        return '[';
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return mkF1 + (key - Qt::Key_F1);
    }
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key; // Qt's codes are the ASCII upper-case letters and digits
    }
    if (modifiers & Qt::ShiftModifier) {
        // Shift turns the digit row into symbols; bindings name the digit.
        static const char* const symbols = ")!@#$%^&*(";
        for (int n = 0; n < 10; ++n) {
            if (key == symbols[n]) {
                return '0' + n;
            }
        }
    }
    return 0;
}

std::uint8_t ShiftOf(Qt::KeyboardModifiers modifiers)
{
    std::uint8_t shift = 0;
    if (modifiers & Qt::ShiftModifier) {
        shift |= ssShift;
    }
    if (modifiers & Qt::AltModifier) {
        shift |= ssAlt;
    }
    if (modifiers & Qt::ControlModifier) {
        shift |= ssCtrl;
    }
    return shift;
}

} // namespace

void TTarnMemo::keyPressEvent(QKeyEvent* event)
{
    const int key = MemoKeyOf(event->key(), event->modifiers());
    if (key != 0) {
        std::uint8_t shift = ShiftOf(event->modifiers());
        if (event->key() == Qt::Key_Backtab) {
            shift |= ssShift;
        }
        const auto result = m_keys.Press(key, shift, m_wantTabs, m_wantReturns);
        if (result.consumed) {
            if (result.command != TMemoCommand::None) {
                ExecuteCommand(result.command);
            }
            event->accept();
            return;
        }
    }
    const QString text = event->text();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrlOrAlt = (mods & (Qt::ControlModifier | Qt::AltModifier)) != 0;
    const bool altGr = (mods & Qt::ControlModifier) && (mods & Qt::AltModifier);
    if (!text.isEmpty() && m_keys.AcceptsCharacters() && (!ctrlOrAlt || altGr)) {
        const std::string bytes = ToSystemText(text);
        bool any = false;
        for (char c : bytes) {
            any = InsertChar(static_cast<unsigned char>(c)) || any;
        }
        if (any || !bytes.empty()) {
            event->accept();
            return;
        }
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool TTarnMemo::InsertChar(unsigned char c)
{
    if (c < 32 || c == 127) {
        return false;
    }
    if (m_source->ReadOnly()) {
        return false;
    }
    const char ch = static_cast<char>(c);
    m_source->BeginUpdate(5);
    m_source->TypeText(std::string_view(&ch, 1));
    m_source->EndUpdate();
    return true;
}

void TTarnMemo::DropSelectionUnlessPersistent()
{
    if (!m_source->HasOption(soPersistentBlocks) && m_source->SelectionKind() != TSelKind::selNone) {
        m_source->ClearSelection();
    }
}

void TTarnMemo::MoveVertical(int rows, bool mark, TSelKind kind)
{
    const bool byPixels = m_wordWrap || !m_useMonoFont || m_source->HasOption(soRetainColumn);
    if (!byPixels) {
        auto step = [&] {
            for (int i = 0; i < std::abs(rows); ++i) {
                const int before = m_source->GetCurLine();
                if (rows < 0) {
                    m_source->CursorUp();
                } else {
                    m_source->CursorDown();
                }
                if (m_source->GetCurLine() == before) {
                    break;
                }
            }
        };
        if (mark) {
            m_source->UnivMark(kind, step);
        } else {
            m_source->BeginUpdate(1);
            step();
            m_source->EndUpdate();
        }
        return;
    }
    // Keep the caret's pixel x inside the row across the move.
    const int line0 = std::min(m_source->GetCurLine(), std::max(0, m_source->GetStrCount() - 1));
    const int col0 = m_source->GetCurChar();
    int sub = line0 == m_source->GetCurLine() ? CaretSubRow() : 0;
    const TLineGeometry geometry = Geometry();
    std::int64_t x = m_preferredX;
    if (x < 0) {
        const TRow row = RowAt(line0, sub);
        const std::string_view text0 = m_source->GetRawLine(line0);
        x = geometry.PixelOfColumn(text0, col0)
            - geometry.PixelOfColumn(text0, geometry.ColumnOfPosition(text0, row.rawStart));
    }
    int line = line0;
    StepRows(line, sub, rows);
    const TRow row = RowAt(line, sub);
    const std::string_view text = m_source->GetRawLine(line);
    const std::int64_t startCol = geometry.ColumnOfPosition(text, row.rawStart);
    const std::int64_t originX = geometry.PixelOfColumn(text, startCol);
    std::int64_t col = geometry.ColumnOfPixel(text, originX + x);
    col = std::max(col, startCol);
    if (!row.lastOfLine) {
        // Stay on this row: its end position already belongs to the next row.
        const std::int64_t lastCol = geometry.ColumnOfPosition(text, row.rawEnd - 1);
        col = std::min(col, lastCol);
    }
    const int targetCol = static_cast<int>(std::min<std::int64_t>(col, INT32_MAX));
    auto jump = [&] {
        m_source->JumpTo(targetCol, line);
    };
    if (mark) {
        m_source->UnivMark(kind, jump);
    } else {
        m_source->BeginUpdate(1);
        jump();
        m_source->EndUpdate();
    }
    m_preferredX = x;
}

void TTarnMemo::MovePage(int direction, bool mark, TSelKind kind)
{
    const int page = PageRows();
    const std::int64_t keepX = m_preferredX;
    ScrollRows(direction * page);
    m_preferredX = keepX;
    MoveVertical(direction * page, mark, kind);
}

void TTarnMemo::JumpToScreenEdge(bool bottom, bool mark, TSelKind kind)
{
    int line = m_topLine;
    int sub = m_topSub;
    if (bottom) {
        StepRows(line, sub, PageRows() - 1);
    }
    // Count the rows between the caret and that row and move by them.
    int caretLine = m_source->GetCurLine();
    int caretSub = CaretSubRow();
    int rows = 0;
    if (const auto fromTop = RowsFromTop(caretLine, caretSub, PageRows() + 1)) {
        rows = (bottom ? PageRows() - 1 : 0) - *fromTop;
    } else {
        // Caret off screen: jump straight to the row.
        const TRow row = RowAt(line, sub);
        const std::string_view text = m_source->GetRawLine(line);
        const int col = static_cast<int>(Geometry().ColumnOfPosition(text, row.rawStart));
        auto jump = [&] {
            m_source->JumpTo(col, line);
        };
        if (mark) {
            m_source->UnivMark(kind, jump);
        } else {
            jump();
        }
        return;
    }
    (void)caretLine;
    if (rows != 0) {
        MoveVertical(rows, mark, kind);
    }
}

void TTarnMemo::JumpToRowEdge(bool end, bool mark)
{
    auto move = [&] {
        if (!m_wordWrap) {
            if (end) {
                m_source->JumpToLineEnd();
            } else {
                m_source->JumpToLineBegin();
            }
            return;
        }
        const int line = m_source->GetCurLine();
        const TRow row = RowAt(line, CaretSubRow());
        const std::string_view text = m_source->GetRawLine(line);
        const TLineGeometry geometry = Geometry();
        std::size_t raw = row.rawStart;
        if (end) {
            raw = row.lastOfLine ? text.size() : (row.rawEnd > row.rawStart ? row.rawEnd - 1 : row.rawStart);
        }
        m_source->JumpTo(static_cast<int>(geometry.ColumnOfPosition(text, raw)), line);
    };
    if (mark) {
        m_source->UnivMark(TSelKind::selStream, move);
    } else {
        m_source->BeginUpdate(1);
        DropSelectionUnlessPersistent();
        move();
        m_source->EndUpdate();
    }
}

void TTarnMemo::BookmarkJump(int n)
{
    const int oldTop = m_topLine;
    m_source->GoToBookMarkKey(n);
    if (HasOption(m_options, moCenterOnBookmark) || oldTop != m_topLine) {
        CenterScreenOnLine();
    }
}

enum class TRowMove : std::uint8_t { Rows, Page, ScreenEdge };

namespace {

using C = TMemoCommand;

// Commands that are one call of the buffer, with no view state involved.
struct TSourceCommand {
    TMemoCommand command;
    void (TMemoSource::*run)();
};
constexpr TSourceCommand kSourceCommands[] = {
    {C::JumpToFileBegin, &TMemoSource::JumpToFileBegin},
    {C::JumpToFileEnd, &TMemoSource::JumpToFileEnd},
    {C::JumpWordLeft, &TMemoSource::JumpWordLeft},
    {C::JumpWordRight, &TMemoSource::JumpWordRight},
    {C::MemoMarkLeft, &TMemoSource::MarkLeft},
    {C::MarkRight, &TMemoSource::MarkRight},
    {C::MarkToFileBegin, &TMemoSource::MarkToFileBegin},
    {C::MarkToFileEnd, &TMemoSource::MarkToFileEnd},
    {C::MarkWordLeft, &TMemoSource::MarkWordLeft},
    {C::MarkWordRight, &TMemoSource::MarkWordRight},
    {C::MarkColLeft, &TMemoSource::MarkColLeft},
    {C::MarkColRight, &TMemoSource::MarkColRight},
    {C::MarkColToLineBegin, &TMemoSource::MarkColToLineBegin},
    {C::MarkColToLineEnd, &TMemoSource::MarkColToLineEnd},
    {C::MarkColToFileBegin, &TMemoSource::MarkColToFileBegin},
    {C::MarkColToFileEnd, &TMemoSource::MarkColToFileEnd},
    {C::MarkColWordLeft, &TMemoSource::MarkColWordLeft},
    {C::MarkColWordRight, &TMemoSource::MarkColWordRight},
    {C::PressEnter, &TMemoSource::PressEnter},
    {C::PressTab, &TMemoSource::PressTab},
    {C::PressShiftTab, &TMemoSource::PressShiftTab},
    {C::DeleteCharLeft, &TMemoSource::DeleteCharLeft},
    {C::DeleteCharRight, &TMemoSource::DeleteCharRight},
    {C::DeleteWordLeft, &TMemoSource::DeleteWordLeft},
    {C::Undo, &TMemoSource::Undo},
    {C::Redo, &TMemoSource::Redo},
    {C::ToggleInsMode, &TMemoSource::ToggleInsMode},
    {C::DeleteBlock, &TMemoSource::DeleteBlock},
    {C::SelectAll, &TMemoSource::SelectAll},
    {C::DeleteLine, &TMemoSource::DeleteLine},
    {C::DeleteToLineEnd, &TMemoSource::DeleteToLineEnd},
    {C::CorrectDeleteWordRight, &TMemoSource::CorrectDeleteWordRight},
    {C::QuoteBlock, &TMemoSource::QuoteBlock},
    {C::FindNextBracket, &TMemoSource::FindNextBracket},
    {C::MarkBlockBegin, &TMemoSource::MarkBlockBegin},
    {C::MarkBlockEnd, &TMemoSource::MarkBlockEnd},
    {C::DuplicateBlock, &TMemoSource::DuplicateBlock},
    {C::MarkLine, &TMemoSource::MarkLine},
    {C::UpperCaseBlock, &TMemoSource::UpperCaseBlock},
    {C::LowerCaseBlock, &TMemoSource::LowerCaseBlock},
    {C::MarkWord, &TMemoSource::MarkWord},
    {C::LowerCaseWord, &TMemoSource::LowerCaseWord},
    {C::UpperCaseWord, &TMemoSource::UpperCaseWord},
    {C::ToggleBlockCase, &TMemoSource::ToggleBlockCase},
};

// Moves by rows that the view works out (wrapped rows, pages, screen edges),
// plain or extending a stream or column selection.
struct TRowMoveCommand {
    TMemoCommand command;
    TRowMove move;
    int direction; // -1 up, 1 down
    bool mark;
    TSelKind kind;
};
constexpr TSelKind kStream = TSelKind::selStream;
constexpr TSelKind kColumn = TSelKind::selColumn;
constexpr TRowMoveCommand kRowMoves[] = {
    {C::PageUp, TRowMove::Page, -1, false, kStream},
    {C::PageDown, TRowMove::Page, 1, false, kStream},
    {C::JumpToScreenTop, TRowMove::ScreenEdge, -1, false, kStream},
    {C::JumpToScreenBottom, TRowMove::ScreenEdge, 1, false, kStream},
    {C::MemoMarkUp, TRowMove::Rows, -1, true, kStream},
    {C::MemoMarkDown, TRowMove::Rows, 1, true, kStream},
    {C::MarkPageUp, TRowMove::Page, -1, true, kStream},
    {C::MarkPageDown, TRowMove::Page, 1, true, kStream},
    {C::MarkToTop, TRowMove::ScreenEdge, -1, true, kStream},
    {C::MarkToBottom, TRowMove::ScreenEdge, 1, true, kStream},
    {C::MarkColUp, TRowMove::Rows, -1, true, kColumn},
    {C::MarkColDown, TRowMove::Rows, 1, true, kColumn},
    {C::MarkColPageUp, TRowMove::Page, -1, true, kColumn},
    {C::MarkColPageDown, TRowMove::Page, 1, true, kColumn},
    {C::MarkColToTop, TRowMove::ScreenEdge, -1, true, kColumn},
    {C::MarkColToBottom, TRowMove::ScreenEdge, 1, true, kColumn},
};

template <typename T, std::size_t N> const T* FindCommand(const T (&table)[N], TMemoCommand command)
{
    for (const T& entry : table) {
        if (entry.command == command) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

void TTarnMemo::RunRowMove(TRowMove move, int direction, bool mark, TSelKind kind)
{
    // A plain move drops a selection that does not persist; a marking one extends it.
    if (!mark) {
        m_source->BeginUpdate(1);
        DropSelectionUnlessPersistent();
    }
    switch (move) {
    case TRowMove::Rows:
        MoveVertical(direction, mark, kind);
        break;
    case TRowMove::Page:
        MovePage(direction, mark, kind);
        break;
    case TRowMove::ScreenEdge:
        JumpToScreenEdge(direction > 0, mark, kind);
        break;
    }
    if (!mark) {
        m_source->EndUpdate();
    }
}

bool TTarnMemo::ExecuteCommand(TMemoCommand command)
{
    TMemoSource& s = *m_source;
    const int n = static_cast<int>(command);
    if (command >= C::GoToBookMark0 && command <= C::GoToBookMark9) {
        BookmarkJump(n - static_cast<int>(C::GoToBookMark0));
        return true;
    }
    if (command >= C::ToggleBookMark0 && command <= C::ToggleBookMark9) {
        s.ToggleBookMarkKey(n - static_cast<int>(C::ToggleBookMark0));
        return true;
    }
    if (const TSourceCommand* entry = FindCommand(kSourceCommands, command)) {
        (s.*entry->run)();
        return true;
    }
    if (const TRowMoveCommand* entry = FindCommand(kRowMoves, command)) {
        RunRowMove(entry->move, entry->direction, entry->mark, entry->kind);
        return true;
    }
    return ExecuteViewCommand(command);
}

bool TTarnMemo::ExecuteViewCommand(TMemoCommand command)
{
    TMemoSource& s = *m_source;
    switch (command) {
    case C::MemoCursorUp:
    case C::MemoCursorDown:
        if (m_hideCaret) {
            ScrollRows(command == C::MemoCursorUp ? -1 : 1);
        } else {
            RunRowMove(TRowMove::Rows, command == C::MemoCursorUp ? -1 : 1, false, TSelKind::selStream);
        }
        return true;
    case C::MemoCursorLeft:
        if (m_hideCaret) {
            SetLeftColumn(m_leftCol - 1);
        } else if (s.GetCurChar() == 0 && s.GetCurLine() > 0 && HasOption(m_options, moNotePadCursorStyle)) {
            s.BeginUpdate(1);
            s.JumpTo(s.LineLength(s.GetCurLine() - 1), s.GetCurLine() - 1);
            s.EndUpdate();
        } else {
            s.CursorLeft();
        }
        return true;
    case C::MemoCursorRight:
        if (m_hideCaret) {
            SetLeftColumn(m_leftCol + 1);
        } else {
            s.CursorRight();
        }
        return true;
    case C::MemoJumpToLineBegin:
    case C::MemoJumpToLineEnd:
        JumpToRowEdge(command == C::MemoJumpToLineEnd, false);
        return true;
    case C::MemoMarkToLineBegin:
    case C::MemoMarkToLineEnd:
        JumpToRowEdge(command == C::MemoMarkToLineEnd, true);
        return true;
    case C::ScrollUp:
    case C::ScrollDown:
        ScrollRows(command == C::ScrollUp ? -1 : 1);
        return true;
    case C::ProcessEscape:
        if (m_dragState == TDragState::DraggingText || m_dragState == TDragState::Selecting) {
            m_selectTimer.stop();
            m_dragState = TDragState::Idle;
            viewport()->setCursor(Qt::IBeamCursor);
            return true;
        }
        return OnExternalCommand ? OnExternalCommand(*this, command) : false;
    case C::CutToClipboard:
        CutToClipboard();
        return true;
    case C::CopyToClipboard:
        CopyToClipboard();
        return true;
    case C::PasteFromClipboard:
        PasteFromClipboard();
        return true;
    case C::InsertLine: {
        s.BeginUpdate(3);
        const TTextPoint caret = s.GetCaretPoint();
        s.BreakLine();
        s.JumpTo(caret.col, caret.line);
        s.EndUpdate();
        return true;
    }
    case C::IndentBlock:
        s.IndentBlock();
        return true;
    case C::OutDentBlock:
        s.OutDentBlock();
        return true;
    case C::InsertGUID:
        if (!s.ReadOnly()) {
            s.InsertString(QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toStdString());
        }
        return true;
    case C::KeyMoveBlock:
        s.MoveBlock();
        return true;
    case C::JumpToBlockBegin:
    case C::JumpToBlockEnd:
        if (s.SelectionKind() != TSelKind::selNone) {
            const TTextPoint a = std::min(s.SelStart(), s.SelEnd());
            const TTextPoint b = std::max(s.SelStart(), s.SelEnd());
            const TTextPoint p = command == C::JumpToBlockBegin ? a : b;
            s.BeginUpdate(1);
            s.JumpTo(p.col, p.line);
            s.EndUpdate();
        }
        return true;
    case C::PromptedGotoLine:
        PromptedGotoLine();
        return true;
    case C::KeyFindNext:
    case C::ShowSearchDialog:
    case C::ShowReplaceDialog:
    case C::ShowCodeTemplates:
        return OnExternalCommand ? OnExternalCommand(*this, command) : false;
    default:
        return false;
    }
}

void TTarnMemo::PromptedGotoLine()
{
    std::optional<int> line;
    if (OnPromptLineNumber) {
        line = OnPromptLineNumber(*this);
    } else {
        bool ok = false;
        const int count = std::max(1, m_source->GetStrCount());
        const int value = QInputDialog::getInt(this,
            QString::fromStdString(LangStr("GotoLineCaption", "Go to line Number")),
            QString::fromStdString(LangStr("GotoLinePrompt", "&Enter new line number:")),
            m_source->GetCurLine() + 1,
            1,
            count,
            1,
            &ok);
        if (ok) {
            line = value;
        }
    }
    if (!line) {
        return;
    }
    const int target = std::clamp(*line - 1, 0, std::max(0, m_source->GetStrCount() - 1));
    CenteredJumpTo(0, target);
}

void TTarnMemo::CopyToClipboard()
{
    m_source->CopyBlock();
}

void TTarnMemo::CutToClipboard()
{
    m_source->CutBlock();
}

void TTarnMemo::PasteFromClipboard()
{
    m_source->PasteBlock();
}

void TTarnMemo::ToggleImageAndTextStyle(const std::string& name)
{
    const int image = GutterImageIndex(name);
    int style = -1;
    for (std::size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].name == name) {
            style = static_cast<int>(i);
            break;
        }
    }
    const int line = m_source->GetCurLine();
    if (image < 0 || image >= 16 || style < 0 || line >= m_source->GetStrCount()) {
        return;
    }
    const bool on = !m_source->GetImageBit(line, image);
    m_source->BeginUpdate(8);
    m_source->SetImageBit(line, image, on);
    m_source->SetLineTextStyle(line, on ? style : 0);
    m_source->EndUpdate();
}

} // namespace quillet

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

bool TTarnMemo::ExecuteCommand(TMemoCommand command)
{
    using C = TMemoCommand;
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
    const TSelKind stream = TSelKind::selStream;
    const TSelKind column = TSelKind::selColumn;
    switch (command) {
    case C::None:
        return false;
    case C::MemoCursorUp:
    case C::MemoCursorDown:
        if (m_hideCaret) {
            ScrollRows(command == C::MemoCursorUp ? -1 : 1);
        } else {
            s.BeginUpdate(1);
            DropSelectionUnlessPersistent();
            MoveVertical(command == C::MemoCursorUp ? -1 : 1, false, stream);
            s.EndUpdate();
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
    case C::PageUp:
    case C::PageDown:
        s.BeginUpdate(1);
        DropSelectionUnlessPersistent();
        MovePage(command == C::PageUp ? -1 : 1, false, stream);
        s.EndUpdate();
        return true;
    case C::MemoJumpToLineBegin:
    case C::MemoJumpToLineEnd:
        JumpToRowEdge(command == C::MemoJumpToLineEnd, false);
        return true;
    case C::JumpToFileBegin:
        s.JumpToFileBegin();
        return true;
    case C::JumpToFileEnd:
        s.JumpToFileEnd();
        return true;
    case C::JumpToScreenTop:
    case C::JumpToScreenBottom:
        s.BeginUpdate(1);
        DropSelectionUnlessPersistent();
        JumpToScreenEdge(command == C::JumpToScreenBottom, false, stream);
        s.EndUpdate();
        return true;
    case C::ScrollUp:
        ScrollRows(-1);
        return true;
    case C::ScrollDown:
        ScrollRows(1);
        return true;
    case C::JumpWordLeft:
        s.JumpWordLeft();
        return true;
    case C::JumpWordRight:
        s.JumpWordRight();
        return true;
    case C::MemoMarkUp:
    case C::MemoMarkDown:
        MoveVertical(command == C::MemoMarkUp ? -1 : 1, true, stream);
        return true;
    case C::MemoMarkLeft:
        s.MarkLeft();
        return true;
    case C::MarkRight:
        s.MarkRight();
        return true;
    case C::MemoMarkToLineBegin:
    case C::MemoMarkToLineEnd:
        JumpToRowEdge(command == C::MemoMarkToLineEnd, true);
        return true;
    case C::MarkPageUp:
    case C::MarkPageDown:
        MovePage(command == C::MarkPageUp ? -1 : 1, true, stream);
        return true;
    case C::MarkToTop:
    case C::MarkToBottom:
        JumpToScreenEdge(command == C::MarkToBottom, true, stream);
        return true;
    case C::MarkToFileBegin:
        s.MarkToFileBegin();
        return true;
    case C::MarkToFileEnd:
        s.MarkToFileEnd();
        return true;
    case C::MarkWordLeft:
        s.MarkWordLeft();
        return true;
    case C::MarkWordRight:
        s.MarkWordRight();
        return true;
    case C::MarkColUp:
    case C::MarkColDown:
        MoveVertical(command == C::MarkColUp ? -1 : 1, true, column);
        return true;
    case C::MarkColLeft:
        s.MarkColLeft();
        return true;
    case C::MarkColRight:
        s.MarkColRight();
        return true;
    case C::MarkColToLineBegin:
        s.MarkColToLineBegin();
        return true;
    case C::MarkColToLineEnd:
        s.MarkColToLineEnd();
        return true;
    case C::MarkColPageUp:
    case C::MarkColPageDown:
        MovePage(command == C::MarkColPageUp ? -1 : 1, true, column);
        return true;
    case C::MarkColToTop:
    case C::MarkColToBottom:
        JumpToScreenEdge(command == C::MarkColToBottom, true, column);
        return true;
    case C::MarkColToFileBegin:
        s.MarkColToFileBegin();
        return true;
    case C::MarkColToFileEnd:
        s.MarkColToFileEnd();
        return true;
    case C::MarkColWordLeft:
        s.MarkColWordLeft();
        return true;
    case C::MarkColWordRight:
        s.MarkColWordRight();
        return true;
    case C::PressEnter:
        s.PressEnter();
        return true;
    case C::PressTab:
        s.PressTab();
        return true;
    case C::PressShiftTab:
        s.PressShiftTab();
        return true;
    case C::DeleteCharLeft:
        s.DeleteCharLeft();
        return true;
    case C::DeleteCharRight:
        s.DeleteCharRight();
        return true;
    case C::DeleteWordLeft:
        s.DeleteWordLeft();
        return true;
    case C::Undo:
        s.Undo();
        return true;
    case C::Redo:
        s.Redo();
        return true;
    case C::ToggleInsMode:
        s.ToggleInsMode();
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
    case C::DeleteBlock:
        s.DeleteBlock();
        return true;
    case C::SelectAll:
        s.SelectAll();
        return true;
    case C::DeleteLine:
        s.DeleteLine();
        return true;
    case C::DeleteToLineEnd:
        s.DeleteToLineEnd();
        return true;
    case C::CorrectDeleteWordRight:
        s.CorrectDeleteWordRight();
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
    case C::QuoteBlock:
        s.QuoteBlock();
        return true;
    case C::FindNextBracket:
        s.FindNextBracket();
        return true;
    case C::MarkBlockBegin:
        s.MarkBlockBegin();
        return true;
    case C::MarkBlockEnd:
        s.MarkBlockEnd();
        return true;
    case C::DuplicateBlock:
        s.DuplicateBlock();
        return true;
    case C::MarkLine:
        s.MarkLine();
        return true;
    case C::UpperCaseBlock:
        s.UpperCaseBlock();
        return true;
    case C::LowerCaseBlock:
        s.LowerCaseBlock();
        return true;
    case C::MarkWord:
        s.MarkWord();
        return true;
    case C::KeyMoveBlock:
        s.MoveBlock();
        return true;
    case C::LowerCaseWord:
        s.LowerCaseWord();
        return true;
    case C::UpperCaseWord:
        s.UpperCaseWord();
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
    case C::ToggleBlockCase:
        s.ToggleBlockCase();
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

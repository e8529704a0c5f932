#include "text/KeyMapping.h"

namespace quillet {

namespace {

using C = TMemoCommand;

constexpr std::uint8_t kNone = ssNone;
constexpr std::uint8_t kShift = ssShift;
constexpr std::uint8_t kAlt = ssAlt;
constexpr std::uint8_t kCtrl = ssCtrl;
constexpr std::uint8_t kCtrlShift = ssCtrl | ssShift;
constexpr std::uint8_t kAltShift = ssAlt | ssShift;
constexpr std::uint8_t kCtrlAltShift = ssCtrl | ssAlt | ssShift;

// Prefix states left by Ctrl+K, Ctrl+Q and Ctrl+O.
constexpr std::uint8_t kStateK = 1;
constexpr std::uint8_t kStateQ = 2;
constexpr std::uint8_t kStateO = 5;

TMemoCommand Offset(TMemoCommand base, int n)
{
    return static_cast<TMemoCommand>(static_cast<int>(base) + n);
}

} // namespace

TKeyMapping TKeyMapping::Create(std::string_view name)
{
    (void)name; // "Classic", "Brief", "Epsilon" and "Visual Studio" fall back to the default set
    TKeyMapping mapping;
    mapping.AddDefault();
    return mapping;
}

const TKeyBinding* TKeyMapping::Find(int key, std::uint8_t shift, std::uint8_t state) const
{
    for (auto it = m_bindings.rbegin(); it != m_bindings.rend(); ++it) {
        if (it->key == key && it->shift == shift && (it->state == state || it->state == kAnyKeyState)) {
            return &*it;
        }
    }
    return nullptr;
}

void TKeyMapping::AddDefault()
{
    auto any = [this](int key, std::uint8_t shift, C command) {
        Add({key, shift, kAnyKeyState, 0, command});
    };
    auto bind = [this](int key, std::uint8_t shift, C command) {
        Add({key, shift, 0, 0, command});
    };
    // In a prefix state, a letter works plain or with Ctrl held.
    auto prefixed = [this](std::uint8_t state, int key, C command) {
        Add({key, kNone, state, 0, command});
        Add({key, kCtrl, state, 0, command});
    };
    auto prefixedCtrl = [this](std::uint8_t state, int key, C command) {
        Add({key, kCtrl, state, 0, command});
    };

    any(mkUp, kNone, C::MemoCursorUp);
    any(mkDown, kNone, C::MemoCursorDown);
    any(mkLeft, kNone, C::MemoCursorLeft);
    any(mkRight, kNone, C::MemoCursorRight);
    any(mkPageUp, kNone, C::PageUp);
    any(mkPageDown, kNone, C::PageDown);
    any(mkHome, kNone, C::MemoJumpToLineBegin);
    any(mkEnd, kNone, C::MemoJumpToLineEnd);
    any(mkHome, kCtrl, C::JumpToFileBegin);
    any(mkEnd, kCtrl, C::JumpToFileEnd);
    any(mkPageUp, kCtrl, C::JumpToScreenTop);
    any(mkPageDown, kCtrl, C::JumpToScreenBottom);
    bind(mkUp, kCtrl, C::ScrollUp);
    bind(mkDown, kCtrl, C::ScrollDown);
    bind(mkLeft, kCtrl, C::JumpWordLeft);
    bind(mkRight, kCtrl, C::JumpWordRight);

    bind(mkUp, kShift, C::MemoMarkUp);
    bind(mkDown, kShift, C::MemoMarkDown);
    bind(mkLeft, kShift, C::MemoMarkLeft);
    bind(mkRight, kShift, C::MarkRight);
    bind(mkHome, kShift, C::MemoMarkToLineBegin);
    bind(mkEnd, kShift, C::MemoMarkToLineEnd);
    bind(mkPageUp, kShift, C::MarkPageUp);
    bind(mkPageDown, kShift, C::MarkPageDown);
    bind(mkPageUp, kCtrlShift, C::MarkToTop);
    bind(mkPageDown, kCtrlShift, C::MarkToBottom);
    bind(mkHome, kCtrlShift, C::MarkToFileBegin);
    bind(mkEnd, kCtrlShift, C::MarkToFileEnd);
    bind(mkLeft, kCtrlShift, C::MarkWordLeft);
    bind(mkRight, kCtrlShift, C::MarkWordRight);

    bind(mkUp, kAltShift, C::MarkColUp);
    bind(mkDown, kAltShift, C::MarkColDown);
    bind(mkLeft, kAltShift, C::MarkColLeft);
    bind(mkRight, kAltShift, C::MarkColRight);
    bind(mkHome, kAltShift, C::MarkColToLineBegin);
    bind(mkEnd, kAltShift, C::MarkColToLineEnd);
    bind(mkPageUp, kAltShift, C::MarkColPageUp);
    bind(mkPageDown, kAltShift, C::MarkColPageDown);
    bind(mkHome, kCtrlAltShift, C::MarkColToTop);
    bind(mkEnd, kCtrlAltShift, C::MarkColToBottom);
    bind(mkPageUp, kCtrlAltShift, C::MarkColToFileBegin);
    bind(mkPageDown, kCtrlAltShift, C::MarkColToFileEnd);
    bind(mkLeft, kCtrlAltShift, C::MarkColWordLeft);
    bind(mkRight, kCtrlAltShift, C::MarkColWordRight);

    bind(mkEnter, kNone, C::PressEnter);
    bind(mkEnter, kShift, C::PressEnter);
    bind(mkTab, kNone, C::PressTab);
    bind(mkTab, kShift, C::PressShiftTab);
    bind(mkBackspace, kNone, C::DeleteCharLeft);
    bind(mkBackspace, kShift, C::DeleteCharLeft);
    bind(mkDelete, kNone, C::DeleteCharRight);
    bind(mkBackspace, kCtrl, C::DeleteWordLeft);
    bind(mkBackspace, kAlt, C::Undo);
    bind(mkBackspace, kAltShift, C::Redo);
    bind(mkInsert, kNone, C::ToggleInsMode);
    bind(mkEscape, kNone, C::ProcessEscape);
    bind('X', kCtrl, C::CutToClipboard);
    bind(mkDelete, kShift, C::CutToClipboard);
    bind('C', kCtrl, C::CopyToClipboard);
    bind(mkInsert, kCtrl, C::CopyToClipboard);
    bind('V', kCtrl, C::PasteFromClipboard);
    bind(mkInsert, kShift, C::PasteFromClipboard);
    bind(mkDelete, kCtrl, C::DeleteBlock);
    bind('Z', kCtrl, C::Undo);
    bind('Z', kCtrlShift, C::Redo);
    bind('A', kCtrl, C::SelectAll);
    bind('Y', kCtrl, C::DeleteLine);
    bind('Y', kCtrlShift, C::DeleteToLineEnd);
    bind('T', kCtrl, C::CorrectDeleteWordRight);
    bind('N', kCtrl, C::InsertLine);
    bind('I', kCtrl, C::PressTab);
    bind('I', kCtrlShift, C::IndentBlock);
    bind('U', kCtrlShift, C::OutDentBlock);
    bind('G', kCtrlShift, C::InsertGUID);
    bind('Q', kCtrl | kAlt, C::QuoteBlock);
    bind('[', kCtrl, C::FindNextBracket);
    bind(mkF3, kNone, C::KeyFindNext);
    bind('E', kCtrl, C::KeyFindNext);
    bind('L', kCtrl, C::KeyFindNext);
    bind('F', kCtrl, C::ShowSearchDialog);
    bind('R', kCtrl, C::ShowReplaceDialog);
    bind('J', kCtrl, C::ShowCodeTemplates);
    for (int n = 0; n <= 9; ++n) {
        bind('0' + n, kCtrl, Offset(C::GoToBookMark0, n));
        bind('0' + n, kCtrlShift, Offset(C::ToggleBookMark0, n));
    }

    // Prefix keys: only the key state changes.
    Add({'K', kCtrl, 0, kStateK, C::None});
    Add({'Q', kCtrl, 0, kStateQ, C::None});
    Add({'O', kCtrl, 0, kStateO, C::None});

    prefixed(kStateK, 'B', C::MarkBlockBegin);
    prefixed(kStateK, 'K', C::MarkBlockEnd);
    prefixed(kStateK, 'C', C::DuplicateBlock);
    prefixed(kStateK, 'I', C::IndentBlock);
    prefixed(kStateK, 'L', C::MarkLine);
    prefixed(kStateK, 'N', C::UpperCaseBlock);
    prefixed(kStateK, 'O', C::LowerCaseBlock);
    prefixed(kStateK, 'U', C::OutDentBlock);
    prefixed(kStateK, 'T', C::MarkWord);
    prefixed(kStateK, 'V', C::KeyMoveBlock);
    prefixed(kStateK, 'Y', C::DeleteBlock);
    prefixed(kStateK, 'E', C::LowerCaseWord);
    prefixed(kStateK, 'F', C::UpperCaseWord);
    for (int n = 0; n <= 9; ++n) {
        prefixed(kStateK, '0' + n, Offset(C::ToggleBookMark0, n));
        prefixed(kStateQ, '0' + n, Offset(C::GoToBookMark0, n));
        Add({'0' + n, kCtrlShift, kStateQ, 0, Offset(C::ToggleBookMark0, n)});
    }

    prefixedCtrl(kStateQ, 'A', C::ShowReplaceDialog);
    prefixedCtrl(kStateQ, 'F', C::ShowSearchDialog);
    prefixedCtrl(kStateQ, 'Y', C::DeleteToLineEnd);
    prefixedCtrl(kStateQ, 'B', C::JumpToBlockBegin);
    prefixedCtrl(kStateQ, 'K', C::JumpToBlockEnd);
    prefixedCtrl(kStateQ, 'R', C::JumpToFileBegin);
    prefixedCtrl(kStateQ, 'C', C::JumpToFileEnd);
    prefixedCtrl(kStateQ, 'S', C::MemoJumpToLineBegin);
    prefixedCtrl(kStateQ, 'D', C::MemoJumpToLineEnd);
    prefixedCtrl(kStateQ, 'E', C::JumpToScreenTop);
    prefixedCtrl(kStateQ, 'T', C::JumpToScreenTop);
    prefixedCtrl(kStateQ, 'U', C::JumpToScreenBottom);
    prefixedCtrl(kStateQ, 'X', C::JumpToScreenBottom);

    prefixedCtrl(kStateO, 'G', C::PromptedGotoLine);
    prefixedCtrl(kStateO, 'U', C::ToggleBlockCase);
    prefixedCtrl(kStateO, 'L', C::MarkLine);
}

TKeyDispatcher::TResult TKeyDispatcher::Press(int key, std::uint8_t shift, bool wantTabs, bool wantReturns)
{
    if (key == mkEnter || key == mkTab) {
        const bool wanted = key == mkEnter ? wantReturns : wantTabs;
        if (!wanted) {
            if ((shift & ssCtrl) == 0) {
                return {};
            }
            shift = static_cast<std::uint8_t>(shift & ~ssCtrl);
        }
    }
    const TKeyBinding* binding = m_mapping.Find(key, shift, m_state);
    if (binding == nullptr) {
        // An unbound key inside a prefix ends it and is swallowed, so Ctrl+K
        // then X neither runs anything nor types an "x".
        const bool inPrefix = m_state != 0;
        m_state = 0;
        return {inPrefix, TMemoCommand::None};
    }
    m_state = binding->leaveState;
    return {true, binding->command};
}

} // namespace quillet

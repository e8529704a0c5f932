#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// Operations a key of the editor view can run. The view carries them out on
// itself or its buffer; the dialog commands are handed to the window above.
enum class TMemoCommand : std::uint16_t {
    None, // prefix keys: only the key state changes
    MemoCursorUp,
    MemoCursorDown,
    MemoCursorLeft,
    MemoCursorRight,
    PageUp,
    PageDown,
    MemoJumpToLineBegin,
    MemoJumpToLineEnd,
    JumpToFileBegin,
    JumpToFileEnd,
    JumpToScreenTop,
    JumpToScreenBottom,
    ScrollUp,
    ScrollDown,
    JumpWordLeft,
    JumpWordRight,
    MemoMarkUp,
    MemoMarkDown,
    MemoMarkLeft,
    MarkRight,
    MemoMarkToLineBegin,
    MemoMarkToLineEnd,
    MarkPageUp,
    MarkPageDown,
    MarkToTop,
    MarkToBottom,
    MarkToFileBegin,
    MarkToFileEnd,
    MarkWordLeft,
    MarkWordRight,
    MarkColUp,
    MarkColDown,
    MarkColLeft,
    MarkColRight,
    MarkColToLineBegin,
    MarkColToLineEnd,
    MarkColPageUp,
    MarkColPageDown,
    MarkColToTop,
    MarkColToBottom,
    MarkColToFileBegin,
    MarkColToFileEnd,
    MarkColWordLeft,
    MarkColWordRight,
    PressEnter,
    PressTab,
    PressShiftTab,
    DeleteCharLeft,
    DeleteCharRight,
    DeleteWordLeft,
    Undo,
    Redo,
    ToggleInsMode,
    ProcessEscape,
    CutToClipboard,
    CopyToClipboard,
    PasteFromClipboard,
    DeleteBlock,
    SelectAll,
    DeleteLine,
    DeleteToLineEnd,
    CorrectDeleteWordRight,
    InsertLine,
    IndentBlock,
    OutDentBlock,
    InsertGUID,
    QuoteBlock,
    FindNextBracket,
    KeyFindNext,
    ShowSearchDialog,
    ShowReplaceDialog,
    ShowCodeTemplates,
    GoToBookMark0, // GoToBookMark0 + n for bookmark n
    GoToBookMark1,
    GoToBookMark2,
    GoToBookMark3,
    GoToBookMark4,
    GoToBookMark5,
    GoToBookMark6,
    GoToBookMark7,
    GoToBookMark8,
    GoToBookMark9,
    ToggleBookMark0, // ToggleBookMark0 + n for bookmark n
    ToggleBookMark1,
    ToggleBookMark2,
    ToggleBookMark3,
    ToggleBookMark4,
    ToggleBookMark5,
    ToggleBookMark6,
    ToggleBookMark7,
    ToggleBookMark8,
    ToggleBookMark9,
    MarkBlockBegin,
    MarkBlockEnd,
    DuplicateBlock,
    MarkLine,
    UpperCaseBlock,
    LowerCaseBlock,
    MarkWord,
    KeyMoveBlock,
    LowerCaseWord,
    UpperCaseWord,
    JumpToBlockBegin,
    JumpToBlockEnd,
    PromptedGotoLine,
    ToggleBlockCase,
};

// Keys as the mapping knows them: printable keys by their upper-case ASCII
// code ('A', '0', '['), the others by these codes (above the ASCII range).
enum TMemoKey : int {
    mkBackspace = 0x100,
    mkTab,
    mkEnter,
    mkEscape,
    mkInsert,
    mkDelete,
    mkHome,
    mkEnd,
    mkPageUp,
    mkPageDown,
    mkLeft,
    mkUp,
    mkRight,
    mkDown,
    mkF1,
    mkF3 = mkF1 + 2,
    mkF12 = mkF1 + 11,
};

// Modifier set of a key press; bindings match it exactly.
enum TShiftState : std::uint8_t {
    ssNone = 0,
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
};

inline constexpr std::uint8_t kAnyKeyState = 255;

// One binding: in key state `state` (kAnyKeyState: in every state) the key with
// exactly `shift` held runs `command` and leaves the key state at `leaveState`.
struct TKeyBinding {
    int key = 0;
    std::uint8_t shift = 0;
    std::uint8_t state = 0;
    std::uint8_t leaveState = 0;
    TMemoCommand command = TMemoCommand::None;
};

// A named list of bindings searched from the most recently added backwards,
// so a later binding overrides an earlier one for the same key.
class TKeyMapping {
public:
    // The named mapping; every unknown name, and the alternative mappings that
    // are not built, give "Default".
    static TKeyMapping Create(std::string_view name);

    void Add(const TKeyBinding& binding) { m_bindings.push_back(binding); }
    const TKeyBinding* Find(int key, std::uint8_t shift, std::uint8_t state) const;
    const std::vector<TKeyBinding>& Bindings() const { return m_bindings; }

private:
    void AddDefault();
    std::vector<TKeyBinding> m_bindings;
};

// The key state of one view: 0 normally, a prefix state (1, 2 or 5) after a
// prefix key until the next key.
class TKeyDispatcher {
public:
    explicit TKeyDispatcher(TKeyMapping mapping)
        : m_mapping(std::move(mapping))
    {
    }

    struct TResult {
        bool consumed = false; // a binding took the key
        TMemoCommand command = TMemoCommand::None;
    };
    // Looks the key up in the current state and moves to the binding's leave
    // state; a key without a binding returns the state to 0 (ending a prefix
    // silently: such a key is consumed with no command). Pure modifier keys
    // must not be passed in. Enter and Tab reach the map only when wanted or with Ctrl held,
    // which is then dropped.
    TResult Press(int key, std::uint8_t shift, bool wantTabs = true, bool wantReturns = true);

    std::uint8_t State() const { return m_state; }
    void Reset() { m_state = 0; }
    // Typed characters are inserted only outside a prefix.
    bool AcceptsCharacters() const { return m_state == 0; }
    const TKeyMapping& Mapping() const { return m_mapping; }

private:
    TKeyMapping m_mapping;
    std::uint8_t m_state = 0;
};

} // namespace quillet

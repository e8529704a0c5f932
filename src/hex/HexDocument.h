#pragma once

#include "hex/ChangedMarks.h"
#include "hex/HexGrid.h"
#include "hex/HexUndo.h"
#include "hex/TempFile.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillet {

// Raised for arguments outside their range ("Invalid SelStart", ...); the
// callers in this program check ranges first, so it signals a fault of ours.
class THexArgumentError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// Keys the editor handles itself.
enum class THexKey {
    Insert,
    Backspace,
    Delete,
    Left,
    Right,
    Up,
    Down,
    PageUp,
    PageDown,
    Home,
    End,
    Tab,
    T,
    Shift,
    Other
};
enum THexModifier : unsigned { hmNone = 0, hmShift = 1, hmCtrl = 2, hmAlt = 4 };

// What a painted cell shows: its text and the roles of its colours, which the
// view maps to the colour set.
enum class THexColorRole {
    Background,
    Font,
    Offset,
    OddColumn,
    EvenColumn,
    OddComplement,
    EvenComplement,
    ChangedText,
    ChangedBackground,
    PositionText,
    PositionBackground,
};
struct THexCellLook {
    std::string text;
    THexColorRole textColor = THexColorRole::Font;
    THexColorRole backColor = THexColorRole::Background;
    bool marker = false; // the marker digit, drawn in the smaller marker font
};

// The document model of the hex editor: the document lives in a private work
// file that every edit changes in place, read through a 64 KB window cache,
// with the cursor, the selection, ten row markers, the changed-byte marks and
// an undo stream of at most 100 steps. Offsets and counts are 64-bit. Edits
// that cannot be written (a full disk, a file gone) change nothing and report
// the reason through OnError.
class THexDocument {
public:
    static constexpr std::size_t kCacheSize = 65536;

    THexDocument();
    ~THexDocument();
    THexDocument(const THexDocument&) = delete;
    THexDocument& operator=(const THexDocument&) = delete;

    // ---- notifications ----
    std::function<void()> OnStateChanged; // an edit, selection change, cursor move, mode switch or undo
    std::function<void()> OnRepaint; // the content or the layout changed
    std::function<void(const std::string& reason)> OnError;

    // ---- document ----
    // False (everything unchanged, reason in LastError) when the file is not a
    // readable regular file or the copy into a new work file fell short.
    bool LoadFromFile(const std::filesystem::path& file);
    bool SaveToFile(const std::filesystem::path& file);
    void CreateEmptyFile(const std::filesystem::path& file);
    void SetAsText(const std::string& bytes);
    std::uint64_t GetDataSize() const { return m_size; }
    std::uint8_t GetMemory(std::int64_t offset);
    // count bytes from offset (fewer at the end); empty on a read error.
    std::vector<std::uint8_t> BufferFromFile(std::int64_t offset, std::int64_t count);
    const std::filesystem::path& FileName() const { return m_fileName; }
    const std::string& LastError() const { return m_lastError; }
    // The work file, for tests and diagnostics ("" without one).
    std::filesystem::path WorkFilePath() const { return m_work ? m_work->Path() : std::filesystem::path(); }

    // ---- edits ----
    bool InsertBuffer(const std::uint8_t* bytes, std::int64_t count, std::int64_t offset);
    bool AppendBuffer(const std::uint8_t* bytes, std::int64_t count);
    bool ReplaceSelection(const std::uint8_t* bytes, std::int64_t count);
    bool DeleteSelection();
    bool ChangeByte(std::uint8_t oldByte, std::uint8_t newByte, std::int64_t offset);
    void Undo();

    // ---- search ----
    // First match of pattern with its first byte >= firstOffset and its last
    // byte <= lastOffset, or -1. ignoreCase compares through the 8-bit
    // lower-case map (the pattern is lower-cased in place).
    std::int64_t Find(
        std::vector<std::uint8_t>& pattern, bool ignoreCase, std::int64_t lastOffset, std::int64_t firstOffset);
    // origin 0 from the start, 1 from the cursor, 2 from the last byte.
    bool Seek(std::int64_t offset, int origin, bool strict);

    // ---- selection and cursor ----
    std::int64_t GetSelStart() const;
    std::int64_t GetSelEnd() const;
    std::int64_t GetSelCount() const;
    bool HasSelection() const { return m_anchor != -1; }
    std::int64_t SelLow() const { return m_anchor == -1 ? CursorOffset() : m_selStart; }
    void SetSelStart(std::int64_t pos);
    void SetSelEnd(std::int64_t pos);
    bool IsSelected(std::int64_t pos) const { return m_anchor != -1 && m_selStart <= pos && pos <= m_selEnd; }
    std::int64_t GetCursorPos() const;
    std::int64_t CursorOffset() const { return m_grid.PosAtCell(m_cursor); }
    THexCell Cursor() const { return m_cursor; }
    bool InCharField() const { return m_grid.IsCharCol(m_cursor.col); }
    // Moves the current cell under the move rule (CheckSelectCell); false
    // when the target was refused.
    bool SelectCell(THexCell target, bool shiftDown, bool leftButton);

    // ---- input ----
    void KeyDown(THexKey key, unsigned modifiers);
    void KeyUp(THexKey key);
    // A typed character (WMChar); afterAlt marks numeric-keypad entry.
    void TypeChar(std::uint8_t ch, bool afterAlt = false);
    void MouseDown(THexCell cell, bool doubleClick);
    void MouseMove(THexCell cell);
    void MouseUp();
    void FocusLost();

    // ---- markers ----
    std::int64_t GetMarker(int index) const;
    void SetMarker(int index, std::int64_t row);
    // Unsets a marker holding the row, else sets the first free one (1..9, 0).
    void ToggleMarker(std::int64_t row);

    // ---- flags ----
    bool GetIsInsertMode() const { return m_insertFlag && m_allowInsertMode; }
    bool Modified() const { return m_modified; }
    void SetModified(bool modified);
    bool CanUndo() const { return m_canUndo; }
    std::string UndoDescription() const { return m_undoDescription; }
    bool ReadOnlyFile() const { return m_readOnlyFile; }
    void SetReadOnlyFile(bool flag);
    bool ReadOnlyView() const { return m_readOnlyView; }
    void SetReadOnlyView(bool flag);
    bool ChangedMark(std::int64_t pos) const { return pos >= 0 && m_marks.Test(static_cast<std::uint64_t>(pos)); }

    // ---- properties ----
    const THexGrid& Grid() const { return m_grid; }
    int BytesPerLine() const { return m_grid.bytesPerLine; }
    void SetBytesPerLine(int count);
    void SetBytesPerColumn(int count);
    void SetOffsetDisplay(TOffsetDisplay display);
    bool MaskWhiteSpaces() const { return m_maskWhiteSpaces; }
    void SetMaskWhiteSpaces(bool on);
    bool AllowInsertMode() const { return m_allowInsertMode; }
    void SetAllowInsertMode(bool on);
    bool CreateBackup() const { return m_createBackup; }
    void SetCreateBackup(bool on) { m_createBackup = on; }
    const std::string& BackupExtension() const { return m_backupExtension; }
    void SetBackupExtension(std::string extension) { m_backupExtension = std::move(extension); }
    // The backup name SaveToFile uses for file: its extension replaced by the
    // backup extension, or name + ".~" when that would be the file itself.
    std::filesystem::path BackupName(const std::filesystem::path& file) const;

    // ---- painting ----
    std::int64_t RowCount() const { return m_grid.RowCount(m_size); }
    // Byte at pos through the window cache; pos must be < size.
    std::uint8_t CachedByte(std::int64_t pos);
    THexCellLook CellLook(THexCell cell);
    // The rows the view shows: PageUp and PageDown move by them.
    void SetViewRows(std::int64_t topRow, std::int64_t visibleRows);
    std::int64_t TopRow() const { return m_topRow; }
    std::int64_t VisibleRows() const { return m_visibleRows; }

private:
    // One edit's undo record, taken before the edit and pushed only once the
    // edit was written (CreateUndo).
    bool BeginUndo(
        THexUndoRecord& record, THexUndoKind kind, std::int64_t offset, std::int64_t count, std::int64_t oldLength);
    void CommitUndo(const THexUndoRecord& record);
    void ResetUndo();
    void RestoreState(const THexUndoRecord& record);
    bool EnsureWorkFile();
    // Replaces [offset, offset + removed) by count bytes (moving the tail);
    // false with nothing changed when space or a write is refused.
    bool Splice(std::int64_t offset, std::int64_t removed, const std::uint8_t* bytes, std::int64_t count);
    bool SpliceFromSide(const THexUndoRecord& record, std::int64_t removed);
    bool Fail(const std::string& reason);
    void InvalidateCache() { m_cacheValid = false; }
    void ClearSelection();
    void SetSelection(std::int64_t anchor, std::int64_t start, std::int64_t end);
    void ExtendSelection(std::int64_t oldPos, std::int64_t newPos);
    void PlaceCursor(std::int64_t pos, bool charField, int nibble = 0);
    void ClampCursor();
    void StateChanged();
    void Repaint();
    void ResetDocumentState();
    void MoveHorizontal(bool right, bool shift);
    void TypeHexDigit(int value);
    void TypeCharacter(std::uint8_t ch);

    THexGrid m_grid;
    std::unique_ptr<TTempFile> m_work; // null: empty document
    std::uint64_t m_size = 0; // length of the work file
    std::vector<std::uint8_t> m_cache;
    std::uint64_t m_cacheBase = 0;
    bool m_cacheValid = false;
    std::filesystem::path m_fileName = "---";
    std::string m_lastError;

    bool m_readOnlyFile = false;
    bool m_modified = false;
    TChangedMarks m_marks;
    std::array<std::int64_t, 10> m_markers;

    std::int64_t m_anchor = -1; // -1: no selection
    std::int64_t m_selStart = 0; // inclusive, start <= end
    std::int64_t m_selEnd = 0;
    THexCell m_cursor{2, 0};
    bool m_selecting = false;
    bool m_mouseDown = false;

    THexUndoStream m_undo;
    bool m_canUndo = false;
    std::string m_undoDescription = "No Undo";
    bool m_insertFlag = false;

    bool m_maskWhiteSpaces = true;
    bool m_allowInsertMode = true;
    bool m_readOnlyView = false;
    bool m_createBackup = false;
    std::string m_backupExtension = ".bak";
    std::int64_t m_topRow = 0;
    std::int64_t m_visibleRows = 1;
};

} // namespace quillet

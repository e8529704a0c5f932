#pragma once

#include "platform/FileBytes.h"
#include "text/ChangeAccumulator.h"
#include "text/HiddenLines.h"
#include "text/LineStore.h"
#include "text/Selection.h"
#include "text/SimpleParser.h"
#include "text/TabStops.h"
#include "text/TextPoint.h"
#include "text/TrackedPositions.h"
#include "text/UndoList.h"

#include <bitset>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class IClipboard;
class IFileSystem;
class TMemoSource;

// Buffer options (bit 0 first).
using TStringsOptions = std::uint32_t;
enum TStringsOption : std::uint32_t {
    soBackUnindents = 1u << 0,
    soGroupUndo = 1u << 1,
    soBeyondFileEnd = 1u << 2,
    soForceCutCopy = 1u << 3,
    soAutoIndent = 1u << 4,
    soSmartTab = 1u << 5,
    soFindTextAtCursor = 1u << 6,
    soCreateBackups = 1u << 7,
    soPersistentBlocks = 1u << 8,
    soOverwriteBlocks = 1u << 9,
    soLimitEOL = 1u << 10,
    soUseTabCharacter = 1u << 11,
    soCursorOnTabs = 1u << 12,
    soOptimalFill = 1u << 13,
    soSelectFoundText = 1u << 14,
    soExcludeReadOnlyLines = 1u << 15,
    soCursorAlwaysOnTabs = 1u << 16,
    soUsePrevIndent = 1u << 17,
    soRetainColumn = 1u << 18,
};
// The options a text document starts from.
inline constexpr TStringsOptions kDefaultStringsOptions = soBackUnindents | soGroupUndo | soForceCutCopy | soAutoIndent
    | soFindTextAtCursor | soOverwriteBlocks | soUseTabCharacter;
static_assert(kDefaultStringsOptions == 2651);

// Line state bits.
enum TLineStateBit : std::uint8_t {
    lsParsed = 1u << 0,
    lsReadOnly = 1u << 1,
    lsFoldBody = 1u << 2,
    lsFoldExpanded = 1u << 3,
    lsFoldCollapsed = 1u << 4,
};

// What a line is to folding, as GetCollapseState reports it and
// SetCollapseState takes it.
enum TCollapseState : int { csCollapsed = 0, csExpanded = 1, csNoFold = 2 };

enum class TOutFormat : std::uint8_t { ofWindows = 0, ofMac = 1, ofUnix = 2 };
enum class TWordSelectionType : std::uint8_t { wsWordOnly = 0, wsWordWithSpace = 1, wsUntilNextWord = 2 };

// A view (or anything else) that follows a buffer.
class IMemoSourceNotifier {
public:
    virtual ~IMemoSourceNotifier() = default;
    // Called once at the end of every outermost change bracket that changed anything.
    virtual void SourceChanged(TMemoSource& source, const TChangeReport& report) = 0;
    // Lets the active view map a caret move across hidden or wrapped lines.
    virtual void AdjustNavigate(TMemoSource& source, int& deltaLine, int& deltaChar)
    {
        (void)source;
        (void)deltaLine;
        (void)deltaChar;
    }
    // The first and last line the notifier shows (first > last: none). Style
    // bytes of lines far from every view are dropped to save memory.
    virtual std::pair<int, int> LinesInView() const { return {0, -1}; }
};

// Outcome of a file operation: error is the message for the user, reason the
// operating system's explanation (may be empty).
struct TFileResult {
    bool ok = true;
    std::string error;
    std::string reason;
    explicit operator bool() const { return ok; }
};

// The public line list over a buffer. Reads expand tabs; writes are not undoable
// and clear both histories.
class TExternalStrings {
public:
    explicit TExternalStrings(TMemoSource& source)
        : m_source(source)
    {
    }
    int Count() const;
    std::string Get(int line) const; // tabs expanded
    std::string_view GetRaw(int line) const; // tabs kept
    void Put(int line, std::string_view text);
    void Insert(int line, std::string_view text);
    void Add(std::string_view text) { Insert(Count(), text); }
    void Delete(int line);
    void Clear();
    std::intptr_t GetObject(int line) const;
    void PutObject(int line, std::intptr_t object);
    // Whole text with the buffer's line ends; SetText replaces everything.
    std::string GetText() const;
    void SetText(std::string_view text);

private:
    TMemoSource& m_source;
};

// The model of one text document: 8-bit lines with their tabs, caret,
// selection, tracked positions, bookmarks, per-line gutter images and states,
// undo and redo, the modified flag and per-line highlighting data. Lines and
// columns count from 0; columns are display columns with tabs expanded.
//
// Every change runs inside BeginUpdate/EndUpdate; the outermost EndUpdate
// reports one set of change flags and one line range to every notifier.
class TMemoSource : private IParserNotifier {
public:
    TMemoSource();
    ~TMemoSource() override;
    TMemoSource(const TMemoSource&) = delete;
    TMemoSource& operator=(const TMemoSource&) = delete;

    // ---- Options and properties -------------------------------------------
    TStringsOptions Options() const { return m_options; }
    void SetOptions(TStringsOptions options);
    bool HasOption(TStringsOption o) const { return (m_options & o) != 0; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    int BlockIndent() const { return m_blockIndent; }
    void SetBlockIndent(int value) { m_blockIndent = value < 0 ? 0 : value; }
    int SpacesInTab() const { return m_spacesInTab; }
    void SetSpacesInTab(int value) { m_spacesInTab = (value <= 0 || value > 10) ? 8 : value; }
    TOutFormat OutFormat() const { return m_outFormat; }
    void SetOutFormat(TOutFormat f) { m_outFormat = f; }
    bool AllowUndo() const { return m_allowUndo; }
    void SetAllowUndo(bool allow);
    int UndoLimit() const { return m_undoLimit; }
    void SetUndoLimit(int limit) { m_undoLimit = limit < 0 ? 0 : limit; }
    bool HighlightUrls() const { return m_highlightUrls; }
    void SetHighlightUrls(bool on);
    TBlockOption BlockOption() const { return m_blockOption; }
    void SetBlockOption(TBlockOption o) { m_blockOption = o; }
    bool KeepTrailingBlanks() const { return m_keepTrailingBlanks; }
    void SetKeepTrailingBlanks(bool keep) { m_keepTrailingBlanks = keep; }
    const std::string& TabStopsText() const { return m_tabStops.Text(); }
    // Returns false with error "Invalid Tab Rack" and keeps the old stops on a bad list.
    bool SetTabStops(std::string_view text, std::string* error = nullptr);
    const TTabStops& TabStops() const { return m_tabStops; }
    const std::string& Delimeters() const { return m_delimetersText; }
    void SetDelimeters(std::string_view text);
    bool IsDelimiter(unsigned char c) const { return m_delimiters[c]; }
    bool IsWordChar(unsigned char c) const { return !m_delimiters[c]; }
    // The highlighter; the buffer does not own it.
    TSimpleParser* SyntaxParser() const { return m_parser; }
    void SetSyntaxParser(TSimpleParser* parser);
    IClipboard* Clipboard() const { return m_clipboard; }
    void SetClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }
    std::string TemplatesType() const { return m_templatesType; }
    void SetTemplatesType(std::string type) { m_templatesType = std::move(type); }

    // Events.
    std::function<void(TMemoSource&, const std::filesystem::path& file, std::filesystem::path& backup)> OnGetBackupName;
    std::function<void(TMemoSource&, TSelKind& kind)> OnGetSelectionType;
    std::function<void(TMemoSource&, std::vector<std::string>& lines)> OnPasteFromClipboard;
    std::function<void(TMemoSource&, int line)> AfterParse;

    // Insert/overwrite mode, shared by every buffer of the process.
    static bool GetOverwrite();
    void SetOverwrite(bool overwrite);
    void ToggleInsMode() { SetOverwrite(!GetOverwrite()); }

    // ---- Change bracket and views -------------------------------------------
    void BeginUpdate(int changeKind);
    void EndUpdate();
    // Like BeginUpdate; the matching outermost EndUpdate restores caret and selection.
    void BeginSafeUpdate(int changeKind);
    int UpdateLevel() const { return m_updateLevel; }
    int ChangeKind() const { return m_changeKind; }
    // Flags gathered so far in the current bracket.
    std::uint32_t ChangeFlags() const { return m_changes.Flags(); }
    void RegisterNotifier(IMemoSourceNotifier* notifier, bool notify);
    void UnregisterNotifier(IMemoSourceNotifier* notifier);
    void SetActiveNotifier(IMemoSourceNotifier* notifier) { m_activeNotifier = notifier; }
    IMemoSourceNotifier* ActiveNotifier() const { return m_activeNotifier; }
    void BeginUndoBlock();
    void EndUndoBlock();

    // ---- Lines ----------------------------------------------------------------
    TExternalStrings& Lines() { return m_lines; }
    int GetStrCount() const { return static_cast<int>(m_store.Count()); }
    std::string_view GetRawLine(int line) const; // empty past the end
    std::string GetExpandedLine(int line) const;
    int LineLength(int line) const; // display length
    // Display length of the line without trailing blanks.
    int TrimmedLineLength(int line) const;
    int ColToRaw(int line, int col) const;
    int RawToCol(int line, int rawIndex) const;
    const TLineStore& Store() const { return m_store; }
    // Longest display line, tracked incrementally once asked for.
    int LongestLineLength();

    // ---- Caret and positions --------------------------------------------------
    int GetCurChar() const { return m_marks.Caret().Char(); }
    int GetCurLine() const { return m_marks.Caret().Line(); }
    TTextPoint GetCaretPoint() const { return m_marks.Caret().Point(); }
    void SetCaretPoint(TTextPoint p) { JumpTo(p.col, p.line); }
    bool AfterLastLine() const { return GetCurLine() >= GetStrCount(); }
    bool ReadOnlyLine() const;
    // A tracked copy of a point; release it with FreePosition.
    TPosition* CopyPosition(TTextPoint p);
    // Puts the caret on a tracked position (and frees it when free is true).
    void RestorePosition(TPosition* pos, bool free = true);
    void FreePosition(TPosition* pos);
    void ResetPositions();

    // ---- Editing primitives (each its own bracket) ----------------------------
    bool Insert(std::string_view text);
    int InsertEx(std::string_view text, std::string_view styleBytes);
    void DeleteRight(int count);
    void BreakLine();
    void JoinLines();
    void Navigate(int deltaLine, int deltaChar);
    void JumpTo(int col, int line);
    void JumpToChar(int col);
    void JumpToLine(int line);
    void JumpToLineBegin();
    void JumpToLineEnd();
    void JumpToFileBegin();
    void JumpToFileEnd();
    void CursorUp();
    void CursorDown();
    void CursorLeft();
    void CursorRight();
    void TabCursorLeft();
    void TabCursorRight();

    // Composite keys.
    void PressEnter();
    void PressTab();
    void PressShiftTab();
    void DeleteCharLeft();
    void DeleteCharRight();
    void DeleteLine();
    void DeleteToLineBegin();
    void DeleteToLineEnd();
    // Types one character (or a run) at the caret as the keyboard does: replaces
    // the selection when allowed, overwrites in overwrite mode.
    void TypeText(std::string_view text);
    // Inserts text that may hold line breaks at the caret, caret ends after it.
    void InsertString(std::string_view text);
    void InsertStrings(const std::vector<std::string>& lines, bool columnar);

    // ---- Undo and modified state ----------------------------------------------
    void Undo();
    void Redo();
    bool UndoAvailable() const { return !m_undo.Empty(); }
    bool RedoAvailable() const { return !m_redo.Empty(); }
    void ClearUndoBuffer();
    void ClearRedoBuffer();
    bool IsSourceModified() const;
    bool Modified() const { return IsSourceModified(); }
    void SetModified(bool modified);
    const TUndoList& UndoList() const { return m_undo; }
    const TUndoList& RedoList() const { return m_redo; }

    // ---- Line decoration and folding ------------------------------------------
    bool GetImageBit(int line, int bit) const;
    void SetImageBit(int line, int bit, bool on);
    std::uint16_t GetImageBits(int line) const;
    int GetLineTextStyle(int line) const;
    void SetLineTextStyle(int line, int style);
    bool GetLineReadOnly(int line) const;
    std::uint8_t GetLineState(int line) const;
    void SetLineState(int line, TLineStateBit bit, bool on);
    bool GetLineVisible(int line) const;
    void SetLineVisible(int line, bool visible);
    // A TCollapseState: csExpanded, csCollapsed or csNoFold.
    int GetCollapseState(int line) const;
    void SetCollapseState(int line, int state);
    bool GetRealLineVisible(int line) const;
    int RealToVisibleIndex(int line) const;
    int VisibleToRealIndex(int index) const;
    const std::vector<int>& HiddenLines() const { return m_hidden.Lines(); }
    std::string_view GetLineAux(int line) const;
    void SetLineAux(int line, std::string_view aux);
    int GetLineScratch(int line, int index) const;
    void SetLineScratch(int line, int index, int value);

    // ---- Bookmarks (numbers 1..10; 0 = none) ----------------------------------
    using TBookmark = quillet::TBookmark;
    void ToggleBookMark(int n);
    void SetBookMark(int n);
    void ClearBookMark(int n);
    void GoToBookmark(int n);
    bool FindBookMark(int n, TTextPoint& point) const;
    // Number of the first bookmark on the line, 0 when none.
    int GetBookmarkFromRange(int firstLine, int lastLine) const;
    std::vector<TBookmark> GetBookmarksFromRange(int firstLine, int lastLine) const;
    const std::vector<TBookmark>& Bookmarks() const { return m_marks.Bookmarks(); }
    void ToggleBookMarkKey(int key) { ToggleBookMark(key == 0 ? 10 : key); }
    void GoToBookMarkKey(int key) { GoToBookmark(key == 0 ? 10 : key); }

    // ---- Highlighting data ------------------------------------------------------
    // Makes lines first..last parsed; returns the lowest line whose start state changed.
    int ParseStrings(int first, int last, bool force = false) { return ParseLines(first, last, force, 0); }
    void ParseToString(int line, bool force = false);
    // Style bytes expanded to display columns (parses on demand).
    std::string GetColorData(int line);
    // Raw style bytes, one per stored character (parses on demand).
    std::string GetRawColorData(int line);
    // Raw style bytes as stored, without parsing.
    std::string GetStoredColorData(int line) const;
    // Overwrites style bytes from 0-based raw index pos (recorded for undo when
    // the highlighter keeps style data).
    void SetStyleBytes(int line, int pos, std::string_view bytes);
    bool StoreColorData() const { return m_parser && m_parser->StoreColorData(); }
    bool IsLineParsed(int line) const;
    int ParsedUpTo() const { return m_parsedUpTo; }
    // Style bytes for painting, without holding the caller up: exact (true)
    // when the line's start state is known or a short run of colouring reaches
    // it; otherwise the line's last known bytes (empty when none) and false.
    // ColourTowards then brings the line up to date in bounded steps.
    bool GetScreenColorData(int line, std::string& bytes);
    // Colours at most maxLines lines, from the first line whose start state is
    // not known towards line target and 100 lines beyond it. Lines far above
    // target keep only their states, not their style bytes (unless the
    // highlighter's bytes are document data). Returns true once target's start
    // state is known, so that GetScreenColorData answers it exactly.
    bool ColourTowards(int target, int maxLines);
    // Frees the style bytes of coloured lines outside [keepFirst, keepLast];
    // their states stay, and the bytes are recomputed when asked for. Does
    // nothing when the highlighter's bytes are document data.
    void DropColorData(int keepFirst, int keepLast) { DropColorDataOutside({{keepFirst, keepLast}}); }
    // The same outside every range of keep (inclusive line ranges); returns
    // how many lines inside them still hold style bytes.
    int DropColorDataOutside(std::vector<std::pair<int, int>> keep);
    // Whether the run at a raw index is a hot string (URL, mail address): returns its [start, end).
    static std::vector<std::pair<int, int>> FindHotStrings(std::string_view text);

    // ---- Files ------------------------------------------------------------------
    TFileResult LoadFromFile(const std::filesystem::path& file);
    // Loads with the wholesale rules (trailing blanks, tab replacement).
    TFileResult QuickLoadFromFile(const std::filesystem::path& file);
    TFileResult LoadFromStream(std::istream& in);
    void LoadFromText(std::string_view text, bool quick = true);
    // LoadFromText that adopts the bytes (a file's read buffer) instead of
    // copying them: unedited lines point into it.
    void TakeText(TFileBytes text, bool quick = true);
    TFileResult SaveToFile(const std::filesystem::path& file);
    std::filesystem::path GetBackupName(const std::filesystem::path& file);
    // The bytes SaveToFile writes.
    std::string SaveToText() const;
    // The file system that loads and saves go through (nullptr: the system's).
    void SetFileSystem(IFileSystem* files) { m_fileSystem = files; }

    // ---- Selection ------------------------------------------------------------------
    TSelKind SelectionKind() const { return m_selKind; }
    TTextPoint SelStart() const { return m_marks.SelStart().Point(); }
    TTextPoint SelEnd() const { return m_marks.SelEnd().Point(); }
    TSelection Selection() const { return {m_selKind, GetSelectionRect()}; }
    void SetSelection(TSelKind kind, int left, int top, int right, int bottom);
    void SetSelectionRect(TTextRect rect);
    void SetSelectionType(TSelKind kind);
    TTextRect GetSelectionRect() const;
    bool IsBlockEmpty(TSelKind kind) const;
    bool HasSelection() const { return m_selKind != TSelKind::selNone && !IsBlockEmpty(m_selKind); }
    bool CanCopy() const { return HasSelection(); }
    bool CanPaste() const;
    void ClearSelection();
    void SelectAll();
    void MarkLine();
    void MarkWord();
    void MarkWordWithType(TWordSelectionType type);
    void MarkBlockBegin();
    void MarkBlockEnd();
    // Column range [from, to) selected on a line (empty: from >= to).
    std::pair<int, int> SelectionBounds(int line) const;
    bool IsPosInBlock(int col, int line) const;
    // The selection as lines (raw text, tabs kept); styles gives their style bytes.
    std::vector<std::string> GetSelectionStrings(bool styles = false) const;
    std::string GetSelectedText() const;

    // Extending the selection by caret moves.
    enum class TMove : std::uint8_t {
        Left,
        Right,
        Up,
        Down,
        LineBegin,
        LineEnd,
        FileBegin,
        FileEnd,
        WordLeft,
        WordRight,
        None
    };
    void UnivMark(TSelKind kind, TMove move);
    void UnivMark(TSelKind kind, const std::function<void()>& move);
    void MarkLeft() { UnivMark(TSelKind::selStream, TMove::Left); }
    void MarkRight() { UnivMark(TSelKind::selStream, TMove::Right); }
    void MarkUp() { UnivMark(TSelKind::selStream, TMove::Up); }
    void MarkDown() { UnivMark(TSelKind::selStream, TMove::Down); }
    void MarkToLineBegin() { UnivMark(TSelKind::selStream, TMove::LineBegin); }
    void MarkToLineEnd() { UnivMark(TSelKind::selStream, TMove::LineEnd); }
    void MarkToFileBegin() { UnivMark(TSelKind::selStream, TMove::FileBegin); }
    void MarkToFileEnd() { UnivMark(TSelKind::selStream, TMove::FileEnd); }
    void MarkWordLeft() { UnivMark(TSelKind::selStream, TMove::WordLeft); }
    void MarkWordRight() { UnivMark(TSelKind::selStream, TMove::WordRight); }
    void MarkBriefRight() { UnivMark(TSelKind::selStream, TMove::None); }
    void MarkColLeft() { UnivMark(TSelKind::selColumn, TMove::Left); }
    void MarkColRight() { UnivMark(TSelKind::selColumn, TMove::Right); }
    void MarkColUp() { UnivMark(TSelKind::selColumn, TMove::Up); }
    void MarkColDown() { UnivMark(TSelKind::selColumn, TMove::Down); }
    void MarkColToLineBegin() { UnivMark(TSelKind::selColumn, TMove::LineBegin); }
    void MarkColToLineEnd() { UnivMark(TSelKind::selColumn, TMove::LineEnd); }
    void MarkColToFileBegin() { UnivMark(TSelKind::selColumn, TMove::FileBegin); }
    void MarkColToFileEnd() { UnivMark(TSelKind::selColumn, TMove::FileEnd); }
    void MarkColWordLeft() { UnivMark(TSelKind::selColumn, TMove::WordLeft); }
    void MarkColWordRight() { UnivMark(TSelKind::selColumn, TMove::WordRight); }
    void MarkBriefColRight() { UnivMark(TSelKind::selColumn, TMove::None); }

    // ---- Block operations -----------------------------------------------------------
    void DeleteBlock();
    void CopyBlock();
    void CutBlock();
    void PasteBlock();
    void PasteBlockFromStrings(const std::vector<std::string>& lines, bool columnar);
    // Block deletes and multi-line stream pastes change the line list in one
    // splice with one undo item (on by default). Off, they run line by line
    // through the editing primitives: slower, same result; kept for comparing
    // the two routes.
    void SetSplicedBlockEdits(bool on) { m_splicedBlockEdits = on; }
    bool SplicedBlockEdits() const { return m_splicedBlockEdits; }
    void PasteBlockFromStringsEx(
        const std::vector<std::string>& lines, const std::vector<std::string>* styles, bool columnar);
    bool MoveBlock();
    bool CopyBlockToPos();
    void DuplicateBlock();
    std::string WriteBlockToStream() const;
    void ReadBlockFromStreamEx(std::string_view stream, bool columnar);
    bool CheckOverwriteBlock();
    // unit: the text to add per line; empty means BlockIndent spaces.
    void IndentBlock(std::string_view unit = {});
    void OutDentBlock(std::string_view unit = {});
    void UpperCaseBlock();
    void LowerCaseBlock();
    void ToggleBlockCase();
    void CapitalizeBlock();
    void QuoteBlock();
    using TLineFunction = std::function<void(std::string& line, std::string* style)>;
    void DoWithBlockStr(int changeKind, bool restoreCaret, const TLineFunction& lineFunction);
    void DoWithBlock(int changeKind,
        bool restoreCaret,
        const std::function<void()>& blockFunction,
        const std::function<void()>& markFunction);

    // ---- Words and brackets ------------------------------------------------------
    void JumpWordLeft();
    void JumpWordRight();
    // 1-based [start, end] of the word at (col, line); {0, 0} when none.
    std::pair<int, int> WordBounds(int col, int line, TWordSelectionType type) const;
    std::string GetTextAt(int col, int line) const;
    std::string GetTextAtCursor() const { return GetTextAt(GetCurChar(), GetCurLine()); }
    void DeleteWordLeft();
    void DeleteWordRight();
    void CorrectMarkWordRight();
    void CorrectDeleteWordRight();
    void UpperCaseWord();
    void LowerCaseWord();
    void ToggleWordCase();
    void CapitalizeWord();
    void FindNextBracket();
    void NextBracket();
    void PrevBracket();
    bool FindCloseBracket(char open, bool moveCaret, TTextPoint& point);
    bool FindOpenBracket(char close, bool moveCaret, TTextPoint& point);
    // The character examined for bracket matching, and its position.
    char CorrectCharUnderCursor(TTextPoint& point) const;

    // ---- Found text (search) ------------------------------------------------------------
    TTextRect FoundRect() const { return m_foundRect; }
    void SetFoundRect(TTextRect rect, bool visible = true);

    // One place of a replace-all: a raw start on a line.
    struct TReplaceSpan {
        int line = 0;
        int start = 0;
    };
    // Replaces `length` raw characters at each span (sorted by line, then
    // start; not overlapping; on lines without tabs) by `with`, in one undo
    // record, and puts the caret at `caretAfter`. The text, style bytes,
    // tracked positions and undo result are those of deleting and inserting
    // at each place in turn; the caller makes sure that route would neither
    // trim trailing blanks nor touch read-only, folded or hidden lines.
    void ReplaceSpans(const std::vector<TReplaceSpan>& spans, int length, std::string_view with, TTextPoint caretAfter);
    bool FoundVisible() const { return m_foundVisible; }

    // The highlighter told us its output changed.
    void ParserChanged(TSimpleParser& parser) override;
    // The highlighter is going away: the buffer continues without one.
    void ParserDestroyed(TSimpleParser& parser) override;
    // ParseStrings, where lines below bytesFrom that need colouring keep only
    // their states (when the highlighter's bytes are not document data).
    int ParseLines(int first, int last, bool force, int bytesFrom);
    // Frees a line's style bytes, and its extra when nothing else needs it.
    void DropLineStyle(std::size_t li);
    // Drops the style bytes of lines far from every view once enough lines
    // gained bytes since the last time.
    void TrimColorData();

private:
    friend class TExternalStrings;
    struct TUpdateSnapshot;

    // Internal helpers (MemoSource.cpp).
    void AddChange(int first, int last, std::uint32_t flags);
    TUndoRecord* AddUndo(TUndoKind kind,
        int a,
        int b,
        std::string text = {},
        std::string style = {},
        std::vector<std::uint32_t> pieceLengths = {});
    void ApplyUndoLimit();
    void ShiftOnInsert(int line, int col, int count);
    void ShiftOnDelete(int line, int col, int count);
    void ShiftOnBreak(int line, int col);
    void ShiftOnJoin(int line, int col);
    void AppendLinesTo(int line);
    bool LineIsReadOnly(int line) const;
    void TrimTrailingBlanks(int line);
    void InvalidateLine(int line);
    // oldLength: the line's display length before the edit (INT_MAX: unknown).
    void ReparseEdited(int line, int oldLength = INT_MAX);
    void MarkHotStrings(int line);
    void InvalidateParsing(bool resetScratch);
    void ReplaceAll(std::shared_ptr<const char[]> block, std::size_t size, bool quick);
    void LoadBlock(std::shared_ptr<const char[]> block, std::size_t size, bool quick, int changeKind);
    TFileResult LoadWholeFile(const std::filesystem::path& file, bool quick);
    void AfterWholesaleChange(int changeKind);
    void InsertRawAt(int line, int rawIndex, std::string_view text, std::string_view style);
    // Cuts line li at rawIndex and returns the tail as a new record for the
    // line below (the caller inserts it). Breaking at column 0 or on an empty
    // line (moveDecoration) hands the line's images, text style, object and
    // aux string to the tail; the tail of a folded line is fold body.
    TLineRec SplitOffTail(std::size_t li, std::size_t rawIndex, bool moveDecoration);
    void EnsureLine(int line);
    void ExpandFoldAt(int line);
    void NavigateImpl(int deltaLine, int deltaChar, bool jump);
    int SmartTabColumn(int line, int col) const;
    void DeleteColumns(int line, int left, int count);
    void InsertAtColumn(int line, int col, std::string_view text, std::string_view style);
    TSelKind FilterKind(TSelKind kind) const;
    // Splicing (MemoSourceSplice.cpp). SpliceInsert puts pieces (two or more)
    // at the caret as lines, SpliceDelete removes from the caret to raw index
    // toRaw of toLine; both leave the caret where it is and record one undo
    // item. The caret must stand on a character boundary of its line.
    // lastAtLineStart: see TUndoRecord; a paste and the undo of a delete
    // shift positions behind the block differently when tabs are involved.
    void SpliceInsert(
        const std::vector<std::string_view>& pieces, const std::vector<std::string_view>& styles, bool lastAtLineStart);
    void SpliceDelete(int toLine, int toRaw, bool lastAtLineStart);
    void ReplaySpliceInsert(const TUndoRecord& record, bool withStyle);
    void ReplayLineTexts(const TUndoRecord& record, bool descending);
    // Positions moved as deleting `removed` and then inserting `inserted`
    // columns at (col, line) moves them.
    void ShiftPlace(int line, int col, int removed, int inserted, bool columnar);
    // Whether lines first..last are plain enough to splice: present, not
    // read-only, not folded.
    bool CanSpliceLines(int first, int last) const;
    // A column that is not inside a tab and not past the line end.
    bool IsCharBoundary(int line, int col) const;
    // The spliced routes of DeleteBlock and of a multi-line stream paste;
    // false (nothing changed) where the line-by-line route must run.
    bool SpliceDeleteBlock(TTextRect r, int endCount);
    bool SplicePaste(const std::vector<std::string>& lines, const std::vector<std::string>* styles, int col, int line);
    void PasteStreamLineByLine(
        const std::vector<std::string>& lines, const std::vector<std::string>* styles, int col, int line);
    TTextRect ClampedRect() const;
    void StoreSelection(TSelKind kind, TTextRect rect);
    void BracketSearch(char c, bool forward, bool moveCaret, TTextPoint& point, bool& found);
    // Deletes to the next word boundary on the right or the left (MemoSourceWords.cpp).
    void DeleteWord(bool right);
    bool IsStringOrCommentStyle(int line, int raw);
    void DoUndo();
    void RecomputeModified();

    TLineStore m_store;
    TExternalStrings m_lines{*this};
    TTabStops m_tabStops;
    std::bitset<256> m_delimiters;
    std::string m_delimetersText;
    TStringsOptions m_options = kDefaultStringsOptions;
    bool m_readOnly = false;
    int m_blockIndent = 1;
    int m_spacesInTab = 8;
    TOutFormat m_outFormat = TOutFormat::ofWindows;
    bool m_allowUndo = true;
    int m_undoLimit = 0;
    bool m_highlightUrls = false;
    TBlockOption m_blockOption = TBlockOption::bkBoth;
    bool m_keepTrailingBlanks = false;
    TSimpleParser* m_parser = nullptr;
    IClipboard* m_clipboard = nullptr;
    IFileSystem* m_fileSystem = nullptr;
    std::string m_templatesType = "None";

    TTrackedPositions m_marks; // caret, selection ends, copies and bookmarks
    TSelKind m_selKind = TSelKind::selNone;
    THiddenLines m_hidden;

    // Change bracket state.
    int m_updateLevel = 0;
    int m_changeKind = 0;
    TChangeAccumulator m_changes;
    int m_lineCountSnap = 0;
    bool m_modifiedSnap = false;
    TSelKind m_selKindSnap = TSelKind::selNone;
    TTextPoint m_caretSnap;
    bool m_forceCaretReport = false;
    bool m_selecting = false; // a selecting operation runs: a caret move keeps the selection
    bool m_selectionSet = false; // the selection was set inside the current bracket
    int m_safeLevel = 0; // >0: the outermost EndUpdate restores caret and selection
    TTextPoint m_safeCaret, m_safeStart, m_safeEnd;
    TSelKind m_safeKind = TSelKind::selNone;
    std::vector<IMemoSourceNotifier*> m_notifiers;
    IMemoSourceNotifier* m_activeNotifier = nullptr;
    TTextRect m_foundRect{}, m_prevFoundRect{};
    bool m_foundVisible = false, m_prevFoundVisible = false;

    // Undo state.
    TUndoList m_undo, m_redo;
    // Roles of the two histories: records go to m_recordTo; Undo swaps them so
    // that what it replays lands in the redo history.
    TUndoList* m_recordTo = &m_undo;
    TUndoList* m_replayFrom = &m_redo;
    int m_contentRecords = 0; // content records made in the current bracket
    bool m_replaying = false;
    bool m_nextFirstOfStep = false;
    int m_undoBlockLevel = 0;
    std::uint32_t m_undoBlockSerial = 0;
    std::uint32_t m_nextBlockSerial = 0;
    long m_saveMark = -1;
    bool m_forcedModified = false;
    bool m_modifiedFlag = false;

    // Highlighting state. Every line below m_parsedUpTo has valid start and
    // end states; its style bytes are valid when it is marked lsParsed, and
    // otherwise (dropped to save memory) are recomputed from the previous
    // line's end state.
    int m_parsedUpTo = 0;
    // Lines given style bytes by colouring since the bytes far from every
    // view were last dropped.
    int m_bytesGained = 0;

    bool m_splicedBlockEdits = true;

    // Longest line tracking.
    bool m_trackLongest = false;
    bool m_longestDirty = true;
    int m_longest = 0;
};

} // namespace quillet

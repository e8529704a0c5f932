#pragma once

#include "text/KeyMapping.h"
#include "text/MemoOptions.h"
#include "text/MemoSource.h"
#include "text/ViewGeometry.h"
#include "text/WrapTable.h"
#include "text/ui/MemoStyles.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace quillet {

// One picture the gutter can show: bit n of a line's image bits shows image n;
// an image with a bookmark index is drawn on lines holding that bookmark.
struct TGutterImage {
    std::string name;
    QPixmap glyph;
    int bookmarkIndex = -1; // 0..9, or -1
};

// cbRtf asks for an RTF rendering beside the plain text; until the RTF
// renderer exists, copying puts plain text only, whatever the type.
enum class TClipboardType { Normal, Rtf };

// Where gutter images start: at the gutter's left edge or at its right edge.
enum class TGutterImagesAlign { Left, Right };

// How a key command moves by rows (defined with the key commands).
enum class TRowMove : std::uint8_t;

// The editor view: shows one text buffer, painted by us row by row, and turns
// keys and mouse actions into buffer operations. Several views may show one
// buffer; each keeps its own top row and left column while caret and selection
// belong to the buffer. Scroll position is kept as (line, wrapped row inside
// the line), so neither word wrap nor folding needs the whole document walked.
class TTarnMemo : public QAbstractScrollArea, private IMemoSourceNotifier {
    Q_OBJECT

public:
    explicit TTarnMemo(QWidget* parent = nullptr);
    ~TTarnMemo() override;

    // ---- Buffer ---------------------------------------------------------------
    // The buffer shown; nullptr gives the view a private buffer again.
    void SetMemoSource(TMemoSource* source);
    TMemoSource& MemoSource() { return *m_source; }
    // Makes this the buffer's active view, the one that scrolls to the caret.
    void MakeActive() { m_source->SetActiveNotifier(this); }
    const TMemoSource& MemoSource() const { return *m_source; }

    // ---- Properties -----------------------------------------------------------
    TMemoOptions Options() const { return m_options; }
    void SetOptions(TMemoOptions options);
    void SetOption(TMemoOption option, bool on) { SetOptions(WithOption(m_options, option, on)); }
    void SetKeyMapping(const std::string& name);
    const std::string& KeyMappingName() const { return m_keyMappingName; }
    void SetEditorFont(const QFont& font);
    const QFont& EditorFont() const { return m_font; }
    void SetUseMonoFont(bool mono);
    bool UseMonoFont() const { return m_useMonoFont; }
    void SetWordWrap(bool wrap);
    bool WordWrap() const { return m_wordWrap; }
    void SetMarginPos(int column);
    int MarginPos() const { return m_marginPos; }
    void SetGutterWidth(int width);
    int GutterWidth() const { return m_gutterWidth; }
    void SetGutterLineIndent(int pixels);
    void SetLeftIndent(int pixels);
    void SetHorzMaxPos(int columns);
    int HorzMaxPos() const { return m_horzMaxPos; }
    void SetHideSelection(bool hide)
    {
        m_hideSelection = hide;
        viewport()->update();
    }
    void SetHideCaret(bool hide);
    bool HideCaret() const { return m_hideCaret; }
    void SetWantTabs(bool want) { m_wantTabs = want; }
    void SetWantReturns(bool want) { m_wantReturns = want; }
    void SetWordSelectionType(TWordSelectionType type) { m_wordSelectionType = type; }
    void SetClipboardType(TClipboardType type) { m_clipboardType = type; }
    void SetLineNumAlign(TLineNumAlign align)
    {
        m_lineNumAlign = align;
        viewport()->update();
    }
    void SetScrollBarsBoth(bool both);

    struct TColors {
        TColor gutterBack = clBtnFace;
        TColor gutterLine = clGray;
        TColor lineNum = clWindowText;
        TColor lineNumBack = clWindow;
        TColor margin = clGrayText;
        TColor selText = clHighlightText;
        TColor selBack = clHighlight;
        TColor match = clLime;
        TColor matchBack = clWindowText;
        TColor lineBookmark = 0x0000FF; // red
        TColor readOnly = clWindow;
        TColor disabled = clGrayText;
        TColor text = clWindowText;
        TColor back = clWindow;
    };
    const TColors& Colors() const { return m_colors; }
    void SetColors(const TColors& colors);

    // The view's 29 text styles; "Plain Text", "Marked Block" and "Search
    // Match" also set the view's text, selection and match colours.
    void SetTextStyles(std::vector<TMemoTextStyle> styles);
    const std::vector<TMemoTextStyle>& TextStyles() const { return m_styles; }
    void SetSpecialSymbols(const TSpecialSymbols& symbols);
    void SetLineHighlight(const TLineHighlight& highlight);
    void SetLineSeparator(const TLineSeparator& separator);
    void SetGutterImages(std::vector<TGutterImage> images);
    void SetGutterImagesAlign(TGutterImagesAlign align);
    TGutterImagesAlign GutterImagesAlign() const { return m_gutterImagesAlign; }
    // Pen style of the right margin line (0 solid, 1 dash, 2 dot, 3 dash-dot,
    // 4 dash-dot-dot, 5 none, 6 solid).
    void SetMarginPenStyle(int style);
    // Gutter images drawn on a line, in drawing order: image index and left x.
    std::vector<std::pair<int, int>> GutterImagesOf(int line) const;
    const std::vector<TGutterImage>& GutterImages() const { return m_gutterImages; }
    int GutterImageIndex(const std::string& name) const;
    // The document window's images: "BreakPoint" and "Bookmark0".."Bookmark9".
    static std::vector<TGutterImage> StandardGutterImages(int size);

    // ---- Scroll state -----------------------------------------------------------
    int TopLine() const { return m_topLine; }
    int TopSubRow() const { return m_topSub; }
    int LeftColumn() const { return m_leftCol; }
    // Number of whole rows that fit (at least 1).
    int PageRows() const;
    // Whether lines in view still wait for their colours (coloured in idle
    // slices when their start states are far from the coloured part).
    bool ColouringPending() const { return m_colourTarget >= 0; }
    int VisibleColumns() const;
    // Moves the top by rows (wrapped rows and hidden lines counted as shown);
    // returns the rows actually moved.
    int ScrollRows(int rows);
    void SetTopLine(int line, int subRow = 0);
    void SetLeftColumn(int column);

    // ---- View operations ----------------------------------------------------------
    bool ExecuteCommand(TMemoCommand command);
    void CenteredJumpTo(int column, int line);
    void PromptedGotoLine();
    void EnsureCaretVisible();
    void CenterScreenOnLine();
    void InvalidateLines(int first, int last);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool InsertChar(unsigned char c);
    bool MoveBlockToPosEx(bool move);
    void ToggleImageAndTextStyle(const std::string& name);
    void WordWrapLines(int first, int last);

    // Text point under a viewport position (nearest cell boundary), clamped to
    // the document as the mouse rules ask.
    TTextPoint MouseToTextPoint(QPoint pos) const;
    // Viewport position of a text point's top-left corner; nullopt when the
    // point is not on screen.
    std::optional<QPoint> TextToPixelPoint(TTextPoint point) const;
    // The rectangle of the caret in viewport coordinates (empty when off screen).
    QRect CaretRect() const;
    const TGutterLayout& Layout() const { return m_layout; }
    int LineHeight() const { return m_lineHeight; }
    int CharWidth() const { return m_charWidth; }

    // Paints the given rectangle of the view (viewport coordinates) with the
    // painter; what paintEvent uses, open for off-screen rendering.
    void PaintArea(QPainter& painter, const QRect& rect);

    // ---- Events (the document window binds them) ------------------------------
    std::function<void(TTarnMemo&, std::uint32_t flags)> OnStateChange;
    std::function<void(TTarnMemo&)> OnSelectionChange;
    std::function<void(TTarnMemo&)> OnChange;
    // line, gutter image index under the pointer (-1 none), modifiers + button (8 left, 16 right, 32 middle)
    std::function<void(TTarnMemo&, int line, int imageIndex, int shift)> OnClickGutter;
    // rows and columns scrolled since the last report
    std::function<void(TTarnMemo&, int deltaRows, int deltaColumns)> OnMemoScroll;
    std::function<void(TTarnMemo&, const std::string& url, bool& handled)> OnJumpToUrl;
    std::function<void(TTarnMemo&, int line, int ch, int& style)> OnGetColorStyle;
    std::function<void(TTarnMemo&, int style, TResolvedStyle& look)> OnGetFontFromStyle;
    std::function<bool(TTarnMemo&, int line, int newState)> OnCollapseStateChanging;
    std::function<void(TTarnMemo&, int line)> OnCollapseStateChanged;
    std::function<void(TTarnMemo&, int& digits)> OnGetLineNumber;
    // The top row moved by deltaRows (after the view scrolled vertically).
    std::function<void(TTarnMemo&, int deltaRows)> OnVerticalScroll;
    // After a text row is painted: the owner may draw over it (row rectangle in
    // viewport coordinates, the line and the wrapped row inside it).
    std::function<void(TTarnMemo&, QPainter&, const QRect& row, int line, int subRow)> OnCustomDraw;
    // Before the gutter cell of a line is painted (the cell's rectangle);
    // setting handled leaves out the view's own images.
    std::function<void(TTarnMemo&, QPainter&, const QRect& cell, int line, bool& handled)> OnDrawGutter;
    // Extra text shown after the end of a line (an annotation; it is not part
    // of the document). Empty text shows nothing.
    std::function<void(TTarnMemo&, int line, QString& text)> OnCustomString;
    // Before the scroll hint shows: the text may be changed; clearing it shows no hint.
    std::function<void(TTarnMemo&, QString& text)> OnHintPopup;
    // Commands the view does not carry out itself (search dialogs, templates,
    // find next); the handler returns whether it took the command.
    std::function<bool(TTarnMemo&, TMemoCommand)> OnExternalCommand;
    // Asks for a 1-based line; nullopt when cancelled. Unset: a small dialog.
    std::function<std::optional<int>(TTarnMemo&)> OnPromptLineNumber;
    // Opens a URL; unset: the desktop's URL handler.
    std::function<void(const std::string& url)> OnOpenUrl;
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    // With no pop-up menu of the owner's, a right click shows the view's own
    // menu (Undo, Cut, Copy, Paste, Delete, Select All) when this is on.
    void SetUseDefaultMenu(bool on) { m_useDefaultMenu = on; }
    bool UseDefaultMenu() const { return m_useDefaultMenu; }
    // The built-in menu, its entries enabled for the current state.
    QMenu* PrepareDefaultMenu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    // IMemoSourceNotifier
    void SourceChanged(TMemoSource& source, const TChangeReport& report) override;
    void AdjustNavigate(TMemoSource& source, int& deltaLine, int& deltaChar) override;
    std::pair<int, int> LinesInView() const override;

    // One visual row: a line, the row inside it and the raw character range.
    struct TRow {
        int line = 0;
        int sub = 0;
        std::size_t rawStart = 0;
        std::size_t rawEnd = 0;
        bool lastOfLine = true;
    };
    friend class TTarnMemoPainter;

    // Geometry (TarnMemo.cpp).
    void UpdateFontMetrics();
    void UpdateLayout();
    void UpdateScrollBars();
    std::int64_t WrapWidth() const;
    bool Folding() const { return HasOption(m_options, moHideInvisibleLines); }
    bool LineShown(int line) const;
    int NextShownLine(int line) const; // -1 when none
    int PrevShownLine(int line) const; // -1 when none
    int RowsOfLine(int line);
    TRow RowAt(int line, int sub);
    // Steps a (line, sub) position by rows; returns the rows moved.
    int StepRows(int& line, int& sub, int rows);
    // Row of the caret inside its line.
    int CaretSubRow();
    // Rows from the top row down to (line, sub); nullopt when above the top or
    // more than `limit` rows below.
    std::optional<int> RowsFromTop(int line, int sub, int limit);
    TLineGeometry Geometry() const { return TLineGeometry(m_measure, m_source->TabStops(), m_useMonoFont); }
    std::int64_t ColumnX(std::string_view text, std::int64_t column) const; // pixel of column in the line
    void ScrollToRow(int line, int sub);
    void SetScrollPosition(int line, int sub, int leftCol, bool report);
    void ResolveStyles();
    const TResolvedStyle& StyleFor(int attr);

    // Glyphs of one font and colour waiting to be drawn in one call.
    struct TGlyphBatch {
        const QRawFont* font = nullptr;
        QColor colour;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    TGlyphBatch& BatchFor(const QRawFont& font, const QColor& colour);
    void DrawBatch(QPainter& p, TGlyphBatch& batch, bool underline, bool strikeOut);

    // Keys (TarnMemoKeys.cpp).
    void MoveVertical(int rows, bool mark, TSelKind kind);
    void MovePage(int direction, bool mark, TSelKind kind);
    void JumpToScreenEdge(bool bottom, bool mark, TSelKind kind);
    void JumpToRowEdge(bool end, bool mark);
    void DropSelectionUnlessPersistent();
    void BookmarkJump(int n);
    // A row move of a key command; a plain one drops a selection that does not persist.
    void RunRowMove(TRowMove move, int direction, bool mark, TSelKind kind);
    // The key commands that need the view's own state.
    bool ExecuteViewCommand(TMemoCommand command);

    // Mouse (TarnMemoMouse.cpp).
    enum class TDragState { Idle, Selecting, DraggingText, MultiClick };
    void ExtendMouseSelection(QPoint pos, Qt::KeyboardModifiers modifiers);
    void OnSelectTimer();
    // A painted line showed plain or last known colours: colour towards it.
    void RequestColouring(int line);
    void OnColourTimer();
    bool HotStringAt(TTextPoint point, std::string& url) const;
    void OpenUrl(const std::string& hotString);
    int GutterImageAt(int line, int x) const;

    class TQtFontMeasure : public IFontMeasure {
    public:
        void Reset(const QFont& font);
        int AverageCharWidth() const override { return m_avg; }
        int LineHeight() const override { return m_height; }
        int CharWidth(unsigned char c) const override { return m_widths[c]; }
        int Ascent() const { return m_ascent; }

    private:
        std::array<int, 256> m_widths{};
        int m_avg = 8;
        int m_height = 16;
        int m_ascent = 12;
    };

    std::unique_ptr<TMemoSource> m_ownSource;
    TMemoSource* m_source = nullptr;
    TMemoOptions m_options = kDefaultMemoOptions;
    std::string m_keyMappingName = "Default";
    TKeyDispatcher m_keys{TKeyMapping::Create("Default")};
    QFont m_font;
    TQtFontMeasure m_measure;
    int m_charWidth = 8;
    int m_lineHeight = 16;
    bool m_useMonoFont = true;
    bool m_wordWrap = false;
    int m_marginPos = 80;
    int m_gutterWidth = 32;
    int m_gutterLineIndent = 0;
    int m_leftIndent = 0;
    int m_horzMaxPos = 512;
    bool m_hideSelection = false;
    bool m_hideCaret = false;
    bool m_wantTabs = false;
    bool m_wantReturns = true;
    TWordSelectionType m_wordSelectionType = TWordSelectionType::wsWordOnly;
    TClipboardType m_clipboardType = TClipboardType::Normal;
    TLineNumAlign m_lineNumAlign = TLineNumAlign::Right;
    TColors m_colors;
    std::vector<TMemoTextStyle> m_styles;
    std::array<std::optional<TResolvedStyle>, 256> m_resolved; // by attribute byte; reset on style changes
    TSpecialSymbols m_symbols;
    TLineHighlight m_lineHighlight;
    TLineSeparator m_lineSeparator;
    std::vector<TGutterImage> m_gutterImages;
    TGutterImagesAlign m_gutterImagesAlign = TGutterImagesAlign::Left;
    int m_marginPenStyle = 0;
    int m_highlightedLine = 0; // caret line when the view was last told of a move
    TGutterLayout m_layout;
    std::vector<TGlyphBatch> m_glyphBatches; // kept between paints for their storage
    TGlyphBatch m_oneRun;
    TResolvedStyle m_plainGlyphs; // the view font's glyphs, for line numbers
    TWrapTable m_wrap;
    QMenu* m_popupMenu = nullptr;
    QMenu* m_defaultMenu = nullptr;
    bool m_useDefaultMenu = false;

    // Scroll state: the top row is row m_topSub of line m_topLine (a shown line).
    int m_topLine = 0;
    int m_topSub = 0;
    int m_leftCol = 0;
    bool m_settingScrollBars = false;
    int m_lastLineCount = 0;
    int m_longestSeen = -1; // widest line known, in columns; -1 = measure the document again
    std::int64_t m_preferredX = -1; // pixel x kept by vertical moves; -1 = take the caret's

    // Caret blinking.
    QTimer m_caretTimer;
    bool m_caretOn = true;

    // Mouse state.
    TDragState m_dragState = TDragState::Idle;
    QTimer m_selectTimer; // 30 ms while a button is held
    QTimer m_colourTimer; // single shot, 0 ms: one slice of colouring when idle
    int m_colourTarget = -1; // the lowest painted line still waiting for colours, -1 none
    QPoint m_lastMousePos;
    Qt::KeyboardModifiers m_lastModifiers;
    Qt::KeyboardModifiers m_pressModifiers;
    QElapsedTimer m_dblClickTime;
    QPoint m_dblClickPos;
    bool m_pressInFoldCell = false;
    bool m_pressInGutter = false;
    bool m_dragMoved = false;
};

} // namespace quillet

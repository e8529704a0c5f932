#include "text/ui/TarnMemo.h"

#include "core/Translations.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <climits>

namespace quillet {

void TTarnMemo::TQtFontMeasure::Reset(const QFont& font)
{
    const QFontMetrics fm(font);
    m_avg = std::max(1, fm.horizontalAdvance(QLatin1Char('x')));
    m_height = std::max(1, fm.height());
    m_ascent = fm.ascent();
    for (int c = 0; c < 256; ++c) {
        m_widths[c] = fm.horizontalAdvance(QChar(static_cast<char16_t>(c)));
    }
}

TTarnMemo::TTarnMemo(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_styles = DefaultTextStyles();
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    m_font = font;
    m_ownSource = std::make_unique<TMemoSource>();
    m_source = m_ownSource.get();
    m_source->RegisterNotifier(this, false);
    m_lastLineCount = m_source->GetStrCount();
    UpdateFontMetrics();

    m_caretTimer.setInterval(std::max(100, QApplication::cursorFlashTime() / 2));
    connect(&m_caretTimer, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        viewport()->update(CaretRect().adjusted(-1, 0, 1, 0));
    });
    m_selectTimer.setInterval(30);
    connect(&m_selectTimer, &QTimer::timeout, this, &TTarnMemo::OnSelectTimer);
    m_colourTimer.setSingleShot(true);
    m_colourTimer.setInterval(0);
    connect(&m_colourTimer, &QTimer::timeout, this, &TTarnMemo::OnColourTimer);
    connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (HasOption(m_options, moShowScrollHint)) {
            const int line = Folding() ? m_source->VisibleToRealIndex(value) : value;
            QString hint = QString::fromStdString(LangStr("ScrollHintLine", "Line")) + QLatin1Char(' ')
                + QString::number(line + 1);
            if (OnHintPopup) {
                OnHintPopup(*this, hint);
            }
            if (hint.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(QCursor::pos(), hint, verticalScrollBar());
            }
        }
    });
    UpdateLayout();
    UpdateScrollBars();
}

TTarnMemo::~TTarnMemo()
{
    if (m_source != nullptr) {
        m_source->UnregisterNotifier(this);
        if (m_source->ActiveNotifier() == this) {
            m_source->SetActiveNotifier(nullptr);
        }
    }
}

void TTarnMemo::SetMemoSource(TMemoSource* source)
{
    if (source == nullptr) {
        if (!m_ownSource) {
            m_ownSource = std::make_unique<TMemoSource>();
        }
        source = m_ownSource.get();
    }
    if (source == m_source) {
        return;
    }
    m_source->UnregisterNotifier(this);
    if (m_source->ActiveNotifier() == this) {
        m_source->SetActiveNotifier(nullptr);
    }
    m_source = source;
    if (source != m_ownSource.get()) {
        m_ownSource.reset();
    }
    m_topLine = 0;
    m_topSub = 0;
    m_leftCol = 0;
    m_wrap.Clear();
    m_resolved = {};
    m_longestSeen = -1;
    m_colourTarget = -1;
    m_colourTimer.stop();
    m_lastLineCount = m_source->GetStrCount();
    m_source->RegisterNotifier(this, true);
    if (hasFocus()) {
        m_source->SetActiveNotifier(this);
    }
    UpdateLayout();
    UpdateScrollBars();
    viewport()->update();
}

void TTarnMemo::SetOptions(TMemoOptions options)
{
    if (options == m_options) {
        return;
    }
    const TMemoOptions changed = options ^ m_options;
    m_options = options;
    if (changed & (moColorSyntax | moColoredLineStyle)) {
        m_resolved = {};
    }
    if (changed & (moBreakWordAtMargin | moHideInvisibleLines)) {
        m_wrap.Clear();
    }
    if ((changed & moHideInvisibleLines) && !LineShown(m_topLine)) {
        const int shown = PrevShownLine(m_topLine);
        m_topLine = shown >= 0 ? shown : std::max(0, NextShownLine(m_topLine));
        m_topSub = 0;
    }
    UpdateLayout();
    UpdateScrollBars();
    viewport()->update();
}

void TTarnMemo::SetKeyMapping(const std::string& name)
{
    m_keyMappingName = name;
    m_keys = TKeyDispatcher(TKeyMapping::Create(name));
}

void TTarnMemo::SetEditorFont(const QFont& font)
{
    m_font = font;
    UpdateFontMetrics();
}

void TTarnMemo::SetUseMonoFont(bool mono)
{
    m_useMonoFont = mono;
    m_wrap.Clear();
    UpdateFontMetrics();
}

void TTarnMemo::UpdateFontMetrics()
{
    m_measure.Reset(m_font);
    m_charWidth = m_measure.AverageCharWidth();
    m_lineHeight = m_measure.LineHeight();
    m_resolved = {};
    m_plainGlyphs = TResolvedStyle();
    m_plainGlyphs.font = m_font;
    PrepareGlyphs(m_plainGlyphs);
    m_wrap.Clear();
    UpdateLayout();
    UpdateScrollBars();
    viewport()->update();
}

void TTarnMemo::SetWordWrap(bool wrap)
{
    if (wrap == m_wordWrap) {
        return;
    }
    m_wordWrap = wrap;
    m_wrap.Clear();
    m_topSub = 0;
    m_leftCol = 0;
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    UpdateLayout();
    UpdateScrollBars();
    EnsureCaretVisible();
    viewport()->update();
}

void TTarnMemo::SetScrollBarsBoth(bool both)
{
    setHorizontalScrollBarPolicy(both && !m_wordWrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void TTarnMemo::SetMarginPos(int column)
{
    m_marginPos = std::max(0, column);
    if (m_wordWrap && HasOption(m_options, moBreakWordAtMargin)) {
        UpdateLayout();
    }
    viewport()->update();
}

void TTarnMemo::SetGutterWidth(int width)
{
    m_gutterWidth = std::max(0, width);
    UpdateLayout();
    viewport()->update();
}

void TTarnMemo::SetGutterLineIndent(int pixels)
{
    m_gutterLineIndent = std::max(0, pixels);
    UpdateLayout();
    viewport()->update();
}

void TTarnMemo::SetLeftIndent(int pixels)
{
    m_leftIndent = std::max(0, pixels);
    UpdateLayout();
    viewport()->update();
}

void TTarnMemo::SetHorzMaxPos(int columns)
{
    m_horzMaxPos = std::max(0, columns);
    UpdateScrollBars();
}

void TTarnMemo::SetHideCaret(bool hide)
{
    m_hideCaret = hide;
    viewport()->update();
}

void TTarnMemo::SetColors(const TColors& colors)
{
    m_colors = colors;
    m_resolved = {};
    viewport()->update();
}

void TTarnMemo::SetTextStyles(std::vector<TMemoTextStyle> styles)
{
    m_styles = std::move(styles);
    if (m_styles.size() > kStylePlainText) {
        const TMemoTextStyle& plain = m_styles[kStylePlainText];
        m_colors.text = plain.fontColor;
        m_colors.back = plain.color;
    }
    if (m_styles.size() > kStyleMarkedBlock) {
        m_colors.selText = m_styles[kStyleMarkedBlock].fontColor;
        m_colors.selBack = m_styles[kStyleMarkedBlock].color;
    }
    if (m_styles.size() > kStyleSearchMatch) {
        m_colors.match = m_styles[kStyleSearchMatch].fontColor;
        m_colors.matchBack = m_styles[kStyleSearchMatch].color;
    }
    m_resolved = {};
    viewport()->update();
}

void TTarnMemo::SetSpecialSymbols(const TSpecialSymbols& symbols)
{
    m_symbols = symbols;
    if (HasOption(m_options, moDrawSpecialSymbols)) {
        viewport()->update();
    }
}

void TTarnMemo::SetLineHighlight(const TLineHighlight& highlight)
{
    m_lineHighlight = highlight;
    viewport()->update();
}

void TTarnMemo::SetLineSeparator(const TLineSeparator& separator)
{
    m_lineSeparator = separator;
    viewport()->update();
}

void TTarnMemo::SetGutterImages(std::vector<TGutterImage> images)
{
    m_gutterImages = std::move(images);
    UpdateLayout();
    viewport()->update();
}

void TTarnMemo::SetGutterImagesAlign(TGutterImagesAlign align)
{
    m_gutterImagesAlign = align;
    viewport()->update(QRect(0, 0, m_layout.gutterWidth, viewport()->height()));
}

void TTarnMemo::SetMarginPenStyle(int style)
{
    m_marginPenStyle = style;
    if (HasOption(m_options, moDrawMargin)) {
        viewport()->update();
    }
}

std::vector<std::pair<int, int>> TTarnMemo::GutterImagesOf(int line) const
{
    std::vector<std::pair<int, int>> shown;
    if (m_layout.gutterWidth <= 0 || line < 0 || line >= m_source->GetStrCount()) {
        return shown;
    }
    const std::uint16_t bits = m_source->GetImageBits(line);
    const bool bookmarked = m_source->GetBookmarkFromRange(line, line) != 0;
    if (bits == 0 && !bookmarked) {
        return shown;
    }
    const int imageSize = std::min({m_lineHeight, 16, std::max(1, m_layout.gutterWidth - 1)});
    auto add = [&](std::size_t index) {
        if (!m_gutterImages[index].glyph.isNull()) {
            shown.emplace_back(static_cast<int>(index), 0);
        }
    };
    for (std::size_t n = 0; n < m_gutterImages.size() && n < 16; ++n) {
        if ((bits >> n) & 1u) {
            add(n);
        }
    }
    if (bookmarked) {
        for (const auto& bm : m_source->GetBookmarksFromRange(line, line)) {
            for (std::size_t n = 0; n < m_gutterImages.size(); ++n) {
                if (m_gutterImages[n].bookmarkIndex == bm.number % 10) {
                    add(n);
                }
            }
        }
    }
    // Side by side from the left edge, or from the right edge (left of the
    // gutter's border line) going left.
    for (std::size_t k = 0; k < shown.size(); ++k) {
        const int offset = static_cast<int>(k) * imageSize;
        shown[k].second =
            m_gutterImagesAlign == TGutterImagesAlign::Left ? offset : m_layout.gutterWidth - 1 - imageSize - offset;
    }
    return shown;
}

int TTarnMemo::GutterImageIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < m_gutterImages.size(); ++i) {
        if (m_gutterImages[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<TGutterImage> TTarnMemo::StandardGutterImages(int size)
{
    size = std::max(6, size);
    std::vector<TGutterImage> images;
    {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(128, 0, 0));
        p.setBrush(QColor(220, 0, 0));
        p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
        images.push_back({"BreakPoint", pm, -1});
    }
    for (int n = 0; n <= 9; ++n) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setPen(QColor(0, 0, 128));
        p.setBrush(QColor(255, 255, 160));
        p.drawRect(0, 0, size - 1, size - 1);
        QFont f = p.font();
        f.setPixelSize(std::max(6, size - 3));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::number(n));
        images.push_back({"Bookmark" + std::to_string(n), pm, n});
    }
    return images;
}

// ---- Geometry ------------------------------------------------------------------

void TTarnMemo::UpdateLayout()
{
    TGutterInput in;
    in.options = m_options;
    in.gutterWidth = m_gutterWidth;
    in.gutterLineIndent = m_gutterLineIndent;
    in.leftIndent = m_leftIndent;
    in.avgCharWidth = m_charWidth;
    in.lineHeight = m_lineHeight;
    in.lineCount = static_cast<std::size_t>(std::max(1, m_source->GetStrCount()));
    in.imageWidth = m_gutterImages.empty() ? 0 : std::min(m_lineHeight, 16);
    in.lastShowableLine = static_cast<std::size_t>(std::max(0, m_topLine)) + PageRows() + 1;
    if (OnGetLineNumber) {
        int digits = -1;
        OnGetLineNumber(*this, digits);
        in.digitsOverride = digits;
    }
    const TGutterLayout layout = ComputeGutterLayout(in);
    const bool textMoved = layout.textLeft != m_layout.textLeft;
    m_layout = layout;
    m_wrap.SetWidth(WrapWidth());
    if (textMoved) {
        viewport()->update();
    }
}

std::int64_t TTarnMemo::WrapWidth() const
{
    if (HasOption(m_options, moBreakWordAtMargin)) {
        return static_cast<std::int64_t>(m_marginPos) * m_charWidth;
    }
    return viewport()->width() - m_layout.textLeft;
}

int TTarnMemo::PageRows() const
{
    return std::max(1, viewport()->height() / std::max(1, m_lineHeight));
}

int TTarnMemo::VisibleColumns() const
{
    return std::max(1, (viewport()->width() - m_layout.textLeft) / std::max(1, m_charWidth));
}

bool TTarnMemo::LineShown(int line) const
{
    return !Folding() || m_source->GetRealLineVisible(line);
}

int TTarnMemo::NextShownLine(int line) const
{
    const int count = m_source->GetStrCount();
    for (int l = line + 1; l < count; ++l) {
        if (LineShown(l)) {
            return l;
        }
    }
    return -1;
}

int TTarnMemo::PrevShownLine(int line) const
{
    for (int l = std::min(line, m_source->GetStrCount()) - 1; l >= 0; --l) {
        if (LineShown(l)) {
            return l;
        }
    }
    return -1;
}

int TTarnMemo::RowsOfLine(int line)
{
    if (!m_wordWrap || line < 0 || line >= m_source->GetStrCount()) {
        return 1;
    }
    const TLineGeometry geometry = Geometry();
    const auto& breaks =
        m_wrap.Breaks(static_cast<std::size_t>(line), m_source->GetRawLine(line), geometry, [this](unsigned char c) {
            return m_source->IsDelimiter(c);
        });
    return static_cast<int>(breaks.size()) + 1;
}

TTarnMemo::TRow TTarnMemo::RowAt(int line, int sub)
{
    TRow row;
    row.line = line;
    row.sub = sub;
    const std::string_view text = m_source->GetRawLine(line);
    if (!m_wordWrap || line >= m_source->GetStrCount()) {
        row.rawEnd = text.size();
        return row;
    }
    const TLineGeometry geometry = Geometry();
    const auto& breaks = m_wrap.Breaks(static_cast<std::size_t>(line), text, geometry, [this](unsigned char c) {
        return m_source->IsDelimiter(c);
    });
    sub = std::clamp(sub, 0, static_cast<int>(breaks.size()));
    row.sub = sub;
    row.rawStart = TWrapTable::RowStart(breaks, static_cast<std::size_t>(sub));
    row.rawEnd = TWrapTable::RowEnd(breaks, static_cast<std::size_t>(sub), text.size());
    row.lastOfLine = sub == static_cast<int>(breaks.size());
    return row;
}

int TTarnMemo::StepRows(int& line, int& sub, int rows)
{
    int moved = 0;
    const int count = std::max(1, m_source->GetStrCount());
    while (rows > 0) {
        if (sub + 1 < RowsOfLine(line)) {
            ++sub;
        } else {
            const int next = NextShownLine(line);
            if (next < 0 || next >= count) {
                break;
            }
            line = next;
            sub = 0;
        }
        --rows;
        ++moved;
    }
    while (rows < 0) {
        if (sub > 0) {
            --sub;
        } else {
            const int prev = PrevShownLine(line);
            if (prev < 0) {
                break;
            }
            line = prev;
            sub = RowsOfLine(prev) - 1;
        }
        ++rows;
        --moved;
    }
    return moved;
}

int TTarnMemo::CaretSubRow()
{
    if (!m_wordWrap) {
        return 0;
    }
    const int line = m_source->GetCurLine();
    if (line >= m_source->GetStrCount()) {
        return 0;
    }
    const std::string_view text = m_source->GetRawLine(line);
    const TLineGeometry geometry = Geometry();
    const auto& breaks = m_wrap.Breaks(static_cast<std::size_t>(line), text, geometry, [this](unsigned char c) {
        return m_source->IsDelimiter(c);
    });
    const int raw = m_source->ColToRaw(line, m_source->GetCurChar());
    return static_cast<int>(TWrapTable::RowOfPosition(breaks, static_cast<std::size_t>(std::max(0, raw))));
}

std::optional<int> TTarnMemo::RowsFromTop(int line, int sub, int limit)
{
    if (line < m_topLine || (line == m_topLine && sub < m_topSub)) {
        return std::nullopt;
    }
    int l = m_topLine;
    int s = m_topSub;
    for (int rows = 0; rows <= limit; ++rows) {
        if (l == line && s == sub) {
            return rows;
        }
        if (l > line) {
            return rows; // the line is hidden: its place is here
        }
        if (StepRows(l, s, 1) == 0) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::int64_t TTarnMemo::ColumnX(std::string_view text, std::int64_t column) const
{
    return Geometry().PixelOfColumn(text, column);
}

void TTarnMemo::UpdateScrollBars()
{
    m_settingScrollBars = true;
    const int count = m_source->GetStrCount();
    const int shownCount = Folding() ? count - static_cast<int>(m_source->HiddenLines().size()) : count;
    const int page = PageRows();
    QScrollBar* v = verticalScrollBar();
    v->setPageStep(page);
    v->setSingleStep(1);
    v->setRange(0, m_wordWrap ? std::max(0, shownCount - 1) : std::max(0, shownCount - page));
    v->setValue(Folding() ? m_source->RealToVisibleIndex(m_topLine) : m_topLine);

    QScrollBar* h = horizontalScrollBar();
    // Reach at least the longest line, so text beyond HorzMaxPos stays reachable.
    if (m_longestSeen < 0) {
        m_longestSeen = m_source->LongestLineLength();
    }
    const int longest = m_wordWrap ? 0 : m_longestSeen;
    const int maxColumns = std::max(m_horzMaxPos, longest + 1);
    h->setPageStep(VisibleColumns());
    h->setSingleStep(1);
    h->setRange(0, m_wordWrap ? 0 : std::max(0, maxColumns - VisibleColumns()));
    h->setValue(m_leftCol);
    m_settingScrollBars = false;
}

void TTarnMemo::scrollContentsBy(int, int)
{
    if (m_settingScrollBars) {
        return;
    }
    const int v = verticalScrollBar()->value();
    const int line = Folding() ? m_source->VisibleToRealIndex(v) : v;
    SetScrollPosition(line, line == m_topLine ? m_topSub : 0, horizontalScrollBar()->value(), true);
}

void TTarnMemo::SetScrollPosition(int line, int sub, int leftCol, bool report)
{
    const int count = m_source->GetStrCount();
    line = std::clamp(line, 0, std::max(0, count - 1));
    if (!LineShown(line)) {
        const int prev = PrevShownLine(line);
        line = prev >= 0 ? prev : std::max(0, NextShownLine(line));
        sub = 0;
    }
    sub = std::clamp(sub, 0, RowsOfLine(line) - 1);
    leftCol = m_wordWrap ? 0 : std::max(0, leftCol);
    if (line == m_topLine && sub == m_topSub && leftCol == m_leftCol) {
        return;
    }
    int deltaRows = 0;
    if (report && (OnMemoScroll || OnVerticalScroll)) {
        // Rows between the old and new top, counted as shown (bounded walk).
        int l = m_topLine;
        int s = m_topSub;
        const bool down = line > m_topLine || (line == m_topLine && sub > m_topSub);
        for (int guard = 0; guard < 100000 && !(l == line && s == sub); ++guard) {
            if (StepRows(l, s, down ? 1 : -1) == 0) {
                break;
            }
            deltaRows += down ? 1 : -1;
            if (down ? (l > line) : (l < line)) {
                break;
            }
        }
    }
    const int deltaCols = leftCol - m_leftCol;
    m_topLine = line;
    m_topSub = sub;
    m_leftCol = leftCol;
    UpdateLayout(); // the number column may widen when larger numbers come into view
    UpdateScrollBars();
    viewport()->update();
    if (report && OnMemoScroll && (deltaRows != 0 || deltaCols != 0)) {
        OnMemoScroll(*this, deltaRows, deltaCols);
    }
    if (report && OnVerticalScroll && deltaRows != 0) {
        OnVerticalScroll(*this, deltaRows);
    }
}

int TTarnMemo::ScrollRows(int rows)
{
    int line = m_topLine;
    int sub = m_topSub;
    const int moved = StepRows(line, sub, rows);
    if (!m_wordWrap && moved > 0) {
        // Without wrapping the last page stays full.
        const int maxTop = verticalScrollBar()->maximum();
        const int index = Folding() ? m_source->RealToVisibleIndex(line) : line;
        if (index > maxTop) {
            return ScrollRows(rows - (index - maxTop));
        }
    }
    if (moved != 0) {
        SetScrollPosition(line, sub, m_leftCol, true);
    }
    return moved;
}

void TTarnMemo::SetTopLine(int line, int subRow)
{
    SetScrollPosition(line, subRow, m_leftCol, true);
}

void TTarnMemo::SetLeftColumn(int column)
{
    SetScrollPosition(m_topLine, m_topSub, column, true);
}

void TTarnMemo::ScrollToRow(int line, int sub)
{
    SetScrollPosition(line, sub, m_leftCol, true);
}

void TTarnMemo::EnsureCaretVisible()
{
    const int count = m_source->GetStrCount();
    int line = std::min(m_source->GetCurLine(), std::max(0, count - 1));
    if (!LineShown(line)) {
        const int prev = PrevShownLine(line);
        line = prev >= 0 ? prev : line;
    }
    const int sub = CaretSubRow();
    const int page = PageRows();
    int top = m_topLine;
    int topSub = m_topSub;
    if (line < m_topLine || (line == m_topLine && sub < m_topSub)) {
        top = line;
        topSub = sub;
    } else if (!RowsFromTop(line, sub, page - 1)) {
        // Below the page: put the caret row on the last full row.
        top = line;
        topSub = sub;
        StepRows(top, topSub, -(page - 1));
    }
    int left = m_leftCol;
    if (!m_wordWrap) {
        const int col = m_source->GetCurChar();
        const int columns = VisibleColumns();
        if (col < m_leftCol) {
            left = std::max(0, col - columns / 4);
        } else if (col >= m_leftCol + columns) {
            left = col - columns + 1 + columns / 4;
        }
        if (!m_useMonoFont) {
            // Measured text: keep the caret's pixel inside the text area.
            const std::string_view text = m_source->GetRawLine(m_source->GetCurLine());
            const std::int64_t x = ColumnX(text, col) - static_cast<std::int64_t>(left) * m_charWidth;
            const int width = viewport()->width() - m_layout.textLeft;
            if (x >= width) {
                left += static_cast<int>((x - width) / m_charWidth) + 1 + columns / 4;
            }
        }
    }
    SetScrollPosition(top, topSub, left, true);
}

void TTarnMemo::CenterScreenOnLine()
{
    int line = m_source->GetCurLine();
    if (!LineShown(line)) {
        const int prev = PrevShownLine(line);
        line = prev >= 0 ? prev : line;
    }
    int sub = CaretSubRow();
    StepRows(line, sub, -(PageRows() / 2));
    SetScrollPosition(line, sub, m_leftCol, true);
}

void TTarnMemo::CenteredJumpTo(int column, int line)
{
    m_source->BeginUpdate(2);
    m_source->JumpTo(column, line);
    m_source->EndUpdate();
    CenterScreenOnLine();
    EnsureCaretVisible();
}

void TTarnMemo::InvalidateLines(int first, int last)
{
    if (last < first) {
        std::swap(first, last);
    }
    if (last < m_topLine) {
        return;
    }
    const int page = PageRows();
    int y0 = -1;
    int y1 = -1;
    int l = m_topLine;
    int s = m_topSub;
    for (int row = 0; row <= page; ++row) {
        if (l >= first && l <= last) {
            if (y0 < 0) {
                y0 = row;
            }
            y1 = row;
        }
        if (l > last || StepRows(l, s, 1) == 0) {
            break;
        }
    }
    if (y0 < 0) {
        return;
    }
    viewport()->update(QRect(0, y0 * m_lineHeight, viewport()->width(), (y1 - y0 + 1) * m_lineHeight));
}

void TTarnMemo::WordWrapLines(int first, int last)
{
    m_wrap.TextChanged(static_cast<std::size_t>(std::max(0, first)), static_cast<std::size_t>(std::max(0, last)), 0);
    InvalidateLines(first, last);
}

// ---- Buffer reports --------------------------------------------------------------------

void TTarnMemo::SourceChanged(TMemoSource& source, const TChangeReport& report)
{
    (void)source;
    const std::uint32_t flags = report.flags;
    const int count = m_source->GetStrCount();
    const int lineDelta = count - m_lastLineCount;
    m_lastLineCount = count;
    const int oldTop = m_topLine;
    const int oldSub = m_topSub;
    const int oldLeft = m_leftCol;
    bool repaintAll = false;

    if (flags & (chTextChanged | chLineCount)) {
        // The scroll range only grows with edits: measuring the changed lines
        // keeps a keystroke independent of the document's length.
        const int first = std::max(0, report.firstLine);
        const int last = std::min(count - 1, std::max(report.firstLine, report.lastLine));
        if (m_longestSeen >= 0 && last - first <= 1000) {
            for (int l = first; l <= last; ++l) {
                m_longestSeen = std::max(m_longestSeen, m_source->LineLength(l));
            }
        } else {
            m_longestSeen = -1;
        }
        m_wrap.TextChanged(static_cast<std::size_t>(std::max(0, report.firstLine)),
            static_cast<std::size_t>(std::max(report.firstLine, report.lastLine)),
            lineDelta);
        if (lineDelta != 0) {
            repaintAll = true;
        }
    }
    if (flags & chHighlighter) {
        m_resolved = {};
        repaintAll = true;
    }
    if (flags & (chSelection | chLineCount)) {
        // Folding may have hidden the top line.
        if (m_topLine >= count || !LineShown(m_topLine)) {
            SetScrollPosition(std::min(m_topLine, std::max(0, count - 1)), 0, m_leftCol, true);
        }
    }
    if (flags & chLineCount) {
        UpdateLayout();
        UpdateScrollBars();
    } else if (flags & chTextChanged) {
        UpdateScrollBars(); // the longest line may have grown
    }
    if ((flags & (chCaretMoved | chTextChanged)) && m_source->ActiveNotifier() == this) {
        EnsureCaretVisible();
        m_caretOn = true;
    }
    if (flags & chCaretMoved) {
        m_preferredX = -1;
    }
    if (OnStateChange) {
        OnStateChange(*this, flags);
    }
    if ((flags & (chCaretMoved | chSelection)) && OnSelectionChange) {
        OnSelectionChange(*this);
    }
    if (repaintAll || oldTop != m_topLine || oldSub != m_topSub || oldLeft != m_leftCol
        || (flags & (chSelection | chReadOnly | chFoundText | chOverwrite | chHighlighter))) {
        viewport()->update();
    } else if (flags & (chTextChanged | chCaretMoved)) {
        InvalidateLines(report.firstLine, report.lastLine);
        viewport()->update(CaretRect().adjusted(-2, 0, 2, 0));
        if (m_lineHighlight.visible && m_highlightedLine != m_source->GetCurLine()) {
            // The highlight leaves the old caret line and marks the new one.
            InvalidateLines(m_highlightedLine, m_highlightedLine);
            InvalidateLines(m_source->GetCurLine(), m_source->GetCurLine());
        }
    }
    m_highlightedLine = m_source->GetCurLine();
    if ((flags & chTextChanged) && OnChange) {
        OnChange(*this);
    }
}

void TTarnMemo::RequestColouring(int line)
{
    m_colourTarget = std::max(m_colourTarget, line);
    if (!m_colourTimer.isActive()) {
        m_colourTimer.start();
    }
}

void TTarnMemo::OnColourTimer()
{
    if (m_colourTarget < 0) {
        return;
    }
    if (!Folding() && !m_wordWrap) {
        // The view may have moved up since the line was painted.
        m_colourTarget = std::min(m_colourTarget, m_topLine + PageRows() + 1);
    }
    // One slice: a few chunks of lines, stopping after about 10 ms so that
    // input waiting in the queue is handled before the next slice.
    constexpr int kChunkLines = 2048;
    constexpr qint64 kSliceNs = 10'000'000;
    QElapsedTimer clock;
    clock.start();
    bool done = false;
    do {
        done = m_source->ColourTowards(m_colourTarget, kChunkLines);
    } while (!done && clock.nsecsElapsed() < kSliceNs);
    if (done) {
        m_colourTarget = -1;
        viewport()->update(); // painting asks again when lines are still missing
    } else {
        m_colourTimer.start();
    }
}

std::pair<int, int> TTarnMemo::LinesInView() const
{
    if (!isVisible()) {
        return {0, -1};
    }
    int last = m_topLine;
    if (Folding()) {
        for (int row = 1; row < PageRows(); ++row) {
            const int next = NextShownLine(last);
            if (next < 0) {
                break;
            }
            last = next;
        }
    } else {
        last += PageRows();
    }
    return {m_topLine, last};
}

void TTarnMemo::AdjustNavigate(TMemoSource& source, int& deltaLine, int& deltaChar)
{
    (void)deltaChar;
    if (!Folding() || deltaLine == 0) {
        return;
    }
    // Vertical moves step over hidden lines: count shown lines instead.
    const int from = source.GetCurLine();
    int line = from;
    int steps = deltaLine;
    while (steps != 0) {
        const int next = steps > 0 ? NextShownLine(line) : PrevShownLine(line);
        if (next < 0) {
            break;
        }
        line = next;
        steps += steps > 0 ? -1 : 1;
    }
    deltaLine = line - from;
}

// ---- Widget events -------------------------------------------------------------------------

void TTarnMemo::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateLayout();
    UpdateScrollBars();
    viewport()->update();
}

void TTarnMemo::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    m_source->SetActiveNotifier(this);
    m_caretOn = true;
    m_caretTimer.start();
    viewport()->update();
}

void TTarnMemo::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    m_caretTimer.stop();
    m_keys.Reset();
    viewport()->update();
}

void TTarnMemo::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange) {
        m_resolved = {};
        viewport()->update();
    }
}

bool TTarnMemo::focusNextPrevChild(bool next)
{
    if (m_wantTabs) {
        return false; // Tab is text here
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

} // namespace quillet

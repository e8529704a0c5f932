// Rows of the compare window: building them from the change list, their
// numbers, stepping between differences, copying blocks, keeping the views
// together and handing a merged side on.
#include "compare/ui/CompareForm.h"
#include "compare/ui/CompareOverview.h"
#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/ChildForm.h"
#include "text/ui/SyntaxAttach.h"
#include "text/ui/TarnMemo.h"

#include <QMessageBox>
#include <QPainter>
#include <QSplitter>

namespace quillet {

namespace {

// Gutter image bits: the three row marks, and a bit without an image that
// tells a row standing for no line of its side (a filler row).
constexpr int kAddedBit = 0;
constexpr int kDeletedBit = 1;
constexpr int kModifiedBit = 2;
constexpr int kFillerBit = 15;

bool IsDifferenceStyle(int style)
{
    return style == kAddedLinesStyle || style == kDeletedLinesStyle || style == kModifiedLinesStyle;
}

int ImageBitOf(int style)
{
    return style == kAddedLinesStyle ? kAddedBit : style == kDeletedLinesStyle ? kDeletedBit : kModifiedBit;
}

QPixmap MarkGlyph(const QColor& back, QChar sign)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(back);
    painter.setPen(back.darker(160));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(sign));
    return pixmap;
}

QColor StyleBack(const TTarnMemo& view, int style)
{
    const auto& styles = view.TextStyles();
    return style < static_cast<int>(styles.size()) ? ToQColor(styles[static_cast<std::size_t>(style)].color)
                                                   : QColor(Qt::gray);
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        text += lines[i];
    }
    return text;
}

QString AppTitle()
{
    return QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
}

} // namespace

void TCompareForm::BuildRows()
{
    const std::vector<TCompareRow> rows = BuildCompareRows(m_diff.ChangeList(),
        static_cast<std::int32_t>(m_left.lines.size()),
        static_cast<std::int32_t>(m_right.lines.size()),
        m_differencesOnly);
    m_digits = static_cast<int>(std::to_string(m_left.lines.size()).size());
    FillView(0, rows);
    FillView(1, rows);
    std::vector<QColor> colours(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].style != 0) {
            colours[i] = StyleBack(*m_views[0], rows[i].style);
        }
    }
    m_overview->SetRows(colours);
    m_overview->SetMarker(0);
    NumbersChanged(0);
    NumbersChanged(1);
    UpdateNavigation();
    UpdateCommands();
}

void TCompareForm::FillView(int side, const std::vector<TCompareRow>& rows)
{
    TTarnMemo& view = View(side);
    TMemoSource& source = view.MemoSource();
    const std::vector<std::string>& lines = Side(side).lines;
    std::size_t size = rows.size();
    for (const std::string& line : lines) {
        size += line.size();
    }
    std::string text;
    text.reserve(size);
    for (const TCompareRow& row : rows) {
        const std::int32_t line = side == 0 ? row.left : row.right;
        if (line >= 0) {
            text += lines[static_cast<std::size_t>(line)];
        }
        text += '\n';
    }
    const bool readOnly = source.ReadOnly();
    source.SetReadOnly(false);
    source.LoadFromText(text, false);
    source.BeginUpdate(0);
    while (source.GetStrCount() < static_cast<int>(rows.size())) {
        source.Lines().Add({});
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        if (rows[i].style != 0) {
            source.SetLineTextStyle(row, rows[i].style);
            source.SetImageBit(row, ImageBitOf(rows[i].style), true);
        }
        if ((side == 0 ? rows[i].left : rows[i].right) < 0) {
            source.SetImageBit(row, kFillerBit, true);
        }
    }
    source.JumpTo(0, 0);
    source.EndUpdate();
    source.ClearUndoBuffer();
    source.SetModified(false);
    source.SetReadOnly(readOnly);

    view.SetGutterImages({
        {"Added Lines", MarkGlyph(StyleBack(view, kAddedLinesStyle), QLatin1Char('+')), -1},
        {"Deleted Lines", MarkGlyph(StyleBack(view, kDeletedLinesStyle), QLatin1Char('-')), -1},
        {"Modified Lines", MarkGlyph(StyleBack(view, kModifiedLinesStyle), QLatin1Char('~')), -1},
    });
    view.SetGutterImagesAlign(TGutterImagesAlign::Left);
    view.SetOptions(WithOption(view.Options(), moDrawGutter, true));
    view.SetGutterWidth(18 + (m_digits + 1) * view.CharWidth());
    view.SetTopLine(0);
    view.SetLeftColumn(0);
    m_lastTop[static_cast<std::size_t>(side)] = 0;
    m_lastLeft[static_cast<std::size_t>(side)] = 0;
}

int TCompareForm::RowNumber(int side, int row)
{
    const TMemoSource& source = View(side).MemoSource();
    if (row < 0 || row >= source.GetStrCount()) {
        return 0;
    }
    const int fillerStyle = side == 0 ? kAddedLinesStyle : kDeletedLinesStyle;
    if (source.GetLineTextStyle(row) == fillerStyle) {
        return 0;
    }
    if (m_differencesOnly) {
        return DifferencesOnlyLineNumber(m_diff.ChangeList(), row, side == 0);
    }
    std::vector<int>& numbers = m_numbers[static_cast<std::size_t>(side)];
    if (m_numbersDirty[static_cast<std::size_t>(side)]) {
        numbers.assign(static_cast<std::size_t>(source.GetStrCount()), 0);
        int count = 0;
        for (int i = 0; i < source.GetStrCount(); ++i) {
            if (source.GetLineTextStyle(i) != fillerStyle) {
                numbers[static_cast<std::size_t>(i)] = ++count;
            }
        }
        m_numbersDirty[static_cast<std::size_t>(side)] = false;
    }
    return numbers[static_cast<std::size_t>(row)];
}

void TCompareForm::DrawGutterNumber(int side, QPainter& painter, const QRect& cell, int line)
{
    const int number = RowNumber(side, line);
    if (number <= 0) {
        return;
    }
    TTarnMemo& view = View(side);
    painter.setFont(view.EditorFont());
    painter.setPen(ToQColor(view.Colors().lineNum));
    const QRect text = cell.adjusted(18, 0, -view.CharWidth() / 2, 0);
    painter.drawText(
        text, Qt::AlignRight | Qt::AlignVCenter, QString::number(number).rightJustified(m_digits, QLatin1Char(' ')));
}

std::vector<std::string> TCompareForm::MergedLines(int side) const
{
    const TMemoSource& source = m_views[static_cast<std::size_t>(side)]->MemoSource();
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(source.GetStrCount()));
    for (int row = 0; row < source.GetStrCount(); ++row) {
        const std::string_view text = source.GetRawLine(row);
        // A filler row nobody typed into stands for no line of this side.
        if (text.empty() && source.GetImageBit(row, kFillerBit)) {
            continue;
        }
        lines.emplace_back(text);
    }
    return lines;
}

// ---- Navigation ------------------------------------------------------------------------

int TCompareForm::FindDifference(const TTarnMemo& view, bool forward) const
{
    const TMemoSource& source = view.MemoSource();
    const int count = source.GetStrCount();
    const int cursor = source.GetCurLine();
    const auto blockStart = [&](int row) {
        const int style = source.GetLineTextStyle(row);
        return IsDifferenceStyle(style) && (row == 0 || source.GetLineTextStyle(row - 1) != style);
    };
    if (forward) {
        for (int row = std::max(0, cursor + 1); row < count; ++row) {
            if (blockStart(row)) {
                return row;
            }
        }
    } else {
        for (int row = std::min(cursor, count) - 1; row >= 0; --row) {
            if (blockStart(row)) {
                return row;
            }
        }
    }
    return -1;
}

TTarnMemo& TCompareForm::SteppingView() const
{
    // Stepping works in the right view when it has the focus, else the left.
    return m_views[1]->hasFocus() || m_lastFocused == m_views[1] ? *m_views[1] : *m_views[0];
}

void TCompareForm::UpdateNavigation()
{
    const TTarnMemo& view = SteppingView();
    m_hasNext = m_compared && FindDifference(view, true) >= 0;
    m_hasPrevious = m_compared && FindDifference(view, false) >= 0;
}

void TCompareForm::StepDifference(bool forward)
{
    TTarnMemo& view = SteppingView();
    const int row = FindDifference(view, forward);
    if (row >= 0) {
        view.MemoSource().JumpTo(0, row);
        view.EnsureCaretVisible();
    }
}

void TCompareForm::CursorMoved(TTarnMemo& view)
{
    if (m_syncing) {
        return;
    }
    m_syncing = true;
    TTarnMemo& other = Other(view);
    const TTextPoint caret = view.MemoSource().GetCaretPoint();
    other.MemoSource().JumpTo(caret.col, std::min(caret.line, std::max(0, other.MemoSource().GetStrCount() - 1)));
    other.SetTopLine(view.TopLine());
    other.SetLeftColumn(view.LeftColumn());
    m_syncing = false;
    m_overview->SetMarker(m_views[0]->MemoSource().GetCurLine());
    UpdateNavigation();
    UpdateStatus();
    UpdateCommands();
}

void TCompareForm::ViewScrolled(TTarnMemo& view, int deltaRows, int deltaColumns)
{
    if (m_syncing || (deltaRows == 0 && deltaColumns == 0)) {
        return;
    }
    m_syncing = true;
    TTarnMemo& other = Other(view);
    other.SetTopLine(view.TopLine());
    other.SetLeftColumn(view.LeftColumn());
    m_syncing = false;
}

// ---- Merging ---------------------------------------------------------------------------

bool TCompareForm::CanCopyBlock(int targetSide) const
{
    if (!m_compared || m_comparing || m_differencesOnly) {
        return false;
    }
    const TTarnMemo* focused = nullptr;
    for (const TTarnMemo* view : m_views) {
        if (view->hasFocus()) {
            focused = view;
        }
    }
    if (focused == nullptr) {
        focused = m_lastFocused != nullptr ? m_lastFocused : m_views[1];
    }
    const TMemoSource& source = focused->MemoSource();
    return IsDifferenceStyle(source.GetLineTextStyle(source.GetCurLine()))
        && !m_views[static_cast<std::size_t>(targetSide)]->MemoSource().ReadOnly();
}

void TCompareForm::CopyBlock(int targetSide)
{
    if (!CanCopyBlock(targetSide)) {
        return;
    }
    TMemoSource& from = m_views[static_cast<std::size_t>(1 - targetSide)]->MemoSource();
    TMemoSource& to = m_views[static_cast<std::size_t>(targetSide)]->MemoSource();
    const int cursor = from.GetCurLine();
    const int style = from.GetLineTextStyle(cursor);
    if (!IsDifferenceStyle(style)) {
        return;
    }
    int first = cursor;
    while (first > 0 && from.GetLineTextStyle(first - 1) == style) {
        --first;
    }
    int last = cursor;
    while (last + 1 < from.GetStrCount() && from.GetLineTextStyle(last + 1) == style) {
        ++last;
    }
    to.BeginUpdate(0);
    for (int row = first; row <= last; ++row) {
        const std::string text(from.GetRawLine(row));
        if (row < to.GetStrCount()) {
            to.Lines().Put(row, text);
        } else {
            to.Lines().Add(text);
            to.SetLineTextStyle(row, style);
        }
        // The copied row stands for a line exactly when its source row does.
        to.SetImageBit(row, kFillerBit, from.GetImageBit(row, kFillerBit));
    }
    to.SetModified(true);
    to.EndUpdate();
    NumbersChanged(targetSide);
    m_views[static_cast<std::size_t>(targetSide)]->viewport()->update();
}

bool TCompareForm::CanUseMerged(int side) const
{
    // In differences-only mode the view holds the differing rows alone:
    // handing them back would replace the document with its differences.
    const QPointer<TChildForm>& document = side == 0 ? m_left.document : m_right.document;
    return m_compared && !m_comparing && !m_differencesOnly && document != nullptr
        && !document->MemoSource().ReadOnly();
}

void TCompareForm::UseMerged(int side)
{
    if (!CanUseMerged(side)) {
        return;
    }
    const TCompareSide& compared = Side(side);
    TChildForm& document = *compared.document;
    if (!DocumentUnchanged(document, compared.lines)) {
        const QString question = QString::fromStdString(LangFormat("CompareSourceChanged",
            "Document \"%s\" was changed after it was compared. Replace its text with the merged text anyway?",
            {compared.displayName.toStdString()}));
        if (QMessageBox::question(this, AppTitle(), question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes
            || compared.document == nullptr) {
            return;
        }
    }
    TMemoSource& target = document.MemoSource();
    target.LoadFromText(JoinLines(MergedLines(side)), false);
    target.SetModified(true);
    View(side).MemoSource().SetModified(false);
    close();
}

void TCompareForm::UseMergedAsNew(int side)
{
    if (!m_compared || m_comparing || !m_context.NewDocument) {
        return;
    }
    const TCompareSide& compared = Side(side);
    TChildForm* document = m_context.NewDocument(compared.codePageIndex);
    if (document == nullptr) {
        return;
    }
    document->MemoSource().LoadFromText(JoinLines(MergedLines(side)), false);
    document->MemoSource().SetModified(true);
    if (!compared.syntaxFile.empty()) {
        ZmenSyntaxParser(*document, compared.syntaxFile, m_context.syntax);
    }
    View(side).MemoSource().SetModified(false);
    close();
}

void TCompareForm::ToggleDifferencesOnly()
{
    if (!m_compared || !AskLoseChanges(0) || !AskLoseChanges(1)) {
        return;
    }
    m_differencesOnly = !m_differencesOnly;
    BuildRows();
}

void TCompareForm::RotateView()
{
    m_rotated = !m_rotated;
    m_splitter->setOrientation(m_rotated ? Qt::Vertical : Qt::Horizontal);
    const int room = m_rotated ? m_splitter->height() : m_splitter->width();
    m_splitter->setSizes({room / 2, room - room / 2});
}

} // namespace quillet

#include "tools/ui/ResultPage.h"

#include "text/ui/MemoStyles.h"

#include <QApplication>
#include <QPainter>

namespace quillet {

namespace {

constexpr int kLeftMargin = 2;

std::vector<TDisplayRow> Rows(const QModelIndex& index)
{
    const auto* model = qobject_cast<const TResultModel*>(index.model());
    if (model == nullptr || index.row() < 0 || static_cast<std::size_t>(index.row()) >= model->List().Count()) {
        return {};
    }
    return LayoutDisplayLine(model->List().Line(static_cast<std::size_t>(index.row())));
}

} // namespace

int TResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.Count());
}

QVariant TResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_list.Count()) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return FromSystemText(StripMarkers(m_list.Line(static_cast<std::size_t>(index.row()))));
    }
    return {};
}

void TResultModel::AppendBatch(TResultList& batch)
{
    if (batch.IsEmpty()) {
        return;
    }
    const int first = static_cast<int>(m_list.Count());
    beginInsertRows({}, first, first + static_cast<int>(batch.Count()) - 1);
    m_list.Append(batch);
    endInsertRows();
    batch.Clear();
}

void TResultModel::Append(std::string_view displayLine, const TNavigationRecord& record)
{
    const int row = static_cast<int>(m_list.Count());
    beginInsertRows({}, row, row);
    m_list.Append(displayLine, record);
    endInsertRows();
}

void TResultModel::Clear()
{
    beginResetModel();
    m_list.Clear();
    endResetModel();
}

void TResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->setPen(
        option.palette.color(option.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled,
            selected ? QPalette::HighlightedText : QPalette::Text));
    QFont plain = option.font;
    QFont bold = plain;
    bold.setBold(true);
    const int rowHeight = QFontMetrics(bold).height();
    int y = option.rect.top();
    for (const TDisplayRow& row : Rows(index)) {
        int x = option.rect.left() + kLeftMargin;
        for (const TDisplayRun& run : row) {
            const QFont& font = run.bold ? bold : plain;
            painter->setFont(font);
            const QString text = FromSystemText(run.text);
            painter->drawText(QRect(x, y, option.rect.right() - x + 1, rowHeight),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                text);
            x += QFontMetrics(font).horizontalAdvance(text);
            if (x > option.rect.right()) {
                break;
            }
        }
        y += rowHeight;
    }
    painter->restore();
}

QSize TResultDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QFont bold = option.font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int width = 0;
    const std::vector<TDisplayRow> rows = Rows(index);
    for (const TDisplayRow& row : rows) {
        int rowWidth = kLeftMargin;
        for (const TDisplayRun& run : row) {
            rowWidth += (run.bold ? metrics : QFontMetrics(option.font)).horizontalAdvance(FromSystemText(run.text));
        }
        width = std::max(width, rowWidth);
    }
    return {width + kLeftMargin, metrics.height() * std::max<int>(1, static_cast<int>(rows.size()))};
}

TResultPage::TResultPage(bool multiRow, QWidget* parent)
    : QListView(parent)
    , m_model(new TResultModel(this))
{
    setModel(m_model);
    setItemDelegate(new TResultDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every find result is one row high, so the view need not measure them
    // all; long lists are laid out in batches between events.
    setUniformItemSizes(!multiRow);
    setLayoutMode(QListView::Batched);
    setBatchSize(2000);
    connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
        emit RecordActivated(index.row());
    });
}

int TResultPage::SelectedLine() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.front().row();
}

} // namespace quillet

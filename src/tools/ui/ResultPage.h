#pragma once

#include "tools/ResultList.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>

#include <string>
#include <string_view>

namespace quillet {

// A result list as a Qt model: one row per display line, the text without
// markers as its display and tooltip data. Rows are added in batches.
class TResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const TResultList& List() const { return m_list; }
    // Appends the lines and records of `batch` and empties it.
    void AppendBatch(TResultList& batch);
    void Append(std::string_view displayLine, const TNavigationRecord& record = {});
    void Clear();

private:
    TResultList m_list;
};

// Draws a display line: from the item's left edge plus 2 pixels in the list's
// font, bold between the markers, a new visual row after each CR LF.
class TResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// One page of the result window: the list of display lines. A double-click
// on a line reports it.
class TResultPage : public QListView {
    Q_OBJECT
public:
    // `multiRow`: lines may hold CR LF rows (console output), so item heights vary.
    explicit TResultPage(bool multiRow, QWidget* parent = nullptr);

    TResultModel& Model() { return *m_model; }
    const TResultList& List() const { return m_model->List(); }
    // The selected line's index, or -1.
    int SelectedLine() const;

signals:
    void RecordActivated(int line);

private:
    TResultModel* m_model = nullptr;
};

} // namespace quillet

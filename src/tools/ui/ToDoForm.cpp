#include "tools/ui/ToDoForm.h"

#include "core/Translations.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/TarnMemo.h"
#include "tools/ToDoDocument.h"
#include "tools/ui/ToDoItemForm.h"
#include "tools/ui/ToDoProgress.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

QString T(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

// The list with its four columns, shared with the project's list.
QTreeWidget* CreateToDoList(QWidget* parent, int textWidth)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("ToDoList"));
    list->setRootIsDecorated(false);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setHeaderLabels(
        {T("ToDoText", "Text"), QStringLiteral("!"), T("ToDoOwner", "Owner"), T("ToDoCategory", "Category")});
    list->headerItem()->setTextAlignment(1, Qt::AlignCenter);
    list->header()->setSectionsClickable(false);
    list->header()->setStretchLastSection(true);
    list->setColumnWidth(0, textWidth);
    list->setColumnWidth(1, 20);
    list->setColumnWidth(2, 100);
    list->setColumnWidth(3, 100);
    list->setMinimumWidth(textWidth + 240);
    return list;
}

QString ToDoToolTip(const QTreeWidget& list, const QString& caption, const std::string& fullText)
{
    const QString full = FromSystemText(fullText);
    if (full.contains(QLatin1Char('\n')) || full.contains(QLatin1Char('\r'))) {
        return full;
    }
    // Room for the check box beside the text.
    return list.columnWidth(0) < QFontMetrics(list.font()).horizontalAdvance(caption) + 22 ? full : QString();
}

TToDoForm::TToDoForm(QWidget* parent, TChildForm& document)
    : QDialog(parent)
    , m_document(document)
{
    setObjectName(QStringLiteral("ToDoForm"));
    setWindowTitle(T("ToDoForm", "To-Do List"));
    auto* layout = new QHBoxLayout(this);
    m_list = CreateToDoList(this, 185);
    m_list->installEventFilter(this);
    layout->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_edit = new QPushButton(T("ToDoEdit", "&Edit"), this);
    m_delete = new QPushButton(T("ToDoDelete", "&Delete"), this);
    m_go = new QPushButton(T("ToDoGo", "&Go"), this);
    auto* close = new QPushButton(T("ToDoClose", "Close"), this);
    close->setDefault(true);
    for (QPushButton* button : {m_edit, m_delete, m_go, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    close->setDefault(true);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_edit, &QPushButton::clicked, this, [this] {
        EditRow(CurrentRow());
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        DeleteRow(CurrentRow());
    });
    connect(m_go, &QPushButton::clicked, this, [this] {
        Go(CurrentRow());
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        Go(m_list->indexOfTopLevelItem(item));
    });
    connect(m_list, &QTreeWidget::itemChanged, this, &TToDoForm::ItemChanged);
    resize(560, 300);
    Build();
}

void TToDoForm::Build()
{
    TWaitCursor wait;
    TMemoSource& source = m_document.MemoSource();
    {
        TToDoProgress progress(
            this, T("BuildingToDoList", "Building To-Do list. Please wait..."), source.GetStrCount() - 1);
        m_rows = ScanToDoItems(ToDoLinesOf(source), [&progress](int line) {
            progress.SetPosition(line);
        });
        m_progressRepaints = progress.Repaints();
    }
    m_filling = true;
    m_list->setUpdatesEnabled(false);
    m_recorded.clear();
    for (const TToDoItem& row : m_rows) {
        auto* item = new QTreeWidgetItem(m_list);
        FillItem(item, row);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.done ? Qt::Checked : Qt::Unchecked);
        m_recorded.push_back(row.done);
        AddDistinct(m_owners, row.owner);
        AddDistinct(m_categories, row.category);
    }
    m_list->setUpdatesEnabled(true);
    m_filling = false;
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_list->setFocus();
    UpdateButtons();
}

void TToDoForm::FillItem(QTreeWidgetItem* item, const TToDoItem& row)
{
    const bool filling = m_filling;
    m_filling = true;
    const QString caption = FromSystemText(ToDoCaption(row.text));
    item->setText(0, caption);
    item->setText(1, QString::fromStdString(row.priority));
    item->setTextAlignment(1, Qt::AlignCenter);
    item->setText(2, FromSystemText(row.owner));
    item->setText(3, FromSystemText(row.category));
    item->setToolTip(0, ToDoToolTip(*m_list, caption, row.text));
    m_filling = filling;
}

QString TToDoForm::ToolTipOf(int row) const
{
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    return item != nullptr ? item->toolTip(0) : QString();
}

int TToDoForm::CurrentRow() const
{
    return m_list->currentItem() != nullptr ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
}

void TToDoForm::UpdateButtons()
{
    const bool rows = m_list->topLevelItemCount() > 0;
    const bool writable = !m_document.MemoSource().ReadOnly();
    m_edit->setEnabled(rows && writable);
    m_delete->setEnabled(rows && writable);
    m_go->setEnabled(rows);
}

bool TToDoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        if (QTreeWidgetItem* item = m_list->currentItem()) {
            item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TToDoForm::SetDone(int row, bool done)
{
    if (QTreeWidgetItem* item = m_list->topLevelItem(row)) {
        item->setCheckState(0, done ? Qt::Checked : Qt::Unchecked);
    }
}

void TToDoForm::ItemChanged(QTreeWidgetItem* item, int column)
{
    const int row = m_list->indexOfTopLevelItem(item);
    if (m_filling || column != 0 || row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        return;
    }
    const bool done = item->checkState(0) == Qt::Checked;
    if (m_recorded[static_cast<std::size_t>(row)] == done) {
        return;
    }
    m_recorded[static_cast<std::size_t>(row)] = done;
    TToDoItem& item0 = m_rows[static_cast<std::size_t>(row)];
    // A read-only document keeps its text; the list shows the new mark all the same.
    if (ApplyToDoSplice(m_document.MemoSource(), MarkSplice(item0, done))) {
        item0.done = done;
    }
}

void TToDoForm::EditRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size() || m_document.MemoSource().ReadOnly()) {
        return;
    }
    const TToDoItem& current = m_rows[static_cast<std::size_t>(row)];
    TToDoItemForm dialog(this);
    dialog.SetLists(m_owners, m_categories);
    dialog.SetFields({current.text, current.priority, current.owner, current.category});
    const bool ok = OnItemDialog ? OnItemDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!ok) {
        return;
    }
    const TToDoFields fields = dialog.Fields();
    if (fields.text.empty()) {
        return;
    }
    AddDistinct(m_owners, fields.owner);
    AddDistinct(m_categories, fields.category);
    TMemoSource& source = m_document.MemoSource();
    if (!ApplyToDoSplice(source, EditSplice(current, ToDoKeywordAsWritten(source, current), fields))) {
        return;
    }
    row = DropListRows(ApplyEditToRows(m_rows, static_cast<std::size_t>(row), fields), row);
    FillItem(m_list->topLevelItem(row), m_rows[static_cast<std::size_t>(row)]);
    m_list->setFocus();
}

void TToDoForm::DeleteRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size() || m_document.MemoSource().ReadOnly()) {
        return;
    }
    if (!ApplyToDoSplice(m_document.MemoSource(), DeleteSplice(m_rows[static_cast<std::size_t>(row)]))) {
        return;
    }
    row = DropListRows(ApplyDeleteToRows(m_rows, static_cast<std::size_t>(row)), row);
    m_recorded.erase(m_recorded.begin() + row);
    delete m_list->takeTopLevelItem(row);
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(std::max(row - 1, 0)));
    }
    m_list->setFocus();
    UpdateButtons();
}

int TToDoForm::DropListRows(const std::vector<std::size_t>& removed, int row)
{
    int at = row;
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        const int index = static_cast<int>(*it);
        m_recorded.erase(m_recorded.begin() + index);
        delete m_list->takeTopLevelItem(index);
        if (index < row) {
            --at;
        }
    }
    return at;
}

void TToDoForm::Go(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) {
        return;
    }
    const TToDoItem& item = m_rows[static_cast<std::size_t>(row)];
    // The caret goes onto the comment's "{": its display column counts tabs.
    const int column = m_document.MemoSource().RawToCol(item.startLine, item.startColumn - 1);
    m_document.ActiveMemo().CenteredJumpTo(column, item.startLine);
    accept();
}

} // namespace quillet

#include "tools/ui/ProjectToDoForm.h"

#include "core/Translations.h"
#include "text/ui/MemoStyles.h"
#include "tools/ToDo.h"
#include "tools/ui/ToDoForm.h"
#include "tools/ui/ToDoItemForm.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

QString T(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

} // namespace

TProjectToDoForm::TProjectToDoForm(QWidget* parent, std::vector<TProjectToDoItem> items)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ProjectToDoForm"));
    setWindowTitle(T("ProjectToDoForm", "Project To-Do List"));
    auto* layout = new QHBoxLayout(this);
    m_list = CreateToDoList(this, 189);
    layout->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_add = new QPushButton(T("ToDoAdd", "&Add"), this);
    m_edit = new QPushButton(T("ToDoEdit", "&Edit"), this);
    m_delete = new QPushButton(T("ToDoDelete", "&Delete"), this);
    auto* ok = new QPushButton(T("bOK", "OK"), this);
    auto* cancel = new QPushButton(T("bCancel", "Cancel"), this);
    for (QPushButton* button : {m_add, m_edit, m_delete, ok, cancel}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    ok->setDefault(true);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_add, &QPushButton::clicked, this, &TProjectToDoForm::AddRow);
    connect(m_edit, &QPushButton::clicked, this, [this] {
        EditRow(CurrentRow());
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        DeleteRow(CurrentRow());
    });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        EditRow(m_list->indexOfTopLevelItem(item));
    });
    resize(580, 300);

    m_list->setUpdatesEnabled(false);
    for (const TProjectToDoItem& item : items) {
        AppendItem(item);
    }
    m_list->setUpdatesEnabled(true);
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
    }
    m_list->setFocus();
    UpdateButtons();
}

void TProjectToDoForm::AppendItem(const TProjectToDoItem& item)
{
    m_items.push_back(item);
    AddDistinct(m_owners, item.owner);
    AddDistinct(m_categories, item.category);
    auto* row = new QTreeWidgetItem(m_list);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(0, item.done ? Qt::Checked : Qt::Unchecked);
    FillItem(m_list->topLevelItemCount() - 1);
}

void TProjectToDoForm::FillItem(int row)
{
    const TProjectToDoItem& item = m_items[static_cast<std::size_t>(row)];
    QTreeWidgetItem* node = m_list->topLevelItem(row);
    const QString caption = FromSystemText(ToDoCaption(item.text));
    node->setText(0, caption);
    node->setText(1, QString::fromStdString(item.priority));
    node->setTextAlignment(1, Qt::AlignCenter);
    node->setText(2, FromSystemText(item.owner));
    node->setText(3, FromSystemText(item.category));
    node->setToolTip(0, ToDoToolTip(*m_list, caption, item.text));
}

std::vector<TProjectToDoItem> TProjectToDoForm::Items() const
{
    std::vector<TProjectToDoItem> items = m_items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].done = m_list->topLevelItem(static_cast<int>(i))->checkState(0) == Qt::Checked;
    }
    return items;
}

int TProjectToDoForm::CurrentRow() const
{
    return m_list->currentItem() != nullptr ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
}

void TProjectToDoForm::UpdateButtons()
{
    const bool rows = m_list->topLevelItemCount() > 0;
    m_edit->setEnabled(rows);
    m_delete->setEnabled(rows);
}

bool TProjectToDoForm::RunItemDialog(TProjectToDoItem& item)
{
    TToDoItemForm dialog(this);
    dialog.SetTextLimit(static_cast<int>(kProjectToDoTextLimit));
    dialog.SetLists(m_owners, m_categories);
    dialog.SetFields({item.text, item.priority, item.owner, item.category});
    const bool ok = OnItemDialog ? OnItemDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!ok) {
        return false;
    }
    const TToDoFields fields = dialog.Fields();
    item.text = fields.text;
    item.priority = fields.priority;
    item.owner = fields.owner;
    item.category = fields.category;
    AddDistinct(m_owners, item.owner);
    AddDistinct(m_categories, item.category);
    return !item.text.empty();
}

void TProjectToDoForm::AddRow()
{
    TProjectToDoItem item;
    if (RunItemDialog(item)) {
        AppendItem(item);
    }
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(m_list->topLevelItemCount() - 1));
    }
    m_list->setFocus();
    UpdateButtons();
}

void TProjectToDoForm::EditRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_items.size()) {
        return;
    }
    TProjectToDoItem item = m_items[static_cast<std::size_t>(row)];
    if (RunItemDialog(item)) {
        m_items[static_cast<std::size_t>(row)] = item;
        FillItem(row);
    }
    m_list->setFocus();
    UpdateButtons();
}

void TProjectToDoForm::DeleteRow(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_items.size()) {
        return;
    }
    m_items.erase(m_items.begin() + row);
    delete m_list->takeTopLevelItem(row);
    if (m_list->topLevelItemCount() > 0) {
        m_list->setCurrentItem(m_list->topLevelItem(std::max(row - 1, 0)));
    }
    UpdateButtons();
}

} // namespace quillet

#include "app/ui/CustomizeToolbarsForm.h"

#include "app/ui/CommandActions.h"
#include "app/ui/MainToolbars.h"
#include "app/ui/ShellUi.h"
#include "app/ui/WidgetTranslation.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace quillet {

namespace {

constexpr int kCommandRole = Qt::UserRole;
constexpr int kDesignRole = Qt::UserRole + 1;
constexpr int kSeparatorRole = Qt::UserRole + 2;

QPushButton* NamedButton(const char* name, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QString SeparatorText()
{
    return Tr("CustSeparator", "---- Separator ----");
}

QString Format(std::string_view key, std::string_view text, const QString& name)
{
    return FromUtf8(LangFormat(key, text, {ToUtf8(name)}));
}

} // namespace

TCustomizeToolbarsForm::TCustomizeToolbarsForm(TMainToolbars& toolbars, TSettingsStore& store, QWidget* parent)
    : QDialog(parent)
    , m_toolbars(toolbars)
    , m_store(store)
{
    setObjectName(QStringLiteral("CustomizeForm"));
    setWindowTitle(QStringLiteral("Customize Toolbars"));
    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("CustHeading"));
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    m_pages = new QTabWidget(this);

    auto* toolbarsPage = new QWidget(m_pages);
    toolbarsPage->setObjectName(QStringLiteral("CustToolbarsPage"));
    auto* toolbarsLayout = new QHBoxLayout(toolbarsPage);
    m_toolbarList = new QListWidget(toolbarsPage);
    m_toolbarList->setObjectName(QStringLiteral("CustToolbarList"));
    toolbarsLayout->addWidget(m_toolbarList, 1);
    auto* side = new QVBoxLayout;
    m_new = NamedButton("CustNew", QStringLiteral("New..."), toolbarsPage);
    m_rename = NamedButton("CustRename", QStringLiteral("Rename..."), toolbarsPage);
    m_delete = NamedButton("CustDelete", QStringLiteral("Delete"), toolbarsPage);
    m_reset = NamedButton("CustReset", QStringLiteral("Reset"), toolbarsPage);
    for (QPushButton* button : {m_new, m_rename, m_delete, m_reset}) {
        side->addWidget(button);
    }
    side->addStretch(1);
    toolbarsLayout->addLayout(side);
    m_pages->addTab(toolbarsPage, QStringLiteral("Toolbars"));

    auto* commandsPage = new QWidget(m_pages);
    commandsPage->setObjectName(QStringLiteral("CustCommandsPage"));
    auto* grid = new QGridLayout(commandsPage);
    auto* availableLabel = new QLabel(QStringLiteral("Available toolbar buttons:"), commandsPage);
    availableLabel->setObjectName(QStringLiteral("CustAvailableLabel"));
    auto* currentLabel = new QLabel(QStringLiteral("Current toolbar buttons:"), commandsPage);
    currentLabel->setObjectName(QStringLiteral("CustCurrentLabel"));
    m_available = new QListWidget(commandsPage);
    m_available->setObjectName(QStringLiteral("CustAvailable"));
    m_current = new QListWidget(commandsPage);
    m_current->setObjectName(QStringLiteral("CustCurrent"));
    m_current->setDragDropMode(QAbstractItemView::InternalMove);
    m_current->setDefaultDropAction(Qt::MoveAction);
    auto* arrows = new QVBoxLayout;
    m_add = NamedButton("CustAdd", QStringLiteral(">"), commandsPage);
    m_remove = NamedButton("CustRemove", QStringLiteral("<"), commandsPage);
    arrows->addStretch(1);
    arrows->addWidget(m_add);
    arrows->addWidget(m_remove);
    arrows->addStretch(1);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(currentLabel, 0, 2);
    grid->addWidget(m_available, 1, 0);
    grid->addLayout(arrows, 1, 1);
    grid->addWidget(m_current, 1, 2);
    m_pages->addTab(commandsPage, QStringLiteral("Commands"));

    auto* buttons = new QDialogButtonBox(this);
    m_apply = NamedButton("CustApply", QStringLiteral("Apply"), this);
    m_close = NamedButton("CustClose", QStringLiteral("Close"), this);
    buttons->addButton(m_apply, QDialogButtonBox::ApplyRole);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);

    connect(m_new, &QPushButton::clicked, this, &TCustomizeToolbarsForm::NewToolbar);
    connect(m_rename, &QPushButton::clicked, this, &TCustomizeToolbarsForm::RenameToolbar);
    connect(m_delete, &QPushButton::clicked, this, &TCustomizeToolbarsForm::DeleteToolbar);
    connect(m_reset, &QPushButton::clicked, this, &TCustomizeToolbarsForm::ResetToolbar);
    connect(m_add, &QPushButton::clicked, this, &TCustomizeToolbarsForm::AddChosenCommand);
    connect(m_remove, &QPushButton::clicked, this, &TCustomizeToolbarsForm::RemoveChosenItem);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &TCustomizeToolbarsForm::AddChosenCommand);
    connect(m_current, &QListWidget::itemDoubleClicked, this, &TCustomizeToolbarsForm::RemoveChosenItem);
    connect(m_apply, &QPushButton::clicked, this, &TCustomizeToolbarsForm::Apply);
    connect(m_close, &QPushButton::clicked, this, &TCustomizeToolbarsForm::reject);
    connect(m_current->model(), &QAbstractItemModel::rowsMoved, this, &TCustomizeToolbarsForm::ListChanged);
    // Choosing another toolbar may be refused (Cancel to the pending
    // question): ChooseRow then puts the selection back.
    connect(m_toolbarList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling) {
            ChooseRow(row);
        }
    });
    connect(m_toolbarList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_filling) {
            return;
        }
        if (QToolBar* bar = m_toolbars.Find(item->data(kCommandRole).toString())) {
            bar->setVisible(item->checkState() == Qt::Checked);
        }
    });

    nactiResource(this);
    FillAvailable();
    FillToolbarList();
    ChooseRow(0);
    resize(sizeHint().expandedTo(QSize(620, 460)));
}

void TCustomizeToolbarsForm::FillToolbarList()
{
    m_filling = true;
    m_toolbarList->clear();
    for (QToolBar* bar : m_toolbars.CustomizableToolbars()) {
        auto* item = new QListWidgetItem(bar->windowTitle(), m_toolbarList);
        item->setData(kCommandRole, bar->objectName());
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(bar->isHidden() ? Qt::Unchecked : Qt::Checked);
    }
    m_filling = false;
}

void TCustomizeToolbarsForm::FillAvailable()
{
    m_available->clear();
    auto* separator = new QListWidgetItem(SeparatorText(), m_available);
    separator->setData(kCommandRole, QString());
    for (QAction* action : m_toolbars.CommandActions().Actions()) {
        if (action->text().isEmpty() || action->objectName().isEmpty()) {
            continue;
        }
        auto* item = new QListWidgetItem(action->icon(), action->text().remove(QLatin1Char('&')), m_available);
        item->setData(kCommandRole, action->objectName());
        item->setToolTip(action->objectName());
    }
}

QListWidgetItem* TCustomizeToolbarsForm::ItemFor(const TToolbarItem& entry) const
{
    auto* item = new QListWidgetItem;
    if (entry.IsSeparator()) {
        item->setText(SeparatorText());
    } else if (QAction* action = m_toolbars.CommandActions().Action(entry.command)) {
        item->setText(action->text().remove(QLatin1Char('&')));
        item->setIcon(action->icon());
    }
    item->setData(kCommandRole, FromUtf8(entry.command));
    item->setData(kDesignRole, entry.design);
    item->setData(kSeparatorRole, entry.designSeparator);
    return item;
}

void TCustomizeToolbarsForm::ShowItems(const std::vector<TToolbarItem>& items)
{
    m_current->clear();
    for (const TToolbarItem& entry : items) {
        m_current->addItem(ItemFor(entry));
    }
    ListChanged();
}

std::vector<TToolbarItem> TCustomizeToolbarsForm::CurrentItems() const
{
    std::vector<TToolbarItem> items;
    for (int i = 0; i < m_current->count(); ++i) {
        const QListWidgetItem* item = m_current->item(i);
        items.push_back(TToolbarItem{ToUtf8(item->data(kCommandRole).toString()),
            item->data(kDesignRole).toBool(),
            item->data(kSeparatorRole).toInt()});
    }
    return items;
}

void TCustomizeToolbarsForm::ListChanged()
{
    const bool changed =
        m_chosen != nullptr && (CurrentItems() != m_applied || m_chosen->windowTitle() != m_appliedCaption);
    m_apply->setEnabled(changed);
    m_reset->setEnabled(m_chosen != nullptr);
}

bool TCustomizeToolbarsForm::ChooseRow(int row)
{
    const QString name =
        row >= 0 && row < m_toolbarList->count() ? m_toolbarList->item(row)->data(kCommandRole).toString() : QString();
    QToolBar* bar = m_toolbars.Find(name);
    if (bar == m_chosen) {
        return true;
    }
    if (!AskPending()) {
        // Back to the toolbar whose changes are still open.
        m_filling = true;
        for (int i = 0; i < m_toolbarList->count(); ++i) {
            if (m_chosen != nullptr
                && m_toolbarList->item(i)->data(kCommandRole).toString() == m_chosen->objectName()) {
                m_toolbarList->setCurrentRow(i);
            }
        }
        m_filling = false;
        return false;
    }
    m_chosen = bar;
    m_filling = true;
    m_toolbarList->setCurrentRow(row);
    m_filling = false;
    const bool user = bar != nullptr && m_toolbars.IsUserToolbar(bar);
    m_delete->setEnabled(user);
    m_rename->setEnabled(user);
    if (bar == nullptr) {
        m_heading->clear();
        m_current->clear();
        ListChanged();
        return true;
    }
    m_heading->setText(Tr("CustomizeForm", "Customize Toolbars:") + QStringLiteral(" ") + bar->windowTitle());
    m_applied = m_toolbars.Items(bar);
    m_appliedCaption = bar->windowTitle();
    ShowItems(m_applied);
    return true;
}

bool TCustomizeToolbarsForm::AskPending()
{
    if (m_chosen == nullptr || !m_apply->isEnabled() || m_current->count() == 0) {
        return true;
    }
    const QMessageBox::StandardButton answer = ShowMessage(this,
        QMessageBox::Question,
        Format("CustChanged", "Toolbar \"%s\" was changed. Do you want to save it now?", m_chosen->windowTitle()),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    if (answer == QMessageBox::Yes) {
        Apply();
    } else {
        m_toolbars.SetCaption(m_chosen, m_appliedCaption);
        m_apply->setEnabled(false);
    }
    return true;
}

bool TCustomizeToolbarsForm::Apply()
{
    if (m_chosen == nullptr) {
        return false;
    }
    m_toolbars.SetItems(m_chosen, CurrentItems());
    const bool ok = m_toolbars.SaveToolbar(m_store, m_chosen) && m_store.Flush();
    m_applied = m_toolbars.Items(m_chosen);
    m_appliedCaption = m_chosen->windowTitle();
    ShowItems(m_applied);
    if (!ok) {
        ShowMessage(this, QMessageBox::Critical, FromUtf8(m_store.LastError()));
    }
    return ok;
}

std::optional<QString> TCustomizeToolbarsForm::AskName(const QString& text)
{
    const QString prompt = Tr("CustTBName", "Toolbar Name");
    std::optional<QString> answer;
    if (OnAskName) {
        answer = OnAskName(prompt, text);
    } else {
        bool ok = false;
        const QString typed = QInputDialog::getText(this, windowTitle(), prompt, QLineEdit::Normal, text, &ok);
        if (ok) {
            answer = typed;
        }
    }
    if (!answer || answer->trimmed().isEmpty()) {
        return std::nullopt;
    }
    return answer->trimmed();
}

bool TCustomizeToolbarsForm::NameListed(const QString& name, const QToolBar* except) const
{
    for (QToolBar* bar : m_toolbars.CustomizableToolbars()) {
        if (bar != except
            && (bar->windowTitle().toUpper() == name.toUpper() || bar->objectName().toUpper() == name.toUpper())) {
            return true;
        }
    }
    return false;
}

void TCustomizeToolbarsForm::NewToolbar()
{
    if (!AskPending()) {
        return;
    }
    const std::optional<QString> name = AskName(Tr("CustTBName", "Toolbar Name"));
    if (!name) {
        return;
    }
    if (NameListed(*name, nullptr)) {
        ShowMessage(this,
            QMessageBox::Critical,
            Format("CustTBNewExists", "Cannot create toolbar. Toolbar \"%s\" already exists.", *name));
        return;
    }
    std::vector<std::string> names;
    for (QToolBar* bar : m_toolbars.CustomizableToolbars()) {
        names.push_back(ToUtf8(bar->objectName()));
    }
    for (const std::string& stored : StoredToolbarNames(m_store)) {
        names.push_back(stored);
    }
    m_toolbars.AddUserToolbar(FromUtf8(NewUserToolbarName(names)), *name);
    m_apply->setEnabled(false);
    FillToolbarList();
    ChooseRow(m_toolbarList->count() - 1);
    Apply();
}

void TCustomizeToolbarsForm::RenameToolbar()
{
    if (m_chosen == nullptr || !m_toolbars.IsUserToolbar(m_chosen)) {
        return;
    }
    const std::optional<QString> name = AskName(m_chosen->windowTitle());
    if (!name) {
        return;
    }
    if (NameListed(*name, m_chosen)) {
        ShowMessage(this,
            QMessageBox::Critical,
            Format("CustTBRenameExists", "Cannot rename toolbar. Toolbar \"%s\" already exists.", *name));
        return;
    }
    m_toolbars.SetCaption(m_chosen, *name);
    m_toolbarList->currentItem()->setText(*name);
    m_heading->setText(Tr("CustomizeForm", "Customize Toolbars:") + QStringLiteral(" ") + *name);
    ListChanged();
}

void TCustomizeToolbarsForm::DeleteToolbar()
{
    if (m_chosen == nullptr || !m_toolbars.IsUserToolbar(m_chosen)) {
        return;
    }
    if (ShowMessage(this,
            QMessageBox::Question,
            Format("CustTBDelete", "Do you really want to delete toolbar \"%s\"?", m_chosen->windowTitle()),
            QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes) {
        return;
    }
    DeleteTBRegEntries(m_store, ToUtf8(m_chosen->objectName()));
    m_store.Flush();
    QToolBar* doomed = m_chosen;
    m_chosen = nullptr;
    m_toolbars.RemoveUserToolbar(doomed);
    FillToolbarList();
    ChooseRow(0);
}

void TCustomizeToolbarsForm::ResetToolbar()
{
    if (m_chosen == nullptr) {
        return;
    }
    FillAvailable();
    ShowItems(m_toolbars.DesignItems(m_chosen));
    m_apply->setEnabled(true);
    m_reset->setEnabled(false);
}

void TCustomizeToolbarsForm::AddChosenCommand()
{
    const QListWidgetItem* chosen = m_available->currentItem();
    if (chosen == nullptr || m_chosen == nullptr) {
        return;
    }
    TToolbarItem entry;
    entry.command = ToUtf8(chosen->data(kCommandRole).toString());
    // A command of the toolbar's own layout that is not on it yet goes back
    // as its design button; anything else is a copy from the pool.
    if (!entry.IsSeparator()) {
        const std::vector<TToolbarItem> current = CurrentItems();
        for (const TToolbarItem& design : m_toolbars.DesignItems(m_chosen)) {
            if (design.command == entry.command && std::find(current.begin(), current.end(), design) == current.end()) {
                entry = design;
            }
        }
    }
    const int row = m_current->currentRow() < 0 ? m_current->count() : m_current->currentRow() + 1;
    m_current->insertItem(row, ItemFor(entry));
    m_current->setCurrentRow(row);
    ListChanged();
}

void TCustomizeToolbarsForm::RemoveChosenItem()
{
    if (QListWidgetItem* item = m_current->currentItem()) {
        delete item;
        ListChanged();
    }
}

void TCustomizeToolbarsForm::reject()
{
    if (AskPending()) {
        QDialog::reject();
    }
}

void ShowCustomizeToolbars(TMainToolbars& toolbars, TSettingsStore& store, QWidget* parent)
{
    TCustomizeToolbarsForm form(toolbars, store, parent);
    form.exec();
}

} // namespace quillet

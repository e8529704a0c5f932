#include "app/ui/OptionsSyntaxPage.h"

#include "app/ui/ShellUi.h"
#include "core/SettingsStore.h"
#include "syntax/SchemeCatalog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

constexpr const char* kSection = "Syntax Definition";
constexpr const char* kDefaultKey = "<default>";

} // namespace

TOptionsSyntaxPage::TOptionsSyntaxPage(const TOptionsContext& context, QWidget* parent)
    : TOptionsPageWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("SyntaxDefinitions"));
    m_tree->setRootIsDecorated(false);
    m_tree->setHeaderLabels({Tr("SyntaxFileColumn", "Definition file"), Tr("SyntaxTypesColumn", "File types")});
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(true);
    layout->addWidget(m_tree, 1);

    auto* form = new QFormLayout;
    m_default = new QComboBox(this);
    m_default->setObjectName(QStringLiteral("SyntaxDefault"));
    m_default->addItem(Tr("SyntaxNoDefault", "(Plain Text)"), QString());
    auto* label = new QLabel(QStringLiteral("Definition for new documents"), this);
    label->setObjectName(QStringLiteral("SyntaxDefaultLabel"));
    label->setBuddy(m_default);
    form->addRow(label, m_default);
    layout->addLayout(form);

    // Every definition found, offered or not; the offered ones keep the masks
    // the program uses, the others show their own file types.
    TSchemeCatalog all(context.dataFolders);
    all.LoadAll();
    const TSchemeCatalog* running = context.catalog;
    for (const TSchemeEntry& entry : all.Entries()) {
        const TSchemeEntry* used = running != nullptr ? running->FindByFileName(entry.FileName) : nullptr;
        auto* item = new QTreeWidgetItem(m_tree);
        item->setText(0, FromFileName(entry.FileName));
        item->setText(1, FromUtf8(used != nullptr ? used->Masks : entry.Masks));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
        item->setCheckState(0, used != nullptr || running == nullptr ? Qt::Checked : Qt::Unchecked);
        m_default->addItem(FromFileName(entry.FileName), FromFileName(entry.FileName));
    }
    if (running != nullptr && running->Default() != nullptr) {
        m_default->setCurrentIndex(std::max(0, m_default->findData(FromFileName(running->Default()->FileName))));
    }
    // Only the file types are typed; the file name column stays as found.
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 1) {
            m_tree->editItem(item, 1);
        }
    });
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool TOptionsSyntaxPage::Store(TSettingsStore& store, QString& error)
{
    TSettingsBatch batch(store);
    store.EraseSection(kSection);
    bool ok = true;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_tree->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked) {
            ok = store.WriteString(kSection, ToFileName(item->text(0)), ToUtf8(item->text(1).trimmed())) && ok;
        }
    }
    // Written even when empty, so the section exists and an all-cleared list
    // stays cleared instead of falling back to every definition.
    ok = store.WriteString(kSection, kDefaultKey, ToFileName(m_default->currentData().toString())) && ok;
    if (!ok) {
        error = FromUtf8(store.LastError());
    }
    return ok;
}

} // namespace quillet

#include "app/ui/OptionsForm.h"

#include "app/GlobalOptions.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/HexSettingsTarget.h"
#include "app/ui/OptionsAssociationsPage.h"
#include "app/ui/OptionsCatalogPage.h"
#include "app/ui/OptionsColorsPage.h"
#include "app/ui/OptionsSyntaxPage.h"
#include "app/ui/OptionsUserActionsPage.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/ShellUi.h"
#include "app/ui/WidgetTranslation.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillet {

namespace {

constexpr std::array<const char*, kOptionsPageCount> kPageNames{"Environment",
    "CodeEditor",
    "Display",
    "ColorsAndFont",
    "HexEditor",
    "SyntaxDefinition",
    "FileAssociations",
    "UserActions"};
constexpr std::array<const char*, kOptionsPageCount> kPageCaptions{"Environment",
    "Code Editor",
    "Display",
    "Colors and Font",
    "Hex Editor",
    "Syntax Definition",
    "File Associations",
    "User Actions"};

// The order in which pages store their settings.
constexpr std::array<TOptionsPage, kOptionsPageCount> kStoreOrder{TOptionsPage::CodeEditor,
    TOptionsPage::HexEditor,
    TOptionsPage::Display,
    TOptionsPage::ColorsAndFont,
    TOptionsPage::SyntaxDefinition,
    TOptionsPage::FileAssociations,
    TOptionsPage::UserActions,
    TOptionsPage::Environment};

std::size_t At(TOptionsPage page)
{
    return static_cast<std::size_t>(page);
}

TSettingsStore& StoreOf(const TOptionsContext& context)
{
    return context.store != nullptr ? *context.store : Settings();
}

} // namespace

QString TOptionsForm::PageCaption(TOptionsPage page)
{
    return QString::fromLatin1(kPageCaptions[At(page)]);
}

TOptionsForm::TOptionsForm(TOptionsContext context, TOptionsPage first, QWidget* parent)
    : QDialog(parent)
    , m_context(std::move(context))
    , m_store(StoreOf(m_context))
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("OptionsTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Syntax Definition")) + 60);
    m_tree->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("Syntax Definition")) * 2);
    QTreeWidgetItem* codeEditor = nullptr;
    for (int i = 0; i < kOptionsPageCount; ++i) {
        const auto page = static_cast<TOptionsPage>(i);
        const bool below = page == TOptionsPage::Display || page == TOptionsPage::ColorsAndFont;
        auto* item = below ? new QTreeWidgetItem(codeEditor) : new QTreeWidgetItem(m_tree);
        item->setText(0, Tr(std::string("Page") + kPageNames[At(page)], kPageCaptions[At(page)]));
        item->setData(0, Qt::UserRole, i);
        m_items[At(page)] = item;
        if (page == TOptionsPage::CodeEditor) {
            codeEditor = item;
        }
    }
    m_tree->expandAll();

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("OptionsTitle"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_title->setFont(titleFont);
    m_title->setFrameShape(QFrame::StyledPanel);
    m_title->setMargin(4);
    m_stack = new QStackedWidget(this);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("OptionsOK"));
    m_ok->setText(QStringLiteral("OK"));
    m_apply = buttons->addButton(QDialogButtonBox::Apply);
    m_apply->setObjectName(QStringLiteral("OptionsApply"));
    m_apply->setText(QStringLiteral("Apply"));
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("OptionsCancel"));
    m_cancel->setText(QStringLiteral("Cancel"));

    auto* right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_stack, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            ShowPage(static_cast<TOptionsPage>(item->data(0, Qt::UserRole).toInt()));
        }
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (ApplyChanges()) {
            accept();
        }
    });
    connect(m_apply, &QPushButton::clicked, this, &TOptionsForm::ApplyChanges);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    nactiResource(this);
    ShowPage(first);
    resize(sizeHint().expandedTo(QSize(760, 560)));
}

TOptionsPageWidget* TOptionsForm::BuildPage(TOptionsPage page)
{
    switch (page) {
    case TOptionsPage::Environment:
    case TOptionsPage::CodeEditor:
    case TOptionsPage::Display:
    case TOptionsPage::HexEditor:
        return new TOptionsCatalogPage(page, m_store, m_stack);
    case TOptionsPage::ColorsAndFont:
        return new TOptionsColorsPage(m_context.textStyles, m_store, m_stack);
    case TOptionsPage::SyntaxDefinition:
        return new TOptionsSyntaxPage(m_context, m_stack);
    case TOptionsPage::FileAssociations:
        return new TOptionsAssociationsPage(m_context, m_stack);
    case TOptionsPage::UserActions:
        return new TOptionsUserActionsPage(m_store, m_stack);
    }
    return nullptr;
}

void TOptionsForm::ShowPage(TOptionsPage page)
{
    TOptionsPageWidget*& built = m_pages[At(page)];
    if (built == nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        built = BuildPage(page);
        built->setObjectName(QStringLiteral("Page") + QString::fromLatin1(kPageNames[At(page)]));
        nactiResource(built);
        m_stack->addWidget(built);
        QApplication::restoreOverrideCursor();
    }
    m_current = page;
    m_stack->setCurrentWidget(built);
    m_title->setText(m_items[At(page)]->text(0));
    if (m_tree->currentItem() != m_items[At(page)]) {
        m_tree->setCurrentItem(m_items[At(page)]);
    }
}

bool TOptionsForm::Validate()
{
    // Pages not built keep their valid stored values.
    TOptionsInput input;
    input.blockIndent = "1";
    input.tabStops = "9,17";
    input.tabSize = "8";
    input.marginPosition = "80";
    input.gutterWidth = "20";
    input.fontSize = "10";
    for (TOptionsPageWidget* page : m_pages) {
        if (page != nullptr) {
            page->FillInput(input);
        }
    }
    const std::optional<TOptionsFailure> failure = ValidateOptions(input);
    if (!failure) {
        for (int i = 0; i < kOptionsPageCount; ++i) {
            if (TOptionsPageWidget* page = m_pages[static_cast<std::size_t>(i)]) {
                if (const std::optional<QString> message = page->CheckBeforeStore()) {
                    ShowMessage(this, QMessageBox::Critical, *message);
                    ShowPage(static_cast<TOptionsPage>(i));
                    return false;
                }
            }
        }
        return true;
    }
    const std::string message = failure->argument.empty()
        ? LangStr(failure->messageKey, failure->messageDefault)
        : LangFormat(failure->messageKey,
            failure->messageDefault,
            {failure->messageDefault.find("%d") != std::string::npos ? TFormatArg(std::stoll(failure->argument))
                                                                     : TFormatArg(failure->argument)});
    ShowMessage(this, QMessageBox::Critical, FromUtf8(message));
    ShowPage(failure->page);
    if (QLineEdit* field = Page(failure->page)->Field(failure->field)) {
        if (!failure->resetTo.empty()) {
            field->setText(FromUtf8(failure->resetTo));
        }
        field->selectAll();
        field->setFocus();
    }
    return false;
}

bool TOptionsForm::StorePages(QString& error)
{
    // A page that fails (an unwritable file) does not keep the later pages
    // from storing; its message is the one shown.
    TSettingsBatch batch(m_store);
    bool ok = true;
    for (TOptionsPage page : kStoreOrder) {
        QString reason;
        if (TOptionsPageWidget* built = Page(page); built != nullptr && !built->Store(m_store, reason)) {
            if (ok) {
                error = reason;
            }
            ok = false;
        }
    }
    return ok;
}

bool TOptionsForm::ApplyChanges()
{
    if (!Validate()) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool pagesStored = StorePages(error);
    const bool stored = m_store.Flush() && pagesStored;
    ApplyToProgram();
    QApplication::restoreOverrideCursor();
    if (!stored) {
        ShowMessage(this, QMessageBox::Critical, error.isEmpty() ? FromUtf8(m_store.LastError()) : error);
    }
    return stored;
}

void TOptionsForm::ApplyToProgram()
{
    if (Page(TOptionsPage::SyntaxDefinition) != nullptr && m_context.onSyntaxDefinitionsChanged) {
        m_context.onSyntaxDefinitionsChanged();
    }
    if (Page(TOptionsPage::UserActions) != nullptr && m_context.onUserActionsChanged) {
        m_context.onUserActionsChanged();
    }
    TQuilletMainForm* main = m_context.mainForm;
    if (main != nullptr && Page(TOptionsPage::Environment) != nullptr) {
        const TGlobalOptions options = ReadGlobalOptions(m_store);
        if (options.language != Translator().CurrentLanguage()) {
            main->UpdateLanguage(options.language);
        }
    }
    // Every open document: binary windows take the hex settings, text
    // windows the editor settings and styles on both views.
    if (main != nullptr) {
        const THexOptions hex = ReadHexOptions(m_store);
        for (QMdiSubWindow* window : main->MdiArea()->subWindowList()) {
            if (auto* target = dynamic_cast<IHexSettingsTarget*>(window)) {
                target->ApplyHexOptions(hex);
            }
        }
    }
    if (m_context.documents != nullptr) {
        m_context.documents->ApplyEditorSettings();
    }
    if (main != nullptr) {
        main->ApplyGlobalOptions(ReadGlobalOptions(m_store));
    }
}

void ShowOptionsDialog(const TOptionsContext& context, TOptionsPage first)
{
    {
        TOptionsForm form(context, first, context.mainForm);
        form.exec();
    }
    if (context.mainForm != nullptr) {
        context.mainForm->ApplyEscToExit();
    }
}

} // namespace quillet

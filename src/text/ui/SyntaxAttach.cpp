#include "text/ui/SyntaxAttach.h"

#include "syntax/SchemeCatalog.h"
#include "syntax/SyntaxParser.h"
#include "syntax/TextStyles.h"
#include "text/MemoSource.h"
#include "text/ui/ChildForm.h"
#include "text/ui/TarnMemo.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>

#include <algorithm>
#include <memory>

namespace quillet {

namespace {

// The highlighter a document window owns, kept as a child object of the
// window so that it lives exactly as long as the window. The buffer is
// destroyed with the window's members, before this child.
class TDocumentSyntax : public QObject {
public:
    explicit TDocumentSyntax(TChildForm& form)
        : QObject(&form)
    {
        setObjectName(QString::fromLatin1(kObjectName));
    }

    static constexpr const char* kObjectName = "quilletDocumentSyntax";

    std::unique_ptr<TSyntaxParser> parser; // null while plain text
    std::string fileName;
    std::filesystem::path templatesFile;
};

TDocumentSyntax* Holder(TChildForm& form, bool create)
{
    auto* holder =
        form.findChild<QObject*>(QString::fromLatin1(TDocumentSyntax::kObjectName), Qt::FindDirectChildrenOnly);
    if (holder != nullptr) {
        return static_cast<TDocumentSyntax*>(holder);
    }
    return create ? new TDocumentSyntax(form) : nullptr;
}

QString Translated(const TSyntaxContext& context, std::string_view key, std::string_view text)
{
    return context.Translate ? context.Translate(key, text)
                             : QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

void Detach(TChildForm& form, TDocumentSyntax& holder)
{
    form.MemoSource().SetSyntaxParser(nullptr);
    holder.parser.reset();
    holder.fileName.clear();
    holder.templatesFile.clear();
    form.SetSyntaxName({});
    form.setWindowIcon(GenericTextIcon());
}

// Both views of a document in one list.
std::array<TTarnMemo*, 2> Views(TChildForm& form)
{
    return {&form.Memo(), &form.Memo1()};
}

void ToggleViewOption(TChildForm& form, TMemoOption option)
{
    const bool on = !HasOption(form.ActiveMemo().Options(), option);
    for (TTarnMemo* view : Views(form)) {
        view->SetOption(option, on);
    }
}

} // namespace

std::string DefinitionIconExtension(const TSyntaxScheme& scheme)
{
    if (scheme.Extensions.empty()) {
        return {};
    }
    const std::string& entry = scheme.Extensions.front();
    const std::size_t bar = entry.find('|');
    if (bar == std::string::npos) {
        return {};
    }
    std::string mask = entry.substr(bar + 1, entry.find(';', bar + 1) - (bar + 1));
    mask.erase(std::remove(mask.begin(), mask.end(), '*'), mask.end());
    // Blanks around the mask are separators, not part of the extension.
    const std::size_t first = mask.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return mask.substr(first, mask.find_last_not_of(' ') - first + 1);
}

QIcon GenericTextIcon()
{
    return QIcon::fromTheme(QStringLiteral("text-x-generic"), QIcon(QStringLiteral(":/icons/document.svg")));
}

QIcon DefinitionIcon(const TSyntaxScheme& scheme)
{
    const std::string extension = DefinitionIconExtension(scheme);
    if (!extension.empty()) {
        // The desktop's icon for a file of that type, found by name only: the
        // file "foo" + extension need not exist.
        const QMimeType type = QMimeDatabase().mimeTypeForFile(
            QStringLiteral("foo") + QString::fromLocal8Bit(extension.data(), static_cast<qsizetype>(extension.size())),
            QMimeDatabase::MatchExtension);
        if (type.isValid() && !type.isDefault()) {
            QIcon icon = QIcon::fromTheme(type.iconName());
            if (icon.isNull()) {
                icon = QIcon::fromTheme(type.genericIconName());
            }
            if (!icon.isNull()) {
                return icon;
            }
        }
    }
    return GenericTextIcon();
}

TSyntaxParser* DocumentParser(TChildForm& form)
{
    TDocumentSyntax* holder = Holder(form, false);
    return holder != nullptr ? holder->parser.get() : nullptr;
}

std::string DocumentSyntaxFile(TChildForm& form)
{
    TDocumentSyntax* holder = Holder(form, false);
    return holder != nullptr ? holder->fileName : std::string();
}

bool ZmenSyntaxParser(TChildForm& form, const std::string& fileName, const TSyntaxContext& context)
{
    TDocumentSyntax& holder = *Holder(form, true);
    TMemoSource& source = form.MemoSource();
    source.SetSyntaxParser(nullptr);
    if (context.OnTemplates && !holder.templatesFile.empty()) {
        holder.templatesFile.clear();
        context.OnTemplates(form, {});
    }
    source.BeginUpdate(0);

    const std::filesystem::path path =
        context.catalog != nullptr ? context.catalog->FindDefinition(fileName) : std::filesystem::path();
    auto parser = std::make_unique<TSyntaxParser>();
    const bool loaded = !path.empty() && parser->LoadFromFile(path).ok;
    if (!loaded) {
        Detach(form, holder);
        source.EndUpdate();
        const QString message = Translated(context, "CorruptedFile", "File \"%s\" corrupted or invalid file format.")
                                    .replace(QStringLiteral("%s"), QString::fromStdString(fileName));
        if (context.OnError) {
            context.OnError(message);
        } else {
            QMessageBox::critical(&form, QApplication::applicationDisplayName(), message);
        }
        return false;
    }
    holder.parser = std::move(parser);
    holder.fileName = fileName;
    if (context.styles != nullptr) {
        UpdateSyntaxParser(*holder.parser, *context.styles, context.styles->EditorFont());
    }
    source.SetSyntaxParser(holder.parser.get());
    form.SetSyntaxName(QString::fromStdString(holder.parser->SyntaxScheme().Name));
    form.setWindowIcon(DefinitionIcon(holder.parser->SyntaxScheme()));

    holder.templatesFile =
        std::filesystem::path("Code Templates") / std::filesystem::path(fileName).replace_extension(".tpl");
    if (context.OnTemplates) {
        context.OnTemplates(form, holder.templatesFile);
    }
    source.EndUpdate();
    return true;
}

void UpdateSyntaxParser(TChildForm& form, const TTextStyles& styles)
{
    if (TSyntaxParser* parser = DocumentParser(form)) {
        UpdateSyntaxParser(*parser, styles, styles.EditorFont());
    }
}

void SyntaxNone(TChildForm& form, const TSyntaxContext& context)
{
    TDocumentSyntax* holder = Holder(form, false);
    if (holder == nullptr) {
        form.MemoSource().SetSyntaxParser(nullptr);
        form.setWindowIcon(GenericTextIcon());
        return;
    }
    const bool hadTemplates = !holder->templatesFile.empty();
    Detach(form, *holder);
    if (hadTemplates && context.OnTemplates) {
        context.OnTemplates(form, {});
    }
}

bool ChooseSyntax(TChildForm& form, const TSyntaxContext& context)
{
    if (context.catalog == nullptr) {
        return false;
    }
    const TSchemeEntry* entry =
        form.FileName().empty() ? context.catalog->Default() : context.catalog->ForFile(form.FileName());
    return entry != nullptr && ZmenSyntaxParser(form, entry->FileName, context);
}

std::vector<TMemoTextStyle> ToMemoTextStyles(const TTextStyles& styles)
{
    std::vector<TMemoTextStyle> out;
    out.reserve(static_cast<std::size_t>(styles.Count()));
    for (const TTextStyle& s : styles.Items()) {
        TMemoTextStyle m;
        m.name = s.Name;
        m.fontColor = s.Font.color;
        m.color = s.Color;
        m.bold = s.Font.bold;
        m.italic = s.Font.italic;
        m.underline = s.Font.underline;
        m.useMemoColor = s.UseMemoColor;
        m.useMemoFont = s.UseMemoFont;
        out.push_back(std::move(m));
    }
    return out;
}

void ApplyTextStyles(TChildForm& form, const TTextStyles& styles)
{
    const std::vector<TMemoTextStyle> list = ToMemoTextStyles(styles);
    for (TTarnMemo* view : Views(form)) {
        view->SetTextStyles(list);
    }
    UpdateSyntaxParser(form, styles);
}

void ViewColorSyntaxExecute(TChildForm* form)
{
    if (form != nullptr) {
        ToggleViewOption(*form, moColorSyntax);
    }
}

TSyntaxCommandState ViewColorSyntaxUpdate(TChildForm* form)
{
    return form == nullptr ? TSyntaxCommandState{}
                           : TSyntaxCommandState{true, HasOption(form->ActiveMemo().Options(), moColorSyntax)};
}

void ViewHighlightURLsExecute(TChildForm* form)
{
    if (form != nullptr) {
        form->MemoSource().SetHighlightUrls(!form->MemoSource().HighlightUrls());
    }
}

TSyntaxCommandState ViewHighlightURLsUpdate(TChildForm* form)
{
    return form == nullptr ? TSyntaxCommandState{} : TSyntaxCommandState{true, form->MemoSource().HighlightUrls()};
}

void ViewSpecialSymbolsExecute(TChildForm* form)
{
    if (form != nullptr) {
        ToggleViewOption(*form, moDrawSpecialSymbols);
    }
}

TSyntaxCommandState ViewSpecialSymbolsUpdate(TChildForm* form)
{
    return form == nullptr ? TSyntaxCommandState{}
                           : TSyntaxCommandState{true, HasOption(form->ActiveMemo().Options(), moDrawSpecialSymbols)};
}

TSyntaxMenu::TSyntaxMenu(QMenu& menu, QAction& noneAction, TSyntaxContext context, QObject* parent)
    : QObject(parent)
    , m_menu(menu)
    , m_none(noneAction)
    , m_context(std::move(context))
{
    m_none.setCheckable(true);
}

void TSyntaxMenu::Rebuild()
{
    for (QAction* item : m_items) {
        m_menu.removeAction(item);
        delete item;
    }
    m_items.clear();
    if (m_context.catalog == nullptr) {
        return;
    }
    for (const TSchemeEntry& entry : m_context.catalog->Entries()) {
        // The caption is the definition's own name: "&" in it is shown, not an accelerator.
        const QString caption = QString::fromStdString(entry.Name);
        auto* item = new QAction(QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")), &m_menu);
        item->setData(caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, caption] {
            Choose(caption);
        });
        m_menu.insertAction(&m_none, item);
        m_items.push_back(item);
    }
    UpdateItems();
}

void TSyntaxMenu::UpdateItems()
{
    TChildForm* form = ActiveForm ? ActiveForm() : nullptr;
    TSyntaxParser* parser = form != nullptr ? DocumentParser(*form) : nullptr;
    const QString current = parser != nullptr ? QString::fromStdString(parser->SyntaxScheme().Name) : QString();
    for (QAction* item : m_items) {
        item->setEnabled(form != nullptr);
        item->setChecked(parser != nullptr && item->data().toString() == current);
    }
    m_none.setEnabled(form != nullptr);
    m_none.setChecked(form != nullptr && parser == nullptr);
}

void TSyntaxMenu::Choose(const QString& caption)
{
    TChildForm* form = ActiveForm ? ActiveForm() : nullptr;
    const TSchemeEntry* entry = form != nullptr && m_context.catalog != nullptr
        ? m_context.catalog->FindByName(caption.toStdString())
        : nullptr;
    if (entry != nullptr) {
        ZmenSyntaxParser(*form, entry->FileName, m_context);
    }
    UpdateItems();
}

void TSyntaxMenu::ChooseNone()
{
    if (TChildForm* form = ActiveForm ? ActiveForm() : nullptr) {
        SyntaxNone(*form, m_context);
    }
    UpdateItems();
}

} // namespace quillet

#include "compare/ui/CompareOptionsForm.h"

#include "core/AppTitle.h"
#include "core/Translations.h"
#include "text/ui/ChildForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

QString Text(std::string_view key, std::string_view english)
{
    return QString::fromStdString(LangStr(key, english));
}

QString DocumentCaption(TChildForm& form)
{
    QString caption = form.windowTitle();
    while (caption.endsWith(QLatin1Char('*'))) {
        caption.chop(1);
    }
    return caption;
}

} // namespace

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width) {
        return path;
    }
    QStringList parts = path.split(QLatin1Char('/'));
    const QString ellipsis = QStringLiteral("...");
    // Drop folders after the first one until the rest fits.
    while (parts.size() > 3) {
        parts.removeAt(parts[1] == ellipsis ? 2 : 1);
        if (parts[1] != ellipsis) {
            parts.insert(1, ellipsis);
        }
        const QString shortened = parts.join(QLatin1Char('/'));
        if (metrics.horizontalAdvance(shortened) <= width) {
            return shortened;
        }
    }
    return metrics.elidedText(path, Qt::ElideLeft, width);
}

TCompareOptionsForm::TCompareOptionsForm(const TCompareContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("CompareOptionsForm"));
    setWindowTitle(Text("CompareOptionsForm", "Compare Options"));
    if (m_context.Documents) {
        for (TChildForm* form : m_context.Documents()) {
            m_documents.emplace_back(form);
        }
    }
    auto* grid = new QGridLayout;
    const QString labels[2] = {Text("CompareLabel", "&Compare:"), Text("WithLabel", "&With:")};
    for (int side = 0; side < 2; ++side) {
        auto* list = new QComboBox(this);
        list->setObjectName(side == 0 ? QStringLiteral("CompareList") : QStringLiteral("WithList"));
        list->setMinimumWidth(380);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->addItem(Text("OtherFile", "...other file"));
        for (const QPointer<TChildForm>& form : m_documents) {
            list->addItem(Shortened(DocumentCaption(*form), *list));
        }
        auto* label = new QLabel(labels[side], this);
        label->setBuddy(list);
        auto* button = new QToolButton(this);
        button->setObjectName(side == 0 ? QStringLiteral("CompareFileButton") : QStringLiteral("WithFileButton"));
        button->setText(QStringLiteral("..."));
        const QString hint = Text("SelectFileToCompare", "Select File|Select File to Compare");
        button->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        button->setStatusTip(hint.section(QLatin1Char('|'), 1));
        connect(button, &QToolButton::clicked, this, [this, side] {
            ChooseFile(side);
        });
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            UpdateControls();
        });
        grid->addWidget(label, side, 0);
        grid->addWidget(list, side, 1);
        grid->addWidget(button, side, 2);
        m_lists[static_cast<std::size_t>(side)] = list;
        m_fileButtons[static_cast<std::size_t>(side)] = button;
    }
    // "Compare" starts on the active text document, "With" on another file.
    TChildForm* active = m_context.ActiveDocument ? m_context.ActiveDocument() : nullptr;
    for (std::size_t i = 0; i < m_documents.size(); ++i) {
        if (m_documents[i] == active && active != nullptr) {
            m_lists[0]->setCurrentIndex(static_cast<int>(i) + 1);
        }
    }
    m_ignoreBlanks = new QCheckBox(Text("IgnoreBlanks", "Ignore &Blanks"), this);
    m_ignoreBlanks->setObjectName(QStringLiteral("IgnoreBlanks"));
    m_ignoreCase = new QCheckBox(Text("IgnoreCase", "Ignore C&ase"), this);
    m_ignoreCase->setObjectName(QStringLiteral("IgnoreCase"));
    auto* options = new QHBoxLayout;
    options->addWidget(m_ignoreBlanks);
    options->addWidget(m_ignoreCase);
    options->addStretch();

    auto* buttons = new QDialogButtonBox(this);
    m_compare = buttons->addButton(Text("CompareButton", "Compare"), QDialogButtonBox::AcceptRole);
    m_compare->setObjectName(QStringLiteral("CompareButton"));
    m_compare->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(Text("bCancel", "Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addWidget(buttons);
    UpdateControls();
}

QString TCompareOptionsForm::Shortened(const QString& text, const QComboBox& list) const
{
    return ShortenPath(text, list.fontMetrics(), std::max(60, list.minimumWidth() - 26));
}

void TCompareOptionsForm::ChooseFile(int side)
{
    const std::string filter =
        m_context.fileFilter.empty() ? LangStr("AllFiles", "All files (*.*)|*.*") : m_context.fileFilter;
    std::optional<TCompareFile> chosen;
    if (m_context.ChooseFile) {
        chosen = m_context.ChooseFile(this, filter);
    } else {
        const QString file = QFileDialog::getOpenFileName(this);
        if (!file.isEmpty()) {
            chosen = TCompareFile{file.toStdString(), 0};
        }
    }
    if (!chosen) {
        return;
    }
    QComboBox* list = m_lists[static_cast<std::size_t>(side)];
    m_files[static_cast<std::size_t>(side)] = chosen;
    list->setItemText(0, Shortened(QString::fromStdString(chosen->file.string()), *list));
    list->setCurrentIndex(0);
    UpdateControls();
}

TCompareChoice TCompareOptionsForm::Choice(int side) const
{
    TCompareChoice choice;
    const int index = m_lists[static_cast<std::size_t>(side)]->currentIndex();
    if (index > 0 && index <= static_cast<int>(m_documents.size())) {
        choice.document = m_documents[static_cast<std::size_t>(index - 1)];
    } else if (index == 0) {
        choice.file = m_files[static_cast<std::size_t>(side)];
    }
    return choice;
}

bool TCompareOptionsForm::IgnoreBlanks() const
{
    return m_ignoreBlanks->isChecked();
}

bool TCompareOptionsForm::IgnoreCase() const
{
    return m_ignoreCase->isChecked();
}

void TCompareOptionsForm::UpdateControls()
{
    if (m_compare == nullptr) {
        return; // still being built
    }
    bool ready = true;
    std::array<TCompareChoice, 2> choices;
    for (int side = 0; side < 2; ++side) {
        const bool otherFile = m_lists[static_cast<std::size_t>(side)]->currentIndex() == 0;
        m_fileButtons[static_cast<std::size_t>(side)]->setEnabled(otherFile);
        choices[static_cast<std::size_t>(side)] = Choice(side);
        const TCompareChoice& choice = choices[static_cast<std::size_t>(side)];
        ready = ready && (choice.document != nullptr || choice.file.has_value());
    }
    // One document, or one file, cannot be compared with itself.
    if (choices[0].document != nullptr && choices[0].document == choices[1].document) {
        ready = false;
    }
    if (choices[0].file && choices[1].file && choices[0].file->file == choices[1].file->file) {
        ready = false;
    }
    m_compare->setEnabled(ready);
}

} // namespace quillet

#include "text/ui/FindForm.h"

#include "text/MemoSource.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/ReplacePrompt.h"
#include "text/ui/SearchHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace quillet {

namespace {

template <typename TButton> TButton* MakeButton(QWidget* parent, const char* objectName, const char* english)
{
    auto* button = new TButton(DialogText(objectName, english), parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

QGroupBox* MakeGroup(QWidget* parent, const char* objectName, const char* english)
{
    auto* group = new QGroupBox(DialogText(objectName, english), parent);
    group->setObjectName(QLatin1String(objectName));
    return group;
}

// A group of two exclusive choices stacked vertically.
QGroupBox* MakeChoiceGroup(QWidget* parent,
    const char* objectName,
    const char* english,
    QRadioButton*& first,
    const char* firstName,
    const char* firstText,
    QRadioButton*& second,
    const char* secondName,
    const char* secondText)
{
    QGroupBox* group = MakeGroup(parent, objectName, english);
    first = MakeButton<QRadioButton>(group, firstName, firstText);
    second = MakeButton<QRadioButton>(group, secondName, secondText);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch(1);
    return group;
}

} // namespace

QString DialogText(const char* objectName, const char* english)
{
    return SearchText(objectName, english);
}

QComboBox* MakeHistoryCombo(QWidget* parent, const char* objectName)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(objectName));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr); // typed text is searched as typed, never completed from the history
    combo->setMaxVisibleItems(20);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(32);
    combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return combo;
}

TFindForm::TFindForm(TMemoSource& source, TSearchOptions& options, QWidget* parent)
    : TFindForm(source, options, parent, "FindForm", "Find Text")
{
}

TFindForm::TFindForm(
    TMemoSource& source, TSearchOptions& options, QWidget* parent, const char* windowKey, const char* englishCaption)
    : QDialog(parent)
    , m_options(options)
{
    Build(windowKey, englishCaption);
    LoadState(source);
}

TFindForm::~TFindForm() = default;

void TFindForm::Build(const char* windowKey, const char* englishCaption)
{
    setObjectName(QLatin1String(windowKey));
    setWindowTitle(DialogText(windowKey, englishCaption));
    setAttribute(Qt::WA_DeleteOnClose, false); // owned by the caller, freed after use

    // The texts, with their labels beside them.
    m_textLabel = MakeButton<QLabel>(this, "TextToFindLabel", "&Text to find:");
    m_textToFind = MakeHistoryCombo(this, "TextToFindCombo");
    m_textLabel->setBuddy(m_textToFind);
    m_textGrid = new QGridLayout;
    m_textGrid->addWidget(m_textLabel, 0, 0);
    m_textGrid->addWidget(m_textToFind, 0, 1);
    m_textGrid->setColumnStretch(1, 1);

    // Switches, direction, scope and origin in two columns.
    m_optionsGroup = MakeGroup(this, "OptionsGroup", "Options");
    m_caseSensitive = MakeButton<QCheckBox>(m_optionsGroup, "CaseSensitiveCheck", "&Case sensitive");
    m_wholeWords = MakeButton<QCheckBox>(m_optionsGroup, "WholeWordsCheck", "&Whole words only");
    m_regularExpr = MakeButton<QCheckBox>(m_optionsGroup, "RegularExprCheck", "Regular e&xpressions");
    m_optionsLayout = new QVBoxLayout(m_optionsGroup);
    m_optionsLayout->addWidget(m_caseSensitive);
    m_optionsLayout->addWidget(m_wholeWords);
    m_optionsLayout->addWidget(m_regularExpr);
    m_optionsLayout->addStretch(1);

    QGroupBox* direction = MakeChoiceGroup(this,
        "DirectionGroup",
        "Direction",
        m_forward,
        "ForwardRadio",
        "&Forward",
        m_backward,
        "BackwardRadio",
        "&Backward");
    QGroupBox* scope = MakeChoiceGroup(this,
        "ScopeGroup",
        "Scope",
        m_global,
        "GlobalRadio",
        "&Global",
        m_selectedText,
        "SelectedTextRadio",
        "&Selected text");
    QGroupBox* origin = MakeChoiceGroup(this,
        "OriginGroup",
        "Origin",
        m_fromCursor,
        "FromCursorRadio",
        "Fro&m cursor",
        m_entireScope,
        "EntireScopeRadio",
        "&Entire scope");

    auto* groups = new QGridLayout;
    groups->addWidget(m_optionsGroup, 0, 0);
    groups->addWidget(direction, 0, 1);
    groups->addWidget(scope, 1, 0);
    groups->addWidget(origin, 1, 1);
    groups->setColumnStretch(0, 1);
    groups->setColumnStretch(1, 1);

    // Buttons on the right, as in the other dialogs of the program.
    m_ok = MakeButton<QPushButton>(this, "OKButton", "OK");
    m_cancel = MakeButton<QPushButton>(this, "CancelButton", "Cancel");
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons = new QVBoxLayout;
    m_buttons->addWidget(m_ok);
    m_buttons->addWidget(m_cancel);
    m_buttons->addStretch(1);

    auto* content = new QVBoxLayout;
    content->addLayout(m_textGrid);
    content->addLayout(groups);
    auto* top = new QHBoxLayout(this);
    top->addLayout(content, 1);
    top->addLayout(m_buttons);
    top->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_textToFind, &QComboBox::editTextChanged, this, [this] {
        UpdateButtons();
    });
}

void TFindForm::LoadState(TMemoSource& source)
{
    m_history = LoadSearchHistory(kSearchItemsKey);
    FillHistoryCombo(m_textToFind, m_history);

    // The text at the caret when the editor asks for it, else the last search.
    QString text;
    if (source.HasOption(soFindTextAtCursor)) {
        if (source.HasSelection()) {
            const std::vector<std::string> lines = source.GetSelectionStrings();
            if (!lines.empty()) {
                text = FromSystemText(lines.front());
            }
        } else {
            text = FromSystemText(source.GetTextAtCursor());
        }
    }
    if (text.isEmpty() && !m_history.isEmpty()) {
        m_textToFind->setCurrentIndex(0);
    } else {
        m_textToFind->setEditText(text);
    }
    m_textToFind->lineEdit()->selectAll();

    m_caseSensitive->setChecked(m_options.CaseSensitive);
    m_wholeWords->setChecked(m_options.WholeWordsOnly);
    m_regularExpr->setChecked(m_options.RegularExpr);
    (m_options.Direction == sdBackward ? m_backward : m_forward)->setChecked(true);
    m_global->setChecked(true); // a new search never starts limited to an old selection
    (m_options.Origin == soFromCursor ? m_fromCursor : m_entireScope)->setChecked(true);
    UpdateButtons();
    m_textToFind->setFocus();
}

void TFindForm::UpdateButtons()
{
    m_ok->setEnabled(!m_textToFind->currentText().isEmpty());
}

void TFindForm::StoreResults()
{
    const QString text = m_textToFind->currentText();
    AddToSearchHistory(m_history, text);
    SaveSearchHistory(kSearchItemsKey, m_history);

    m_options.CaseSensitive = m_caseSensitive->isChecked();
    m_options.WholeWordsOnly = m_wholeWords->isChecked();
    m_options.RegularExpr = m_regularExpr->isChecked();
    m_options.Direction = m_backward->isChecked() ? sdBackward : sdForward;
    m_options.Scope = m_selectedText->isChecked() ? ssSelectedText : ssGlobal;
    m_options.Origin = m_fromCursor->isChecked() ? soFromCursor : soEntireScope;
    m_options.TextToFind = ToSystemText(text);
    m_options.ShowNotFound = true;
}

void TFindForm::accept()
{
    if (m_textToFind->currentText().isEmpty()) {
        return; // Enter in an empty field: there is nothing to search for
    }
    StoreResults();
    QDialog::accept();
}

} // namespace quillet

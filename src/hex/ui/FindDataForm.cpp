#include "hex/ui/FindDataForm.h"

#include "hex/HexText.h"
#include "text/SearchOptions.h"
#include "text/ui/FindForm.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/SearchHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillet {

namespace {

QComboBox* HistoryBox(QWidget* parent, const char* name, std::string_view key)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
    FillHistoryCombo(box, LoadSearchHistory(key));
    return box;
}

QRadioButton* Radio(QWidget* parent, const char* name, const char* english)
{
    auto* radio = new QRadioButton(DialogText(name, english), parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* english)
{
    auto* check = new QCheckBox(DialogText(name, english), parent);
    check->setObjectName(QString::fromLatin1(name));
    return check;
}

bool IsHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

TFindDataForm::TFindDataForm(
    bool replace, const TBinarySearchState& state, const std::optional<QString>& preset, QWidget* parent)
    : QDialog(parent)
    , m_isReplace(replace)
    , m_state(state)
{
    setObjectName(replace ? QStringLiteral("ReplaceDataForm") : QStringLiteral("FindDataForm"));
    setWindowTitle(replace ? DialogText("ReplaceDataForm", "Replace Data") : DialogText("FindDataForm", "Find Data"));
    m_search = HistoryBox(this, "SearchBox", kSearchItemsKey);
    auto* form = new QFormLayout;
    form->addRow(DialogText("SearchLabel", "&Data to find:"), m_search);
    if (replace) {
        m_replace = HistoryBox(this, "ReplaceBox", kReplaceItemsKey);
        m_replace->setEditText(QString());
        form->addRow(DialogText("ReplaceLabel", "&Replace with:"), m_replace);
    }
    m_case = Check(this, "CaseSensitive", "&Case sensitive");
    m_asText = Check(this, "AsText", "Find data as &text value");
    auto* options = new QGroupBox(DialogText("OptionsGroup", "Options"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(m_case);
    optionsLayout->addWidget(m_asText);
    if (replace) {
        m_prompt = Check(this, "PromptOnReplace", "&Prompt on replace");
        m_prompt->setChecked(state.prompt);
        optionsLayout->addWidget(m_prompt);
    }
    auto* scope = new QGroupBox(DialogText("ScopeGroup", "Scope"), this);
    auto* scopeLayout = new QVBoxLayout(scope);
    m_global = Radio(scope, "GlobalScope", "&Global");
    m_selected = Radio(scope, "SelectedScope", "&Selected text");
    scopeLayout->addWidget(m_global);
    scopeLayout->addWidget(m_selected);
    m_global->setChecked(true);
    auto* origin = new QGroupBox(DialogText("OriginGroup", "Origin"), this);
    auto* originLayout = new QVBoxLayout(origin);
    m_entire = Radio(origin, "EntireScope", "&Entire scope");
    m_fromCursor = Radio(origin, "FromCursor", "&From cursor");
    originLayout->addWidget(m_fromCursor);
    originLayout->addWidget(m_entire);
    (state.entireScope ? m_entire : m_fromCursor)->setChecked(true);

    auto* groups = new QHBoxLayout;
    groups->addWidget(options);
    groups->addWidget(scope);
    groups->addWidget(origin);

    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    m_ok = new QPushButton(DialogText("OKButton", "OK"), this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    if (replace) {
        m_replaceAll = new QPushButton(DialogText("ReplaceAllButton", "Replace &All"), this);
        m_replaceAll->setObjectName(QStringLiteral("ReplaceAllButton"));
        buttons->addButton(m_replaceAll, QDialogButtonBox::ActionRole);
        connect(m_replaceAll, &QPushButton::clicked, this, [this] {
            m_replaceAllChosen = true;
            accept();
        });
    }
    auto* cancel = new QPushButton(DialogText("CancelButton", "Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (preset) {
        m_search->setEditText(*preset);
    } else if (m_search->count() > 0) {
        m_search->setCurrentIndex(0);
    }
    m_asText->setChecked(state.asText);
    AsTextToggled(state.asText);
    connect(m_asText, &QCheckBox::toggled, this, &TFindDataForm::AsTextToggled);
    for (QComboBox* box : {m_search, m_replace}) {
        if (box != nullptr) {
            connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box] {
                KeepHexDigits(box);
                UpdateButtons();
            });
            connect(box, &QComboBox::currentTextChanged, this, &TFindDataForm::UpdateButtons);
        }
    }
    UpdateButtons();
    m_search->setFocus();
    m_search->lineEdit()->selectAll();
}

TFindDataForm::~TFindDataForm() = default;

void TFindDataForm::AsTextToggled(bool asText)
{
    // Data searches always compare exactly; a text search starts without case.
    m_case->setEnabled(asText);
    m_case->setChecked(!asText);
    if (!asText) {
        KeepHexDigits(m_search);
        if (m_replace != nullptr) {
            KeepHexDigits(m_replace);
        }
    }
    UpdateButtons();
}

void TFindDataForm::KeepHexDigits(QComboBox* box)
{
    if (m_asText->isChecked()) {
        return;
    }
    const QString text = box->currentText();
    QString kept;
    for (QChar c : text) {
        if (IsHexDigit(c)) {
            kept += c;
        }
    }
    if (kept != text) {
        const int cursor = box->lineEdit()->cursorPosition();
        box->setEditText(kept);
        box->lineEdit()->setCursorPosition(std::min<int>(cursor, static_cast<int>(kept.size())));
    }
}

void TFindDataForm::UpdateButtons()
{
    const bool any = !m_search->currentText().isEmpty();
    m_ok->setEnabled(any);
    if (m_replaceAll != nullptr) {
        m_replaceAll->setEnabled(any);
    }
}

void TFindDataForm::accept()
{
    if (m_search->currentText().isEmpty()) {
        return;
    }
    QStringList history = LoadSearchHistory(kSearchItemsKey);
    AddToSearchHistory(history, m_search->currentText());
    SaveSearchHistory(kSearchItemsKey, history);
    if (m_replace != nullptr) {
        QStringList replaces = LoadSearchHistory(kReplaceItemsKey);
        AddToSearchHistory(replaces, m_replace->currentText());
        SaveSearchHistory(kReplaceItemsKey, replaces);
    }
    QDialog::accept();
}

TBinarySearchState TFindDataForm::Result() const
{
    TBinarySearchState state = m_state;
    state.asText = m_asText->isChecked();
    state.caseSensitive = m_case->isChecked();
    state.selectionScope = m_selected->isChecked();
    state.entireScope = m_entire->isChecked();
    if (m_prompt != nullptr) {
        state.prompt = m_prompt->isChecked();
    }
    state.text = ToSystemText(m_search->currentText());
    state.bytes = SearchTextToBytes(state.text, state.asText);
    if (m_replace != nullptr) {
        state.replaceText = ToSystemText(m_replace->currentText());
        state.replacement = SearchTextToBytes(state.replaceText, state.asText);
    }
    state.lastMatch = -1;
    return state;
}

} // namespace quillet

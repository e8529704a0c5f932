#include "text/ui/ReplaceForm.h"

#include "text/ui/MemoStyles.h"
#include "text/ui/SearchHistory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillet {

TReplaceForm::TReplaceForm(TMemoSource& source, TSearchOptions& options, QWidget* parent)
    : TFindForm(source, options, parent, "ReplaceForm", "Replace Text")
{
    auto* label = new QLabel(DialogText("ReplaceWithLabel", "&Replace with:"), this);
    label->setObjectName(QStringLiteral("ReplaceWithLabel"));
    m_replaceWith = MakeHistoryCombo(this, "ReplaceWithCombo");
    label->setBuddy(m_replaceWith);
    TextGrid()->addWidget(label, 1, 0);
    TextGrid()->addWidget(m_replaceWith, 1, 1);
    setTabOrder(TextToFindCombo(), m_replaceWith);

    m_promptOnReplace = new QCheckBox(DialogText("PromptOnReplaceCheck", "&Prompt on replace"), this);
    m_promptOnReplace->setObjectName(QStringLiteral("PromptOnReplaceCheck"));
    OptionsLayout()->insertWidget(OptionsLayout()->count() - 1, m_promptOnReplace);
    setTabOrder(RegularExprCheck(), m_promptOnReplace);

    m_replaceAllButton = new QPushButton(DialogText("ReplaceAllButton", "Replace &All"), this);
    m_replaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    ButtonLayout()->insertWidget(1, m_replaceAllButton); // between OK and Cancel
    setTabOrder(OkButton(), m_replaceAllButton);
    connect(m_replaceAllButton, &QPushButton::clicked, this, [this] {
        m_replaceAll = true;
        accept();
        if (result() != Accepted) {
            m_replaceAll = false;
        }
    });

    m_history = LoadSearchHistory(kReplaceItemsKey);
    FillHistoryCombo(m_replaceWith, m_history);
    if (!m_history.isEmpty()) {
        m_replaceWith->setCurrentIndex(0);
    }
    m_promptOnReplace->setChecked(options.PromptOnReplace);
    UpdateButtons();
}

TReplaceForm::~TReplaceForm() = default;

void TReplaceForm::UpdateButtons()
{
    TFindForm::UpdateButtons();
    if (m_replaceAllButton != nullptr) {
        m_replaceAllButton->setEnabled(OkButton()->isEnabled());
    }
}

void TReplaceForm::StoreResults()
{
    TFindForm::StoreResults();
    const QString replacement = m_replaceWith->currentText();
    AddToSearchHistory(m_history, replacement);
    SaveSearchHistory(kReplaceItemsKey, m_history);
    Options().ReplaceWith = ToSystemText(replacement);
    Options().PromptOnReplace = m_promptOnReplace->isChecked();
    Options().ReplaceAll = m_replaceAll;
}

} // namespace quillet

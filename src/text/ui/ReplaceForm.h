#pragma once

#include "text/ui/FindForm.h"

namespace quillet {

// The "Replace Text" dialog: the find dialog plus the replacement text with
// its "ReplaceItems" history, "Prompt on replace" and a "Replace All" button.
// OK stores ReplaceAll = false, Replace All stores true; both save the two
// histories and copy the state into the shared options. Running the replace
// is left to the caller.
class TReplaceForm : public TFindForm {
    Q_OBJECT

public:
    TReplaceForm(TMemoSource& source, TSearchOptions& options, QWidget* parent = nullptr);
    ~TReplaceForm() override;

    QComboBox* ReplaceWithCombo() const { return m_replaceWith; }
    QCheckBox* PromptOnReplaceCheck() const { return m_promptOnReplace; }
    QPushButton* ReplaceAllButton() const { return m_replaceAllButton; }
    // Whether the dialog was closed with Replace All.
    bool ReplaceAllChosen() const { return m_replaceAll; }

protected:
    void UpdateButtons() override;
    void StoreResults() override;

private:
    QStringList m_history;
    QComboBox* m_replaceWith = nullptr;
    QCheckBox* m_promptOnReplace = nullptr;
    QPushButton* m_replaceAllButton = nullptr;
    bool m_replaceAll = false;
};

} // namespace quillet

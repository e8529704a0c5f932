#pragma once

#include "hex/BinarySearch.h"

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace quillet {

// The "Find Data" dialog, and with a replacement box, "Replace Data": the
// search text (as text, or hexadecimal digits only), case, scope and origin,
// with the search histories "SearchItems" and "ReplaceItems".
class TFindDataForm : public QDialog {
    Q_OBJECT

public:
    // preset: the text the search box starts with (the bytes at the cursor);
    // without one the newest history entry is chosen.
    TFindDataForm(bool replace, const TBinarySearchState& state, const std::optional<QString>& preset, QWidget* parent);
    ~TFindDataForm() override;

    QComboBox* SearchBox() const { return m_search; }
    QComboBox* ReplaceBox() const { return m_replace; }
    QCheckBox* CaseBox() const { return m_case; }
    QCheckBox* AsTextBox() const { return m_asText; }
    QCheckBox* PromptBox() const { return m_prompt; }
    QRadioButton* SelectedScope() const { return m_selected; }
    QRadioButton* FromCursor() const { return m_fromCursor; }
    QRadioButton* EntireScope() const { return m_entire; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* ReplaceAllButton() const { return m_replaceAll; }

    // The state the dialog ends with (histories saved), and whether it was
    // closed with "Replace All".
    TBinarySearchState Result() const;
    bool ReplaceAllChosen() const { return m_replaceAllChosen; }

    void accept() override;

private:
    void AsTextToggled(bool asText);
    void UpdateButtons();
    void KeepHexDigits(QComboBox* box);

    bool m_isReplace;
    TBinarySearchState m_state;
    QComboBox* m_search = nullptr;
    QComboBox* m_replace = nullptr;
    QCheckBox* m_case = nullptr;
    QCheckBox* m_asText = nullptr;
    QCheckBox* m_prompt = nullptr;
    QRadioButton* m_global = nullptr;
    QRadioButton* m_selected = nullptr;
    QRadioButton* m_entire = nullptr;
    QRadioButton* m_fromCursor = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_replaceAll = nullptr;
    bool m_replaceAllChosen = false;
};

} // namespace quillet

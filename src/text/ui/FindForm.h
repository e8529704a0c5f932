#pragma once

#include "text/SearchOptions.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace quillet {

class TMemoSource;

// The "Find Text" dialog: the search text with its history, the switches and
// the direction, scope and origin of a search. It is made for one use. On OK
// it moves the text to the top of the "SearchItems" history, saves the
// history and copies its state into the shared search options (ShowNotFound
// set); running the search is left to the caller.
class TFindForm : public QDialog {
    Q_OBJECT

public:
    TFindForm(TMemoSource& source, TSearchOptions& options, QWidget* parent = nullptr);
    ~TFindForm() override;

    QComboBox* TextToFindCombo() const { return m_textToFind; }
    QCheckBox* CaseSensitiveCheck() const { return m_caseSensitive; }
    QCheckBox* WholeWordsCheck() const { return m_wholeWords; }
    QCheckBox* RegularExprCheck() const { return m_regularExpr; }
    QRadioButton* ForwardRadio() const { return m_forward; }
    QRadioButton* BackwardRadio() const { return m_backward; }
    QRadioButton* GlobalRadio() const { return m_global; }
    QRadioButton* SelectedTextRadio() const { return m_selectedText; }
    QRadioButton* FromCursorRadio() const { return m_fromCursor; }
    QRadioButton* EntireScopeRadio() const { return m_entireScope; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Stores the history and the options, then closes with Accepted.
    void accept() override;

protected:
    // For the replace dialog: `windowKey` is the translation key of the caption.
    TFindForm(TMemoSource& source,
        TSearchOptions& options,
        QWidget* parent,
        const char* windowKey,
        const char* englishCaption);

    // Where the replace dialog adds its controls.
    QGridLayout* TextGrid() const { return m_textGrid; }
    QVBoxLayout* OptionsLayout() const { return m_optionsLayout; }
    QVBoxLayout* ButtonLayout() const { return m_buttons; }
    TSearchOptions& Options() const { return m_options; }

    // Enables the buttons that need a search text.
    virtual void UpdateButtons();
    // Copies the dialog's state into the shared options and saves the histories.
    virtual void StoreResults();

private:
    void Build(const char* windowKey, const char* englishCaption);
    void LoadState(TMemoSource& source);

    TSearchOptions& m_options;
    QStringList m_history;

    QGridLayout* m_textGrid = nullptr;
    QVBoxLayout* m_optionsLayout = nullptr;
    QVBoxLayout* m_buttons = nullptr; // OK, Cancel, then room to stretch
    QLabel* m_textLabel = nullptr;
    QComboBox* m_textToFind = nullptr;
    QGroupBox* m_optionsGroup = nullptr;
    QCheckBox* m_caseSensitive = nullptr;
    QCheckBox* m_wholeWords = nullptr;
    QCheckBox* m_regularExpr = nullptr;
    QRadioButton* m_forward = nullptr;
    QRadioButton* m_backward = nullptr;
    QRadioButton* m_global = nullptr;
    QRadioButton* m_selectedText = nullptr;
    QRadioButton* m_fromCursor = nullptr;
    QRadioButton* m_entireScope = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Helpers shared by the search dialogs.

// An editable combo box for a search text: the history as its list, no
// automatic completion and no insertion of typed text into the list.
QComboBox* MakeHistoryCombo(QWidget* parent, const char* objectName);
// A widget's translated text by its object name.
QString DialogText(const char* objectName, const char* english);

} // namespace quillet

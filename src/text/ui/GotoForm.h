#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillet {

class TTarnMemo;

// The "Go to Line" dialog: one field for a 1-based line number that takes only
// digits. OK is enabled while the field is not empty; a number too large to
// be an integer is refused with a message and the dialog stays open with the
// entry selected.
class TGotoForm : public QDialog {
    Q_OBJECT

public:
    explicit TGotoForm(QWidget* parent = nullptr);
    ~TGotoForm() override;

    QLineEdit* LineNumberEdit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    // The number entered, valid after the dialog was accepted.
    int LineNumber() const { return m_lineNumber; }

    void accept() override;

    // Shows the dialog and returns the number entered, nullopt when cancelled.
    static std::optional<int> Ask(QWidget* parent);

private:
    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_lineNumber = 0;
};

// Moves the caret to column 0 of the 1-based line `lineNumber` of `view` and
// centres that line; numbers below 1 give the first line, numbers past the
// end the last one.
void GoToLineNumber(TTarnMemo& view, int lineNumber);

} // namespace quillet

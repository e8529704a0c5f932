#pragma once

#include "text/ui/NumberEntryForm.h"

#include <optional>

namespace quillet {

class TTarnMemo;

// The "Go to Line" dialog: one field for a 1-based line number that takes only
// digits. OK is enabled while the field is not empty; a number too large to
// be an integer is refused with a message and the dialog stays open with the
// entry selected.
class TGotoForm : public TNumberEntryForm {
    Q_OBJECT

public:
    explicit TGotoForm(QWidget* parent = nullptr);
    ~TGotoForm() override;

    QLineEdit* LineNumberEdit() const { return Edit(); }
    // The number entered, valid after the dialog was accepted.
    int LineNumber() const { return m_lineNumber; }

    void accept() override;

    // Shows the dialog and returns the number entered, nullopt when cancelled.
    static std::optional<int> Ask(QWidget* parent);

private:
    int m_lineNumber = 0;
};

// Moves the caret to column 0 of the 1-based line `lineNumber` of `view` and
// centres that line; numbers below 1 give the first line, numbers past the
// end the last one.
void GoToLineNumber(TTarnMemo& view, int lineNumber);

} // namespace quillet

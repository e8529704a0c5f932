#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillet {

// A dialog with one number field and OK / Cancel, the common part of "Go to
// Line" and "Go to Offset". Typing and pasting keep to `digits` (a regular
// expression of the allowed text); OK is enabled while the field is not
// empty. The derived dialog checks the entry in accept() and calls
// RefuseEntry to keep the dialog open.
class TNumberEntryForm : public QDialog {
    Q_OBJECT

public:
    ~TNumberEntryForm() override;

    QLineEdit* Edit() const { return m_edit; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

protected:
    // The names are the object names of the label and the field; widthChars
    // is the field's width in digits.
    TNumberEntryForm(const char* labelName,
        const QString& labelText,
        const char* editName,
        const QString& digits,
        int widthChars,
        QWidget* parent);

    // Shows message as an error and selects the entry for retyping.
    void RefuseEntry(const QString& message);

    QLabel* m_label = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace quillet

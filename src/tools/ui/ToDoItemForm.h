#pragma once

#include "tools/ToDoRewrite.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QPlainTextEdit;

namespace quillet {

// The dialog "To-Do Item": the item's text (several lines, no word wrap), a
// priority from an empty entry and 1 to 5, and owner and category boxes that
// offer the names met so far. OK is enabled while the text is not empty; a
// typed "}" is dropped, and Esc in the text closes the dialog like Cancel.
class TToDoItemForm : public QDialog {
    Q_OBJECT
public:
    explicit TToDoItemForm(QWidget* parent);

    void SetLists(const std::vector<std::string>& owners, const std::vector<std::string>& categories);
    void SetFields(const TToDoFields& fields);
    // The fields as they may be written into a comment ("}" and, in owner and
    // category, ":" removed); line breaks of the text are CR LF.
    TToDoFields Fields() const;
    // At most this many characters of text (0: no limit).
    void SetTextLimit(int limit);

    QPlainTextEdit& TextBox() { return *m_text; }
    QComboBox& PriorityBox() { return *m_priority; }
    QComboBox& OwnerBox() { return *m_owner; }
    QComboBox& CategoryBox() { return *m_category; }
    QDialogButtonBox& Buttons() { return *m_buttons; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TextChanged();

    QPlainTextEdit* m_text = nullptr;
    QComboBox* m_priority = nullptr;
    QComboBox* m_owner = nullptr;
    QComboBox* m_category = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    int m_limit = 0;
};

} // namespace quillet

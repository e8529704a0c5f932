#pragma once

#include "tools/ToDo.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillet {

class TChildForm;
class TToDoItemForm;

// The report list of both to-do dialogs: check box and text, "!" (priority,
// centred), owner and category; whole rows selected, no sorting.
QTreeWidget* CreateToDoList(QWidget* parent, int textWidth);
// A row's tip: the full text when it has line breaks or the caption does not
// fit the text column beside the check box; otherwise none.
QString ToDoToolTip(const QTreeWidget& list, const QString& caption, const std::string& fullText);

// The dialog "To-Do List" of one text document: its to-do comments with a
// check box (done), priority, owner and category. Marking, Edit and Delete
// rewrite the document's text at once, each as one undo step; Go puts the
// caret on the comment. The list is built once and kept in step with the text.
class TToDoForm : public QDialog {
    Q_OBJECT
public:
    TToDoForm(QWidget* parent, TChildForm& document);

    // Rows in list order (the items as they now stand in the text).
    const std::vector<TToDoItem>& Rows() const { return m_rows; }
    QTreeWidget& List() { return *m_list; }
    QPushButton& EditButton() { return *m_edit; }
    QPushButton& DeleteButton() { return *m_delete; }
    QPushButton& GoButton() { return *m_go; }
    // Sets a row's check box as a click or Space would.
    void SetDone(int row, bool done);
    void EditRow(int row);
    void DeleteRow(int row);
    // Takes the rows an edit or delete removed (their former indices,
    // ascending) out of the list and the recorded states; returns where the
    // rewritten row `row` is now.
    int DropListRows(const std::vector<std::size_t>& removed, int row);
    void Go(int row);
    // The tip of a row: the full text when it has several lines or does not
    // fit its column, else none.
    QString ToolTipOf(int row) const;
    // How often the progress of the opening scan was repainted.
    int ProgressRepaints() const { return m_progressRepaints; }

    // Opens the item dialog for Edit; replaceable in tests (the dialog is set
    // up with the row's fields and the lists; return whether OK was chosen).
    std::function<bool(TToDoItemForm& dialog)> OnItemDialog;

private:
    void Build();
    void FillItem(QTreeWidgetItem* item, const TToDoItem& row);
    void ItemChanged(QTreeWidgetItem* item, int column);
    void UpdateButtons();
    int CurrentRow() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

    TChildForm& m_document;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_go = nullptr;
    std::vector<TToDoItem> m_rows;
    std::vector<bool> m_recorded; // the check state each row had when last seen
    std::vector<std::string> m_owners;
    std::vector<std::string> m_categories;
    int m_progressRepaints = 0;
    bool m_filling = false;
};

} // namespace quillet

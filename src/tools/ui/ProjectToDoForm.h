#pragma once

#include "tools/ProjectToDo.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace quillet {

class TToDoItemForm;

// The dialog "Project To-Do List": the project's own to-do items, added,
// edited, deleted and checked freely; nothing is kept unless OK is chosen.
class TProjectToDoForm : public QDialog {
    Q_OBJECT
public:
    TProjectToDoForm(QWidget* parent, std::vector<TProjectToDoItem> items);

    // The rows as they stand now (check boxes included).
    std::vector<TProjectToDoItem> Items() const;
    QTreeWidget& List() { return *m_list; }
    QPushButton& AddButton() { return *m_add; }
    QPushButton& EditButton() { return *m_edit; }
    QPushButton& DeleteButton() { return *m_delete; }
    void AddRow();
    void EditRow(int row);
    void DeleteRow(int row);

    // Runs the item dialog (set up with the fields, the lists and the 200
    // character limit); replaceable in tests. Returns whether OK was chosen.
    std::function<bool(TToDoItemForm& dialog)> OnItemDialog;

private:
    void AppendItem(const TProjectToDoItem& item);
    void FillItem(int row);
    bool RunItemDialog(TProjectToDoItem& item);
    void UpdateButtons();
    int CurrentRow() const;

    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    std::vector<TProjectToDoItem> m_items; // texts and attributes; check boxes live in the list
    std::vector<std::string> m_owners;
    std::vector<std::string> m_categories;
};

} // namespace quillet

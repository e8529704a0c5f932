#pragma once

#include "app/ToolbarCustomization.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace quillet {

class TMainToolbars;
class TSettingsStore;

// The dialog "Customize Toolbars". Page "Toolbars": every customizable
// toolbar with its visibility, and New, Delete, Rename and Reset. Page
// "Commands": the commands available as buttons and the chosen toolbar's
// current items, with ">" and "<", double clicks and drag and drop to
// reorder. Apply rebuilds the chosen toolbar and stores it.
class TCustomizeToolbarsForm : public QDialog {
    Q_OBJECT
public:
    TCustomizeToolbarsForm(TMainToolbars& toolbars, TSettingsStore& store, QWidget* parent = nullptr);

    // Replaces the name prompt in tests: nullopt stands for Cancel.
    std::function<std::optional<QString>(const QString& prompt, const QString& text)> OnAskName;

    QTabWidget* Pages() const { return m_pages; }
    QListWidget* ToolbarList() const { return m_toolbarList; }
    QListWidget* Available() const { return m_available; }
    QListWidget* Current() const { return m_current; }
    QLabel* Heading() const { return m_heading; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* CloseButton() const { return m_close; }
    QPushButton* NewButton() const { return m_new; }
    QPushButton* DeleteButton() const { return m_delete; }
    QPushButton* RenameButton() const { return m_rename; }
    QPushButton* ResetButton() const { return m_reset; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }
    QToolBar* Chosen() const { return m_chosen; }

    bool Apply();
    void NewToolbar();
    void DeleteToolbar();
    void RenameToolbar();
    void ResetToolbar();
    void AddChosenCommand();
    void RemoveChosenItem();
    // Chooses the toolbar in row `row` of the list; false when a pending
    // change was answered with Cancel.
    bool ChooseRow(int row);

protected:
    void reject() override;

private:
    void FillToolbarList();
    void FillAvailable();
    void ShowItems(const std::vector<TToolbarItem>& items);
    std::vector<TToolbarItem> CurrentItems() const;
    void ListChanged();
    // The pending-change question; false when the action must stop.
    bool AskPending();
    std::optional<QString> AskName(const QString& text);
    bool NameListed(const QString& name, const QToolBar* except) const;
    QListWidgetItem* ItemFor(const TToolbarItem& item) const;

    TMainToolbars& m_toolbars;
    TSettingsStore& m_store;
    QTabWidget* m_pages = nullptr;
    QListWidget* m_toolbarList = nullptr;
    QListWidget* m_available = nullptr;
    QListWidget* m_current = nullptr;
    QLabel* m_heading = nullptr;
    QPushButton* m_new = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
    QToolBar* m_chosen = nullptr;
    std::vector<TToolbarItem> m_applied; // the chosen toolbar's items as last applied
    QString m_appliedCaption;
    bool m_filling = false;
};

// ViewCustomize: shows the dialog modally.
void ShowCustomizeToolbars(TMainToolbars& toolbars, TSettingsStore& store, QWidget* parent);

} // namespace quillet

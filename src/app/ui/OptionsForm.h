#pragma once

#include "app/ui/OptionsPage.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillet {

// The dialog "Options": a tree of pages at the left, the chosen page under
// its title at the right, and OK, Apply and Cancel. Pages are built the first
// time they are shown, so a page the user never saw stores nothing. OK and
// Apply validate the typed fields, store the built pages in a fixed order and
// apply the settings to the main window and every open document.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(TOptionsContext context, TOptionsPage first = TOptionsPage::Environment, QWidget* parent = nullptr);

    void ShowPage(TOptionsPage page);
    TOptionsPage CurrentPage() const { return m_current; }
    // The page when it has been built, else nullptr.
    TOptionsPageWidget* Page(TOptionsPage page) const { return m_pages[static_cast<std::size_t>(page)]; }
    QTreeWidget* Tree() const { return m_tree; }
    QLabel* Title() const { return m_title; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* ApplyButton() const { return m_apply; }
    QPushButton* CancelButton() const { return m_cancel; }

    // Validates, stores and applies; false (with the message shown) when a
    // field is invalid or the store could not be written.
    bool ApplyChanges();

    // The English caption of a page.
    static QString PageCaption(TOptionsPage page);

private:
    bool Validate();
    bool StorePages(QString& error);
    void ApplyToProgram();
    TOptionsPageWidget* BuildPage(TOptionsPage page);

    TOptionsContext m_context;
    TSettingsStore& m_store;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_title = nullptr;
    QStackedWidget* m_stack = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    std::array<TOptionsPageWidget*, kOptionsPageCount> m_pages{};
    std::array<QTreeWidgetItem*, kOptionsPageCount> m_items{};
    TOptionsPage m_current = TOptionsPage::Environment;
};

// ConfigureOptions: shows the dialog modally on `first` and destroys it; the
// hidden exit command then follows "UseESCtoExit".
void ShowOptionsDialog(const TOptionsContext& context, TOptionsPage first = TOptionsPage::Environment);

} // namespace quillet

#pragma once

#include <QDockWidget>
#include <QString>

#include <string>

class QComboBox;
class QFileSystemModel;
class QMenu;
class QSortFilterProxyModel;
class QTabWidget;
class QTreeView;
class QTreeWidget;

namespace quillet {

class TProject;

// The docked panel "Project and Files Tree" at the left of the main window.
// Page "Project" shows the open project: the root (the project's file, or its
// name while unsaved) with one node per member, sorted by text ignoring case,
// each with its file type's icon. Page "Files" is a read-only browser of the
// file system, built the first time the panel is shown: a folder tree above
// the files of the chosen folder, filtered by the file-type drop-down.
class TProjectTreePanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TProjectTreePanel(QWidget* parent);

    // Rebuilds the project page; nullptr leaves it empty. Members whose name is
    // empty or that are projects themselves get no node.
    void BuildProjectTree(const TProject* project);
    // The member path of the selected file node; empty when the root or
    // nothing is selected.
    QString SelectedFile() const;
    // The file selected on the Files page, empty when none.
    QString SelectedBrowserFile() const;

    // Pop-up menus of the two pages (not owned).
    void SetProjectPopup(QMenu* menu) { m_projectPopup = menu; }
    void SetBrowserPopup(QMenu* menu) { m_browserPopup = menu; }
    // Entries of the Files page's drop-down: "description|masks|..." pairs.
    void SetFileTypeFilter(const std::string& filter);

    QTreeWidget& ProjectTree() { return *m_tree; }
    QTabWidget& Pages() { return *m_pages; }
    // Builds the Files page now (it is otherwise built when first shown).
    void EnsureFilesPage();
    QTreeView* FolderView() const { return m_folders; }
    QTreeView* FileView() const { return m_files; }
    QComboBox* FilterBox() const { return m_filter; }
    // Shows the folder on the Files page.
    void BrowseTo(const QString& folder);

signals:
    // A file node was double-clicked (the path of the member).
    void ProjectFileActivated(const QString& path);
    // A file of the Files page was double-clicked.
    void BrowserFileActivated(const QString& path);
    void SelectionChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyFilter(const QString& text);

    QTabWidget* m_pages = nullptr;
    QTreeWidget* m_tree = nullptr;
    QWidget* m_filesPage = nullptr;
    QComboBox* m_filter = nullptr;
    QTreeView* m_folders = nullptr;
    QTreeView* m_files = nullptr;
    QFileSystemModel* m_folderModel = nullptr;
    QFileSystemModel* m_fileModel = nullptr;
    QMenu* m_projectPopup = nullptr;
    QMenu* m_browserPopup = nullptr;
    std::string m_filterText;
};

} // namespace quillet
